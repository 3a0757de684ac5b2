#include "controls/scglyphs.h"

#include <array>

#include "classlib/core/exceptions.h"

namespace {
const TBitBtnKindInfo kinds[BitBtnKindCount] = {
    {nullptr, mrNone, ""},
    {"SCCOMMON_OK", mrOk, "OK"},
    {"SCCOMMON_CANCEL", mrCancel, "Cancel"},
    {"SCCOMMON_HELP", mrNone, "&Help"},
    {"SCCOMMON_YES", mrYes, "&Yes"},
    {"SCCOMMON_NO", mrNo, "&No"},
    {"SCCOMMON_CLOSE", mrNone, "&Close"},
    {"SCCOMMON_ABORT", mrAbort, "Abort"},
    {"SCCOMMON_RETRY", mrRetry, "&Retry"},
    {"SCCOMMON_IGNORE", mrIgnore, "&Ignore"},
    {"SCCOMMON_ALL", mrAll, "&All"},
};

std::array<TOwned<TBitmap>, BitBtnKindCount>& Cache() {
    static std::array<TOwned<TBitmap>, BitBtnKindCount> cache;
    return cache;
}
}  // namespace

const TBitBtnKindInfo& BitBtnKindInfo(TBitBtnKind Kind) {
    const int index = static_cast<int>(Kind);
    return kinds[index >= 0 && index < BitBtnKindCount ? index : 0];
}

TBitmap* GetKindGlyph(int Kind) {
    const int index = Kind & 0x7F;
    if (index == bkCustom || index >= BitBtnKindCount) return nullptr;
    TOwned<TBitmap>& slot = Cache()[static_cast<size_t>(index)];
    if (!slot) {
        TOwned<TBitmap> glyph(Create<TBitmap>());
        try {
            glyph->LoadFromResourceName(GetModuleHandleW(nullptr), kinds[index].Resource);
        } catch (const EResNotFound&) {
            // A program built without the glyphs still shows the caption.
        }
        slot = std::move(glyph);
    }
    return slot.get();
}
