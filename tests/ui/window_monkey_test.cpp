// A long seeded random session against the real window: keys of every kind,
// pastes, combo changes, focus moves and clicks, with the window's promises
// checked after every single event. A failure prints the seed, the event
// number and the events leading to it, so the session can be replayed.
//
//   VANTORIL_MONKEY_EVENTS=2000000 VANTORIL_MONKEY_SEED=random ./window_monkey_test
#include "recorders.h"

#include "engine/sidereal.h"
#include "runtime/conversions.h"
#include "runtime/run_time_error.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QRegularExpression>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <deque>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string_view>

namespace vantoril::testing {
namespace {

// About 30 s alone on a two-core machine (RelWithDebInfo), under a minute
// with the rest of the suite running beside it.
constexpr long kDefaultEvents = 1000000;
constexpr std::uint64_t kDefaultSeed = 0x5eedf00d;
// Paint and timers run now and then, as they would between a user's keystrokes.
constexpr long kEventsBetweenPaints = 40;
constexpr std::size_t kHistory = 40;
const QSize kWindowSize(484, 323);

const std::string kRejection = "Type only Numbers";
const std::string kRunTimePrefix = "Run-time error '";

std::u16string_view View(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

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

bool IsAllowedMessage(const std::string& m)
{
    return m == kRejection || m == "It is less than 180" || m == "It is less than 60" ||
           m.rfind(kRunTimePrefix, 0) == 0;
}

int NonDigits(const QString& text)
{
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](QChar c) { return c < u'0' || c > u'9'; }));
}

bool SameNumber(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// One key as a keyboard delivers it, with what it must do to a text box.
struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    int typed;     // characters it types (Backspace included): a combo must ignore it
    int rejected;  // of those, the ones a text box refuses with a message
    bool pastes;   // Shift+Insert: a paste, which no key filter sees
    std::string name;
};

class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(engine_); }
    template <typename T, std::size_t N>
    const T& Of(const std::array<T, N>& items) { return items[static_cast<std::size_t>(Below(static_cast<int>(N)))]; }
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

QString Digits(Random& rng, int n)
{
    QString s;
    s.reserve(n);
    for (int i = 0; i < n; ++i) s += QChar(u'0' + rng.Below(10));
    return s;
}

// Text as it might arrive from the clipboard or a drop.
QString RandomText(Random& rng)
{
    static const std::array<const char16_t*, 34> pieces = {
        u"0", u"1", u"5", u"9", u"-", u"+", u".", u",", u"e", u"E", u"&H", u"&O", u"&h7FFF", u" ", u"\t",
        u"\n", u"a", u"Z", u"x", u"W", u"\u00e9", u"\u20ac", u"\u4e2d", u"\U0001F600", u"\u0663", u"\uff11",
        u"\u00a0", u"\u200b", u"\u0301", u"D", u"1e39", u"1E308", u"%", u"\r\n"};
    static const std::array<const char16_t*, 28> numbers = {
        u"0", u"59", u"60", u"179", u"180", u"2002", u"-1", u"+7", u"12.5", u"1,5", u" 12 ", u"1e3", u"1e39",
        u"-1e39", u"1e308", u"1e309", u"3276800", u"32767", u"32768", u"&H10", u"&O17", u"&HFFFFFFFFFFFFFFFFFFFF",
        u".5", u"5.", u"1e", u"E", u"W", u" 00"};
    switch (rng.Weighted(std::array{30, 8, 20, 24, 4, 14})) {
    case 0:
        return Digits(rng, 1 + rng.Below(6));
    case 1:
        return Digits(rng, 7 + rng.Below(394));  // up to 400 digits
    case 2:
        return QString::fromUtf16(rng.Of(numbers));
    case 3: {
        QString s;
        const int n = rng.Below(25);
        for (int i = 0; i < n; ++i) s += QString::fromUtf16(rng.Of(pieces));
        return s;
    }
    case 4:
        return {};
    default:
        return QStringLiteral("%1").arg(rng.Below(40), 2, 10, QLatin1Char(rng.Chance(0.8) ? '0' : ' '));
    }
}

