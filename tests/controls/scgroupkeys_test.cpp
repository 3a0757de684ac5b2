// The group bar from the keyboard: the places Up, Down, Home and End reach,
// Enter and Space as a click, Left and Right on a caption, the focused place
// scrolled into view, and the focus rectangle that waits for the keyboard,
// shows as soon as Tab brings it in, and shows in one place only.
#include <string>
#include <vector>

#include "tests/controls/group_fixture.h"

namespace {

using Places = std::vector<std::string>;

class GroupKeysTest : public GroupBarTest {
protected:
    // A closable open group, a closed one, and one that cannot close with a
    // separator, a disabled item and an item that runs nothing.
    void SetUp() override {
        GroupBarTest::SetUp();
        bar = NewBar(400);
        a = NewGroup(bar, "A", {"a1", "a2"});
        a->SetOpened(true);
        b = NewGroup(bar, "B", {"b1"});
        c = NewGroup(bar, "C", {"c1", "-", "c2", "c3"});
        c->SetOpened(true);
        c->SetCanClose(false);
        c->Items()->GetItem(2)->SetEnabled(false);
        c->Items()->GetItem(3)->OnClick = {};
        Pump();
        bar->SetFocus();
        Pump();
    }
    void Key(WORD Key) {
        bar->Perform(WM_KEYDOWN, Key, 0);
        Pump();
    }
    // The focused place, as "A" for a caption or "a1" for an item.
    std::string Focus() const {
        const TScGroupBar::TKeyStop stop = bar->FocusStop();
        if (!stop.Group) return "";
        return stop.Item < 0 ? stop.Group->Caption() : stop.Group->Items()->GetItem(stop.Item)->Caption();
    }
    Places Walk(WORD Key, int Times) {
        Places seen;
        for (int i = 0; i < Times; ++i) {
            this->Key(Key);
            seen.push_back(Focus());
        }
        return seen;
    }

    TScGroupBar* bar = nullptr;
    TScGroup* a = nullptr;
    TScGroup* b = nullptr;
    TScGroup* c = nullptr;
};

}  // namespace

TEST_F(GroupKeysTest, UpAndDownReachTheCaptionsThatToggleAndTheItemsOfOpenGroups) {
    EXPECT_TRUE(bar->TabStop());
    EXPECT_EQ(Focus(), "A");
    // B is closed: its item is left out; C cannot close: its caption is no
    // place, nor its separator, disabled item or item that runs nothing.
    EXPECT_EQ(Walk(VK_DOWN, 5), (Places{"a1", "a2", "B", "c1", "c1"}));
    EXPECT_EQ(Walk(VK_UP, 5), (Places{"B", "a2", "a1", "A", "A"}));
    Key(VK_END);
    EXPECT_EQ(Focus(), "c1");
    Key(VK_HOME);
    EXPECT_EQ(Focus(), "A");

    // The place survives items moving around it; a group that goes takes
    // the place back to the first.
    Key(VK_END);
    static_cast<TScGroupItem*>(c->Items()->Insert(0))->SetCaption("c0");
    EXPECT_EQ(Focus(), "c1");
    c->Free();
    EXPECT_EQ(Focus(), "A");
}

TEST_F(GroupKeysTest, EnterAndSpaceClickItemsAndCaptionsOpenAndClose) {
    Key(VK_DOWN);
    Key(VK_RETURN);
    Key(VK_DOWN);
    Key(VK_SPACE);
    EXPECT_EQ(clicked, (Places{"a1", "a2"}));

    Key(VK_DOWN);
    ASSERT_EQ(Focus(), "B");
    Key(VK_SPACE);
    EXPECT_TRUE(b->Opened());
    EXPECT_EQ(Walk(VK_DOWN, 1), (Places{"b1"}));
    Key(VK_UP);
    Key(VK_LEFT);
    EXPECT_FALSE(b->Opened());
    Key(VK_LEFT);
    EXPECT_FALSE(b->Opened());
    Key(VK_RIGHT);
    EXPECT_TRUE(b->Opened());
    Key(VK_RETURN);
    EXPECT_FALSE(b->Opened());
    // Arrows on an item neither click nor move.
    Key(VK_HOME);
    Key(VK_DOWN);
    Key(VK_RIGHT);
    EXPECT_EQ(Focus(), "a1");
    EXPECT_EQ(clicked.size(), 2u);
}

