// Drawing and measuring the items of a list: the renderer extensions of an
// item list and the one-job render objects they use; the text renderer
// draws an item's text in a rectangle and measures it by its extent.
#pragma once

#include <string>

#include "foundation/zkdataitems.h"

// One drawing or measuring job for an item on a canvas; measuring (Flags
// holding DT_CALCRECT) sets R's size and keeps its top left corner.
class TZkDP_ProviderBaseRender : public TObject {
    VX_CLASS(TZkDP_ProviderBaseRender, TObject)
public:
    TZkDP_ProviderBaseRender(IZkDataItem* Item, TCanvas* Canvas, TRect& R, UINT Flags)
        : item_(Item), canvas_(Canvas), rect_(R), flags_(Flags) {}
    void Execute();

protected:
    virtual void Draw() = 0;
    virtual void Measure() = 0;
    IZkDataItem* Item() const { return item_; }
    TCanvas* Canvas() const { return canvas_; }
    TRect& Rect() const { return rect_; }
    UINT Flags() const { return flags_; }

private:
    IZkDataItem* item_;
    TCanvas* canvas_;
    TRect& rect_;
    UINT flags_;
};

class TZkDP_ProviderTextOnlyRender : public TZkDP_ProviderBaseRender {
    VX_CLASS(TZkDP_ProviderTextOnlyRender, TZkDP_ProviderBaseRender)
public:
    using TZkDP_ProviderBaseRender::TZkDP_ProviderBaseRender;
    // The item's text, or a note that it has none to offer.
    static std::string ItemText(IZkDataItem* Item);

protected:
    void Draw() override;
    void Measure() override;
};

class TZkBaseDataItemsRenderer : public TZkDataItemsAggregatedObject, public virtual IZkDataItemsRenderer {
    VX_CLASS(TZkBaseDataItemsRenderer, TZkDataItemsAggregatedObject)
public:
    using TZkDataItemsAggregatedObject::TZkDataItemsAggregatedObject;
    // Raise EZKCLDataItems "List index out of bounds (%d)" for an index
    // outside the list.
    void DrawItem(int Index, TCanvas* Canvas, TRect& R, UINT Flags) override;
    TSize MeasureItem(int Index, TCanvas* Canvas) override;
    void DrawItem(IZkDataItem* Item, TCanvas* Canvas, TRect& R, UINT Flags) override = 0;
    TSize MeasureItem(IZkDataItem* Item, TCanvas* Canvas) override;

private:
    TZkIntf<IZkDataItem> ItemAt(int Index);
};

class TZkCustomDataItemsTextRenderer : public TZkBaseDataItemsRenderer {
    VX_CLASS(TZkCustomDataItemsTextRenderer, TZkBaseDataItemsRenderer)
public:
    using TZkBaseDataItemsRenderer::DrawItem;
    using TZkBaseDataItemsRenderer::TZkBaseDataItemsRenderer;
    void DrawItem(IZkDataItem* Item, TCanvas* Canvas, TRect& R, UINT Flags) override;
    // The extent of "WyWyWyWyWyWyWyWyWyWy".
    TSize AverageItemSize(TCanvas* Canvas) override;
};
