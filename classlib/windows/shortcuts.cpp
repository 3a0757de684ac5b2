#include "classlib/windows/shortcuts.h"

#include <array>

#include "classlib/core/text.h"

namespace {

struct KeyName {
    WORD Key;
    const char* Name;
};

// Keys that menus name themselves rather than asking the keyboard layout.
constexpr std::array<KeyName, 15> kKeyNames{{
    {VK_BACK, "BkSp"},
    {VK_TAB, "Tab"},
    {VK_RETURN, "Enter"},
    {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"},
    {VK_NEXT, "PgDn"},
    {VK_END, "End"},
    {VK_HOME, "Home"},
    {VK_LEFT, "Left"},
    {VK_UP, "Up"},
    {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},
    {VK_INSERT, "Ins"},
    {VK_DELETE, "Del"},
}};

struct Modifier {
    TShortCut Flag;
    const char* Prefix;
};
constexpr std::array<Modifier, 3> kModifiers{{{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}}};

// Keys outside the table and the letters, digits and function keys: the
// keyboard layout's own name, as the system shows it.
std::string LayoutKeyName(WORD key) {
    UINT scanCode = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    if (scanCode == 0) return {};
    LONG lParam = static_cast<LONG>(scanCode << 16);
    switch (key) {
        // The extended keys share scan codes with the keypad.
        case VK_DIVIDE:
        case VK_NUMLOCK:
        case VK_SNAPSHOT:
        case VK_LWIN:
        case VK_RWIN:
        case VK_APPS:
            lParam |= 1 << 24;
            break;
    }
    wchar_t name[64] = {};
    int length = GetKeyNameTextW(lParam, name, 64);
    if (length <= 0) return {};
    return ToAnsi(std::wstring_view(name, static_cast<size_t>(length)));
}

std::string KeyText(WORD key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) return "F" + IntToStr(key - VK_F1 + 1);
    for (const KeyName& entry : kKeyNames)
        if (entry.Key == key) return entry.Name;
    return LayoutKeyName(key);
}

}  // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift) {
    TShortCut result = static_cast<TShortCut>(Key & 0xFF);
    if (Shift.Contains(ssShift)) result |= scShift;
    if (Shift.Contains(ssCtrl)) result |= scCtrl;
    if (Shift.Contains(ssAlt)) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift) {
    Key = ShortCut & 0xFF;
    Shift = {};
    if (ShortCut & scShift) Shift.Include(ssShift);
    if (ShortCut & scCtrl) Shift.Include(ssCtrl);
    if (ShortCut & scAlt) Shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut ShortCut) {
    std::string name = KeyText(ShortCut & 0xFF);
    if (name.empty()) return {};
    std::string result;
    for (const Modifier& modifier : kModifiers)
        if (ShortCut & modifier.Flag) result += modifier.Prefix;
    return result + name;
}

TShortCut TextToShortCut(const std::string& Text) {
    std::string_view rest = Text;
    TShortCut flags = 0;
    for (bool found = true; found;) {
        found = false;
        for (const Modifier& modifier : kModifiers) {
            const std::string_view prefix = modifier.Prefix;
            if (rest.size() > prefix.size() && SameText(rest.substr(0, prefix.size()), prefix)) {
                flags |= modifier.Flag;
                rest.remove_prefix(prefix.size());
                found = true;
            }
        }
    }
    if (rest.empty()) return 0;
    for (WORD key = 0x08; key <= 0xFF; ++key) {
        const std::string name = KeyText(key);
        if (!name.empty() && SameText(name, rest)) return static_cast<TShortCut>(key | flags);
    }
    return 0;
}