Key RandomKey(Random& rng)
{
    const auto plain = [](Qt::Key k, Qt::KeyboardModifiers m, const char* name) {
        return Key{k, m, {}, 0, 0, false, name};
    };
    switch (rng.Weighted(std::array{26, 8, 6, 6, 7, 3, 12, 4, 5, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1})) {
    case 0: {  // digit, from the main row or the keypad
        const int d = rng.Below(10);
        const auto mods = rng.Chance(0.2) ? Qt::KeypadModifier : Qt::NoModifier;
        return {static_cast<Qt::Key>(Qt::Key_0 + d), mods, QString(QChar(u'0' + d)), 1, 0, false, "digit"};
    }
    case 1: {  // letter, either case
        const int l = rng.Below(26);
        const bool upper = rng.Chance(0.3);
        return {static_cast<Qt::Key>(Qt::Key_A + l), upper ? Qt::ShiftModifier : Qt::NoModifier,
                QString(QChar((upper ? u'A' : u'a') + l)), 1, 1, false, "letter"};
    }
    case 2: {  // punctuation and blank
        static const std::array<std::pair<Qt::Key, char16_t>, 12> marks = {{
            {Qt::Key_Space, u' '}, {Qt::Key_Period, u'.'}, {Qt::Key_Comma, u','}, {Qt::Key_Minus, u'-'},
            {Qt::Key_Plus, u'+'}, {Qt::Key_Colon, u':'}, {Qt::Key_Slash, u'/'}, {Qt::Key_Ampersand, u'&'},
            {Qt::Key_ParenLeft, u'('}, {Qt::Key_Equal, u'='}, {Qt::Key_Apostrophe, u'\''}, {Qt::Key_Asterisk, u'*'},
        }};
        const auto& [k, c] = rng.Of(marks);
        return {k, Qt::NoModifier, QString(QChar(c)), 1, 1, false, "mark"};
    }
    case 3:
        return {Qt::Key_Backspace, rng.Chance(0.2) ? Qt::ControlModifier : Qt::NoModifier, QStringLiteral("\b"), 1, 0,
                false, "backspace"};
    case 4: {  // Ctrl+letter: X sends the control character, synthesized events the letter
        static const std::array<int, 8> usual = {0, 2, 21, 23, 25, 1, 4, 7};  // A C V X Z B E H
        const int l = rng.Chance(0.7) ? rng.Of(usual) : rng.Below(26);
        auto mods = Qt::KeyboardModifiers(Qt::ControlModifier);
        if (rng.Chance(0.15)) mods |= Qt::ShiftModifier;
        const QString text = rng.Chance(0.5) ? QString(QChar(char16_t(1 + l))) : QString(QChar(u'a' + l));
        // Ctrl+H is the control code of Backspace, which the boxes accept.
        const int rejected = l == 'H' - 'A' ? 0 : 1;
        return {static_cast<Qt::Key>(Qt::Key_A + l), mods, text, 1, rejected, false, "ctrl+letter"};
    }
    case 5: {
        static const std::array<std::pair<Qt::Key, char16_t>, 3> controls = {
            {{Qt::Key_Return, u'\r'}, {Qt::Key_Enter, u'\r'}, {Qt::Key_Escape, u'\x1b'}}};
        const auto& [k, c] = rng.Of(controls);
        return {k, k == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier, QString(QChar(c)), 1, 1, false,
                "enter/escape"};
    }
    case 6: {  // moving the cursor or stepping a list
        static const std::array<Qt::Key, 8> moves = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                                                     Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown};
        Qt::KeyboardModifiers mods = rng.Chance(0.25) ? Qt::ShiftModifier : Qt::NoModifier;
        if (rng.Chance(0.1)) mods |= Qt::ControlModifier;
        return plain(rng.Of(moves), mods, "move");
    }
    case 7:
        return {Qt::Key_Delete, Qt::NoModifier, rng.Chance(0.5) ? QStringLiteral("\x7f") : QString(), 0, 0, false,
                "delete"};
    case 8:
        return rng.Chance(0.7) ? plain(Qt::Key_Tab, Qt::NoModifier, "tab")
                               : plain(Qt::Key_Backtab, Qt::ShiftModifier, "backtab");
    case 9:  // opens a combo's list
        return rng.Chance(0.5) ? plain(Qt::Key_F4, Qt::NoModifier, "F4")
                               : plain(rng.Chance(0.5) ? Qt::Key_Down : Qt::Key_Up, Qt::AltModifier, "alt+arrow");
    case 10:  // the clipboard keys that are no characters
        switch (rng.Below(3)) {
        case 0:
            return {Qt::Key_Insert, Qt::ShiftModifier, {}, 0, 0, true, "shift+insert"};
        case 1:
            return plain(Qt::Key_Insert, Qt::ControlModifier, "ctrl+insert");
        default:
            return plain(Qt::Key_Delete, Qt::ShiftModifier, "shift+delete");
        }
    case 11: {  // characters beyond ASCII, one code point each
        static const std::array<const char16_t*, 8> chars = {u"\u00e9", u"\u00df", u"\u20ac", u"\u4e2d",
                                                             u"\U0001F600", u"\u0663", u"\uff11", u"\u00a0"};
        return {static_cast<Qt::Key>(0), Qt::NoModifier, QString::fromUtf16(rng.Of(chars)), 1, 1, false,
                "non-ascii"};
    }
    case 12: {  // several characters in one event, as compose sequences deliver them
        QString text;
        int rejected = 0;
        const int n = 2 + rng.Below(3);
        for (int i = 0; i < n; ++i) {
            if (rng.Chance(0.6)) {
                text += QChar(u'0' + rng.Below(10));
            } else {
                text += QChar(u'a' + rng.Below(26));
                ++rejected;
            }
        }
        return {Qt::Key_unknown, Qt::NoModifier, text, n, rejected, false, "multi-char"};
    }
    case 13: {
        static const std::array<Qt::Key, 6> fs = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F5, Qt::Key_F10, Qt::Key_F12,
                                                  Qt::Key_Pause};
        return plain(rng.Of(fs), Qt::NoModifier, "function");
    }
    case 14: {
        static const std::array<Qt::Key, 3> mods = {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt};
        return plain(rng.Of(mods), Qt::NoModifier, "modifier");
    }
    case 15: {  // Ctrl with a digit types nothing
        const int d = rng.Below(10);
        return {static_cast<Qt::Key>(Qt::Key_0 + d), Qt::ControlModifier, QString(QChar(u'0' + d)), 0, 0, false,
                "ctrl+digit"};
    }
    case 16: {  // Ctrl+[ \ ] are Escape, FS and GS
        static const std::array<Qt::Key, 3> brackets = {Qt::Key_BracketLeft, Qt::Key_Backslash,
                                                        Qt::Key_BracketRight};
        return {rng.Of(brackets), Qt::ControlModifier, {}, 1, 1, false, "ctrl+bracket"};
    }
    case 17:
        // A command (undo), not a character: swallowed.
        return {Qt::Key_Backspace, Qt::AltModifier, QStringLiteral("\b"), 0, 0, false, "alt+backspace"};
    default: {  // Alt+letter: a menu accelerator where there is one, never a character
        const int l = rng.Below(26);
        return {static_cast<Qt::Key>(Qt::Key_A + l), Qt::AltModifier, QString(QChar(u'a' + l)), 0, 0, false,
                "alt+letter"};
    }
    }
}

