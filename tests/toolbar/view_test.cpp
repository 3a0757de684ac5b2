// A view in a real window: viewers follow the tree, selection walks by key
// and mouse, the loop's ending is recorded, the wheel scrolls a long menu,
// and viewers that go or are rebuilt take their popup and place with them.
#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "classlib/stdctrls/edit.h"
#include "tests/foundation/quarantine.h"
#include "tests/toolbar/view_fixture.h"
#include "toolbar/barconsts.h"
#include "toolbar/barsystem.h"

namespace {

std::vector<std::string> Captions(TBarView* View) {
    std::vector<std::string> result;
    for (int i = 0; i < View->ViewerCount(); ++i) result.push_back(View->Viewers(i)->Item()->Caption());
    return result;
}

class ViewTest : public ViewWindowTest {
protected:
    // File Edit | View(disabled) Hidden(invisible) Help
    void BuildBar() {
        file = Add("&File");
        edit = Add("&Edit");
        AddSeparator();
        view = Add("&View");
        view->SetEnabled(false);
        Add("Hidden")->SetVisible(false);
        help = Add("&Help");
    }
    std::string SelectedCaption() { return view_->Selected() ? view_->Selected()->Item()->Caption() : "-"; }
    void Key(WORD K, TShiftState Shift = {}) { view_->KeyDown(K, Shift); }

