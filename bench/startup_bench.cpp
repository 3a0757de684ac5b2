// Times the program's start with 24 simulated drives, step by step (the
// units, the form resource's parts, the skin, the other two forms, the window
// handles and the first paint; then, from the detection worker, the drive
// list, the tray icons, the chart and the default actions), against a bare
// Win32 window's start to its first paint; the same start with drive 0
// taking 10 s per read, whose first paint must not wait for it; and the tray
// icons (the program's and the 24 text icons) against the same number of
// bare icon adds. Trials alternate under the same Wine; figures are medians.
// The registry is a private throwaway one.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/drive_choice.h"
#include "app/mainform.h"
#include "app/program.h"
#include "app/program_units.h"
#include "app/startup_steps.h"
#include "bench/bench_args.h"
#include "classlib/core/files.h"
#include "classlib/core/registryredirect.h"
#include "classlib/core/text.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/windows/application.h"
#include "notify/texttrayicon.h"
// After windows.h, which the class library brings.
#include <shellapi.h>

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

constexpr int SlowReadDelay = 10000;

// Slow: drive 0 takes SlowReadDelay milliseconds per S.M.A.R.T. read.
std::string DriveSetText(bool Slow) {
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
        if (Slow && drive == 0) text += Format("read delay = %d\n", SlowReadDelay);
        int position = 0;
        for (const char* attribute : kAttributes)
            text += Format("attribute %d = %s\n", position++, attribute);
    }
    return text;
}

// The time of each step of one start, in the order the steps came.
class TStepClock : public TStartupListener {
public:
    void Begin() {
        last_ = TClock::now();
        steps.clear();
    }
    void StepDone(const char* Step) override {
        const auto now = TClock::now();
        steps.emplace_back(Step, std::chrono::duration<double, std::milli>(now - last_).count());
        last_ = now;
    }
    std::vector<std::pair<std::string, double>> steps;

private:
    TClock::time_point last_;
};

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

