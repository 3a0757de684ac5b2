// Dates in mail headers: the RFC 822 text with English day and month names
// and the local zone's offset from UTC, read from the platform's time-zone
// information (replaceable, so tests can pick any zone).
#pragma once

#include <string>

#include "classlib/core/datetime.h"
#include "classlib/core/win32.h"

// Offset of local time from UTC in days (positive east of Greenwich).
double GetTimeZoneBias();
// "Sun, 06 Dec 2026 11:09:31 +0800", or "... GMT" for a zero offset.
std::string DateToRFC822(TDateTime DateTime);

// What GetTimeZoneBias asks; the default is GetTimeZoneInformation.
using TTimeZoneQuery = DWORD (*)(TIME_ZONE_INFORMATION* Info);
// Returns the query that was in force; null brings back the system's.
TTimeZoneQuery SetTimeZoneQuery(TTimeZoneQuery Query);
