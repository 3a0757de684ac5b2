// A skinned toolbar's repaint against the same toolbar with no skin, as
// ratios measured in one run: the framework's plain toolbar and items, the
// skinned toolbar under the "Default" skin (system look) and under a
// gradient skin. Each repaint erases and paints the bar, frame included.
#include <chrono>
#include <cstdio>
#include <string>
#include <type_traits>

#include "bench/bench_args.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "skins/builtinskins.h"
#include "skins/sbdock.h"
#include "skins/sbitemsunit.h"
#include "skins/sbtoolbar.h"
#include "skins/skinmanager.h"

namespace {

using TClock = std::chrono::steady_clock;

double RepaintSeconds(TWinControl* Bar, int Count) {
    const auto start = TClock::now();
    for (int i = 0; i < Count; ++i)
        RedrawWindow(Bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    return std::chrono::duration<double>(TClock::now() - start).count();
}

template <class Dock, class Bar, class Item>
double Measure(const char* Skin, int Count) {
    SkinManager()->SetSkin(Skin);
    TOwned<TForm> form(Create<TForm>(nullptr, 0));
    form->SetBounds(0, 0, 600, 200);
    auto* dock = Create<Dock>(form.get());
    dock->SetParent(form.get());
    auto* bar = Create<Bar>(form.get());
    bar->SetCurrentDock(dock);
    bar->SetParent(dock);
    const char* captions[] = {"&Drives", "&Attributes", "&Monitor", "&Preferences", "&Chart", "A&bout"};
    for (int i = 0; i < 6; ++i) {
        auto* item = Create<Item>(form.get());
        if constexpr (std::is_base_of_v<TSbCustomItem, Item>) {
            const std::string ansi = captions[i];
            item->SetCaption(std::wstring(ansi.begin(), ansi.end()));
        } else {
            item->SetCaption(captions[i]);
        }
        if (i == 2) item->SetChecked(true);
        bar->Items()->Add(item);
    }
    bar->Arrange();
    form->Show();
    Application->ProcessMessages();
    RepaintSeconds(bar, 20);  // warm up: fonts, theme data
    double best = 1e30;
    for (int run = 0; run < bench::Rounds(5, 1); ++run) best = std::min(best, RepaintSeconds(bar, Count));
    return best / Count;
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    Application->Initialize();
    InitSkinsUnit();
    RegisterBuiltInSkins();
    InitSkinnedItemsUnit();
    const int count = bench::Rounds(200, 20);
    const double plain = Measure<TBarDock, TBarCustomToolbar, TBarCustomItem>("Default", count);
    const double systemLook = Measure<TSbDock, TSbToolbar, TSbItem>("Default", count);
    const double skinned = Measure<TSbDock, TSbToolbar, TSbItem>("Office 2007 Blue", count);
    std::printf("toolbar repaint, plain framework bar:      %8.1f us\n", plain * 1e6);
    std::printf("skinned bar, \"Default\" skin:              %8.1f us, ratio %5.2f\n", systemLook * 1e6,
                systemLook / plain);
    std::printf("skinned bar, \"Office 2007 Blue\" skin:     %8.1f us, ratio %5.2f\n", skinned * 1e6,
                skinned / plain);
    FinalizeSkinnedItemsUnit();
    FinalizeSkinsUnit();
    return 0;
}
