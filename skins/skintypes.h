// The skin vocabulary: the three skin types, the six item states and the 33
// skin components with their text names, and which components keep one look
// per state.
#pragma once

#include <cstdint>

enum TSbSkinType { sknNone, sknWindows, sknSkin };

enum TSbSkinStatesType {
    sknsNormal,
    sknsDisabled,
    sknsHotTrack,
    sknsPushed,
    sknsChecked,
    sknsCheckedAndHotTrack
};
constexpr int SkinStateCount = 6;

enum TSbSkinComponentsType {
    skncDock,
    skncDockablePanel,
    skncDockablePanelTitleBar,
    skncGutter,
    skncMenuBar,
    skncOpenToolbarItem,
    skncPanel,
    skncPopup,
    skncSeparator,
    skncSplitter,
    skncStatusBar,
    skncStatusBarGrip,
    skncTabBackground,
    skncTabToolbar,
    skncToolbar,
    skncToolbarGrip,
    skncWindow,
    skncWindowTitleBar,
    skncMenuBarItem,
    skncMenuItem,
    skncToolbarItem,
    skncButton,
    skncCheckBox,
    skncEditButton,
    skncEditFrame,
    skncHeader,
    skncLabel,
    skncListItem,
    skncProgressBar,
    skncRadioButton,
    skncTab,
    skncTrackBar,
    skncTrackBarButton
};
constexpr int SkinComponentCount = 33;

// Section names of the skin text; also the components' display names.
const char* SkinComponentName(TSbSkinComponentsType Component);
// Key prefixes of the skin text.
const char* SkinStateName(TSbSkinStatesType State);

// Components 18-32 keep one look per state; the rest have only the Normal
// look, which every state maps to.
constexpr std::uint64_t SkinPerStateComponents =
    ((std::uint64_t{1} << SkinComponentCount) - 1) & ~((std::uint64_t{1} << skncMenuBarItem) - 1);

constexpr bool HasPerStateCategories(TSbSkinComponentsType Component) {
    return (SkinPerStateComponents >> Component) & 1;
}
