// The object/window model: one object per window, the WndProc chain and its
// fall-through, WindowProc links, component messages raised by setters,
// reflection, lazy windows, re-parenting, re-creation and painting.
#include "classlib/graphics/bitmap.h"
#include "tests/classlib/stdctrls/stdctrls_test.h"

namespace {

constexpr UINT CM_TEST_BASE = CM_BASE + 1000;
constexpr UINT CM_TEST_DERIVED = CM_BASE + 1001;
constexpr UINT CM_TEST_THROW = CM_BASE + 1002;

class TBaseControl : public TWinControl {
    VX_CLASS(TBaseControl, TWinControl)
public:
    using TWinControl::TWinControl;
    std::vector<std::string> seen;
    void WndProc(TMessage& Message) override {
        if (Message.Msg == CM_TEST_BASE) {
            seen.push_back("base");
            Message.Result = 1;
            return;
        }
        if (Message.Msg == CM_TEST_THROW) throw EInvalidOperation("thrown in a window procedure");
        inherited::WndProc(Message);
    }
};

class TDerivedControl : public TBaseControl {
    VX_CLASS(TDerivedControl, TBaseControl)
public:
    using TBaseControl::TBaseControl;
    void WndProc(TMessage& Message) override {
        if (Message.Msg == CM_TEST_DERIVED || Message.Msg == CM_TEST_BASE) seen.push_back("derived");
        if (Message.Msg == CM_TEST_DERIVED) {
            Message.Result = 2;
            return;
        }
        inherited::WndProc(Message);
    }
};

// A control built on the system's button class.
class TTestButton : public TWinControl {
    VX_CLASS(TTestButton, TWinControl)
public:
    using TWinControl::TWinControl;
    int clicks = 0;
    void WndProc(TMessage& Message) override {
        if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) ++clicks;
        inherited::WndProc(Message);
    }

protected:
    void CreateParams(TCreateParams& Params) override {
        inherited::CreateParams(Params);
        CreateSubClass(Params, L"BUTTON");
        Params.Style |= BS_PUSHBUTTON;
    }
};

// A window class that paints only through its own BeginPaint (red over its
// update area) and ignores a device context in WParam, which it records.
std::vector<WPARAM> probePaints;

LRESULT CALLBACK PaintProbeProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg != WM_PAINT) return DefWindowProcW(Window, Msg, WParam, LParam);
    probePaints.push_back(WParam);
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(Window, &ps);
    SetDCBrushColor(dc, RGB(255, 0, 0));
    FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    EndPaint(Window, &ps);
    return 0;
}

class TPaintProbe : public TWinControl {
    VX_CLASS(TPaintProbe, TWinControl)
public:
    using TWinControl::TWinControl;

protected:
    void CreateParams(TCreateParams& Params) override {
        static const bool registered = [] {
            WNDCLASSW probe{};
            probe.lpfnWndProc = &PaintProbeProc;
            probe.hInstance = GetModuleHandleW(nullptr);
            probe.lpszClassName = L"VxPaintProbe";
            return RegisterClassW(&probe) != 0;
        }();
        (void)registered;
        inherited::CreateParams(Params);
        CreateSubClass(Params, L"VxPaintProbe");
    }
};

struct Links {
    std::vector<std::string> order;
    void A(TMessage& M, const TControl::TWindowProcNext& Next) {
        order.push_back("A");
        Next(M);
    }
    void B(TMessage& M, const TControl::TWindowProcNext& Next) {
        order.push_back("B");
        Next(M);
    }
    TControl* control = nullptr;
    void RemovesA(TMessage& M, const TControl::TWindowProcNext& Next) {
        order.push_back("C");
        control->RemoveWindowProcLink(TControl::TWindowProcLink(this, &Links::A));
        Next(M);
    }
};

}  // namespace

using ObjectModel = WindowTest;

TEST_F(ObjectModel, WndProcFallsBackToTheParentClassThenToTheDefault) {
    TForm* form = NewForm();
    auto* control = Create<TDerivedControl>(form);
    control->SetParent(form);
    EXPECT_EQ(control->Perform(CM_TEST_DERIVED), 2);
    EXPECT_EQ(control->Perform(CM_TEST_BASE), 1);
    EXPECT_EQ(control->seen, (std::vector<std::string>{"derived", "derived", "base"}));
    // Unhandled: the window's default procedure answers.
    control->HandleNeeded();
    EXPECT_EQ(control->Perform(WM_GETTEXTLENGTH), 0);
    control->SetText("abc");
    EXPECT_EQ(control->Perform(WM_GETTEXTLENGTH), 3);
    EXPECT_EQ(FindControl(control->Handle()), control) << "one object per window, found through the table";
}

