// Message-queue routines of the framework's modal loops: paint what is
// waiting before a drag starts, and drop queued messages without losing a
// quit request.
#pragma once

#include "classlib/core/win32.h"

// Dispatches the waiting WM_PAINT messages. A window that does not validate
// itself keeps its WM_PAINT pending, so each window is painted once per call
// and the call ends after at most MaxPaintMessages dispatches.
void ProcessPaintMessages();
inline constexpr int MaxPaintMessages = 256;

// Removes the waiting messages in [First, Last]; a removed WM_QUIT is posted
// again with its exit code and ends the removal.
void RemoveMessages(UINT First, UINT Last);
