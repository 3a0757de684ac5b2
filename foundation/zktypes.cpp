#include "foundation/zktypes.h"

namespace {
struct DlgCodeBit {
    TDlgCode code;
    LRESULT bit;
};
constexpr DlgCodeBit kDlgCodeBits[] = {
    {dcWantAllKeys, DLGC_WANTALLKEYS}, {dcWantArrows, DLGC_WANTARROWS}, {dcWantChars, DLGC_WANTCHARS},
    {dcButton, DLGC_BUTTON},           {dcHasSetSel, DLGC_HASSETSEL},   {dcWantTab, DLGC_WANTTAB},
};
}  // namespace

TDlgCodes DlgCodesFromResult(LRESULT Result) {
    TDlgCodes codes;
    for (const auto& entry : kDlgCodeBits)
        if ((Result & entry.bit) == entry.bit) codes.Include(entry.code);
    return codes;
}

LRESULT DlgCodesToResult(TDlgCodes Codes) {
    LRESULT result = 0;
    for (const auto& entry : kDlgCodeBits)
        if (Codes.Contains(entry.code)) result |= entry.bit;
    return result;
}

void TZkPersistentProperty::BeginUpdate() {
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TZkPersistentProperty::EndUpdate() {
    if (updateCount_ <= 0) return;
    if (--updateCount_ == 0) SetUpdateState(false);
}

void TZkPersistentProperty::SetUpdateState(bool Updating) {
    if (Updating)
        Changing();
    else
        Changed();
}

void TZkPersistentProperty::Changing() {
    if (updateCount_ == 0 && Assigned(OnChanging)) OnChanging(this);
}

void TZkPersistentProperty::Changed() {
    if (updateCount_ == 0 && Assigned(OnChange)) OnChange(this);
}

void TZkPersistentProperty::ChangingProperty(const std::string& Name) {
    if (Assigned(OnChangingProperty)) OnChangingProperty(this, Name);
}

void TZkPersistentProperty::ChangedProperty(const std::string& Name) {
    if (Assigned(OnChangedProperty)) OnChangedProperty(this, Name);
}

void TZkHotTrackOptions::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TZkHotTrackOptions*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    BeginUpdate();
    try {
        SetEnabled(source->Enabled());
        SetColor(source->Color());
        SetFrameVisible(source->FrameVisible());
        SetFrameColor(source->FrameColor());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

namespace zk_detail {
LPARAM KeyDataFromShift(TShiftState Shift) {
    LPARAM data = 0;
    if (Shift.Contains(ssShift)) data |= 0x08000000;
    if (Shift.Contains(ssAlt)) data |= 0x20000000;
    if (Shift.Contains(ssCtrl)) data |= 0x10000000;
    return data;
}

LRESULT DeniesSubclassing(const TObject* Object) {
    return dynamic_cast<const IZkDenySubclassing*>(Object) ? 1 : 0;
}
}  // namespace zk_detail
