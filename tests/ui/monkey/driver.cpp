// SPDX-License-Identifier: MIT
#include "driver.h"

#include "ui/key_codes.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QWheelEvent>

#include <array>
#include <cstdio>
#include <random>
#include <sstream>
#include <utility>

namespace vantoril::testing::monkey {

namespace {

// About 30 s alone on a two-core machine (RelWithDebInfo), under a minute
// with the rest of the suite running beside it.
constexpr long kDefaultEvents = 1000000;
constexpr std::uint64_t kDefaultSeed = 0x5eedf00d;
// Paint and timers run now and then, as they would between a user's keystrokes.
constexpr long kEventsBetweenPaints = 40;
constexpr std::size_t kHistory = 40;

} // namespace

long EventCount()
{
    const QByteArray text = qgetenv("VANTORIL_MONKEY_EVENTS");
    bool ok = false;
    const long n = text.toLong(&ok);
    return ok && n > 0 ? n : kDefaultEvents;
}

std::uint64_t Seed()
{
    const QByteArray text = qgetenv("VANTORIL_MONKEY_SEED");
    if (text == "random") return (std::uint64_t{std::random_device{}()} << 32) | std::random_device{}();
    bool ok = false;
    const qulonglong seed = text.toULongLong(&ok, 0);
    return ok ? seed : kDefaultSeed;
}

Monkey::Monkey(std::uint64_t seed) : rng_(seed), seed_(seed), controls_(*h_.window), oracle_(h_, controls_) {}

// Runs events until one breaks a promise; returns false then.
bool Monkey::Run(long events)
{
    for (event_ = 0; event_ < events; ++event_) {
        Before();
        Act();
        if (!After()) return false;
        if (event_ % kEventsBetweenPaints == 0) QCoreApplication::processEvents();
    }
    return true;
}

void Monkey::PrintTally() const
{
    std::printf("monkey: event kinds:");
    for (const auto& [kind, n] : tally_) std::printf(" %s=%ld", kind.c_str(), n);
    std::printf("\nmonkey: %ld presses (%ld computed, %ld run-time errors), %zu messages, %zu link requests\n",
                oracle_.presses, oracle_.computed, oracle_.pressErrors, h_.messages.prompts.size(),
                h_.urls.urls.size());
    std::printf("monkey: window activated again %ld time(s) after a closed list\n", reactivations_);
    std::printf("monkey: keys went to:");
    for (const auto& [name, n] : targets_) std::printf(" %s=%ld", name.c_str(), n);
    std::printf("\n");
    std::map<std::string, long> byText;
    for (const auto& m : h_.messages.prompts) ++byText[m];
    for (const auto& [text, n] : byText) std::printf("monkey:   %6ld x %s\n", n, text.c_str());
}

void Monkey::Before()
{
    // On X11 a combo's list never takes the activation from the window; the
    // offscreen platform leaves it with the closed list. Give it back.
    if (QApplication::activePopupWidget() == nullptr && QGuiApplication::focusWindow() != h_.window->windowHandle()) {
        h_.window->activateWindow();
        QCoreApplication::processEvents();
        ++reactivations_;
    }
    oracle_.Remember();
    expect_ = Expect{};
}

void Monkey::Note(const std::string& kind, const std::string& detail)
{
    ++tally_[kind];
    std::ostringstream line;
    line << '#' << event_ << ' ' << kind << ' ' << detail;
    history_.push_back(line.str());
    if (history_.size() > kHistory) history_.pop_front();
}

QWidget* Monkey::KeyTarget() const
{
    if (QWidget* grab = QWidget::keyboardGrabber()) return grab;
    if (QWidget* popup = QApplication::activePopupWidget()) {
        return popup->focusWidget() != nullptr ? popup->focusWidget() : popup;
    }
    if (QWidget* focus = QApplication::focusWidget()) return focus;
    return h_.window.get();
}

void Monkey::SendKey(const Key& k)
{
    QWidget* target = KeyTarget();
    expect_.key = k;
    expect_.keyTarget = target;
    if (controls_.RuleOf(target) != nullptr) expect_.rejected = k.rejected;
    Note("key", k.name + " " + Quote(k.text) + " -> " + NameOf(target));
    ++targets_[NameOf(target)];
    // QTest offers the key as a shortcut first (ShortcutOverride to the
    // focus object), then delivers press and release as the platform does.
    QTest::sendKeyEvent(QTest::Press, target, k.key, k.text, k.modifiers);
    QTest::sendKeyEvent(QTest::Release, target, k.key, k.text, k.modifiers);
}

QLineEdit* Monkey::RandomEdit()
{
    const int i = rng_.Below(static_cast<int>(controls_.rules.size() + controls_.combos.size()));
    if (i < static_cast<int>(controls_.rules.size())) return controls_.rules[static_cast<std::size_t>(i)].box;
    return controls_.combos[static_cast<std::size_t>(i) - controls_.rules.size()]->lineEdit();
}

void Monkey::Paste()
{
    QLineEdit* edit = RandomEdit();
    const QString text = RandomText(rng_);
    if (rng_.Chance(0.3)) {
        Note("paste", "setText " + Quote(text) + " -> " + NameOf(edit));
        edit->setText(text);
        return;
    }
    // A paste or drop lands at the cursor, replacing any selection.
    const int length = static_cast<int>(edit->text().size());
    const int start = rng_.Below(length + 1);
    if (rng_.Chance(0.3)) {
        edit->setSelection(start, rng_.Below(length - start + 1));
    } else {
        edit->setCursorPosition(start);
    }
    Note("paste", "insert " + Quote(text) + " -> " + NameOf(edit));
    edit->insert(text);
}

void Monkey::InputMethodCommit()
{
    // Composed text is typing: a digit box refuses each character but the
    // digits (and Backspace), a combo takes none.
    QLineEdit* edit = RandomEdit();
    QInputMethodEvent commit;
    const QString text = RandomText(rng_);
    commit.setCommitString(text);
    if (controls_.RuleOf(edit) != nullptr) {
        for (const std::uint8_t code : AnsiTextCodes(text)) {
            if (code != 8 && (code < '0' || code > '9')) ++expect_.rejected;
        }
    }
    Note("input-method", Quote(text) + " -> " + NameOf(edit));
    QApplication::sendEvent(edit, &commit);
}

void Monkey::ComboChange()
{
    QComboBox* combo = rng_.Of(controls_.combos);
    switch (rng_.Below(4)) {
    case 0: {
        const int index = rng_.Below(combo->count() + 1) - 1;
        Note("combo", "index " + std::to_string(index) + " -> " + NameOf(combo));
        combo->setCurrentIndex(index);
        break;
    }
    case 1: {
        const QString text = RandomText(rng_);
        Note("combo", "edit text " + Quote(text) + " -> " + NameOf(combo));
        combo->setEditText(text);
        break;
    }
    case 2: {
        const int steps = rng_.Chance(0.5) ? 120 : -120;
        Note("combo", "wheel " + std::to_string(steps) + " -> " + NameOf(combo));
        const QPointF at(combo->width() / 2.0, combo->height() / 2.0);
        QWheelEvent wheel(at, combo->mapToGlobal(at), QPoint(), QPoint(0, steps), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
        break;
    }
    default: { // a click anywhere on it, the arrow opens the list
        const QPoint at(rng_.Below(combo->width()), rng_.Below(combo->height()));
        Note("combo", "click at " + std::to_string(at.x()) + "," + std::to_string(at.y()) + " -> " + NameOf(combo));
        QTest::mouseClick(combo, Qt::LeftButton, {}, at);
        break;
    }
    }
}

void Monkey::FocusChange()
{
    QWidget* to = rng_.Of(controls_.focusable);
    if (rng_.Chance(0.5)) {
        Note("focus", "setFocus " + NameOf(to));
        to->setFocus(Qt::OtherFocusReason);
    } else if (to != W().cmdPress) {
        const QPoint at(rng_.Below(to->width()), rng_.Below(to->height()));
        if (rng_.Chance(0.2)) {
            Note("focus", "double click " + NameOf(to));
            QTest::mouseDClick(to, Qt::LeftButton, {}, at);
        } else {
            Note("focus", "click " + NameOf(to));
            QTest::mouseClick(to, Qt::LeftButton, {}, at);
        }
    } else {
        Note("focus", "setFocus by tab " + NameOf(to));
        to->setFocus(Qt::TabFocusReason);
    }
}

void Monkey::Press()
{
    switch (rng_.Weighted(std::array{7, 2, 1})) {
    case 0:
        Note("press", "mouse click");
        h_.Press();
        break;
    case 1:
        Note("press", "click()");
        W().cmdPress->click();
        break;
    default: {
        W().cmdPress->setFocus(Qt::TabFocusReason);
        Key k = rng_.Chance(0.5) ? Key{Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), 1, 1, false, "space"}
                                 : Key{Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), 1, 1, false, "return"};
        SendKey(k);
        break;
    }
    }
}

