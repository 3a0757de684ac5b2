// Shortcuts and hint texts: the key word with its Shift/Ctrl/Alt bits, the
// names menus show and their way back, and the short and long parts of hints.
#include <gtest/gtest.h>

#include <string>

#include "classlib/windows/hints.h"
#include "classlib/windows/shortcuts.h"

namespace {

struct ShortCutCase {
    WORD Key;
    TShiftState Shift;
    const char* Text;
};

const ShortCutCase kShortCuts[] = {
    {'S', {ssCtrl}, "Ctrl+S"},
    {'Z', {ssShift, ssCtrl}, "Shift+Ctrl+Z"},
    {VK_F4, {ssAlt}, "Alt+F4"},
    {VK_F1, {}, "F1"},
    {VK_F12, {ssShift, ssCtrl, ssAlt}, "Shift+Ctrl+Alt+F12"},
    {'7', {ssCtrl}, "Ctrl+7"},
    {VK_INSERT, {ssShift}, "Shift+Ins"},
    {VK_DELETE, {ssCtrl}, "Ctrl+Del"},
    {VK_RETURN, {ssAlt}, "Alt+Enter"},
    {VK_ESCAPE, {}, "Esc"},
    {VK_BACK, {ssAlt}, "Alt+BkSp"},
    {VK_TAB, {ssCtrl}, "Ctrl+Tab"},
    {VK_SPACE, {ssCtrl}, "Ctrl+Space"},
    {VK_PRIOR, {}, "PgUp"},
    {VK_NEXT, {}, "PgDn"},
    {VK_END, {ssCtrl}, "Ctrl+End"},
    {VK_HOME, {ssCtrl}, "Ctrl+Home"},
    {VK_LEFT, {}, "Left"},
    {VK_UP, {ssShift}, "Shift+Up"},
    {VK_RIGHT, {}, "Right"},
    {VK_DOWN, {ssAlt}, "Alt+Down"},
};

TEST(ShortCuts, KeyAndShiftMakeOneWordAndComeBack) {
    EXPECT_EQ(ShortCut('S', {ssCtrl}), 'S' | scCtrl);
    EXPECT_EQ(ShortCut(VK_F4, {ssAlt, ssShift}), VK_F4 | scAlt | scShift);
    // Mouse buttons and double clicks are no part of a shortcut.
    EXPECT_EQ(ShortCut('A', {ssLeft, ssDouble}), 'A');

    WORD key = 0;
    TShiftState shift;
    ShortCutToKey('Q' | scCtrl | scAlt, key, shift);
    EXPECT_EQ(key, 'Q');
    EXPECT_TRUE(shift == (TShiftState{ssCtrl, ssAlt}));
}

TEST(ShortCuts, TextRoundTripsThroughTheNamesMenusShow) {
    for (const ShortCutCase& c : kShortCuts) {
        const TShortCut shortCut = ShortCut(c.Key, c.Shift);
        EXPECT_EQ(ShortCutToText(shortCut), c.Text);
        EXPECT_EQ(TextToShortCut(c.Text), shortCut) << c.Text;
    }
}

TEST(ShortCuts, TextIsReadWithoutRegardToCaseAndModifierOrder) {
    EXPECT_EQ(TextToShortCut("ctrl+shift+z"), 'Z' | scCtrl | scShift);
    EXPECT_EQ(TextToShortCut("ALT+f4"), VK_F4 | scAlt);
}

TEST(ShortCuts, NoKeyMeansNoShortCutAndNoText) {
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(ShortCutToText(scCtrl), "");
    EXPECT_EQ(TextToShortCut(""), 0);
    EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
    EXPECT_EQ(TextToShortCut("Ctrl+NoSuchKey"), 0);
}

TEST(HintText, ShortAndLongPartsSplitAtTheFirstBar) {
    struct {
        const char* Hint;
        const char* Short;
        const char* Long;
    } const cases[] = {
        {"Save|Saves the log to a file", "Save", "Saves the log to a file"},
        {"Print", "Print", "Print"},
        {"|Only long", "", "Only long"},
        {"Only short|", "Only short", ""},
        {"a|b|c", "a", "b|c"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetShortHint(std::string(c.Hint)), c.Short) << c.Hint;
        EXPECT_EQ(GetLongHint(std::string(c.Hint)), c.Long) << c.Hint;
    }
    EXPECT_EQ(GetShortHint(std::wstring(L"\u00c4nderung|Lang")), L"\u00c4nderung");
    EXPECT_EQ(GetLongHint(std::wstring(L"\u00c4nderung|Lang")), L"Lang");
}

}  // namespace
