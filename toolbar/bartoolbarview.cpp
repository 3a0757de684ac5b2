// The toolbar view's side of its bar: the bar's minimums go into every
// layout, the layout runs inside the bar's arranging counter (so that the
// controls it moves do not arrange the bar again), and afterwards the bar
// takes the size of the result.
#include "toolbar/bartoolbar.h"

#include "toolbar/barcountin.h"

namespace {

// The toolbar this view serves; none while the toolbar is still making it.
TBarCustomToolbar* ToolbarOf(TBarView* View) {
    auto* bar = dynamic_cast<TBarCustomToolbar*>(View->Window());
    return bar && bar->View() == View ? bar : nullptr;
}

}  // namespace

void TBarToolbarView::DoUpdatePositions(TSize& ASize) {
    TBarCustomToolbar* bar = ToolbarOf(this);
    if (!bar) {
        inherited::DoUpdatePositions(ASize);
        return;
    }
    const TSize oldBase = bar->BaseSize();
    bar->LayoutMinimums(ASize);
    {
        TBarCountIn counted(bar->viewArranging_);
        inherited::DoUpdatePositions(ASize);
    }
    bar->LaidOut(ASize, oldBase);
}

void TBarToolbarView::AutoSize(int, int) {
    // The bar follows once the layout is complete (see DoUpdatePositions):
    // sizing it here would lay it out again from inside this layout.
    if (TBarCustomToolbar* bar = ToolbarOf(this)) bar->baseSize_ = BaseSize();
}

void TBarToolbarView::InvalidatePositions() {
    inherited::InvalidatePositions();
    if (TBarCustomToolbar* bar = ToolbarOf(this)) bar->ForgetArrangedSize();
}
