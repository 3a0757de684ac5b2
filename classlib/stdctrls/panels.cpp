#include "classlib/stdctrls/panels.h"

#include "classlib/stdctrls/commoncontrols.h"

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
    TPen* pen = Canvas->Pen();
    pen->SetWidth(1);
    --Rect.Bottom;
    --Rect.Right;
    for (int i = 0; i < Width; ++i) {
        pen->SetColor(TopColor);
        Canvas->Polyline(
            {Point(Rect.Left, Rect.Bottom), Point(Rect.Left, Rect.Top), Point(Rect.Right, Rect.Top)});
        pen->SetColor(BottomColor);
        Canvas->Polyline(
            {Point(Rect.Right, Rect.Top), Point(Rect.Right, Rect.Bottom), Point(Rect.Left - 1, Rect.Bottom)});
        Rect = InflateRect(Rect, -1, -1);
    }
    ++Rect.Bottom;
    ++Rect.Right;
}

// --- TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : inherited(AOwner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks,
                     csReplicatable, csParentBackground});
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
    inherited::AdjustClientRect(Rect);
    Rect.Top += ScreenTextHeight(Font());
    Rect = InflateRect(Rect, -2, -2);
}

void TCustomGroupBox::Paint() {
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    const int textHeight = canvas->TextHeight("0");
    TRect frame = Rect(0, textHeight / 2 - 1, Width(), Height());
    DrawEdge(canvas->Handle(), frame.Win32(), EDGE_ETCHED, BF_RECT);
    const std::wstring caption = GetWideText();
    if (caption.empty()) return;
    TRect text = Rect(0, 0, 0, textHeight);
    canvas->DrawText(caption, text, DT_SINGLELINE | DT_CALCRECT);
    text = OffsetRect(text, 8, 0);
    // The caption interrupts the frame's top edge.
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(InflateRect(text, 1, 0));
    canvas->Brush()->SetStyle(bsClear);
    canvas->DrawText(caption, text, DT_SINGLELINE | DT_LEFT);
}

void TCustomGroupBox::WndProc(TMessage& Message) {
    inherited::WndProc(Message);
    if (Message.Msg == CM_TEXTCHANGED) Invalidate();
    if (Message.Msg == CM_FONTCHANGED) Realign();
}

// --- TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : inherited(AOwner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                     csReplicatable});
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    if (Value == alignment_) return;
    alignment_ = Value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
    if (Value == bevelInner_) return;
    bevelInner_ = Value;
    FrameChanged();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
    if (Value == bevelOuter_) return;
    bevelOuter_ = Value;
    FrameChanged();
}

void TCustomPanel::SetBevelWidth(TBevelWidth Value) {
    if (Value == bevelWidth_) return;
    bevelWidth_ = Value;
    FrameChanged();
}

void TCustomPanel::SetBorderWidth(TBorderWidth Value) {
    if (Value == borderWidth_) return;
    borderWidth_ = Value;
    FrameChanged();
}

void TCustomPanel::FrameChanged() {
    Realign();
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
    inherited::AdjustClientRect(Rect);
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    Rect = InflateRect(Rect, -inset, -inset);
}

void TCustomPanel::Paint() {
    TCanvas* canvas = Canvas();
    TRect rect = ClientRect();
    const auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        const TColor top = cut == bvLowered ? clBtnShadow : cut == bvRaised ? clBtnHighlight : Color();
        const TColor bottom = cut == bvLowered ? clBtnHighlight : cut == bvRaised ? clBtnShadow : Color();
        Frame3D(canvas, rect, top, bottom, bevelWidth_);
    };
    bevel(bevelOuter_);
    Frame3D(canvas, rect, Color(), Color(), borderWidth_);
    bevel(bevelInner_);
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(rect);
    const std::wstring caption = GetWideText();
    if (caption.empty()) return;
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsClear);
    canvas->DrawText(caption, rect,
                     DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | AlignmentToDrawTextFlags(alignment_));
}

void TCustomPanel::WndProc(TMessage& Message) {
    inherited::WndProc(Message);
    if (Message.Msg == CM_TEXTCHANGED) Invalidate();
}
