// The page control: pages whose tabs are hidden are still shown by index,
// without OnChange; a tab the user picks shows its page and fires OnChange
// (unless OnChanging refuses); pages fill the frame when no tab shows; a page
// gets its window and hears OnShow only when it comes to show; the keyboard
// stops on the control only while a tab shows.
#include "classlib/stdctrls/pagecontrol.h"

#include "classlib/stdctrls/edit.h"

#include "tests/classlib/stdctrls/stdctrls_test.h"

using namespace stdctrls_test;

namespace {

struct Changes {
    int changes = 0;
    bool allow = true;
    void Change(TObject*) { ++changes; }
    void Changing(TObject*, bool& AllowChange) { AllowChange = allow; }
};

class PageControl : public WindowTest {
protected:
    TPageControl* NewPages(int count, bool tabsVisible) {
        TForm* form = NewForm(40, 40, 400, 300);
        form->Show();
        SetForegroundWindow(form->Handle());
        auto* pages = Create<TPageControl>(form);
        pages->SetParent(form);
        pages->SetBounds(10, 10, 300, 200);
        for (int i = 0; i < count; ++i) {
            auto* sheet = Create<TTabSheet>(form);
            sheet->SetCaption("Page " + std::to_string(i));
            sheet->SetTabVisible(tabsVisible);
            sheet->SetPageControl(pages);
        }
        Pump();
        return pages;
    }
    static int ShownPages(TPageControl* pages) {
        int shown = 0;
        for (int i = 0; i < pages->PageCount(); ++i) shown += pages->Pages(i)->Showing();
        return shown;
    }
};

}  // namespace

TEST_F(PageControl, HiddenTabPagesSwitchByIndexWithoutOnChange) {
    TPageControl* pages = NewPages(4, false);
    Changes changes;
    pages->OnChange = TNotifyEvent(&changes, &Changes::Change);
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 0) << "no tab shows";
    for (int index : {0, 2, 3, 1}) {
        pages->SetActivePageIndex(index);
        EXPECT_EQ(pages->ActivePageIndex(), index);
        EXPECT_EQ(pages->ActivePage(), pages->Pages(index));
        EXPECT_TRUE(pages->Pages(index)->Showing());
        EXPECT_EQ(ShownPages(pages), 1);
    }
    EXPECT_EQ(changes.changes, 0);
    pages->SetActivePageIndex(7);
    EXPECT_EQ(pages->ActivePage(), nullptr);
    EXPECT_EQ(ShownPages(pages), 0);
}

TEST_F(PageControl, APageHearsOfEachShowBeforeItsWindowIsVisible) {
    TPageControl* pages = NewPages(3, true);
    pages->SetActivePageIndex(0);
    struct Shows {
        std::vector<bool> visible;
        void Show(TObject* Sender) {
            visible.push_back(IsWindowVisible(static_cast<TTabSheet*>(Sender)->Handle()) != FALSE);
        }
    } second, third;
    pages->Pages(1)->OnShow = TNotifyEvent(&second, &Shows::Show);
    pages->Pages(2)->OnShow = TNotifyEvent(&third, &Shows::Show);
    EXPECT_FALSE(pages->Pages(1)->HandleAllocated()) << "a page never shown has no window";

    pages->SetActivePageIndex(1);
    EXPECT_EQ(second.visible, std::vector<bool>{false});
    EXPECT_TRUE(pages->Pages(1)->Showing());
    pages->SetActivePageIndex(0);
    pages->SetActivePageIndex(1);
    EXPECT_EQ(second.visible, (std::vector<bool>{false, false})) << "again at the next show";
    EXPECT_TRUE(third.visible.empty());
    EXPECT_FALSE(pages->Pages(2)->HandleAllocated());
}

TEST_F(PageControl, PagesFillTheFrameWhenNoTabShows) {
    TPageControl* pages = NewPages(2, false);
    pages->SetActivePageIndex(0);
    const TRect page = pages->Pages(0)->BoundsRect();
    const TRect client = pages->ClientRect();
    EXPECT_LT(page.Top, 8) << "no tab row above the page";
    EXPECT_GT(page.Width(), client.Width() - 10);
    EXPECT_GT(page.Height(), client.Height() - 10);
    pages->Pages(1)->SetTabVisible(true);
    EXPECT_GT(pages->Pages(0)->Top(), page.Top) << "a tab row now";
}

TEST_F(PageControl, TheUsersTabChoiceShowsItsPageAndFiresOnChange) {
    TPageControl* pages = NewPages(3, true);
    pages->SetActivePageIndex(0);
    Changes changes;
    pages->OnChange = TNotifyEvent(&changes, &Changes::Change);
    pages->OnChanging = TTabChangingEvent(&changes, &Changes::Changing);
    auto clickTab = [&](int tab) {
        RECT r{};
        SendMessageW(pages->Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(tab),
                     reinterpret_cast<LPARAM>(&r));
        ClickAt(pages->ClientToScreen(Point((r.left + r.right) / 2, (r.top + r.bottom) / 2)));
    };
    clickTab(2);
    ASSERT_TRUE(PumpUntil([&] { return changes.changes == 1; }));
    EXPECT_EQ(pages->ActivePageIndex(), 2);
    EXPECT_EQ(ShownPages(pages), 1);

    changes.allow = false;
    clickTab(1);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(changes.changes, 1);
    EXPECT_EQ(pages->ActivePageIndex(), 2);
}

TEST_F(PageControl, AFreedActivePageHandsOverToTheNext) {
    TPageControl* pages = NewPages(3, true);
    pages->SetActivePageIndex(1);
    TTabSheet* next = pages->Pages(2);
    pages->Pages(1)->Free();
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), next);
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0), 1);
}

TEST_F(PageControl, TabStopsThereOnlyWhileATabShows) {
    for (bool tabsVisible : {false, true}) {
        TPageControl* pages = NewPages(2, tabsVisible);
        pages->SetActivePageIndex(0);
        auto* inner = Create<TEdit>(pages->Owner());
        inner->SetParent(pages->Pages(0));
        inner->SetBounds(10, 10, 80, 24);
        auto* after = Create<TEdit>(pages->Owner());
        after->SetParent(pages->Parent());
        after->SetBounds(10, 230, 80, 24);
        after->SetFocus();
        Pump();
        ASSERT_EQ(GetFocus(), after->Handle());
        std::vector<HWND> stops;
        for (int i = 0; i < 4; ++i) {
            const HWND before = GetFocus();
            PressKeys({VK_TAB});
            ASSERT_TRUE(PumpUntil([before] { return GetFocus() != before; }));
            stops.push_back(GetFocus());
        }
        const std::vector<HWND> expected =
            tabsVisible
                ? std::vector<HWND>{pages->Handle(), inner->Handle(), after->Handle(), pages->Handle()}
                : std::vector<HWND>{inner->Handle(), after->Handle(), inner->Handle(), after->Handle()};
        EXPECT_EQ(stops, expected) << "tabs visible: " << tabsVisible;
        pages->Parent()->Hide();
    }
}