// What a change procedure must do with a box's new text.
struct BoxRule {
    QLineEdit* box;
    double WorkingValues::*wide;   // stored as read, or
    float WorkingValues::*narrow;  // rounded into single precision
    double limit;
    const char* warning;
};

struct ChangeOutcome {
    std::vector<std::string> messages;
    std::optional<double> stored;  // empty when the read fails and the field keeps its value
};

ChangeOutcome ExpectedChange(const BoxRule& rule, const QString& text)
{
    ChangeOutcome out;
    try {
        const double read = LenientNumber(View(text));
        double value = read;
        if (rule.narrow != nullptr) value = static_cast<double>(vantoril::StoreSingle(read));
        out.stored = value;
        if (rule.warning != nullptr && value > rule.limit) out.messages.emplace_back(rule.warning);
    } catch (const RunTimeError& e) {
        out.messages.emplace_back(e.what());
    }
    return out;
}

double FieldOf(const BoxRule& rule, const WorkingValues& v)
{
    return rule.wide != nullptr ? v.*rule.wide : static_cast<double>(v.*rule.narrow);
}

// The press computed independently from what the window shows.
struct PressOutcome {
    std::optional<std::string> text;
    std::string error;
    bool exactError = false;  // false when the window's reading order may report another error first
};

PressOutcome ExpectedPress(const frmVantorilTime& w, const WorkingValues& stored)
{
    PressOutcome out;
    WorkingValues v;
    v.LngD = stored.LngD;
    v.LngM = stored.LngM;
    v.LngS = stored.LngS;
    v.Minute = stored.Minute;
    v.Second = stored.Second;
    int reads = 0;
    try {
        v.Year = vantoril::StoreSingle(LenientNumber(View(w.txtYear->text())));
        ++reads;
        v.Month = StrictSingle(View(w.cmbMonth->currentText()));
        ++reads;
        v.Day = StrictSingle(View(w.cmbDate->currentText()));
        ++reads;
        v.Hour = StrictSingle(View(w.cmbHour->currentText()));
        ++reads;
        v.EWSign = w.cmbEW->currentText() == QStringLiteral("E") ? 1 : -1;
        ComputeLst(v);
        out.text = FormatLst(v);
    } catch (const RunTimeError& e) {
        out.error = e.what();
        // Year and month are read before any calculation; the day and hour
        // reads come between its steps, so a step may fail before them.
        out.exactError = reads < 2 || reads == 4;
    }
    return out;
}

