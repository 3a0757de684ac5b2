// The program's own icon (resource "MAINICON"), at the size the task bar
// and the notification area show.
#pragma once

class TIcon;

// The small icon (SM_CXSMICON); the system's application icon when the
// program file carries none.
void LoadProgramIcon(TIcon* Icon);
