// The group bar as a window: layout of real groups, exclusive opening,
// removing groups, the scroll bar, the wheel and the frame.
#include "controls/scgroupbar.h"

#include <chrono>

#include "controls/scscheme.h"
#include "tests/controls/group_fixture.h"

namespace {

class ScGroupBarTest : public GroupBarTest {};

TEST_F(ScGroupBarTest, EachStyleGivesTheGroupsTheirHeights) {
    TScGroupBar* bar = NewBar(220);
    TScGroup* a = NewGroup(bar, "A");
    TScGroup* b = NewGroup(bar, "B");
    TScGroup* c = NewGroup(bar, "C");
    a->SetOpened(true);
    EXPECT_EQ(a->Height(), 50);  // OpenedHeight of a group without items
    EXPECT_EQ(b->Height(), 20);
    EXPECT_EQ(b->Top(), a->Top() + a->Height() + 8);
    EXPECT_EQ(a->Width(), bar->ClientWidth() - 16);

    bar->SetStyle(gbsTaskList);
    EXPECT_EQ(bar->GroupBorderSize(), 4);
    // Every task-list group shows open.
    EXPECT_EQ(b->Height(), 50);
    EXPECT_EQ(c->Height(), 50);

    bar->SetStyle(gbsOutlook);
    EXPECT_EQ(bar->GroupBorderSize(), 0);
    EXPECT_TRUE(a->Opened());
    EXPECT_FALSE(b->Opened() || c->Opened());
    EXPECT_EQ(a->Height(), bar->ClientHeight() - 40);
    EXPECT_EQ(c->Top() + c->Height(), bar->ClientHeight());
}

TEST_F(ScGroupBarTest, ExclusiveModeKeepsOneGroupOpenInCategoryViewOnly) {
    TScGroupBar* bar = NewBar();
    TScGroup* a = NewGroup(bar, "A");
    TScGroup* b = NewGroup(bar, "B");
    b->SetOpened(true);
    bar->SetExclusiveMode(true);
    EXPECT_TRUE(a->Opened());
    EXPECT_FALSE(b->Opened());
    b->SetOpened(true);
    EXPECT_FALSE(a->Opened());
    EXPECT_EQ(b->Top(), a->Top() + 20 + 8);

    TScGroupBar* tasks = NewBar(220, gbsTaskList);
    tasks->SetExclusiveMode(true);
    EXPECT_FALSE(tasks->ExclusiveMode());
}

TEST_F(ScGroupBarTest, RemovingTheOpenGroupOfAnExclusiveBarOpensANeighbour) {
    TScGroupBar* bar = NewBar();
    bar->SetExclusiveMode(true);
    TScGroup* a = NewGroup(bar, "A");
    TScGroup* b = NewGroup(bar, "B");
    TScGroup* c = NewGroup(bar, "C");
    c->SetOpened(true);
    bar->RemoveGroup(c);
    EXPECT_TRUE(b->Opened());
    EXPECT_EQ(c->GroupBar(), nullptr);
    EXPECT_FALSE(c->Visible());
    // The first group going opens the new first.
    a->SetOpened(true);
    a->Free();
    EXPECT_EQ(bar->GetGroupCount(), 1);
    EXPECT_TRUE(b->Opened());
    EXPECT_EQ(b->GroupIndex(), 0);
}

TEST_F(ScGroupBarTest, TwentyGroupsInAShortBarSetTheScrollBarAndClampTheWheel) {
    TScGroupBar* bar = NewBar(150);
    std::vector<TScGroup*> groups;
    for (int i = 0; i < 20; ++i) groups.push_back(NewGroup(bar, "G" + std::to_string(i)));
    Pump();
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(bar->Handle(), SB_VERT, &info));
    EXPECT_EQ(info.nMax, 8 + 20 * 28);
    EXPECT_EQ(static_cast<int>(info.nPage), bar->ClientHeight());
    EXPECT_EQ(info.nPos, 0);

    bar->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(bar->ScrollPos(), 10);
    EXPECT_EQ(groups[0]->Top(), 8 - 10);
    bar->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    bar->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(bar->ScrollPos(), 0);

