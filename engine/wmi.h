// The drive model by WMI: `GetDriveModelWmi`, the query routine under it
// (`WmiQueryProperty`, through native COM, or answered by a simulated drive
// set) and the text of one WMI property value by its CIM type.
#pragma once

#include <string>

#include "classlib/core/win32.h"

#include <wbemcli.h>

// Empty when there is no such drive or WMI fails.
void GetDriveModelWmi(int driveNum, std::string& model);

// The WQL query the model comes from.
std::wstring DriveModelQuery(int driveNum);

// Runs one WQL query: the number of objects found (Value set only when it is
// exactly 1), or -1 on any failure. COM is initialised for the call when the
// thread has not done so.
int WmiQueryProperty(const std::wstring& query, const std::wstring& propName, std::string& value);

// The text of one property value of the given CIM type.
void WmiValueToText(const VARIANT& value, CIMTYPE cimType, std::string& text);
