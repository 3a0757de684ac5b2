// The per-thread queue of deferred clicks: a click is posted to a hidden
// window of the thread and runs once the current message is done. Items and
// viewers that go away before their click arrives are forgotten.
#pragma once

#include "classlib/core/win32.h"

class TBarCustomItem;
class TBarItemViewer;

inline constexpr UINT WM_BAR_DEFERRED_CLICK = 0x500;

// Every live item and viewer counts as a user; the window exists while the
// thread has users and something was posted.
void BarClickQueueAddUser();
void BarClickQueueReleaseUser();

void PostClick(TBarCustomItem* Item);
// Flag (1..127) goes to the viewer's accessibility object with the click.
void PostClick(TBarItemViewer* Viewer, int Flag);
// Pending clicks of a dying item or viewer are dropped.
void CancelPostedClicks(const void* Target);

// The number of slots the thread's queue holds (tests).
int BarClickQueueSlots();
HWND BarClickQueueWindow();
