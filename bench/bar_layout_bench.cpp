// Times the layout of a bar of 10, 100 and 1,000 text buttons, in one line,
// wrapped into a 300-pixel wide bar, and with all but 300 pixels hidden
// behind the chevron, beside the system's common-controls toolbar laying out
// the same buttons (wrapped when it wraps; the common toolbar has no chevron,
// so the chevron rows compare with its plain layout). Prints ratios.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_args.h"
#include "classlib/windows/application.h"
#include "toolbar/barview.h"

#include <commctrl.h>

namespace {

using TClock = std::chrono::steady_clock;

enum TMode { mdPlain, mdWrapped, mdChevron };
const char* const ModeNames[] = {"plain", "wrapped", "chevron"};
constexpr int BarLength = 300;

double MicrosecondsSince(TClock::time_point Start) {
    return std::chrono::duration<double, std::micro>(TClock::now() - Start).count();
}

std::string Caption(int I) {
    return "Button " + std::to_string(I);
}

// Our layout: a trial layout of the view, which measures every button too.
double OurLayout(int Count, TMode Mode, int Repeats) {
    TOwned<TComponent> owner = MakeOwned<TComponent>(nullptr);
    auto* root = Create<TBarRootItem>(owner.get());
    for (int i = 0; i < Count; ++i) {
        auto* item = Create<TBarCustomItem>(owner.get());
        item->SetCaption(Caption(i));
        root->Add(item);
    }
    auto* chevron = Create<TBarChevronItem>(owner.get());
    auto* view = Create<TBarToolbarView>(owner.get(), nullptr, root, nullptr, true, false, true);
    view->SetChevronItem(chevron);
    view->RecreateAllViewers();
    const int wrap = Mode == mdWrapped ? BarLength : 0;
    const int chevronOffset = Mode == mdChevron ? BarLength : 0;
    const auto start = TClock::now();
    for (int r = 0; r < Repeats; ++r) {
        TSize base, total;
        int lines = 0;
        view->CalculatePositions(false, boHorizontal, wrap, chevronOffset, 12, base, total, lines);
    }
    return MicrosecondsSince(start) / Repeats;
}

// The common-controls toolbar: TB_AUTOSIZE lays the buttons out again; the
// width changes by one pixel each time so that nothing can be cached.
double PeerLayout(int Count, TMode Mode, int Repeats) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, BarLength, 600, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    DWORD style = WS_CHILD | TBSTYLE_LIST | CCS_NORESIZE | CCS_NODIVIDER;
    if (Mode == mdWrapped) style |= TBSTYLE_WRAPABLE;
    HWND bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", style, 0, 0, BarLength, 600, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    std::vector<std::wstring> texts;
    for (int i = 0; i < Count; ++i) {
        const std::string caption = Caption(i);
        texts.emplace_back(caption.begin(), caption.end());
    }
    std::vector<TBBUTTON> buttons(static_cast<size_t>(Count));
    for (int i = 0; i < Count; ++i) {
        TBBUTTON& b = buttons[static_cast<size_t>(i)];
        b.iBitmap = I_IMAGENONE;
        b.idCommand = 100 + i;
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        b.iString = reinterpret_cast<INT_PTR>(texts[static_cast<size_t>(i)].c_str());
    }
    SendMessageW(bar, TB_ADDBUTTONSW, static_cast<WPARAM>(Count), reinterpret_cast<LPARAM>(buttons.data()));
    const auto start = TClock::now();
    for (int r = 0; r < Repeats; ++r) {
        SetWindowPos(bar, nullptr, 0, 0, BarLength + (r & 1), 600, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(bar, TB_AUTOSIZE, 0, 0);
        RECT last;
        SendMessageW(bar, TB_GETITEMRECT, static_cast<WPARAM>(Count - 1), reinterpret_cast<LPARAM>(&last));
    }
    const double result = MicrosecondsSince(start) / Repeats;
    DestroyWindow(parent);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    Application->Initialize();
    std::printf("%-8s %6s %14s %14s %8s\n", "layout", "items", "ours (us)", "toolbar (us)", "ratio");
    double ours[3][3] = {};
    const int counts[] = {10, 100, 1000};
    for (int m = mdPlain; m <= mdChevron; ++m)
        for (int c = 0; c < 3; ++c) {
            const int count = counts[c];
            const int repeats = bench::IsShort() ? 1 : count >= 1000 ? 5 : count >= 100 ? 30 : 200;
            const auto mode = static_cast<TMode>(m);
            ours[m][c] = OurLayout(count, mode, repeats);
            const double peer = PeerLayout(count, mode == mdChevron ? mdPlain : mode, repeats);
            std::printf("%-8s %6d %14.1f %14.1f %8.2f\n", ModeNames[m], count, ours[m][c], peer,
                        ours[m][c] / peer);
        }
    // Growth from 100 to 1,000 items: about 10 for linear work, about 100 for
    // quadratic work. The chevron's share is its growth beside the plain one.
    for (int m = mdPlain; m <= mdChevron; ++m)
        std::printf("%-8s growth 100 -> 1000 items: %.1fx\n", ModeNames[m], ours[m][2] / ours[m][1]);
    return 0;
}
