// SPDX-License-Identifier: MIT
#include "oracle.h"

#include "engine/sidereal.h"
#include "runtime/conversions.h"
#include "runtime/run_time_error.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string_view>

namespace vantoril::testing::monkey {

namespace {

const std::string kRejection = "Type only Numbers";
const std::string kRunTimePrefix = "Run-time error '";
const QSize kWindowSize(484, 323);

std::u16string_view View(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
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

std::string Join(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (const auto& s : items) out += (out.size() > 1 ? ", \"" : "\"") + s + "\"";
    return out + "]";
}

// The change rule: the box's text read leniently, stored (rounded into a
// single where the field is one), and warned about above the limit.
struct ChangeOutcome {
    std::vector<std::string> messages;
    std::optional<double> stored; // empty when the read fails and the field keeps its value
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

// The press rule: the calculation on what the window shows, worked out apart.
struct PressOutcome {
    std::optional<std::string> text;
    std::string error;
    bool exactError = false; // false when the window's reading order may report another error first
};

PressOutcome ExpectedPress(const frmVantorilTime& w, const WorkingValues& stored)
{
    PressOutcome out;
    // The longitude, minute and second as their change procedures stored them;
    // the press reads the rest from the window and writes every other field.
    WorkingValues v = stored;
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

} // namespace

Controls::Controls(frmVantorilTime& w)
    : rules{
          BoxRule{w.txtLngD, &WorkingValues::LngD, nullptr, 179, "It is less than 180"},
          BoxRule{w.txtLngM, &WorkingValues::LngM, nullptr, 59, "It is less than 60"},
          BoxRule{w.txtLngS, &WorkingValues::LngS, nullptr, 59, "It is less than 60"},
          BoxRule{w.txtYear, nullptr, &WorkingValues::Year, 0, nullptr},
          BoxRule{w.txtMinute, nullptr, &WorkingValues::Minute, 59, "It is less than 60"},
          BoxRule{w.txtSecond, nullptr, &WorkingValues::Second, 59, "It is less than 60"},
      },
      combos{w.cmbEW, w.cmbMonth, w.cmbDate, w.cmbHour},
      focusable{w.txtLngD, w.txtLngM,   w.txtLngS,   w.cmbEW,    w.txtYear, w.cmbMonth,
                w.cmbDate, w.cmbHour, w.txtMinute, w.txtSecond, w.cmdPress, w.txtVantorilTime}
{
}

const BoxRule* Controls::RuleOf(const QObject* o) const
{
    for (const auto& r : rules) {
        if (r.box == o) return &r;
    }
    return nullptr;
}

QComboBox* Controls::ComboOf(const QObject* o) const
{
    for (auto* c : combos) {
        if (c == o || c->lineEdit() == o) return c;
    }
    return nullptr;
}

bool Controls::IsFocusable(const QWidget* w) const
{
    return std::find(focusable.begin(), focusable.end(), w) != focusable.end() || ComboOf(w) != nullptr;
}

Oracle::Oracle(Harness& h, const Controls& controls) : h_(h), controls_(controls)
{
    changes_.resize(controls_.rules.size());
    for (std::size_t i = 0; i < controls_.rules.size(); ++i) {
        QObject::connect(controls_.rules[i].box, &QLineEdit::textChanged, [this, i] { ++changes_[i]; });
    }
    QObject::connect(h_.window->cmdPress, &QPushButton::clicked, [this] { ++clicks_; });
}

void Oracle::Remember()
{
    before_.texts.clear();
    for (const auto& r : controls_.rules) before_.texts.push_back(r.box->text());
    before_.comboTexts.clear();
    for (auto* c : controls_.combos) before_.comboTexts.push_back(c->currentText());
    before_.result = h_.window->txtVantorilTime->text();
    before_.values = h_.window->values();
    before_.messages = h_.messages.prompts.size();
    before_.urls = h_.urls.urls.size();
    std::fill(changes_.begin(), changes_.end(), 0);
    clicks_ = 0;
}

std::vector<std::string> Oracle::NewMessages() const
{
    return {h_.messages.prompts.begin() + static_cast<std::ptrdiff_t>(before_.messages), h_.messages.prompts.end()};
}

std::optional<std::string> Oracle::Judge(const Expect& expect)
{
    auto& w = *h_.window;
    if (!w.isVisible()) return "the window is no longer visible";
    if (w.size() != kWindowSize) return "the window changed its size";
    if (QWidget* focus = w.focusWidget(); focus != nullptr && !controls_.IsFocusable(focus)) {
        return "focus on " + NameOf(focus) + ", which should never take it";
    }
    const std::vector<std::string> fresh = NewMessages();
    for (const auto& m : fresh) {
        if (!IsAllowedMessage(m)) return "unexpected message \"" + m + "\"";
    }
    const auto rejections = std::count(fresh.begin(), fresh.end(), kRejection);
    if (rejections != expect.rejected) {
        return "expected " + std::to_string(expect.rejected) + " rejection(s), got " + Join(fresh);
    }

    const std::size_t links = h_.urls.urls.size() - before_.urls;
    if (links != (expect.linkClick ? 1u : 0u)) return std::to_string(links) + " link request(s)";
    if (expect.linkClick && h_.urls.urls.back() != frmVantorilTime::kHomePage) return "wrong link";

    if (expect.key) {
        if (auto broken = KeysKeepTheirPromises(expect)) return broken;
    }

    int changes = 0;
    std::size_t changed = 0;
    for (std::size_t i = 0; i < changes_.size(); ++i) {
        changes += changes_[i];
        if (changes_[i] > 0) changed = i;
    }
    if (clicks_ > 1) return std::to_string(clicks_) + " presses from one event";
    if (clicks_ == 1) {
        if (changes != 0) return "a press changed an input box";
        return PressKeepsItsPromises(fresh);
    }
    if (w.txtVantorilTime->text() != before_.result) return "the result changed without a press";
    if (changes == 1) return ChangeKeepsItsPromises(controls_.rules[changed], fresh);
    if (changes == 0) {
        for (std::size_t i = 0; i < controls_.rules.size(); ++i) {
            if (controls_.rules[i].box->text() != before_.texts[i]) return "a text changed without its procedure";
        }
        if (static_cast<std::size_t>(rejections) != fresh.size()) return "messages without a change: " + Join(fresh);
    }
    return std::nullopt;
}

std::optional<std::string> Oracle::KeysKeepTheirPromises(const Expect& expect) const
{
    const Key& k = *expect.key;
    if (const BoxRule* rule = controls_.RuleOf(expect.keyTarget)) {
        const auto i = static_cast<std::size_t>(rule - controls_.rules.data());
        const QString& was = before_.texts[i];
        const QString now = rule->box->text();
        if (k.typed > 0 && k.typed == k.rejected && now != was) {
            return "a refused key changed " + NameOf(rule->box) + " to " + Quote(now);
        }
        // Only a paste may bring anything but digits into a box by keyboard.
        if (!k.pastes && NonDigits(now) > NonDigits(was)) {
            return "key " + k.name + " put a non-digit into " + NameOf(rule->box) + ": " + Quote(was) + " -> " +
                   Quote(now);
        }
    }
    if (QComboBox* combo = controls_.ComboOf(expect.keyTarget); combo != nullptr && k.typed > 0) {
        const auto& combos = controls_.combos;
        const auto i = static_cast<std::size_t>(std::find(combos.begin(), combos.end(), combo) - combos.begin());
        if (combo->currentText() != before_.comboTexts[i]) {
            return "typed key " + k.name + " changed " + NameOf(combo) + " to " + Quote(combo->currentText());
        }
    }
    return std::nullopt;
}

std::optional<std::string> Oracle::ChangeKeepsItsPromises(const BoxRule& rule,
                                                          const std::vector<std::string>& fresh) const
{
    const ChangeOutcome expected = ExpectedChange(rule, rule.box->text());
    // Refusals of the other characters of the same event are counted already.
    std::vector<std::string> own;
    std::copy_if(fresh.begin(), fresh.end(), std::back_inserter(own), [](const auto& m) { return m != kRejection; });
    if (own != expected.messages) {
        return NameOf(rule.box) + " changed to " + Quote(rule.box->text()) + ": messages " + Join(own) + ", expected " +
               Join(expected.messages);
    }
    const double now = FieldOf(rule, h_.window->values());
    const double want = expected.stored ? *expected.stored : FieldOf(rule, before_.values);
    if (!SameNumber(now, want)) {
        return NameOf(rule.box) + " stored " + std::to_string(now) + ", expected " + std::to_string(want);
    }
    return std::nullopt;
}

std::optional<std::string> Oracle::PressKeepsItsPromises(const std::vector<std::string>& fresh)
{
    static const QRegularExpression clock(QStringLiteral(R"(^(\d|1\d|2[0-3]):(\d|[1-5]\d):(\d|[1-5]\d)$)"));
    ++presses;
    const QString result = h_.window->txtVantorilTime->text();
    const PressOutcome expected = ExpectedPress(*h_.window, before_.values);
    if (fresh.empty()) {
        if (!clock.match(result).hasMatch()) return "press wrote " + Quote(result);
        if (!expected.text) return "press wrote " + Quote(result) + ", expected " + expected.error;
        if (result.toStdString() != *expected.text) {
            return "press wrote " + Quote(result) + ", expected \"" + *expected.text + "\"";
        }
        ++computed;
        return std::nullopt;
    }
    ++pressErrors;
    if (fresh.size() != 1 || fresh[0].rfind(kRunTimePrefix, 0) != 0) return "press reported " + Join(fresh);
    if (result != before_.result) return "a failed press changed the result to " + Quote(result);
    if (expected.text) return "press reported " + fresh[0] + ", expected \"" + *expected.text + "\"";
    if (expected.exactError && fresh[0] != expected.error) {
        return "press reported " + fresh[0] + ", expected " + expected.error;
    }
    return std::nullopt;
}

std::string Quote(const QString& s)
{
    std::string out = "\"" + s.left(40).toStdString();
    if (s.size() > 40) out += "...(" + std::to_string(s.size()) + ")";
    return out + "\"";
}

std::string NameOf(const QObject* o)
{
    if (o == nullptr) return "none";
    const QString name = o->objectName();
    if (!name.isEmpty()) return name.toStdString();
    if (o->parent() != nullptr && !o->parent()->objectName().isEmpty()) {
        return o->parent()->objectName().toStdString() + "/" + o->metaObject()->className();
    }
    return o->metaObject()->className();
}

} // namespace vantoril::testing::monkey
