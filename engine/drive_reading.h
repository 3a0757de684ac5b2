// Reading one physical drive through the S.M.A.R.T. pass-through I/O
// controls: `ReadDriveIdentity` (IDENTIFY only) and `ReadDriveSmart` (the
// full read into a TSmartResult). No state is kept between calls, so any
// thread may call them, also for the same drive at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "engine/smart_result.h"

class TDriveAccess;

// The stack reserve of a thread that only reads drives: one may be held by
// each drive that does not answer. A read, failures and their exceptions
// included, stays well within a quarter of it.
constexpr std::size_t DriveReaderStackReserve = 256 * 1024;

// Clears `result` and fills it; false with the reason in `errMsg` when the
// last command failed. Exceptions end as "SMART Failed - " + their text.
bool ReadDriveSmart(int driveNum, TSmartResult& result, std::string& errMsg);
// The same through the given access rather than the one in force.
bool ReadDriveSmart(TDriveAccess& access, int driveNum, TSmartResult& result, std::string& errMsg);

// Model and serial number (swapped and trimmed) and the IDENTIFY size of the
// first device that answers IDENTIFY.
bool ReadDriveIdentity(int driveNum, std::string& errMsg, std::string& model, std::string& serial,
                       int64_t& size);

// The message of an exception, trimmed; "" for anything that is not one.
std::string ExceptionText(std::exception_ptr error);
