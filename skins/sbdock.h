// `TSbDock`: a dock painted by the current skin (or in a colour of its own)
// that repaints on skin changes and keeps its bars' embedded controls from
// flickering when it is resized.
#pragma once

#include "classlib/graphics/canvas.h"
#include "toolbar/bardock.h"

enum TSbDrawStage2 { sdbBefore, sdbAfter };
// Called before and after the default background; clearing PaintDefault
// before skips it.
using TSbDrawBackgroundEvent = TDelegate<void(TObject* Sender, TCanvas* Canvas, const TRect& ARect,
                                              TSbDrawStage2 Stage, bool& PaintDefault)>;

class TSbDock : public TBarDock {
    VX_CLASS(TSbDock, TBarDock)
public:
    explicit TSbDock(TComponent* AOwner);
    void AfterConstruction() override;
    void BeforeDestruction() override;

    // Color: clNone (the default) paints by the skin.
    TSbDrawBackgroundEvent OnDrawBackground;

    void DrawBackground(HDC DC, const TRect& DrawRect) override;
    bool UsingBackground() override { return true; }
    void WndProc(TMessage& Message) override;

    // Backgrounds painted so far (tests of the skin-change repaint).
    int PaintCount() const { return paintCount_; }

private:
    void Resized();

    int oldWidth_ = 0, oldHeight_ = 0;
    int paintCount_ = 0;
};
