// The drive-set choice: `--drives FILE` before VEXMORA_DRIVES, the machine's
// own drives without either, and a file that cannot be used stopping the
// program with its name, line and problem.
#include <gtest/gtest.h>

#include <fstream>

#include "app/drive_choice.h"
#include "app/program.h"
#include "tests/app/program_fixture.h"

TEST(DriveChoice, CommandLineWinsOverTheEnvironment) {
    struct Case {
        std::vector<std::string> arguments;
        std::string environment;
        std::string chosen;
    };
    const Case cases[] = {
        {{}, "", ""},
        {{}, "env.ini", "env.ini"},
        {{"--drives", "cmd.ini"}, "env.ini", "cmd.ini"},
        {{"/min", "--drives", "a b.ini", "--drives", "second.ini"}, "", "a b.ini"},
        {{"--Drives", "cmd.ini"}, "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ChosenDriveSetFile(c.arguments, c.environment), c.chosen);
}

TEST(DriveChoice, DrivesOptionWithoutAFileIsAnError) {
    EXPECT_THROW(ChosenDriveSetFile({"--drives"}, "env.ini"), EDriveSetError);
    EXPECT_THROW(ChosenDriveSetFile({"--drives", ""}, ""), EDriveSetError);
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
