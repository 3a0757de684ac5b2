// The GUI thread's dispatcher: work handed over by other threads (TThread's
// Synchronize and Queue, or plain std::thread workers) runs on the GUI
// thread, in the order it was handed over, through one hidden window and a
// locked queue.
#pragma once

#include <functional>

#include "classlib/core/win32.h"

// Runs Work on the GUI thread and waits until it has run; an exception it
// raises is raised again here. On the GUI thread itself Work runs at once.
void RunOnGuiThread(std::function<void()> Work);
// Hands Work to the GUI thread and returns; an exception it raises goes to
// Application->HandleException. On the GUI thread too, it runs later.
void QueueOnGuiThread(std::function<void()> Work);
// Runs the work that is waiting (the GUI thread's loops call it); true when
// something ran.
bool CheckSynchronize();
bool IsGuiThread();
// Makes the calling thread the GUI thread. The program's start-up calls it
// first, before any other thread exists; until then the first thread that
// needs the dispatcher is taken for it.
void RecordGuiThread();
// Makes the dispatcher's window; called on the GUI thread once it starts
// handling messages (the application does).
void GuiDispatcherReady();
// Signalled while work waits, for GUI-thread waits that must keep serving it.
HANDLE GuiDispatcherEvent();
