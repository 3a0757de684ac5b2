// Skinned docks, toolbars, popups and floating windows as real windows:
// painted in the skin's table colours (read back through WM_PRINT), kept
// flush right, repainted on skin changes, driven by keys, and without leaks.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <vector>

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/handles.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "skin_test_support.h"
#include "skins/sbdock.h"
#include "skins/sbfloating.h"
#include "skins/sbhint.h"
#include "skins/sbitemsunit.h"
#include "skins/sbpopup.h"
#include "skins/sbtoolbar.h"
#include "skins/sbviewer.h"
#include "tests/support/pump.h"
#include "tests/toolbar/event_fn.h"
#include "tests/toolbar/menu_script.h"

namespace {

// Solid colours, one per part, so that every pixel tells its part.
class TBarsSkin : public TSbSkinOptions {
    VX_CLASS(TBarsSkin, TSbSkinOptions)
protected:
    void FillOptions() override {
        SkinName = "Bars test";
        Options(skncDock)->Body()->Fill(0, 0xA0A0A0, clNone, clNone, clNone);
        Options(skncToolbar)->Body()->Fill(0, 0xB0B0B0, clNone, clNone, clNone);
        Options(skncToolbarItem, sknsNormal)->TextColor = 0x123400;
        Options(skncToolbarItem, sknsHotTrack)->Body()->Fill(0, 0xF00000, clNone, clNone, clNone);
        Options(skncToolbarItem, sknsPushed)->Body()->Fill(0, 0x00F000, clNone, clNone, clNone);
        Options(skncToolbarItem, sknsChecked)->Body()->Fill(0, 0x0000F0, clNone, clNone, clNone);
        Options(skncSeparator)->Body()->Fill(0, 0x101010, 0xE0E0E0, clNone, clNone);
        Options(skncPopup)->Body()->Fill(0, 0xFFFFFF, clNone, clNone, clNone);
        Options(skncPopup)->Borders()->Fill(0, 0x808080, 0x808080, clNone, clNone);
        Options(skncGutter)->Body()->Fill(0, 0xF0F000, clNone, clNone, clNone);
        Options(skncMenuItem, sknsHotTrack)->Body()->Fill(0, 0x00A0F0, clNone, clNone, clNone);
        Options(skncWindowTitleBar)->Body()->Fill(0, 0x400040, clNone, clNone, clNone);
        Options(skncWindow)->Borders()->Fill(0, 0x010101, 0x020202, 0x030303, 0x040404);
    }
};

// Counts the skin-change messages a toolbar hears.
class TCountingToolbar : public TSbToolbar {
    VX_CLASS(TCountingToolbar, TSbToolbar)
public:
    using TSbToolbar::TSbToolbar;
    int SkinChanges = 0;
    void WndProc(TMessage& Message) override {
        if (Message.Msg == SM_SKINCHANGE) ++SkinChanges;
        inherited::WndProc(Message);
    }
};

class TCountingDock : public TSbDock {
    VX_CLASS(TCountingDock, TSbDock)
public:
    using TSbDock::TSbDock;
    int SkinChanges = 0;
    void WndProc(TMessage& Message) override {
        if (Message.Msg == SM_SKINCHANGE) ++SkinChanges;
        inherited::WndProc(Message);
    }
};

// The window as WM_PRINT draws it, frame included.
TOwned<TBitmap> Print(TWinControl* Control) {
    RECT r{};
    GetWindowRect(Control->Handle(), &r);
    TOwned<TBitmap> bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(r.right - r.left, r.bottom - r.top);
    SendMessageW(Control->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(bitmap->Canvas()->Handle()),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    return bitmap;
}

// Client coordinates of Control to those of its printed bitmap.
TPoint ClientOrigin(TWinControl* Control) {
    RECT r{};
    GetWindowRect(Control->Handle(), &r);
    POINT p{0, 0};
    ClientToScreen(Control->Handle(), &p);
    return TPoint(p.x - r.left, p.y - r.top);
}

class SkinnedBars : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Application->Initialize();
        InitSkinnedItemsUnit();
        SkinManager()->SkinsList()->AddSkin("Bars test", TBarsSkin::ClassInfo());
    }
    static void TearDownTestSuite() {
        TSbSkinsList* list = SkinManager()->SkinsList();
        list->Delete(list->IndexOf("Bars test"));
        FinalizeSkinnedItemsUnit();
    }
    void SetUp() override {
        SkinManager()->SetSkin("Bars test");
        form_ = Create<TForm>(nullptr, 0);
        form_->SetBounds(100, 100, 400, 300);
        dock_ = Create<TCountingDock>(form_);
        dock_->SetParent(form_);
        bar_ = Create<TCountingToolbar>(form_);
        bar_->SetCurrentDock(dock_);
        bar_->SetParent(dock_);
        form_->Show();
        SetForegroundWindow(form_->Handle());
        SetCursorPos(5, 5);
        Pump();
    }
    void TearDown() override {
        form_->Free();
        Pump();
        SkinManager()->SetSkin("Default");
    }
    static void Pump() { Application->ProcessMessages(); }
    template <class T = TSbItem>
    T* Add(const std::wstring& Caption, TBarCustomItem* Parent = nullptr) {
        T* item = Create<T>(form_);
        item->SetCaption(Caption);
        (Parent ? Parent : static_cast<TBarCustomItem*>(bar_->Items()))->Add(item);
        return item;
    }
    TSbItem* Square(TBarCustomItem* Parent = nullptr) {
        TSbItem* item = Add(L"", Parent);
        item->SetCustomWidth(24);
        item->SetCustomHeight(22);
        return item;
    }
    TRect Bounds(TBarCustomItem* Item) {
        bar_->View()->ValidatePositions();
        TBarItemViewer* viewer = bar_->View()->Find(Item);
        return viewer ? viewer->BoundsRect : TRect(0, 0, 0, 0);
    }
    // How far Item ends short of the dock's right end, once laid out.
    int GapToDocksEnd(TBarCustomItem* Item) {
        Pump();
        POINT p{Bounds(Item).Right, 0};
        ClientToScreen(bar_->Handle(), &p);
        ScreenToClient(dock_->Handle(), &p);
        return dock_->ClientWidth() - p.x;
    }
    // The colour in the middle of an item, read from the printed toolbar.
    TColor ItemColour(TBarCustomItem* Item) {
        TOwned<TBitmap> bitmap = Print(bar_);
        const TRect r = Bounds(Item);
        const TPoint o = ClientOrigin(bar_);
        return bitmap->PixelColor(o.X + (r.Left + r.Right) / 2, o.Y + (r.Top + r.Bottom) / 2);
    }
    template <class Sig, class F>
    TDelegate<Sig> On(F Body) {
        return events_.On<Sig>(Body);
    }

