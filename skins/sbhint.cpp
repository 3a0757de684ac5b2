#include "skins/sbhint.h"

#include "classlib/windows/screen.h"
#include "skins/sbitem.h"
#include "skins/sbitemsunit.h"

void PrepareHintBitmap(TSbCustomItem* Item, std::wstring& Hint) {
    TBitmap* bitmap = SbHintBitmap();
    if (!bitmap) return;
    TCanvas* canvas = bitmap->Canvas();
    if (Screen) canvas->SetFont(Screen->HintFont());
    canvas->Font()->SetColor(clInfoText);
    TRect text(0, 0, 1, 1);
    canvas->DrawText(Hint, text, DT_CALCRECT | DT_NOPREFIX);
    bitmap->SetSize(text.Width() + 8, text.Height() + 4);
    bool paintDefault = true;
    if (Item) Item->DoDrawHint(bitmap, Hint, paintDefault);
    if (!paintDefault) return;
    canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clInfoBk);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(TRect(0, 0, bitmap->Width(), bitmap->Height()));
    canvas->Brush()->SetStyle(bsClear);
    TRect r(0, 0, bitmap->Width(), bitmap->Height());
    canvas->DrawText(Hint, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

TRect TBitmapHint::CalcHintRect(int, const std::wstring&, void*) {
    TBitmap* bitmap = SbHintBitmap();
    if (!bitmap) return TRect(0, 0, 0, 0);
    return TRect(0, 0, bitmap->Width(), bitmap->Height());
}

void TBitmapHint::ActivateHint(TRect Rect, const std::wstring& Hint) {
    if (TBitmap* bitmap = SbHintBitmap()) {
        Rect.Right = Rect.Left + bitmap->Width() - 2;
        Rect.Bottom = Rect.Top + bitmap->Height() - 2;
    }
    inherited::ActivateHint(Rect, Hint);
}

void TBitmapHint::Paint() {
    TBitmap* bitmap = SbHintBitmap();
    if (!bitmap || bitmap->Empty()) return;
    BitBlt(Canvas()->Handle(), 0, 0, bitmap->Width(), bitmap->Height(), bitmap->Canvas()->Handle(), 0, 0,
           SRCCOPY);
}

void TBitmapHint::WndProc(TMessage& Message) {
    // The bitmap shows the text; a text change must not resize the window.
    if (Message.Msg == CM_TEXTCHANGED) return;
    inherited::WndProc(Message);
}
