// Replaceable services: a test's replacement is in force for its scope (and
// nests), the real services answer when none is, and version checks read
// whichever version service is in force.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/services/osversion.h"
#include "classlib/services/powerservice.h"
#include "classlib/services/shellservice.h"
#include "classlib/services/systemsettings.h"

namespace {

class TRecordingShell : public TShellService {
public:
    bool Execute(HWND, const std::string& Verb, const std::string& File, const std::string&,
                 const std::string&, int) override {
        opened.push_back(Verb + " " + File);
        return true;
    }
    bool ExecuteEx(ULONG, HWND, const std::string& Verb, const std::string& File, const std::string&,
                   const std::string&, int) override {
        opened.push_back(Verb + " " + File);
        return true;
    }
    bool Run(const std::string& CommandLine, int) override {
        opened.push_back(CommandLine);
        return false;
    }
    std::vector<std::string> opened;
};

class TFixedVersion : public TOSVersionService {
public:
    explicit TFixedVersion(TOSVersionInfo Info) : info(std::move(Info)) {}
    TOSVersionInfo Version() override { return info; }
    TOSVersionInfo info;
};

TEST(Services, AReplacementIsInForceForItsScopeAndNests) {
    TShellService* real = &ShellService();
    EXPECT_EQ(real, &TShellService::Default());
    TRecordingShell outer, inner;
    {
        TServiceOverride<TShellService> first(outer);
        ShellService().Execute(nullptr, "open", "http://example.invalid/", "", "", SW_SHOWNORMAL);
        {
            TServiceOverride<TShellService> second(inner);
            ShellService().ExecuteEx(SEE_MASK_FLAG_NO_UI, nullptr, "Open", "Vexmora.log", "", "",
                                     SW_SHOWNORMAL);
            EXPECT_FALSE(ShellService().Run("RunDLL32.exe", SW_SHOWNORMAL));
        }
        EXPECT_EQ(&ShellService(), &outer);
    }
    EXPECT_EQ(&ShellService(), real);
    EXPECT_EQ(outer.opened, std::vector<std::string>{"open http://example.invalid/"});
    EXPECT_EQ(inner.opened, (std::vector<std::string>{"Open Vexmora.log", "RunDLL32.exe"}));
}

TEST(Services, VersionChecksReadTheVersionInForce) {
    struct {
        DWORD Major, Minor;
        DWORD WantMajor, WantMinor;
        bool Passes;
    } const cases[] = {
        {5, 1, 5, 1, true},   {5, 0, 5, 1, false}, {6, 0, 5, 1, true},
        {4, 10, 5, 0, false}, {10, 0, 6, 2, true},
    };
    for (const auto& c : cases) {
        TOSVersionInfo info;
        info.Major = c.Major;
        info.Minor = c.Minor;
        TFixedVersion version(info);
        TServiceOverride<TOSVersionService> scope(version);
        EXPECT_EQ(CheckWin32Version(c.WantMajor, c.WantMinor), c.Passes) << c.Major << "." << c.Minor;
    }
    TOSVersionInfo nineX;
    nineX.Platform = VER_PLATFORM_WIN32_WINDOWS;
    TFixedVersion old(nineX);
    TServiceOverride<TOSVersionService> scope(old);
    EXPECT_EQ(Win32Platform(), DWORD(VER_PLATFORM_WIN32_WINDOWS));
}

TEST(Services, TheRealServicesAnswer) {
    EXPECT_EQ(Win32Platform(), DWORD(VER_PLATFORM_WIN32_NT));
    EXPECT_GE(Win32MajorVersion(), 5u);
    RECT workArea{};
    ASSERT_TRUE(SystemSettings().ParametersInfo(SPI_GETWORKAREA, 0, &workArea, 0));
    EXPECT_GT(workArea.right, workArea.left);
    EXPECT_GT(SystemSettings().Metric(SM_CXSCREEN), 0);
}

}  // namespace
