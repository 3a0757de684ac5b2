// Panels and group boxes: their children are aligned inside the frame and
// caption, which are painted around them.
#include "classlib/stdctrls/panels.h"

#include "tests/classlib/stdctrls/stdctrls_test.h"

using namespace stdctrls_test;

using Panels = WindowTest;

TEST_F(Panels, ChildrenAlignInsideTheFrame) {
    TForm* form = NewForm(40, 40, 400, 300);
    auto* panel = Create<TPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 200, 100);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(3);
    auto* inPanel = Create<TPanel>(form);
    inPanel->SetParent(panel);
    inPanel->SetAlign(alClient);
    EXPECT_EQ(inPanel->BoundsRect(), Rect(5, 5, 195, 95)) << "bevel, border and bevel";

    auto* box = Create<TGroupBox>(form);
    box->SetParent(form);
    box->SetBounds(0, 120, 200, 100);
    box->SetCaption("Monitor Drive");
    auto* inBox = Create<TPanel>(form);
    inBox->SetParent(box);
    inBox->SetAlign(alClient);
    TWindowDC screen;
    TSelectObject select(screen.Get(), box->Font()->Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.Get(), &metrics);
    EXPECT_EQ(inBox->Top(), metrics.tmHeight + 2) << "below the caption";
    EXPECT_EQ(inBox->Left(), 2);

    // The caption's height is remembered per font: a larger one moves the
    // children down, and the first comes back with its own height.
    box->Font()->SetSize(20);
    TSelectObject larger(screen.Get(), box->Font()->Handle());
    TEXTMETRICW largeMetrics{};
    GetTextMetricsW(screen.Get(), &largeMetrics);
    ASSERT_GT(largeMetrics.tmHeight, metrics.tmHeight);
    EXPECT_EQ(inBox->Top(), largeMetrics.tmHeight + 2);
    box->Font()->Assign(form->Font());
    EXPECT_EQ(inBox->Top(), metrics.tmHeight + 2);
}

TEST_F(Panels, ThePanelPaintsItsBevelAndColour) {
    TForm* form = NewForm(40, 40, 300, 200);
    auto* panel = Create<TPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 50);
    panel->SetColor(clAqua);
    form->Show();
    Pump();
    TOwned<TBitmap> shot = CaptureClient(panel->Handle());
    EXPECT_EQ(ColorToRGB(shot->PixelColor(0, 0)), ColorToRGB(clBtnHighlight)) << "raised: light top-left";
    EXPECT_EQ(ColorToRGB(shot->PixelColor(99, 49)), ColorToRGB(clBtnShadow));
    EXPECT_EQ(ColorToRGB(shot->PixelColor(5, 5)), ColorToRGB(clAqua));
}
