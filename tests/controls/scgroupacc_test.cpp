// The group bar as an accessibility client sees it through the system's own
// entry points: groups and items with names, roles, states, places and the
// default action, focus events as the keyboard moves, and errors (never a
// crash) from objects whose bar or item is gone.
#include <oleacc.h>

#include <string>
#include <vector>

#include "classlib/windows/accessibility.h"
#include "tests/controls/group_fixture.h"
#include "tests/support/acc_child.h"

namespace {

using TAccessibleChildren = HRESULT(WINAPI*)(IAccessible*, LONG, LONG, VARIANT*, LONG*);
using TAccessibleObjectFromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
using TObjectFromLresult = HRESULT(WINAPI*)(LRESULT, REFIID, WPARAM, void**);

std::string Text(BSTR S) {
    std::wstring wide = S ? S : L"";
    SysFreeString(S);
    return std::string(wide.begin(), wide.end());
}

FARPROC Oleacc(const char* Name) {
    return GetProcAddress(LoadLibraryA("oleacc.dll"), Name);
}

// What a client sees of one object or simple element.
struct TSeen {
    std::string Name;
    LONG Role = 0;
    LONG State = 0;
    std::string Action;
};

TSeen See(IAccessible* Object, LONG Child) {
    TSeen seen;
    BSTR text = nullptr;
    Object->get_accName(AccChild(Child), &text);
    seen.Name = Text(text);
    VARIANT v;
    VariantInit(&v);
    if (Object->get_accRole(AccChild(Child), &v) == S_OK) seen.Role = v.lVal;
    VariantInit(&v);
    if (Object->get_accState(AccChild(Child), &v) == S_OK) seen.State = v.lVal;
    text = nullptr;
    Object->get_accDefaultAction(AccChild(Child), &text);
    seen.Action = Text(text);
    return seen;
}

class GroupAccTest : public GroupBarTest {
protected:
    void SetUp() override {
        GroupBarTest::SetUp();
        if (!InitMSAA()) GTEST_SKIP() << "no accessibility library";
        bar = NewBar(300);
        main = NewGroup(bar, "Main", {"Infomation", "", "-", "Notes"});
        main->SetOpened(true);
        main->Items()->GetItem(1)->SetHint("Monitor|The attributes of the drive");
        main->Items()->GetItem(3)->OnClick = {};
        about = NewGroup(bar, "About", {"About"});
        Pump();
        root = FromWindow(bar->Handle(), OBJID_CLIENT);
        ASSERT_TRUE(root);
    }
    static IAccessible* FromWindow(HWND Window, LONG Id) {
        const auto fromWindow = reinterpret_cast<TAccessibleObjectFromWindow>(
            reinterpret_cast<void*>(Oleacc("AccessibleObjectFromWindow")));
        IAccessible* object = nullptr;
        fromWindow(Window, static_cast<DWORD>(Id), IID_IAccessible, reinterpret_cast<void**>(&object));
        return object;
    }
    void TearDown() override {
        for (IAccessible* object : held)
            if (object) object->Release();
        if (root) root->Release();
        GroupBarTest::TearDown();
    }
    // The children as AccessibleChildren hands them out: objects are kept
    // (and released at the end), simple elements come as their ids.
    std::vector<VARIANT> Children(IAccessible* Parent) {
        LONG count = 0;
        EXPECT_EQ(Parent->get_accChildCount(&count), S_OK);
        std::vector<VARIANT> children(static_cast<size_t>(count));
        LONG got = 0;
        const auto accessibleChildren =
            reinterpret_cast<TAccessibleChildren>(reinterpret_cast<void*>(Oleacc("AccessibleChildren")));
        EXPECT_EQ(accessibleChildren(Parent, 0, count, children.data(), &got), S_OK);
        children.resize(static_cast<size_t>(got));
        return children;
    }
    IAccessible* GroupObject(const VARIANT& Child) {
        EXPECT_EQ(Child.vt, VT_DISPATCH);
        if (Child.vt != VT_DISPATCH) return nullptr;
        IAccessible* object = nullptr;
        Child.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object));
        Child.pdispVal->Release();
        held.push_back(object);
        return object;
    }

    TScGroupBar* bar = nullptr;
    TScGroup* main = nullptr;
    TScGroup* about = nullptr;
    IAccessible* root = nullptr;
    std::vector<IAccessible*> held;
};

}  // namespace

