// Times the program's start to the first paint of its main window with 24
// simulated drives (detection, every page, the chart, the tray icons, the
// default actions) against a bare Win32 window's start to its first paint,
// in alternating trials under the same Wine, and prints the ratio of the
// medians. The registry is a private throwaway one.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/drive_choice.h"
#include "app/mainform.h"
#include "app/program.h"
#include "classlib/core/files.h"
#include "classlib/core/registryredirect.h"
#include "classlib/core/text.h"
#include "classlib/windows/application.h"

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

std::string DriveSetText() {
    static const char* const kAttributes[] = {
        "1 0x000F 117 99 6 128712384", "3 0x0003 97 97 0 0",     "4 0x0032 100 100 20 1024",
        "5 0x0033 100 100 36 0",       "9 0x0032 89 89 0 9876",  "12 0x0032 100 100 20 1012",
        "194 0x0022 28 45 0 28",       "197 0x0012 100 100 0 0", "199 0x003E 200 200 0 0",
    };
    std::string text;
    for (int drive = 0; drive < 24; ++drive) {
        text +=
            Format("[drive %d]\nwmi model = ST3500418AS-%d\nserial = 5VM1AB%02d\ndisk size = 500107862016\n",
                   drive, drive, drive);
        int position = 0;
        for (const char* attribute : kAttributes)
            text += Format("attribute %d = %s\n", position++, attribute);
    }
    return text;
}

bool painted = false;

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        FillRect(paint.hdc, &paint.rcPaint, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        EndPaint(window, &paint);
        painted = true;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

double BareStart() {
    const auto start = TClock::now();
    HWND window = CreateWindowExW(0, L"StartupBenchBare", L"Bare",
                                  WS_OVERLAPPED | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT,
                                  686, 460, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    painted = false;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    const double elapsed = MillisecondsSince(start);
    DestroyWindow(window);
    if (!painted) std::printf("the bare window did not paint\n");
    return elapsed;
}

double ProgramStart() {
    const auto start = TClock::now();
    CreateProgramForms();
    MainForm->Show();
    RedrawWindow(MainForm->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    const double elapsed = MillisecondsSince(start);
    if (MainForm->lvDrvList->Items()->Count() != 24) std::printf("the program listed the wrong drives\n");
    FreeProgramForms();
    Application->ProcessMessages();
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    TRegistryRedirect privateRoot;
    const std::string folder = GetTempDir() + Format("vexmora-startup-bench-%u", GetCurrentProcessId());
    CreateDir(folder);
    SetCurrentDir(folder);  // for Vexmora.log
    const std::string fileName = folder + "\\drives.ini";
    std::ofstream(fileName, std::ios::binary | std::ios::trunc) << DriveSetText();
    UseChosenDrives(fileName);

    WNDCLASSW bare{};
    bare.lpfnWndProc = BareWindowProc;
    bare.hInstance = GetModuleHandleW(nullptr);
    bare.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    bare.lpszClassName = L"StartupBenchBare";
    RegisterClassW(&bare);

    Application->Initialize();
    Application->SetTitle("Vexmora");
    RegisterProgramForms();
    ProgramStart();  // the first start writes the drives' subkeys, as a first run does
    BareStart();

    constexpr int trials = 9;
    std::vector<double> program, peer;
    for (int trial = 0; trial < trials; ++trial) {
        program.push_back(ProgramStart());
        peer.push_back(BareStart());
    }
    const double ours = Median(program), theirs = Median(peer);
    std::printf("Start to first paint, 24 simulated drives, %d trials (medians)\n", trials);
    std::printf("  VexmoraU main window      %9.2f ms\n", ours);
    std::printf("  bare Win32 window (peer)  %9.2f ms\n", theirs);
    std::printf("  ratio                     %9.1f x\n", ours / std::max(theirs, 0.001));

    UseChosenDrives("");
    SetCurrentDir(GetTempDir());
    DeleteFile(fileName);
    DeleteFile(folder + "\\Vexmora.log");
    RemoveDir(folder);
    return 0;
}
