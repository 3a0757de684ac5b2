#include "controls/scscheme.h"

#include <vssym32.h>

#include "classlib/core/exceptions.h"
#include "classlib/core/registry.h"
#include "classlib/core/text.h"
#include "classlib/graphics/handles.h"
#include "classlib/windows/themes.h"
#include "controls/sccolors.h"

std::uint8_t XPColorScheme = 0;
bool IsTrueColor = true;

namespace {

constexpr TColor SchemeTable[3][7] = {
    {0x800000, 0xC2EEFF, 0xA0D9FF, 0xFFEFE3, 0xEABB99, 0xE7A27B, 0xD67563},
    {0x385D3F, 0xC2EEFF, 0xA0D9FF, 0xEDFFFF, 0x92C7B8, 0xADD9CC, 0x84BDA5},
    {0x6F4B4B, 0xC2EEFF, 0xA0D9FF, 0xFFF9F9, 0xD0BCBD, 0xD4C8C4, 0xC8B3B1},
};

constexpr TScCaptionColors OfficeCaptions[3][2] = {
    {{0xFFFFFF, 0xFFFFFF, 0xF7DFD6, 0xC56A31, 0xD9BAB3, 0xFCFCFC, 0xFF8E42, 0xA53C00, 0xF7D3C6, 0xFFFFFF},
     {0xC56A31, 0xFFFFFF, 0xFFF3EF, 0xC56A31, 0xDE9A6A, 0xC35E2F, 0xF7DFD6, 0xFFFFFF, 0xCE5D29, 0xBE500F}},
    {{0xB8E7E0, 0xFFFFFF, 0xECF6F6, 0x70A093, 0xBED5CA, 0xFCFCFC, 0x1D9272, 0x1C674B, 0xB8E7E0, 0xD5F3F1},
     {0x70A093, 0xFFFFFF, 0xECF6F6, 0x70A093, 0x81B7A9, 0x4FA382, 0xA9D6C8, 0xFFFFFF, 0x67A896, 0x4E9682}},
    {{0xE0D7D6, 0xFFFFFF, 0xF5F1F0, 0xBFB4B2, 0xD1C5C3, 0xFCFCFC, 0x7C7C7E, 0x3D3D3F, 0xE0D7D6, 0xFCFBFB},
     {0xAB9594, 0xFFFFFF, 0xF5F1F0, 0xBFB4B2, 0xDEC7C1, 0x96746E, 0xE0D7D6, 0xFFFFFF, 0xC7B6B4, 0xA58D8C}},
};

// Group frame colours and item hot/normal text colours of the Office style.
constexpr TColor OfficeFrame[3][2] = {{0xC65D21, 0xFF8E42}, {0x2D6656, 0x1D9272}, {0x3D3D3F, 0x7C7C7E}};
constexpr TColor OfficeItemText[3][2] = {{0xFF8E42, 0xA53C00}, {0x1D9272, 0x1C674B}, {0x7C7C7E, 0x3D3D3F}};

int Scheme() {
    return XPColorScheme <= 2 ? XPColorScheme : 0;
}

bool Office(TScGradientColorStyle Style) {
    return Style == gcsMSOffice && ThemeServices()->ThemesEnabled();
}

bool Silver() {
    return Scheme() == 2;
}

// The element behind each theme colour index and the property read from it.
struct ThemeColorSource {
    TThemedElementDetails details;
    int property;
};
constexpr ThemeColorSource ThemeColorSources[7] = {
    {{teEdit, EP_EDITTEXT, ETS_NORMAL}, TMT_BORDERCOLOR},
    {{teExplorerBar, EBP_NORMALGROUPHEAD, 0}, TMT_TEXTCOLOR},
    {{teExplorerBar, EBP_SPECIALGROUPHEAD, 0}, TMT_TEXTCOLOR},
    {{teExplorerBar, EBP_NORMALGROUPHEAD, 0}, TMT_FILLCOLOR},
    {{teExplorerBar, EBP_NORMALGROUPBACKGROUND, 0}, TMT_GRADIENTCOLOR1},
    {{teExplorerBar, EBP_HEADERBACKGROUND, 0}, TMT_FILLCOLOR},
    {{teButton, BP_PUSHBUTTON, PBS_NORMAL}, TMT_TEXTCOLOR},
};

}  // namespace

void InitScCommon() {
    static int calls = 0;
    if (calls++ > 0) return;
    XPColorScheme = GetXPColorScheme();
    IsTrueColor = IsTrueColorDisplay();
}

