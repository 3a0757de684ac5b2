// Drive-set files, the text users write to describe simulated drives (see
// docs/drive-set.md; UTF-8 or UTF-16, any line ends), read into a TDriveSet.
// A problem raises EDriveSetError naming the file, the line and what is
// wrong; nothing half-read is returned.
#pragma once

#include <string>
#include <string_view>

#include "classlib/core/exceptions.h"
#include "platform/drive_set.h"

VX_DECLARE_EXCEPTION(EDriveSetError, Exception);

// `fileName` only names the text in messages.
TDriveSet ParseDriveSet(std::string_view text, const std::string& fileName);
// The wide name opens a file in any folder Windows allows; the 8-bit one is
// a name in the system code page.
TDriveSet LoadDriveSet(const std::wstring& fileName);
TDriveSet LoadDriveSet(const std::string& fileName);
