// The faces of the styled buttons: classic bevels, the hot-track look with
// its gradient and rings, the theme's push button, the down pattern, and
// the caption and focus steps every face shares.
#include <vsstyle.h>

#include "classlib/windows/themes.h"
#include "controls/scbackgrounds.h"
#include "controls/scbutton.h"
#include "controls/sccolors.h"
#include "controls/scframes.h"
#include "controls/scgrafx.h"
#include "controls/scscheme.h"

TOwned<TBitmap> MakeDownPattern(TColor Color) {
    TOwned<TBitmap> pattern(Create<TBitmap>());
    pattern->SetSize(8, 8);
    const TColor dots = ColorToRGB(Color) == 0xC0C0C0 ? TColor(0x808080) : TColor(0xC0C0C0);
    TCanvas* canvas = pattern->Canvas();
    canvas->Brush()->SetColor(Color);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(Rect(0, 0, 8, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = y % 2; x < 8; x += 2) canvas->SetPixels(x, y, dots);
    return pattern;
}

// --- TScCustomButton

void TScCustomButton::Paint() {
    TCanvas* canvas = Canvas();
    PaintBackground(canvas);
    const bool captionFollows = PaintFace(canvas);
    PaintGlyph(canvas);
    if (captionFollows) PaintCaption(canvas);
    PaintFocus(canvas);
}

void TScCustomButton::PaintBackground(TCanvas*) {}

bool TScCustomButton::PaintFace(TCanvas* Canvas) {
    TRect face = DrawButtonBorderAll(Canvas, ClientRect(), Pressed());
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color());
    Canvas->FillRect(face);
    return true;
}

TRect TScCustomButton::GetCaptionRect() {
    return InflateRect(ClientRect(), -4, -2);
}

void TScCustomButton::PaintCaption(TCanvas* Canvas) {
    const std::wstring caption = GetWideText();
    if (caption.empty()) return;
    Canvas->SetFont(Font());
    Canvas->Brush()->SetStyle(bsClear);
    const UINT vertical = alignmentVertical_ == avTop      ? DT_TOP
                          : alignmentVertical_ == avBottom ? DT_BOTTOM
                                                           : DT_VCENTER;
    const UINT flags = DT_SINGLELINE | vertical | AlignmentToDrawTextFlags(CaptionAlignment());
    const TRect base = GetCaptionRect();
    DrawTextLayers(Canvas, effects_, Font()->Color(), Enabled(), [&](int DX, int DY) {
        TRect r = OffsetRect(base, DX, DY);
        Canvas->DrawText(caption, r, flags);
    });
}

void TScCustomButton::PaintFocus(TCanvas*) {}

// --- TScButton

void TScButton::PaintBackground(TCanvas* Canvas) {
    if (!TransparentFace()) return;
    // Only the corners and the ring outside the face show the parent.
    const TClipState clip = Canvas->SaveClip();
    const TRect face = InflateRect(ClientRect(), DefaultLook() ? -1 : -2, DefaultLook() ? -1 : -2);
    Canvas->ExcludeClip(face);
    DrawParentImage(this, Canvas->Handle(), true);
    Canvas->RestoreClip(clip);
}

bool TScButton::PaintFace(TCanvas* Canvas) {
    if (Themed())
        PaintThemedFace(Canvas);
    else if (HotTrack())
        PaintHotTrackFace(Canvas);
    else
        PaintClassicFace(Canvas);
    if (down_ && groupIndex_ != 0 && showDownPattern_ && !Themed()) {
        TOwned<TBitmap> pattern = MakeDownPattern(Color());
        Canvas->Brush()->SetBitmap(pattern.get());
        Canvas->FillRect(InflateRect(ClientRect(), -2, -2));
        Canvas->Brush()->SetBitmap(nullptr);
        Canvas->Brush()->SetStyle(bsSolid);
    }
    return true;
}

void TScButton::PaintThemedFace(TCanvas* Canvas) {
    int state = PBS_NORMAL;
    if (!Enabled())
        state = PBS_DISABLED;
    else if (Pressed())
        state = PBS_PRESSED;
    else if (MouseOver())
        state = PBS_HOT;
    else if (DefaultLook())
        state = PBS_DEFAULTED;
    const TRect client = ClientRect();
    HDC dc = Canvas->Handle();
    if (HandleAllocated()) ThemeServices()->DrawParentBackground(Handle(), dc, &client);
    if (!ThemeServices()->DrawElement(dc, {teButton, BP_PUSHBUTTON, state}, client)) PaintClassicFace(Canvas);
}

