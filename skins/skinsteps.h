// A skin's fill sequence as a table of steps (fill, text colour, copy,
// assign, reset) over a palette, and the routine that runs it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "skins/skinoptions.h"

// Short state names for the tables of steps.
namespace skin_states {
constexpr auto N = sknsNormal;
constexpr auto D = sknsDisabled;
constexpr auto H = sknsHotTrack;
constexpr auto U = sknsPushed;
constexpr auto C = sknsChecked;
constexpr auto CH = sknsCheckedAndHotTrack;
}  // namespace skin_states

// A colour in a step: a plain or system colour, clNone, or P(n), the n-th
// colour of the palette the steps run with.
constexpr TColor P(int Index) {
    return static_cast<TColor>(0x40000000 | Index);
}

enum TSbSkinStepKind : std::uint8_t {
    sskBody,            // Fill the Body entry
    sskBorders,         // Fill the Borders entry
    sskTextColor,       // TextColor := C1
    sskCopy,            // CopyOptions(From, Component)
    sskAssign,          // category (Component, State) := (From, FromState)
    sskResetBody,       // Body entry back to its reset state
    sskResetCategory,   // whole category back to its reset state
    sskZeroBordersType  // Borders SkinType := 0
};

struct TSbSkinStep {
    TSbSkinStepKind Kind;
    TSbSkinComponentsType Component;
    TSbSkinStatesType State = sknsNormal;
    int Type = 0;
    TColor C1 = clNone, C2 = clNone, C3 = clNone, C4 = clNone;
    TSbSkinComponentsType From = skncDock;
    TSbSkinStatesType FromState = sknsNormal;
};

constexpr TSbSkinStep Body(TSbSkinComponentsType C, TSbSkinStatesType S, int Type, TColor C1,
                           TColor C2 = clNone, TColor C3 = clNone, TColor C4 = clNone) {
    return {sskBody, C, S, Type, C1, C2, C3, C4};
}
constexpr TSbSkinStep Borders(TSbSkinComponentsType C, TSbSkinStatesType S, int Type, TColor C1,
                              TColor C2 = clNone, TColor C3 = clNone, TColor C4 = clNone) {
    return {sskBorders, C, S, Type, C1, C2, C3, C4};
}
constexpr TSbSkinStep Text(TSbSkinComponentsType C, TSbSkinStatesType S, TColor Color) {
    return {sskTextColor, C, S, 0, Color};
}
constexpr TSbSkinStep Copy(TSbSkinComponentsType From, TSbSkinComponentsType To) {
    return {sskCopy, To, sknsNormal, 0, clNone, clNone, clNone, clNone, From};
}
constexpr TSbSkinStep AssignState(TSbSkinComponentsType To, TSbSkinStatesType ToState,
                                  TSbSkinComponentsType From, TSbSkinStatesType FromState) {
    return {sskAssign, To, ToState, 0, clNone, clNone, clNone, clNone, From, FromState};
}
constexpr TSbSkinStep ResetBody(TSbSkinComponentsType C, TSbSkinStatesType S) {
    return {sskResetBody, C, S};
}
constexpr TSbSkinStep ResetCategory(TSbSkinComponentsType C, TSbSkinStatesType S) {
    return {sskResetCategory, C, S};
}
constexpr TSbSkinStep ZeroBordersType(TSbSkinComponentsType C, TSbSkinStatesType S) {
    return {sskZeroBordersType, C, S};
}

// Runs the steps in order on Skin; P(n) colours come from Palette.
void ApplySkinSteps(TSbSkinOptions* Skin, std::span<const TSbSkinStep> Steps,
                    std::span<const TColor> Palette);
