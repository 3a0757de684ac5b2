// Visual-style theme services: one object, `ThemeServices()`, that tells
// whether visual styles are in use, opens the theme of a window class when it
// is first needed (and again after a theme change) and draws theme parts.
// Every call answers "no theme" (false, empty) when there is none, so that
// callers fall back to plain drawing.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "classlib/core/delegate.h"
#include "classlib/core/win32.h"
#include "classlib/graphics/colors.h"
#include "classlib/graphics/geometry.h"
#include "classlib/windows/messages.h"

#include <uxtheme.h>

// The theme classes, by the window class whose parts they hold.
enum TThemedElement {
    teButton,
    teClock,
    teComboBox,
    teEdit,
    teExplorerBar,
    teHeader,
    teListView,
    teMenu,
    tePage,
    teProgress,
    teRebar,
    teScrollBar,
    teSpin,
    teStartPanel,
    teStatus,
    teTab,
    teTaskBand,
    teTaskBar,
    teToolBar,
    teToolTip,
    teTrackBar,
    teTrayNotify,
    teTreeview,
    teWindow,
};
constexpr int ThemedElementCount = teWindow + 1;

// One part of a theme class in one state (the numbers of the theme's own
// part and state tables).
struct TThemedElementDetails {
    TThemedElement Element;
    int Part;
    int State;
};

// Owns an open theme (OpenThemeData / CloseThemeData).
class TThemeHandle {
public:
    TThemeHandle() = default;
    explicit TThemeHandle(HTHEME theme) : theme_(theme) {}
    TThemeHandle(const TThemeHandle&) = delete;
    TThemeHandle& operator=(const TThemeHandle&) = delete;
    ~TThemeHandle() { Reset(); }
    HTHEME Get() const { return theme_; }
    void Reset(HTHEME theme = nullptr);

private:
    HTHEME theme_ = nullptr;
};

class TThemeServices {
public:
    TThemeServices();
    ~TThemeServices();
    TThemeServices(const TThemeServices&) = delete;
    TThemeServices& operator=(const TThemeServices&) = delete;

    // Visual styles are active and used by this program (unless a test
    // decided otherwise).
    bool ThemesEnabled() const;
    // Forces the answer of ThemesEnabled; nullopt gives the system's back.
    void SetThemesEnabledOverride(std::optional<bool> Value);

    // The element's theme, opened on first use; null without visual styles
    // or when the system has no theme for that class.
    HTHEME Theme(TThemedElement Element);

    // Draws the part's background in R; false when nothing was drawn.
    bool DrawElement(HDC DC, const TThemedElementDetails& Details, const TRect& R,
                     const TRect* ClipRect = nullptr);
    bool DrawThemeBackground(HDC DC, const TThemedElementDetails& Details, const TRect& R,
                             const TRect* ClipRect = nullptr) {
        return DrawElement(DC, Details, R, ClipRect);
    }
    // Text in the part's font and colour; false when nothing was drawn.
    bool DrawThemeText(HDC DC, const TThemedElementDetails& Details, const std::wstring& Text, const TRect& R,
                       DWORD Flags, DWORD Flags2 = 0);
    // The part's size (TS_MIN, TS_TRUE or TS_DRAW); false without it.
    bool GetThemePartSize(HDC DC, const TThemedElementDetails& Details, THEMESIZE SizeKind, TSize& Size,
                          const TRect* R = nullptr);
    // A colour property (TMT_...) of the part; false without it.
    bool GetThemeColor(const TThemedElementDetails& Details, int PropId, TColor& Color);
    // The parent's background behind Window, painted into DC (R in Window's
    // client coordinates, null: all of it); false when nothing was drawn.
    bool DrawParentBackground(HWND Window, HDC DC, const TRect* R = nullptr);
    // The theme file, colour scheme and size names; false without a theme.
    bool GetCurrentThemeName(std::wstring& FileName, std::wstring& ColorName, std::wstring& SizeName);

    // Forgets the open themes (they open again on next use) and fires
    // OnThemeChange: the answer to WM_THEMECHANGED.
    void UpdateThemes();
    // Hands a message to the services; WM_THEMECHANGED updates them. The
    // application window's messages come here by themselves.
    void HandleMessage(const TMessage& Message);

    TNotifyEvent OnThemeChange;
    // Further listeners of theme changes, called after OnThemeChange in the
    // order they were added. A listener may add or remove listeners (itself
    // included) while it runs: one removed meanwhile is not called.
    void AddThemeChangeListener(const TNotifyEvent& Listener);
    void RemoveThemeChangeListener(const TNotifyEvent& Listener);

private:
    bool ApplicationHook(TMessage& Message);

    std::array<TThemeHandle, ThemedElementCount> themes_;
    std::array<bool, ThemedElementCount> opened_{};
    std::optional<bool> enabledOverride_;
    std::vector<TNotifyEvent> listeners_;
    bool hooked_ = false;
};

// The program's theme services, made on first use.
TThemeServices* ThemeServices();

// A test's answer to ThemesEnabled for a scope.
class TThemesEnabledOverride {
public:
    explicit TThemesEnabledOverride(bool Enabled) { ThemeServices()->SetThemesEnabledOverride(Enabled); }
    ~TThemesEnabledOverride() { ThemeServices()->SetThemesEnabledOverride(std::nullopt); }
    TThemesEnabledOverride(const TThemesEnabledOverride&) = delete;
    TThemesEnabledOverride& operator=(const TThemesEnabledOverride&) = delete;
};