TEST_F(ObjectModel, WindowProcLinksRunNewestFirstAndLeaveInAnyOrder) {
    TForm* form = NewForm();
    auto* control = Create<TDerivedControl>(form);
    Links links;
    links.control = control;
    control->AddWindowProcLink(TControl::TWindowProcLink(&links, &Links::A));
    control->AddWindowProcLink(TControl::TWindowProcLink(&links, &Links::B));
    control->Perform(CM_TEST_DERIVED);
    EXPECT_EQ(links.order, (std::vector<std::string>{"B", "A"}));

    // A link removes another link while the message runs through the chain.
    links.order.clear();
    control->AddWindowProcLink(TControl::TWindowProcLink(&links, &Links::RemovesA));
    control->Perform(CM_TEST_DERIVED);
    EXPECT_EQ(links.order, (std::vector<std::string>{"C", "B"}));
    links.order.clear();
    control->RemoveWindowProcLink(TControl::TWindowProcLink(&links, &Links::B));
    control->RemoveWindowProcLink(TControl::TWindowProcLink(&links, &Links::RemovesA));
    EXPECT_EQ(control->Perform(CM_TEST_DERIVED), 2);
    EXPECT_TRUE(links.order.empty());
    EXPECT_EQ(control->seen.size(), 3u) << "the class's WndProc still ends the chain";
}

TEST_F(ObjectModel, SettersRaiseTheirComponentMessageExactlyOnce) {
    TForm* form = NewForm();
    auto* control = Create<TDerivedControl>(form);
    control->SetParent(form);
    form->SetColor(clYellow);
    struct Case {
        const char* name;
        UINT message;
        std::function<void()> set;
    } cases[] = {
        {"Color", CM_COLORCHANGED, [&] { control->SetColor(clRed); }},
        {"Font", CM_FONTCHANGED, [&] { control->Font()->SetSize(14); }},
        {"Text", CM_TEXTCHANGED, [&] { control->SetText("hello"); }},
        {"WideText", CM_TEXTCHANGED, [&] { control->SetWideCaption(L"h\u00e9llo \u20ac"); }},
        {"Enabled", CM_ENABLEDCHANGED, [&] { control->SetEnabled(false); }},
        {"Visible", CM_VISIBLECHANGED, [&] { control->SetVisible(false); }},
        {"Cursor", CM_CURSORCHANGED, [&] { control->SetCursor(crHandPoint); }},
        {"ShowHint", CM_SHOWHINTCHANGED, [&] { control->SetShowHint(true); }},
        {"ParentColor", CM_PARENTCOLORCHANGED, [&] { control->SetParentColor(true); }},
    };
    for (auto& c : cases) {
        MessageLog log(control);
        c.set();
        c.set();
        EXPECT_EQ(log.Count(c.message), 1) << c.name;
    }
    // The parent's changes reach children that follow it.
    auto* follower = Create<TDerivedControl>(form);
    follower->SetParent(form);
    MessageLog log(follower);
    form->SetColor(clAqua);
    form->Font()->SetName("Tahoma");
    EXPECT_EQ(log.Count(CM_PARENTCOLORCHANGED), 1);
    EXPECT_EQ(log.Count(CM_PARENTFONTCHANGED), 1);
    EXPECT_EQ(follower->Color(), clAqua);
    EXPECT_EQ(follower->Font()->Name(), "Tahoma");
    EXPECT_EQ(control->WideCaption(), L"h\u00e9llo \u20ac");
}

TEST_F(ObjectModel, InsertAndRemoveAnnounceTheChange) {
    TForm* form = NewForm();
    auto* control = Create<TDerivedControl>(form);
    MessageLog log(form);
    control->SetParent(form);
    control->SetParent(nullptr);
    std::vector<std::pair<UINT, LPARAM>> seen;
    for (const auto& m : log.Messages())
        if (m.Msg == CM_CONTROLLISTCHANGE || m.Msg == CM_CONTROLCHANGE) seen.emplace_back(m.Msg, m.LParam);
    EXPECT_EQ(seen, (std::vector<std::pair<UINT, LPARAM>>{{CM_CONTROLLISTCHANGE, TRUE},
                                                          {CM_CONTROLCHANGE, TRUE},
                                                          {CM_CONTROLCHANGE, FALSE},
                                                          {CM_CONTROLLISTCHANGE, FALSE}}));
    control->Free();
}

