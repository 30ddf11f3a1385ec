// SPDX-License-Identifier: MIT
#include "recorders.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <gtest/gtest.h>

namespace vantoril::testing {
namespace {

using namespace Qt::StringLiterals;

const std::vector<std::string> kRejected = {"Type only Numbers"};
const std::vector<std::string> kNone = {};

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text; // event text, as a keyboard would send it
    bool rejected;
};

class DigitFilterTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(DigitFilterTest, LetsOnlyDigitsAndBackspaceThrough)
{
    const KeyCase& c = GetParam();
    QGuiApplication::clipboard()->setText("123"); // must never be pasted by Ctrl+V
    for (const char* box : {"txtLngD", "txtLngM", "txtLngS", "txtYear", "txtMinute", "txtSecond"}) {
        Harness h;
        auto* edit = h.window->findChild<QLineEdit*>(QLatin1String(box));
        edit->setFocus();
        edit->setText("1");
        edit->setCursorPosition(1);
        const std::string before = edit->text().toStdString();
        h.messages.prompts.clear();

        // Qt offers every key as a shortcut first; deliver both as the platform does.
        QKeyEvent override(QEvent::ShortcutOverride, c.key, c.modifiers, QString::fromLatin1(c.text));
        QApplication::sendEvent(edit, &override);
        QTest::sendKeyEvent(QTest::KeyAction::Press, edit, c.key, QString::fromLatin1(c.text), c.modifiers);
        QTest::sendKeyEvent(QTest::KeyAction::Release, edit, c.key, QString::fromLatin1(c.text), c.modifiers);

        EXPECT_EQ(h.messages.prompts, c.rejected ? kRejected : kNone) << box;
        if (c.rejected) {
            EXPECT_EQ(edit->text().toStdString(), before) << box;
        } else {
            EXPECT_NE(edit->text().toStdString(), before) << box;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, DigitFilterTest,
                         ::testing::Values(KeyCase{"Digit0", Qt::Key_0, Qt::NoModifier, "0", false},
                                           KeyCase{"Digit9", Qt::Key_9, Qt::NoModifier, "9", false},
                                           KeyCase{"KeypadDigit", Qt::Key_5, Qt::KeypadModifier, "5", false},
                                           KeyCase{"Backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", false},
                                           KeyCase{"LetterA", Qt::Key_A, Qt::NoModifier, "a", true},
                                           KeyCase{"CapitalZ", Qt::Key_Z, Qt::ShiftModifier, "Z", true},
                                           KeyCase{"Blank", Qt::Key_Space, Qt::NoModifier, " ", true},
                                           KeyCase{"FullStop", Qt::Key_Period, Qt::NoModifier, ".", true},
                                           KeyCase{"Minus", Qt::Key_Minus, Qt::NoModifier, "-", true},
                                           KeyCase{"Plus", Qt::Key_Plus, Qt::ShiftModifier, "+", true},
                                           KeyCase{"Colon", Qt::Key_Colon, Qt::ShiftModifier, ":", true},
                                           KeyCase{"Return", Qt::Key_Return, Qt::NoModifier, "\r", true},
                                           KeyCase{"Enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", true},
                                           KeyCase{"Escape", Qt::Key_Escape, Qt::NoModifier, "\x1b", true},
                                           KeyCase{"CtrlV", Qt::Key_V, Qt::ControlModifier, "v", true},
                                           KeyCase{"CtrlVFromX", Qt::Key_V, Qt::ControlModifier, "\x16", true},
                                           KeyCase{"CtrlC", Qt::Key_C, Qt::ControlModifier, "c", true},
                                           KeyCase{"CtrlX", Qt::Key_X, Qt::ControlModifier, "x", true},
                                           KeyCase{"CtrlZ", Qt::Key_Z, Qt::ControlModifier, "z", true},
                                           KeyCase{"CtrlA", Qt::Key_A, Qt::ControlModifier, "a", true},
                                           KeyCase{"EAcute", Qt::Key_Eacute, Qt::NoModifier, "\xe9", true},
                                           KeyCase{"CtrlHIsBackspace", Qt::Key_H, Qt::ControlModifier, "\b", false},
                                           KeyCase{"CtrlSpaceIsTheBlank", Qt::Key_Space, Qt::ControlModifier, " ",
                                                   true}),
                         [](const ::testing::TestParamInfo<KeyCase>& p) { return std::string(p.param.name); });

TEST(KeysThatTypeNothing, PassUntouched)
{
    Harness h;
    auto* edit = h.window->txtLngD;
    edit->setFocus();
    edit->setText("123");
    edit->setCursorPosition(3);
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "13");
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "3");
    QTest::keyClick(edit, Qt::Key_F1);
    QTest::keyClick(edit, Qt::Key_Shift);
    EXPECT_TRUE(h.messages.prompts.empty());
    EXPECT_EQ(h.window->values().LngD, 3);
}

TEST(Combos, IgnoreEveryTypedCharacterSilently)
{
    for (const char* name : {"cmbEW", "cmbMonth", "cmbDate", "cmbHour"}) {
        Harness h;
        auto* combo = h.window->findChild<QComboBox*>(QLatin1String(name));
        const QString before = combo->currentText();
        const int count = combo->count();
        combo->setFocus();
        QTest::keyClicks(combo, "7a. ");
        QTest::keyClick(combo, Qt::Key_Backspace);
        QTest::keyClick(combo, Qt::Key_Return);
        QTest::keyClick(combo, Qt::Key_V, Qt::ControlModifier);
        // Whichever object the key reaches first, it is blocked.
        QTest::keyClicks(combo->lineEdit(), "5");
        QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
        EXPECT_EQ(combo->currentText(), before) << name;
        EXPECT_EQ(combo->count(), count) << name;
        EXPECT_TRUE(h.messages.prompts.empty()) << name;
    }
}

TEST(Combos, DeleteStillEditsTheText)
{
    Harness h;
    auto* combo = h.window->cmbDate;
    combo->setFocus();
    combo->lineEdit()->setCursorPosition(0);
    QTest::keyClick(combo, Qt::Key_Delete);
    QTest::keyClick(combo, Qt::Key_Delete);
    EXPECT_EQ(combo->currentText(), "");
}

struct LimitCase {
    const char* box;
    const char* text;
    const char* warning; // nullptr: none
};

class LimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(LimitTest, WarnsOnlyAboveTheLimit)
{
    const LimitCase& c = GetParam();
    Harness h;
    auto* edit = h.window->findChild<QLineEdit*>(QLatin1String(c.box));
    edit->clear();
    h.messages.prompts.clear();
    h.Type(edit, c.text);
    const std::vector<std::string> expected = c.warning ? std::vector<std::string>{c.warning} : kNone;
    EXPECT_EQ(h.messages.prompts, expected) << c.box << ' ' << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, LimitTest,
    ::testing::Values(LimitCase{"txtLngD", "179", nullptr}, LimitCase{"txtLngD", "180", "It is less than 180"},
                      LimitCase{"txtLngM", "59", nullptr}, LimitCase{"txtLngM", "60", "It is less than 60"},
                      LimitCase{"txtLngS", "59", nullptr}, LimitCase{"txtLngS", "60", "It is less than 60"},
                      LimitCase{"txtMinute", "59", nullptr}, LimitCase{"txtMinute", "60", "It is less than 60"},
                      LimitCase{"txtSecond", "59", nullptr}, LimitCase{"txtSecond", "60", "It is less than 60"},
                      LimitCase{"txtYear", "99999", nullptr}),
    [](const ::testing::TestParamInfo<LimitCase>& p) { return std::string(p.param.box) + "_" + p.param.text; });

TEST(Warnings, RepeatAtEveryChangeAboveTheLimit)
{
    Harness h;
    auto* edit = h.window->txtLngD;
    edit->clear();
    h.Type(edit, "200"); // 2 and 20 are fine, 200 is not
    EXPECT_EQ(h.messages.prompts.size(), 1u);
    h.Type(edit, "0");
    EXPECT_EQ(h.messages.prompts.size(), 2u);
    QTest::keyClick(edit, Qt::Key_Backspace); // 200 again
    EXPECT_EQ(h.messages.prompts.size(), 3u);
    QTest::keyClick(edit, Qt::Key_Backspace); // 20
    EXPECT_EQ(h.messages.prompts.size(), 3u);
    EXPECT_EQ(h.window->values().LngD, 20);
}

TEST(ChangeProcedures, StoreWhatArrivesByPaste)
{
    struct Case {
        const char* box;
        QString pasted;
        double stored;
        std::vector<std::string> prompts;
        QString shown = {}; // null: the pasted text as it is
    };
    const std::vector<Case> cases = {
        {"txtMinute", u"12ab"_s, 12, {}},
        {"txtLngS", u"59.5"_s, 59.5, {"It is less than 60"}},
        {"txtLngD", u"-7"_s, -7, {}},
        {"txtLngM", u" 1 5 "_s, 15, {}},
        {"txtYear", u"&H7D2"_s, 2002, {}},
        {"txtSecond", u""_s, 0, {}},
        {"txtMinute", u"1e39"_s, HUGE_VAL, {"It is less than 60"}},
        // What cannot be seen or reads as a digit is brought to what the box shows.
        {"txtLngD", u"1\u00ad2"_s, 12, {}, u"12"_s},                                  // soft hyphen
        {"txtYear", u"20\u200b02"_s, 2002, {}, u"2002"_s},                            // zero-width space
        {"txtLngM", u"1\u200c\u200d9"_s, 19, {}, u"19"_s},                            // zero-width (non-)joiner
        {"txtLngS", u"\u200e4\u200f5\u061c"_s, 45, {}, u"45"_s},                      // direction marks
        {"txtMinute", u"\ufeff7"_s, 7, {}, u"7"_s},                                   // byte order mark
        {"txtSecond", u"5\U000e0031"_s, 5, {}, u"5"_s},                               // a tag, beyond the first plane
        {"txtLngM", u"\r12"_s, 12, {}, u"12"_s},                                      // carriage return
        {"txtLngS", u"3\u00a04"_s, 34, {}, u"3 4"_s},                                 // no-break space
        {"txtYear", u"1\u202f9\u20077"_s, 197, {}, u"1 9 7"_s},                       // narrow and figure spaces
        {"txtSecond", u"\uff11\uff12"_s, 12, {}, u"12"_s},                            // full-width digits
        {"txtLngM", u"\u0664\u0665"_s, 45, {}, u"45"_s},                              // Arabic-Indic digits
        {"txtLngD", u"\u0967\u096e\u0966"_s, 180, {"It is less than 180"}, u"180"_s}, // Devanagari
        {"txtMinute", u"\U0001d7d7"_s, 9, {}, u"9"_s},                                // a mathematical digit
        // Everything else stays as the number reader reads it.
        {"txtMinute", u"1\u00b2"_s, 1, {}}, // superscript two is no digit
        {"txtLngM", u"4\n2"_s, 42, {}},     // line feeds count as blanks already
    };
    for (const Case& c : cases) {
        Harness h;
        auto* edit = h.window->findChild<QLineEdit*>(QLatin1String(c.box));
        edit->setText("3"); // paste and drop reach the box without a key event
        h.messages.prompts.clear();
        edit->selectAll();
        edit->insert(c.pasted);
        const WorkingValues& v = h.window->values();
        const std::map<std::string, double> stored = {{"txtLngD", v.LngD},     {"txtLngM", v.LngM},
                                                      {"txtLngS", v.LngS},     {"txtYear", v.Year},
                                                      {"txtMinute", v.Minute}, {"txtSecond", v.Second}};
        const std::string what = std::string(c.box) + " <- " + c.pasted.toStdString();
        EXPECT_EQ(edit->text(), c.shown.isNull() ? c.pasted : c.shown) << what;
        EXPECT_EQ(stored.at(c.box), c.stored) << what;
        EXPECT_EQ(h.messages.prompts, c.prompts) << what;
    }
}

// The mend happens wherever text arrives: the clipboard's paste (context
// menu, Shift+Insert), a drop, in the middle of what is there, caret kept.
TEST(ChangeProcedures, PastedAndDroppedTextIsMendedInPlace)
{
    Harness h;
    QLineEdit* box = h.window->txtLngD;
    box->setText("45");
    box->setCursorPosition(1);
    QGuiApplication::clipboard()->setText(u"1\u00ad2"_s);
    box->paste();
    EXPECT_EQ(box->text(), "4125");
    EXPECT_EQ(box->cursorPosition(), 3);
    EXPECT_EQ(h.window->values().LngD, 4125);

    box = h.window->txtMinute;
    box->setText(" ");
    QMimeData data;
    data.setText(u"\uff13\u200b\uff10"_s);
    const QPointF at(box->width() - 2, box->height() / 2.0);
    h.messages.prompts.clear();
    // A drop goes where the drag entered.
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &drop);
    EXPECT_EQ(box->text(), " 30");
    EXPECT_EQ(h.window->values().Minute, 30);
    EXPECT_TRUE(h.messages.prompts.empty());
}

