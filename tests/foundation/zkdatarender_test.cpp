// The text renderer: an item's text painted into a bitmap within the size
// it measures, the note for an item without text, and list indices.
#include <gtest/gtest.h>

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/canvas.h"
#include "foundation/zkdataerrors.h"
#include "tests/foundation/zkdata_test_provider.h"

namespace {

class TextRenderer : public ::testing::Test {
protected:
    void SetUp() override {
        bitmap->SetSize(400, 40);
        canvas = bitmap->Canvas();
        canvas->Font()->SetColor(clBlack);
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(TRect(0, 0, 400, 40));
        renderer = ZkSupports<IZkDataItemsRenderer>(provider->items);
    }
    // Columns holding a pixel that is not white.
    std::pair<int, int> InkedColumns() {
        int first = -1;
        int last = -1;
        for (int x = 0; x < bitmap->Width(); ++x)
            for (int y = 0; y < bitmap->Height(); ++y)
                if (bitmap->PixelColor(x, y) != clWhite) {
                    if (first < 0) first = x;
                    last = x;
                }
        return {first, last};
    }

    TOwned<TTestProvider> provider{Create<TTestProvider>(nullptr)};
    TOwned<TBitmap> bitmap{Create<TBitmap>()};
    TCanvas* canvas = nullptr;
    TZkIntf<IZkDataItemsRenderer> renderer;
};

TEST_F(TextRenderer, DrawsTheItemTextWithinItsMeasuredSize) {
    provider->AddItem("Disk 0 is healthy");
    const TSize size = renderer->MeasureItem(0, canvas);
    EXPECT_EQ(size, canvas->TextExtent(std::string("Disk 0 is healthy")));
    TRect r(10, 5, 390, 35);
    renderer->DrawItem(0, canvas, r, 0);
    const auto [first, last] = InkedColumns();
    ASSERT_GE(first, 10);
    EXPECT_LT(last, 10 + size.cx);
    // Text, not a sliver: ink spans most of the measured width.
    EXPECT_GT(last - first, size.cx / 2);
}

TEST_F(TextRenderer, AnItemWithoutTextShowsANote) {
    TZkBaseDataItem* bare = provider->items->CreateItem(TZkBaseDataItem::ClassInfo());
    TRect r(0, 0, 0, 0);
    renderer->DrawItem(bare, canvas, r, DT_CALCRECT);
    const TSize note =
        canvas->TextExtent(std::string("(item does not support the IZkDataItemText interface)"));
    EXPECT_EQ(r, TRect(0, 0, note.cx, note.cy));
    // Measuring draws nothing.
    EXPECT_EQ(InkedColumns().first, -1);
}

TEST_F(TextRenderer, AverageSizeIsThatOfTenWyPairs) {
    EXPECT_EQ(renderer->AverageItemSize(canvas), canvas->TextExtent(std::string("WyWyWyWyWyWyWyWyWyWy")));
}

TEST_F(TextRenderer, AnIndexOutsideTheListIsRefused) {
    provider->AddItem("Only");
    TRect r(0, 0, 10, 10);
    for (int index : {-1, 1}) {
        try {
            renderer->DrawItem(index, canvas, r, 0);
            ADD_FAILURE() << index;
        } catch (const EZKCLDataItems& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(index) + ")");
        }
    }
}

}  // namespace