TEST_F(ObjectModel, WindowsAreMadeOnlyWhenNeeded) {
    TForm* form = NewForm();
    auto* shown = Create<TDerivedControl>(form);
    shown->SetParent(form);
    auto* hidden = Create<TDerivedControl>(form);
    hidden->SetVisible(false);
    hidden->SetParent(form);
    shown->SetText("lazy");
    shown->SetBounds(5, 5, 50, 20);
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_FALSE(shown->HandleAllocated());
    form->Show();
    EXPECT_TRUE(form->HandleAllocated());
    EXPECT_TRUE(shown->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(shown->Handle()));
    EXPECT_FALSE(hidden->HandleAllocated());
    wchar_t text[16] = {};
    GetWindowTextW(shown->Handle(), text, 16);
    EXPECT_STREQ(text, L"lazy");
    RECT r{};
    GetWindowRect(shown->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 50);
    hidden->HandleNeeded();
    EXPECT_TRUE(hidden->HandleAllocated());
    EXPECT_FALSE(IsWindowVisible(hidden->Handle()));
}

TEST_F(ObjectModel, ReparentingKeepsTheWindowWhenTheNewParentHasOne) {
    TForm* form = NewForm();
    auto* first = Create<TDerivedControl>(form);
    auto* second = Create<TDerivedControl>(form);
    auto* child = Create<TDerivedControl>(form);
    for (auto* c : {first, second}) {
        c->SetParent(form);
        c->SetBounds(0, 0, 100, 100);
    }
    child->SetParent(first);
    child->SetText("moved");
    form->Show();
    HWND window = child->Handle();
    child->SetParent(second);
    EXPECT_EQ(child->Handle(), window);
    EXPECT_EQ(GetParent(window), second->Handle());
    EXPECT_EQ(FindControl(window), child);

    // A parent without a window cannot hold it: it goes and comes back whole.
    auto* detached = Create<TDerivedControl>(form);
    child->SetParent(detached);
    EXPECT_FALSE(child->HandleAllocated());
    EXPECT_EQ(FindControl(window), nullptr);
    detached->SetParent(form);
    EXPECT_TRUE(child->HandleAllocated());
    EXPECT_EQ(child->Text(), "moved");
}

TEST_F(ObjectModel, RecreateWndKeepsTextBoundsAndVisibility) {
    TForm* form = NewForm();
    auto* control = Create<TDerivedControl>(form);
    control->SetParent(form);
    control->SetBounds(10, 20, 30, 40);
    form->Show();
    SetWindowTextW(control->Handle(), L"typed");
    HWND before = control->Handle();
    control->RecreateWnd();
    ASSERT_TRUE(control->HandleAllocated());
    EXPECT_NE(control->Handle(), before);
    EXPECT_EQ(control->Text(), "typed");
    EXPECT_TRUE(IsWindowVisible(control->Handle()));
    EXPECT_EQ(control->BoundsRect(), Rect(10, 20, 40, 60));
}

TEST_F(ObjectModel, NotificationsAreReflectedToTheControlThatSentThem) {
    TForm* form = NewForm();
    auto* button = Create<TTestButton>(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 24);
    form->Show();
    wchar_t className[64] = {};
    GetClassNameW(button->Handle(), className, 64);
    EXPECT_STREQ(className, L"TTestButton");
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(button->clicks, 1);
}

TEST_F(ObjectModel, PaintMessageWithADcPaintsIntoIt) {
    TForm* form = NewForm();
    form->SetColor(clWhite);
    auto* box = Create<TColorBox>(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 20, 20);
    box->SetColor(clRed);
    auto* shape = Create<TColorShape>(form);
    shape->SetParent(form);
    shape->SetBounds(50, 10, 10, 10);
    shape->SetColor(clBlue);
    TOwned<TBitmap> bitmap(Create<TBitmap>());
    bitmap->SetSize(300, 200);
    form->PaintTo(bitmap->Canvas()->Handle(), 0, 0);
    EXPECT_EQ(bitmap->PixelColor(15, 15), clRed);
    EXPECT_EQ(bitmap->PixelColor(55, 15), clBlue) << "the graphic control is painted by its parent";
    EXPECT_EQ(bitmap->PixelColor(45, 15), clWhite);

    TOwned<TBitmap> direct(Create<TBitmap>());
    direct->SetSize(20, 20);
    box->Perform(WM_PAINT, reinterpret_cast<WPARAM>(direct->Canvas()->Handle()), 0);
    EXPECT_EQ(direct->PixelColor(19, 19), clRed);
}

