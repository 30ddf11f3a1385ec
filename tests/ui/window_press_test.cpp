// SPDX-License-Identifier: MIT
#include "recorders.h"

#include <gtest/gtest.h>

#include <regex>

namespace vantoril::testing {
namespace {

TEST(Press, FreshWindowShowsTheDefaultInstant)
{
    Harness h;
    h.Press();
    EXPECT_EQ(h.Result(), "6:41:54");
    h.Press();
    EXPECT_EQ(h.Result(), "6:41:54"); // results do not accumulate
    EXPECT_TRUE(h.messages.prompts.empty());
    EXPECT_EQ(h.window->values().EWSign, 1);
}

TEST(Press, TypicalRoadWestOfGreenwich)
{
    Harness h;
    QTest::keyClicks(h.window->txtLngD, "79");
    h.Type(h.window->txtLngM, "51");
    h.window->cmbEW->setFocus();
    QTest::keyClick(h.window->cmbEW, Qt::Key_Down);
    EXPECT_EQ(h.window->cmbEW->currentText(), "W");
    h.Press();
    EXPECT_EQ(h.Result(), "1:22:30");
    EXPECT_TRUE(h.messages.prompts.empty());
}

TEST(Press, ReadsEveryInputAtThePress)
{
    Harness h;
    h.window->txtYear->setText("1989");
    h.window->cmbMonth->setCurrentIndex(1);
    h.window->cmbDate->setCurrentIndex(24);
    h.window->cmbHour->setCurrentIndex(19);
    h.Type(h.window->txtMinute, "57");
    h.Type(h.window->txtSecond, "15");
    h.Type(h.window->txtLngD, "4");
    h.Type(h.window->txtLngM, "57");
    h.Type(h.window->txtLngS, "52");
    h.window->cmbEW->setCurrentIndex(1);
    h.Press();
    EXPECT_EQ(h.Result(), "6:0:0");
    // Typing after the press changes nothing until the next press.
    h.Type(h.window->txtLngD, "1");
    EXPECT_EQ(h.Result(), "6:0:0");
}

TEST(Press, HemisphereIsEastOnlyForExactlyE)
{
    for (const char* text : {"e", "E ", "W", ""}) {
        Harness h;
        h.window->cmbEW->setEditText(QString::fromLatin1(text));
        h.Press();
        EXPECT_EQ(h.window->values().EWSign, -1) << '"' << text << '"';
    }
}

TEST(Press, EnterAndSpacePressTheFocusedButtonEscapeDoesNot)
{
    Harness h;
    h.window->cmdPress->setFocus();
    QTest::keyClick(h.window->cmdPress, Qt::Key_Escape);
    EXPECT_EQ(h.Result(), " ");
    QTest::keyClick(h.window->cmdPress, Qt::Key_Return);
    EXPECT_EQ(h.Result(), "6:41:54");
    h.window->txtVantorilTime->setText("x");
    QTest::keyClick(h.window->cmdPress, Qt::Key_Space);
    EXPECT_EQ(h.Result(), "6:41:54");
    // Enter in a text box is a rejected key, not a press.
    h.window->txtVantorilTime->setText("x");
    h.Type(h.window->txtYear, "\r");
    EXPECT_EQ(h.Result(), "x");
}

struct ErrorCase {
    const char* name;
    const char* year;
    const char* month;
    const char* date;
    const char* hour;
    const char* minute;
    const char* message;
};

class PressErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(PressErrorTest, IsReportedOnceAndTheResultStays)
{
    const ErrorCase& c = GetParam();
    Harness h;
    h.Press();
    h.window->txtYear->setText(QString::fromLatin1(c.year));
    h.window->cmbMonth->setEditText(QString::fromLatin1(c.month));
    h.window->cmbDate->setEditText(QString::fromLatin1(c.date));
    h.window->cmbHour->setEditText(QString::fromLatin1(c.hour));
    h.window->txtMinute->setText(QString::fromLatin1(c.minute));
    h.messages.prompts.clear();
    h.Press();
    ASSERT_EQ(h.messages.prompts.size(), 1u);
    EXPECT_EQ(h.messages.prompts[0].rfind(c.message, 0), 0u) << h.messages.prompts[0];
    EXPECT_EQ(h.Result(), "6:41:54");
    EXPECT_TRUE(h.window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, PressErrorTest,
    ::testing::Values(ErrorCase{"EmptyDate", "2002", "01", "", " 00", "0", "Run-time error '13': Type mismatch"},
                      ErrorCase{"LetterMonth", "2002", "x", "01", " 00", "0", "Run-time error '13': Type mismatch"},
                      ErrorCase{"EmptyHour", "2002", "01", "01", "", "0", "Run-time error '13': Type mismatch"},
                      ErrorCase{"HugeYear", "3276800", "03", "01", " 00", "0", "Run-time error '6': Overflow"},
                      ErrorCase{"YearBeyondSingle", "1e39", "03", "01", " 00", "0", "Run-time error '6': Overflow"},
                      ErrorCase{"HugeMonth", "2002", "1074", "01", " 00", "0", "Run-time error '6': Overflow"},
                      ErrorCase{"InfiniteMinute", "2002", "01", "01", " 00", "1e39", "Run-time error '16'"},
                      // Two bad inputs: the first one read is reported.
                      ErrorCase{"MonthBeforeDate", "2002", "", "", " 00", "0", "Run-time error '13'"}),
    [](const ::testing::TestParamInfo<ErrorCase>& p) { return std::string(p.param.name); });

TEST(Press, FieldsStoredBeforeAnErrorKeepTheirValues)
{
    Harness h;
    h.window->txtYear->setText("1999");
    h.window->cmbMonth->setEditText("05");
    h.window->cmbDate->lineEdit()->clear();
    h.Press();
    EXPECT_EQ(h.window->values().Year, 1999);
    EXPECT_EQ(h.window->values().Month, 5);
    EXPECT_EQ(h.window->values().JanFeb, 0);
    EXPECT_EQ(h.window->values().Day, 0); // never reached
    // Corrected, the next press works.
    h.window->cmbDate->setEditText("01");
    h.messages.prompts.clear();
    h.Press();
    EXPECT_TRUE(h.messages.prompts.empty());
    EXPECT_TRUE(std::regex_match(h.Result().toStdString(), std::regex(R"(\d{1,2}:\d{1,2}:\d{1,2})")));
}

TEST(Press, DeleteKeysEmptyTheDateThenPressReportsTypeMismatch)
{
    Harness h;
    h.Press();
    auto* date = h.window->cmbDate;
    date->setFocus();
    date->lineEdit()->setCursorPosition(0);
    QTest::keyClick(date, Qt::Key_Delete);
    QTest::keyClick(date, Qt::Key_Delete);
    h.Press();
    EXPECT_EQ(h.messages.prompts, std::vector<std::string>{"Run-time error '13': Type mismatch"});
    EXPECT_EQ(h.Result(), "6:41:54");
}

TEST(Link, EachClickAsksOnceAndTakesNoFocus)
{
    Harness h;
    h.window->txtYear->setFocus();
    QTest::mouseClick(h.window->Label16, Qt::LeftButton);
    ASSERT_EQ(h.urls.urls.size(), 1u);
    EXPECT_EQ(h.urls.urls[0], frmVantorilTime::kHomePage);
    EXPECT_EQ(h.urls.urls[0].scheme(), "https");
    EXPECT_TRUE(h.urls.urls[0].host().endsWith("example.com"));
    QTest::mouseClick(h.window->Label16, Qt::LeftButton);
    EXPECT_EQ(h.urls.urls.size(), 2u);
    QTest::mouseClick(h.window->Label16, Qt::RightButton);
    EXPECT_EQ(h.urls.urls.size(), 2u);
    EXPECT_EQ(QApplication::focusWidget(), h.window->txtYear);
    EXPECT_TRUE(h.messages.prompts.empty());
}

TEST(Link, ReleasingOutsideCancels)
{
    Harness h;
    QTest::mousePress(h.window->Label16, Qt::LeftButton);
    QTest::mouseRelease(h.window->Label16, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_TRUE(h.urls.urls.empty());
}

} // namespace
} // namespace vantoril::testing