TEST_F(GroupAccTest, GroupsAndItemsAnswerWithNamesRolesStatesAndPlaces) {
    const std::vector<VARIANT> groups = Children(root);
    ASSERT_EQ(groups.size(), 2u);
    IAccessible* mainObject = GroupObject(groups[0]);
    IAccessible* aboutObject = GroupObject(groups[1]);
    ASSERT_TRUE(mainObject && aboutObject);

    TSeen seen = See(mainObject, CHILDID_SELF);
    EXPECT_EQ(seen.Name, "Main");
    EXPECT_EQ(seen.Role, ROLE_SYSTEM_GROUPING);
    EXPECT_TRUE(seen.State & STATE_SYSTEM_EXPANDED);
    EXPECT_EQ(seen.Action, "Collapse");
    seen = See(aboutObject, CHILDID_SELF);
    EXPECT_TRUE(seen.State & STATE_SYSTEM_COLLAPSED);
    EXPECT_EQ(seen.Action, "Expand");

    // The separator is no child; the item without a caption is named by
    // its short hint; the item that runs nothing is text.
    const std::vector<VARIANT> items = Children(mainObject);
    ASSERT_EQ(items.size(), 3u);
    std::vector<std::string> names;
    for (const VARIANT& item : items) {
        ASSERT_EQ(item.vt, VT_I4);
        names.push_back(See(mainObject, item.lVal).Name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Infomation", "Monitor", "Notes"}));
    seen = See(mainObject, 1);
    EXPECT_EQ(seen.Role, ROLE_SYSTEM_LINK);
    EXPECT_EQ(seen.Action, "Click");
    EXPECT_FALSE(seen.State & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE));
    seen = See(mainObject, 3);
    EXPECT_EQ(seen.Role, ROLE_SYSTEM_STATICTEXT);
    EXPECT_TRUE(seen.State & STATE_SYSTEM_READONLY);
    EXPECT_FALSE(seen.State & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(seen.Action, "");
    // The closed group's item is there but not shown.
    EXPECT_TRUE(See(aboutObject, 1).State & STATE_SYSTEM_INVISIBLE);

    // The item's place on screen is where it was painted.
    LONG x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(mainObject->accLocation(&x, &y, &w, &h, AccChild(1)), S_OK);
    const TPoint origin = main->ClientToScreen(TPoint{0, 0});
    const TRect painted = main->StopRect(0);
    EXPECT_EQ(TRect(x, y, x + w, y + h), TRect(origin.X + painted.Left, origin.Y + painted.Top,
                                               origin.X + painted.Right, origin.Y + painted.Bottom));
    VARIANT hit;
    ASSERT_EQ(root->accHitTest(x + 1, y + 1, &hit), S_OK);
    ASSERT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(See(root, hit.lVal).Name, "Infomation");
    // A reader that follows the mouse reads every item drawn, text and
    // disabled ones too, not the group caption around them.
    main->Items()->GetItem(0)->SetEnabled(false);
    Pump();
    for (const int index : {0, 3}) {
        const TRect text = main->Items()->GetItem(index)->CaptionRect();
        ASSERT_EQ(mainObject->accHitTest(origin.X + text.Left + 1, origin.Y + text.Top + 1, &hit), S_OK);
        ASSERT_EQ(hit.vt, VT_I4) << index;
        EXPECT_EQ(See(mainObject, hit.lVal).Name, index == 0 ? "Infomation" : "Notes");
    }

    // Bad ids are refused.
    BSTR name = nullptr;
    EXPECT_EQ(mainObject->get_accName(AccChild(4), &name), E_INVALIDARG);
    EXPECT_EQ(root->get_accName(AccChild(3), &name), E_INVALIDARG);
}

TEST_F(GroupAccTest, TheDefaultActionClicksOnceTheClientsCallHasReturned) {
    IAccessible* mainObject = GroupObject(Children(root)[0]);
    ASSERT_TRUE(mainObject);
    EXPECT_EQ(mainObject->accDoDefaultAction(AccChild(1)), S_OK);
    EXPECT_TRUE(clicked.empty());
    Pump();
    EXPECT_EQ(clicked, (std::vector<std::string>{"Infomation"}));
    // Text has nothing to do; the group's own action opens and closes it.
    EXPECT_EQ(mainObject->accDoDefaultAction(AccChild(3)), E_FAIL);
    IAccessible* aboutObject = GroupObject(Children(root)[1]);
    ASSERT_EQ(aboutObject->accDoDefaultAction(AccChild(CHILDID_SELF)), S_OK);
    Pump();
    EXPECT_TRUE(about->Opened());
}

namespace {
std::vector<LONG> focusEvents;
HWND focusWindow = nullptr;
void CALLBACK FocusEvent(HWINEVENTHOOK, DWORD, HWND Window, LONG Object, LONG Child, DWORD, DWORD) {
    // The system's own event for the window itself is not ours.
    if (Window == focusWindow && Object == OBJID_CLIENT && Child != CHILDID_SELF)
        focusEvents.push_back(Child);
}
}  // namespace

TEST_F(GroupAccTest, FocusEventsFollowTheKeyboardAndNameWhereItIs) {
    focusEvents.clear();
    focusWindow = bar->Handle();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, FocusEvent,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    bar->SetFocus();
    bar->Perform(WM_KEYDOWN, VK_DOWN, 0);
    bar->Perform(WM_KEYDOWN, VK_DOWN, 0);
    Pump();
    UnhookWinEvent(hook);
    // The caption of Main, then its first two items.
    ASSERT_EQ(focusEvents.size(), 3u);
    std::vector<std::string> names;
    for (LONG child : focusEvents) names.push_back(See(root, child).Name);
    EXPECT_EQ(names, (std::vector<std::string>{"Main", "Infomation", "Monitor"}));
    EXPECT_TRUE(See(root, focusEvents.back()).State & STATE_SYSTEM_FOCUSED);
    VARIANT focus;
    ASSERT_EQ(root->get_accFocus(&focus), S_OK);
    ASSERT_EQ(focus.vt, VT_I4);
    EXPECT_EQ(focus.lVal, focusEvents.back());
}

TEST_F(GroupAccTest, ObjectsWhoseItemOrBarIsGoneAnswerAnError) {
    IAccessible* mainObject = GroupObject(Children(root)[0]);
    ASSERT_TRUE(mainObject);
    BSTR name = nullptr;
    main->Items()->Delete(3);
    EXPECT_EQ(mainObject->get_accName(AccChild(3), &name), E_INVALIDARG);
    EXPECT_EQ(mainObject->accDoDefaultAction(AccChild(3)), E_INVALIDARG);

    // A default action still waiting when its item goes does nothing.
    ASSERT_EQ(mainObject->accDoDefaultAction(AccChild(1)), S_OK);
    main->Items()->Delete(0);
    Pump();
    EXPECT_TRUE(clicked.empty());

    bar->Free();
    Pump();
    LONG count = 0;
    VARIANT v;
    EXPECT_EQ(root->get_accChildCount(&count), E_FAIL);
    EXPECT_EQ(root->get_accName(AccChild(CHILDID_SELF), &name), E_FAIL);
    EXPECT_EQ(mainObject->get_accRole(AccChild(1), &v), E_FAIL);
    EXPECT_EQ(mainObject->accDoDefaultAction(AccChild(1)), E_FAIL);
    EXPECT_EQ(root->accHitTest(0, 0, &v), E_FAIL);
}

// A reader that starts from a group's own window gets the group with its
// items, not the system's plain stand-in for a window.
TEST_F(GroupAccTest, AGroupsWindowAnswersWithTheGroup) {
    IAccessible* group = FromWindow(main->Handle(), OBJID_CLIENT);
    held.push_back(group);
    ASSERT_TRUE(group);
    const TSeen seen = See(group, CHILDID_SELF);
    EXPECT_EQ(seen.Name, "Main");
    EXPECT_EQ(seen.Role, ROLE_SYSTEM_GROUPING);
    LONG count = 0;
    EXPECT_EQ(group->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    // IDispatch without type information says so as a success.
    UINT types = 1;
    EXPECT_EQ(group->GetTypeInfoCount(&types), S_OK);
    EXPECT_EQ(types, 0u);
}

// Asks a group for its object the way a reader's in-context hook does when
// the group's window hides.
struct TAskOnHide {
    TScGroup* Group = nullptr;
    IAccessible* Object = nullptr;
    void Link(TMessage& Message, const TControl::TWindowProcNext& Next) {
        Next(Message);
        if (Message.Msg != WM_WINDOWPOSCHANGED || Object ||
            !(reinterpret_cast<WINDOWPOS*>(Message.LParam)->flags & SWP_HIDEWINDOW))
            return;
        const LRESULT result =
            SendMessageW(Group->Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
        const auto fromResult =
            reinterpret_cast<TObjectFromLresult>(reinterpret_cast<void*>(Oleacc("ObjectFromLresult")));
        if (result > 0) fromResult(result, IID_IAccessible, 0, reinterpret_cast<void**>(&Object));
    }
};

// Freed on its own, a group leaves its bar and hides before its window
// goes: an object asked for then would keep the freed group.
TEST_F(GroupAccTest, AGroupBeingFreedHandsOutNoObject) {
    TAskOnHide ask;
    ask.Group = about;
    about->AddWindowProcLink(TControl::TWindowProcLink(&ask, &TAskOnHide::Link));
    about->Free();
    Pump();
    EXPECT_FALSE(ask.Object);
    if (ask.Object) ask.Object->Release();
}
