// SPDX-License-Identifier: MIT
// The monkey's oracle: the promises the window keeps after every event, and
// the change and press rules it holds each procedure to, worked out apart
// from the window with the same conversions and engine.
#pragma once

#include "random_input.h"
#include "tests/ui/recorders.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vantoril::testing::monkey {

using WideValue = double WorkingValues::*;
using NarrowValue = float WorkingValues::*;

// What a change procedure must do with a box's new text.
struct BoxRule {
    QLineEdit* box;
    WideValue wide;     // stored as read, or
    NarrowValue narrow; // rounded into single precision
    double limit;
    const char* warning;
};

// The window's inputs, as the monkey drives them and the oracle checks them.
struct Controls {
    explicit Controls(frmVantorilTime& w);

    const BoxRule* RuleOf(const QObject* o) const;
    QComboBox* ComboOf(const QObject* o) const; // a combo, or its line edit
    bool IsFocusable(const QWidget* w) const;

    std::vector<BoxRule> rules;
    std::vector<QComboBox*> combos;
    std::vector<QWidget*> focusable;
};

// What the current event is expected to do.
struct Expect {
    int rejected = 0;
    std::optional<Key> key;
    QWidget* keyTarget = nullptr;
    bool linkClick = false;
};

class Oracle {
public:
    Oracle(Harness& h, const Controls& controls);

    // Takes in the window before an event.
    void Remember();
    // Empty when the event kept every promise; otherwise the one it broke.
    std::optional<std::string> Judge(const Expect& expect);

    long presses = 0;
    long computed = 0;
    long pressErrors = 0;

private:
    struct Snapshot {
        std::vector<QString> texts;
        std::vector<QString> comboTexts;
        QString result;
        WorkingValues values;
        std::size_t messages = 0;
        std::size_t urls = 0;
    };

    std::vector<std::string> NewMessages() const;
    std::optional<std::string> KeysKeepTheirPromises(const Expect& expect) const;
    std::optional<std::string> ChangeKeepsItsPromises(const BoxRule& rule, const std::vector<std::string>& fresh) const;
    std::optional<std::string> PressKeepsItsPromises(const std::vector<std::string>& fresh);

    Harness& h_;
    const Controls& controls_;
    Snapshot before_;
    std::vector<int> changes_; // change procedures run by the event, a box each
    int clicks_ = 0;           // presses of the button by the event
};

// Names for failure reports.
std::string Quote(const QString& s);
std::string NameOf(const QObject* o);

} // namespace vantoril::testing::monkey
