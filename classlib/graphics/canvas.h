// `TCanvas`: drawing on a device context with a font, a pen and a brush that
// are selected on demand. The context is borrowed (`SetHandle`) or made by a
// descendant (`CreateHandle`: a bitmap's memory DC, a control's window DC).
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "classlib/graphics/geometry.h"
#include "classlib/graphics/graphics.h"

class TGraphic;

enum TCanvasStateFlag { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStateFlag>;

enum TFillStyle { fsSurface, fsBorder };
using TCopyMode = DWORD;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmWhiteness = WHITENESS;
constexpr TCopyMode cmPatCopy = PATCOPY;

// A saved clipping region (SaveClip / RestoreClip); empty means "no clip".
class TClipState {
public:
    TClipState() = default;
    TClipState(TClipState&&) = default;
    TClipState& operator=(TClipState&&) = default;

private:
    friend class TCanvas;
    TRegionHandle region_;
    bool hadClip_ = false;
};

class TCanvas : public TPersistent {
    VX_CLASS(TCanvas, TPersistent)
public:
    TCanvas();

    HDC Handle();
    // Borrows a device context; null lets the current one go (the drawing
    // tools are deselected first).
    void SetHandle(HDC Value);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont* Font() const { return font_.get(); }
    TPen* Pen() const { return pen_.get(); }
    TBrush* Brush() const { return brush_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    void SetPen(TPen* Value) { pen_->Assign(Value); }
    void SetBrush(TBrush* Value) { brush_->Assign(Value); }

    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode Value) { copyMode_ = Value; }
    TPoint PenPos();
    void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
    TColor Pixels(int X, int Y);
    void SetPixels(int X, int Y, TColor Value);
    TRect ClipRect();

    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    void Polygon(const std::vector<TPoint>& Points);
    void Polyline(const std::vector<TPoint>& Points);
    // Fills with the brush, no outline.
    void FillRect(const TRect& R);
    // One-pixel frame drawn with the brush.
    void FrameRect(const TRect& R);
    void DrawFocusRect(const TRect& R);
    void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);

    void TextOut(int X, int Y, const std::string& Text);
    void TextOut(int X, int Y, const std::wstring& Text);
    // Text clipped to R (the background filled first unless the brush is clear).
    void TextRect(const TRect& R, int X, int Y, const std::string& Text);
    void TextRect(const TRect& R, int X, int Y, const std::wstring& Text);
    TSize TextExtent(const std::string& Text);
    TSize TextExtent(const std::wstring& Text);
    int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
    int TextHeight(const std::string& Text) { return TextExtent(Text).cy; }
    int TextWidth(const std::wstring& Text) { return TextExtent(Text).cx; }
    int TextHeight(const std::wstring& Text) { return TextExtent(Text).cy; }
    // DrawTextW with the canvas's font; DT_CALCRECT writes the measured
    // rectangle back into R. Returns the text height.
    int DrawText(const std::string& Text, TRect& R, UINT Flags);
    int DrawText(const std::wstring& Text, TRect& R, UINT Flags);

    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& R, TGraphic* Graphic);
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

    TClipState SaveClip();
    void RestoreClip(const TClipState& State);
    void IntersectClip(const TRect& R);
    // Takes R out of the clipping region (RestoreClip brings it back).
    void ExcludeClip(const TRect& R);

    // Serialises drawing from several threads on one canvas.
    void Lock();
    void Unlock();
    bool TryLock();
    int LockCount() const { return lockCount_; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    ~TCanvas() override;

    // Makes the device context when a descendant owns one; the default has
    // nothing to make, and drawing without a context raises EInvalidOperation.
    virtual void CreateHandle() {}
    void RequiredState(TCanvasState ReqState);
    virtual void Changing();
    virtual void Changed();
    void DeselectHandles();

private:
    void ToolReleasing(TObject* Sender);
    void ToolChanged(TObject* Sender);
    void PrepareText();

    HDC dc_ = nullptr;
    TCanvasState state_;
    TOwned<TFont> font_;
    TOwned<TPen> pen_;
    TOwned<TBrush> brush_;
    TCopyMode copyMode_ = cmSrcCopy;
    std::recursive_mutex lock_;
    int lockCount_ = 0;
};

// Draws the source stretched into the destination, leaving the destination
// where the monochrome mask (of the source's size, at MaskX, MaskY) is white.
void TransparentStretchBlt(HDC DstDC, int DstX, int DstY, int DstW, int DstH, HDC SrcDC, int SrcX, int SrcY,
                           int SrcW, int SrcH, HDC MaskDC, int MaskX, int MaskY);
