#include "tests/app/program_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/program.h"
#include "classlib/core/files.h"
#include "classlib/core/text.h"
#include "classlib/windows/application.h"

TScopedFolder::TScopedFolder() : saved_(GetCurrentDir()) {
    static int counter = 0;
    path_ = GetTempDir() + Format("vexmora-app-%u-%d", GetCurrentProcessId(), ++counter);
    CreateDir(path_);
    SetCurrentDir(path_);
}

TScopedFolder::~TScopedFolder() {
    SetCurrentDir(saved_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadTextFile(const std::string& FileName) {
    std::ostringstream text;
    text << std::ifstream(FileName, std::ios::binary).rdbuf();
    return text.str();
}

ProgramTest::ProgramTest() {
    Application->Initialize();
    Application->OnException = TExceptionEvent(this, &ProgramTest::Caught);
    RegisterProgramForms();
}

ProgramTest::~ProgramTest() {
    FreeProgramForms();
    Application->ProcessMessages();
    Application->OnException = nullptr;
}

void ProgramTest::Start(std::string_view DriveSet) {
    EndLastStart();
    drives_ = std::make_unique<TScopedDrives>(DriveSet);
    MakeForms();
}

void ProgramTest::StartWithExampleDrives() {
    EndLastStart();
    drives_ = std::make_unique<TScopedDrives>(TSimulatedDriveAccess::FromFile(ExampleDrivesPath()));
    MakeForms();
}

void ProgramTest::StartWith(std::shared_ptr<TDriveAccess> Access) {
    EndLastStart();
    drives_ = std::make_unique<TScopedDrives>(std::move(Access));
    MakeForms();
}

void ProgramTest::EndLastStart() {
    FreeProgramForms();
    // Before the next set is installed: the end of a set brings the real
    // drives back.
    drives_.reset();
}

void ProgramTest::MakeForms() {
    ResetDriveTables();
    CreateProgramForms();
    if (showAtStart) MainForm->Show();
    if (!waitForTrayIcons) return;
    Application->ProcessMessages();
    // The drives come from a worker; the text icons follow them once the
    // loop has nothing left to paint.
    for (int wait = 0; (MainForm->Detecting() || MainForm->TrayIconsHeld()) && wait < 2000; ++wait) {
        Sleep(1);
        Application->ProcessMessages();
    }
}

std::vector<std::vector<std::string>> ProgramTest::Cells() const {
    std::vector<std::vector<std::string>> cells;
    for (int row = 0; row < Rows()->Count(); ++row) {
        TListItem* item = Rows()->Item(row);
        cells.push_back({item->Caption()});
        for (int i = 0; i < item->SubItems()->Count(); ++i)
            cells.back().push_back(item->SubItems()->Strings(i));
    }
    return cells;
}

std::vector<bool> ProgramTest::Checks() const {
    std::vector<bool> checks;
    for (int row = 0; row < Rows()->Count(); ++row) checks.push_back(Rows()->Item(row)->Checked());
    return checks;
}
