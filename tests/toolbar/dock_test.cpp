// Docks and bars as real windows: thickness and rows, the docked frame's
// sizes, hit codes and pixels, and the errors of misplaced docks.
#include "classlib/core/filer.h"
#include "classlib/core/streams.h"
#include "tests/toolbar/bar_fixture.h"
#include "toolbar/barconsts.h"

using Dock = BarTest;

TEST_F(Dock, ThicknessFollowsTheRowsAndTheBoundLines) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    EXPECT_EQ(dock->Height(), 0);  // empty
    dock->SetFixAlign(true);
    EXPECT_EQ(dock->Height(), 1);
    TTestBar* bar = NewBar(form, dock);
    // A 22-pixel bar and the docked frame of 2 on each side.
    EXPECT_EQ(dock->Height(), 26);
    dock->SetBoundLines({blTop, blBottom});
    EXPECT_EQ(dock->Height(), 28);
    EXPECT_EQ(dock->ClientHeight(), 26);
    NewBar(form, dock, 1, 0, {40, 30});
    EXPECT_EQ(dock->Height(), 28 + 34);
    bar->Hide();
    EXPECT_EQ(dock->Height(), 2 + 34);
    EXPECT_EQ(dock->ToolbarCount(), 1);
}

TEST_F(Dock, BarsArePlacedInRowsAndWrap) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    const int width = dock->ClientWidth();
    TTestBar* first = NewBar(form, dock, 0, 0, {width / 2, 22});
    TTestBar* second = NewBar(form, dock, 0, 10, {width / 2, 22});
    // Together they do not fit: the second starts row 1.
    EXPECT_EQ(first->EffectiveRow(), 0);
    EXPECT_EQ(second->EffectiveRow(), 1);
    EXPECT_EQ(second->Top(), 26);
    EXPECT_EQ(dock->Height(), 52);
    // Rows far apart collapse.
    second->SetDockRow(5000000);
    EXPECT_EQ(second->EffectiveRow(), 1);
}

TEST_F(Dock, AVerticalDockTurnsRowsIntoColumns) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpLeft);
    TTestBar* bar = NewBar(form, dock, 0, 0, {22, 60});
    EXPECT_EQ(dock->Width(), 26);
    // The handle lies across the top.
    EXPECT_EQ(bar->Height(), 60 + 4 + 6);
    EXPECT_EQ(bar->ClientHeight(), 60);
}

TEST_F(Dock, DockedFrameSizes) {
    TForm* form = ShownForm();
    TBarDock* top = NewDock(form, dpTop);
    TBarDock* left = NewDock(form, dpLeft);
    TTestBar* bar = NewBar(form, top);
    struct Row {
        TBarDock* dock;
        bool closeButton;
        TBarDragHandleStyle style;
        TSize expected;
    } rows[] = {
        {top, false, dhSingle, {10, 4}}, {top, true, dhSingle, {18, 4}},   {top, false, dhDouble, {13, 4}},
        {top, false, dhNone, {4, 4}},    {left, false, dhSingle, {4, 10}}, {left, true, dhNone, {4, 18}},
    };
    for (const Row& row : rows) {
        bar->SetParent(row.dock);
        bar->SetCloseButtonWhenDocked(row.closeButton);
        bar->SetDragHandleStyle(row.style);
        TSize size;
        bar->GetDockedNCAreaSize(size);
        EXPECT_EQ(size.cx, row.expected.cx) << row.closeButton << " " << row.style;
        EXPECT_EQ(size.cy, row.expected.cy) << row.closeButton << " " << row.style;
        // The window agrees with what the dock reserved.
        EXPECT_EQ(bar->Width() - bar->ClientWidth(), row.expected.cx);
        EXPECT_EQ(bar->Height() - bar->ClientHeight(), row.expected.cy);
    }
    // No dragging on the dock: no handle, no close button.
    bar->SetParent(top);
    top->SetAllowDrag(false);
    EXPECT_EQ(bar->Width() - bar->ClientWidth(), 4);
}