void TScButton::PaintFrameLines(TCanvas* Canvas, const TRect& R, bool Framed) {
    TColor color = frameColor_;
    if (!Framed) color = Color() == clBtnFace ? LighterColor(clBtnShadow, 30) : DarkerColor(Color(), 80);
    TPen* pen = Canvas->Pen();
    pen->SetColor(color);
    pen->SetWidth(1);
    pen->SetStyle(psSolid);
    Canvas->MoveTo(R.Left + 1, R.Top);
    Canvas->LineTo(R.Right - 1, R.Top);
    Canvas->MoveTo(R.Left + 1, R.Bottom - 1);
    Canvas->LineTo(R.Right - 1, R.Bottom - 1);
    Canvas->MoveTo(R.Left, R.Top + 1);
    Canvas->LineTo(R.Left, R.Bottom - 1);
    Canvas->MoveTo(R.Right - 1, R.Top + 1);
    Canvas->LineTo(R.Right - 1, R.Bottom - 1);
}

void TScButton::PaintGradientFace(TCanvas* Canvas, const TRect& Face) {
    Canvas->Brush()->SetStyle(bsSolid);
    if (!IsTrueColor || Face.Height() < 3) {
        Canvas->Brush()->SetColor(Color());
        Canvas->FillRect(Face);
        return;
    }
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(DarkerColor(Color(), 20));
    Canvas->MoveTo(Face.Left, Face.Bottom - 2);
    Canvas->LineTo(Face.Right, Face.Bottom - 2);
    Canvas->Pen()->SetColor(DarkerColor(Color(), 30));
    Canvas->MoveTo(Face.Left, Face.Bottom - 1);
    Canvas->LineTo(Face.Right, Face.Bottom - 1);
    PaintGradient(Canvas, Rect(Face.Left, Face.Top, Face.Right, Face.Bottom - 2), 2,
                  LighterColor(Color(), 30), DarkerColor(Color(), 10), 1);
}

void TScButton::PaintHotTrackFace(TCanvas* Canvas) {
    const TRect client = ClientRect();
    const TRect inner = InflateRect(client, -1, -1);
    const TRect face = InflateRect(client, -2, -2);
    Canvas->Brush()->SetStyle(bsSolid);
    if (!Enabled()) {
        PaintFrameLines(Canvas, inner, false);
        Canvas->Brush()->SetColor(Color());
        Canvas->FillRect(face);
        return;
    }
    const TColor dark = DarkerColor(Color(), 20);
    const TColor light = LighterColor(Color(), 20);
    DrawSides(Canvas, client, dark, light, AllSides);
    // The corners of the outer ring round the button off.
    Canvas->SetPixels(client.Left, client.Top, light);
    Canvas->SetPixels(client.Right - 1, client.Top, light);
    Canvas->SetPixels(client.Left, client.Bottom - 1, light);
    Canvas->SetPixels(client.Right - 1, client.Bottom - 1, light);
    const bool look = DefaultLook();
    PaintFrameLines(Canvas, inner, look || MouseOver());
    if (Pressed()) {
        Canvas->Brush()->SetColor(DarkerColor(Color(), 10));
        Canvas->FillRect(face);
    } else if (MouseOver()) {
        PaintGradientFace(Canvas, face);
        TColor start, stop;
        if (HotTrackColorType() == htctComplement) {
            start = ComplementaryColor(HotTrackColor(), 180);
            stop = DarkerColor(start, 30);
        } else {
            start = HotTrackColor();
            stop = BlendColors(HotTrackColor(), Color(), 128);
        }
        PaintGradientBorder(Canvas, face, 2, start, stop);
    } else if (look) {
        PaintGradientFace(Canvas, face);
        TColor highlight = HighlightColor();
        if (ColorsAreClose(highlight, clBtnFace)) highlight = DarkerColor(highlight, 40);
        PaintGradientBorder(Canvas, face, 2, LighterColor(highlight, 40), highlight);
    } else {
        PaintGradientFace(Canvas, face);
    }
}

void TScButton::PaintClassicFace(TCanvas* Canvas) {
    TRect r = ClientRect();
    const bool pressed = Pressed();
    if (DefaultLook() || clicking_) r = DrawSides(Canvas, r, frameColor_, frameColor_, AllSides);
    const bool grouped = groupIndex_ != 0;
    if (Color() == clBtnFace)
        r = grouped ? DrawBorder(Canvas, r, pressed ? fsLowered : fsButtonUp)
                    : DrawButtonBorderAll(Canvas, r, pressed);
    else
        r = grouped && pressed ? DrawColorBorder(Canvas, r, Color(), fsLowered)
                               : DrawColorButtonBorderAll(Canvas, r, Color(), pressed);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color());
    Canvas->FillRect(r);
}

TRect TScButton::GetCaptionRect() {
    TRect r = inherited::GetCaptionRect();
    if (!HotTrack() && !Themed() && Pressed()) r = OffsetRect(r, 1, 1);
    return r;
}

void TScButton::PaintFocus(TCanvas* Canvas) {
    if (showFocusRect_ && Focused()) DrawDottedFocusRect(Canvas, InflateRect(ClientRect(), -4, -4));
}