    bar->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(bar->ScrollPos(), bar->ScrollRange() - bar->ClientHeight());
    EXPECT_EQ(groups.back()->Top() + groups.back()->Height() + 8, bar->ClientHeight());
    bar->Perform(WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(bar->ScrollPos(), bar->ScrollRange() - 2 * bar->ClientHeight());
    ASSERT_TRUE(GetScrollInfo(bar->Handle(), SB_VERT, &info));
    EXPECT_EQ(info.nPos, bar->ScrollPos());

    // Removing groups until all fit brings the position back to 0.
    for (int i = 19; i >= 3; --i) groups[static_cast<size_t>(i)]->Free();
    EXPECT_EQ(bar->ScrollPos(), 0);
    EXPECT_EQ(groups[0]->Top(), 8);
}

TEST_F(ScGroupBarTest, ThumbTrackingReadsTheFullPosition) {
    TScGroupBar* bar = NewBar(150);
    TScGroup* tall = NewGroup(bar, "Tall");
    tall->SetOpenedHeight(70000);  // without items a run-time group keeps 50
    EXPECT_EQ(tall->OpenedHeight(), 50);
    for (int i = 0; i < 200; ++i) tall->Items()->Add()->SetCaption("Item " + std::to_string(i));
    bar->SetGroupBorderSize(0);
    tall->SetItemHeight(400);
    tall->SetOpened(true);
    ASSERT_GT(bar->ScrollRange(), 70000);
    // A thumb track beyond 65,535 arrives as a 16-bit position in the message.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = 70000;
    SetScrollInfo(bar->Handle(), SB_VERT, &info, FALSE);
    bar->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(70000 & 0xFFFF)), 0);
    EXPECT_EQ(bar->ScrollPos(), 70000);
}

TEST_F(ScGroupBarTest, TheFrameTakesItsWidthFromTheClientArea) {
    TScGroupBar* bar = NewBar();
    const int plain = bar->ClientWidth();
    bar->SetBorderOuter(fsRaised);  // two pixels
    bar->SetBorderInner(fsFlat);    // one more
    bar->SetBorderSides(TSides{sdLeft, sdTop, sdBottom});
    EXPECT_EQ(bar->ClientWidth(), plain - 3);
    bar->SetBorderOuter(fsStatus);
    bar->SetBevelWidth(4);
    EXPECT_EQ(bar->ClientWidth(), plain - 5);
    TScGroup* group = NewGroup(bar, "A");
    EXPECT_EQ(group->Width(), bar->ClientWidth() - 16);
}

TEST_F(ScGroupBarTest, GroupsLiveOnlyInABarAndKeepTheirIndexInRange) {
    TScGroupBar* bar = NewBar();
    TScGroup* a = NewGroup(bar, "A");
    TScGroup* b = NewGroup(bar, "B");
    EXPECT_THROW(a->SetParent(form), EScGroupBarError);
    EXPECT_EQ(a->Parent(), bar);
    EXPECT_THROW(a->SetGroupIndex(2), EListError);
    EXPECT_THROW(a->SetGroupIndex(-1), EListError);
    EXPECT_EQ(a->GroupIndex(), 0);
    b->SetGroupIndex(0);
    EXPECT_EQ(bar->GetGroup(0), b);
    EXPECT_LT(b->Top(), a->Top());
    std::string message;
    try {
        a->SetGroupIndex(5);
    } catch (const EListError& e) {
        message = e.Message();
    }
    EXPECT_EQ(message, "5 is an invalid GroupIndex value. GroupIndex must be between 0 and 1");
    // Reading past the list is the class library's list error too.
    EXPECT_THROW(bar->GetGroup(2), EListError);
    EXPECT_THROW(bar->GetGroup(-1), EListError);
}

TEST_F(ScGroupBarTest, ATinyBarWithManyGroupsStaysQuickAndSane) {
    TScGroupBar* bar = NewBar(5);
    bar->SetWidth(5);
    const auto start = std::chrono::steady_clock::now();
    bar->BeginUpdate();
    std::vector<TScGroup*> groups;
    for (int i = 0; i < 60; ++i) groups.push_back(NewGroup(bar, "G", {"a", "b"}));
    bar->EndUpdate();
    for (TScGroupBarStyle style : {gbsOutlook, gbsTaskList, gbsCategoryView}) bar->SetStyle(style);
    for (TScGroup* g : groups) EXPECT_TRUE(g->Height() >= 0 && g->Width() >= 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace

namespace {

TEST_F(ScGroupBarTest, ThemeChangeRereadsTheSchemeAndTheLoadedMessageResetsTheScroll) {
    TScGroupBar* bar = NewBar(100);
    for (int i = 0; i < 10; ++i) NewGroup(bar, "G");
    bar->SetScrollPos(40);
    ASSERT_EQ(bar->ScrollPos(), 40);
    PostMessageW(bar->Handle(), SCM_RESETSCROLL, 0, 0);
    Pump();
    EXPECT_EQ(bar->ScrollPos(), 0);

    const std::uint8_t scheme = XPColorScheme;
    XPColorScheme = 9;
    bar->Perform(WM_THEMECHANGED);
    EXPECT_EQ(XPColorScheme, GetXPColorScheme());
    XPColorScheme = scheme;
}

}  // namespace