TEST_F(GroupKeysTest, ArrowsAndEnterStayInTheBarWhileTabLeavesIt) {
    for (WORD key : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_RETURN})
        EXPECT_NE(bar->Perform(CM_WANTSPECIALKEY, key), 0) << key;
    EXPECT_EQ(bar->Perform(CM_WANTSPECIALKEY, VK_TAB), 0);
}

TEST_F(GroupKeysTest, TheFocusedPlaceScrollsIntoView) {
    bar->SetHeight(90);
    for (int i = 0; i < 8; ++i) a->Items()->Add()->OnClick = TNotifyEvent(this, &GroupKeysTest::Clicked);
    for (int i = 0; i < 8; ++i) a->Items()->GetItem(2 + i)->SetCaption("more" + std::to_string(i));
    Pump();
    ASSERT_GT(bar->ScrollRange(), bar->ClientHeight());
    auto inView = [this] {
        const TScGroupBar::TKeyStop stop = bar->FocusStop();
        const TRect r = stop.Group->StopRect(stop.Item);
        const int top = stop.Group->Top() + r.Top, bottom = stop.Group->Top() + r.Bottom;
        return top >= 0 && bottom <= bar->ClientHeight();
    };
    Key(VK_END);
    EXPECT_GT(bar->ScrollPos(), 0);
    EXPECT_TRUE(inView());
    for (int i = 0; i < 6; ++i) {
        Key(VK_UP);
        EXPECT_TRUE(inView()) << Focus();
    }
    Key(VK_HOME);
    EXPECT_EQ(bar->ScrollPos(), 0);
}

TEST_F(GroupKeysTest, TheFocusRectangleWaitsForTheKeyboard) {
    // Focused as a mouse press focuses it: nothing shows.
    EXPECT_TRUE(bar->Focused());
    EXPECT_FALSE(bar->FocusCuesShown());
    const TOwned<TBitmap> before = Painted(a);
    Key(VK_DOWN);
    EXPECT_TRUE(bar->FocusCuesShown());
    const TOwned<TBitmap> after = Painted(a);
    // The rectangle lies just around the focused item's text.
    const TRect text = a->StopRect(0);
    int changed = 0;
    for (int y = text.Top - 1; y <= text.Bottom; ++y)
        for (int x = text.Left - 2; x <= text.Right + 1; ++x)
            changed += before->PixelColor(x, y) != after->PixelColor(x, y);
    EXPECT_GT(changed, text.Width());

    // The window may hide the cues again, and a bar without the focus
    // shows none.
    bar->Perform(WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    EXPECT_FALSE(bar->FocusCuesShown());
    bar->Perform(WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    EXPECT_TRUE(bar->FocusCuesShown());
    ::SetFocus(form->Handle());
    Pump();
    EXPECT_FALSE(bar->FocusCuesShown());
}

// Tab brings the keyboard in: the focus shows at once, before any arrow.
TEST_F(GroupKeysTest, TabbingInShowsTheFocus) {
    ::SetFocus(form->Handle());
    Pump();
    ASSERT_FALSE(bar->Focused());
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_TAB] |= 0x80;
    SetKeyboardState(keys);
    bar->SetFocus();
    keys[VK_TAB] &= ~0x80;
    SetKeyboardState(keys);
    Pump();
    EXPECT_TRUE(bar->FocusCuesShown());

    // No key has set the place yet: the first one shows the rectangle, and
    // End takes it away from there to the last group.
    ASSERT_TRUE(ValidateRect(a->Handle(), nullptr));
    bar->Perform(WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(Focus(), "c1");
    RECT dirty{};
    EXPECT_TRUE(GetUpdateRect(a->Handle(), &dirty, FALSE)) << "A keeps its rectangle";
    Pump();
}
