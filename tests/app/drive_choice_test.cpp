// The drive-set choice: `--drives FILE` before VEXMORA_DRIVES, the machine's
// own drives without either, and a file that cannot be used stopping the
// program with its name, line and problem.
#include <gtest/gtest.h>

#include <fstream>

#include "app/drive_choice.h"
#include "app/program.h"
#include "classlib/core/text.h"
#include "tests/app/program_fixture.h"

TEST(DriveChoice, CommandLineWinsOverTheEnvironment) {
    struct Case {
        std::vector<std::wstring> arguments;
        std::wstring environment;
        std::wstring chosen;
    };
    const Case cases[] = {
        {{}, L"", L""},
        {{}, L"env.ini", L"env.ini"},
        {{L"--drives", L"cmd.ini"}, L"env.ini", L"cmd.ini"},
        {{L"/min", L"--drives", L"a b.ini", L"--drives", L"second.ini"}, L"", L"a b.ini"},
        {{L"--Drives", L"cmd.ini"}, L"", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(ChosenDriveSetFile(c.arguments, c.environment), c.chosen);
}

TEST(DriveChoice, TheEnvironmentsFileNameKeepsLettersOutsideTheCodePage) {
    const std::wstring name = L"C:\\\u0434\u0438\u0441\u043a\u0438\\\u65e5\u672c.ini";
    SetEnvironmentVariableW(ToWide(DrivesEnvironment).c_str(), name.c_str());
    const std::wstring chosen = ChosenDriveSetFile();
    SetEnvironmentVariableW(ToWide(DrivesEnvironment).c_str(), nullptr);
    EXPECT_TRUE(chosen == name) << ToAnsi(chosen);
}

TEST(DriveChoice, DrivesOptionWithoutAFileIsAnError) {
    EXPECT_THROW(ChosenDriveSetFile({L"--drives"}, L"env.ini"), EDriveSetError);
    EXPECT_THROW(ChosenDriveSetFile({L"--drives", L""}, L""), EDriveSetError);
}

TEST(DriveChoice, MalformedFileStopsTheStartNamingFileLineAndProblem) {
    TScopedFolder folder;
    std::ofstream("broken.ini") << "[drive 0]\nwmi model = X\nattribute 3 = 1 2 3\n";
    try {
        UseChosenDrives("broken.ini");
        FAIL() << "no error";
    } catch (const EDriveSetError& e) {
        EXPECT_EQ(e.Message(),
                  "Drive-set file \"broken.ini\", line 3: \"attribute 3\" needs six fields: ID FLAGS CURRENT "
                  "WORST THRESHOLD RAW");
    }

    // Through the environment, the program block gives up before any
    // window; without a standard error the reason is shown in a box.
    TScriptedMessageBoxes boxes;
    HANDLE standardError = GetStdHandle(STD_ERROR_HANDLE);
    SetStdHandle(STD_ERROR_HANDLE, nullptr);
    SetEnvironmentVariableA(DrivesEnvironment, "broken.ini");
    const int exitCode = ProgramBlock();
    SetEnvironmentVariableA(DrivesEnvironment, nullptr);
    SetStdHandle(STD_ERROR_HANDLE, standardError);
    UseRealDrives();
    EXPECT_EQ(exitCode, 2);
    EXPECT_EQ(MainForm, nullptr);
    ASSERT_EQ(boxes.Asked().size(), 1u);
    EXPECT_EQ(boxes.Asked()[0].Caption, "Vexmora");
    EXPECT_NE(boxes.Asked()[0].Text.find("\"broken.ini\", line 3"), std::string::npos);
}
