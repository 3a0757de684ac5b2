// The vocabulary the styled controls share: frame styles, sides, text
// styles, alignment and the visual and gradient colour styles.
#pragma once

#include "classlib/core/set.h"

enum TFrameStyleEx {
    fsNone,
    fsFlat,
    fsGroove,
    fsBump,
    fsLowered,
    fsButtonDown,
    fsRaised,
    fsButtonUp,
    fsStatus,
    fsPopup,
    fsFlatBold,
    fsFlatRounded
};
// The frame controller's name for the same list.
using TFrameStyle = TFrameStyleEx;

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
// Stored as a byte: bits 1, 2, 4, 8 for left, top, right, bottom.
using TSides = TSet<TSide>;
inline constexpr TSides AllSides{sdLeft, sdTop, sdRight, sdBottom};

enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum TAlignmentVertical { avTop, avCenter, avBottom };
enum TFramingPreference { fpCustomFraming, fpXPThemes };
enum TScHotTrackColorType { htctComplement, htctActual };
enum TScGradientColorStyle { gcsSystem, gcsMSOffice, gcsCustom };
enum TScVisualStyle { vsClassic, vsWinXP, vsGradient };
enum TScGroupBarGradientPath { gpTopToBottom, gpBottomToTop };
enum TScScrollStyle { scsNone, scsLeft, scsUp, scsRight, scsDown };
