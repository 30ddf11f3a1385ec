// SPDX-License-Identifier: MIT
#include "recorders.h"
#include "ui/result_announcer.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace vantoril::testing {
namespace {

struct ControlCase {
    const char* name;
    const char* kind; // class the control must be (or inherit)
    const char* container;
    int left, top, width, height;
    int tabIndex;
    const char* text;
};

QString TextOf(const QWidget* w)
{
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(w)) return frame->title();
    if (auto* edit = qobject_cast<const QLineEdit*>(w)) return edit->text();
    if (auto* combo = qobject_cast<const QComboBox*>(w)) return combo->currentText();
    if (auto* button = qobject_cast<const QPushButton*>(w)) return button->text();
    return {};
}

class ControlTest : public ::testing::TestWithParam<ControlCase> {};

TEST_P(ControlTest, StandsWhereDesigned)
{
    Harness h;
    const ControlCase& c = GetParam();
    auto* w = h.window->findChild<QWidget*>(QLatin1String(c.name));
    ASSERT_NE(w, nullptr) << c.name;
    EXPECT_TRUE(w->inherits(c.kind)) << c.name << " is " << w->metaObject()->className();
    EXPECT_EQ(w->parentWidget()->objectName(), QLatin1String(c.container));
    EXPECT_EQ(w->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15)) << c.name;
    EXPECT_EQ(w->property("tabIndex").toInt(), c.tabIndex) << c.name;
    EXPECT_EQ(TextOf(w), QString::fromUtf8(c.text)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Window, ControlTest,
    ::testing::Values(
        ControlCase{"Frame1", "QGroupBox", "frmVantorilTime", 480, 0, 6375, 975, 0, "Vantoril Time"},
        ControlCase{"Label1", "QLabel", "Frame1", 840, 360, 4935, 495, 14,
                    "This program calculates the Local Vantoril Time for any        location on the Earth for a given "
                    "time (UTC)"},
        ControlCase{"Frame3", "QGroupBox", "frmVantorilTime", 480, 1320, 6495, 2775, 15, "Data Input"},
        ControlCase{"Label2", "QLabel", "Frame3", 120, 480, 855, 255, 16, "Longitude"},
        ControlCase{"Label3", "QLabel", "Frame3", 1080, 240, 375, 255, 17, "Deg."},
        ControlCase{"Label4", "QLabel", "Frame3", 1560, 240, 375, 255, 18, "Min."},
        ControlCase{"Label5", "QLabel", "Frame3", 2040, 240, 375, 255, 19, "Sec."},
        ControlCase{"Label6", "QLabel", "Frame3", 2640, 240, 495, 255, 20, "E / W"},
        ControlCase{"txtLngD", "QLineEdit", "Frame3", 960, 480, 495, 315, 1, " "},
        ControlCase{"txtLngM", "QLineEdit", "Frame3", 1560, 480, 375, 315, 2, " "},
        ControlCase{"txtLngS", "QLineEdit", "Frame3", 2040, 480, 375, 315, 3, " "},
        ControlCase{"cmbEW", "QComboBox", "Frame3", 2640, 480, 495, 315, 4, "E"},
        ControlCase{"cmdPress", "QPushButton", "Frame3", 4560, 480, 855, 375, 11, "PRESS"},
        ControlCase{"Label9", "QLabel", "Frame3", 1200, 1080, 495, 255, 21, "Year"},
        ControlCase{"Label10", "QLabel", "Frame3", 1920, 1080, 495, 255, 22, "Month"},
        ControlCase{"Label11", "QLabel", "Frame3", 2760, 1080, 495, 255, 23, "Date"},
        ControlCase{"Label12", "QLabel", "Frame3", 4560, 1080, 255, 255, 26, "Hr."},
        ControlCase{"Label13", "QLabel", "Frame3", 5160, 1080, 375, 255, 27, "Min."},
        ControlCase{"Label14", "QLabel", "Frame3", 5640, 1080, 495, 255, 28, "Sec."},
        ControlCase{"Label8", "QLabel", "Frame3", 120, 1440, 855, 255, 24, "Date (UTC)"},
        ControlCase{"txtYear", "QLineEdit", "Frame3", 1080, 1440, 615, 315, 5, "2002"},
        ControlCase{"cmbMonth", "QComboBox", "Frame3", 1920, 1440, 615, 315, 6, "01"},
        ControlCase{"cmbDate", "QComboBox", "Frame3", 2640, 1440, 615, 315, 7, "01"},
        ControlCase{"Label7", "QLabel", "Frame3", 3480, 1440, 975, 255, 25, "Time (UTC)"},
        ControlCase{"cmbHour", "QComboBox", "Frame3", 4440, 1440, 615, 315, 8, " 00"},
        ControlCase{"txtMinute", "QLineEdit", "Frame3", 5160, 1440, 375, 285, 9, " "},
        ControlCase{"txtSecond", "QLineEdit", "Frame3", 5640, 1440, 375, 285, 10, " "},
        ControlCase{"Label17", "QLabel", "Frame3", 240, 2040, 6015, 495, 30,
                    "Enter  the Longitude  of the location and select E/W . Then enter the UTC date and time and press "
                    "the button. You can get the Local Vantoril time for the above location."},
        ControlCase{"Label15", "QLabel", "frmVantorilTime", 720, 4440, 2295, 255, 12, "Local Vantoril Time  ="},
        ControlCase{"txtVantorilTime", "QLineEdit", "frmVantorilTime", 3120, 4320, 1095, 375, 13, " "},
        ControlCase{"Label16", "QLabel", "frmVantorilTime", 4800, 4440, 2280, 255, 29, "Programed by  Pelvorand"}),
    [](const ::testing::TestParamInfo<ControlCase>& p) { return std::string(p.param.name); });

