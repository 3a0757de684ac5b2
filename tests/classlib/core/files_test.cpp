// File helpers: name splitting, existence, delete/rename, the current folder
// and the command-line rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/core/files.h"
#include "classlib/core/streams.h"
#include "classlib/core/text.h"
#include "classlib/core/win32.h"

TEST(FileNames, SplitAtTheLastDelimiter) {
    struct Case {
        const char *name, *path, *dir, *file, *ext;
    };
    const Case cases[] = {
        {"C:\\Tools\\VexmoraU.exe", "C:\\Tools\\", "C:\\Tools", "VexmoraU.exe", ".exe"},
        {"C:\\VexmoraU.exe", "C:\\", "C:\\", "VexmoraU.exe", ".exe"},
        {"C:Vexmora.log", "C:", "C:", "Vexmora.log", ".log"},
        {"Vexmora.log", "", "", "Vexmora.log", ".log"},
        {"\\Vexmora.log", "\\", "\\", "Vexmora.log", ".log"},
        {"\\\\server\\share\\a.b.c", "\\\\server\\share\\", "\\\\server\\share", "a.b.c", ".c"},
        {"C:\\dir.d\\noext", "C:\\dir.d\\", "C:\\dir.d", "noext", ""},
        {"C:\\dir\\", "C:\\dir\\", "C:\\dir", "", ""},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ExtractFilePath(c.name), c.path);
        EXPECT_EQ(ExtractFileDir(c.name), c.dir);
        EXPECT_EQ(ExtractFileName(c.name), c.file);
        EXPECT_EQ(ExtractFileExt(c.name), c.ext);
    }
}

