// Office XP (system colours and mixtures of them) and the five fixed-colour
// skins Athen, Dream, Eos, Leopard and Xito, which share one template of
// steps and add their own rows after it.
#include "skins/builtinskins.h"
#include "skins/skincolors.h"
#include "skins/skinpaint.h"
#include "skins/skinsteps.h"

namespace {

using namespace skin_states;

// ---- Office XP -------------------------------------------------------------

// Mixtures made from the system colours when the skin is made.
enum { xpPanel, xpBar, xpHot, xpChecked, xpPopup, xpHotChecked, xpColorCount };

constexpr TSbSkinStep kOfficeXP[] = {
    Body(skncDock, N, 0, clBtnFace),
    Body(skncDockablePanel, N, 0, P(xpPanel)),
    Borders(skncDockablePanel, N, 0, clBtnShadow, clBtnShadow),
    Body(skncDockablePanelTitleBar, N, 0, clBtnFace),
    Body(skncPanel, N, 0, P(xpPanel)),
    Borders(skncPanel, N, 0, clBtnShadow, clBtnShadow),
    Body(skncToolbar, N, 0, P(xpBar)),
    Borders(skncToolbar, N, 2, clBtnFace, clBtnFace),
    Copy(skncToolbar, skncMenuBar),
    Copy(skncDock, skncSplitter),
    Body(skncPopup, N, 0, P(xpPopup)),
    Borders(skncPopup, N, 0, clBtnShadow, clBtnShadow),
    Body(skncGutter, N, 0, P(xpBar)),
    Body(skncStatusBar, N, 0, clBtnFace),
    Body(skncWindow, N, 0, clBtnFace),
    Borders(skncWindow, N, 0, clBtnShadow, clBtnShadow, clBtnFace, clBtnFace),
    Body(skncWindowTitleBar, N, 0, clBtnShadow),
    Text(skncWindowTitleBar, N, clHighlightText),
    Body(skncToolbarGrip, N, 0, clWindow, clBtnShadow),
    Body(skncStatusBarGrip, N, 0, clWindow, clBtnShadow),
    Body(skncSeparator, N, 0, clBtnShadow, clWindow),
    Body(skncToolbarItem, H, 0, P(xpHot)),
    Borders(skncToolbarItem, H, 0, clHighlight, clHighlight),
    Body(skncToolbarItem, U, 0, clBtnFace),
    Borders(skncToolbarItem, U, 0, clBtnShadow, clBtnShadow),
    Body(skncToolbarItem, C, 0, P(xpChecked)),
    Borders(skncToolbarItem, C, 0, clHighlight, clHighlight),
    Body(skncToolbarItem, CH, 0, P(xpHotChecked)),
    Borders(skncToolbarItem, CH, 0, clHighlight, clHighlight),
    Body(skncOpenToolbarItem, N, 0, P(xpBar)),
    Borders(skncOpenToolbarItem, N, 0, clBtnShadow, clBtnShadow),
    Copy(skncToolbarItem, skncMenuBarItem),
    Copy(skncToolbarItem, skncMenuItem),
    Copy(skncToolbarItem, skncButton),
    Body(skncButton, N, 0, clBtnFace),
    Borders(skncButton, N, 0, clBtnShadow, clBtnShadow),
    Body(skncButton, D, 0, clBtnFace),
    Borders(skncButton, D, 0, clBtnShadow, clBtnShadow),
    Copy(skncToolbarItem, skncListItem),
    Copy(skncToolbarItem, skncCheckBox),
    Body(skncCheckBox, N, 0, clWindow),
    Borders(skncCheckBox, N, 0, clBtnShadow, clBtnShadow),
    Body(skncCheckBox, D, 0, clBtnFace),
    Borders(skncCheckBox, D, 0, clBtnShadow, clBtnShadow),
    Copy(skncCheckBox, skncRadioButton),
    Borders(skncEditFrame, N, 1, clNone, clNone, clBtnShadow, clBtnShadow),
    Borders(skncEditFrame, D, 1, clNone, clNone, clBtnShadow, clBtnShadow),
    Borders(skncEditFrame, H, 1, clNone, clNone, clHighlight, clHighlight),
    Copy(skncToolbarItem, skncEditButton),
    Text(skncEditButton, U, clHighlightText),
    AssignState(skncTab, H, skncButton, H),
    Body(skncTab, C, 0, clWindow),
    Borders(skncTab, C, 0, clBtnShadow, clBtnShadow),
    AssignState(skncTab, CH, skncButton, H),
    Body(skncTabBackground, N, 0, clBtnFace),
    Borders(skncTabBackground, N, 0, clBtnShadow, clBtnShadow),
    Body(skncProgressBar, N, 0, clWindow),
    Borders(skncProgressBar, N, 0, clBtnShadow, clBtnShadow),
    Body(skncProgressBar, H, 0, P(xpChecked)),
    Borders(skncProgressBar, H, 0, clHighlight, clHighlight),
    Copy(skncProgressBar, skncTrackBar),
    AssignState(skncTrackBarButton, N, skncToolbarItem, C),
    AssignState(skncTrackBarButton, U, skncToolbarItem, U),
    Body(skncHeader, N, 0, clBtnFace),
    Borders(skncHeader, N, 0, clWindow, clBtnShadow),
    Body(skncHeader, H, 0, P(xpHot)),
    Borders(skncHeader, H, 0, clHighlight, clHighlight),
};

// ---- The shared template ---------------------------------------------------

enum {
    tDock,
    tBar1,
    tBar2,
    tLight,
    tDark,
    tPopup,
    tPopupBorder,
    tHot1,
    tHot2,
    tHotBorder,
    tPushed1,
    tPushed2,
    tChecked1,
    tChecked2,
    tGripLight,
    tGripDark,
    tGutter,
    tWindow,
    tWindowBorder,
    tColorCount
};
using TTemplatePalette = std::array<TColor, tColorCount>;

constexpr TSbSkinStep kTemplate[] = {
    Body(skncDock, N, 0, P(tDock)),
    Copy(skncDock, skncSplitter),
    Body(skncToolbar, N, 1, P(tBar1), P(tBar2)),
    Borders(skncToolbar, N, 0, P(tLight), P(tDark)),
    Copy(skncToolbar, skncMenuBar),
    Copy(skncToolbar, skncTabToolbar),
    Body(skncStatusBar, N, 1, P(tBar1), P(tBar2)),
    Copy(skncStatusBar, skncDockablePanelTitleBar),
    Copy(skncStatusBar, skncWindowTitleBar),
    Body(skncDockablePanel, N, 0, P(tPopup)),
    Borders(skncDockablePanel, N, 0, P(tPopupBorder), P(tPopupBorder)),
    Copy(skncDockablePanel, skncPanel),
    Body(skncPopup, N, 0, P(tPopup)),
    Borders(skncPopup, N, 0, P(tPopupBorder), P(tPopupBorder)),
    Body(skncGutter, N, 0, P(tGutter)),
    Body(skncToolbarGrip, N, 0, P(tGripLight), P(tGripDark)),
    Body(skncStatusBarGrip, N, 0, P(tGripLight), P(tGripDark)),
    Body(skncSeparator, N, 0, P(tGripDark), P(tGripLight)),
    Body(skncWindow, N, 0, P(tWindow)),
    Borders(skncWindow, N, 0, P(tWindowBorder), P(tWindowBorder), P(tWindowBorder), P(tWindowBorder)),
    Body(skncToolbarItem, H, 1, P(tHot1), P(tHot2)),
    Borders(skncToolbarItem, H, 1, P(tHotBorder), P(tHotBorder)),
    Body(skncToolbarItem, U, 1, P(tPushed1), P(tPushed2)),
    Borders(skncToolbarItem, U, 1, P(tHotBorder), P(tHotBorder)),
    Body(skncToolbarItem, C, 1, P(tChecked1), P(tChecked2)),
    Borders(skncToolbarItem, C, 1, P(tHotBorder), P(tHotBorder)),
    Body(skncToolbarItem, CH, 1, P(tPushed1), P(tPushed2)),
    Borders(skncToolbarItem, CH, 1, P(tHotBorder), P(tHotBorder)),
    Copy(skncToolbarItem, skncMenuBarItem),
    Copy(skncToolbarItem, skncMenuItem),
    Copy(skncToolbarItem, skncButton),
    Copy(skncToolbarItem, skncListItem),
    Copy(skncToolbarItem, skncCheckBox),
    Copy(skncToolbarItem, skncEditButton),
    Body(skncButton, N, 1, P(tBar1), P(tBar2)),
    Borders(skncButton, N, 1, P(tDark), P(tDark)),
    Body(skncButton, D, 1, P(tBar1), P(tBar2)),
    Borders(skncButton, D, 1, P(tDark), P(tDark)),
    Body(skncCheckBox, N, 0, P(tPopup)),
    Borders(skncCheckBox, N, 1, P(tDark), P(tDark)),
    Body(skncCheckBox, D, 0, P(tPopup)),
    Borders(skncCheckBox, D, 1, P(tDark), P(tDark)),
    Copy(skncCheckBox, skncRadioButton),
    Borders(skncEditFrame, N, 1, clNone, clNone, P(tDark), P(tDark)),
    Borders(skncEditFrame, D, 1, clNone, clNone, P(tDark), P(tDark)),
    Borders(skncEditFrame, H, 1, clNone, clNone, P(tHotBorder), P(tHotBorder)),
    AssignState(skncTab, H, skncButton, H),
    Body(skncTab, C, 0, P(tPopup)),
    Borders(skncTab, C, 1, P(tDark), P(tDark)),
    AssignState(skncTab, CH, skncButton, H),
    Body(skncTabBackground, N, 0, P(tPopup)),
    Borders(skncTabBackground, N, 0, P(tDark), P(tDark)),
    Body(skncProgressBar, N, 0, P(tPopup)),
    Borders(skncProgressBar, N, 1, P(tDark), P(tDark)),
    Body(skncProgressBar, H, 1, P(tHot1), P(tHot2)),
    Borders(skncProgressBar, H, 1, P(tDark), P(tDark)),
    Copy(skncProgressBar, skncTrackBar),
    AssignState(skncTrackBarButton, N, skncToolbarItem, C),
    AssignState(skncTrackBarButton, U, skncToolbarItem, U),
    Body(skncHeader, N, 1, P(tBar1), P(tBar2)),
    Borders(skncHeader, N, 0, P(tLight), P(tDark)),
    Body(skncHeader, H, 1, P(tHot1), P(tHot2)),
    Borders(skncHeader, H, 0, P(tHotBorder), P(tHotBorder)),
};

// ---- Athen -----------------------------------------------------------------

constexpr TTemplatePalette kAthenPalette = {
    0xE0E0E0, 0xF8F8F8, 0xD8D8D8, 0xFFFFFF, 0xA0A0A0, 0xFFFFFF, 0xC0C0C0, 0xFFF8F0, 0xF0E870, 0xDAB370,
    0xE0B080, 0xF0E870, 0xFFFFB0, 0xF0E870, 0xFFFFFF, 0xA0A0A0, 0xF0F0F0, 0xF0F0F0, 0xA0A0A0};
constexpr TSbSkinStep kAthen[] = {
    Body(skncToolbar, N, 3, 0xF8F8F8, 0xD8D8D8, 0xF0F0F0, 0xF8F8F8),
    Body(skncStatusBar, N, 3, 0xF8F8F8, 0xD8D8D8, 0xF0F0F0, 0xF8F8F8),
    Body(skncWindowTitleBar, N, 3, 0xF8F8F8, 0xD8D8D8, 0xF0F0F0, 0xF8F8F8),
    Body(skncDockablePanelTitleBar, N, 3, 0xF8F8F8, 0xD8D8D8, 0xF0F0F0, 0xF8F8F8),
    Copy(skncToolbar, skncMenuBar),
    Body(skncToolbarItem, H, 3, 0xFFF8F0, 0xE0B080, 0xF0E870, 0xFFFFB0),
    Borders(skncToolbarItem, H, 1, 0xDAB370, 0xDAB370),
    Copy(skncToolbarItem, skncMenuBarItem),
    Body(skncDock, N, 0, 0xE0E0E0),
    Body(skncPopup, N, 0, 0xFFFFFF),
    Borders(skncPopup, N, 0, 0xC0C0C0, 0xC0C0C0),
};

// ---- Dream -----------------------------------------------------------------

constexpr TTemplatePalette kDreamPalette = {
    0xDDD9D2, 0xFFFFFF, 0xDDD9D2, 0xFFFFFF, 0xB0B0B0, 0xF9F9F9, 0x909090, 0xFFFFFF, 0xE5E2DB, 0x909090,
    0xE5E2DB, 0xCFCAC0, 0xF0EEE9, 0xE5E2DB, 0xFFFFFF, 0x909090, 0xEEECE7, 0xF9F9F9, 0x909090};
constexpr TSbSkinStep kDream[] = {
    Body(skncToolbar, N, 1, 0xFFFFFF, 0xDDD9D2),
    Borders(skncToolbar, N, 2, 0xFFFFFF, 0xB0B0B0),
    Copy(skncToolbar, skncMenuBar),
    Body(skncStatusBar, N, 1, 0xDDD9D2, 0xFFFFFF),
    Body(skncToolbarItem, H, 1, 0xFFFFFF, 0xE5E2DB),
    Borders(skncToolbarItem, H, 1, 0x909090, 0x909090),
    Body(skncPopup, N, 0, 0xF9F9F9),
};

// ---- Eos -------------------------------------------------------------------

constexpr TTemplatePalette kEosPalette = {
    0x809090, 0x708080, 0x708080, 0x8A9A9A, 0x4A5656, 0x708080, 0x4A5656, 0x5A6666, 0x5A6666, 0x68CAE6,
    0x68CAE6, 0x4FB0CC, 0x5A6666, 0x4A5656, 0x8A9A9A, 0x4A5656, 0x5A6666, 0x708080, 0x4A5656};
constexpr TSbSkinStep kEos[] = {
    Body(skncDock, N, 0, 0x809090),        Body(skncToolbar, N, 0, 0x708080),
    Copy(skncToolbar, skncMenuBar),        Body(skncStatusBar, N, 0, 0x708080),
    Body(skncPopup, N, 0, 0x708080),       Body(skncWindowTitleBar, N, 0, 0x5A6666),
    Text(skncWindowTitleBar, N, 0xEEEEEE), Text(skncToolbarItem, N, 0xEEEEEE),
    Text(skncToolbarItem, H, 0x68CAE6),    Text(skncToolbarItem, U, 0x000000),
    Text(skncToolbarItem, C, 0xEEEEEE),    Text(skncToolbarItem, CH, 0x000000),
    Text(skncToolbarItem, D, 0x99A8AC),    Copy(skncToolbarItem, skncMenuBarItem),
    Copy(skncToolbarItem, skncMenuItem),   Text(skncButton, N, 0xEEEEEE),
    Text(skncButton, H, 0x68CAE6),         Text(skncButton, D, 0x99A8AC),
    Text(skncStatusBar, N, 0xEEEEEE),
};

// ---- Leopard ---------------------------------------------------------------

constexpr TTemplatePalette kLeopardPalette = {
    0xCFCFCF, 0xE8E8E8, 0xCFCFCF, 0xF8F8F8, 0x8C8C8C, 0xF4F4F4, 0x999797, 0xF6E3D2, 0xE8C2A0, 0xB0926F,
    0x8F8F8F, 0x6F6F6F, 0x8F8F8F, 0x7A7A7A, 0xF8F8F8, 0x8C8C8C, 0xECECEC, 0xE8E8E8, 0x8C8C8C};
constexpr TSbSkinStep kLeopard[] = {
    Body(skncDock, N, 1, 0xCFCFCF, 0x999797),
    Body(skncStatusBar, N, 1, 0xC2C5C3, 0x999797),
    Body(skncWindowTitleBar, N, 1, 0xC2C5C3, 0x999797),
    Body(skncButton, N, 5, 0xFFFFFF, 0xF3F3F3, 0xE6E6E6, 0xF8F8F8),
    Body(skncButton, D, 5, 0xFFFFFF, 0xF3F3F3, 0xE6E6E6, 0xF8F8F8),
    Body(skncButton, H, 5, 0xFDF5EC, 0xF6E3D2, 0xE8C2A0, 0xF6E3D2),
    Body(skncButton, U, 5, 0xE8C2A0, 0xD9A676, 0xC98C55, 0xD9A676),
    AssignState(skncTab, H, skncButton, H),
    Body(skncTab, C, 5, 0xFFFFFF, 0xF3F3F3, 0xE6E6E6, 0xF8F8F8),
    AssignState(skncTab, CH, skncButton, H),
    Body(skncHeader, N, 5, 0xFFFFFF, 0xF3F3F3, 0xE6E6E6, 0xF8F8F8),
    Body(skncHeader, H, 5, 0xFDF5EC, 0xF6E3D2, 0xE8C2A0, 0xF6E3D2),
    Body(skncEditButton, N, 5, 0xFFFFFF, 0xF3F3F3, 0xE6E6E6, 0xF8F8F8),
    Body(skncEditButton, H, 5, 0xFDF5EC, 0xF6E3D2, 0xE8C2A0, 0xF6E3D2),
    Body(skncMenuItem, C, 5, 0xA0A0A0, 0x8F8F8F, 0x7A7A7A, 0x8F8F8F),
    Body(skncMenuItem, CH, 5, 0xE59A5F, 0xD87439, 0xC9622A, 0xD87439),
    Text(skncToolbarItem, U, 0xFFFFFF),
    Text(skncToolbarItem, C, 0xFFFFFF),
    Text(skncMenuBarItem, U, 0xFFFFFF),
    Text(skncMenuBarItem, C, 0xFFFFFF),
    Body(skncMenuItem, H, 0, 0xD87439),
    Text(skncMenuItem, H, 0xFFFFFF),
    Text(skncMenuItem, CH, 0xFFFFFF),
};

// ---- Xito ------------------------------------------------------------------

constexpr TTemplatePalette kXitoPalette = {
    0xF2F2F2, 0xFFFFFF, 0xEAEAEA, 0xFFFFFF, 0xA0A0A0, 0xFFFFFF, 0xA0A0A0, 0xE0E0E0, 0xE0E0E0, 0xA0A0A0,
    0xC8C8C8, 0xD4D4D4, 0xD8D8D8, 0xE4E4E4, 0xFFFFFF, 0xA0A0A0, 0xF2F2F2, 0xFFFFFF, 0xA0A0A0};
constexpr TSbSkinStep kXito[] = {
    Body(skncToolbar, N, 5, 0xFFFFFF, 0xF2F2F2, 0xEAEAEA, 0xEFEFEF),
    Copy(skncToolbar, skncMenuBar),
    Body(skncStatusBar, N, 5, 0xFFFFFF, 0xF2F2F2, 0xEAEAEA, 0xEFEFEF),
    Body(skncToolbarItem, H, 0, 0xE0E0E0),
    Borders(skncToolbarItem, H, 2, 0xA0A0A0, 0xA0A0A0),
    Copy(skncToolbarItem, skncMenuBarItem),
    Copy(skncToolbarItem, skncMenuItem),
    Copy(skncToolbarItem, skncEditButton),
    Body(skncWindowTitleBar, N, 1, 0xC0C0C0, 0xFFFFFF),
    ResetBody(skncCheckBox, N),
    ResetBody(skncCheckBox, D),
    ResetCategory(skncEditButton, N),
    ZeroBordersType(skncEditButton, D),
    ZeroBordersType(skncEditButton, H),
    ZeroBordersType(skncEditButton, U),
    ZeroBordersType(skncEditButton, C),
    ZeroBordersType(skncEditButton, CH),
};

void FillFromTemplate(TSbSkinOptions* skin, const char* name, const TTemplatePalette& palette,
                      std::span<const TSbSkinStep> own) {
    skin->SkinName = name;
    ApplySkinSteps(skin, kTemplate, palette);
    ApplySkinSteps(skin, own, palette);
}

}  // namespace

