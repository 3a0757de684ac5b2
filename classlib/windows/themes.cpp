#include "classlib/windows/themes.h"

#include <algorithm>

#include "classlib/windows/application.h"

namespace {

// The class names OpenThemeData knows the elements by.
constexpr std::array<const wchar_t*, ThemedElementCount> kThemeClasses{
    L"BUTTON",   L"CLOCK",      L"COMBOBOX", L"EDIT",       L"EXPLORERBAR", L"HEADER",
    L"LISTVIEW", L"MENU",       L"PAGE",     L"PROGRESS",   L"REBAR",       L"SCROLLBAR",
    L"SPIN",     L"STARTPANEL", L"STATUS",   L"TAB",        L"TASKBAND",    L"TASKBAR",
    L"TOOLBAR",  L"TOOLTIP",    L"TRACKBAR", L"TRAYNOTIFY", L"TREEVIEW",    L"WINDOW",
};

}  // namespace

void TThemeHandle::Reset(HTHEME theme) {
    if (theme_ == theme) return;
    if (theme_) CloseThemeData(theme_);
    theme_ = theme;
}

TThemeServices::TThemeServices() {
    if (Application) {
        Application->HookMainWindow(TWindowHook(this, &TThemeServices::ApplicationHook));
        hooked_ = true;
    }
}

TThemeServices::~TThemeServices() {
    if (hooked_ && Application)
        Application->UnhookMainWindow(TWindowHook(this, &TThemeServices::ApplicationHook));
}

bool TThemeServices::ThemesEnabled() const {
    if (enabledOverride_) return *enabledOverride_;
    return IsThemeActive() && IsAppThemed();
}

void TThemeServices::SetThemesEnabledOverride(std::optional<bool> Value) {
    enabledOverride_ = Value;
}

HTHEME TThemeServices::Theme(TThemedElement Element) {
    if (!ThemesEnabled() || Element < 0 || Element >= ThemedElementCount) return nullptr;
    // A class the system has no theme for is asked once, not on every paint.
    if (!opened_[Element]) {
        opened_[Element] = true;
        themes_[Element].Reset(OpenThemeData(nullptr, kThemeClasses[Element]));
    }
    return themes_[Element].Get();
}

bool TThemeServices::DrawElement(HDC DC, const TThemedElementDetails& Details, const TRect& R,
                                 const TRect* ClipRect) {
    HTHEME theme = Theme(Details.Element);
    return theme && SUCCEEDED(::DrawThemeBackground(theme, DC, Details.Part, Details.State, R.Win32(),
                                                    ClipRect ? ClipRect->Win32() : nullptr));
}

bool TThemeServices::DrawThemeText(HDC DC, const TThemedElementDetails& Details, const std::wstring& Text,
                                   const TRect& R, DWORD Flags, DWORD Flags2) {
    HTHEME theme = Theme(Details.Element);
    return theme && SUCCEEDED(::DrawThemeText(theme, DC, Details.Part, Details.State, Text.c_str(),
                                              static_cast<int>(Text.size()), Flags, Flags2, R.Win32()));
}

bool TThemeServices::GetThemePartSize(HDC DC, const TThemedElementDetails& Details, THEMESIZE SizeKind,
                                      TSize& Size, const TRect* R) {
    HTHEME theme = Theme(Details.Element);
    SIZE size{};
    RECT rect{};
    if (R) rect = *R;
    if (!theme || FAILED(::GetThemePartSize(theme, DC, Details.Part, Details.State, R ? &rect : nullptr,
                                            SizeKind, &size)))
        return false;
    Size = TSize{size.cx, size.cy};
    return true;
}

bool TThemeServices::GetThemeColor(const TThemedElementDetails& Details, int PropId, TColor& Color) {
    HTHEME theme = Theme(Details.Element);
    COLORREF color = 0;
    if (!theme || FAILED(::GetThemeColor(theme, Details.Part, Details.State, PropId, &color))) return false;
    Color = static_cast<TColor>(color);
    return true;
}

bool TThemeServices::DrawParentBackground(HWND Window, HDC DC, const TRect* R) {
    if (!ThemesEnabled()) return false;
    RECT rect{};
    if (R) rect = *R;
    return SUCCEEDED(DrawThemeParentBackground(Window, DC, R ? &rect : nullptr));
}

bool TThemeServices::GetCurrentThemeName(std::wstring& FileName, std::wstring& ColorName,
                                         std::wstring& SizeName) {
    if (!ThemesEnabled()) return false;
    wchar_t file[1024] = {}, color[1024] = {}, size[1024] = {};
    if (FAILED(::GetCurrentThemeName(file, 1024, color, 1024, size, 1024))) return false;
    FileName = file;
    ColorName = color;
    SizeName = size;
    return true;
}

void TThemeServices::UpdateThemes() {
    for (int i = 0; i < ThemedElementCount; ++i) {
        themes_[i].Reset();
        opened_[i] = false;
    }
    if (Assigned(OnThemeChange)) OnThemeChange(nullptr);
    const std::vector<TNotifyEvent> snapshot = listeners_;
    for (const TNotifyEvent& listener : snapshot)
        if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) listener(nullptr);
}

void TThemeServices::AddThemeChangeListener(const TNotifyEvent& Listener) {
    if (Assigned(Listener) && std::find(listeners_.begin(), listeners_.end(), Listener) == listeners_.end())
        listeners_.push_back(Listener);
}

void TThemeServices::RemoveThemeChangeListener(const TNotifyEvent& Listener) {
    auto found = std::find(listeners_.begin(), listeners_.end(), Listener);
    if (found != listeners_.end()) listeners_.erase(found);
}

void TThemeServices::HandleMessage(const TMessage& Message) {
    if (Message.Msg == WM_THEMECHANGED) UpdateThemes();
}

bool TThemeServices::ApplicationHook(TMessage& Message) {
    HandleMessage(Message);
    return false;
}

TThemeServices* ThemeServices() {
    static TThemeServices services;
    return &services;
}
