#include "foundation/zkdatarender.h"

#include "classlib/core/text.h"
#include "classlib/graphics/canvas.h"
#include "foundation/zkdataerrors.h"

void TZkDP_ProviderBaseRender::Execute() {
    if (flags_ & DT_CALCRECT)
        Measure();
    else
        Draw();
}

std::string TZkDP_ProviderTextOnlyRender::ItemText(IZkDataItem* Item) {
    if (TZkIntf<IZkDataItemText> text = ZkSupports<IZkDataItemText>(Item)) return text->Text();
    return ZkErrorNoTextInterface;
}

void TZkDP_ProviderTextOnlyRender::Draw() {
    Canvas()->TextRect(Rect(), Rect().Left, Rect().Top, ItemText(Item()));
}

void TZkDP_ProviderTextOnlyRender::Measure() {
    const TSize size = Canvas()->TextExtent(ItemText(Item()));
    Rect().Right = Rect().Left + size.cx;
    Rect().Bottom = Rect().Top + size.cy;
}

TZkIntf<IZkDataItem> TZkBaseDataItemsRenderer::ItemAt(int Index) {
    TZkBaseDataItems* items = Items();
    if (!items || Index < 0 || Index >= items->Count())
        throw EZKCLDataItems(Format(ZkErrorIndexOutOfBounds, Index));
    return items->Item(Index);
}

void TZkBaseDataItemsRenderer::DrawItem(int Index, TCanvas* Canvas, TRect& R, UINT Flags) {
    DrawItem(ItemAt(Index).get(), Canvas, R, Flags);
}

TSize TZkBaseDataItemsRenderer::MeasureItem(int Index, TCanvas* Canvas) {
    return MeasureItem(ItemAt(Index).get(), Canvas);
}

TSize TZkBaseDataItemsRenderer::MeasureItem(IZkDataItem* Item, TCanvas* Canvas) {
    TRect r(0, 0, 0, 0);
    DrawItem(Item, Canvas, r, DT_CALCRECT);
    return TSize{r.Right - r.Left, r.Bottom - r.Top};
}

void TZkCustomDataItemsTextRenderer::DrawItem(IZkDataItem* Item, TCanvas* Canvas, TRect& R, UINT Flags) {
    MakeOwned<TZkDP_ProviderTextOnlyRender>(Item, Canvas, R, Flags)->Execute();
}

TSize TZkCustomDataItemsTextRenderer::AverageItemSize(TCanvas* Canvas) {
    return Canvas->TextExtent(std::string("WyWyWyWyWyWyWyWyWyWy"));
}
