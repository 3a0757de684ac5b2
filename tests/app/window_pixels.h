// The main window's own pixels read through a DC of the window, with the
// live parts (the drive list, the chart) left out, and the real mouse moved
// and pressed through SendInput, for tests that touch the window as a user.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/core/win32.h"
#include "classlib/windows/controls.h"

struct TWindowPixels {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Pixels;

    // Pixels that differ from Other; every pixel when the sizes differ.
    int DifferentFrom(const TWindowPixels& Other) const;
    // Where the first difference lies, for a failure message.
    std::string FirstDifference(const TWindowPixels& Other) const;
};

// The window's pixels, each control of Live blanked out.
TWindowPixels ReadWindowPixels(HWND Window, const std::vector<TControl*>& Live = {});

// The real mouse: moved to a screen point, pressed and released there.
void MouseTo(TPoint Screen);
void MouseButton(bool Down);

// The centre of a control's client rectangle part, in screen coordinates.
TPoint ScreenCentre(TWinControl* Control, const TRect& Part);
