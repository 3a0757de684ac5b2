// Painting of the styled label: its frame and background, then flat,
// turned or curved text with its effect layers. Every turned font made here
// is released before the next one is made.
#include <cmath>

#include "classlib/graphics/handles.h"
#include "controls/scframes.h"
#include "controls/sclabel.h"
#include "controls/sctext.h"

namespace {
constexpr double Pi = 3.14159265358979323846;
}  // namespace

void TScLabel::DrawLayers(TCanvas* Canvas, const std::function<void(int DX, int DY)>& DrawAt) {
    DrawTextLayers(Canvas, effects_, textColor_, Enabled(), DrawAt);
}

void TScLabel::Paint() {
    TCanvas* canvas = Canvas();
    TScFrameParams frame;
    frame.OuterStyle = borderOuter_;
    frame.InnerStyle = borderInner_;
    frame.Sides = borderSides_;
    frame.BevelWidth = bevelWidth_;
    frame.BorderWidth = borderWidth_;
    frame.BorderColor = borderColor_;
    frame.BorderHighlight = borderHighlight_;
    frame.BorderShadow = borderShadow_;
    frame.FlatColor = flatColor_;
    frame.FlatColorAdjustment = flatColorAdjustment_;
    frame.Color = Color();
    frame.ParentColor = Parent() ? Parent()->Color() : Color();
    frame.Transparent = Transparent();
    frame.RoundedInner = false;
    const TRect inner = DrawFrame(canvas, ClientRect(), frame);
    if (!Transparent()) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(inner);
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());
    if (rotation_ == roCurve)
        DrawCurvedText(canvas);
    else if (rotation_ == roFlat && angle_ != 0)
        DrawRotatedText(canvas, inner);
    else
        DrawFlatText(canvas, inner);
}

void TScLabel::DrawFlatText(TCanvas* Canvas, const TRect& Inner) {
    const std::wstring text = GetLabelText();
    const UINT flags = TextFlags();
    TRect rect = InflateRect(Inner, -textMargin_, -textMargin_);
    if (Layout() != tlTop) {
        TRect measured = rect;
        Canvas->DrawText(text.empty() ? std::wstring(L" ") : text, measured, flags | DT_CALCRECT);
        const int spare = rect.Height() - measured.Height();
        rect.Top += Layout() == tlBottom ? spare : spare / 2;
    }
    if (effects_.Style == tsShadow) {
        // The shadow needs room on the side the text is pushed against.
        if (Alignment() == taRightJustify) rect = OffsetRect(rect, -effects_.ShadowDepth, 0);
        if (Layout() == tlBottom) rect = OffsetRect(rect, 0, -effects_.ShadowDepth);
    }
    DrawLayers(Canvas, [&](int DX, int DY) {
        TRect r = OffsetRect(rect, DX, DY);
        Canvas->DrawText(text, r, flags);
    });
}

void TScLabel::DrawRotatedText(TCanvas* Canvas, const TRect& Inner) {
    const std::wstring text = GetLabelText();
    if (text.empty()) return;
    const TSize extent = Canvas->TextExtent(text);
    // The text's middle goes to the middle of the room inside the frame,
    // whatever the angle: the start point walks back half the text along
    // the baseline and half its height across it.
    const double a = angle_ * Pi / 180.0;
    const double cx = (Inner.Left + Inner.Right) / 2.0, cy = (Inner.Top + Inner.Bottom) / 2.0;
    const double w = extent.cx, h = extent.cy;
    const int x = static_cast<int>(std::lround(cx - w / 2 * std::cos(a) - h / 2 * std::sin(a)));
    const int y = static_cast<int>(std::lround(cy + w / 2 * std::sin(a) - h / 2 * std::cos(a)));
    TFontHandle font = CreateRotatedFont(Font(), angle_);
    HDC dc = Canvas->Handle();
    TSelectObject selected(dc, font.Get());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawLayers(Canvas, [&](int DX, int DY) {
        SetTextColor(dc, ColorToRGB(Canvas->Font()->Color()));
        TextOutW(dc, x + DX, y + DY, text.c_str(), static_cast<int>(text.size()));
    });
    SetBkMode(dc, oldMode);
}

void TScLabel::DrawCurvedText(TCanvas* Canvas) {
    const std::wstring text = GetLabelText();
    if (text.empty()) return;
    const int b = borderWidth_, b2 = 2 * borderWidth_;
    const int w = Width(), h = Height();
    int cx = w / 2, cy = h / 2, rx = w / 2 - b2, ry = h / 2 - b2;
    switch (centerPoint_) {
        case cpUpperLeft:
            cx = b, cy = b, rx = w - b2, ry = h - b2;
            break;
        case cpUpperCenter:
            cx = w / 2, cy = b, rx = w / 2 - b2, ry = h - b2;
            break;
        case cpUpperRight:
            cx = w, cy = b, rx = w - b2, ry = h - b2;
            break;
        case cpLeftCenter:
            cx = b, cy = h / 2, rx = w - b2, ry = h / 2 - b2;
            break;
        case cpCenter:
            break;
        case cpRightCenter:
            cx = w - b, cy = h / 2, rx = w - b2, ry = h / 2 - b2;
            break;
        case cpLowerLeft:
            cx = b, cy = h - b, rx = w - b2, ry = h - b2;
            break;
        case cpLowerCenter:
            cx = w / 2, cy = h - b, rx = w / 2 - b2, ry = h - b2;
            break;
        case cpLowerRight:
            cx = w - b, cy = h - b, rx = w - b2, ry = h - b2;
            break;
    }
    // A small label or a wide border leaves no arc to write along; the
    // step below would divide by it.
    if (rx <= 0 || ry <= 0) return;
    const int lineHeight = Canvas->TextHeight(std::wstring(L"Yy"));
    const double step = (Canvas->TextWidth(std::wstring(L"w")) + 2) / static_cast<double>(rx);
    HDC dc = Canvas->Handle();
    const UINT oldAlign = SetTextAlign(dc, TA_BASELINE | TA_CENTER);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    double a = angle_ * Pi / 180.0;
    for (wchar_t character : text) {
        const int x = cx - static_cast<int>(std::lround((rx - lineHeight) * std::sin(a)));
        const int y = cy - static_cast<int>(std::lround((ry - lineHeight) * std::cos(a)));
        TFontHandle font = CreateRotatedFontInTenths(Font(), CurveEscapement(a));
        TSelectObject selected(dc, font.Get());
        DrawLayers(Canvas, [&](int DX, int DY) {
            SetTextColor(dc, ColorToRGB(Canvas->Font()->Color()));
            TextOutW(dc, x + DX, y + DY, &character, 1);
        });
        a -= step;
    }
    SetBkMode(dc, oldMode);
    SetTextAlign(dc, oldAlign);
}

int CurveEscapement(double Radians) {
    return static_cast<int>(std::lround(Radians * 1800.0 / Pi));
}
