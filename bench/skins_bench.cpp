// Skin costs as ratios against a peer measured in the same run:
// - a skin switch (SetSkin with its broadcast) to 10, 100 and 1,000
//   registered windowed controls, each of which invalidates its window on
//   the message, against invalidating the same windows without a switch;
//   the ratio settles as the count grows when the broadcast cost is linear
//   (the fixed part is building the new skin);
// - LoadFromStrings of a full skin against reading the same text into the
//   INI object.
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/bench_args.h"
#include "classlib/core/inifiles.h"
#include "classlib/windows/forms.h"
#include "skins/builtinskins.h"
#include "skins/skinmanager.h"

namespace {

using TClock = std::chrono::steady_clock;

class TSkinnedWindow : public TWinControl {
    VX_CLASS(TSkinnedWindow, TWinControl)
public:
    explicit TSkinnedWindow(TComponent* AOwner) : TWinControl(AOwner) {}
    void BeforeDestruction() override {
        RemoveSkinNotification(this);
        inherited::BeforeDestruction();
    }

protected:
    void WndProc(TMessage& Message) override {
        if (Message.Msg == SM_SKINCHANGE) {
            Invalidate();
            return;
        }
        inherited::WndProc(Message);
    }
};

// Best time in seconds of `runs` calls of `work`, each after `prepare`.
template <class Prepare, class Work>
double Best(int runs, Prepare prepare, Work work) {
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        prepare();
        const auto start = TClock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(TClock::now() - start).count());
    }
    return best;
}

void SwitchAgainstInvalidate(int count) {
    TOwned<TForm> form(Create<TForm>(nullptr, 0));
    form->SetBounds(0, 0, 400, 300);
    std::vector<TSkinnedWindow*> windows;
    for (int i = 0; i < count; ++i) {
        auto* window = Create<TSkinnedWindow>(form.get());
        window->SetParent(form.get());
        window->SetBounds(i % 40 * 10, i / 40 * 10, 10, 10);
        window->HandleNeeded();
        SkinManager()->AddSkinNotification(window);
        windows.push_back(window);
    }
    form->Show();
    auto validate = [&] {
        for (TSkinnedWindow* window : windows) ValidateRect(window->Handle(), nullptr);
    };
    const int runs = bench::Rounds(20, 2);
    bool blue = false;
    const double switching = Best(runs, validate, [&] {
        blue = !blue;
        SkinManager()->SetSkin(blue ? "Office 2007 Blue" : "Office 2007 Black");
    });
    const double invalidating = Best(runs, validate, [&] {
        for (TSkinnedWindow* window : windows) window->Invalidate();
    });
    std::printf(
        "skin switch to %5d windows: %9.1f us, invalidating them: %9.1f us, ratio %6.2f, %.2f us a window\n",
        count, switching * 1e6, invalidating * 1e6, switching / invalidating, switching * 1e6 / count);
}

void LoadAgainstIni() {
    TOwned<TSbSkinOptions> skin(Create<TSbOffice2007BlueSkin>());
    TOwned<TStringList> text = MakeOwned<TStringList>();
    skin->SaveToStrings(text.get());
    const int runs = bench::Rounds(50, 5);
    const double loading = Best(
        runs, [] {}, [&] { skin->LoadFromStrings(text.get()); });
    const double reading = Best(
        runs, [] {},
        [&] {
            TOwned<TMemIniFile> ini = MakeOwned<TMemIniFile>();
            ini->SetStrings(text.get());
        });
    std::printf(
        "LoadFromStrings of a full skin (%d lines): %.1f us, into the INI object: %.1f us, ratio %.2f\n",
        text->Count(), loading * 1e6, reading * 1e6, loading / reading);
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    try {
        InitSkinsUnit();
        RegisterBuiltInSkins();
        for (int count : {10, 100, 1000})
            if (!bench::IsShort() || count <= 100) SwitchAgainstInvalidate(count);
        LoadAgainstIni();
        FinalizeSkinsUnit();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "skins_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
