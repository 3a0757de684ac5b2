// Pictures: the abstract `TGraphic`, `TBitmap` as a 32-bit DIB section whose
// pixels can be read (`ScanLine`) and drawn on (`Canvas`), or a monochrome
// one, and `TIcon`, which owns its icon handle.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "classlib/graphics/canvas.h"
#include "classlib/graphics/handles.h"

class TStream;

class TGraphic : public TPersistent {
    VX_CLASS(TGraphic, TPersistent)
public:
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool Value);
    bool Modified() const { return modified_; }
    void SetModified(bool Value) { modified_ = Value; }

    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);

    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    // Draws the picture stretched into R of the canvas.
    virtual void Draw(TCanvas* ACanvas, const TRect& R) = 0;
    virtual void Changed();

private:
    bool transparent_ = false;
    bool modified_ = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
    VX_CLASS(TBitmap, TGraphic)
public:
    TBitmap();

    bool Empty() const override { return width_ == 0 || height_ == 0; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // Resizing keeps the top-left content; new area is white.
    void SetWidth(int Value) override { SetSize(Value, height_); }
    void SetHeight(int Value) override { SetSize(width_, Value); }
    void SetSize(int AWidth, int AHeight);

    // A drawing surface over the bitmap (made on first use).
    TCanvas* Canvas();
    // The DIB section; asking for it lets the bitmap leave the canvas's
    // memory DC, so that it can be selected elsewhere (image lists, brushes).
    HBITMAP Handle();
    bool HandleAllocated() const { return static_cast<bool>(handle_); }
    // Adopts Value: the picture is copied into a DIB section of ours and
    // Value is deleted.
    void SetHandle(HBITMAP Value);
    // Gives the DIB section to the caller; the bitmap becomes empty.
    HBITMAP ReleaseHandle();

    bool Monochrome() const { return format_ == pf1bit; }
    void SetMonochrome(bool Value);
    TPixelFormat PixelFormat() const { return format_; }
    void SetPixelFormat(TPixelFormat Value);

    // Pixels of row Row, top row first: 32-bit 0x00RRGGBB words (or packed
    // bits for a monochrome bitmap).
    void* ScanLine(int Row);
    // The colour at (X, Y) as a TColor (0x00BBGGRR).
    TColor PixelColor(int X, int Y);

    // clDefault: the bottom-left pixel's colour (tmAuto).
    TColor TransparentColor();
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode Value);

    void LoadFromResourceName(HINSTANCE Instance, const std::string& ResName);
    void LoadFromResourceID(HINSTANCE Instance, int ResID);
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    void Assign(TPersistent* Source) override;
    // Frees the canvas's device context (the bitmap stays).
    void Dormant();

protected:
    ~TBitmap() override;
    void Draw(TCanvas* ACanvas, const TRect& R) override;

private:
    friend class TBitmapCanvas;
    void Rebuild(int AWidth, int AHeight, TPixelFormat Format);
    void LoadFromHandle(HBITMAP bitmap);
    HDC MemoryDC();
    void FreeContext();

    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = pf32bit;
    TBitmapHandle handle_;
    void* bits_ = nullptr;
    int stride_ = 0;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
    TOwned<TCanvas> canvas_;
    std::unique_ptr<TMemoryDC> dc_;
    HGDIOBJ oldBitmap_ = nullptr;
};

class TIcon : public TGraphic {
    VX_CLASS(TIcon, TGraphic)
public:
    bool Empty() const override { return !icon_.Get(); }
    int Width() const override;
    int Height() const override;
    // Sizes are given by the icon itself.
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    HICON Handle() const { return icon_.Get(); }
    // Adopts Value (the icon destroys it).
    void SetHandle(HICON Value);
    // Gives the icon handle to the caller; the icon becomes empty.
    HICON ReleaseHandle();
    void LoadFromResourceName(HINSTANCE Instance, const std::string& ResName);
    void LoadFromResourceID(HINSTANCE Instance, int ResID);
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    void Assign(TPersistent* Source) override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& R) override;

private:
    TIconHandle icon_;
    mutable int width_ = 0;
    mutable int height_ = 0;
};
