// The version resource read from the test program itself, from modules of
// our own with another translation or a cut-short one, and from files
// without one.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "classlib/core/win32.h"
#include "controls/scversioninfo.h"

namespace {

std::string WinePath(const char* UnixPath) {
    return std::string("Z:") + UnixPath;
}

std::string TempFile(const char* Name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + Name;
}

class VersionInfo : public ::testing::Test {
protected:
    TOwned<TScVersionInfo> info{Create<TScVersionInfo>(nullptr)};
};

TEST_F(VersionInfo, ReadsTheProgramsOwnResourceAtOnce) {
    char own[MAX_PATH];
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    EXPECT_EQ(info->FilePath(), own);
    EXPECT_TRUE(info->Available());
    EXPECT_EQ(info->GetInfo(vfProductName), "Vexmora");
    EXPECT_EQ(info->GetInfo(vfProductVersion), "1.6");
    EXPECT_EQ(info->GetInfo(vfCompanyName), "Zantipelle");
    EXPECT_EQ(info->GetInfo(vfOriginalFilename), "VexmoraU.exe");
    EXPECT_EQ(info->GetInfo(vfLegalTrademarks), "");
    EXPECT_EQ(info->GetInfo(10), "");
    EXPECT_EQ(info->GetInfo(-1), "");
}

// A copy of this test program in a folder named in letters outside the code
// page runs the test above: its own file is found only by its wide name.
TEST_F(VersionInfo, ReadsTheProgramsOwnResourceInAFolderOutsideTheCodePage) {
    wchar_t own[MAX_PATH], temp[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path folder =
        std::filesystem::path(temp) /
        (L"\u0432\u0435\u0440\u0441\u0438\u044f \u7248\u672c-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directory(folder);
    const std::filesystem::path copy = folder / L"controls_tests.exe";
    ASSERT_TRUE(CopyFileW(own, copy.c_str(), FALSE));
    std::wstring commandLine =
        L"\"" + copy.wstring() + L"\" --gtest_filter=VersionInfo.ReadsTheProgramsOwnResourceAtOnce";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &started));
    const std::unique_ptr<void, decltype(&CloseHandle)> process(started.hProcess, &CloseHandle),
        thread(started.hThread, &CloseHandle);
    if (WaitForSingleObject(process.get(), 60000) == WAIT_TIMEOUT) TerminateProcess(process.get(), 99);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

TEST_F(VersionInfo, FollowsTheModulesTranslationAndLeavesMissingKeysEmpty) {
    info->SetFilePath(WinePath(VEXMORA_TEST_MODULE));
    EXPECT_TRUE(info->Available());
    const char* want[] = {"Probe Werke", "Version probe",     "2.0.0.7", "versionmodule", "none",
                          "TM",          "versionmodule.dll", "Probe",   "2.0",           ""};
    for (int i = 0; i < ScVersionFieldCount; ++i) EXPECT_EQ(info->GetInfo(i), want[i]) << i;
}

TEST_F(VersionInfo, ATranslationShorterThanOneEntryNamesNoBlock) {
    info->SetFilePath(WinePath(VEXMORA_SHORT_MODULE));
    EXPECT_TRUE(info->Available());
    for (int i = 0; i < ScVersionFieldCount; ++i) EXPECT_EQ(info->GetInfo(i), "") << i;
}

TEST_F(VersionInfo, FilesWithoutAResourceAreNotAvailable) {
    const std::string text = TempFile("vexmora-version-text.txt");
    std::ofstream(text) << "no version here\n";
    for (const std::string& path : {text, TempFile("vexmora-no-such-file.exe")}) {
        info->SetFilePath(path);
        EXPECT_FALSE(info->Available()) << path;
        for (int i = 0; i < ScVersionFieldCount; ++i) EXPECT_EQ(info->GetInfo(i), "Value Not Available") << i;
    }
    std::remove(text.c_str());
}

TEST_F(VersionInfo, TheSamePathAgainIsNotReadAgain) {
    const std::string copy = TempFile("vexmora-version-copy.dll");
    ASSERT_TRUE(CopyFileA(WinePath(VEXMORA_TEST_MODULE).c_str(), copy.c_str(), FALSE));
    info->SetFilePath(copy);
    EXPECT_EQ(info->GetInfo(vfProductName), "Probe");
    std::ofstream(copy, std::ios::trunc) << "replaced\n";
    info->SetFilePath(copy);
    EXPECT_EQ(info->GetInfo(vfProductName), "Probe") << "kept from the first read";
    info->SetFilePath("");
    info->SetFilePath(copy);
    EXPECT_EQ(info->GetInfo(vfProductName), "Value Not Available")
        << "a new path reads the file as it is now";
    std::remove(copy.c_str());
}

}  // namespace