TEST(ChangeProcedures, OverflowIsReportedAndTheWindowCarriesOn)
{
    Harness h;
    h.Type(h.window->txtLngD, "7");
    h.messages.prompts.clear();
    h.window->txtLngD->setText(QString(400, QLatin1Char('9')));
    EXPECT_EQ(h.messages.prompts, std::vector<std::string>{"Run-time error '6': Overflow"});
    EXPECT_EQ(h.window->values().LngD, 7); // the field keeps its value
    EXPECT_TRUE(h.window->isVisible());
}

TEST(ChangeProcedures, CreatingTheWindowRaisesNone)
{
    Harness h;
    EXPECT_TRUE(h.messages.prompts.empty());
    const WorkingValues& v = h.window->values();
    EXPECT_EQ(v.Year, 0); // "2002" is shown but was never a change
    EXPECT_EQ(v.LngD, 0);
    EXPECT_EQ(v.EWSign, 0);
}

// Alt+letter, Alt+Backspace and Ctrl+digit are commands, not characters:
// they neither type into a digit box, nor undo, nor show a message.
TEST(KeysThatTypeNothing, CommandCombinationsAreSwallowedSilently)
{
    const std::vector<std::pair<Qt::Key, Qt::KeyboardModifier>> commands = {
        {Qt::Key_A, Qt::AltModifier}, {Qt::Key_Backspace, Qt::AltModifier}, {Qt::Key_5, Qt::ControlModifier}};
    Harness h;
    for (QLineEdit* box : {h.window->txtLngD, h.window->txtYear}) {
        for (const auto& [key, modifier] : commands) {
            box->clear();
            h.Type(box, "12"); // typed, so that an undo would have something to take back
            QTest::keyClick(box, key, modifier);
            EXPECT_EQ(box->text(), "12") << box->objectName().toStdString() << " key " << key;
        }
    }
    EXPECT_TRUE(h.messages.prompts.empty());
}

} // namespace
} // namespace vantoril::testing