void TSbOfficeXPSkin::FillOptions() {
    SkinName = "Office XP";
    OfficeIcons = true;
    OfficeStatusBar = true;
    std::array<TColor, xpColorCount> mixtures{};
    mixtures[xpPanel] = BlendColors(clBtnFace, clWindow, 143);
    mixtures[xpBar] = BlendColors(clWindow, clBtnFace, 165);
    mixtures[xpHot] = LightenColor(BlendColors(clHighlight, clWindow, 30), -15);
    mixtures[xpChecked] = BlendColors(clHighlight, BlendColors(clBtnFace, clWindow, 50), 10);
    mixtures[xpPopup] = BlendColors(clWindow, clBtnFace, 143);
    mixtures[xpHotChecked] = LightenColor(mixtures[xpHot], -15);
    ApplySkinSteps(this, kOfficeXP, mixtures);
}

void TSbAthenSkin::FillOptions() {
    FillFromTemplate(this, "Athen", kAthenPalette, kAthen);
}

void TSbDreamSkin::FillOptions() {
    FillFromTemplate(this, "Dream", kDreamPalette, kDream);
}

void TSbEosSkin::FillOptions() {
    FillFromTemplate(this, "Eos", kEosPalette, kEos);
}

void TSbLeopardSkin::FillOptions() {
    FillFromTemplate(this, "Leopard", kLeopardPalette, kLeopard);
}

void TSbXitoSkin::FillOptions() {
    FillFromTemplate(this, "Xito", kXitoPalette, kXito);
}

void TSbLeopardSkin::PaintBackground(TCanvas* Canvas, const TRect& R, TSbSkinComponentsType Component,
                                     TSbSkinStatesType State, bool DrawBody, bool DrawBorders,
                                     bool VerticalBar, int CornerFlags) {
    inherited::PaintBackground(Canvas, R, Component, State, DrawBody, DrawBorders, VerticalBar, CornerFlags);
    if (Component != skncTabBackground) return;
    DrawLineSkin(Canvas, R.Left, R.Top, R.Right, R.Top, 0xDB9D79);
    DrawLineSkin(Canvas, R.Left, R.Top + 1, R.Right, R.Top + 1, 0xFAEEAF);
}
