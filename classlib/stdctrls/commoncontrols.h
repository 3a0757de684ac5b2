// Set-up shared by the standard controls: registering the common-control
// window classes once per process, and measuring a font's line height on the
// screen without making a control's window for it.
#pragma once

#include "classlib/graphics/graphics.h"

// InitCommonControlsEx for the given ICC_* classes (each class only once).
void InitCommonControlClasses(DWORD Classes);
// The cell height (tmHeight) of Font on the screen, measured once per font.
int ScreenTextHeight(TFont* Font);
