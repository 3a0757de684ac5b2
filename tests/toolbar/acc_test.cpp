// Accessibility clients asking a bar in a real window, through the system's
// own entry point: names, roles, states, places and children, failures after
// the bar is gone, and every object released again.
#include <oleacc.h>

#include <string>

#include "tests/toolbar/acc_self.h"
#include "tests/toolbar/view_fixture.h"
#include "toolbar/baracc.h"

namespace {

using TAccessibleObjectFromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);

// Holds one interface reference and lets it go.
template <class I>
class TRef {
public:
    TRef() = default;
    TRef(const TRef&) = delete;
    TRef& operator=(const TRef&) = delete;
    ~TRef() { Reset(); }
    I** Out() {
        Reset();
        return &p_;
    }
    I* operator->() const { return p_; }
    I* Get() const { return p_; }
    void Reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

private:
    I* p_ = nullptr;
};

std::string Text(BSTR S) {
    std::wstring wide = S ? S : L"";
    SysFreeString(S);
    return std::string(wide.begin(), wide.end());
}

class AccTest : public ViewWindowTest {
protected:
    void SetUp() override {
        BarAccStartup();
        ViewWindowTest::SetUp();
        if (!InitMSAA()) GTEST_SKIP() << "no accessibility library";
        file = Add("&File");
        file->SetChecked(true);
        root_->Add(Create<TBarSeparatorItem>(form_));
        save = Add("Save");
        save->SetEnabled(false);
        print = Add("Print");
        print->SetItemStyle(print->ItemStyle() | isfSubmenu);
        MakeView(true);
        ShowForm();
        view_->ValidatePositions();
        auto entry = reinterpret_cast<TAccessibleObjectFromWindow>(reinterpret_cast<void*>(
            GetProcAddress(LoadLibraryA("oleacc.dll"), "AccessibleObjectFromWindow")));
        ASSERT_EQ(entry(window_->Handle(), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                        reinterpret_cast<void**>(bar.Out())),
                  S_OK);
    }
    void TearDown() override {
        bar.Reset();
        ViewWindowTest::TearDown();
        BarAccShutdown();
    }
    // The accessible object of child N of the bar.
    void Child(LONG N, TRef<IAccessible>& Out) {
        VARIANT v = Self();
        v.lVal = N;
        TRef<IDispatch> dispatch;
        ASSERT_EQ(bar->get_accChild(v, dispatch.Out()), S_OK);
        ASSERT_EQ(dispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(Out.Out())), S_OK);
    }
    LONG State(IAccessible* A) {
        VARIANT state;
        EXPECT_EQ(A->get_accState(Self(), &state), S_OK);
        return state.lVal;
    }
    LONG Role(IAccessible* A) {
        VARIANT role;
        EXPECT_EQ(A->get_accRole(Self(), &role), S_OK);
        return role.lVal;
    }

    TRef<IAccessible> bar;
    TBarCustomItem *file = nullptr, *save = nullptr, *print = nullptr;
};

TEST_F(AccTest, TheBarAnswersAsAToolbarWithItsItemsAsChildren) {
    EXPECT_EQ(Role(bar.Get()), ROLE_SYSTEM_TOOLBAR);
    LONG count = 0;
    ASSERT_EQ(bar->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 4);
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = nullptr;
    TRef<IDispatch> none;
    EXPECT_EQ(bar->get_accChild(text, none.Out()), E_INVALIDARG);
    VARIANT beyond = Self();
    beyond.lVal = 5;
    EXPECT_EQ(bar->get_accChild(beyond, none.Out()), E_INVALIDARG);

    RECT window;
    GetWindowRect(window_->Handle(), &window);
    LONG x, y, w, h;
    ASSERT_EQ(bar->accLocation(&x, &y, &w, &h, Self()), S_OK);
    EXPECT_EQ(x, window.left);
    EXPECT_EQ(w, window.right - window.left);
}

