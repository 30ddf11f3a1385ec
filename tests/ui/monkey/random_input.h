// SPDX-License-Identifier: MIT
// The monkey's random input: keys as a keyboard delivers them, and text as it
// arrives from the clipboard, a drop or an input method.
#pragma once

#include <QString>
#include <Qt>

#include <array>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace vantoril::testing::monkey {

class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(engine_); }
    // One of the items, each as likely.
    template <typename T, std::size_t N>
    const T& Of(const std::array<T, N>& items)
    {
        return items[static_cast<std::size_t>(Below(static_cast<int>(N)))];
    }
    template <typename T>
    const T& Of(const std::vector<T>& items)
    {
        return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
    }
    // Index into weights, drawn in proportion to them.
    template <std::size_t N>
    int Weighted(const std::array<int, N>& weights)
    {
        int total = 0;
        for (int w : weights) total += w;
        int r = Below(total);
        for (std::size_t i = 0; i < N; ++i) {
            if (r < weights[i]) return static_cast<int>(i);
            r -= weights[i];
        }
        return 0;
    }

private:
    std::mt19937_64 engine_;
};

// One key as a keyboard delivers it, with what it must do to a text box.
struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    int typed;    // characters it types (Backspace included): a combo must ignore it
    int rejected; // of those, the ones a text box refuses with a message
    bool pastes;  // Shift+Insert: a paste, which no key filter sees
    std::string name;
};

// Digits, numbers near the limits, pieces of every script, or nothing.
QString RandomText(Random& rng);
// Keys of every kind: digits, letters, marks, control and command combinations.
Key RandomKey(Random& rng);

} // namespace vantoril::testing::monkey