std::uint8_t GetXPColorScheme() {
    auto registry = MakeOwned<TRegistry>(KEY_READ);
    if (!registry->OpenKeyReadOnly("\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager")) return 0;
    std::string name;
    try {
        name = UpperCase(registry->ReadString("ColorName"));
    } catch (const ERegistryException&) {
        return 0;  // a value of another type names no scheme
    }
    if (name == "HOMESTEAD") return 1;
    if (name == "METALLIC") return 2;
    return 0;
}

bool IsTrueColorDisplay() {
    TWindowDC screen;
    return GetDeviceCaps(screen.Get(), NUMCOLORS) == -1;
}

TColor XPSchemeColor(int Index) {
    return Index >= 0 && Index < 7 ? SchemeTable[Scheme()][Index] : clWhite;
}

TColor GetXPThemeColor(int Index) {
    if (Index < 0 || Index > 6) return clWhite;
    if (!ThemeServices()->ThemesEnabled()) return clBtnFace;
    const ThemeColorSource& source = ThemeColorSources[Index];
    TColor color;
    if (!ThemeServices()->GetThemeColor(source.details, source.property, color)) return clBtnFace;
    return color;
}

void GetGroupBarGradientColors(TScGradientColorStyle Style, TColor& Start, TColor& Stop) {
    if (Office(Style)) {
        Start = XPSchemeColor(5);
        Stop = XPSchemeColor(6);
    } else {
        Start = BlendColors(clBlack, clBtnFace, 40);
        Stop = BlendColors(clBlack, clBtnFace, 80);
    }
}

void GetItemGradientColors(TScGradientColorStyle Style, TColor& Start, TColor& Stop) {
    if (Office(Style)) {
        Start = XPSchemeColor(3);
        Stop = XPSchemeColor(4);
    } else {
        Start = clWindow;
        Stop = DarkerColor(clBtnFace, 10);
    }
}

void GetSelectionColors(TScGradientColorStyle Style, TColor& Frame, TColor& Fill1, TColor& Fill2) {
    if (Office(Style)) {
        Frame = XPSchemeColor(0);
        Fill1 = XPSchemeColor(1);
        Fill2 = XPSchemeColor(2);
    } else {
        const TColor blend = BlendColors(clHighlight, clWindow, 77);
        Frame = clHighlight;
        Fill1 = LighterColor(blend, 20);
        Fill2 = blend;
    }
    if (!IsTrueColor) Fill1 = Fill2;
}

void GetGroupFrameColors(TScGradientColorStyle Style, TColor& Color1, TColor& Color2) {
    if (Office(Style)) {
        Color1 = OfficeFrame[Scheme()][0];
        Color2 = OfficeFrame[Scheme()][1];
    } else if (Silver()) {
        Color1 = 0x3D3D3F;
        Color2 = 0x7C7C7E;
    } else {
        Color1 = DarkerColor(clHighlight, 30);
        Color2 = clHighlight;
    }
}

void GetItemColors(TScGradientColorStyle Style, TColor& GradientStart, TColor& GradientStop, TColor& HotStart,
                   TColor& HotStop, TColor& HotText, TColor& Text) {
    GetItemGradientColors(Style, GradientStart, GradientStop);
    HotStart = GradientStop;
    HotStop = GradientStart;
    if (Office(Style)) {
        HotText = OfficeItemText[Scheme()][0];
        Text = OfficeItemText[Scheme()][1];
    } else if (Silver()) {
        HotText = 0x555556;
        Text = clBlack;
    } else {
        HotText = clHighlight;
        Text = DarkerColor(clHighlight, 30);
    }
}

TScCaptionColors GetCaptionColors(TScGradientColorStyle Style, bool Special) {
    if (Office(Style)) return OfficeCaptions[Scheme()][Special ? 1 : 0];
    if (Special)
        return {clHighlight,
                clWhite,
                clBtnFace,
                clHighlight,
                LighterColor(clHighlight, 30),
                clHighlight,
                LighterColor(clHighlight, 30),
                clHighlightText,
                DarkerColor(clHighlight, 20),
                clHighlight};
    return {clBtnFace,
            clWhite,
            clBtnFace,
            clHighlight,
            DarkerColor(clBtnFace, 20),
            clWindow,
            Silver() ? TColor(0x555556) : clHighlight,
            Silver() ? clBlack : DarkerColor(clHighlight, 30),
            DarkerColor(clBtnFace, 10),
            clWindow};
}