    TForm* form_ = nullptr;
    TCountingDock* dock_ = nullptr;
    TCountingToolbar* bar_ = nullptr;
    TEventFns events_;
};

TEST_F(SkinnedBars, ItemBackgroundsFollowTheStateTable) {
    TSbItem* plain = Square();
    TSbItem* checked = Square();
    checked->SetChecked(true);
    TSbItem* hot = Square();
    Pump();
    bar_->View()->Select(bar_->View()->Find(hot), true);
    EXPECT_EQ(ItemColour(plain), 0xB0B0B0) << "a normal item shows the toolbar";
    EXPECT_EQ(ItemColour(checked), 0x0000F0);
    EXPECT_EQ(ItemColour(hot), 0xF00000);
    bar_->View()->Select(nullptr, false);
    // The dock around the bar.
    TOwned<TBitmap> dock = Print(dock_);
    EXPECT_EQ(dock->PixelColor(dock->Width() - 2, dock->Height() / 2), 0xA0A0A0);
}

TEST_F(SkinnedBars, SeparatorIsPaintedByTheSkin) {
    Square();
    auto* separator = Create<TSbSeparatorItem>(form_);
    bar_->Items()->Add(separator);
    Square();
    Pump();
    TOwned<TBitmap> bitmap = Print(bar_);
    const TRect r = Bounds(separator);
    const TPoint o = ClientOrigin(bar_);
    bool dark = false, light = false;
    for (int x = r.Left; x < r.Right; ++x) {
        const TColor c = bitmap->PixelColor(o.X + x, o.Y + (r.Top + r.Bottom) / 2);
        dark |= c == 0x101010;
        light |= c == 0xE0E0E0;
    }
    EXPECT_TRUE(dark && light);
}

