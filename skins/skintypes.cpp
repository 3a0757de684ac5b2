#include "skins/skintypes.h"

namespace {

constexpr const char* kComponentNames[SkinComponentCount] = {
    "Dock",          "DockablePanel", "DockablePanelTitleBar",
    "Gutter",        "MenuBar",       "OpenToolbarItem",
    "Panel",         "Popup",         "Separator",
    "Splitter",      "StatusBar",     "StatusBarGrip",
    "TabBackground", "TabToolbar",    "Toolbar",
    "ToolbarGrip",   "Window",        "WindowTitleBar",
    "MenuBarItem",   "MenuItem",      "ToolbarItem",
    "Button",        "CheckBox",      "EditButton",
    "EditFrame",     "Header",        "Label",
    "ListItem",      "ProgressBar",   "RadioButton",
    "Tab",           "TrackBar",      "TrackBarButton"};

constexpr const char* kStateNames[SkinStateCount] = {"Normal", "Disabled", "HotTrack",
                                                     "Pushed", "Checked",  "CheckedAndHotTrack"};

}  // namespace

const char* SkinComponentName(TSbSkinComponentsType Component) {
    return kComponentNames[Component];
}

const char* SkinStateName(TSbSkinStatesType State) {
    return kStateNames[State];
}