class Monkey {
public:
    explicit Monkey(std::uint64_t seed) : rng_(seed), seed_(seed)
    {
        auto& w = *h_.window;
        rules_ = {
            BoxRule{w.txtLngD, &WorkingValues::LngD, nullptr, 179, "It is less than 180"},
            BoxRule{w.txtLngM, &WorkingValues::LngM, nullptr, 59, "It is less than 60"},
            BoxRule{w.txtLngS, &WorkingValues::LngS, nullptr, 59, "It is less than 60"},
            BoxRule{w.txtYear, nullptr, &WorkingValues::Year, 0, nullptr},
            BoxRule{w.txtMinute, nullptr, &WorkingValues::Minute, 59, "It is less than 60"},
            BoxRule{w.txtSecond, nullptr, &WorkingValues::Second, 59, "It is less than 60"},
        };
        combos_ = {w.cmbEW, w.cmbMonth, w.cmbDate, w.cmbHour};
        focusable_ = {w.txtLngD, w.txtLngM, w.txtLngS, w.cmbEW, w.txtYear, w.cmbMonth, w.cmbDate,
                      w.cmbHour, w.txtMinute, w.txtSecond, w.cmdPress, w.txtVantorilTime};
        changes_.resize(rules_.size());
        for (std::size_t i = 0; i < rules_.size(); ++i) {
            QObject::connect(rules_[i].box, &QLineEdit::textChanged, [this, i] { ++changes_[i]; });
        }
        QObject::connect(w.cmdPress, &QPushButton::clicked, [this] { ++clicks_; });
    }

    Harness& harness() { return h_; }
    [[nodiscard]] long EventsRun() const { return event_; }

    // Runs events until one breaks a promise; returns false then.
    bool Run(long events)
    {
        for (event_ = 0; event_ < events; ++event_) {
            Before();
            Act();
            if (!After()) return false;
            if (event_ % kEventsBetweenPaints == 0) QCoreApplication::processEvents();
        }
        return true;
    }

    void PrintTally() const
    {
        std::printf("monkey: event kinds:");
        for (const auto& [kind, n] : tally_) std::printf(" %s=%ld", kind.c_str(), n);
        std::printf("\nmonkey: %ld presses (%ld computed, %ld run-time errors), %zu messages, %zu link requests\n",
                    presses_, computed_, pressErrors_, h_.messages.prompts.size(), h_.urls.urls.size());
        std::printf("monkey: window activated again %ld time(s) after a closed list\n", reactivations_);
        std::printf("monkey: keys went to:");
        for (const auto& [name, n] : targets_) std::printf(" %s=%ld", name.c_str(), n);
        std::printf("\n");
        std::map<std::string, long> byText;
        for (const auto& m : h_.messages.prompts) ++byText[m];
        for (const auto& [text, n] : byText) std::printf("monkey:   %6ld x %s\n", n, text.c_str());
    }