TEST_F(SkinnedBars, ChevronShowsItsGlyphInTheItemTextColour) {
    form_->SetWidth(160);
    for (int i = 0; i < 12; ++i) Square();
    Pump();
    bar_->View()->ValidatePositions();
    TBarItemViewer* chevron = bar_->View()->Find(bar_->ChevronItem());
    ASSERT_TRUE(chevron && chevron->Show) << "twelve items do not fit";
    TOwned<TBitmap> bitmap = Print(bar_);
    const TPoint o = ClientOrigin(bar_);
    int glyph = 0;
    for (int y = chevron->BoundsRect.Top; y < chevron->BoundsRect.Bottom; ++y)
        for (int x = chevron->BoundsRect.Left; x < chevron->BoundsRect.Right; ++x)
            glyph += bitmap->PixelColor(o.X + x, o.Y + y) == 0x123400;
    EXPECT_GT(glyph, 4);
}

TEST_F(SkinnedBars, RightAlignedItemsStayFlushRightWhenTheBarWidens) {
    Add(L"File");
    Add<TSbRightAlignSpacerItem>(L"");
    Add(L"Help");
    TSbItem* last = Add(L"About");
    Pump();
    auto flushGap = [&] { return GapToDocksEnd(last); };
    const int before = flushGap();
    EXPECT_GE(before, 0);
    EXPECT_LE(before, 8) << "the last item ends at the dock's right end";
    form_->SetWidth(600);
    EXPECT_EQ(flushGap(), before);
    form_->SetWidth(300);
    EXPECT_EQ(flushGap(), before);
}

TEST_F(SkinnedBars, RightAlignedItemsStayFlushRightWhenAnItemGoes) {
    Add(L"File");
    Add<TSbRightAlignSpacerItem>(L"");
    TSbItem* doomed = Add(L"Help");
    TSbItem* last = Add(L"About");
    auto flushGap = [&] { return GapToDocksEnd(last); };
    const int before = flushGap();
    const int barWidth = bar_->Width();
    doomed->Free();
    EXPECT_EQ(flushGap(), before);
    EXPECT_EQ(bar_->Width(), barWidth);
}

TEST_F(SkinnedBars, SkinSwitchRepaintsEverySkinnedBarOnce) {
    Square();
    Pump();
    const int dockPaints = dock_->PaintCount(), barPaints = bar_->PaintCount();
    bar_->SkinChanges = dock_->SkinChanges = 0;
    SkinManager()->SetSkin("Default");
    Pump();
    EXPECT_EQ(bar_->SkinChanges, 1);
    EXPECT_EQ(dock_->SkinChanges, 1);
    EXPECT_GT(dock_->PaintCount(), dockPaints);
    EXPECT_GT(bar_->PaintCount(), barPaints);
}

