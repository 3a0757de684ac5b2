// A small demo form, shown under Xvfb and captured from the screen once, so
// a person can look at what the class library draws.
#include "classlib/graphics/bitmap.h"
#include "tests/classlib/windows/window_test.h"

namespace {

class TDemoBox : public TCustomControl {
    VX_CLASS(TDemoBox, TCustomControl)
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(clWhite);
        c->FillRect(ClientRect());
        c->Pen()->SetColor(clNavy);
        c->Brush()->SetColor(clSkyBlue);
        c->RoundRect(10, 10, 110, 60, 12, 12);
        c->Brush()->SetColor(clMoneyGreen);
        c->Ellipse(120, 10, 200, 60);
        c->Font()->SetName("Tahoma");
        c->Font()->SetSize(10);
        c->Font()->SetStyle({fsBold});
        c->Brush()->SetStyle(bsClear);
        c->TextOut(12, 70, "Vexmora class library");
        TRect r = Rect(12, 90, 200, 110);
        c->Font()->SetStyle({});
        c->DrawText(L"Wide caption \u00e9\u00e8 \u20ac", r, DT_LEFT | DT_SINGLELINE);
        c->DrawFocusRect(Rect(8, 88, 204, 112));
    }
};

}  // namespace

using Demo = WindowTest;

TEST_F(Demo, DemoFormIsCapturedFromTheScreen) {
    TForm* form = NewForm(40, 40, 260, 200);
    form->SetCaption("Demo");
    auto* top = Create<TColorBox>(form);
    top->SetParent(form);
    top->SetAlign(alTop);
    top->SetHeight(24);
    top->SetColor(clNavy);
    auto* box = Create<TDemoBox>(form);
    box->SetParent(form);
    box->SetAlign(alClient);
    form->Show();
    SetForegroundWindow(form->Handle());
    PumpUntil([] { return false; }, 300);
    form->Repaint();
    Pump();

    RECT r{};
    GetWindowRect(form->Handle(), &r);
    TOwned<TBitmap> shot(Create<TBitmap>());
    shot->SetSize(r.right - r.left, r.bottom - r.top);
    {
        TWindowDC screen;
        BitBlt(shot->Canvas()->Handle(), 0, 0, shot->Width(), shot->Height(), screen.Get(), r.left, r.top,
               SRCCOPY);
    }
    shot->SaveToFile("demo_form.bmp");
    const TPoint navy = box->ClientToScreen(Point(0, -10));
    EXPECT_EQ(shot->PixelColor(navy.X - r.left + 5, navy.Y - r.top), clNavy);
    const TPoint sky = box->ClientToScreen(Point(50, 35));
    EXPECT_EQ(shot->PixelColor(sky.X - r.left, sky.Y - r.top), clSkyBlue);
}
