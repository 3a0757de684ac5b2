// No handle growth: forms with children made and freed many times, and
// canvases drawn on many times, leave the counts where they started.
#include "classlib/graphics/handles.h"
#include "tests/classlib/windows/window_test.h"

using Leaks = WindowTest;

namespace {

// One cycle: a form with a panel, a windowed and a graphic child, all with
// windows and fonts, then freed. Host, when set, holds the form as a child
// window (top-level windows cost Wine an X window each).
void FormCycle(TForm* host, int i) {
    TOwned<TForm> form(Create<TForm>(nullptr, 0));
    if (host) form->SetParent(host);
    auto* panel = Create<TColorBox>(form.get());
    panel->SetParent(form.get());
    panel->SetAlign(alClient);
    auto* shape = Create<TColorShape>(form.get());
    shape->SetParent(panel);
    auto* inner = Create<TWinControl>(form.get());
    inner->SetParent(panel);
    inner->Font()->SetStyle({fsBold});
    form->HandleNeeded();
    inner->HandleNeeded();
    if (i % 100 == 0) form->Canvas()->TextOut(0, 0, "x");
}

}  // namespace

TEST_F(Leaks, TenThousandFormsWithChildrenLeaveNoHandles) {
    TForm* host = NewForm();
    host->HandleNeeded();
    const long gdi = GdiHandleCount();
    const long user = UserHandleCount();
    DWORD start = GetTickCount();
    for (int i = 0; i < 10000; ++i) FormCycle(host, i);
    EXPECT_EQ(UserHandleCount(), user);
    EXPECT_EQ(GdiHandleCount(), gdi);
    std::printf("10000 embedded form cycles: %lu ms\n", GetTickCount() - start);
    start = GetTickCount();
    for (int i = 0; i < 300; ++i) FormCycle(nullptr, i);
    EXPECT_EQ(UserHandleCount(), user);
    EXPECT_EQ(GdiHandleCount(), gdi);
    std::printf("300 top-level form cycles: %lu ms\n", GetTickCount() - start);
}