    std::string failure;

private:
    struct Snapshot {
        std::vector<QString> texts;
        std::vector<QString> comboTexts;
        QString result;
        WorkingValues values;
        std::size_t messages = 0;
        std::size_t urls = 0;
    };

    // What the current event is expected to do.
    struct Expect {
        int rejected = 0;
        std::optional<Key> key;
        QWidget* keyTarget = nullptr;
        bool linkClick = false;
    };

    frmVantorilTime& W() { return *h_.window; }

    void Before()
    {
        // On X11 a combo's list never takes the activation from the window; the
        // offscreen platform leaves it with the closed list. Give it back.
        if (QApplication::activePopupWidget() == nullptr &&
            QGuiApplication::focusWindow() != h_.window->windowHandle()) {
            h_.window->activateWindow();
            QCoreApplication::processEvents();
            ++reactivations_;
        }
        before_.texts.clear();
        for (const auto& r : rules_) before_.texts.push_back(r.box->text());
        before_.comboTexts.clear();
        for (auto* c : combos_) before_.comboTexts.push_back(c->currentText());
        before_.result = W().txtVantorilTime->text();
        before_.values = W().values();
        before_.messages = h_.messages.prompts.size();
        before_.urls = h_.urls.urls.size();
        std::fill(changes_.begin(), changes_.end(), 0);
        clicks_ = 0;
        expect_ = Expect{};
    }

    void Note(const std::string& kind, const std::string& detail)
    {
        ++tally_[kind];
        std::ostringstream line;
        line << '#' << event_ << ' ' << kind << ' ' << detail;
        history_.push_back(line.str());
        if (history_.size() > kHistory) history_.pop_front();
    }

    static std::string Quote(const QString& s)
    {
        std::string out = "\"" + s.left(40).toStdString();
        if (s.size() > 40) out += "...(" + std::to_string(s.size()) + ")";
        return out + "\"";
    }

    static std::string NameOf(const QObject* o)
    {
        if (o == nullptr) return "none";
        const QString name = o->objectName();
        if (!name.isEmpty()) return name.toStdString();
        if (o->parent() != nullptr && !o->parent()->objectName().isEmpty()) {
            return o->parent()->objectName().toStdString() + "/" + o->metaObject()->className();
        }
        return o->metaObject()->className();
    }

    // Where the platform would deliver a key now: a grab, an open list, the focus.
    QWidget* KeyTarget() const
    {
        if (QWidget* grab = QWidget::keyboardGrabber()) return grab;
        if (QWidget* popup = QApplication::activePopupWidget()) {
            return popup->focusWidget() != nullptr ? popup->focusWidget() : popup;
        }
        if (QWidget* focus = QApplication::focusWidget()) return focus;
        return h_.window.get();
    }

    bool IsFocusable(const QWidget* w) const
    {
        return std::find(focusable_.begin(), focusable_.end(), w) != focusable_.end() || ComboOf(w) != nullptr;
    }

    const BoxRule* RuleOf(const QObject* o) const
    {
        for (const auto& r : rules_) {
            if (r.box == o) return &r;
        }
        return nullptr;
    }

    QComboBox* ComboOf(const QObject* o) const
    {
        for (auto* c : combos_) {
            if (c == o || c->lineEdit() == o) return c;
        }
        return nullptr;
    }

    void SendKey(const Key& k)
    {
        QWidget* target = KeyTarget();
        expect_.key = k;
        expect_.keyTarget = target;
        if (RuleOf(target) != nullptr) expect_.rejected = k.rejected;
        Note("key", k.name + " " + Quote(k.text) + " -> " + NameOf(target));
        ++targets_[NameOf(target)];
        // QTest offers the key as a shortcut first (ShortcutOverride to the
        // focus object), then delivers press and release as the platform does.
        QTest::sendKeyEvent(QTest::Press, target, k.key, k.text, k.modifiers);
        QTest::sendKeyEvent(QTest::Release, target, k.key, k.text, k.modifiers);
    }

