// Libraries loaded at a feature's first call: a function the feature cannot
// do without is raised as missing, naming the library, the function and the
// system's reason, rather than answered as nothing.
#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"
#include "classlib/core/laterlibrary.h"

namespace {

// The EOSError a missing function raises.
EOSError Raised(const wchar_t* Library, const char* Name) {
    try {
        RequiredLaterFunction<decltype(&GetTickCount)>(Library, Name);
    } catch (const EOSError& E) {
        return E;
    }
    return EOSError("nothing raised", 0);
}

}  // namespace

TEST(LaterLibrary, AMissingLibraryOrFunctionIsRaisedWithItsNameAndReason) {
    const EOSError library = Raised(L"vexmora-missing.dll", "GetTickCount");
    EXPECT_EQ(library.ErrorCode, static_cast<unsigned long>(ERROR_MOD_NOT_FOUND));
    EXPECT_NE(library.Message().find("vexmora-missing.dll"), std::string::npos) << library.Message();
    EXPECT_NE(library.Message().find("GetTickCount"), std::string::npos) << library.Message();

    const EOSError function = Raised(L"kernel32.dll", "VexmoraNoSuchFunction");
    EXPECT_EQ(function.ErrorCode, static_cast<unsigned long>(ERROR_PROC_NOT_FOUND));
    EXPECT_NE(function.Message().find("VexmoraNoSuchFunction of kernel32.dll"), std::string::npos)
        << function.Message();

    EXPECT_EQ(LaterFunction<decltype(&GetTickCount)>(L"vexmora-missing.dll", "GetTickCount"), nullptr);
    const auto tick = RequiredLaterFunction<decltype(&GetTickCount)>(L"kernel32.dll", "GetTickCount");
    ASSERT_NE(tick, nullptr);
    EXPECT_NE(tick(), 0u);
}
