// Skinned hints: the hint bitmap prepared for an item (its text in the hint
// font on the hint colour, or what the item's hint event draws) and the hint
// window that shows that bitmap.
#pragma once

#include <string>

#include "classlib/windows/hintwindow.h"

class TSbCustomItem;

class TBitmapHint : public THintWindow {
    VX_CLASS(TBitmapHint, THintWindow)
public:
    using THintWindow::THintWindow;
    TRect CalcHintRect(int MaxWidth, const std::wstring& Hint, void* Data) override;
    void ActivateHint(TRect Rect, const std::wstring& Hint) override;

protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;
};

// Draws Hint into the shared hint bitmap: 8 x 4 pixels larger than the text,
// filled and the text centred, unless the item's hint event paints instead.
void PrepareHintBitmap(TSbCustomItem* Item, std::wstring& Hint);
