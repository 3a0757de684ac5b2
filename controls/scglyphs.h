// The standard kinds of styled bit buttons (OK, Cancel, Help, ...) with
// their modal results and captions, and the process-wide cache of their
// glyphs, loaded from the program's "SCCOMMON_" bitmap resources.
#pragma once

#include <string>

#include "classlib/graphics/bitmap.h"
#include "classlib/windows/forms.h"

enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};
constexpr int BitBtnKindCount = bkAll + 1;

struct TBitBtnKindInfo {
    const char* Resource;  // null for bkCustom
    TModalResult ModalResult;
    const char* Caption;
};
const TBitBtnKindInfo& BitBtnKindInfo(TBitBtnKind Kind);

// The kind's glyph, loaded on first use and shared by every button; null for
// bkCustom and for a number outside the kinds. A resource missing from the
// program gives an empty glyph.
TBitmap* GetKindGlyph(int Kind);
