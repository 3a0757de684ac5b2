#include <string>
#include <vector>

#include "classlib/windows/forms.h"
#include "classlib/windows/hintmanager.h"
#include "foundation/zkexcontrols.h"
#include "foundation/zkexforms.h"
#include "tests/foundation/quarantine.h"
#include "tests/foundation/window_fixture.h"

namespace {

using Strings = std::vector<std::string>;

// Records which operation each message reached, then lets the default run.
class TProbeControl : public TZkExGraphicControl {
    VX_CLASS(TProbeControl, TZkExGraphicControl)
public:
    using TZkExGraphicControl::TZkExGraphicControl;
    Strings* log = nullptr;
    bool hit = true;
    bool wantKey = false;

protected:
    void Note(const std::string& S) {
        if (log) log->push_back(S);
    }
    void TextChanged() override { Note("TextChanged"), inherited::TextChanged(); }
    bool WantKey(int Key, TShiftState Shift, const std::string& KeyText) override {
        Note("WantKey " + KeyText + (Shift.Contains(ssAlt) ? " alt" : ""));
        inherited::WantKey(Key, Shift, KeyText);
        return wantKey;
    }
    bool HitTest(int X, int Y) override {
        Note("HitTest " + std::to_string(X) + "," + std::to_string(Y));
        return inherited::HitTest(X, Y) && hit;
    }
    void FocusChanged(TControl* C) override { Note("FocusChanged"), inherited::FocusChanged(C); }
    void VisibleChanged() override { Note("VisibleChanged"), inherited::VisibleChanged(); }
    void EnabledChanged() override { Note("EnabledChanged"), inherited::EnabledChanged(); }
    void ColorChanged() override { Note("ColorChanged"), inherited::ColorChanged(); }
    void FontChanged() override { Note("FontChanged"), inherited::FontChanged(); }
    void ParentFontChanged() override { Note("ParentFontChanged"), inherited::ParentFontChanged(); }
    void ParentColorChanged() override { Note("ParentColorChanged"), inherited::ParentColorChanged(); }
    void ParentShowHintChanged() override {
        Note("ParentShowHintChanged"), inherited::ParentShowHintChanged();
    }
    void MouseEnter(TControl* C) override { Note("MouseEnter"), inherited::MouseEnter(C); }
    void MouseLeave(TControl* C) override { Note("MouseLeave"), inherited::MouseLeave(C); }
};

class TDenyingControl : public TZkExGraphicControl, public IZkDenySubclassing {
    VX_CLASS(TDenyingControl, TZkExGraphicControl)
public:
    using TZkExGraphicControl::TZkExGraphicControl;
};

class ExGraphicControlTest : public FoundationWindowTest {
protected:
    void SetUp() override {
        FoundationWindowTest::SetUp();
        form = Create<TForm>(nullptr, 0);
        control = Create<TProbeControl>(form);
        control->SetParent(form);
        control->SetBounds(10, 10, 50, 20);
        control->log = &log;
    }
    void TearDown() override {
        control->log = nullptr;
        form->Free();
        FoundationWindowTest::TearDown();
    }

    TForm* form = nullptr;
    TProbeControl* control = nullptr;
    Strings log;
};

TEST_F(ExGraphicControlTest, EachNotificationReachesItsOperation) {
    const struct {
        UINT msg;
        const char* operation;
    } cases[] = {
        {CM_TEXTCHANGED, "TextChanged"},
        {CM_FOCUSCHANGED, "FocusChanged"},
        {CM_VISIBLECHANGED, "VisibleChanged"},
        {CM_ENABLEDCHANGED, "EnabledChanged"},
        {CM_COLORCHANGED, "ColorChanged"},
        {CM_FONTCHANGED, "FontChanged"},
        {CM_PARENTFONTCHANGED, "ParentFontChanged"},
        {CM_PARENTCOLORCHANGED, "ParentColorChanged"},
        {CM_PARENTSHOWHINTCHANGED, "ParentShowHintChanged"},
        {CM_MOUSEENTER, "MouseEnter"},
        {CM_MOUSELEAVE, "MouseLeave"},
    };
    for (const auto& c : cases) {
        log.clear();
        control->Perform(c.msg);
        // The default handling may raise follow-up notifications (a parent
        // font taken over is a font change).
        ASSERT_FALSE(log.empty()) << c.operation;
        EXPECT_EQ(log.front(), c.operation);
    }
}

TEST_F(ExGraphicControlTest, HitTestAndDialogCharAnswerThroughTheirResults) {
    EXPECT_EQ(control->Perform(CM_HITTEST, 0, PointToLParam(-3, 7)), 1);
    control->hit = false;
    EXPECT_EQ(control->Perform(CM_HITTEST, 0, PointToLParam(4, 5)), 0);
    EXPECT_EQ(control->Perform(CM_DIALOGCHAR, 'Q', 0x20000000), 0);
    control->wantKey = true;
    EXPECT_EQ(control->Perform(CM_DIALOGCHAR, 'R', 0), 1);
    EXPECT_EQ(log, (Strings{"HitTest -3,7", "HitTest 4,5", "WantKey Q alt", "WantKey R"}));
}

TEST_F(ExGraphicControlTest, OnlyClassesThatDenySubclassingSayYes) {
    EXPECT_EQ(control->Perform(CM_DENYSUBCLASSING), 0);
    TOwned<TDenyingControl> denying(Create<TDenyingControl>(nullptr));
    EXPECT_EQ(denying->Perform(CM_DENYSUBCLASSING), 1);
}

TEST_F(ExGraphicControlTest, AControlFreedByItsOwnClickIsNotWrittenToAfterwards) {
    using TClickedControl = TQuarantined<TZkExGraphicControl>;
    struct FreeOnClick {
        void Click(TObject* Sender) { static_cast<TControl*>(Sender)->Free(); }
    } freeOnClick;
    TClickedControl* clicked = Create<TClickedControl>(form);
    clicked->SetParent(form);
    clicked->SetBounds(0, 0, 20, 20);
    clicked->OnClick = TNotifyEvent(&freeOnClick, &FreeOnClick::Click);
    clicked->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(5, 5));
    clicked->Perform(WM_LBUTTONUP, 0, PointToLParam(5, 5));
    ASSERT_TRUE(TClickedControl::Freed());
    EXPECT_TRUE(TClickedControl::FreedUntouched());
}

