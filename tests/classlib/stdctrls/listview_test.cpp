// The list view: rows drawn in the colours and weight the custom-draw event
// chooses (read back from the screen), sub-items as column texts, check
// boxes ticked by the user reported and by the program not, clicks and
// selection events, a focus that always shows on a row, and rows that outlive
// their window.
#include "classlib/stdctrls/listview.h"

#include "tests/classlib/stdctrls/stdctrls_test.h"

using namespace stdctrls_test;

namespace {

struct DriveRows {
    // Green text; a row whose status is not "OK" red and bold; every other
    // row on grey.
    void Draw(TCustomListView* Sender, TListItem* Item, TCustomDrawState, bool&) {
        TCanvas* canvas = Sender->Canvas();
        canvas->Font()->SetColor(static_cast<TColor>(0x008000));
        if (Item->SubItems()->Strings(0) != "OK") {
            canvas->Font()->SetColor(static_cast<TColor>(0x0000FF));
            canvas->Font()->SetStyle({fsBold});
        }
        if (Item->Index() % 2 == 0) canvas->Brush()->SetColor(static_cast<TColor>(0xE0E0E0));
    }
};

struct Events {
    std::vector<TListItem*> checked;
    std::vector<std::pair<TListItem*, bool>> selections;
    int clicks = 0;
    void Checked(TObject*, TListItem* Item) { checked.push_back(Item); }
    void Selected(TObject*, TListItem* Item, bool Selected) { selections.emplace_back(Item, Selected); }
    void Click(TObject*) { ++clicks; }
};

class ListView : public WindowTest {
protected:
    TListView* NewList(TForm* form, std::initializer_list<std::pair<const char*, const char*>> rows) {
        auto* list = Create<TListView>(form);
        list->SetParent(form);
        list->SetBounds(10, 10, 360, 150);
        list->SetViewStyle(vsReport);
        list->SetCheckboxes(true);
        list->SetReadOnly(true);
        list->SetRowSelect(true);
        TListColumn* model = list->Columns()->Add();
        model->SetCaption("Model");
        model->SetWidth(160);
        TListColumn* status = list->Columns()->Add();
        status->SetCaption("Status");
        status->SetWidth(80);
        for (auto [caption, sub] : rows) {
            TListItem* item = list->Items()->Add();
            item->SetCaption(caption);
            item->SubItems()->Add(sub);
        }
        return list;
    }

    TForm* ShownForm() {
        TForm* form = NewForm(40, 40, 420, 260);
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
        return form;
    }