    TBarCustomItem *file = nullptr, *edit = nullptr, *view = nullptr, *help = nullptr;
};

TEST_F(ViewTest, ViewersFollowInsertionsDeletionsAndEmbeddedGroups) {
    BuildBar();
    TBarView* bar = MakeView(true);
    EXPECT_EQ(Captions(bar), (std::vector<std::string>{"&File", "&Edit", "", "&View", "Hidden", "&Help"}));
    TBarCustomItem* group = Create<TBarCustomItem>(form_);
    group->SetCaption("group");
    group->SetItemStyle(group->ItemStyle() | isfEmbeddedGroup);
    Add("g1", group);
    root_->Insert(1, group);
    EXPECT_EQ(Captions(bar),
              (std::vector<std::string>{"&File", "group", "g1", "&Edit", "", "&View", "Hidden", "&Help"}));
    Add("g2", group);  // relayed to the view, placed inside the group
    EXPECT_EQ(bar->Viewers(3)->Item()->Caption(), "g2");
    EXPECT_EQ(bar->Viewers(3)->GroupLevel(), 1);
    root_->Remove(group);  // the group takes its viewers along
    EXPECT_EQ(Captions(bar), (std::vector<std::string>{"&File", "&Edit", "", "&View", "Hidden", "&Help"}));
    root_->Remove(edit);
    EXPECT_EQ(bar->ViewerCount(), 5);
    try {
        bar->Find(edit);
        ADD_FAILURE();
    } catch (const EBarItemError& e) {
        EXPECT_EQ(e.Message(), SBarViewerNotFound);
    }
    edit->Free();
}

TEST_F(ViewTest, EmbeddedGroupsNestedBeyondTenLevelsAreNotShown) {
    TBarCustomItem* parent = root_;
    for (int level = 0; level < 14; ++level) {
        TBarCustomItem* group = Create<TBarCustomItem>(form_);
        group->SetCaption("level " + std::to_string(level));
        group->SetItemStyle(group->ItemStyle() | isfEmbeddedGroup);
        parent->Add(group);
        parent = group;
    }
    TBarView* bar = MakeView(true);
    EXPECT_EQ(bar->ViewerCount(), 11);  // levels 0 to 10
    Add("deep", parent);                // inserted below the cut: ignored
    EXPECT_EQ(bar->ViewerCount(), 11);
}

TEST_F(ViewTest, KeysWalkTheSelectableItemsAndSkipSeparatorsAndHiddenOnes) {
    BuildBar();
    MakeView(true);
    ShowForm();
    struct Step {
        WORD Key;
        TShiftState Shift;
        const char* Expected;
    };
    const Step steps[] =
        {
            {VK_TAB, {}, "&File"},        {VK_TAB, {}, "&Edit"},
            {VK_RIGHT, {}, "&View"},                              // the disabled item may hold the selection
            {VK_TAB, {}, "&Help"},        {VK_TAB, {}, "&File"},  // round again
            {VK_TAB, {ssShift}, "&Help"}, {VK_LEFT, {}, "&View"},
            {VK_HOME, {}, "&File"},       {VK_END, {}, "&Help"},
        };
    for (const Step& s : steps) {
        WORD key = s.Key;
        view_->KeyDown(key, s.Shift);
        EXPECT_EQ(key, 0);
        EXPECT_EQ(SelectedCaption(), s.Expected) << "after key " << s.Key;
    }
    WORD other = 'Q';
    view_->KeyDown(other, {});
    EXPECT_EQ(other, 'Q');  // not ours: left alone
}

TEST_F(ViewTest, AViewWithoutSelectableItemsFindsNothing) {
    AddSeparator();
    Add("x")->SetVisible(false);
    MakeView(false);
    EXPECT_EQ(view_->NextSelectable(nullptr, true), nullptr);
    EXPECT_EQ(view_->FirstSelectable(), nullptr);
    Key(VK_TAB);
    EXPECT_EQ(view_->Selected(), nullptr);
}

TEST_F(ViewTest, FirstSelectableSkipsItemsThatAskForIt) {
    BuildBar();
    file->SetItemStyle(file->ItemStyle() | isfDontSelectFirst);
    MakeView(true);
    EXPECT_EQ(view_->FirstSelectable()->Item(), edit);
}

TEST_F(ViewTest, TheRootViewRecordsHowTheLoopEnds) {
    BuildBar();
    MakeView(true);
    ShowForm();
    view_->Select(view_->Find(edit), false);
    Key(VK_RETURN);
    EXPECT_EQ(view_->DoneAction().Kind, tbdaClickItem);
    EXPECT_EQ(view_->DoneAction().ClickItem, edit);
    EXPECT_FALSE(view_->DoneAction().Sound);  // clicked on a bar, not in a menu

    help->SetHelpContext(42);
    view_->Select(view_->Find(help), false);
    Key(VK_F1);
    EXPECT_EQ(view_->DoneAction().Kind, tbdaHelp);
    EXPECT_EQ(view_->DoneAction().ContextID, 42);

    Key(VK_ESCAPE);
    EXPECT_EQ(view_->DoneAction().Kind, tbdaCancel);
    // A disabled selection cancels instead of clicking.
    view_->Select(view_->Find(view), false);
    view_->ExecuteSelected(true);
    EXPECT_EQ(view_->DoneAction().Kind, tbdaCancel);
}

TEST_F(ViewTest, TheMouseSelectsTheViewerUnderIt) {
    BuildBar();
    MakeView(true);
    ShowForm();
    view_->ValidatePositions();
    const TRect r = view_->Find(edit)->BoundsRect;
    ASSERT_FALSE(r.IsEmpty());
    const TPoint centre((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    EXPECT_EQ(view_->ViewerFromPoint(centre)->Item(), edit);
    view_->UpdateSelection(&centre, true);
    EXPECT_EQ(SelectedCaption(), "&Edit");
    EXPECT_TRUE(view_->SelectedViaMouse());
    const TPoint outside(-5, -5);
    view_->UpdateSelection(&outside, true);
    EXPECT_EQ(view_->Selected(), nullptr);  // not modal: the selection follows the mouse
}

// A long menu in a window 100 pixels high.
class WheelTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        for (int i = 0; i < 20; ++i) Add("Item " + std::to_string(i));
        MakeView<TBarPopupView>(false);
        view_->SetMaxHeight(100);
        view_->ValidatePositions();
        ASSERT_TRUE(view_->ShowDownArrow());
        saved_ = TBarView::WheelScrollLines;
    }
    void TearDown() override {
        TBarView::WheelScrollLines = saved_;
        ViewTest::TearDown();
    }
    int (*saved_)() = nullptr;
};

TEST_F(WheelTest, NoScrollLinesMeansTheWheelDoesNotScroll) {
    TBarView::WheelScrollLines = [] { return 0; };
    view_->MouseWheel(-WHEEL_DELTA, 0, 0);
    EXPECT_EQ(view_->ScrollOffset(), 0);
}

TEST_F(WheelTest, NotchesScrollLinesAndPartNotchesAddUp) {
    TBarView::WheelScrollLines = [] { return 3; };
    view_->MouseWheel(-40, 0, 0);  // a third of a notch: one line
    const int oneLine = view_->ScrollOffset();
    EXPECT_GT(oneLine, 0);
    view_->MouseWheel(-20, 0, 0);  // half a line: nothing yet
    EXPECT_EQ(view_->ScrollOffset(), oneLine);
    view_->MouseWheel(-20, 0, 0);  // the rest of it
    EXPECT_GT(view_->ScrollOffset(), oneLine);
    // Up scrolls back at once: the downward remainder does not hold it.
    const int before = view_->ScrollOffset();
    view_->MouseWheel(WHEEL_DELTA, 0, 0);
    EXPECT_LT(view_->ScrollOffset(), before);
}

TEST_F(WheelTest, ManyLinesStopAtTheEndAndLeaveNothingOwing) {
    TBarView::WheelScrollLines = [] { return 200; };
    view_->MouseWheel(-WHEEL_DELTA, 0, 0);
    EXPECT_FALSE(view_->ShowDownArrow());  // at the end
    const int end = view_->ScrollOffset();
    view_->MouseWheel(-WHEEL_DELTA, 0, 0);
    EXPECT_EQ(view_->ScrollOffset(), end);
    view_->MouseWheel(1, 0, 0);  // a tiny turn up scrolls back at once
    EXPECT_LT(view_->ScrollOffset(), end);
}

TEST_F(WheelTest, PageScrollingMovesAPage) {
    TBarView::WheelScrollLines = [] { return static_cast<int>(WHEEL_PAGESCROLL); };
    int visible = 0;
    for (int i = 0; i < view_->ViewerCount(); ++i) visible += view_->Viewers(i)->Show;
    view_->MouseWheel(-WHEEL_DELTA, 0, 0);
    // The first item now shown is about a page further down.
    int first = -1;
    for (int i = 0; i < view_->ViewerCount() && first < 0; ++i)
        if (view_->Viewers(i)->Show) first = i;
    EXPECT_GE(first, visible - 1);
    EXPECT_LT(first, 20);
}

TEST_F(WheelTest, TheSelectionIsScrolledIntoView) {
    view_->Select(view_->Viewers(15), false);
    view_->ScrollSelectedIntoView();
    EXPECT_TRUE(view_->Viewers(15)->Show);
    view_->Select(view_->Viewers(0), false);
    view_->ScrollSelectedIntoView();
    EXPECT_TRUE(view_->Viewers(0)->Show);
    EXPECT_EQ(view_->ScrollOffset(), 0);
}

// A view whose items open a child window with a view in it.
class TPopupOpeningView : public TBarView {
    VX_CLASS(TPopupOpeningView, TBarView)
public:
    using TBarView::TBarView;
    int Freed = 0;

protected:
    TWinControl* CreateChildPopup(TBarItemViewer* Viewer, bool SelectFirstItem,
                                  TBarView*& PopupView) override {
        auto* window = Create<TTestViewWindow>(nullptr);
        PopupView = Create<TBarPopupView>(window, this, Viewer->Item(), window, false, false, false);
        window->View = PopupView;
        if (SelectFirstItem) PopupView->Select(PopupView->FirstSelectable(), false);
        return window;
    }
    void FreeChildPopup(TWinControl* Window) override {
        ++Freed;
        TBarView::FreeChildPopup(Window);
    }
};

TEST_F(ViewTest, DeletingAViewerClosesItsPopupFirst) {
    BuildBar();
    Add("New", file);
    file->SetItemStyle(file->ItemStyle() | isfSubmenu);
    auto* bar = MakeView<TPopupOpeningView>(true);
    bar->Select(bar->Find(file), false);
    ASSERT_TRUE(bar->OpenChildPopup(false));
    EXPECT_EQ(bar->OpenViewerView()->ViewerCount(), 1);
    root_->Remove(file);
    EXPECT_EQ(bar->Freed, 1);
    EXPECT_EQ(bar->OpenViewer(), nullptr);
    EXPECT_EQ(bar->Selected(), nullptr);
    file->Free();
}

// Handlers that rebuild the items free viewers the view is working with;
// the memory of such a viewer stays poisoned so that any later use shows.
using TPoisonedViewer = TQuarantined<TBarItemViewer>;

class TPoisonedViewerItem : public TBarCustomItem {
    VX_CLASS(TPoisonedViewerItem, TBarCustomItem)
public:
    using TBarCustomItem::TBarCustomItem;
    TBarItemViewer* CreateItemViewer(TBarView* View, int GroupLevel) override {
        return Create<TPoisonedViewer>(View, this, GroupLevel);
    }
};

// A view whose popups never open: the item's OnPopup frees it first.
class TPopupFreeingView : public TBarView {
    VX_CLASS(TPopupFreeingView, TBarView)
public:
    using TBarView::TBarView;

protected:
    TWinControl* CreateChildPopup(TBarItemViewer* Viewer, bool, TBarView*&) override {
        Viewer->Item()->Free();
        return nullptr;
    }
};

class ViewerLifetimeTest : public ViewTest {
protected:
    TBarCustomItem* AddPoisoned(const std::string& Caption) {
        auto* item = Create<TPoisonedViewerItem>(form_);
        item->SetCaption(Caption);
        root_->Add(item);
        return item;
    }
};

TEST_F(ViewerLifetimeTest, ExecutingAnItemWhosePopupFreesItEndsThere) {
    TBarCustomItem* recent = AddPoisoned("&Recent");
    recent->SetItemStyle(recent->ItemStyle() | isfSubmenu);
    edit = Add("&Edit");
    MakeView<TPopupFreeingView>(true);
    ShowForm();
    view_->Select(view_->Find(recent), false);
    view_->ExecuteSelected(true);
    ASSERT_TRUE(TPoisonedViewer::Freed());
    EXPECT_TRUE(TPoisonedViewer::FreedUntouched());
    EXPECT_EQ(view_->Selected(), nullptr);
    EXPECT_EQ(view_->OpenViewer(), nullptr);
    EXPECT_EQ(view_->DoneAction().Kind, tbdaNone);
}

// An OnSelect handler that frees the item being left or the one entered.
struct TFreeOnSelect {
    bool OnLeaving = true;
    void Select(TBarCustomItem* Sender, TBarItemViewer*, bool Selecting) {
        if (Selecting != OnLeaving) Sender->Free();
    }
};

TEST_F(ViewerLifetimeTest, AnOnSelectThatFreesTheItemBeingLeftOrEnteredIsSurvived) {
    TFreeOnSelect freeOnLeave;
    TBarCustomItem* recent = AddPoisoned("&Recent");
    edit = Add("&Edit");
    MakeView(false);
    ShowForm();
    view_->SetState(vsModal, true);
    view_->Select(view_->Find(recent), false);
    recent->OnSelect = TBarSelectEvent(&freeOnLeave, &TFreeOnSelect::Select);
    TBarItemViewer* editViewer = view_->Find(edit);
    view_->Select(editViewer, false);
    ASSERT_TRUE(TPoisonedViewer::Freed());
    EXPECT_TRUE(TPoisonedViewer::FreedUntouched());
    EXPECT_EQ(view_->Selected(), editViewer);

    TFreeOnSelect freeOnEnter{false};
    TBarCustomItem* history = AddPoisoned("&History");
    history->OnSelect = TBarSelectEvent(&freeOnEnter, &TFreeOnSelect::Select);
    view_->Select(view_->Find(history), true);
    ASSERT_TRUE(TPoisonedViewer::Freed());
    EXPECT_TRUE(TPoisonedViewer::FreedUntouched());
    EXPECT_EQ(view_->Selected(), nullptr);
}

// A freed viewer keeps its memory, filled with a rising byte sequence from
// 0x81: a read of it finds a shown viewer with a real rectangle whose item
// lies in memory no program may touch, so painting it fails loudly.
class TRampViewer : public TBarItemViewer {
public:
    using TBarItemViewer::TBarItemViewer;
    static void operator delete(void* Memory, std::size_t Size) {
        auto* bytes = static_cast<unsigned char*>(Memory);
        for (std::size_t i = 0; i < Size; ++i) bytes[i] = Pattern(i);
        Kept.push_back({Memory, Size});
    }
    // True when no freed viewer was written to; the memory is given back.
    static bool KeptUntouched() {
        bool untouched = true;
        for (auto [memory, size] : Kept) {
            const auto* bytes = static_cast<const unsigned char*>(memory);
            for (std::size_t i = 0; i < size; ++i) untouched = untouched && bytes[i] == Pattern(i);
            ::operator delete(memory);
        }
        Kept.clear();
        return untouched;
    }
    static inline std::vector<std::pair<void*, std::size_t>> Kept;

private:
    static unsigned char Pattern(std::size_t I) { return static_cast<unsigned char>(0x81 + I % 0x7F); }
};

class TRampViewerItem : public TBarCustomItem {
    VX_CLASS(TRampViewerItem, TBarCustomItem)
public:
    using TBarCustomItem::TBarCustomItem;
    TBarItemViewer* CreateItemViewer(TBarView* View, int GroupLevel) override {
        return Create<TRampViewer>(View, this, GroupLevel);
    }
};

// Owner-drawn items that log their painting; the first one, when first
// painted, frees the item the Victim points at.
class TLoggingViewer : public TBarItemViewer {
public:
    using TBarItemViewer::TBarItemViewer;
    static inline std::vector<std::string> Log;
    static inline TBarCustomItem* Victim = nullptr;
    void Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override {
        TBarItemViewer::Paint(Canvas, ClientAreaRect, IsSelected, IsPushed, UseDisabledShadow);
        Log.push_back(Item()->Caption());
        if (Victim && GetIndex() == 0) {
            std::exchange(Victim, nullptr)->Free();
            Log.push_back("freed");
        }
    }
};

class TLoggingItem : public TBarCustomItem {
    VX_CLASS(TLoggingItem, TBarCustomItem)
public:
    using TBarCustomItem::TBarCustomItem;
    TBarItemViewer* CreateItemViewer(TBarView* View, int GroupLevel) override {
        return Create<TLoggingViewer>(View, this, GroupLevel);
    }
};

TEST_F(ViewerLifetimeTest, PaintingThatFreesAViewerSkipsItAndPaintsTheRest) {
    auto* drawn = Create<TLoggingItem>(form_);
    drawn->SetCaption("Drawn");
    root_->Add(drawn);
    auto* victim = Create<TRampViewerItem>(form_);
    victim->SetCaption("Victim");
    root_->Add(victim);
    auto* last = Create<TLoggingItem>(form_);
    last->SetCaption("Last");
    root_->Add(last);
    TLoggingViewer::Log.clear();
    TLoggingViewer::Victim = victim;
    MakeView(true);
    ShowForm();
    window_->Repaint();
    // The painting that freed the victim went on past it to the last item.
    const std::vector<std::string>& log = TLoggingViewer::Log;
    auto freed = std::find(log.begin(), log.end(), "freed");
    ASSERT_NE(freed, log.end());
    ASSERT_NE(freed + 1, log.end());
    EXPECT_EQ(freed[1], "Last");
    EXPECT_EQ(view_->ViewerCount(), 2);
    EXPECT_FALSE(TRampViewer::Kept.empty());
    EXPECT_TRUE(TRampViewer::KeptUntouched());
}

struct TSelectLog {
    std::vector<bool> Events;
    void Select(TBarCustomItem*, TBarItemViewer*, bool Selecting) { Events.push_back(Selecting); }
};

TEST_F(ViewTest, APopupSelectingItsFirstItemLeavesItsParentOnTheOpenItem) {
    BuildBar();
    TBarCustomItem* fresh = Add("New", file);
    file->SetItemStyle(file->ItemStyle() | isfSubmenu);
    TSelectLog log;
    file->OnSelect = TBarSelectEvent(&log, &TSelectLog::Select);
    auto* bar = MakeView<TPopupOpeningView>(true);
    bar->Select(bar->Find(file), false);
    ASSERT_TRUE(bar->OpenChildPopup(true));
    EXPECT_EQ(bar->Selected(), bar->OpenViewer());
    EXPECT_EQ(bar->Selected(), bar->Find(file));
    EXPECT_EQ(bar->OpenViewerView()->Selected(), bar->OpenViewerView()->Find(fresh));
    EXPECT_EQ(log.Events, std::vector<bool>{true});
}

TEST_F(ViewTest, ARecreatedViewerKeepsSelectionPopupAndPriority) {
    BuildBar();
    Add("New", file);
    file->SetItemStyle(file->ItemStyle() | isfSubmenu);
    auto* bar = MakeView<TPopupOpeningView>(true);
    bar->GivePriority(bar->Find(help));
    bar->GivePriority(bar->Find(file));
    bar->Select(bar->Find(file), false);
    ASSERT_TRUE(bar->OpenChildPopup(false));
    TBarItemViewer* old = bar->Find(file);
    root_->Notify(tbicRecreateItemViewers, 0, file);
    TBarItemViewer* renewed = bar->Find(file);
    EXPECT_NE(renewed, old);
    EXPECT_EQ(bar->Selected(), renewed);
    EXPECT_EQ(bar->OpenViewer(), renewed);
    EXPECT_EQ(bar->PriorityList().front(), renewed);
    EXPECT_EQ(bar->Freed, 0);
    bar->CloseChildPopup();
    EXPECT_EQ(bar->Freed, 1);
}

TEST_F(ViewTest, PriorityDecidesWhatTheChevronHides) {
    for (int i = 0; i < 6; ++i) Add("Button " + std::to_string(i));
    auto* chevron = Create<TBarChevronItem>(form_);
    auto* bar = Create<TBarToolbarView>(nullptr, nullptr, root_, window_, true, false, true);
    view_ = bar;
    window_->View = bar;
    bar->SetChevronItem(chevron);
    bar->RecreateAllViewers();
    bar->ValidatePositions();
    int full = 0;
    for (int i = 0; i < 6; ++i) full += bar->Viewers(i)->BoundsRect.Width();
    bar->SetChevronParams(full - 10, 12);
    bar->GivePriority(bar->Viewers(5));
    bar->ValidatePositions();
    EXPECT_TRUE(bar->Viewers(5)->Show);  // the newest first choice stays
    EXPECT_TRUE(bar->Viewers(4)->OffEdge);
    EXPECT_TRUE(chevron->Enabled());
    EXPECT_TRUE(bar->Viewers(6)->Show);  // the chevron itself, last
}

TEST_F(ViewTest, AcceleratorsFindTheirItemInTurn) {
    Add("&File");
    Add("Format");
    Add("E&xit");
    MakeView(false);
    bool only = false;
    EXPECT_EQ(view_->FindAccel('x', only)->Item()->Caption(), "E&xit");
    EXPECT_TRUE(only);
    EXPECT_EQ(view_->FindAccel('F', only)->Item()->Caption(), "&File");  // before the first letter of Format
    Add("&Find");
    view_->Select(view_->Viewers(0), false);
    EXPECT_EQ(view_->FindAccel('f', only)->Item()->Caption(), "&Find");  // from after the selection
    EXPECT_FALSE(only);
    EXPECT_EQ(view_->FindAccel('q', only), nullptr);
}

TEST_F(ViewTest, ControlsTakeTheirViewersPlaceOrStepOutOfSight) {
    Add("Alpha");
    auto* edit = Create<TEdit>(form_);
    edit->SetBounds(0, 0, 80, 21);
    edit->SetParent(window_);
    auto* item = Create<TBarControlItem>(form_, edit);
    root_->Add(item);
    Add("Omega");
    auto* chevron = Create<TBarChevronItem>(form_);
    auto* bar = Create<TBarToolbarView>(nullptr, nullptr, root_, window_, true, false, false);
    view_ = bar;
    window_->View = bar;
    bar->SetChevronItem(chevron);
    bar->RecreateAllViewers();
    ShowForm();
    bar->ValidatePositions();
    EXPECT_EQ(edit->BoundsRect(), bar->Find(item)->BoundsRect);
    EXPECT_EQ(bar->Find(item)->GetAccRole(), 10);
    // Room for the first button only: the control goes behind the chevron.
    bar->SetChevronParams(bar->Find(item)->BoundsRect.Left + 12, 12);
    bar->ValidatePositions();
    EXPECT_TRUE(bar->Find(item)->OffEdge);
    EXPECT_EQ(edit->Left(), window_->ClientWidth());
    EXPECT_EQ(edit->Width(), 80);
    EXPECT_TRUE(chevron->Enabled());  // Omega is behind it too
    item->DontFreeControl = true;
}

TEST_F(ViewTest, AMenuOpensTheSubmenuUnderTheMouseAfterTheDelay) {
    Add("New", Add("File"));
    root_->Items(0)->SetItemStyle(root_->Items(0)->ItemStyle() | isfSubmenu);
    auto* menu = MakeView<TPopupOpeningView>(false);
    ShowForm();
    menu->SetState(vsModal, true);
    menu->Select(menu->Viewers(0), true);
    EXPECT_TRUE(menu->TimerRunning(tiOpen));
    EXPECT_EQ(menu->OpenViewer(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return menu->OpenViewer() != nullptr; }, GetMenuShowDelay() + 2000));
    EXPECT_FALSE(menu->TimerRunning(tiOpen));
    menu->SetState(vsModal, false);
}

}  // namespace
