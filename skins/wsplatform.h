// The platform facts the wide-text helpers go by, and their two exception
// classes.
#pragma once

#include "classlib/core/exceptions.h"

VX_DECLARE_EXCEPTION(EWsGeneralError, Exception);
VX_DECLARE_EXCEPTION(EWsInternalError, Exception);

// From the operating system's version (replaceable in tests).
bool IsUnicodePlatform();    // the NT family
bool IsXPOrLater();          // 5.1 or later
bool IsServer2003OrLater();  // 5.2 or later
bool IsVistaOrLater();       // 6.0 or later

// The next character of a wide text (surrogate pairs stay whole).
const wchar_t* CharNextWide(const wchar_t* Text);
