// Popup windows as real windows: placement on the work area, the scrolling
// arrows and wheel, the frame, and handles over many open-close rounds.
#include <gtest/gtest.h>

#include <string>

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/colors.h"
#include "classlib/graphics/handles.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "toolbar/barpopup.h"
#include "toolbar/barsystem.h"

namespace {

// Counts what its window goes through while it is still hidden.
class TRecordingPopupWindow : public TBarPopupWindow {
    VX_CLASS(TRecordingPopupWindow, TBarPopupWindow)
public:
    using TBarPopupWindow::TBarPopupWindow;
    int HiddenMoves = 0;
    int HiddenPaints = 0;
    void WndProc(TMessage& Message) override {
        if (HandleAllocated() && !IsWindowVisible(Handle())) {
            if (Message.Msg == WM_WINDOWPOSCHANGED &&
                (~Message.LParamAs<WINDOWPOS>()->flags & (SWP_NOMOVE | SWP_NOSIZE)))
                ++HiddenMoves;
            if (Message.Msg == WM_PAINT || Message.Msg == WM_ERASEBKGND) ++HiddenPaints;
        }
        inherited::WndProc(Message);
    }
};

class TRecordingRootItem : public TBarRootItem {
    VX_CLASS(TRecordingRootItem, TBarRootItem)
public:
    using TBarRootItem::TBarRootItem;
    TBarPopupWindow* CreatePopupWindow(TBarView* ParentView, TBarCustomItem* Shown,
                                       bool Customizing) override {
        return Create<TRecordingPopupWindow>(nullptr, ParentView, Shown, Customizing);
    }
};

class PopupWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        owner_ = Create<TComponent>(nullptr);
        root_ = Create<TBarRootItem>(owner_);
    }
    void TearDown() override {
        owner_->Free();
        Application->ProcessMessages();
    }
    TBarCustomItem* Add(const std::string& Caption, TBarCustomItem* Parent = nullptr) {
        auto* item = Create<TBarCustomItem>(owner_);
        item->SetCaption(Caption);
        (Parent ? Parent : root_)->Add(item);
        return item;
    }
    static TBarCustomItem* Submenu(TBarCustomItem* Item) {
        Item->SetItemStyle(Item->ItemStyle() | isfSubmenu);
        return Item;
    }
    TOwned<TBarPopupWindow> Open(TPoint At, BYTE Alignment = bpaLeft) {
        return TOwned<TBarPopupWindow>(
            CreatePopup(root_, nullptr, nullptr, false, false, false, At, Alignment));
    }
    static TRect WindowRect(TWinControl* Window) {
        RECT r;
        GetWindowRect(Window->Handle(), &r);
        return r;
    }

    TComponent* owner_ = nullptr;
    TBarRootItem* root_ = nullptr;
};

