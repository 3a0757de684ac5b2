#include "classlib/stdctrls/label.h"

#include "classlib/graphics/handles.h"
#include "classlib/windows/accelerators.h"

TCustomLabel::TCustomLabel(TComponent* AOwner) : inherited(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque, csReplicatable});
    SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    if (Value == alignment_) return;
    alignment_ = Value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
    if (Value == autoSize_) return;
    autoSize_ = Value;
    AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
    if (Value == focusControl_) return;
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    if (Value == layout_) return;
    layout_ = Value;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
    if (Value == showAccelChar_) return;
    showAccelChar_ = Value;
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool Value) {
    if (Value == Transparent()) return;
    TControlStyle style = ControlStyle();
    if (Value)
        style.Exclude(csOpaque);
    else
        style.Include(csOpaque);
    SetControlStyle(style);
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
    if (Value == wordWrap_) return;
    wordWrap_ = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::Loaded() {
    inherited::Loaded();
    AdjustBounds();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CM_TEXTCHANGED:
            Invalidate();
            AdjustBounds();
            return;
        case CM_FONTCHANGED:
            inherited::WndProc(Message);
            AdjustBounds();
            return;
        case CM_DIALOGCHAR:
            if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(Message.CharCode(), GetLabelText()) &&
                focusControl_->CanFocus()) {
                focusControl_->SetFocus();
                Message.Result = 1;
            }
            return;
        default:
            inherited::WndProc(Message);
    }
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
    std::wstring text = GetLabelText();
    // An empty label (or a lone accelerator mark) still measures one line.
    if ((Flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == L"&"))) text = L" ";
    if (!showAccelChar_) Flags |= DT_NOPREFIX;
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    if (Enabled() || (Flags & DT_CALCRECT)) {
        canvas->DrawText(text, Rect, Flags);
        return;
    }
    TRect shadow = OffsetRect(Rect, 1, 1);
    canvas->Font()->SetColor(clBtnHighlight);
    canvas->DrawText(text, shadow, Flags);
    canvas->Font()->SetColor(clBtnShadow);
    canvas->DrawText(text, Rect, Flags);
}

void TCustomLabel::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    if (!Transparent()) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(client);
    }
    canvas->Brush()->SetStyle(bsClear);
    const UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | AlignmentToDrawTextFlags(alignment_);
    TRect rect = client;
    if (layout_ != tlTop) {
        TRect measured = rect;
        DoDrawText(measured, flags | DT_CALCRECT);
        const int spare = rect.Height() - measured.Height();
        rect.Top += layout_ == tlBottom ? spare : spare / 2;
    }
    DoDrawText(rect, flags);
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
    TRect rect = ClientRect();
    {
        // Measured on the screen: the label may have no window to draw on yet.
        TWindowDC screen;
        if (auto* canvas = dynamic_cast<TControlCanvas*>(Canvas())) canvas->FreeHandle();
        Canvas()->SetHandle(screen.Get());
        try {
            DoDrawText(rect, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0) |
                                 AlignmentToDrawTextFlags(alignment_));
        } catch (...) {
            Canvas()->SetHandle(nullptr);
            throw;
        }
        Canvas()->SetHandle(nullptr);
    }
    int left = Left();
    if (alignment_ == taRightJustify) left += Width() - rect.Right;
    SetBounds(left, Top(), rect.Right, rect.Bottom);
}
