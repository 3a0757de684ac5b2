// The engine's constant text tables: driver status texts by bDriverError and
// attribute names by ID, with the lookups that use them.
#pragma once

#include <string>

extern const char* const DriverErrorTexts[11];
extern const char* const SmartAttrNamesLow[14];   // IDs 0-13
extern const char* const SmartAttrNamesHigh[18];  // IDs 192-209

// The name of a filled attribute entry: "Unknown" outside 1-12 and 192-209.
std::string AttributeName(int id);
// DriverErrorTexts[status], or "Unknown driver status N" past the table's end.
std::string DriverStatusText(int status);