TEST_F(Dock, HitCodesOfTheDockedFrame) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    bar->SetCloseButtonWhenDocked(true);
    const TRect window = ScreenRect(bar->Handle());
    auto hit = [&](int x, int y) {
        return SendMessageW(bar->Handle(), WM_NCHITTEST, 0, PointToLParam(window.Left + x, window.Top + y));
    };
    const TRect button = bar->GetDockedCloseButtonRect(false);
    EXPECT_EQ(hit(button.Left + 2, button.Top + 2), HT_BAR_CLOSEBUTTON);
    EXPECT_EQ(hit(6, window.Height() - 3), HT_BAR_DRAGHANDLE);
    EXPECT_EQ(hit(window.Width() / 2, window.Height() / 2), HTCLIENT);
    dock->SetAllowDrag(false);
    // The frame stays the bar's, though a press on it starts no move.
    EXPECT_EQ(hit(1, 1), HT_BAR_DRAGHANDLE);
}

namespace {
TOwned<TBitmap> Print(TWinControl* Control) {
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(Control->Width(), Control->Height());
    RECT all{0, 0, Control->Width(), Control->Height()};
    FillRect(bitmap->Canvas()->Handle(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SendMessageW(Control->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(bitmap->Canvas()->Handle()),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    return bitmap;
}
}  // namespace

TEST_F(Dock, GripAndCloseGlyphArePainted) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    bar->SetColor(clBtnFace);
    TOwned<TBitmap> plain = Print(bar);
    const TColor face = ColorToRGB(clBtnFace), light = GetSysColor(COLOR_BTNHIGHLIGHT),
                 shadow = GetSysColor(COLOR_BTNSHADOW);
    // dhSingle: one grip line 3 pixels wide at x = 3, light on its left and
    // dark on its right, the rest of the handle strip the bar's colour.
    EXPECT_EQ(plain->Canvas()->Pixels(3, 10), light);
    EXPECT_EQ(plain->Canvas()->Pixels(5, 10), shadow);
    EXPECT_EQ(plain->Canvas()->Pixels(7, 10), face);
    EXPECT_EQ(plain->Canvas()->Pixels(20, 10), face);  // client area, erased with the colour

    bar->SetCloseButtonWhenDocked(true);
    TOwned<TBitmap> withButton = Print(bar);
    const TRect button = bar->GetDockedCloseButtonRect(false);
    static const BYTE glyph[8] = {0x00, 0xCC, 0x78, 0x30, 0x78, 0xCC, 0x00, 0x00};
    const TColor text = GetSysColor(COLOR_BTNTEXT);
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col) {
            const TColor got = withButton->Canvas()->Pixels(button.Left + 2 + col, button.Top + 2 + row);
            if (glyph[row] & (0x80 >> col))
                EXPECT_EQ(got, text) << col << "," << row;
            else
                EXPECT_EQ(got, face) << col << "," << row;
        }
}

TEST_F(Dock, MisplacedDocksAreRefused) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    try {
        dock->SetPosition(dpLeft);
        FAIL() << "a dock holding a bar changed its side";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), SBarDockCannotChangePosition);
    }
    auto* inner = Create<TBarDock>(form);
    EXPECT_THROW(inner->SetParent(dock), EInvalidOperation);
    EXPECT_THROW(inner->SetParent(bar), EInvalidOperation);
    // An empty dock may change sides, and re-aligns.
    TBarDock* other = NewDock(form, dpTop);
    other->SetPosition(dpRight);
    EXPECT_EQ(other->Align(), alRight);
}

TEST_F(Dock, OneChangeGivesOneArrangement) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    NewBar(form, dock, 0, 100);
    const int before = dock->ArrangementCount();
    bar->SetDockPos(30);
    EXPECT_EQ(dock->ArrangementCount(), before + 1);
    dock->BeginUpdate();
    bar->SetDockPos(40);
    bar->SetDockRow(1);
    EXPECT_EQ(dock->ArrangementCount(), before + 1);
    dock->EndUpdate();
    EXPECT_EQ(dock->ArrangementCount(), before + 2);
}

TEST_F(Dock, ABarSavedByTheProgramSaysSo) {
    TForm* form = NewForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* saved = NewBar(form, dock);
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    WriteObjectProperties(stream.get(), saved);
    stream->SetPosition(0);
    TTestBar* loaded = NewBar(form, dock);
    EXPECT_FALSE(loaded->LoadedAtRunTime());
    ReadObjectProperties(stream.get(), loaded);
    EXPECT_TRUE(loaded->LoadedAtRunTime());
}
