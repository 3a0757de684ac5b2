// Office 2003: a 20-colour set chosen by the Luna colour scheme in force when
// the skin is made.
#include "skins/builtinskins.h"
#include "skins/skincolors.h"
#include "skins/skinmanager.h"
#include "skins/skinsteps.h"

namespace {

using namespace skin_states;
// P11 lightened by 15 per channel.
constexpr TColor kLightP11 = P(20);

constexpr TSbSkinStep kOffice2003[] = {
    Body(skncDock, N, 0, P(0)),
    Body(skncDockablePanel, N, 0, P(5)),
    Borders(skncDockablePanel, N, 0, P(2), P(2)),
    Body(skncDockablePanelTitleBar, N, 1, P(1), P(2)),
    Borders(skncDockablePanelTitleBar, N, 0, P(5), P(5)),
    Body(skncPanel, N, 0, P(5)),
    Borders(skncPanel, N, 2, P(2), P(2)),
    Body(skncPopup, N, 0, P(5)),
    Borders(skncPopup, N, 0, P(6), P(6)),
    Body(skncStatusBar, N, 1, P(1), P(2)),
    Body(skncSplitter, N, 1, P(1), P(2)),
    Body(skncToolbar, N, 1, P(1), P(2)),
    Borders(skncToolbar, N, 2, P(4), P(3)),
    Body(skncWindow, N, 0, P(5)),
    Borders(skncWindow, N, 0, P(8), P(8), P(8), P(8)),
    Body(skncWindowTitleBar, N, 0, P(8)),
    Body(skncGutter, N, 2, P(1), P(2)),
    Body(skncToolbarGrip, N, 0, P(3), P(4)),
    Body(skncStatusBarGrip, N, 0, P(3), P(4)),
    Body(skncSeparator, N, 0, P(3), P(4)),
    Body(skncToolbarItem, H, 1, P(13), P(14)),
    Borders(skncToolbarItem, H, 0, P(7), P(7)),
    Body(skncToolbarItem, U, 1, P(11), P(12)),
    Borders(skncToolbarItem, U, 0, P(7), P(7)),
    Body(skncToolbarItem, C, 1, P(9), P(10)),
    Borders(skncToolbarItem, C, 0, P(7), P(7)),
    Body(skncToolbarItem, CH, 1, P(11), P(12)),
    Borders(skncToolbarItem, CH, 0, P(7), P(7)),
    Body(skncOpenToolbarItem, N, 1, P(15), P(16)),
    Borders(skncOpenToolbarItem, N, 0, P(6), P(6)),
    Copy(skncToolbarItem, skncMenuBarItem),
    Copy(skncToolbarItem, skncMenuItem),
    Body(skncButton, N, 1, P(1), P(2)),
    Borders(skncButton, N, 1, P(17), P(17), P(18), P(19)),
    Body(skncButton, D, 1, P(1), P(2)),
    Borders(skncButton, D, 1, P(17), P(17), P(18), P(19)),
    Body(skncButton, H, 1, P(13), P(14)),
    Borders(skncButton, H, 1, P(17), P(17), P(18), P(19)),
    Body(skncButton, U, 1, P(11), P(12)),
    Borders(skncButton, U, 1, P(17), P(17), P(18), P(19)),
    Body(skncButton, C, 1, P(9), P(10)),
    Borders(skncButton, C, 1, P(17), P(17), P(18), P(19)),
    Body(skncButton, CH, 1, kLightP11, P(12)),
    Borders(skncButton, CH, 1, P(17), P(17), P(18), P(19)),
    Copy(skncToolbarItem, skncListItem),
    Copy(skncToolbarItem, skncCheckBox),
    Borders(skncCheckBox, N, 0, P(2), P(2)),
    Borders(skncCheckBox, D, 0, P(2), P(2)),
    Copy(skncCheckBox, skncRadioButton),
    Borders(skncEditFrame, N, 1, clNone, clNone, P(2), P(2)),
    Borders(skncEditFrame, D, 1, clNone, clNone, clBtnShadow, clBtnShadow),
    Borders(skncEditFrame, H, 1, clNone, clNone, P(7), P(7)),
    Copy(skncToolbarItem, skncEditButton),
    Body(skncEditButton, N, 1, P(1), P(2)),
    Borders(skncEditButton, N, 0, clWindow, clWindow),
    Body(skncTab, H, 1, P(13), P(14)),
    Borders(skncTab, H, 0, P(2), P(2)),
    Body(skncTab, C, 0, P(5)),
    Borders(skncTab, C, 0, P(2), P(2)),
    Body(skncTab, CH, 1, P(13), P(14)),
    Borders(skncTab, CH, 0, P(2), P(2)),
    Body(skncTabBackground, N, 0, P(5)),
    Borders(skncTabBackground, N, 0, P(2), P(2)),
    Body(skncProgressBar, N, 0, P(5), 0xFFFFFF),
    Borders(skncProgressBar, N, 0, P(2), P(2)),
    Body(skncProgressBar, H, 0, P(0)),
    Borders(skncProgressBar, H, 0, P(2), P(2)),
    Copy(skncProgressBar, skncTrackBar),
    Body(skncTrackBarButton, N, 0, P(0)),
    Borders(skncTrackBarButton, N, 0, P(2), P(2)),
    Body(skncTrackBarButton, U, 1, P(11), P(12)),
    Borders(skncTrackBarButton, U, 0, P(2), P(2)),
    Body(skncHeader, N, 1, P(1), P(2)),
    Borders(skncHeader, N, 0, P(18), P(19)),
    Body(skncHeader, H, 1, P(13), P(14)),
    Borders(skncHeader, H, 0, P(18), P(19)),
};

constexpr TColor kSets[3][20] = {
    {0xF5BE9E, 0xFEECDD, 0xE2A981, 0xCB8C6A, 0xFFF9F1, 0xF6F6F6, 0x962D00, 0x800000, 0xC9662A, 0x8CD5FF,
     0x55ADFF, 0x4E91FE, 0x8ED3FF, 0xCCF4FF, 0x91D0FF, 0xFFEFE3, 0xE7B593, 0x91420D, 0xFBD0B3, 0xCB8C6A},
    {0xE5D7D7, 0xFAF4F3, 0xB59799, 0x8F6D6E, 0xFFFFFF, 0xFFFAFD, 0x947C7C, 0x6F4B4B, 0x99797A, 0x8CD5FF,
     0x55ADFF, 0x4E91FE, 0x8ED3FF, 0xCCF4FF, 0x91D0FF, 0xF1E9E8, 0xCDB9BA, 0x988B8A, 0xFFFFFF, 0xB0A7A6},
    {0xA7D9D9, 0xDEF7F4, 0x91C6B7, 0x588060, 0xDEF7F4, 0xEEF4F4, 0x5E8D75, 0x385D3F, 0x5E8674, 0x8CD5FF,
     0x55ADFF, 0x4E91FE, 0x8ED3FF, 0xCCF4FF, 0x91D0FF, 0xD5F0EC, 0x9FCEC2, 0x5B8479, 0xE3FFFA, 0x86ADAA},
};

}  // namespace

std::array<TColor, TSbOffice2003Skin::ColorCount> TSbOffice2003Skin::ColorSet(int Scheme) {
    if (Scheme < 0 || Scheme > 2) Scheme = 0;
    std::array<TColor, ColorCount> colors{};
    for (int i = 0; i < 20; ++i) colors[i] = kSets[Scheme][i];
    colors[20] = LightenColor(colors[11], 15);
    return colors;
}

void TSbOffice2003Skin::FillColors() {
    Colors = ColorSet(GetLunaColorScheme());
}

void TSbOffice2003Skin::FillOptions() {
    SkinName = "Office 2003";
    OfficeIcons = true;
    FillColors();
    ApplySkinSteps(this, kOffice2003, Colors);
}
