// Accelerator characters of captions: the character after a single "&"
// ("E&xit" answers to X), found without regard to case; "&&" stands for a
// plain ampersand.
#pragma once

#include <string>

#include "classlib/core/win32.h"

// Whether Key (a character code of WM_CHAR/WM_SYSCHAR) is the caption's
// accelerator.
bool IsAccel(WORD Key, const std::string& Caption);
bool IsAccel(WORD Key, const std::wstring& Caption);
// The caption without its accelerator marks ("E&xit" gives "Exit", "A&&B"
// gives "A&B").
std::string StripHotkey(const std::string& Caption);