TEST_F(PopupWindowTest, PopupsNearTheEdgesStayOnTheWorkArea) {
    for (int i = 0; i < 6; ++i) Add("Item number " + std::to_string(i));
    const TRect work = GetRectOfMonitorContainingPoint(TPoint(0, 0), true);
    const TPoint corners[] = {TPoint(work.Right - 2, work.Bottom - 2), TPoint(work.Left, work.Bottom - 1),
                              TPoint(work.Right - 1, work.Top)};
    for (TPoint p : corners) {
        TOwned<TBarPopupWindow> popup = Open(p);
        const TRect r = WindowRect(popup.get());
        EXPECT_GE(r.Left, work.Left);
        EXPECT_GE(r.Top, work.Top);
        EXPECT_LE(r.Right, work.Right);
        EXPECT_LE(r.Bottom, work.Bottom);
        EXPECT_TRUE(IsWindowVisible(popup->Handle()));
        EXPECT_TRUE(GetWindowLongW(popup->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    }
    // Right alignment puts the popup's right edge on the point.
    TOwned<TBarPopupWindow> right = Open(TPoint(400, 200), bpaRight);
    EXPECT_EQ(WindowRect(right.get()).Right, 400);
}

TEST_F(PopupWindowTest, APopupWindowIsMadeAtItsPlaceAndSizeAndFirstPaintedWhenShown) {
    auto* root = Create<TRecordingRootItem>(owner_);
    for (int i = 0; i < 6; ++i) {
        auto* item = Create<TBarCustomItem>(owner_);
        item->SetCaption("Item number " + std::to_string(i));
        root->Add(item);
    }
    TOwned<TBarPopupWindow> popup(
        CreatePopup(root, nullptr, nullptr, false, false, false, TPoint(200, 150), bpaLeft));
    auto* window = dynamic_cast<TRecordingPopupWindow*>(popup.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->HiddenMoves, 0);
    EXPECT_EQ(window->HiddenPaints, 0);
    EXPECT_EQ(WindowRect(window).TopLeft(), TPoint(200, 150));
    // The frame is the popup's own: the client area holds the laid-out items.
    RECT client;
    GetClientRect(window->Handle(), &client);
    const TSize laidOut = window->View()->UpdatePositions();
    EXPECT_EQ(client.right, laidOut.cx);
    EXPECT_EQ(client.bottom, laidOut.cy);
}

TEST_F(PopupWindowTest, AWorkAreaSetThroughTheSystemSettingsIsKept) {
    for (int i = 0; i < 8; ++i) Add("Item number " + std::to_string(i));
    RECT old{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &old, 0);
    RECT small{120, 80, 620, 400};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &small, 0);
    struct TRestore {
        RECT r;
        ~TRestore() { SystemParametersInfoW(SPI_SETWORKAREA, 0, &r, 0); }
    } restore{old};
    if (GetRectOfMonitorContainingPoint(TPoint(300, 300), true) != TRect(small))
        GTEST_SKIP() << "the system keeps its own work area";
    for (TPoint p : {TPoint(615, 395), TPoint(100, 60), TPoint(610, 90), TPoint(125, 398)}) {
        TOwned<TBarPopupWindow> popup = Open(p);
        const TRect r = WindowRect(popup.get());
        EXPECT_GE(r.Left, small.left);
        EXPECT_GE(r.Top, small.top);
        EXPECT_LE(r.Right, small.right);
        EXPECT_LE(r.Bottom, small.bottom);
    }
}

TEST_F(PopupWindowTest, ASubmenuOpensBesideItsItemAndItsChildrenKeepTheSide) {
    TBarCustomItem* a = Submenu(Add("More"));
    TBarCustomItem* b = Submenu(Add("Deeper", a));
    Add("Leaf", b);
    const TRect work = GetRectOfMonitorContainingPoint(TPoint(0, 0), true);
    // Near the right edge there is no room on the right: submenus go left.
    TOwned<TBarPopupWindow> popup = Open(TPoint(work.Right - 60, 100));
    TBarView* view = popup->View();
    view->Select(view->Find(a), false);
    ASSERT_TRUE(view->OpenChildPopup(false));
    TBarView* child = view->OpenViewerView();
    EXPECT_LT(WindowRect(child->Window()).Right, WindowRect(popup.get()).Right);
    EXPECT_TRUE(child->State() & vsOppositePopup);
    child->Select(child->Find(b), false);
    ASSERT_TRUE(child->OpenChildPopup(false));
    EXPECT_LT(WindowRect(child->OpenViewerView()->Window()).Left, WindowRect(child->Window()).Left);
}

TEST_F(PopupWindowTest, ALongMenuScrollsWithArrowsAndWheel) {
    for (int i = 0; i < 120; ++i) Add("Line " + std::to_string(i));
    TOwned<TBarPopupWindow> popup = Open(TPoint(100, 0));
    TBarView* view = popup->View();
    EXPECT_FALSE(view->ShowUpArrow());
    ASSERT_TRUE(view->ShowDownArrow());
    const TRect work = GetRectOfMonitorContainingPoint(TPoint(100, 0), true);
    EXPECT_LE(WindowRect(popup.get()).Height(), work.Height());

    // The down arrow is painted in the bottom band, in the menu text colour.
    popup->Repaint();
    TOwned<TBitmap> shot = MakeOwned<TBitmap>();
    const TRect client = popup->ClientRect();
    shot->SetWidth(client.Width());
    shot->SetHeight(client.Height());
    SendMessageW(popup->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot->Canvas()->Handle()),
                 PRF_CLIENT);
    const int cx = client.Width() / 2, cy = client.Height() - BarScrollBand + BarScrollBand / 2 - 2;
    EXPECT_EQ(ColorToRGB(shot->Canvas()->Pixels(cx, cy + 1)), ColorToRGB(clMenuText));

    // One notch, or two half notches, scroll the same way.
    auto offsetAfter = [&](std::initializer_list<int> Deltas) {
        TOwned<TBarPopupWindow> p = Open(TPoint(100, 0));
        for (int d : Deltas) p->View()->MouseWheel(d, 0, 0);
        return p->View()->ScrollOffset();
    };
    const int whole = offsetAfter({-120});
    EXPECT_GT(whole, 0);
    EXPECT_EQ(offsetAfter({-60, -60}), whole);
}

TEST_F(PopupWindowTest, AThousandThreeLevelChainsLeaveTheHandleCountsAsTheyWere) {
    TBarCustomItem* a = Submenu(Add("One"));
    TBarCustomItem* b = Submenu(Add("Two", a));
    for (int i = 0; i < 5; ++i) Add("Three " + std::to_string(i), b);
    Add("Other");
    auto round = [&] {
        TOwned<TBarPopupWindow> popup = Open(TPoint(200, 200));
        TBarView* view = popup->View();
        view->Select(view->Find(a), false);
        view->OpenChildPopup(true);
        TBarView* child = view->OpenViewerView();
        child->Select(child->Find(b), false);
        child->OpenChildPopup(true);
        popup->Repaint();
    };
    round();
    Application->ProcessMessages();
    const long gdi = GdiHandleCount(), user = UserHandleCount();
    for (int i = 0; i < 1000; ++i) round();
    Application->ProcessMessages();
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
}

}  // namespace
