// A big tree shown, painted and freed leaves no GDI or window handle behind.
#include <string>

#include "classlib/graphics/handles.h"
#include "tests/toolbar/view_fixture.h"

namespace {

class ItemsLeakTest : public ViewWindowTest {};

TEST_F(ItemsLeakTest, AThousandItemsWithViewsLeaveTheHandleCountsAsTheyWere) {
    ShowForm();
    Application->ProcessMessages();
    const long gdi = GdiHandleCount(), user = UserHandleCount();
    {
        TBarCustomItem* menu = nullptr;
        for (int i = 0; i < 1000; ++i) {
            if (i % 10 == 0) {
                menu = Add("Menu " + std::to_string(i));
                menu->SetItemStyle(menu->ItemStyle() | isfSubmenu);
            } else if (i % 10 == 5) {
                root_->Add(Create<TBarSeparatorItem>(form_));
            } else {
                TBarCustomItem* item = Add("Item " + std::to_string(i), i % 3 ? root_ : menu);
                item->SetChecked(i % 7 == 0);
                item->SetShortCut(static_cast<TShortCut>(i % 5 ? 0 : 0x4000 + 'A' + i % 26));
            }
        }
        TBarView* bar = MakeView(true);
        bar->SetWrapOffset(360);
        bar->ValidatePositions();
        window_->Repaint();
        // A menu view of the same items, painted through bitmaps.
        TBarView* menuView = Create<TBarPopupView>(nullptr, nullptr, root_, window_, false, false, false);
        window_->View = menuView;
        menuView->SetMaxHeight(180);
        menuView->ValidatePositions();
        for (int i = 0; i < menuView->ViewerCount(); i += 50) menuView->Invalidate(menuView->Viewers(i));
        window_->Repaint();
        Application->ProcessMessages();
        menuView->Free();
        window_->View = bar;
        while (root_->Count()) root_->Items(root_->Count() - 1)->Free();
        bar->Free();
        view_ = nullptr;
        window_->View = nullptr;
    }
    Application->ProcessMessages();
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
}

}  // namespace
