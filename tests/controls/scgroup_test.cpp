// A group's rules: opening and its events, caption height, separators,
// clicks and selection, items deleted under the mouse or by their own
// click, Outlook item scrolling and the shared controller.
#include "controls/scgroup.h"

#include "classlib/core/filer.h"
#include "classlib/core/streams.h"
#include "classlib/windows/hintwindow.h"
#include "controls/scbutton.h"
#include "controls/scgroupcontroller.h"
#include "controls/scrapidfire.h"
#include "tests/controls/group_fixture.h"

namespace {

class ScGroupTest : public GroupBarTest {
protected:
    void Log(TScGroup* Group, const std::string& What) { events.push_back(Group->Caption() + " " + What); }
    void Watch(TScGroup* Group) {
        Group->OnCanOpen = TScAllowEvent(this, &ScGroupTest::CanOpen);
        Group->OnOpen = TNotifyEvent(this, &ScGroupTest::Opened);
        Group->OnClose = TNotifyEvent(this, &ScGroupTest::Closed);
    }
    void CanOpen(TObject* Sender, bool& Allow) {
        Log(static_cast<TScGroup*>(Sender), "can open");
        Allow = allowOpen;
    }
    void Opened(TObject* Sender) { Log(static_cast<TScGroup*>(Sender), "open"); }
    void Closed(TObject* Sender) { Log(static_cast<TScGroup*>(Sender), "close"); }

    static void Tap(TControl* Button) {
        Press(Button, 5, 5);
        Release(Button, 5, 5);
    }

