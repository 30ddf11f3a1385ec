// SPDX-License-Identifier: MIT
// Typing that arrives other than as plain keys: composed characters, keys
// into an open list, the mouse wheel, the context menu, a double click on the
// link, and the user's decimal separator.
#include "recorders.h"

#include "runtime/conversions.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <gtest/gtest.h>

namespace vantoril::testing {
namespace {

using namespace Qt::StringLiterals;

const std::vector<std::string> kRejected = {"Type only Numbers"};

void Commit(QObject* target, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(target, &event);
}

struct ComposedCase {
    const char* name;
    QString committed;
    const char* after; // text of a digit box that held "1", caret at the end
    std::size_t rejections;
};

void PrintTo(const ComposedCase& c, std::ostream* os) { *os << c.name; }

class ComposedTest : public ::testing::TestWithParam<ComposedCase> {};

TEST_P(ComposedTest, PassesEachCharacterThroughTheKeyProcedure)
{
    const ComposedCase& c = GetParam();
    for (const char* name : {"txtLngD", "txtLngM", "txtLngS", "txtYear", "txtMinute", "txtSecond"}) {
        Harness h;
        auto* box = h.window->findChild<QLineEdit*>(QLatin1String(name));
        box->setFocus();
        box->setText("1");
        h.messages.prompts.clear();
        Commit(box, c.committed);
        EXPECT_EQ(box->text().toStdString(), c.after) << name;
        EXPECT_EQ(h.messages.prompts, std::vector<std::string>(c.rejections, kRejected.front())) << name;
    }
    for (const char* name : {"cmbEW", "cmbMonth", "cmbDate", "cmbHour"}) {
        Harness h;
        auto* combo = h.window->findChild<QComboBox*>(QLatin1String(name));
        const QString before = combo->currentText();
        combo->setFocus();
        Commit(combo, c.committed);
        Commit(combo->lineEdit(), c.committed);
        EXPECT_EQ(combo->currentText(), before) << name;
        EXPECT_TRUE(h.messages.prompts.empty()) << name;
    }
    Harness h;
    h.window->txtVantorilTime->setFocus();
    Commit(h.window->txtVantorilTime, c.committed);
    EXPECT_EQ(h.Result(), " ");
}

INSTANTIATE_TEST_SUITE_P(Characters, ComposedTest,
                         ::testing::Values(ComposedCase{"SuperscriptTwo", QStringLiteral("\u00b2"), "1", 1},
                                           ComposedCase{"EAcute", QStringLiteral("\u00e9"), "1", 1},
                                           ComposedCase{"SuperscriptOneThenFive", QStringLiteral("\u00b95"), "15", 1},
                                           ComposedCase{"Digit", QStringLiteral("7"), "17", 0},
                                           ComposedCase{"DigitThenLetter", QStringLiteral("2x"), "12", 1},
                                           ComposedCase{"CircumflexAndBlank", QStringLiteral("^ "), "1", 2}),
                         [](const ::testing::TestParamInfo<ComposedCase>& p) { return std::string(p.param.name); });

// Whether the focused control takes a platform input method (an on-screen
// keyboard, compose), and the layout it asks for.
std::pair<bool, Qt::InputMethodHints> InputMethodOffer(QWidget* target)
{
    target->setFocus();
    auto* focused = qobject_cast<QWidget*>(QApplication::focusObject());
    QInputMethodQueryEvent query(Qt::ImHints);
    QApplication::sendEvent(focused, &query);
    return {focused->testAttribute(Qt::WA_InputMethodEnabled), Qt::InputMethodHints(query.value(Qt::ImHints).toInt())};
}

TEST(InputMethod, DigitBoxesTakeItWithDigitsAndOtherControlsDoNot)
{
    Harness h;
    for (QLineEdit* box : {h.window->txtLngD, h.window->txtLngM, h.window->txtLngS, h.window->txtYear,
                           h.window->txtMinute, h.window->txtSecond}) {
        const auto [enabled, hints] = InputMethodOffer(box);
        EXPECT_TRUE(enabled) << box->objectName().toStdString();
        EXPECT_TRUE(hints.testFlag(Qt::ImhDigitsOnly)) << box->objectName().toStdString();
    }
    for (QComboBox* combo : {h.window->cmbEW, h.window->cmbMonth, h.window->cmbDate, h.window->cmbHour}) {
        EXPECT_FALSE(InputMethodOffer(combo).first) << combo->objectName().toStdString();
    }
    EXPECT_FALSE(InputMethodOffer(h.window->txtVantorilTime).first);

    // A commit from it, as an on-screen keyboard sends a tapped 1, 2 and a letter.
    QLineEdit* minute = h.window->txtMinute;
    minute->setFocus();
    for (const char16_t* tapped : {u"1", u"2", u"a"}) Commit(QApplication::focusObject(), QString::fromUtf16(tapped));
    EXPECT_EQ(minute->text(), "12 "); // in front of the initial blank, where the caret was
    EXPECT_EQ(h.window->values().Minute, 12);
    EXPECT_EQ(h.messages.prompts, kRejected);

    // Tapped digits an on-screen keyboard holds as composing text are typed
    // at once; an accent being composed waits for its commit.
    h.messages.prompts.clear();
    h.window->txtLngS->setFocus();
    for (const char16_t* composing : {u"3", u"^"}) {
        QInputMethodEvent event(QString::fromUtf16(composing), {});
        QApplication::sendEvent(QApplication::focusObject(), &event);
    }
    QCoreApplication::processEvents(); // typed once the event is over
    EXPECT_EQ(h.window->txtLngS->text(), "3 ");
    EXPECT_EQ(h.window->values().LngS, 3);
    EXPECT_TRUE(h.messages.prompts.empty());

    // Its backspace: remove the character before the caret.
    QInputMethodEvent backspace;
    backspace.setCommitString(QString(), -1, 1);
    QApplication::sendEvent(QApplication::focusObject(), &backspace);
    EXPECT_EQ(h.window->txtLngS->text(), " ");
    EXPECT_EQ(h.window->values().LngS, 0);
}

TEST(OpenList, IgnoresTypingButNotItsArrowsAndEnter)
{
    Harness h;
    auto* combo = h.window->cmbDate;
    combo->setFocus();
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(list->isVisible());
    QTest::keyClicks(list, "3a");
    Commit(list, QStringLiteral("2"));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(combo->currentText(), "01");
    EXPECT_TRUE(h.messages.prompts.empty());

    combo->showPopup();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(combo->currentText(), "03");
    combo->showPopup();
    QTest::keyClick(list, Qt::Key_End);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(combo->currentText(), "03");
}

void RollDown(QWidget* target)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

TEST(Wheel, StepsOnlyTheComboThatHasTheFocus)
{
    // Where the wheel goes on to and that it takes no focus needs a real
    // pointer: the real-X keyboard test rolls it over the hemisphere box.
    Harness h;
    h.window->txtLngD->setFocus();
    RollDown(h.window->cmbEW);
    EXPECT_EQ(h.window->cmbEW->currentText(), "E");
    EXPECT_EQ(h.window->cmbEW->focusPolicy(), Qt::StrongFocus);

    h.window->cmbEW->setFocus();
    RollDown(h.window->cmbEW);
    EXPECT_EQ(h.window->cmbEW->currentText(), "W");
}

TEST(ContextMenu, OffersTheEntriesWithoutShortcutHints)
{
    Harness h;
    h.window->txtLngD->setText("12");
    const std::unique_ptr<QMenu> menu(frmVantorilTime::ContextMenuWithoutShortcuts(*h.window->txtLngD));
    bool paste = false;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        EXPECT_FALSE(action->text().contains(QLatin1Char('\t'))) << action->text().toStdString();
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
        paste = paste || action->text().remove(QLatin1Char('&')) == QLatin1String("Paste");
    }
    EXPECT_TRUE(paste);
}

TEST(Link, ADoubleClickAsksOnceAndTwoClicksTwice)
{
    Harness h;
    QWidget* link = h.window->Label16;
    const QPointF at(5, 5);
    const auto send = [&](QEvent::Type type) {
        QMouseEvent event(type, at, link->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(link, &event);
    };
    // What the platform delivers for a double click.
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                    QEvent::MouseButtonRelease}) {
        send(type);
    }
    EXPECT_EQ(h.urls.urls.size(), 1u);
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(), 1000);
    EXPECT_EQ(h.urls.urls.size(), 3u);
}

// Runs under whatever numeric locale the environment names (CTest runs it
// again under de_DE.UTF-8): the hour box reads that locale's separator only.
TEST(DecimalSeparator, HourBoxTakesTheUsersOwn)
{
    const bool comma = UserDecimalSeparator() == ',';
    const std::pair<const char*, const char*> cases[] = {
        {comma ? "1,5" : "1.5", "8:12:9"}, {comma ? "1.5" : "1,5", nullptr}, // no number in this locale
    };
    for (const auto& [hour, shown] : cases) {
        Harness h;
        h.window->cmbHour->setEditText(QString::fromLatin1(hour));
        h.Press();
        if (shown != nullptr) {
            EXPECT_EQ(h.Result().toStdString(), shown) << hour;
            EXPECT_TRUE(h.messages.prompts.empty()) << hour;
        } else {
            EXPECT_EQ(h.messages.prompts, std::vector<std::string>{"Run-time error '13': Type mismatch"}) << hour;
        }
    }
}

} // namespace
} // namespace vantoril::testing
