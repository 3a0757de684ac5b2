// Times the group bar's layout of 4 groups with 200 items each against plain
// word-wrapped measuring of the same captions in the same font, and adding
// 1,000 items one by one against adding them inside BeginUpdate and against
// adding 250 one by one (a re-measure of every item on each add would make
// the cost per item grow with the count); prints the ratios.
#include <chrono>
#include <cstdio>
#include <string>

#include "bench/bench_args.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "controls/scgroup.h"
#include "controls/scgroupbar.h"

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

TScGroup* AddGroup(TForm* Form, TScGroupBar* Bar, int Items) {
    TScGroup* group = Create<TScGroup>(Form);
    group->SetCaption("Drives");
    group->Items()->BeginUpdate();
    for (int i = 0; i < Items; ++i) group->Items()->Add()->SetCaption("Physical drive " + std::to_string(i));
    group->Items()->EndUpdate();
    group->SetGroupBar(Bar);
    group->SetOpened(true);
    return group;
}

// Adds Count items to a fresh group, one by one or inside one update.
double TimeAdding(TForm* Form, TScGroupBar* Bar, int Count, bool Batched) {
    TScGroup* group = AddGroup(Form, Bar, 0);
    const auto start = TClock::now();
    if (Batched) group->Items()->BeginUpdate();
    for (int i = 0; i < Count; ++i) group->Items()->Add()->SetCaption("Item " + std::to_string(i));
    if (Batched) group->Items()->EndUpdate();
    const double ms = MillisecondsSince(start);
    group->Free();
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    Application->Initialize();
    TOwned<TForm> form(Create<TForm>(nullptr, 0));
    form->SetBounds(0, 0, 300, 600);
    TScGroupBar* bar = Create<TScGroupBar>(form.get());
    bar->SetParent(form.get());
    form->Show();
    Application->ProcessMessages();

    const int Groups = 4, Items = bench::Rounds(200, 20), Rounds = bench::Rounds(20, 2);
    for (int g = 0; g < Groups; ++g) AddGroup(form.get(), bar, Items);

    // A width change measures every item again; an unchanged bar reuses
    // the measures.
    auto start = TClock::now();
    for (int i = 0; i < Rounds; ++i) bar->SetWidth(160 + (i & 1));
    const double remeasured = MillisecondsSince(start) / Rounds;
    start = TClock::now();
    for (int i = 0; i < Rounds; ++i) bar->UpdateGroups(nullptr);
    const double unchanged = MillisecondsSince(start) / Rounds;

    // The peer: the same captions measured word-wrapped in the same font and width.
    TOwned<TBitmap> measure(Create<TBitmap>());
    measure->SetSize(1, 1);
    TCanvas* canvas = measure->Canvas();
    canvas->Font()->Assign(bar->GetGroup(0)->Font());
    const int width = bar->GetGroup(0)->Width() - 16;
    start = TClock::now();
    for (int i = 0; i < Rounds; ++i)
        for (int g = 0; g < Groups; ++g)
            for (int n = 0; n < Items; ++n) {
                TRect r(0, 0, width, 0);
                canvas->DrawText("Physical drive " + std::to_string(n), r, DT_CALCRECT | DT_WORDBREAK);
            }
    const double measuring = MillisecondsSince(start) / Rounds;
    std::printf(
        "layout of %d groups x %d items against plain measuring of their captions: "
        "all measured again %.2f, unchanged %.2f\n",
        Groups, Items, remeasured / measuring, unchanged / measuring);

    // One by one, each add lays the bar out; per item that cost must not
    // grow with the count (4 times the items would give 4 times the cost
    // per item if each add measured every item again).
    const int few = bench::Rounds(250, 25), many = 4 * few;
    const double small = TimeAdding(form.get(), bar, few, false) / few;
    const double large = TimeAdding(form.get(), bar, many, false) / many;
    const double batched = TimeAdding(form.get(), bar, many, true) / many;
    std::printf("adding items one by one, cost per item at 1000 against at 250: %.2f\n", large / small);
    std::printf("adding 1000 items one by one against inside BeginUpdate: %.1f\n", large / batched);
    return 0;
}
