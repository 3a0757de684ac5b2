#include "skins/wstext.h"

#include <algorithm>

#include "classlib/core/text.h"
#include "classlib/windows/controls.h"
#include "skins/wsplatform.h"

namespace {

// The text without accelerator marks ("&&" gives "&") and the index in it of
// the character after the last single mark (-1 when none).
template <class String>
String WithoutMarks(const String& text, int& accelerator) {
    String result;
    accelerator = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                result.push_back(text[i]);
                ++i;
            } else if (i + 1 < text.size()) {
                accelerator = static_cast<int>(result.size());
            }
            continue;
        }
        result.push_back(text[i]);
    }
    return result;
}

}  // namespace

std::wstring WideGetText(TControl* Control) {
    return Control->GetWideText();
}

void WideSetText(TControl* Control, const std::wstring& Text) {
    if (Control->GetWideText() != Text) Control->SetWideText(Text);
}

std::wstring WideGetHint(TControl* Control) {
    return Control->WideHint();
}

void WideSetHint(TControl* Control, const std::wstring& Text) {
    if (Control->WideHint() != Text) Control->SetWideHint(Text);
}

void WideSetWindowText(HWND Wnd, const std::wstring& Text) {
    SetWindowTextW(Wnd, Text.c_str());
}

int WideDrawText(HDC DC, const std::wstring& Text, int Count, TRect& R, UINT Flags) {
    const int length =
        Count < 0 ? static_cast<int>(Text.size()) : std::min(Count, static_cast<int>(Text.size()));
    return DrawTextW(DC, Text.c_str(), length, R.Win32(), Flags);
}

void WideTextExtent(HDC DC, const std::wstring& Text, TSize& Size) {
    SIZE size{};
    GetTextExtentPoint32W(DC, Text.c_str(), static_cast<int>(Text.size()), &size);
    Size = {size.cx, size.cy};
}

void SyncHotKeyPosition(const std::string& AnsiCaption, std::wstring& WideCaption) {
    int ansiAccelerator = -1, wideAccelerator = -1;
    const std::string ansi = WithoutMarks(AnsiCaption, ansiAccelerator);
    const std::wstring wide = WithoutMarks(WideCaption, wideAccelerator);
    if (ToAnsi(wide) != ansi)
        throw EWsInternalError("Internal Error: SyncHotKeyPosition Failed (\"" + AnsiCaption + "\" <> \"" +
                               ToAnsi(WideCaption) + "\").");
    // The ANSI position counts bytes; the wide one characters.
    const int position =
        ansiAccelerator < 0
            ? -1
            : static_cast<int>(ToWide(ansi.substr(0, static_cast<std::size_t>(ansiAccelerator))).size());
    std::wstring result;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (static_cast<int>(i) == position) result.push_back(L'&');
        if (wide[i] == L'&') result.push_back(L'&');
        result.push_back(wide[i]);
    }
    WideCaption = result;
}