TEST_F(SkinnedBars, OwnerDrawThatFreesItsItemEndsThePaintSafely) {
    TSbItem* doomed = Square();
    TSbItem* next = Square();
    doomed->OnDrawItem = On<void(TObject*, TCanvas*, TRect, const TSbItemDrawInfo&, TSbDrawStage, bool&)>(
        [&](TObject*, TCanvas*, TRect, const TSbItemDrawInfo&, TSbDrawStage, bool&) {
            if (doomed) std::exchange(doomed, nullptr)->Free();
        });
    bool drawn = false;
    next->OnDrawCaption = On<void(TObject*, TCanvas*, TRect, const TSbItemDrawInfo&, TSbDrawStage, bool&)>(
        [&](TObject*, TCanvas*, TRect, const TSbItemDrawInfo&, TSbDrawStage, bool& PaintDefault) {
            drawn = true;
            PaintDefault = false;
        });
    next->SetCaption(L"Next");
    RedrawWindow(bar_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(bar_->Items()->Count(), 1);
    RedrawWindow(bar_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(drawn);
}

// The press's menu loop runs user code; one that takes the pressed item off
// the bar (keeping the bar's size) leaves nothing to click, and no error.
TEST_F(SkinnedBars, AnItemTakenOffTheBarByItsOnPopupEndsThePressQuietly) {
    auto* taken = Add<TSbSubmenuItem>(L"");
    taken->SetCustomWidth(24);
    taken->SetCustomHeight(22);
    Add(L"Sub", taken);
    std::vector<std::string> errors;
    Application->OnException = On<void(TObject*, const Exception&)>(
        [&](TObject*, const Exception& E) { errors.push_back(E.Message()); });
    int popups = 0;
    taken->OnPopup = On<void(TBarCustomItem*, bool)>([&](TBarCustomItem*, bool) {
        if (popups++ > 0) return;
        bar_->Items()->Remove(taken);
        Square();  // the same size in its place
    });
    Pump();
    const TRect r = Bounds(taken);
    const TRect before = bar_->BoundsRect();
    TMenuScript script;
    script.Then([&] { script.Key(VK_ESCAPE); });
    script.Then([&] { script.Key(VK_ESCAPE); });
    script.Start();
    // The loop reads where the press was from the cursor.
    POINT p{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    const LPARAM at = MAKELPARAM(p.x, p.y);
    ClientToScreen(bar_->Handle(), &p);
    SetCursorPos(p.x, p.y);
    PostMessageW(bar_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    Pump();
    Application->OnException = nullptr;
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(bar_->BoundsRect(), before);
    EXPECT_EQ(bar_->Items()->IndexOf(taken), -1);
    EXPECT_TRUE(errors.empty()) << errors.front();
    taken->Free();
}

TEST_F(SkinnedBars, LabelInAMenuIsOneTextLineHigh) {
    TSbSubmenuItem* menu = Add<TSbSubmenuItem>(L"&Drives");
    auto* label = Add<TSbLabelItem>(L"Monitored drives", menu);
    label->SetMinHeight(60);
    auto* item = Add(L"Disk 0", menu);
    Pump();
    TOwned<TBarPopupWindow> popup(
        label->CreatePopupWindow(bar_->View(), menu, false));  // a view of the submenu, not shown
    popup->HandleNeeded();
    TBarView* view = popup->View();
    view->ValidatePositions();
    TOwned<TBitmap> measure = MakeOwned<TBitmap>();
    TCanvas* canvas = measure->Canvas();
    canvas->SetFont(view->GetFont());
    canvas->TextExtent(std::wstring(L"0"));  // selects the font
    TEXTMETRICW tm{};
    GetTextMetricsW(canvas->Handle(), &tm);
    int w = 0, h = 0;
    view->Find(label)->CalcSize(canvas, w, h);
    EXPECT_EQ(h, tm.tmHeight);
    label->SetMinHeight(0);
    label->SetCustomHeight(30);
    view->Find(label)->CalcSize(canvas, w, h);
    EXPECT_EQ(h, 30);
    view->Find(item)->CalcSize(canvas, w, h);
    EXPECT_GE(h, 16 + 3 + 3) << "no image list: 16 plus the skin's margins";
}

TEST_F(SkinnedBars, LabelAcceleratorFocusesItsControl) {
    auto* edit = Create<TEdit>(form_);
    edit->SetParent(form_);
    edit->SetBounds(10, 100, 100, 22);
    auto* label = Add<TSbLabelItem>(L"&Name:");
    label->SetControl(edit);
    Pump();
    EXPECT_EQ(SendMessageW(bar_->Handle(), CM_DIALOGCHAR, 'n', 0), 1);
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_EQ(SendMessageW(bar_->Handle(), CM_DIALOGCHAR, 'x', 0), 0);
    // U+4E6E is an "n" only in its low byte.
    SetFocus(form_->Handle());
    EXPECT_EQ(SendMessageW(bar_->Handle(), CM_DIALOGCHAR, 0x4E6E, 0), 0);
    EXPECT_NE(GetFocus(), edit->Handle());
}

TEST_F(SkinnedBars, PopupMenuPaintsItsFrameAndGutterAndIsChosenByKeys) {
    auto* menu = Create<TSbPopupMenu>(form_);
    std::vector<TSbItem*> items;
    for (const wchar_t* caption : {L"&Refresh", L"&Settings", L"E&xit"}) {
        TSbItem* item = Create<TSbItem>(form_);
        item->SetCaption(caption);
        menu->Items()->Add(item);
        items.push_back(item);
    }
    TOwned<TBitmap> printed;
    TMenuScript script;
    script.Then([&] {
        TBarView* view = RunningMenuLoopView();
        ASSERT_NE(view, nullptr);
        printed = Print(view->Window());
        script.Key(VK_DOWN);
        script.Key(VK_DOWN);
    });
    script.Then([&] { script.Key(VK_RETURN); });
    script.Start();
    TBarCustomItem* chosen = menu->PopupEx(200, 200, true, nullptr);
    EXPECT_EQ(chosen, items[1]);
    ASSERT_TRUE(printed);
    EXPECT_EQ(printed->PixelColor(0, 0), 0x808080) << "the border";
    EXPECT_EQ(printed->PixelColor(6, printed->Height() / 2), 0xF0F000) << "the gutter";
    EXPECT_EQ(printed->PixelColor(printed->Width() - 6, printed->Height() - 5), 0xFFFFFF) << "the body";
}

TEST_F(SkinnedBars, HintIsDrawnIntoTheHintBitmap) {
    TSbItem* item = Add(L"&Refresh...");
    Pump();
    auto* viewer = static_cast<TSbItemViewer*>(bar_->View()->Find(item));
    THintInfo info;
    viewer->HintShow(info);
    EXPECT_EQ(info.HintStr, L"Refresh") << "the caption without its dots and marks";
    EXPECT_EQ(info.HintWindowClass, TBitmapHint::ClassInfo());
    EXPECT_EQ(info.HideTimeout, 60000);
    TBitmap* bitmap = SbHintBitmap();
    TCanvas* canvas = bitmap->Canvas();
    const TSize text = canvas->TextExtent(std::wstring(L"Refresh"));
    EXPECT_EQ(bitmap->Width(), text.cx + 8);
    EXPECT_EQ(bitmap->Height(), text.cy + 4);
    EXPECT_EQ(bitmap->PixelColor(1, 1), ColorToRGB(clInfoBk));
    // The item's event may paint instead.
    item->SetHint(L"Drives|Reads every drive again");
    item->OnDrawHint = On<void(TObject*, TBitmap*, std::wstring&, bool&)>(
        [](TObject*, TBitmap* Bitmap, std::wstring&, bool& PaintDefault) {
            Bitmap->Canvas()->Brush()->SetColor(clRed);
            Bitmap->Canvas()->FillRect(TRect(0, 0, Bitmap->Width(), Bitmap->Height()));
            PaintDefault = false;
        });
    viewer->HintShow(info);
    EXPECT_EQ(info.HintStr, L"Drives");
    EXPECT_EQ(bitmap->PixelColor(1, 1), clRed);
}

TEST_F(SkinnedBars, FloatingCaptionIsSkinned) {
    bar_->SetCaption(L"Drives");
    Square();
    bar_->SetFloating(true);
    Pump();
    auto* parent = dynamic_cast<TSbFloatingWindowParent*>(bar_->FloatingWindowParent());
    ASSERT_NE(parent, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(parent->Handle()) != 0; }));
    TOwned<TBitmap> bitmap = Print(parent);
    const TRect caption = parent->GetCaptionRect(true, true);
    int strip = 0;
    for (int x = caption.Left; x < caption.Right; ++x)
        strip += bitmap->PixelColor(x, caption.Bottom - 1) == 0x400040;
    EXPECT_GT(strip, caption.Width() / 2);
}

TEST_F(SkinnedBars, FloatingBarRepaintsItsWindowFrameOnASkinChange) {
    bar_->SetCaption(L"Drives");
    Square();
    bar_->SetFloating(true);
    Pump();
    TBarFloatingWindowParent* parent = bar_->FloatingWindowParent();
    ASSERT_NE(parent, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(parent->Handle()) != 0; }));
    int framePaints = 0;
    const TControl::TWindowProcLink count = On<void(TMessage&, const TControl::TWindowProcNext&)>(
        [&](TMessage& Message, const TControl::TWindowProcNext& Next) {
            if (Message.Msg == WM_NCPAINT) ++framePaints;
            Next(Message);
        });
    parent->AddWindowProcLink(count);
    Pump();
    framePaints = 0;
    SkinManager()->SetSkin("Default");
    Pump();
    parent->RemoveWindowProcLink(count);
    EXPECT_GT(framePaints, 0) << "the caption and frame show the new skin";
}