    QLineEdit* RandomEdit()
    {
        const int i = rng_.Below(static_cast<int>(rules_.size() + combos_.size()));
        if (i < static_cast<int>(rules_.size())) return rules_[static_cast<std::size_t>(i)].box;
        return combos_[static_cast<std::size_t>(i) - rules_.size()]->lineEdit();
    }

    void Paste()
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

    void InputMethodCommit()
    {
        QLineEdit* edit = RandomEdit();
        QInputMethodEvent commit;
        const QString text = RandomText(rng_);
        commit.setCommitString(text);
        Note("input-method", Quote(text) + " -> " + NameOf(edit));
        QApplication::sendEvent(edit, &commit);
    }

    void ComboChange()
    {
        QComboBox* combo = combos_[static_cast<std::size_t>(rng_.Below(static_cast<int>(combos_.size())))];
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
        default: {  // a click anywhere on it, the arrow opens the list
            const QPoint at(rng_.Below(combo->width()), rng_.Below(combo->height()));
            Note("combo", "click at " + std::to_string(at.x()) + "," + std::to_string(at.y()) + " -> " +
                              NameOf(combo));
            QTest::mouseClick(combo, Qt::LeftButton, {}, at);
            break;
        }
        }
    }

    void FocusChange()
    {
        QWidget* to = focusable_[static_cast<std::size_t>(rng_.Below(static_cast<int>(focusable_.size())))];
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

    void Press()
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
    void Correct()
    {
        auto& w = W();
        switch (rng_.Below(10)) {
        case 0: Note("correct", "txtLngD"); w.txtLngD->setText(QString::number(rng_.Below(180))); break;
        case 1: Note("correct", "txtLngM"); w.txtLngM->setText(QString::number(rng_.Below(60))); break;
        case 2: Note("correct", "txtLngS"); w.txtLngS->setText(QString::number(rng_.Below(60))); break;
        case 3: Note("correct", "txtYear"); w.txtYear->setText(QString::number(1 + rng_.Below(4000))); break;
        case 4: Note("correct", "txtMinute"); w.txtMinute->setText(QString::number(rng_.Below(60))); break;
        case 5: Note("correct", "txtSecond"); w.txtSecond->setText(QString::number(rng_.Below(60))); break;
        default: {
            QComboBox* combo = combos_[static_cast<std::size_t>(rng_.Below(static_cast<int>(combos_.size())))];
            Note("correct", NameOf(combo));
            combo->setCurrentIndex(rng_.Below(combo->count()));
            break;
        }
        }
    }

    void LinkClick()
    {
        const bool left = rng_.Chance(0.85);
        expect_.linkClick = left;
        Note("link", left ? "left click" : "right click");
        QTest::mouseClick(W().Label16, left ? Qt::LeftButton : Qt::RightButton);
    }

    void Act()
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

    bool Fail(const std::string& what)
    {
        std::ostringstream out;
        out << "seed " << seed_ << " (VANTORIL_MONKEY_SEED=" << seed_ << "), event " << event_ << ": " << what
            << "\nlast events:\n";
        for (const auto& line : history_) out << "  " << line << '\n';
        out << "texts:";
        for (const auto& r : rules_) out << ' ' << NameOf(r.box) << '=' << Quote(r.box->text());
        for (auto* c : combos_) out << ' ' << NameOf(c) << '=' << Quote(c->currentText());
        out << " result=" << Quote(W().txtVantorilTime->text()) << '\n';
        failure = out.str();
        return false;
    }

    std::vector<std::string> NewMessages() const
    {
        return {h_.messages.prompts.begin() + static_cast<std::ptrdiff_t>(before_.messages), h_.messages.prompts.end()};
    }

    static std::string Join(const std::vector<std::string>& items)
    {
        std::string out = "[";
        for (const auto& s : items) out += (out.size() > 1 ? ", \"" : "\"") + s + "\"";
        return out + "]";
    }

    bool After()
    {
        auto& w = W();
        if (!w.isVisible()) return Fail("the window is no longer visible");
        if (w.size() != kWindowSize) return Fail("the window changed its size");
        if (QWidget* focus = w.focusWidget(); focus != nullptr && !IsFocusable(focus)) {
            return Fail("focus on " + NameOf(focus) + ", which should never take it");
        }
        const std::vector<std::string> fresh = NewMessages();
        for (const auto& m : fresh) {
            if (!IsAllowedMessage(m)) return Fail("unexpected message \"" + m + "\"");
        }
        const auto rejections = std::count(fresh.begin(), fresh.end(), kRejection);
        if (rejections != expect_.rejected) {
            return Fail("expected " + std::to_string(expect_.rejected) + " rejection(s), got " + Join(fresh));
        }

        const std::size_t links = h_.urls.urls.size() - before_.urls;
        if (links != (expect_.linkClick ? 1u : 0u)) return Fail(std::to_string(links) + " link request(s)");
        if (expect_.linkClick && h_.urls.urls.back() != frmVantorilTime::kHomePage) return Fail("wrong link");

        if (expect_.key && !KeysKeepTheirPromises()) return false;

        int changes = 0;
        std::size_t changed = 0;
        for (std::size_t i = 0; i < changes_.size(); ++i) {
            changes += changes_[i];
            if (changes_[i] > 0) changed = i;
        }
        if (clicks_ > 1) return Fail(std::to_string(clicks_) + " presses from one event");
        if (clicks_ == 1) {
            if (changes != 0) return Fail("a press changed an input box");
            return PressKeepsItsPromises(fresh);
        }
        if (w.txtVantorilTime->text() != before_.result) return Fail("the result changed without a press");
        if (changes == 1) return ChangeKeepsItsPromises(rules_[changed], fresh);
        if (changes == 0) {
            for (std::size_t i = 0; i < rules_.size(); ++i) {
                if (rules_[i].box->text() != before_.texts[i]) return Fail("a text changed without its procedure");
            }
            if (static_cast<std::size_t>(rejections) != fresh.size()) return Fail("messages without a change: " + Join(fresh));
        }
        return true;
    }

    bool KeysKeepTheirPromises()
    {
        const Key& k = *expect_.key;
        if (const BoxRule* rule = RuleOf(expect_.keyTarget)) {
            const auto i = static_cast<std::size_t>(rule - rules_.data());
            const QString& was = before_.texts[i];
            const QString now = rule->box->text();
            if (k.typed > 0 && k.typed == k.rejected && now != was) {
                return Fail("a refused key changed " + NameOf(rule->box) + " to " + Quote(now));
            }
            // Only a paste may bring anything but digits into a box by keyboard.
            if (!k.pastes && NonDigits(now) > NonDigits(was)) {
                return Fail("key " + k.name + " put a non-digit into " + NameOf(rule->box) + ": " + Quote(was) +
                            " -> " + Quote(now));
            }
        }
        if (QComboBox* combo = ComboOf(expect_.keyTarget); combo != nullptr && k.typed > 0) {
            const auto i = static_cast<std::size_t>(std::find(combos_.begin(), combos_.end(), combo) - combos_.begin());
            if (combo->currentText() != before_.comboTexts[i]) {
                return Fail("typed key " + k.name + " changed " + NameOf(combo) + " to " + Quote(combo->currentText()));
            }
        }
        return true;
    }

    bool ChangeKeepsItsPromises(const BoxRule& rule, const std::vector<std::string>& fresh)
    {
        const ChangeOutcome expected = ExpectedChange(rule, rule.box->text());
        // Refusals of the other characters of the same event are counted already.
        std::vector<std::string> own;
        std::copy_if(fresh.begin(), fresh.end(), std::back_inserter(own), [](const auto& m) { return m != kRejection; });
        if (own != expected.messages) {
            return Fail(NameOf(rule.box) + " changed to " + Quote(rule.box->text()) + ": messages " + Join(own) +
                        ", expected " + Join(expected.messages));
        }
        const double now = FieldOf(rule, W().values());
        const double want = expected.stored ? *expected.stored : FieldOf(rule, before_.values);
        if (!SameNumber(now, want)) {
            return Fail(NameOf(rule.box) + " stored " + std::to_string(now) + ", expected " + std::to_string(want));
        }
        return true;
    }

    bool PressKeepsItsPromises(const std::vector<std::string>& fresh)
    {
        static const QRegularExpression clock(QStringLiteral(R"(^(\d|1\d|2[0-3]):(\d|[1-5]\d):(\d|[1-5]\d)$)"));
        ++presses_;
        const QString result = W().txtVantorilTime->text();
        const PressOutcome expected = ExpectedPress(W(), before_.values);
        if (fresh.empty()) {
            if (!clock.match(result).hasMatch()) return Fail("press wrote " + Quote(result));
            if (!expected.text) return Fail("press wrote " + Quote(result) + ", expected " + expected.error);
            if (result.toStdString() != *expected.text) {
                return Fail("press wrote " + Quote(result) + ", expected \"" + *expected.text + "\"");
            }
            ++computed_;
            return true;
        }
        ++pressErrors_;
        if (fresh.size() != 1 || fresh[0].rfind(kRunTimePrefix, 0) != 0) {
            return Fail("press reported " + Join(fresh));
        }
        if (result != before_.result) return Fail("a failed press changed the result to " + Quote(result));
        if (expected.text) return Fail("press reported " + fresh[0] + ", expected \"" + *expected.text + "\"");
        if (expected.exactError && fresh[0] != expected.error) {
            return Fail("press reported " + fresh[0] + ", expected " + expected.error);
        }
        return true;
    }

    Harness h_;
    Random rng_;
    std::uint64_t seed_;
    std::vector<BoxRule> rules_;
    std::vector<QComboBox*> combos_;
    std::vector<QWidget*> focusable_;
    std::vector<int> changes_;
    int clicks_ = 0;
    long event_ = 0;
    Snapshot before_;
    Expect expect_;
    std::deque<std::string> history_;
    std::map<std::string, long> tally_;
    std::map<std::string, long> targets_;
    long reactivations_ = 0;
    long presses_ = 0;
    long computed_ = 0;
    long pressErrors_ = 0;
};