// The bare window's start to its first paint; the window stays, as the
// program's does while its tray icons are added.
double BareStart(HWND& Window) {
    const auto start = TClock::now();
    Window = CreateWindowExW(0, L"StartupBenchBare", L"Bare", WS_OVERLAPPED | WS_SYSMENU | WS_MINIMIZEBOX,
                             CW_USEDEFAULT, CW_USEDEFAULT, 686, 460, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    painted = false;
    ShowWindow(Window, SW_SHOWNORMAL);
    UpdateWindow(Window);
    const double elapsed = MillisecondsSince(start);
    return painted ? elapsed : -1;
}

// The peer of the tray icons: as many icons added straight through the
// shell, each with a 16x16 icon and a tip, right after the bare window's
// first paint.
double BareIconAdds(HWND window, HICON icon, int Count) {
    std::vector<NOTIFYICONDATAA> icons(static_cast<size_t>(Count));
    for (int i = 0; i < Count; ++i) {
        NOTIFYICONDATAA& data = icons[static_cast<size_t>(i)];
        data = NOTIFYICONDATAA{};
        data.cbSize = sizeof data;
        data.hWnd = window;
        data.uID = static_cast<UINT>(i + 1);
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = WM_USER + 1;
        data.hIcon = icon;
        std::snprintf(data.szTip, sizeof data.szTip, "BENCH DISK %02d", i);
    }
    const auto start = TClock::now();
    for (NOTIFYICONDATAA& data : icons) Shell_NotifyIconA(NIM_ADD, &data);
    const double elapsed = MillisecondsSince(start);
    for (NOTIFYICONDATAA& data : icons) Shell_NotifyIconA(NIM_DELETE, &data);
    return elapsed;
}

struct TStart {
    std::vector<std::pair<std::string, double>> steps;
    double firstPaint = 0;  // start to first paint
    double iconsAfter = 0;  // drives listed and tray icons added once the window has painted
    int icons = 0;          // text icons in the notification area at the end
    bool rightDrives = false;
};

int TextIconsShown() {
    int shown = 0;
    for (TTextTrayIcon* icon : MainForm->TrayIcons)
        if (icon && icon->IconVisible()) ++shown;
    return shown;
}

// The window shows before a drive answers: with Slow, the start is timed to
// the first paint and ended there, the slow read left to end by itself (as
// the program's end leaves it), unless WaitForSlowDrive.
TStart ProgramStart(TStepClock& clock, bool Slow = false, bool WaitForSlowDrive = false) {
    TStart result;
    clock.Begin();
    const auto start = TClock::now();
    CreateProgramForms();
    MainForm->Show();
    clock.StepDone("show: window handles");
    RedrawWindow(MainForm->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    clock.StepDone("first paint");
    result.firstPaint = MillisecondsSince(start);
    if (Slow) {
        // Painted with drive 0 still being read: whatever else is listed, it is not.
        result.rightDrives = MainForm->Detecting() && MainForm->RowOfDrive(0) < 0;
        while (WaitForSlowDrive && MainForm->Detecting() && MillisecondsSince(start) < 3 * SlowReadDelay) {
            Application->ProcessMessages();
            Sleep(5);
        }
        if (WaitForSlowDrive) result.rightDrives = MainForm->lvDrvList->Items()->Count() == 24;
        result.steps = clock.steps;
        FreeProgramForms();
        Application->ProcessMessages();
        Sleep(200);
        return result;
    }
    // What the program does next in its message loop, up to the last icon:
    // the drives come from the detection worker, their icons after them.
    const auto after = TClock::now();
    while (MainForm->Detecting() && MillisecondsSince(after) < 5000) {
        Application->ProcessMessages();
        if (MainForm->Detecting()) Sleep(1);
    }
    int expected = 0;
    for (TTextTrayIcon* icon : MainForm->TrayIcons)
        if (icon) ++expected;
    while (TextIconsShown() < expected && MillisecondsSince(after) < 5000) {
        Application->ProcessMessages();
        if (TextIconsShown() < expected) Sleep(1);
    }
    result.iconsAfter = MillisecondsSince(after);
    result.icons = TextIconsShown();
    result.steps = clock.steps;
    result.rightDrives = MainForm->lvDrvList->Items()->Count() == 24;
    FreeProgramForms();
    Application->ProcessMessages();
    Sleep(200);  // as after the bare window
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    TRegistryRedirect privateRoot;
    const std::string folder = GetTempDir() + Format("vexmora-startup-bench-%u", GetCurrentProcessId());
    CreateDir(folder);
    SetCurrentDir(folder);  // for Vexmora.log
    const std::string fileName = folder + "\\drives.ini";
    const std::string slowFileName = folder + "\\slow-drive.ini";
    std::ofstream(fileName, std::ios::binary | std::ios::trunc) << DriveSetText(false);
    std::ofstream(slowFileName, std::ios::binary | std::ios::trunc) << DriveSetText(true);
    UseChosenDrives(fileName);

    WNDCLASSW bare{};
    bare.lpfnWndProc = BareWindowProc;
    bare.hInstance = GetModuleHandleW(nullptr);
    bare.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    bare.lpszClassName = L"StartupBenchBare";
    RegisterClassW(&bare);
    HWND iconWindow = CreateWindowExW(0, L"StartupBenchBare", L"Icons", WS_POPUP, 0, 0, 1, 1, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
    // The application icon in the notification area's size, as the text icons are.
    HICON bareIcon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));

    // The program's units as the program starts them: the skin and its bars.
    auto unitsStart = TClock::now();
    const TProgramUnits units;
    const double unitsTime = MillisecondsSince(unitsStart);
    Application->Initialize();
    Application->SetTitle("Vexmora");
    RegisterProgramForms();
    TStepClock clock;
    SetStartupListener(&clock);
    ProgramStart(clock);  // the first start writes the drives' subkeys, as a first run does
    // Once, in a full run: the slow drive's row and the rest come when its read returns.
    UseChosenDrives(slowFileName);
    const bool slowDriveListed = ProgramStart(clock, true, !bench::IsShort()).rightDrives;
    UseChosenDrives(fileName);
    HWND window = nullptr;
    BareStart(window);
    DestroyWindow(window);

    const int trials = bench::Rounds(9, 2);
    std::map<std::string, std::vector<double>> steps;
    std::vector<std::string> order;
    std::vector<double> program, slowProgram, peer, iconsAfter, iconsAll, bareAdds;
    bool failed = !slowDriveListed;
    for (int trial = 0; trial < trials; ++trial) {
        const TStart start = ProgramStart(clock);
        // Like the start above, after a program's icons have left the tray.
        UseChosenDrives(slowFileName);
        const TStart slow = ProgramStart(clock, true);
        UseChosenDrives(fileName);
        if (!slow.rightDrives) failed = true;
        slowProgram.push_back(slow.firstPaint);
        const double bareTime = BareStart(window);
        bareAdds.push_back(BareIconAdds(iconWindow, bareIcon, 25));
        DestroyWindow(window);
        // The shell lays out its task bar and notification area again in its
        // own process; the next measure should not pay for that.
        Sleep(200);
        if (!start.rightDrives || start.icons != 24 || bareTime < 0) failed = true;
        program.push_back(start.firstPaint);
        peer.push_back(bareTime);
        iconsAfter.push_back(start.iconsAfter);
        double icons = 0;
        for (const auto& [step, time] : start.steps) {
            if (!steps.count(step)) order.push_back(step);
            steps[step].push_back(time);
            if (step == "tray icons" || step == "after the first paint: the program's tray icon" ||
                step == "after the first paint: the text icons")
                icons += time;
        }
        iconsAll.push_back(icons);
    }
    SetStartupListener(nullptr);

    std::printf("Start-up, 24 simulated drives, %d trials (medians, ms)\n", trials);
    std::printf("  %-44s %9.2f  (once, before the first start)\n", "program units", unitsTime);
    for (const std::string& step : order) std::printf("  %-44s %9.2f\n", step.c_str(), Median(steps[step]));
    const double ours = Median(program), theirs = Median(peer);
    std::printf("  %-44s %9.2f\n", "start to first paint, VexmoraU main window", ours);
    std::printf("  %-44s %9.2f\n", "start to first paint, bare Win32 window", theirs);
    std::printf("  %-44s %9.1f x\n", "ratio", ours / std::max(theirs, 0.001));
    const double slowPaint = Median(slowProgram);
    std::printf("  %-44s %9.2f\n", "start to first paint, drive 0 reads in 10 s", slowPaint);
    std::printf("  %-44s %9.2f x\n", "ratio to the start above", slowPaint / std::max(ours, 0.001));
    std::printf("  %-44s %9.2f\n", "drives listed, tray icons added after paint", Median(iconsAfter));
    const double icons = Median(iconsAll), adds = Median(bareAdds);
    std::printf("  %-44s %9.2f\n", "25 tray icons (program's, 24 text) made, added", icons);
    std::printf("  %-44s %9.2f\n", "25 bare icon adds (peer)", adds);
    std::printf("  %-44s %9.2f x\n", "ratio", icons / std::max(adds, 0.001));
    if (failed)
        std::printf(
            "FAILED: a start did not list 24 drives with 24 icons, a slow drive held the first paint or "
            "never came, or the bare window did not paint\n");

    DestroyWindow(iconWindow);
    UseChosenDrives("");
    SetCurrentDir(GetTempDir());
    DeleteFile(fileName);
    DeleteFile(slowFileName);
    DeleteFile(folder + "\\Vexmora.log");
    RemoveDir(folder);
    return failed ? 1 : 0;
}
