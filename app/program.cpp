#include "app/program.h"

#include <optional>

#include "app/alert_mail.h"
#include "app/drive_choice.h"
#include "app/formlog.h"
#include "app/mainform.h"
#include "app/power.h"
#include "app/program_units.h"
#include "app/smtpform.h"
#include "app/startup_steps.h"
#include "classlib/core/files.h"
#include "classlib/core/text.h"
#include "classlib/windows/application.h"
#include "classlib/windows/formresources.h"

namespace {

const char* const ProgramTitle = "Vexmora";
constexpr int DriveSetExitCode = 2;
constexpr int StartFailedExitCode = 1;
// The window system may be starting or ending (a log-on, a log-off): the
// first window is tried for this long.
constexpr DWORD WindowTriesMilliseconds = 2000;
constexpr DWORD WindowRetryPauseMilliseconds = 200;

bool WriteToStandardError(const std::string& Text) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (!error || error == INVALID_HANDLE_VALUE) return false;
    const std::string line = "VexmoraU: " + Text + "\r\n";
    DWORD written = 0;
    return WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) && written > 0;
}

// On the error output and, where the window system still shows one, in a
// box: a person who started the program from a shortcut has no error output.
void ReportStartFailure(const std::wstring& Text) {
    WriteToStandardError(ToAnsi(Text));
    MessageBoxW(nullptr, Text.c_str(), ToWide(ProgramTitle).c_str(), MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
}

// The application window, tried again for a short while; false (reported)
// when it cannot be made.
bool InitializeApplication() {
    const DWORD start = GetTickCount();
    for (;;) {
        try {
            Application->Initialize();
            return true;
        } catch (const Exception& e) {
            if (GetTickCount() - start >= WindowTriesMilliseconds) {
                ReportStartFailure(L"Vexmora could not create its window: " + e.WideMessage());
                return false;
            }
        }
        Sleep(WindowRetryPauseMilliseconds);
    }
}

int StartAndRun() {
    const TProgramUnits units;
    RegisterProgramForms();
    std::wstring driveSetFile;
    try {
        driveSetFile = ChosenDriveSetFile();
        UseChosenDrives(driveSetFile);
    } catch (const Exception& e) {
        ReportStartError(e.WideMessage());
        return DriveSetExitCode;
    }
    // Simulated drives must never power the real machine off: their
    // shutdown and reboot requests are only written down.
    TPowerJournal journal(WideCurrentDir() + L"\\" + ToWide(PowerJournalFileName));
    std::optional<TServiceOverride<TPowerService>> recordOnly;
    if (!driveSetFile.empty()) recordOnly.emplace(journal);
    if (!InitializeApplication()) return StartFailedExitCode;
    Application->SetTitle(ProgramTitle);
    try {
        CreateProgramForms();
    } catch (...) {
        HandleCallbackException(Application);
        FreeProgramForms();
        return StartFailedExitCode;
    }
    Application->Run();
    FreeProgramForms();
    return Application->ExitCode();
}

}  // namespace

void RegisterProgramForms() {
    RegisterFormBuilder(TMainForm::ClassInfo()->Name, &TMainForm::BuildForm);
    RegisterFormBuilder(TSmtp::ClassInfo()->Name, &TSmtp::BuildForm);
    RegisterFormBuilder(TFormLog::ClassInfo()->Name, &TFormLog::BuildForm);
}

void CreateProgramForms() {
    Application->CreateForm(MainForm);
    Application->CreateForm(Smtp);
    StartupStepDone("e-mail dialog");
    Application->CreateForm(FormLog);
    StartupStepDone("log window");
}

void FreeProgramForms() {
    FreeAndNil(FormLog);
    FreeAndNil(Smtp);
    FreeAndNil(MainForm);
}

void ReportStartError(const std::wstring& Text) {
    if (!WriteToStandardError(ToAnsi(Text)))
        Application->MessageBox(Text, ToWide(ProgramTitle), MB_OK | MB_ICONSTOP);
}

int ProgramBlock() {
    try {
        return StartAndRun();
    } catch (...) {
        // A unit that cannot start: said like any failed start, never an end
        // through terminate.
        ReportStartFailure(L"Vexmora could not start: " + ToWide(RaisedReason()));
        return StartFailedExitCode;
    }
}