// QTest warns for every key no widget accepted (F-keys, Escape in a list...)
// and the offscreen platform for every list it cannot grab the keyboard or
// raise for; in a session of this length that is noise.
QtMessageHandler previousHandler = nullptr;
void QuietKeyWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && (message.contains(QLatin1String("not accepted by receiving widget")) ||
                                 message.startsWith(QLatin1String("This plugin does not support")))) {
        return;
    }
    previousHandler(type, context, message);
}

TEST(WindowMonkey, RandomSessionKeepsEveryPromise)
{
    const long events = EventCount();
    const std::uint64_t seed = Seed();
    std::printf("monkey: seed %llu, %ld events\n", static_cast<unsigned long long>(seed), events);
    std::fflush(stdout);
    previousHandler = qInstallMessageHandler(QuietKeyWarnings);

    Monkey monkey(seed);
    ASSERT_TRUE(QTest::qWaitForWindowActive(monkey.harness().window.get()));
    QElapsedTimer timer;
    timer.start();
    const bool kept = monkey.Run(events);
    const double seconds = static_cast<double>(timer.elapsed()) / 1000.0;
    qInstallMessageHandler(previousHandler);

    monkey.PrintTally();
    std::printf("monkey: seed %llu, %ld events in %.1f s\n", static_cast<unsigned long long>(seed), monkey.EventsRun(),
                seconds);
    EXPECT_TRUE(kept) << monkey.failure;
}

// Alt+letter is an accelerator, not a character: it must neither type its
// letter into a digit box nor show a message.
TEST(WindowMonkey, AltLetterTypesNothingIntoABox)
{
    Harness h;
    for (QLineEdit* box : {h.window->txtLngD, h.window->txtYear}) {
        box->setFocus();
        box->setText(QStringLiteral("12"));
        QTest::keyClick(box, Qt::Key_A, Qt::AltModifier);
        EXPECT_EQ(box->text(), QStringLiteral("12")) << box->objectName().toStdString();
    }
}

} // namespace
} // namespace vantoril::testing