TEST(Window, IsAFixedSizeWindowWithItsCaption)
{
    Harness h;
    EXPECT_EQ(h.window->objectName(), "frmVantorilTime");
    EXPECT_EQ(h.window->windowTitle(), "Vantoril Time");
    EXPECT_EQ(h.window->size(), QSize(7260 / 15, 4845 / 15));
    EXPECT_EQ(h.window->minimumSize(), h.window->maximumSize());
    EXPECT_FALSE(h.window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(h.window->windowIcon().isNull());
    EXPECT_EQ(h.window->windowIcon().pixmap(QSize(32, 32)).size(), QSize(32, 32));
}

TEST(Window, ListsHoldTwoDigitItemsInOrder)
{
    Harness h;
    struct Case {
        QComboBox* combo;
        QStringList items;
    };
    QStringList months, days, hours;
    for (int i = 1; i <= 12; ++i) months << QString::asprintf("%02d", i);
    for (int i = 1; i <= 31; ++i) days << QString::asprintf("%02d", i);
    for (int i = 0; i <= 23; ++i) hours << QString::asprintf("%02d", i);
    for (const Case& c : {Case{h.window->cmbEW, {"E", "W"}}, Case{h.window->cmbMonth, months},
                          Case{h.window->cmbDate, days}, Case{h.window->cmbHour, hours}}) {
        QStringList actual;
        for (int i = 0; i < c.combo->count(); ++i) actual << c.combo->itemText(i);
        EXPECT_EQ(actual, c.items) << c.combo->objectName().toStdString();
        EXPECT_TRUE(c.combo->isEditable());
    }
}

TEST(Window, ChoosingAnHourReplacesTheBlankText)
{
    Harness h;
    h.window->cmbHour->setFocus();
    QTest::keyClick(h.window->cmbHour, Qt::Key_Down);
    EXPECT_EQ(h.window->cmbHour->currentText(), "00");
    QTest::keyClick(h.window->cmbHour, Qt::Key_Down);
    EXPECT_EQ(h.window->cmbHour->currentText(), "01");
    QTest::keyClick(h.window->cmbMonth, Qt::Key_Down);
    EXPECT_EQ(h.window->cmbMonth->currentText(), "02");
}

TEST(Window, FontsAndColours)
{
    Harness h;
    const auto& w = *h.window;
    for (const QWidget* large : {static_cast<QWidget*>(w.Frame1), static_cast<QWidget*>(w.Label15),
                                 static_cast<QWidget*>(w.txtVantorilTime), static_cast<QWidget*>(w.Label1)}) {
        EXPECT_DOUBLE_EQ(large->font().pointSizeF(), 9.75) << large->objectName().toStdString();
    }
    EXPECT_TRUE(w.Frame1->font().bold());
    EXPECT_TRUE(w.Label15->font().bold());
    EXPECT_TRUE(w.txtVantorilTime->font().bold());
    EXPECT_FALSE(w.Label1->font().bold());
    EXPECT_DOUBLE_EQ(w.Label2->font().pointSizeF(), 8.0);
    EXPECT_FALSE(w.Label2->font().bold());
    EXPECT_EQ(w.Label16->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(w.Label16->cursor().shape(), Qt::BitmapCursor);
    EXPECT_FALSE(w.Label16->cursor().pixmap().isNull());
}

TEST(Window, EveryCaptionFitsItsBox)
{
    Harness h;
    for (const QLabel* label : h.window->findChildren<QLabel*>()) {
        const QFontMetrics metrics(label->font());
        const QRect needed = metrics.boundingRect(QRect(QPoint(0, 0), label->size()),
                                                  label->wordWrap() ? Qt::TextWordWrap : 0, label->text());
        EXPECT_LE(needed.width(), label->width()) << label->objectName().toStdString();
        EXPECT_LE(needed.height(), label->height()) << label->objectName().toStdString();
    }
    const QFontMetrics result(h.window->txtVantorilTime->font());
    EXPECT_LT(result.horizontalAdvance("23:59:59"), h.window->txtVantorilTime->width() - 8);
}

TEST(Window, TabOrderAndStartingFocus)
{
    Harness h;
    auto& w = *h.window;
    EXPECT_EQ(QApplication::focusWidget(), w.txtLngD);
    const QList<QWidget*> expected = {w.txtLngD,  w.txtLngM,         w.txtLngS, w.cmbEW,     w.txtYear,
                                      w.cmbMonth, w.cmbDate,         w.cmbHour, w.txtMinute, w.txtSecond,
                                      w.cmdPress, w.txtVantorilTime, w.txtLngD};
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected[i]) << "after " << expected[i - 1]->objectName().toStdString();
    }
    for (const QWidget* passive : w.findChildren<QLabel*>()) EXPECT_EQ(passive->focusPolicy(), Qt::NoFocus);
    for (const QWidget* passive : w.findChildren<QGroupBox*>()) EXPECT_EQ(passive->focusPolicy(), Qt::NoFocus);
}

