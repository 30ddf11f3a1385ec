// SPDX-License-Identifier: MIT
// The monkey's driver: a seeded session of random events against a real
// window, each followed by the oracle's judgement. A failure names the seed,
// the event number and the events leading to it, so the session replays.
#pragma once

#include "oracle.h"
#include "random_input.h"
#include "tests/ui/recorders.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>

namespace vantoril::testing::monkey {

// The session's length and seed: VANTORIL_MONKEY_EVENTS and
// VANTORIL_MONKEY_SEED (a number, or "random") where they are set.
long EventCount();
std::uint64_t Seed();

class Monkey {
public:
    explicit Monkey(std::uint64_t seed);

    Harness& harness() { return h_; }
    [[nodiscard]] long EventsRun() const { return event_; }

    // Runs events until one breaks a promise; returns false then, with the report in failure.
    bool Run(long events);
    void PrintTally() const;

    std::string failure;

private:
    frmVantorilTime& W() { return *h_.window; }

    void Before();
    void Act();
    bool After();
    bool Fail(const std::string& what);
    void Note(const std::string& kind, const std::string& detail);

    // Where the platform would deliver a key now: a grab, an open list, the focus.
    QWidget* KeyTarget() const;
    QLineEdit* RandomEdit();

    // The events.
    void SendKey(const Key& k);
    void Paste();
    void InputMethodCommit();
    void ComboChange();
    void FocusChange();
    void Press();
    void Correct();
    void LinkClick();

    Harness h_;
    Random rng_;
    std::uint64_t seed_;
    Controls controls_;
    Oracle oracle_;
    long event_ = 0;
    Expect expect_;
    std::deque<std::string> history_;
    std::map<std::string, long> tally_;
    std::map<std::string, long> targets_;
    long reactivations_ = 0;
};

} // namespace vantoril::testing::monkey