// The parent hears of the mouse through the inherited handling; the enter
// event fires before it, the leave event after it, each exactly once.
struct Order {
    Strings events;
    TControl* control = nullptr;
    void Enter(TObject*) { events.push_back(std::string("enter over=") + (Over() ? "1" : "0")); }
    void Leave(TObject*) { events.push_back(std::string("leave over=") + (Over() ? "1" : "0")); }
    bool Over() const { return static_cast<TZkExGraphicControl*>(control)->MouseOver(); }
    void ParentLink(TMessage& M, const TControl::TWindowProcNext& Next) {
        if (M.Msg == CM_MOUSEENTER && M.LParam == reinterpret_cast<LPARAM>(control))
            events.push_back("parent enter");
        if (M.Msg == CM_MOUSELEAVE && M.LParam == reinterpret_cast<LPARAM>(control))
            events.push_back("parent leave");
        Next(M);
    }
};

TEST_F(ExGraphicControlTest, EnterFiresBeforeTheParentHearsAndLeaveAfter) {
    Order order;
    order.control = control;
    control->OnMouseEnter = TNotifyEvent(&order, &Order::Enter);
    control->OnMouseLeave = TNotifyEvent(&order, &Order::Leave);
    const TControl::TWindowProcLink link(&order, &Order::ParentLink);
    form->AddWindowProcLink(link);
    control->Perform(CM_MOUSEENTER);
    control->Perform(CM_MOUSELEAVE);
    form->RemoveWindowProcLink(link);
    EXPECT_EQ(order.events, (Strings{"enter over=1", "parent enter", "parent leave", "leave over=0"}));
}

struct ColorWatch {
    TControl* control = nullptr;
    TColor seen = clNone;
    void Changed(TObject*) { seen = control->Color(); }
};

TEST_F(ExGraphicControlTest, ParentColorChangeFiresAfterTheColourWasTaken) {
    ColorWatch watch;
    watch.control = control;
    control->OnParentColorChange = TNotifyEvent(&watch, &ColorWatch::Changed);
    form->SetColor(clLime);
    EXPECT_EQ(watch.seen, clLime);
}

}  // namespace

namespace {

class TColouredForm : public TZkExForm {
    VX_CLASS(TColouredForm, TZkExForm)
public:
    TColouredForm() : TZkExForm(nullptr, 0) {}
};

TEST_F(ExGraphicControlTest, HintColourComesFromTheControlTheApplicationOrTheParent) {
    HintManager()->SetHintColor(clSkyBlue);
    TOwned<TColouredForm> zkParent(Create<TColouredForm>());
    zkParent->SetHintColor(clMaroon);
    TOwned<TZkExGraphicControl> orphan(Create<TZkExGraphicControl>(nullptr));
    const struct {
        const char* name;
        TZkExGraphicControl* control;
        TWinControl* parent;
        TColor hintColor;
        TColor expected;
    } cases[] = {
        {"own colour", control, form, clLime, clLime},
        {"none: the application's", control, form, clNone, clSkyBlue},
        {"default: a plain parent leaves it", control, form, clDefault, clCream},
        {"default: an extended parent's own", control, zkParent.get(), clDefault, clMaroon},
        {"default without a parent", orphan.get(), nullptr, clDefault, clCream},
    };
    for (const auto& c : cases) {
        c.control->SetParent(c.parent);
        c.control->SetHintColor(c.hintColor);
        THintInfo info;
        info.HintColor = clCream;
        c.control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.HintColor, c.expected) << c.name;
    }
    control->SetParent(form);
    HintManager()->SetHintColor(clInfoBk);
}

TEST_F(ExGraphicControlTest, AHintWindowClassReplacesTheRecords) {
    THintInfo info;
    control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintWindowClass, nullptr);
    control->SetHintWindowClass(THintWindow::ClassInfo());
    control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintWindowClass, THintWindow::ClassInfo());
}

}  // namespace
