#include "skins/sbitemsunit.h"

#include "classlib/windows/screen.h"
#include "skins/sbitem.h"
#include "skins/sbtitlebar.h"
#include "skins/sbtoolbar.h"
#include "skins/skinmanager.h"

namespace {

struct TItemsUnit {
    TOwned<TFont> SmallCaptionFont;
    TOwned<TBitmap> HintBitmap;
    TOwned<TImageList> GlyphMarkers;
};

TItemsUnit& Unit() {
    static TItemsUnit unit;
    return unit;
}

// The program's own cursor when its resources carry one, else the nearest
// system cursor (shared, so the screen never destroys it).
HCURSOR LoadDragCursor(const char* Name, LPCSTR Fallback) {
    if (HCURSOR own = LoadCursorA(GetModuleHandleA(nullptr), Name)) return own;
    return LoadCursorA(nullptr, Fallback);
}

}  // namespace

void InitSkinnedItemsUnit() {
    TItemsUnit& unit = Unit();
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    unit.SmallCaptionFont = MakeOwned<TFont>();
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        unit.SmallCaptionFont->SetHandle(CreateFontIndirectA(&metrics.lfSmCaptionFont));
    unit.HintBitmap = MakeOwned<TBitmap>();
    if (Screen) unit.HintBitmap->Canvas()->SetFont(Screen->HintFont());
    unit.GlyphMarkers = MakeOwned<TImageList>(nullptr);
    if (Screen) {
        Screen->SetCursors(crSbDragMove, LoadDragCursor("CZMOVE", IDC_SIZEALL));
        Screen->SetCursors(crSbDragCancel, LoadDragCursor("CZCANCEL", IDC_NO));
    }
    TSbCustomItem::PublishProperties();
    TSbToolbar::PublishProperties();
    TSbCustomTitleBar::PublishProperties();
}

void FinalizeSkinnedItemsUnit() {
    TItemsUnit& unit = Unit();
    unit.GlyphMarkers.reset();
    unit.HintBitmap.reset();
    unit.SmallCaptionFont.reset();
}

TFont* SbSmallCaptionFont() {
    return Unit().SmallCaptionFont.get();
}

TBitmap* SbHintBitmap() {
    return Unit().HintBitmap.get();
}

TCustomImageList* SbGlyphMarkerList() {
    return Unit().GlyphMarkers.get();
}

TSbMenuItemMetrics SbCachedMenuItemMetrics() {
    std::shared_ptr<TSbSkinOptions> skin = CurrentSkin();
    return skin ? skin->GetMenuItemMetrics() : TSbMenuItemMetrics{};
}