TEST_F(SkinnedBars, PopupMenuKeepsItsControlClear) {
    // A control at the bottom of the work area: its menu cannot open below
    // it, and opens above it rather than over it.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    form_->SetBounds(100, work.bottom - 120, 300, 110);
    auto* edit = Create<TEdit>(form_);
    edit->SetParent(form_);
    edit->SetBounds(10, 40, 120, 22);
    Pump();
    auto* menu = Create<TSbPopupMenu>(form_);
    for (const wchar_t* caption : {L"Cut", L"Copy", L"Paste", L"Delete", L"Select all"}) {
        TSbItem* item = Create<TSbItem>(form_);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    const TPoint at = edit->ClientToScreen({5, 5});
    const TPoint editTop = edit->ClientToScreen({0, 0});
    RECT shown{};
    TMenuScript script;
    script.Then([&] {
        if (TBarView* view = RunningMenuLoopView()) GetWindowRect(view->Window()->Handle(), &shown);
        script.Key(VK_ESCAPE);
    });
    script.Start();
    menu->PopupEx(at.X, at.Y, true, edit);
    ASSERT_GT(shown.bottom, shown.top) << "the menu opened";
    EXPECT_LE(shown.bottom, editTop.Y) << "the menu lies above the edit";
}

TEST_F(SkinnedBars, OldFormsWideCopiesOfCaptionAndHintAreDropped) {
    ReadOldFormCaption(bar_, L"Drives \u20AC", true);
    EXPECT_EQ(bar_->Caption(), L"Drives \u20AC");
    EXPECT_EQ(bar_->Hint(), L"");
}

TEST_F(SkinnedBars, ThousandPopupsAndRepaintsLeaveNoHandles) {
    auto* menu = Create<TSbPopupMenu>(form_);
    for (const wchar_t* caption : {L"&Refresh", L"&Settings"}) {
        TSbItem* item = Create<TSbItem>(form_);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    Square()->SetChecked(true);
    Add(L"Caption");
    TMenuScript script;
    auto openOnce = [&] {
        script.Then([&] { script.Key(VK_ESCAPE); });
        script.Start();
        menu->PopupEx(200, 200, true, nullptr);
        RedrawWindow(bar_->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    };
    openOnce();  // the first opening makes what lives on
    Pump();
    const long gdi = GdiHandleCount(), user = UserHandleCount();
    for (int i = 0; i < 1000; ++i) openOnce();
    Pump();
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
}

}  // namespace