    static std::wstring CellText(TListView* list, int row, int column) {
        wchar_t text[128] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(list->Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return text;
    }

    static TRect RowRect(TListView* list, int row, int part = LVIR_BOUNDS) {
        RECT r{};
        r.left = part;
        SendMessageW(list->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        return r;
    }
};

// Leftmost and rightmost column of the pixels within R that are not the
// background (smoothed text has blended edges), and which colour dominates.
struct Ink {
    int first = -1, last = -1, count = 0, reddish = 0, greenish = 0;
    int Span() const { return count ? last - first + 1 : 0; }
};

Ink FindInk(TBitmap* shot, const TRect& r, COLORREF background) {
    Ink ink;
    for (int y = std::max<LONG>(r.Top, 0); y < std::min<LONG>(r.Bottom, shot->Height()); ++y)
        for (int x = std::max<LONG>(r.Left, 0); x < std::min<LONG>(r.Right, shot->Width()); ++x) {
            const COLORREF c = ColorToRGB(shot->PixelColor(x, y));
            if (c == background) continue;
            if (ink.first < 0 || x < ink.first) ink.first = x;
            if (x > ink.last) ink.last = x;
            ++ink.count;
            if (GetRValue(c) > GetGValue(c) + 40) ++ink.reddish;
            if (GetGValue(c) > GetRValue(c) + 40) ++ink.greenish;
        }
    return ink;
}

}  // namespace

TEST_F(ListView, CustomDrawGivesEachRowItsTextColourWeightAndBackground) {
    TForm* form = ShownForm();
    TListView* list = NewList(form, {{"Disk", "OK"}, {"Disk", "Warning"}, {"Disk", "OK"}});
    DriveRows rows;
    list->OnCustomDrawItem = TLVCustomDrawItemEvent(&rows, &DriveRows::Draw);
    Pump();
    TOwned<TBitmap> shot = CaptureClient(list->Handle());

    const COLORREF grey = RGB(0xE0, 0xE0, 0xE0), white = ColorToRGB(clWindow);
    // The caption cells only: right of the check box, left of the status column.
    auto captionCell = [&](int row) {
        TRect label = RowRect(list, row, LVIR_LABEL);
        label.Right = std::min<LONG>(label.Right, 160);
        return label;
    };
    const Ink normal = FindInk(shot.get(), captionCell(0), grey);
    const Ink bold = FindInk(shot.get(), captionCell(1), white);
    const Ink third = FindInk(shot.get(), captionCell(2), grey);
    EXPECT_GT(normal.greenish, 0) << "row 0 in green";
    EXPECT_EQ(normal.reddish, 0);
    EXPECT_GT(bold.reddish, 0) << "row 1 in red";
    EXPECT_EQ(bold.greenish, 0);
    EXPECT_GT(third.greenish, 0);
    EXPECT_EQ(third.reddish, 0);
    // The sub-item of the warning row takes the row's colour too.
    TRect status = RowRect(list, 1);
    status.Left = 160;
    EXPECT_GT(FindInk(shot.get(), status, white).reddish, 0);

    // Bold: the same caption is wider by what the same DC measures.
    TWindowDC dc(list->Handle());
    SIZE plain{}, heavy{};
    {
        TSelectObject select(dc.Get(), list->Font()->Handle());
        GetTextExtentPoint32W(dc.Get(), L"Disk", 4, &plain);
    }
    LOGFONTW boldFont = list->Font()->LogFont();
    boldFont.lfWeight = FW_BOLD;
    TFontHandle boldHandle(CreateFontIndirectW(&boldFont));
    {
        TSelectObject select(dc.Get(), boldHandle.Get());
        GetTextExtentPoint32W(dc.Get(), L"Disk", 4, &heavy);
    }
    ASSERT_GT(heavy.cx, plain.cx);
    EXPECT_NEAR(bold.Span() - normal.Span(), heavy.cx - plain.cx, 1);
    EXPECT_NEAR(normal.Span(), plain.cx, 2);

    // Even rows stand on grey, odd ones on the window colour.
    const TRect row0 = captionCell(0), row1 = captionCell(1);
    EXPECT_EQ(ColorToRGB(shot->PixelColor(row0.Right - 3, row0.Top + 2)), grey);
    EXPECT_EQ(ColorToRGB(shot->PixelColor(row1.Right - 3, row1.Top + 2)), white);
}

TEST_F(ListView, SubItemsAreTheColumnTextsOfTheRow) {
    TForm* form = ShownForm();
    TListView* list = NewList(form, {{"Model A", "OK"}});
    TListItem* item = list->Items()->Item(0);
    item->SubItems()->Add("41");
    EXPECT_EQ(CellText(list, 0, 0), L"Model A");
    EXPECT_EQ(CellText(list, 0, 1), L"OK");
    EXPECT_EQ(CellText(list, 0, 2), L"41");
    item->SubItems()->SetStrings(0, "Warning");
    item->SetCaption("Model B");
    EXPECT_EQ(CellText(list, 0, 0), L"Model B");
    EXPECT_EQ(CellText(list, 0, 1), L"Warning");
    EXPECT_EQ(CellText(list, 0, 3), L"") << "a column without a sub-item is empty";
}

TEST_F(ListView, TheUserTickingABoxIsReportedAndTheProgramTickingIsNot) {
    TForm* form = ShownForm();
    TListView* list = NewList(form, {{"First", "OK"}, {"Second", "OK"}});
    Events events;
    list->OnItemChecked = TLVCheckedItemEvent(&events, &Events::Checked);
    list->Items()->Item(0)->SetChecked(true);
    Pump();
    EXPECT_TRUE(list->Items()->Item(0)->Checked());
    EXPECT_TRUE(events.checked.empty());

    // The box sits at the left of the row, before the caption.
    const TRect bounds = RowRect(list, 1);
    const TRect label = RowRect(list, 1, LVIR_LABEL);
    TRect icon = RowRect(list, 1, LVIR_ICON);
    const int boxX = (bounds.Left + std::min(icon.Left, label.Left)) / 2;
    ClickAt(list->ClientToScreen(Point(boxX, (bounds.Top + bounds.Bottom) / 2)));
    ASSERT_TRUE(PumpUntil([&] { return !events.checked.empty(); }));
    EXPECT_EQ(events.checked, std::vector<TListItem*>{list->Items()->Item(1)});
    EXPECT_TRUE(list->Items()->Item(1)->Checked());
    EXPECT_TRUE(list->Items()->Item(0)->Checked());
}

TEST_F(ListView, DoubleBufferedRowsRepaintWithoutWipingTheColumnHeader) {
    TForm* form = ShownForm();
    TListView* list = NewList(form, {{"Disk", "OK"}});
    list->SetDoubleBuffered(true);
    Pump();
    // The rows repaint alone, as when a row changes; the header is not asked to.
    RedrawWindow(list->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HWND header = ListView_GetHeader(list->Handle());
    ASSERT_TRUE(header);
    RECT area{};
    GetClientRect(header, &area);
    MapWindowPoints(header, list->Handle(), reinterpret_cast<POINT*>(&area), 2);
    TOwned<TBitmap> shot(Create<TBitmap>());
    shot->SetSize(area.right, area.bottom);
    {
        TWindowDC dc(list->Handle());
        BitBlt(shot->Canvas()->Handle(), 0, 0, area.right, area.bottom, dc.Get(), 0, 0, SRCCOPY);
    }
    EXPECT_GT(
        FindInk(shot.get(), TRect(area.left, area.top, area.right, area.bottom), ColorToRGB(clWindow)).count,
        0)
        << "the header shows only the list's background";
}

TEST_F(ListView, AClickOnARowSelectsItAndClicksOnce) {
    TForm* form = ShownForm();
    TListView* list = NewList(form, {{"First", "OK"}, {"Second", "OK"}, {"Third", "OK"}});
    list->SetItemIndex(0);
    Pump();
    Events events;
    list->OnSelectItem = TLVSelectItemEvent(&events, &Events::Selected);
    list->OnClick = TNotifyEvent(&events, &Events::Click);
    const TRect label = RowRect(list, 2, LVIR_LABEL);
    ClickAt(list->ClientToScreen(Point(label.Left + 10, (label.Top + label.Bottom) / 2)));
    ASSERT_TRUE(PumpUntil([&] { return events.clicks > 0; }));
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(events.clicks, 1);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->Selected(), list->Items()->Item(2));
    const std::vector<std::pair<TListItem*, bool>> expected{{list->Items()->Item(0), false},
                                                            {list->Items()->Item(2), true}};
    EXPECT_EQ(events.selections, expected);
}

TEST_F(ListView, TheFocusShowsOnARowWithoutChoosingOne) {
    TForm* form = ShownForm();
    auto focusedRow = [](TListView* list) {
        return SendMessageW(list->Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    };
    TListView* fresh = NewList(form, {{"First", "OK"}, {"Second", "OK"}});
    TListView* chosen = NewList(form, {{"First", "OK"}, {"Second", "OK"}, {"Third", "OK"}});
    chosen->SetTop(170);
    chosen->SetItemIndex(2);
    Events events;
    fresh->OnSelectItem = TLVSelectItemEvent(&events, &Events::Selected);
    fresh->SetFocus();
    Pump();
    EXPECT_EQ(focusedRow(fresh), 0) << "the first row shows the focus";
    EXPECT_EQ(fresh->Selected(), nullptr) << "and is not chosen";
    EXPECT_TRUE(events.selections.empty());
    chosen->SetFocus();
    Pump();
    EXPECT_EQ(focusedRow(chosen), 2) << "a chosen row keeps it";
}

TEST_F(ListView, RowsColumnsAndStatesOutliveTheWindow) {
    TForm* form = ShownForm();
    TListView* list = NewList(form, {{"First", "OK"}, {"Second", "Warning"}});
    list->Items()->Item(1)->SetChecked(true);
    list->SetItemIndex(1);
    list->Columns()->Items(0)->SetWidth(120);
    HWND before = list->Handle();
    list->RecreateWnd();
    ASSERT_NE(list->Handle(), before);
    EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(CellText(list, 1, 1), L"Warning");
    EXPECT_TRUE(list->Items()->Item(1)->Checked());
    EXPECT_FALSE(list->Items()->Item(0)->Checked());
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(list->Columns()->Items(0)->Width(), 120);
}

TEST_F(ListView, ItemsClearAndCountWithTheWindow) {
    TForm* form = ShownForm();
    TListView* list = NewList(form, {});
    list->Items()->BeginUpdate();
    list->Items()->BeginUpdate();
    for (int i = 0; i < 5; ++i) list->Items()->Add()->SetCaption("Row");
    list->Items()->EndUpdate();
    list->Items()->EndUpdate();
    EXPECT_EQ(list->Items()->Count(), 5);
    EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETITEMCOUNT, 0, 0), 5);
    list->Items()->Delete(1);
    EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETITEMCOUNT, 0, 0), 4);
    list->Items()->Clear();
    EXPECT_EQ(list->Items()->Count(), 0);
    EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_THROW(list->Items()->Item(0), EListError);
}