    std::vector<std::string> events;
    bool allowOpen = true;
};

TEST_F(ScGroupTest, OpeningAsksFirstAndOutlookClosesEveryOtherGroup) {
    TScGroupBar* bar = NewBar();
    TScGroup* a = NewGroup(bar, "A");
    Watch(a);
    allowOpen = false;
    a->SetOpened(true);
    EXPECT_FALSE(a->Opened());
    EXPECT_EQ(events, (std::vector<std::string>{"A can open"}));

    bar->SetStyle(gbsOutlook);
    TScGroup* b = NewGroup(bar, "B");
    TScGroup* c = NewGroup(bar, "C");
    for (TScGroup* g : {a, b, c}) Watch(g);
    allowOpen = true;
    events.clear();
    c->SetOpened(true);
    EXPECT_EQ(events, (std::vector<std::string>{"C can open", "A close", "B close", "C open"}));
    EXPECT_FALSE(a->Opened());
    EXPECT_TRUE(c->Opened());
    // Closing in Outlook style does nothing; task-list groups stay open.
    c->SetOpened(false);
    EXPECT_TRUE(c->Opened());
    bar->SetStyle(gbsTaskList);
    a->SetOpened(false);
    EXPECT_TRUE(a->Opened());
}

TEST_F(ScGroupTest, ACaptionClickTogglesOnlyAClosableGroup) {
    TScGroupBar* bar = NewBar();
    TScGroup* a = NewGroup(bar, "A");
    ClickCaption(a);
    EXPECT_TRUE(a->Opened());
    ClickCaption(a);
    EXPECT_FALSE(a->Opened());
    a->SetCanClose(false);  // opens first, as the program's groups are
    EXPECT_TRUE(a->Opened());
    ClickCaption(a);
    EXPECT_TRUE(a->Opened());
}

TEST_F(ScGroupTest, CaptionHeightHasAFloorOf16) {
    TScGroupBar* bar = NewBar();
    TScGroup* a = NewGroup(bar, "A");
    a->SetCaptionHeight(10);
    EXPECT_EQ(a->CaptionHeight(), 16);
    EXPECT_EQ(a->Height(), 16);
}

TEST_F(ScGroupTest, DoubledAndTrailingSeparatorsTakeNoRoom) {
    TScGroupBar* bar = NewBar(400);
    TScGroup* a = NewGroup(bar, "A", {"A", "-", "-", "B"});
    TScGroup* b = NewGroup(bar, "B", {"A", "-", "B"});
    a->SetOpened(true);
    b->SetOpened(true);
    EXPECT_EQ(a->HiddenItems(), (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(a->Height(), b->Height());
    b->Items()->Add()->SetCaption("-");
    EXPECT_EQ(a->Height(), b->Height());
}

TEST_F(ScGroupTest, ItemsAreMeasuredAgainWhenTheirCaptionOrTheFontsChange) {
    TScGroupBar* bar = NewBar(400);
    TScGroup* a = NewGroup(bar, "A", {"Disk", "Disk"});
    a->SetOpened(true);
    const int shortHeight = a->Height();
    TScGroupItem* item = a->Items()->GetItem(1);
    item->SetCaption("A caption long enough to wrap over several lines of this narrow bar");
    const int wrapped = a->Height();
    EXPECT_GT(wrapped, shortHeight);
    a->Font()->SetSize(a->Font()->Size() * 2);
    EXPECT_GT(a->Height(), wrapped);
    // A static item (nothing to run) is measured in its own font.
    item->OnClick = nullptr;
    a->ItemStaticFont()->SetSize(a->Font()->Size() * 2);
    EXPECT_GT(item->CaptionRect().Height(), a->Items()->GetItem(0)->CaptionRect().Height());
}

TEST_F(ScGroupTest, ClickingAnItemRunsItsHandlerUnlessItIsTheShownSelection) {
    TScGroupBar* bar = NewBar();
    TScGroup* a = NewGroup(bar, "A", {"One", "Two"});
    a->SetOpened(true);
    TScGroupItem* one = a->Items()->GetItem(0);
    ClickItem(a, one);
    EXPECT_EQ(clicked, (std::vector<std::string>{"One"}));
    EXPECT_TRUE(one->Selected());
    EXPECT_EQ(a->SelectedIndex(), 0);
    ClickItem(a, one);  // selection not shown: it still counts
    EXPECT_EQ(clicked.size(), 2u);
    a->SetShowItemSelection(true);
    ClickItem(a, one);
    EXPECT_EQ(clicked.size(), 2u);
    a->SetIgnoreSelectedItemClick(false);
    ClickItem(a, one);
    EXPECT_EQ(clicked.size(), 3u);
    // Pressing, leaving and releasing elsewhere does not click.
    TScGroupItem* two = a->Items()->GetItem(1);
    const TPoint p = CenterOf(two->CaptionRect());
    Press(a, p.X, p.Y);
    Release(a, p.X, 2);
    EXPECT_EQ(clicked.size(), 3u);
    EXPECT_EQ(two->State(), isNormal);
}

TEST_F(ScGroupTest, UniqueSelectionReachesEveryGroupOfTheBar) {
    TScGroupBar* bar = NewBar(400);
    TScGroup* a = NewGroup(bar, "A", {"One", "Two"});
    TScGroup* b = NewGroup(bar, "B", {"Three"});
    for (TScGroup* g : {a, b}) {
        g->SetOpened(true);
        g->SetShowItemSelection(true);
    }
    a->Items()->GetItem(1)->SetSelected(true);
    b->Items()->GetItem(0)->SetSelected(true);
    EXPECT_EQ(a->SelectedIndex(), 1);  // selections of separate groups stand
    bar->SetUniqueItemSelection(true);
    EXPECT_EQ(a->SelectedIndex(), -1);
    EXPECT_EQ(b->SelectedIndex(), -1);
    a->SetSelectedIndex(0);
    EXPECT_TRUE(a->Items()->GetItem(0)->Selected());
    ClickItem(b, b->Items()->GetItem(0));
    EXPECT_EQ(b->SelectedIndex(), 0);
    EXPECT_EQ(a->SelectedIndex(), -1);
    EXPECT_FALSE(a->Items()->GetItem(0)->Selected());
}

TEST_F(ScGroupTest, DeletedItemsLeaveNoStaleHotPressedOrSelectedState) {
    TScGroupBar* bar = NewBar();
    TScGroup* a = NewGroup(bar, "A", {"One", "Two", "Three"});
    a->SetOpened(true);
    TScGroupItem* two = a->Items()->GetItem(1);
    const TPoint p = CenterOf(two->CaptionRect());
    Move(a, p.X, p.Y);
    EXPECT_EQ(a->HotItem(), two);
    a->Items()->GetItem(2)->SetSelected(true);
    a->Items()->Delete(1);
    EXPECT_EQ(a->HotItem(), nullptr);
    EXPECT_EQ(a->SelectedIndex(), 1);  // moved down with its item
    a->Items()->Delete(1);
    EXPECT_EQ(a->SelectedIndex(), -1);
    Move(a, 1, 1);  // nothing stale is touched
    Painted(a);
}

TEST_F(ScGroupTest, AnItemThatDeletesItselfInItsClickIsNotTouchedAfterwards) {
    TScGroupBar* bar = NewBar(150, gbsOutlook);
    TScGroup* a = NewGroup(bar, "A", {"One", "Two"});
    TScGroupItem* one = a->Items()->GetItem(0);
    struct Deleter {
        TScGroup* group;
        void Click(TObject* Sender) { group->Items()->Delete(static_cast<TScGroupItem*>(Sender)->Index()); }
    } deleter{a};
    one->OnClick = TNotifyEvent(&deleter, &Deleter::Click);
    ClickItem(a, one);
    EXPECT_EQ(a->Items()->Count(), 1);
    EXPECT_EQ(a->HotItem(), nullptr);
    Painted(a);
}

TEST_F(ScGroupTest, OutlookClickScrollsTheItemIntoViewCountingVisibleItemsOnly) {
    TScGroupBar* bar = NewBar(100, gbsOutlook);
    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i) names.push_back("Item " + std::to_string(i));
    TScGroup* a = NewGroup(bar, "A", names);
    for (int i = 0; i < 6; ++i) a->Items()->GetItem(i)->SetVisible(false);
    ASSERT_TRUE(a->Opened());
    // Visible: items 6..11, 20 pixels each below a 24-pixel head.
    EXPECT_TRUE(a->ScrollDownButton()->Visible());
    TScGroupItem* last = nullptr;
    for (int i = 11; i >= 6 && !last; --i)
        if (!a->Items()->GetItem(i)->CaptionRect().IsEmpty() &&
            a->Items()->GetItem(i)->CaptionRect().Bottom <= a->ClientHeight())
            last = a->Items()->GetItem(i);
    ASSERT_NE(last, nullptr);
    ASSERT_EQ(last->Index(), 9);
    ClickItem(a, last);
    EXPECT_EQ(clicked.back(), last->Caption());
    // 148 pixels of items over 6 shown items: 4 to a page, so the item
    // ends the page; counting the hidden ones too would move it to 2.
    EXPECT_EQ(a->TopIndex(), 6);
    // Every item hidden: the divisor stays at least 1.
    for (int i = 6; i < 12; ++i) a->Items()->GetItem(i)->SetVisible(false);
    a->SetTopIndex(0);
    Painted(a);
}

TEST_F(ScGroupTest, OutlookScrollButtonsStepTheFirstShownItem) {
    TScGroupBar* bar = NewBar(120, gbsOutlook);
    std::vector<std::string> names(10, "Item");
    TScGroup* a = NewGroup(bar, "A", names);
    EXPECT_FALSE(a->ScrollUpButton()->Visible());
    EXPECT_TRUE(a->ScrollDownButton()->Visible());
    Tap(a->ScrollDownButton());
    EXPECT_EQ(a->TopIndex(), 1);
    EXPECT_TRUE(a->ScrollUpButton()->Visible());
    Tap(a->ScrollUpButton());
    Tap(a->ScrollUpButton());
    EXPECT_EQ(a->TopIndex(), 0);
    bar->SetStyle(gbsCategoryView);
    EXPECT_FALSE(a->ScrollDownButton()->Visible());
}

TEST_F(ScGroupTest, StyleDefaultsFollowTheBarUntilTheUserSetsAValue) {
    TScGroupBar* bar = NewBar();
    TScGroup* a = NewGroup(bar, "A");
    TScGroup* b = NewGroup(bar, "B");
    b->SetColor(clRed);
    EXPECT_FALSE(b->ColorDefault());
    bar->SetStyle(gbsOutlook);
    EXPECT_EQ(a->Color(), clBtnShadow);
    EXPECT_EQ(a->CaptionColor(), clBtnFace);
    EXPECT_FALSE(a->CaptionFont()->Style().Contains(fsBold));
    EXPECT_EQ(b->Color(), clRed);
    bar->SetStyle(gbsTaskList);
    EXPECT_EQ(a->Color(), bar->Color());
    EXPECT_TRUE(a->DividerVisible());
    EXPECT_FALSE(a->CanClose());
    b->SetColorDefault(true);
    EXPECT_EQ(b->Color(), bar->Color());
}

// Asking for the style's colours again, or a new visual style, re-derives
// the colours and fonts the user left alone and nothing else of the style.
TEST_F(ScGroupTest, DefaultColoursComeBackWithoutTheRestOfTheStyle) {
    TScGroupBar* bar = NewBar();
    TScGroup* a = NewGroup(bar, "A");
    a->SetDividerColor(clRed);
    a->SetDividerVisible(true);
    a->SetColor(clLime);
    a->SetCaptionColor(clYellow);
    a->SetColorDefault(true);
    a->SetCaptionColorDefault(true);
    bar->SetVisualStyle(vsClassic);
    EXPECT_EQ(a->Color(), clBtnFace);
    EXPECT_EQ(a->CaptionColor(), clHighlightText);
    EXPECT_EQ(a->DividerColor(), clRed);
    EXPECT_TRUE(a->DividerVisible());

    bar->SetStyle(gbsTaskList);
    a->SetDividerVisible(false);
    a->SetColorDefault(true);
    EXPECT_EQ(a->Color(), bar->Color());
    EXPECT_FALSE(a->DividerVisible());

    bar->SetStyle(gbsOutlook);
    TScGroup* b = NewGroup(bar, "B", {"One"});
    b->SetOpened(true);
    ASSERT_FALSE(a->Opened());
    const int bHeight = b->Height();
    a->SetColorDefault(true);
    b->SetCaptionColorDefault(true);
    bar->SetVisualStyle(vsGradient);
    EXPECT_FALSE(a->Opened());
    EXPECT_TRUE(b->Opened());
    EXPECT_EQ(b->Height(), bHeight);
}

TEST_F(ScGroupTest, TheControllerPushesItsValuesOnceAnUpdateEnds) {
    TScGroupBar* bar = NewBar();
    TScGroup* a = NewGroup(bar, "A");
    TScGroup* b = NewGroup(bar, "B");
    auto* controller = Create<TScGroupController>(form);
    controller->SetCaptionHeight(30);
    a->SetGroupController(controller);
    EXPECT_EQ(a->CaptionHeight(), 30);
    b->SetGroupController(controller);
    controller->BeginUpdate();
    controller->SetItemHeight(25);
    controller->SetCaptionHeight(10);
    EXPECT_EQ(b->ItemHeight(), 20);
    controller->EndUpdate();
    EXPECT_EQ(b->ItemHeight(), 25);
    EXPECT_EQ(b->CaptionHeight(), 16);
    controller->Free();
    EXPECT_EQ(a->GroupController(), nullptr);
    controller = Create<TScGroupController>(form);
    a->SetGroupController(controller);
    a->Free();
    EXPECT_EQ(controller->GroupCount(), 0);
}

TEST_F(ScGroupTest, AnItemTakesItsActionsValuesAndRunsIt) {
    TScGroupBar* bar = NewBar();
    TScGroup* a = NewGroup(bar, "A");
    a->SetOpened(true);
    auto* action = Create<TAction>(form);
    action->SetCaption("Run");
    int runs = 0;
    struct Counter {
        int* runs;
        void Run(TObject*) { ++*runs; }
    } counter{&runs};
    action->OnExecute = TNotifyEvent(&counter, &Counter::Run);
    TScGroupItem* item = a->Items()->Add();
    item->SetAction(action);
    EXPECT_EQ(item->Caption(), "Run");
    action->SetCaption("Go");
    EXPECT_EQ(item->Caption(), "Go");
    ClickItem(a, item);
    EXPECT_EQ(runs, 1);
    action->Free();
    EXPECT_EQ(item->Action(), nullptr);
    EXPECT_EQ(item->Caption(), "Go");
}

}  // namespace

namespace {

TEST_F(ScGroupTest, AGroupStreamsItsItemsAndReadsOldWideAndObsoleteValues) {
    TScGroupBar* bar = NewBar();
    TScGroup* a = NewGroup(bar, "A", {"One", "-", "Two"});
    a->SetCaptionHeight(24);
    a->Items()->GetItem(2)->SetFontStyle({fsBold});
    a->Items()->GetItem(2)->SetIndentLevel(2);
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    WriteObjectProperties(stream.get(), a);
    stream->SetPosition(0);
    TScGroup* copy = NewGroup(bar, "B");
    ReadObjectProperties(stream.get(), copy);
    ASSERT_EQ(copy->Items()->Count(), 3);
    EXPECT_EQ(copy->Items()->GetItem(1)->Caption(), "-");
    EXPECT_EQ(copy->Items()->GetItem(2)->FontStyle(), TFontStyles{fsBold});
    EXPECT_EQ(copy->Items()->GetItem(2)->IndentLevel(), 2);
    EXPECT_EQ(copy->CaptionHeight(), 24);

    TOwned<TMemoryStream> old(Create<TMemoryStream>());
    {
        TOwned<TWriter> writer(Create<TWriter>(old.get()));
        writer->WriteStr("UseGradients");
        writer->WriteBoolean(true);
        writer->WriteStr("ColorAdjustment");
        writer->WriteInteger(20);
        writer->WriteStr("GroupBorderSize");
        writer->WriteInteger(6);
        writer->WriteListEnd();
    }
    old->SetPosition(0);
    ReadObjectProperties(old.get(), bar);
    EXPECT_EQ(bar->GroupBorderSize(), 6);
}

}  // namespace

namespace {

class ScGroupMouseTest : public ScGroupTest {
public:
    void Popup(TObject*, TScGroupItem* Item) { popups.push_back(Item); }
    std::vector<TScGroupItem*> popups;
};

TEST_F(ScGroupMouseTest, CursorHintAndPopupFollowWhatIsUnderTheMouse) {
    TScGroupBar* bar = NewBar();
    TScGroup* a = NewGroup(bar, "A", {"One"});
    a->SetOpened(true);
    TScGroupItem* item = a->Items()->Add();
    item->SetCaption("Static");  // nothing to run: not clickable
    TScGroupItem* one = a->Items()->GetItem(0);
    one->SetHint("Short|Longer text");
    const TPoint onOne = CenterOf(one->CaptionRect());
    const TPoint onStatic = CenterOf(item->CaptionRect());

    THintInfo info;
    Move(a, 10, 5);
    EXPECT_EQ(a->Cursor(), crHandPoint);
    EXPECT_EQ(a->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.CursorRect, TRect(0, 0, a->Width(), a->CaptionHeight()));

    Move(a, onOne.X, onOne.Y);
    EXPECT_EQ(a->Cursor(), crHandPoint);
    EXPECT_EQ(one->State(), isHot);
    info = THintInfo{};
    EXPECT_EQ(a->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.HintStr, L"Short");
    EXPECT_EQ(info.CursorRect, one->CaptionRect());

    Move(a, onStatic.X, onStatic.Y);
    EXPECT_EQ(a->Cursor(), crDefault);
    EXPECT_EQ(a->HotItem(), nullptr);
    EXPECT_EQ(one->State(), isNormal);
    EXPECT_NE(a->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);

    a->OnItemPopupMenu = TScItemEvent(this, &ScGroupMouseTest::Popup);
    a->Perform(WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(onOne.X, onOne.Y));
    a->Perform(WM_RBUTTONUP, 0, PointToLParam(onOne.X, onOne.Y));
    EXPECT_EQ(popups, std::vector<TScGroupItem*>{one});
    a->Perform(WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(onOne.X, onOne.Y));
    a->Perform(WM_RBUTTONUP, 0, PointToLParam(onStatic.X, onStatic.Y));
    EXPECT_EQ(popups.size(), 1u);

    a->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(a->CaptionState(), 0);
}

}  // namespace

namespace {

TEST_F(ScGroupTest, FocusMovingIntoAClosedGroupOpensIt) {
    TScGroupBar* bar = NewBar();
    NewGroup(bar, "A");
    TScGroup* b = NewGroup(bar, "B");
    auto* button = Create<TScButton>(form);
    button->SetParent(b);
    button->SetBounds(8, 24, 60, 20);
    Pump();
    EXPECT_FALSE(b->Opened());
    button->SetFocus();
    Pump();
    EXPECT_TRUE(b->Opened());
}

}  // namespace

namespace {

TEST_F(ScGroupTest, ItemHeightsFollowTheItemStyleAndATallCaptionImageHangsAbove) {
    TScGroupBar* bar = NewBar(400);
    TScGroup* a = NewGroup(bar, "A", {"A", "-", "B"});
    a->SetOpened(true);
    // Small: head 20 + 4, three rows of ItemHeight, 4 below.
    EXPECT_EQ(a->Height(), 24 + 3 * 20 + 4);
    a->SetItemStyle(isLarge);
    // Large: room for a 32-pixel image and 8 more per text item; a separator 12.
    EXPECT_EQ(a->Height(), 24 + 2 * (20 + 34 + 8) + 12 + 4);

    auto* images = Create<TImageList>(form);
    images->SetSize(32, 32);
    TOwned<TBitmap> picture(Create<TBitmap>());
    picture->SetSize(32, 32);
    images->Add(picture.get(), nullptr);
    a->SetLargeImages(images);
    EXPECT_EQ(a->Height(), 24 + 2 * (20 + 34 + 8) + 12 + 4);
    a->SetCaptionStyle(csLarge);
    a->SetCaptionImageIndex(0);
    EXPECT_EQ(a->CaptionOverhang(), 32 - 20 + 4);
    EXPECT_EQ(a->Top(), 8 + 16);
    images->Free();
    EXPECT_EQ(a->LargeImages(), nullptr);
    EXPECT_EQ(a->Top(), 8);
}

}  // namespace
