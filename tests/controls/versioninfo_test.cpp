// The version resource read from the test program itself, from modules of
// our own with another translation or a cut-short one, and from files
// without one.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

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
