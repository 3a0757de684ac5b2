// The program block: registers the forms' resources, picks the drives,
// creates the main window, the e-mail dialog and the log window in that
// order, and runs the message loop.
#pragma once

#include <string>

// The builders of TMainForm, TSmtp and TFormLog (unit initialisation).
void RegisterProgramForms();
// TMainForm (the main window), TSmtp and TFormLog, owned by the application.
void CreateProgramForms();
// Frees them again, the main window last, taking its tray icons away.
void FreeProgramForms();

// Shows why the program cannot start: on the standard error when the
// program has one (started from a console or a script), else in a message
// box titled "Vexmora". The box shows a file's name as it is; the standard
// error gets 8-bit text in the system code page.
void ReportStartError(const std::wstring& Text);

// The whole program; returns its exit code (2 when the drives chosen cannot
// be used).
int ProgramBlock();
