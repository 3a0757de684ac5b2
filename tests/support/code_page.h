// For tests that a run repeats under other code pages: the run names the
// code page it set up in VEXMORA_CODE_PAGE, and a test that finds another
// one fails rather than passing on the default one unseen. A test that
// means one code page (its name holds "Cp1252") says which.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "classlib/core/win32.h"

inline void ExpectTheRunsCodePage() {
    if (const char* asked = std::getenv("VEXMORA_CODE_PAGE")) {
        ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(asked))) << "the locale of the run did not take";
    }
}

inline void ExpectCodePage(UINT Page) {
    ASSERT_EQ(GetACP(), Page) << "the test means code page " << Page << ": its ctest entry starts it there";
}
