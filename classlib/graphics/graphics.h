// The drawing tools of a canvas: `TFont`, `TPen` and `TBrush`, each owning
// the GDI object it makes on demand (`Handle`) and announcing every change
// through `OnChange`.
#pragma once

#include <string>

#include "classlib/core/delegate.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/object.h"
#include "classlib/core/set.h"
#include "classlib/core/win32.h"
#include "classlib/graphics/colors.h"
#include "classlib/graphics/handles.h"

class TBitmap;

VX_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
VX_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

class TGraphicsObject : public TPersistent {
    VX_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;
    // Fired just before the GDI object is deleted, so that a canvas holding it
    // selected can let it go first.
    TNotifyEvent OnReleasing;

protected:
    // Drops the GDI object (it is made again on the next Handle()) and fires
    // OnChange.
    virtual void Changed();
    void Releasing() {
        if (Assigned(OnReleasing)) OnReleasing(this);
    }
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = BYTE;

// Dots per inch of the screen, which turns a font's Size into its Height.
int ScreenPixelsPerInch();

class TFont : public TGraphicsObject {
    VX_CLASS(TFont, TGraphicsObject)
public:
    TFont();

    HFONT Handle();
    // Adopts Value: the font takes its attributes from it and owns it.
    void SetHandle(HFONT Value);
    bool HandleAllocated() const { return static_cast<bool>(handle_); }

    const std::string& Name() const { return name_; }
    void SetName(const std::string& Value);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return height_; }
    void SetHeight(int Value);
    // Points, through PixelsPerInch.
    int Size() const;
    void SetSize(int Value);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles Value);
    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset Value);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch Value);
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int Value) { pixelsPerInch_ = Value; }

    void Assign(TPersistent* Source) override;
    // The attributes as a LOGFONTW, as CreateFontIndirectW takes them.
    LOGFONTW LogFont() const;

private:
    void Changed() override;

    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_;
    TColor color_ = clWindowText;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
    int pixelsPerInch_;
    TFontHandle handle_;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

class TPen : public TGraphicsObject {
    VX_CLASS(TPen, TGraphicsObject)
public:
    HPEN Handle();
    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    int Width() const { return width_; }
    void SetWidth(int Value);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode Value);
    void Assign(TPersistent* Source) override;

private:
    void Changed() override;

    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    TPenHandle handle_;
};

enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

class TBrush : public TGraphicsObject {
    VX_CLASS(TBrush, TGraphicsObject)
public:
    HBRUSH Handle();
    TColor Color() const { return color_; }
    // A colour makes a clear brush solid again.
    void SetColor(TColor Value);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle Value);
    // A pattern brush from the bitmap (not owned; must outlive its use here).
    TBitmap* Bitmap() const { return bitmap_; }
    void SetBitmap(TBitmap* Value);
    void Assign(TPersistent* Source) override;

private:
    void Changed() override;

    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBitmap* bitmap_ = nullptr;
    TBrushHandle handle_;
};

// An 8 x 8 checkerboard brush of two colours, for the pressed-in look of a
// checked button.
TBrushHandle CreateDitherBrush(TColor Color1, TColor Color2);
