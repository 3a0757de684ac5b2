// The main-window shortcut hook: one hook on the application window, shared
// by every toolbar that wants it, hands unhandled shortcut keys and keyboard
// menu requests of the active form to that form's toolbars.
#pragma once

#include "classlib/windows/messages.h"

class TBarCustomToolbar;

void InstallMainWindowHook(TBarCustomToolbar* Toolbar);
void UninstallMainWindowHook(TBarCustomToolbar* Toolbar);
// The hook itself (true: handled).
bool BarMainWindowHook(TMessage& Message);
// How many toolbars share the hook (tests).
int MainWindowHookUsers();