TEST(Window, ResultBoxIsReadOnlyButSelectable)
{
    Harness h;
    h.Press();
    auto* result = h.window->txtVantorilTime;
    EXPECT_TRUE(result->isReadOnly());
    result->setFocus();
    QTest::keyClicks(result, "99");
    EXPECT_EQ(result->text(), "6:41:54");
    result->selectAll();
    EXPECT_EQ(result->selectedText(), "6:41:54");
}

TEST(Window, ControlsCarryAccessibleNames)
{
    Harness h;
    auto& w = *h.window;
    struct Case {
        QWidget* widget;
        const char* name;
    };
    for (const Case& c : {Case{w.txtLngD, "Longitude degrees"}, Case{w.txtLngM, "Longitude minutes"},
                          Case{w.txtLngS, "Longitude seconds"}, Case{w.cmbEW, "East or west"},
                          Case{w.txtYear, "Year, UTC"}, Case{w.cmbMonth, "Month, UTC"}, Case{w.cmbDate, "Day, UTC"},
                          Case{w.cmbHour, "Hour, UTC"}, Case{w.txtMinute, "Minute, UTC"},
                          Case{w.txtSecond, "Second, UTC"}, Case{w.txtVantorilTime, "Local Vantoril Time"}}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c.widget);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(c.widget->accessibleName(), QLatin1String(c.name));
        EXPECT_EQ(a->text(QAccessible::Name), QLatin1String(c.name));
        // Its caption labels it, and reads as the whole name: readers speak
        // the label, and "Min." would not say which minutes.
        const auto labels = a->relations(QAccessible::Label);
        ASSERT_FALSE(labels.isEmpty()) << c.name;
        EXPECT_EQ(labels.front().first->text(QAccessible::Name), QLatin1String(c.name));
    }
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(w.Label16);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Name), "Programed by  Pelvorand");
}

TEST(Window, ResultBoxIsReadOnlyToAssistiveTechnology)
{
    Harness h;
    h.Press();
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(h.window->txtVantorilTime);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->state().readOnly);
    EXPECT_FALSE(a->state().editable);
    EXPECT_EQ(a->editableTextInterface(), nullptr);
    a->setText(QAccessible::Value, QStringLiteral("hello"));
    EXPECT_EQ(h.Result(), "6:41:54");

    QAccessibleTextInterface* text = a->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 7);
    EXPECT_EQ(text->text(0, 7), "6:41:54");
    // One run over the whole text, wherever it is asked, the end included.
    for (const int offset : {0, 6, 7}) {
        int start = -1;
        int end = -1;
        text->attributes(offset, &start, &end);
        EXPECT_EQ(start, 0) << offset;
        EXPECT_EQ(end, 7) << offset;
    }
    text->setSelection(0, 2, 4);
    EXPECT_EQ(h.window->txtVantorilTime->selectedText(), "41");
    EXPECT_FALSE(text->characterRect(0).isEmpty());
}

