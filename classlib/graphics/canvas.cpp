#include "classlib/graphics/canvas.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"
#include "classlib/graphics/bitmap.h"

namespace {
int PenModeToRop2(TPenMode mode) {
    static const int rops[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                               R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                               R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                               R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
    return rops[mode];
}
}  // namespace

TCanvas::TCanvas() : font_(Create<TFont>()), pen_(Create<TPen>()), brush_(Create<TBrush>()) {
    for (TGraphicsObject* tool :
         {static_cast<TGraphicsObject*>(font_.get()), static_cast<TGraphicsObject*>(pen_.get()),
          static_cast<TGraphicsObject*>(brush_.get())}) {
        tool->OnChange = TNotifyEvent(this, &TCanvas::ToolChanged);
        tool->OnReleasing = TNotifyEvent(this, &TCanvas::ToolReleasing);
    }
}

TCanvas::~TCanvas() {
    DeselectHandles();
}

HDC TCanvas::Handle() {
    RequiredState({csHandleValid});
    return dc_;
}

void TCanvas::SetHandle(HDC Value) {
    if (dc_ == Value) return;
    if (dc_) DeselectHandles();
    dc_ = Value;
    state_ = dc_ ? TCanvasState{csHandleValid} : TCanvasState{};
}

void TCanvas::DeselectHandles() {
    if (!dc_) return;
    if (state_.Contains(csFontValid) || state_.Contains(csPenValid) || state_.Contains(csBrushValid)) {
        SelectObject(dc_, GetStockObject(BLACK_PEN));
        SelectObject(dc_, GetStockObject(HOLLOW_BRUSH));
        SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    }
    state_ -= TCanvasState{csFontValid, csPenValid, csBrushValid};
}

void TCanvas::ToolReleasing(TObject* Sender) {
    // The tool's GDI object is about to be deleted: it must not stay selected.
    if (!dc_) return;
    if (Sender == font_.get() && state_.Contains(csFontValid)) {
        SelectObject(dc_, GetStockObject(SYSTEM_FONT));
        state_.Exclude(csFontValid);
    } else if (Sender == pen_.get() && state_.Contains(csPenValid)) {
        SelectObject(dc_, GetStockObject(BLACK_PEN));
        state_.Exclude(csPenValid);
    } else if (Sender == brush_.get() && state_.Contains(csBrushValid)) {
        SelectObject(dc_, GetStockObject(HOLLOW_BRUSH));
        state_.Exclude(csBrushValid);
    }
}

void TCanvas::ToolChanged(TObject* Sender) {
    if (Sender == font_.get()) state_.Exclude(csFontValid);
    if (Sender == pen_.get()) state_.Exclude(csPenValid);
    if (Sender == brush_.get()) state_.Exclude(csBrushValid);
}

void TCanvas::RequiredState(TCanvasState ReqState) {
    if (ReqState.Contains(csHandleValid) && !dc_) {
        CreateHandle();
        if (!dc_) throw EInvalidOperation("Canvas does not allow drawing");
        state_.Include(csHandleValid);
    }
    if (!dc_) return;
    if (ReqState.Contains(csFontValid) && !state_.Contains(csFontValid)) {
        SelectObject(dc_, font_->Handle());
        SetTextColor(dc_, ColorToRGB(font_->Color()));
        state_.Include(csFontValid);
    }
    if (ReqState.Contains(csPenValid) && !state_.Contains(csPenValid)) {
        SelectObject(dc_, pen_->Handle());
        SetROP2(dc_, PenModeToRop2(pen_->Mode()));
        state_.Include(csPenValid);
    }
    if (ReqState.Contains(csBrushValid) && !state_.Contains(csBrushValid)) {
        UnrealizeObject(brush_->Handle());
        SelectObject(dc_, brush_->Handle());
        if (brush_->Style() == bsSolid) {
            SetBkColor(dc_, ColorToRGB(brush_->Color()));
            SetBkMode(dc_, OPAQUE);
        } else {
            // Hatches show the colour behind them, like the class library's.
            SetBkColor(dc_, ~ColorToRGB(brush_->Color()) & 0xFFFFFF);
            SetBkMode(dc_, TRANSPARENT);
        }
        state_.Include(csBrushValid);
    }
}

void TCanvas::Changing() {
    if (Assigned(OnChanging)) OnChanging(this);
}

void TCanvas::Changed() {
    if (Assigned(OnChange)) OnChange(this);
}

void TCanvas::PrepareText() {
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    // The text colour may have been changed by other drawing on the DC.
    SetTextColor(dc_, ColorToRGB(font_->Color()));
    SetBkMode(dc_, brush_->Style() == bsClear ? TRANSPARENT : OPAQUE);
    if (brush_->Style() != bsClear) SetBkColor(dc_, ColorToRGB(brush_->Color()));
}

TPoint TCanvas::PenPos() {
    RequiredState({csHandleValid});
    POINT p{};
    GetCurrentPositionEx(dc_, &p);
    return p;
}

TColor TCanvas::Pixels(int X, int Y) {
    RequiredState({csHandleValid});
    return static_cast<TColor>(GetPixel(dc_, X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
    Changing();
    RequiredState({csHandleValid, csPenValid});
    SetPixel(dc_, X, Y, ColorToRGB(Value));
    Changed();
}

TRect TCanvas::ClipRect() {
    RequiredState({csHandleValid});
    RECT r{};
    GetClipBox(dc_, &r);
    return r;
}

void TCanvas::MoveTo(int X, int Y) {
    RequiredState({csHandleValid});
    MoveToEx(dc_, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::LineTo(dc_, X, Y);
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Rectangle(dc_, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::RoundRect(dc_, X1, Y1, X2, Y2, X3, Y3);
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Ellipse(dc_, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
    if (Points.empty()) return;
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    std::vector<POINT> points(Points.begin(), Points.end());
    ::Polygon(dc_, points.data(), static_cast<int>(points.size()));
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
    if (Points.empty()) return;
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    std::vector<POINT> points(Points.begin(), Points.end());
    ::Polyline(dc_, points.data(), static_cast<int>(points.size()));
    Changed();
}

void TCanvas::FillRect(const TRect& R) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::FillRect(dc_, R.Win32(), brush_->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& R) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::FrameRect(dc_, R.Win32(), brush_->Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::DrawFocusRect(dc_, R.Win32());
    Changed();
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ExtFloodFill(dc_, X, Y, ColorToRGB(Color), FillStyle == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
    Changed();
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
    TextOut(X, Y, ToWide(Text));
}

void TCanvas::TextOut(int X, int Y, const std::wstring& Text) {
    Changing();
    PrepareText();
    const UINT options = brush_->Style() == bsClear ? 0 : ETO_OPAQUE;
    ExtTextOutW(dc_, X, Y, options, nullptr, Text.c_str(), static_cast<UINT>(Text.size()), nullptr);
    MoveToEx(dc_, X + TextExtent(Text).cx, Y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const std::string& Text) {
    TextRect(R, X, Y, ToWide(Text));
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const std::wstring& Text) {
    Changing();
    PrepareText();
    const UINT options = ETO_CLIPPED | (brush_->Style() == bsClear ? 0 : ETO_OPAQUE);
    ExtTextOutW(dc_, X, Y, options, R.Win32(), Text.c_str(), static_cast<UINT>(Text.size()), nullptr);
    Changed();
}

TSize TCanvas::TextExtent(const std::string& Text) {
    return TextExtent(ToWide(Text));
}

TSize TCanvas::TextExtent(const std::wstring& Text) {
    RequiredState({csHandleValid, csFontValid});
    SIZE size{};
    GetTextExtentPoint32W(dc_, Text.c_str(), static_cast<int>(Text.size()), &size);
    return {size.cx, size.cy};
}

int TCanvas::DrawText(const std::string& Text, TRect& R, UINT Flags) {
    return DrawText(ToWide(Text), R, Flags);
}

int TCanvas::DrawText(const std::wstring& Text, TRect& R, UINT Flags) {
    Changing();
    PrepareText();
    int height = DrawTextW(dc_, Text.c_str(), static_cast<int>(Text.size()), R.Win32(), Flags);
    Changed();
    return height;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    Changing();
    RequiredState({csHandleValid});
    Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    Changing();
    RequiredState({csHandleValid});
    Graphic->Draw(this, R);
    Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    HDC source = Canvas->Handle();
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), source, Source.Left, Source.Top,
               Source.Width(), Source.Height(), copyMode_);
    Changed();
}

TClipState TCanvas::SaveClip() {
    RequiredState({csHandleValid});
    TClipState state;
    state.region_.Reset(CreateRectRgn(0, 0, 0, 0));
    state.hadClip_ = GetClipRgn(dc_, state.region_.Get()) == 1;
    return state;
}

void TCanvas::RestoreClip(const TClipState& State) {
    RequiredState({csHandleValid});
    SelectClipRgn(dc_, State.hadClip_ ? State.region_.Get() : nullptr);
}

void TCanvas::IntersectClip(const TRect& R) {
    RequiredState({csHandleValid});
    IntersectClipRect(dc_, R.Left, R.Top, R.Right, R.Bottom);
}

void TCanvas::ExcludeClip(const TRect& R) {
    RequiredState({csHandleValid});
    ExcludeClipRect(dc_, R.Left, R.Top, R.Right, R.Bottom);
}

void TransparentStretchBlt(HDC DstDC, int DstX, int DstY, int DstW, int DstH, HDC SrcDC, int SrcX, int SrcY,
                           int SrcW, int SrcH, HDC MaskDC, int MaskX, int MaskY) {
    if (DstW <= 0 || DstH <= 0 || SrcW <= 0 || SrcH <= 0) return;
    // The picture is put together off screen (destination xor source, cut by
    // the mask, xor source again) so that the destination never shows a half.
    TMemoryDC work(DstDC);
    TBitmapHandle bitmap(CreateCompatibleBitmap(DstDC, DstW, DstH));
    if (!work.Get() || !bitmap) return;
    TSelectObject selected(work.Get(), bitmap.Get());
    SetStretchBltMode(work.Get(), COLORONCOLOR);
    BitBlt(work.Get(), 0, 0, DstW, DstH, DstDC, DstX, DstY, SRCCOPY);
    StretchBlt(work.Get(), 0, 0, DstW, DstH, SrcDC, SrcX, SrcY, SrcW, SrcH, SRCINVERT);
    // A monochrome mask turns white where its bits are set, black elsewhere.
    const COLORREF oldText = SetTextColor(work.Get(), RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(work.Get(), RGB(255, 255, 255));
    StretchBlt(work.Get(), 0, 0, DstW, DstH, MaskDC, MaskX, MaskY, SrcW, SrcH, SRCAND);
    SetTextColor(work.Get(), oldText);
    SetBkColor(work.Get(), oldBack);
    StretchBlt(work.Get(), 0, 0, DstW, DstH, SrcDC, SrcX, SrcY, SrcW, SrcH, SRCINVERT);
    BitBlt(DstDC, DstX, DstY, DstW, DstH, work.Get(), 0, 0, SRCCOPY);
}

void TCanvas::Lock() {
    lock_.lock();
    ++lockCount_;
}

void TCanvas::Unlock() {
    --lockCount_;
    lock_.unlock();
}

bool TCanvas::TryLock() {
    if (!lock_.try_lock()) return false;
    ++lockCount_;
    return true;
}