TEST_F(ObjectModel, ASystemClassPaintsAloneUnlessGraphicChildrenPaintOverIt) {
    TForm* form = NewForm();
    auto* probe = Create<TPaintProbe>(form);
    probe->SetParent(form);
    probe->SetBounds(10, 10, 60, 40);
    form->Show();
    Pump();
    probePaints.clear();
    TOwned<TBitmap> shot = stdctrls_test::CaptureClient(probe->Handle());
    EXPECT_EQ(probePaints, std::vector<WPARAM>{0}) << "the message comes as it came";
    EXPECT_EQ(shot->PixelColor(30, 20), clRed);

    auto* shape = Create<TColorShape>(form);
    shape->SetParent(probe);
    shape->SetBounds(5, 5, 10, 10);
    shape->SetColor(clBlue);
    Pump();
    probePaints.clear();
    shot = stdctrls_test::CaptureClient(probe->Handle());
    ASSERT_EQ(probePaints.size(), 1u);
    EXPECT_NE(probePaints[0], 0u) << "the class paints into the paint handler's DC";
    EXPECT_EQ(shot->PixelColor(8, 8), clBlue);
}

TEST_F(ObjectModel, EraseBackgroundHonoursAMovedOrigin) {
    TForm* form = NewForm();
    auto* box = Create<TColorBox>(form);
    box->SetParent(form);
    box->SetBounds(0, 0, 5, 5);
    box->SetColor(clRed);
    box->HandleNeeded();
    TOwned<TBitmap> bitmap(Create<TBitmap>());
    bitmap->SetSize(20, 20);
    HDC dc = bitmap->Canvas()->Handle();
    SetWindowOrgEx(dc, -10, -10, nullptr);
    box->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    EXPECT_EQ(bitmap->PixelColor(10, 10), clRed);
    EXPECT_EQ(bitmap->PixelColor(14, 14), clRed);
    EXPECT_EQ(bitmap->PixelColor(9, 9), clWhite);
    EXPECT_EQ(bitmap->PixelColor(15, 15), clWhite);
}

TEST_F(ObjectModel, PrintClientLeavesTheDcAsItFoundIt) {
    TForm* form = NewForm();
    auto* box = Create<TColorBox>(form);
    box->SetParent(form);
    box->SetBounds(0, 0, 5, 5);
    box->HandleNeeded();
    TOwned<TBitmap> bitmap(Create<TBitmap>());
    bitmap->SetSize(10, 10);
    HDC dc = bitmap->Canvas()->Handle();
    SetTextColor(dc, RGB(1, 2, 3));
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    box->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
}

TEST_F(ObjectModel, AnExceptionInAWindowProcedureReachesHandleException) {
    TForm* form = NewForm();
    auto* control = Create<TDerivedControl>(form);
    control->SetParent(form);
    SendMessageW(control->Handle(), CM_TEST_THROW, 0, 0);
    ASSERT_EQ(exceptions.size(), 1u);
    EXPECT_EQ(exceptions[0], "thrown in a window procedure");
    // Without OnException the application shows it in a message box.
    Application->OnException = nullptr;
    SendMessageW(control->Handle(), CM_TEST_THROW, 0, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "thrown in a window procedure.");
}

TEST_F(ObjectModel, FreeingAParentFreesItsChildrenAndTheirWindows) {
    TForm* form = NewForm();
    auto* parent = Create<TDerivedControl>(nullptr);
    parent->SetParent(form);
    auto* child = Create<TDerivedControl>(form);
    child->SetParent(parent);
    form->Show();
    HWND window = child->Handle();
    const int before = form->ComponentCount();
    parent->Free();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(FindControl(window), nullptr);
    EXPECT_EQ(form->ComponentCount(), before - 1) << "the child left its owner";
}
