// Times repainting a form in the skinned frame (title bar with its caption
// row and frame, status bar with a label) under "Office 2007 Blue" against
// the same form with the title bar switched off, at its normal size and
// maximised over a 1920 x 1080 work area; prints the ratios.
#include <chrono>
#include <cstdio>

#include "bench/bench_args.h"
#include "classlib/services/systemsettings.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "skins/builtinskins.h"
#include "skins/sbitemsunit.h"
#include "skins/sbstatusbar.h"
#include "skins/sbtitlebar.h"
#include "skins/skinmanager.h"

namespace {

using TClock = std::chrono::steady_clock;

// A 1920 x 1080 work area whatever the display.
class TWideSettings : public TSystemSettings {
public:
    int Metric(int Index) override { return GetSystemMetrics(Index); }
    bool ParametersInfo(UINT Action, UINT Param, void* Data, UINT WinIni) override {
        if (Action == SPI_GETWORKAREA) {
            *static_cast<RECT*>(Data) = RECT{0, 0, 1920, 1080};
            return true;
        }
        return SystemParametersInfoA(Action, Param, Data, WinIni);
    }
};

double TimeRepaints(TForm* Form, int Count) {
    const auto start = TClock::now();
    for (int i = 0; i < Count; ++i)
        RedrawWindow(Form->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

struct TFramedForm {
    TForm* Form;
    TSbTitleBar* Title;
};

TFramedForm MakeForm() {
    TForm* form = Create<TForm>(nullptr, 0);
    form->SetBounds(50, 50, 700, 480);
    TSbTitleBar* title = Create<TSbTitleBar>(form);
    title->SetParent(form);
    title->SetCaption(L"Zantipelle Vexmora Ultimate ");
    TSbStatusBar* status = Create<TSbStatusBar>(form);
    status->SetParent(title);
    TSbLabelItem* label = Create<TSbLabelItem>(form);
    label->SetCaption(L"Vexmora watches the S.M.A.R.T. health of your disks");
    status->Items()->Add(label);
    title->Loaded();
    form->Show();
    Application->ProcessMessages();
    return {form, title};
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    Application->Initialize();
    InitSkinsUnit();
    RegisterBuiltInSkins();
    InitSkinnedItemsUnit();
    SkinManager()->SetSkin("Office 2007 Blue");
    TWideSettings wide;
    TServiceOverride<TSystemSettings> use(wide);
    const int Count = bench::Rounds(300, 10);

    TFramedForm framed = MakeForm();
    TFramedForm plain = MakeForm();
    plain.Title->SetActive(false);
    Application->ProcessMessages();
    TimeRepaints(framed.Form, 20);  // warm caches and fonts
    TimeRepaints(plain.Form, 20);
    double skinned = 0, inactive = 0;
    for (int round = 0; round < 3; ++round) {
        skinned += TimeRepaints(framed.Form, Count);
        inactive += TimeRepaints(plain.Form, Count);
    }
    std::printf("normal size: skinned frame %.3f ms, title bar off %.3f ms per repaint, ratio %.2f\n",
                skinned / (3 * Count), inactive / (3 * Count), skinned / inactive);

    framed.Title->SetWindowState(swsMaximized);
    plain.Title->SetWindowState(swsMaximized);
    Application->ProcessMessages();
    RECT r{};
    GetWindowRect(framed.Form->Handle(), &r);
    skinned = inactive = 0;
    for (int round = 0; round < 3; ++round) {
        skinned += TimeRepaints(framed.Form, Count);
        inactive += TimeRepaints(plain.Form, Count);
    }
    std::printf(
        "maximised (%ld x %ld): skinned frame %.3f ms, title bar off %.3f ms per repaint, ratio %.2f\n",
        r.right - r.left, r.bottom - r.top, skinned / (3 * Count), inactive / (3 * Count),
        skinned / inactive);

    framed.Form->Free();
    plain.Form->Free();
    Application->ProcessMessages();
    FinalizeSkinnedItemsUnit();
    FinalizeSkinsUnit();
    return 0;
}
