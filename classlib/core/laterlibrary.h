// A system library that a rarely used feature needs, loaded at the feature's
// first call instead of at the program's start: every running program is
// spared its pages until then. LaterFunction<F>(Library, Name) loads the
// library and answers the function, or nullptr when either is missing; for
// a feature that cannot go on without it, RequiredLaterFunction raises
// EOSError naming both instead, so the user learns why nothing happened.
// The caller keeps the answer (a function-local static), so the library
// loads once and stays for the program's life.
#pragma once

#include "classlib/core/win32.h"

template <class F>
F LaterFunction(const wchar_t* Library, const char* Name) {
    HMODULE module = LoadLibraryW(Library);
    // GetProcAddress answers a generic pointer; the caller names the real type.
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, Name))) : nullptr;
}

// Raises EOSError for Library's function Name that could not be had, with
// the system's reason (Error, the last error of the failed call).
[[noreturn]] void RaiseMissingFunction(const wchar_t* Library, const char* Name, unsigned long Error);

template <class F>
F RequiredLaterFunction(const wchar_t* Library, const char* Name) {
    if (F function = LaterFunction<F>(Library, Name)) return function;
    RaiseMissingFunction(Library, Name, GetLastError());
}
