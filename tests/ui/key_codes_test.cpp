// SPDX-License-Identifier: MIT
#include "ui/key_codes.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace vantoril {
namespace {

struct Case {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    std::vector<std::uint8_t> codes;
};

class AnsiKeyCodesTest : public ::testing::TestWithParam<Case> {};

TEST_P(AnsiKeyCodesTest, TranslatesTheKey)
{
    const Case& c = GetParam();
    const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.text);
    EXPECT_EQ(AnsiKeyCodes(event), c.codes);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, AnsiKeyCodesTest,
    ::testing::Values(
        Case{"Digit", Qt::Key_7, Qt::NoModifier, "7", {'7'}}, Case{"Letter", Qt::Key_A, Qt::NoModifier, "a", {'a'}},
        Case{"Backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", {8}},
        Case{"BackspaceWithoutText", Qt::Key_Backspace, Qt::NoModifier, "", {8}},
        Case{"CtrlBackspace", Qt::Key_Backspace, Qt::ControlModifier, "\b", {8}},
        Case{"AltBackspaceIsNoCharacter", Qt::Key_Backspace, Qt::AltModifier, "\b", {}},
        Case{"Return", Qt::Key_Return, Qt::NoModifier, "\r", {13}},
        Case{"KeypadEnter", Qt::Key_Enter, Qt::KeypadModifier, "\r", {13}},
        Case{"Escape", Qt::Key_Escape, Qt::NoModifier, "\x1b", {27}},
        Case{"CtrlVSynthesized", Qt::Key_V, Qt::ControlModifier, "v", {22}},
        Case{"CtrlVFromX", Qt::Key_V, Qt::ControlModifier, "\x16", {22}},
        Case{"CtrlShiftZ", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "\x1a", {26}},
        Case{"CtrlA", Qt::Key_A, Qt::ControlModifier, "", {1}},
        Case{"CtrlHIsBackspace", Qt::Key_H, Qt::ControlModifier, "\b", {8}},
        Case{"CtrlSpaceIsTheBlank", Qt::Key_Space, Qt::ControlModifier, "", {32}},
        Case{"CtrlDigitIsNoCharacter", Qt::Key_5, Qt::ControlModifier, "5", {}},
        Case{"AltLetterIsNoCharacter", Qt::Key_F, Qt::AltModifier, "f", {}},
        Case{"DeleteFromX", Qt::Key_Delete, Qt::NoModifier, "\x7f", {}},
        Case{"Tab", Qt::Key_Tab, Qt::NoModifier, "\t", {}}, Case{"Backtab", Qt::Key_Backtab, Qt::ShiftModifier, "", {}},
        Case{"Arrow", Qt::Key_Left, Qt::NoModifier, "", {}}, Case{"FunctionKey", Qt::Key_F5, Qt::NoModifier, "", {}},
        Case{"ShiftAlone", Qt::Key_Shift, Qt::ShiftModifier, "", {}},
        Case{"Euro", Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x20AC)), {0x80}},
        Case{"EAcute", Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)), {0xE9}},
        Case{"OutsideTheCodePage", Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x0416)), {'?'}},
        Case{"TwoCharacters", Qt::Key_unknown, Qt::NoModifier, "12", {'1', '2'}}),
    [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

} // namespace
} // namespace vantoril