TEST_F(AccTest, ItemsReportNameRoleStateAndPlace) {
    TRef<IAccessible> first, separator, disabled, submenu;
    Child(1, first);
    Child(2, separator);
    Child(3, disabled);
    Child(4, submenu);
    BSTR name = nullptr;
    ASSERT_EQ(first->get_accName(Self(), &name), S_OK);
    EXPECT_EQ(Text(name), "File");
    EXPECT_EQ(Role(first.Get()), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(Role(separator.Get()), ROLE_SYSTEM_SEPARATOR);
    EXPECT_EQ(Role(submenu.Get()), ROLE_SYSTEM_BUTTONMENU);
    EXPECT_TRUE(State(first.Get()) & STATE_SYSTEM_CHECKED);
    EXPECT_TRUE(State(first.Get()) & STATE_SYSTEM_FOCUSABLE);
    EXPECT_TRUE(State(disabled.Get()) & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_TRUE(State(submenu.Get()) & STATE_SYSTEM_HASPOPUP);

    BSTR action = nullptr;
    EXPECT_EQ(disabled->get_accDefaultAction(Self(), &action), S_FALSE);
    ASSERT_EQ(first->get_accDefaultAction(Self(), &action), S_OK);
    EXPECT_EQ(Text(action), "Press");
    ASSERT_EQ(submenu->get_accDefaultAction(Self(), &action), S_OK);
    EXPECT_EQ(Text(action), "Open");

    BSTR shortcut = nullptr;
    ASSERT_EQ(first->get_accKeyboardShortcut(Self(), &shortcut), S_OK);
    EXPECT_EQ(Text(shortcut), GetAltKeyName() + "+f");

    const TRect r = view_->Find(file)->BoundsRect;
    POINT origin{r.Left, r.Top};
    ClientToScreen(window_->Handle(), &origin);
    LONG x, y, w, h;
    ASSERT_EQ(first->accLocation(&x, &y, &w, &h, Self()), S_OK);
    EXPECT_EQ(x, origin.x);
    EXPECT_EQ(y, origin.y);
    EXPECT_EQ(w, r.Width());

    VARIANT hit;
    ASSERT_EQ(bar->accHitTest(x + 1, y + 1, &hit), S_OK);
    ASSERT_EQ(hit.vt, VT_DISPATCH);
    hit.pdispVal->Release();

    TRef<IDispatch> parent;
    ASSERT_EQ(first->get_accParent(parent.Out()), S_OK);
    VARIANT next;
    ASSERT_EQ(first->accNavigate(NAVDIR_NEXT, Self(), &next), S_OK);
    ASSERT_EQ(next.vt, VT_DISPATCH);
    EXPECT_EQ(next.pdispVal, static_cast<IDispatch*>(separator.Get()));
    next.pdispVal->Release();
}

TEST_F(AccTest, AnItemWithoutCaptionIsNamedByItsHintAndOthersKeepTheirCaption) {
    file->SetCaption("");
    file->SetHint("Open a file|Opens a file from the disk");
    save->SetHint("Store it");
    view_->ValidatePositions();
    TRef<IAccessible> first, disabled;
    Child(1, first);
    Child(3, disabled);
    BSTR name = nullptr;
    ASSERT_EQ(first->get_accName(Self(), &name), S_OK);
    EXPECT_EQ(Text(name), "Open a file");
    ASSERT_EQ(disabled->get_accName(Self(), &name), S_OK);
    EXPECT_EQ(Text(name), "Save");
}

TEST_F(AccTest, CallsAfterTheBarIsGoneFailAndEveryObjectIsReleased) {
    TRef<IAccessible> first;
    Child(1, first);
    view_->Free();
    view_ = nullptr;
    window_->View = nullptr;
    BSTR name = nullptr;
    EXPECT_EQ(first->get_accName(Self(), &name), E_FAIL);
    EXPECT_EQ(bar->get_accName(Self(), &name), E_FAIL);
    EXPECT_EQ(name, nullptr);
    first.Reset();
    bar.Reset();
    EXPECT_EQ(BarViewAccObjectCount(), 0);
    EXPECT_EQ(BarItemViewerAccObjectCount(), 0);
}

TEST_F(AccTest, ObjectsLiveOnlyWhileTheirViewOrAClientHoldsThem) {
    TRef<IAccessible> first;
    Child(1, first);
    EXPECT_EQ(BarViewAccObjectCount(), 1);
    EXPECT_GE(BarItemViewerAccObjectCount(), 1);
    first.Reset();
    bar.Reset();
    view_->Free();
    view_ = nullptr;
    window_->View = nullptr;
    EXPECT_EQ(BarViewAccObjectCount(), 0);
    EXPECT_EQ(BarItemViewerAccObjectCount(), 0);
}

TEST_F(AccTest, DisconnectingAtTheEndFreesObjectsThatOnlyTheSystemStillHolds) {
    bar.Reset();
    // An answer no client came to pick up: the system's marshalled reference
    // alone keeps the object alive once its view is gone.
    SendMessageW(window_->Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    view_->Free();
    view_ = nullptr;
    window_->View = nullptr;
    const long held = BarViewAccObjectCount();
    DisconnectAccObjects();
    EXPECT_EQ(held, 1);
    EXPECT_EQ(BarViewAccObjectCount(), 0);
}

}  // namespace
