// Per-thread Windows hooks shared by the framework's objects: a client
// registers a procedure for some event kinds, the manager installs each hook
// the thread needs once, fans the events out and removes a hook when its
// last user leaves.
#pragma once

#include "classlib/core/set.h"
#include "classlib/core/win32.h"

enum THookMessageKind { hmkActivate, hmkActivateApp, hmkWindowPosChanged, hmkDestroyWindow, hmkGetMessage };
using THookMessageKinds = TSet<THookMessageKind>;

using THookProcedure = void (*)(THookMessageKind Kind, HWND Wnd, WPARAM WParam, LPARAM LParam);

// Registers Proc for User with Kinds (added to what Proc already has). False
// when a hook the kinds need could not be installed; the hooks that were
// installed stay counted and are removed on unregistration.
bool InstallHookProc(const void* User, THookProcedure Proc, THookMessageKinds Kinds);
// Takes User's registration of Proc away; nothing when there is none.
void UninstallHookProc(const void* User, THookProcedure Proc);
// Removes the calling thread's hooks and registrations (thread end).
void RemoveThreadHooks();

// The calling thread's state, for tests: users of hook Index (0 call-window,
// 1 CBT, 2 get-message), whether it is installed, registered procedures.
int HookUseCount(int Index);
bool HookInstalled(int Index);
int HookProcCount();

// A seam for tests: the function that obtains a hook (null: the system's).
using THookInstaller = HHOOK(WINAPI*)(int IdHook, HOOKPROC Proc, HINSTANCE Module, DWORD ThreadId);
THookInstaller SetHookInstaller(THookInstaller Installer);