TEST(Window, EveryLineBoxReportsItsTextAsOneRun)
{
    Harness h;
    auto& w = *h.window;
    h.Type(w.txtYear, "7");
    // Each box as a reader finds it: its text in one run of attributes,
    // wherever it is asked, so the last character is never cut.
    for (QLineEdit* box : {w.txtLngD, w.txtYear, w.cmbHour->lineEdit(), w.txtVantorilTime}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
        ASSERT_NE(a, nullptr);
        QAccessibleTextInterface* text = a->textInterface();
        ASSERT_NE(text, nullptr);
        const int count = text->characterCount();
        ASSERT_EQ(text->text(0, count), box->text()) << box->objectName().toStdString();
        for (const int offset : {0, count - 1, count}) {
            int start = -1;
            int end = -1;
            text->attributes(offset, &start, &end);
            EXPECT_EQ(start, 0) << box->objectName().toStdString() << " at " << offset;
            EXPECT_EQ(end, count) << box->objectName().toStdString() << " at " << offset;
        }
    }
    // The digit boxes stay editable to assistive technology, as a paste.
    QAccessibleInterface* degrees = QAccessible::queryAccessibleInterface(w.txtLngD);
    EXPECT_TRUE(degrees->state().editable);
    ASSERT_NE(degrees->editableTextInterface(), nullptr);
    degrees->setText(QAccessible::Value, QStringLiteral("79"));
    EXPECT_EQ(w.txtLngD->text(), "79");
    degrees->editableTextInterface()->insertText(2, QStringLiteral("1"));
    EXPECT_EQ(w.txtLngD->text(), "791");
    degrees->editableTextInterface()->deleteText(0, 1);
    EXPECT_EQ(w.txtLngD->text(), "91");
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
TEST(Window, CombosGiveTheirShownTextAsValueText)
{
    Harness h;
    // " 00" is no item of the hour list, so no item is selected to read it from.
    for (QComboBox* combo : {h.window->cmbHour, h.window->cmbEW}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(combo);
        ASSERT_NE(a, nullptr);
        auto* attributes =
            static_cast<QAccessibleAttributesInterface*>(a->interface_cast(QAccessible::AttributesInterface));
        ASSERT_NE(attributes, nullptr);
        const auto custom = attributes->attributeValue(QAccessible::Attribute::Custom).value<QHash<QString, QString>>();
        EXPECT_EQ(custom.value(QStringLiteral("valuetext")), combo->currentText());
    }
}
#endif

TEST(Window, EachPressAnnouncesItsResultOnceAndAnErrorNothing)
{
    Harness h;
    auto* announcer = h.window->findChild<ResultAnnouncer*>();
    ASSERT_NE(announcer, nullptr);
    std::vector<QString> said;
    QObject::connect(announcer, &ResultAnnouncer::Announced, [&said](const QString& text) { said.push_back(text); });

    h.Press();
    EXPECT_EQ(said, std::vector<QString>{"6:41:54"});
    h.Press(); // the same result again: said again, for this press
    h.Type(h.window->txtLngD, "79");
    h.Type(h.window->txtLngM, "51");
    h.window->cmbEW->setCurrentIndex(1);
    h.Press();
    EXPECT_EQ(said, (std::vector<QString>{"6:41:54", "6:41:54", "1:22:30"}));
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // Before Qt 6.8 a reader hears a notification named by the result.
    QAccessibleInterface* notification = QAccessible::queryAccessibleInterface(announcer);
    ASSERT_NE(notification, nullptr);
    EXPECT_EQ(notification->role(), QAccessible::Notification);
    EXPECT_EQ(notification->text(QAccessible::Name), "1:22:30");
#endif
    // A press that ends in an error box announces nothing; the box speaks.
    h.window->cmbDate->setEditText(QString());
    h.Press();
    EXPECT_EQ(h.messages.prompts.size(), 1u);
    EXPECT_EQ(said.size(), 3u);
}

} // namespace
} // namespace vantoril::testing
