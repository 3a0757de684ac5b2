#include "notify/zkalertpaint.h"

#include "foundation/zkutils.h"

int AlertBodyBands(int BodyHeight) {
    return BodyHeight < 255 ? BodyHeight : 32;
}

namespace {
void Fill(TCanvas* Canvas, const TRect& R, COLORREF Color) {
    Canvas->Brush()->SetColor(TColor(Color));
    Canvas->FillRect(R);
}
}  // namespace

void PaintDesktopAlertBackground(TCanvas* Canvas, const TRect& R, const TZkAlertWindowColors& Colors,
                                 bool Grip) {
    GradientFillRect(Canvas, TRect(R.Left, R.Top, R.Right, R.Top + AlertCaptionHeight), Colors.CaptionFrom,
                     Colors.CaptionTo, gdTopToBottom, 8);
    Canvas->Brush()->SetStyle(bsSolid);
    if (Grip) {
        int x = R.Left + R.Width() / 2 - 20, y = R.Top + 3;
        for (int i = 0; i < 10; ++i) {
            Fill(Canvas, TRect(x, y, x + 2, y + 2), 0x808080);
            ++x, ++y;
            Fill(Canvas, TRect(x, y, x + 2, y + 2), 0xF8FCF8);
            Fill(Canvas, TRect(x, y, x + 1, y + 1), 0xB8BCB8);
            x += 3, y -= 1;
        }
    }
    const TRect body(R.Left, R.Top + AlertCaptionHeight + 1, R.Right, R.Bottom - 1);
    GradientFillRect(Canvas, body, Colors.WindowFrom, Colors.WindowTo, gdTopToBottom,
                     static_cast<BYTE>(AlertBodyBands(body.Height())));
    Canvas->Brush()->SetColor(Colors.Frame);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->FrameRect(R);
}