// A user putting one input right again, so that presses keep reaching the calculation.
void Monkey::Correct()
{
    // What a user types to put each box right, in the order of the rules: how many values, the first.
    static constexpr std::array<std::pair<int, int>, 6> kRight = {
        {{180, 0}, {60, 0}, {60, 0}, {4000, 1}, {60, 0}, {60, 0}}};
    const auto which = static_cast<std::size_t>(rng_.Below(10));
    if (which < kRight.size()) {
        QLineEdit* box = controls_.rules[which].box;
        Note("correct", NameOf(box));
        const auto [count, first] = kRight[which];
        box->setText(QString::number(first + rng_.Below(count)));
        return;
    }
    QComboBox* combo = rng_.Of(controls_.combos);
    Note("correct", NameOf(combo));
    combo->setCurrentIndex(rng_.Below(combo->count()));
}

void Monkey::LinkClick()
{
    const bool left = rng_.Chance(0.85);
    expect_.linkClick = left;
    Note("link", left ? "left click" : "right click");
    QTest::mouseClick(W().Label16, left ? Qt::LeftButton : Qt::RightButton);
}

void Monkey::Act()
{
    if (QWidget* popup = QApplication::activePopupWidget()) {
        // An open list takes the keys; anything else is a click outside, which closes it first.
        const int what = rng_.Weighted(std::array{6, 1, 3});
        if (what == 0) {
            SendKey(RandomKey(rng_));
            return;
        }
        if (what == 1) {
            Note("popup", "close");
            popup->close();
            return;
        }
        popup->close();
    }
    switch (rng_.Weighted(std::array{56, 9, 2, 6, 12, 6, 1, 2, 8})) {
    case 0:
        SendKey(RandomKey(rng_));
        break;
    case 1:
        Paste();
        break;
    case 2:
        InputMethodCommit();
        break;
    case 3:
        ComboChange();
        break;
    case 4:
        FocusChange();
        break;
    case 5:
        Press();
        break;
    case 6:
        LinkClick();
        break;
    case 7: {
        const QString text = RandomText(rng_);
        Note("clipboard", Quote(text));
        QGuiApplication::clipboard()->setText(text);
        break;
    }
    default:
        Correct();
        break;
    }
}

bool Monkey::After()
{
    if (auto broken = oracle_.Judge(expect_)) return Fail(*broken);
    return true;
}

bool Monkey::Fail(const std::string& what)
{
    std::ostringstream out;
    out << "seed " << seed_ << " (VANTORIL_MONKEY_SEED=" << seed_ << "), event " << event_ << ": " << what
        << "\nlast events:\n";
    for (const auto& line : history_) out << "  " << line << '\n';
    out << "texts:";
    for (const auto& r : controls_.rules) out << ' ' << NameOf(r.box) << '=' << Quote(r.box->text());
    for (auto* c : controls_.combos) out << ' ' << NameOf(c) << '=' << Quote(c->currentText());
    out << " result=" << Quote(W().txtVantorilTime->text()) << '\n';
    failure = out.str();
    return false;
}

} // namespace vantoril::testing::monkey
