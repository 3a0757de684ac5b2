// The Office 2007 family: one fill sequence over an 18-colour palette, in
// blue, black and silver.
#include "skins/builtinskins.h"
#include "skins/skinsteps.h"

namespace {

using namespace skin_states;

constexpr TSbSkinStep kOffice2007[] = {
    Body(skncDock, N, 7, P(0), P(1), P(2), P(3)),
    Body(skncDockablePanel, N, 1, P(13), P(14)),
    Borders(skncDockablePanel, N, 0, P(11), P(11), P(12), P(12)),
    Body(skncPanel, N, 1, P(13), P(14)),
    Borders(skncPanel, N, 1, P(11), P(11), P(12), P(12)),
    Body(skncPopup, N, 0, 0xFFFFFF),
    Borders(skncPopup, N, 0, 0xC0C0C0, 0xC0C0C0),
    Body(skncStatusBar, N, 7, P(7), P(8), P(9), P(10)),
    Text(skncStatusBar, N, P(6)),
    Copy(skncStatusBar, skncDockablePanelTitleBar),
    Copy(skncDock, skncSplitter),
    Body(skncWindow, N, 1, P(13), P(14)),
    Borders(skncWindow, N, 0, P(15), P(16), P(17), P(16)),
    Copy(skncStatusBar, skncWindowTitleBar),
    Body(skncGutter, N, 0, 0xEFEFEF),
    Body(skncToolbarGrip, N, 0, P(4), P(5)),
    Body(skncStatusBarGrip, N, 0, P(4), P(5)),
    Body(skncSeparator, N, 0, P(4), P(5)),
    Body(skncToolbarItem, H, 7, 0xDBFDFF, 0x95E7FF, 0x4CD7FF, 0x96E7FF),
    Borders(skncToolbarItem, H, 1, 0x7E99A9, 0x7E99A9, 0xD2FBFF, 0xD2FBFF),
    Body(skncToolbarItem, U, 7, 0x70BAFC, 0x59A5F3, 0x388FEF, 0x64CDFD),
    Borders(skncToolbarItem, U, 1, 0x65818E, 0xAEBDC3, 0x34CFFF, 0x34CFFF),
    Body(skncToolbarItem, C, 7, 0xA8D6FE, 0x61AFFC, 0x329BFB, 0xACF0FF),
    Borders(skncToolbarItem, C, 1, 0x65818E, 0xAEBDC3, 0x34CFFF, 0x34CFFF),
    Body(skncToolbarItem, CH, 7, 0x70BAFC, 0x59A5F3, 0x388FEF, 0x64CDFD),
    Borders(skncToolbarItem, CH, 1, 0x65818E, 0xAEBDC3, 0x34CFFF, 0x34CFFF),
    Copy(skncToolbarItem, skncMenuBarItem),
    Copy(skncToolbarItem, skncMenuItem),
    Copy(skncToolbarItem, skncButton),
    Body(skncButton, N, 1, P(13), P(14)),
    Borders(skncButton, N, 1, P(11), P(11), P(12), P(12)),
    Body(skncButton, D, 1, P(13), P(14)),
    Borders(skncButton, D, 1, P(11), P(11), P(12), P(12)),
    Copy(skncToolbarItem, skncListItem),
    Copy(skncToolbarItem, skncCheckBox),
    Borders(skncCheckBox, N, 1, P(2), P(2)),
    Borders(skncCheckBox, D, 1, P(2), P(2)),
    Copy(skncCheckBox, skncRadioButton),
    Borders(skncEditFrame, N, 1, clNone, clNone, P(4), P(4)),
    Borders(skncEditFrame, D, 1, clNone, clNone, P(4), P(4)),
    Borders(skncEditFrame, H, 1, clNone, clNone, P(4), P(4)),
    Copy(skncToolbarItem, skncEditButton),
    AssignState(skncTab, H, skncButton, H),
    Body(skncTab, C, 0, P(13)),
    Borders(skncTab, C, 1, P(11), P(11), P(12), P(12)),
    AssignState(skncTab, CH, skncButton, H),
    AssignState(skncTabBackground, N, skncButton, N),
    Body(skncProgressBar, N, 0, P(5), 0xFFFFFF),
    Borders(skncProgressBar, N, 1, P(2), P(2)),
    Body(skncProgressBar, H, 7, 0xDBFDFF, 0x95E7FF, 0x4CD7FF, 0x96E7FF),
    Borders(skncProgressBar, H, 1, P(2), P(2)),
    Copy(skncProgressBar, skncTrackBar),
    AssignState(skncTrackBarButton, N, skncToolbarItem, C),
    AssignState(skncTrackBarButton, U, skncToolbarItem, U),
    Body(skncHeader, N, 1, P(13), P(14)),
    Borders(skncHeader, N, 0, P(11), P(12)),
    Body(skncHeader, H, 7, 0xDBFDFF, 0x95E7FF, 0x4CD7FF, 0x96E7FF),
    Borders(skncHeader, H, 0, 0x7E99A9, 0x7E99A9, 0xD2FBFF, 0xD2FBFF),
};

using TPalette = std::array<TColor, TSbOffice2007Skin::ColorCount>;

constexpr TPalette kBlue = {0xF4E6DB, 0xF0DECF, 0xEDD9C9, 0xFFF2E7, 0xD6AE90, 0xFFFFFF,
                            clNone,   0xF9E6D7, 0xF7D7BF, 0xF5D0B4, 0xF7E5D6, 0xEDC4A5,
                            0xFEF6ED, 0xFEF9F6, 0xFBE7D9, 0x825A3B, 0xE1C6B1, 0xF7D9C2};
constexpr TPalette kBlack = {0xDDD8D5, 0xCFC6C1, 0xC5BBB4, 0xEAEAEA, 0x989898, 0xCCCCCC,
                             0xFFFFFF, 0x524743, 0x463E3B, 0x30302F, 0x454545, 0xB4B0AE,
                             0xDBD4D0, 0xE5E0DD, 0xCFC6C1, 0x2F2F2F, 0x4D4D4D, 0x666666};
constexpr TPalette kSilver = {0xDDD8D5, 0xCFC6C1, 0xC5BBB4, 0xEAEAEA, 0xAAA6A2, 0xFFFFFF,
                              clNone,   0xEBE8E7, 0xC2B7B1, 0xB6AFA9, 0xCEC9C7, 0xB4B0AE,
                              0xDBD4D0, 0xE5E0DD, 0xCFC6C1, 0x989898, 0xBABABB, 0xDEDDDE};

}  // namespace

void TSbOffice2007Skin::FillOptions() {
    SkinName = "Office 2007";
    FillColors();
    ApplySkinSteps(this, kOffice2007, Colors);
}

void TSbOffice2007BlueSkin::FillColors() {
    Colors = kBlue;
    SkinName = "Office 2007 Blue";
}

void TSbOffice2007BlackSkin::FillColors() {
    Colors = kBlack;
    SkinName = "Office 2007 Black";
}

void TSbOffice2007SilverSkin::FillColors() {
    Colors = kSilver;
    SkinName = "Office 2007 Silver";
}
