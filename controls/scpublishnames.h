// The identifiers the styled controls publish their enumerations and sets
// with, shared so that a setting copied by name between two components
// means the same on both sides.
#pragma once

#define SC_FRAME_STYLE_NAMES                                                                             \
    {                                                                                                    \
        "fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown", "fsRaised", "fsButtonUp", \
            "fsStatus", "fsPopup", "fsFlatBold", "fsFlatRounded"                                         \
    }
#define SC_SIDE_NAMES \
    { "sdLeft", "sdTop", "sdRight", "sdBottom" }
#define SC_TEXT_STYLE_NAMES \
    { "tsNormal", "tsRaised", "tsRecessed", "tsShadow" }
#define SC_FRAMING_PREFERENCE_NAMES \
    { "fpCustomFraming", "fpXPThemes" }
#define SC_FRAME_CONTROLLER_PROPERTY_NAMES                                                                 \
    {                                                                                                      \
        "fcpColor", "fcpFocusColor", "fcpDisabledColor", "fcpReadOnlyColor", "fcpReadOnlyColorOnFocus",    \
            "fcpParentColor", "fcpFlatButtonColor", "fcpFlatButtons", "fcpFrameColor", "fcpFrameHotColor", \
            "fcpFrameHotTrack", "fcpFrameHotStyle", "fcpFrameSides", "fcpFrameStyle", "fcpFrameVisible",   \
            "fcpFramingPreference"                                                                         \
    }