TEST(FileNames, ChangeFileExtReplacesOnlyTheNamePartsExtension) {
    struct Case {
        const char *name, *ext, *result;
    };
    const Case cases[] = {
        {"Vexmora.log", ".bak", "Vexmora.bak"},
        {"C:\\a.dir\\Vexmora", ".ini", "C:\\a.dir\\Vexmora.ini"},
        {"archive.tar.gz", "", "archive.tar"},
        {"C:\\x\\name.", ".txt", "C:\\x\\name.txt"},
        {"", ".txt", ".txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(ChangeFileExt(c.name, c.ext), c.result) << c.name;
}

TEST(FileNames, TrailingPathDelimiterIsAddedOrRemovedOnce) {
    struct Case {
        const char *path, *included, *excluded;
    };
    const Case cases[] = {
        {"C:\\Tools", "C:\\Tools\\", "C:\\Tools"},
        {"C:\\Tools\\", "C:\\Tools\\", "C:\\Tools"},
        {"C:\\Tools\\\\", "C:\\Tools\\\\", "C:\\Tools\\"},
        {"", "\\", ""},
        {"C:", "C:\\", "C:"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IncludeTrailingPathDelimiter(c.path), c.included) << c.path;
        EXPECT_EQ(ExcludeTrailingPathDelimiter(c.path), c.excluded) << c.path;
    }
}

class Files : public testing::Test {
protected:
    void SetUp() override {
        folder = GetTempDir() + "vx_files_" + IntToStr(GetCurrentProcessId());
        ASSERT_TRUE(CreateDir(folder));
        saved = GetCurrentDir();
    }
    void TearDown() override {
        SetCurrentDir(saved);
        for (const char* name : {"a.txt", "b.txt"}) DeleteFile(folder + "\\" + name);
        RemoveDir(folder + "\\sub");
        RemoveDir(folder);
    }
    void Touch(const std::string& name) { TOwned<TFileStream>(Create<TFileStream>(name, fmCreate)).reset(); }

    std::string folder, saved;
};

TEST_F(Files, ExistenceTellsFilesFromFolders) {
    std::string file = folder + "\\a.txt";
    Touch(file);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_FALSE(FileExists(folder));
    EXPECT_FALSE(FileExists(folder + "\\absent.txt"));
    EXPECT_FALSE(DirectoryExists(folder + "\\absent"));
}

TEST_F(Files, DeleteAndRenameReportSuccess) {
    std::string a = folder + "\\a.txt", b = folder + "\\b.txt";
    Touch(a);
    EXPECT_TRUE(RenameFile(a, b));
    EXPECT_FALSE(FileExists(a));
    EXPECT_TRUE(FileExists(b));
    EXPECT_FALSE(RenameFile(a, b));
    EXPECT_TRUE(DeleteFile(b));
    EXPECT_FALSE(DeleteFile(b));
    EXPECT_FALSE(FileExists(b));
}

TEST_F(Files, CurrentFolderAnchorsRelativeNames) {
    ASSERT_TRUE(CreateDir(folder + "\\sub"));
    ASSERT_TRUE(SetCurrentDir(folder + "\\sub"));
    EXPECT_EQ(GetCurrentDir(), ExpandFileName(folder + "\\sub"));
    EXPECT_EQ(ExpandFileName("x.log"), ExpandFileName(folder) + "\\sub\\x.log");
    EXPECT_EQ(ExpandFileName("..\\x.log"), ExpandFileName(folder) + "\\x.log");
    EXPECT_EQ(ExpandFileName(".\\.\\x.log"), ExpandFileName(folder) + "\\sub\\x.log");
    EXPECT_EQ(ExpandFileName(""), "");
    EXPECT_FALSE(SetCurrentDir(folder + "\\absent"));
}

// Every door takes a wide name: a folder named in Cyrillic and CJK letters,
// which the code page cannot spell, is made, entered, filled and emptied.
TEST(WideFiles, EveryDoorTakesANameOutsideTheCodePage) {
    const std::wstring folder =
        WideTempDir() + L"\u0434\u0438\u0441\u043a \u65e5\u672c-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring saved = WideCurrentDir();
    ASSERT_TRUE(CreateDir(folder));
    EXPECT_TRUE(DirectoryExists(folder));
    ASSERT_TRUE(SetCurrentDir(folder));
    EXPECT_EQ(WideCurrentDir(), folder);
    const std::wstring a = ExpandFileName(std::wstring(L"\u0430.txt")), b = folder + L"\\\u0431.txt";
    EXPECT_EQ(a, folder + L"\\\u0430.txt");
    TOwned<TFileStream>(Create<TFileStream>(a, fmCreate)).reset();
    EXPECT_TRUE(FileExists(a));
    EXPECT_TRUE(RenameFile(a, b));
    EXPECT_FALSE(FileExists(a));
    EXPECT_TRUE(DeleteFile(b));
    EXPECT_FALSE(FileExists(b));
    EXPECT_TRUE(SetCurrentDir(saved));
    EXPECT_TRUE(RemoveDir(folder));
    EXPECT_FALSE(DirectoryExists(folder));

    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    EXPECT_EQ(WideTempDir(), temp);
}

TEST(CommandLine, BlanksSeparateAndQuotesGroupWithoutEscapes) {
    struct Case {
        const wchar_t* line;
        std::vector<std::wstring> params;
    };
    const Case cases[] = {
        {L"prog.exe a b", {L"prog.exe", L"a", L"b"}},
        {L"  \"C:\\Program Files\\prog.exe\"\t-x   \"two words\" ",
         {L"C:\\Program Files\\prog.exe", L"-x", L"two words"}},
        {L"prog a\"b c\"d", {L"prog", L"ab cd"}},
        {L"prog \"\" x", {L"prog", L"x"}},
        {L"prog C:\\dir\\ \"C:\\dir\\\\\" \\\"q", {L"prog", L"C:\\dir\\", L"C:\\dir\\\\", L"\\q"}},
        {L"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(classlib_detail::SplitCommandLine(c.line), c.params);
}

TEST(CommandLine, ParamStrZeroIsTheProgramAndOutOfRangeIsEmpty) {
    std::string program = ParamStr(0);
    EXPECT_TRUE(FileExists(program)) << program;
    EXPECT_EQ(LowerCase(ExtractFileExt(program)), ".exe");
    EXPECT_EQ(ParamStr(ParamCount() + 1), "");
    EXPECT_EQ(ParamStr(-1), "");
    EXPECT_GE(ParamCount(), 0);
}

TEST(Environment, GetEnvironmentValueReadsSetAndMissingVariables) {
    ASSERT_TRUE(SetEnvironmentVariableA("VEXMORA_TEST_VALUE", "on and on"));
    EXPECT_EQ(GetEnvironmentValue("VEXMORA_TEST_VALUE"), "on and on");
    std::string longValue(1000, 'v');
    ASSERT_TRUE(SetEnvironmentVariableA("VEXMORA_TEST_VALUE", longValue.c_str()));
    EXPECT_EQ(GetEnvironmentValue("VEXMORA_TEST_VALUE"), longValue);
    SetEnvironmentVariableA("VEXMORA_TEST_VALUE", nullptr);
    EXPECT_EQ(GetEnvironmentValue("VEXMORA_TEST_VALUE"), "");
}
