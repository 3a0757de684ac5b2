// Theme services: without visual styles every call answers "no theme" and
// draws nothing, a class the system has no theme for falls back the same
// way, and a theme change reaches the services through the application.
#include <vssym32.h>

#include "classlib/graphics/bitmap.h"
#include "classlib/windows/themes.h"
#include "tests/classlib/windows/window_test.h"

namespace {

using Themes = WindowTest;

// Pixels of a white bitmap that are no longer white.
int Painted(TBitmap* Bitmap) {
    int painted = 0;
    for (int y = 0; y < Bitmap->Height(); ++y) {
        const auto* row = static_cast<const std::uint32_t*>(Bitmap->ScanLine(y));
        for (int x = 0; x < Bitmap->Width(); ++x) painted += (row[x] & 0xFFFFFF) != 0xFFFFFF;
    }
    return painted;
}

TOwned<TBitmap> WhiteBitmap() {
    TOwned<TBitmap> bitmap(Create<TBitmap>());
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(60, 30);
    return bitmap;
}

TEST_F(Themes, WithoutVisualStylesEveryCallAnswersNoTheme) {
    TThemesEnabledOverride off(false);
    TThemeServices* themes = ThemeServices();
    EXPECT_FALSE(themes->ThemesEnabled());
    EXPECT_EQ(themes->Theme(teButton), nullptr);

    TOwned<TBitmap> bitmap = WhiteBitmap();
    HDC dc = bitmap->Canvas()->Handle();
    const TThemedElementDetails button{teButton, BP_PUSHBUTTON, PBS_NORMAL};
    const TRect r(0, 0, 60, 30);
    EXPECT_FALSE(themes->DrawElement(dc, button, r));
    EXPECT_FALSE(themes->DrawThemeText(dc, button, L"Text", r, DT_SINGLELINE));
    TSize size{-1, -1};
    EXPECT_FALSE(themes->GetThemePartSize(dc, button, TS_TRUE, size));
    EXPECT_EQ(size, (TSize{-1, -1}));
    TColor color = clNone;
    EXPECT_FALSE(themes->GetThemeColor(button, TMT_TEXTCOLOR, color));
    EXPECT_EQ(color, clNone);
    std::wstring file = L"unchanged", scheme, sizeName;
    EXPECT_FALSE(themes->GetCurrentThemeName(file, scheme, sizeName));
    EXPECT_EQ(file, L"unchanged");
    TForm* form = NewForm();
    EXPECT_FALSE(themes->DrawParentBackground(form->Handle(), dc));
    EXPECT_EQ(Painted(bitmap.get()), 0);
}

TEST_F(Themes, AClassWithoutAThemeFallsBackCleanly) {
    TThemesEnabledOverride on(true);
    TThemeServices* themes = ThemeServices();
    TOwned<TBitmap> bitmap = WhiteBitmap();
    HDC dc = bitmap->Canvas()->Handle();
    // The explorer bar is the class Wine has no theme for; elsewhere the
    // drawing must then really have happened.
    const TThemedElementDetails background{teExplorerBar, EBP_HEADERBACKGROUND, 0};
    const bool drawn = themes->DrawElement(dc, background, TRect(0, 0, 60, 30));
    EXPECT_EQ(drawn, themes->Theme(teExplorerBar) != nullptr);
    if (!drawn) {
        EXPECT_EQ(Painted(bitmap.get()), 0);
        TColor color = clNone;
        EXPECT_FALSE(themes->GetThemeColor(background, TMT_TEXTCOLOR, color));
    }
}

TEST_F(Themes, EveryListenerHearsAThemeChange) {
    TThemeServices* themes = ThemeServices();
    struct Listener {
        TThemeServices* themes;
        int changes = 0;
        Listener* other = nullptr;
        void Changed(TObject*) {
            ++changes;
            // The first listener drops the second one before its turn.
            if (other) themes->RemoveThemeChangeListener(TNotifyEvent(other, &Listener::Changed));
        }
    } first{themes}, second{themes};
    themes->AddThemeChangeListener(TNotifyEvent(&first, &Listener::Changed));
    themes->AddThemeChangeListener(TNotifyEvent(&first, &Listener::Changed));  // added once
    themes->AddThemeChangeListener(TNotifyEvent(&second, &Listener::Changed));
    themes->UpdateThemes();
    EXPECT_EQ(first.changes, 1);
    EXPECT_EQ(second.changes, 1);
    first.other = &second;
    themes->UpdateThemes();
    EXPECT_EQ(first.changes, 2);
    EXPECT_EQ(second.changes, 1);
    themes->RemoveThemeChangeListener(TNotifyEvent(&first, &Listener::Changed));
    themes->UpdateThemes();
    EXPECT_EQ(first.changes, 2);
}

TEST_F(Themes, AThemeChangeReachesTheServicesThroughTheApplication) {
    TThemesEnabledOverride on(true);
    TThemeServices* themes = ThemeServices();
    int changes = 0;
    struct Listener {
        int* changes;
        void Changed(TObject*) { ++*changes; }
    } listener{&changes};
    themes->OnThemeChange = TNotifyEvent(&listener, &Listener::Changed);
    themes->Theme(teButton);
    SendMessageW(Application->Handle(), WM_THEMECHANGED, 0, 0);
    themes->OnThemeChange = nullptr;
    EXPECT_EQ(changes, 1);

    // The button theme, if the system has one, opens again and draws.
    TOwned<TBitmap> bitmap = WhiteBitmap();
    const TThemedElementDetails button{teButton, BP_PUSHBUTTON, PBS_NORMAL};
    if (themes->Theme(teButton)) {
        EXPECT_TRUE(themes->DrawElement(bitmap->Canvas()->Handle(), button, TRect(0, 0, 60, 30)));
        EXPECT_GT(Painted(bitmap.get()), 0);
    }
}

}  // namespace
