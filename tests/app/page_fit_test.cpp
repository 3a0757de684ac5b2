// The main window at its real size, inside its skinned title and status
// bars, as a user goes through it with the mouse: every page reached by a
// click on its group bar item shows every window, label and caption whole,
// inside its parent and clear of its neighbours, and the OK buttons of the
// two settings pages take a click and store what they save.
#include "app/program.h"
#include "app/program_units.h"
#include "app/settings.h"
#include "classlib/core/text.h"
#include "classlib/stdctrls/combobox.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/pagecontrol.h"
#include "classlib/stdctrls/spinedit.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/application.h"
#include "controls/scbitbtn.h"
#include "controls/scbutton.h"
#include "controls/scgroup.h"
#include "controls/scgroupitems.h"
#include "tests/app/program_fixture.h"
#include "tests/classlib/stdctrls/stdctrls_test.h"

namespace {

using Faults = std::vector<std::string>;

std::string Describe(HWND Window) {
    if (TWinControl* control = FindControl(Window); control && !control->Name().empty())
        return control->Name();
    char className[64] = {};
    GetClassNameA(Window, className, 64);
    return std::string("a ") + className + " in " + Describe(GetParent(Window));
}

std::string Text(const TRect& R) {
    return Format("(%d,%d)-(%d,%d)", R.Left, R.Top, R.Right, R.Bottom);
}

bool Inside(const TRect& Inner, const TRect& Outer) {
    return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
           Inner.Bottom <= Outer.Bottom;
}

TRect ScreenClient(HWND Window) {
    RECT client{};
    GetClientRect(Window, &client);
    MapWindowPoints(Window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return TRect(client.left, client.top, client.right, client.bottom);
}

// Width of a one-line text in the control's font, as the screen draws it.
int TextWidth(TFont* Font, const std::string& Caption) {
    std::string text = Caption;
    std::erase(text, '&');
    TWindowDC dc(nullptr);
    TSelectObject select(dc.Get(), Font->Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// A check box or radio button shows its box, a gap and then its caption.
void CheckCaptionFits(TButtonControl* Button, Faults& Found) {
    const int needed = GetSystemMetrics(SM_CXMENUCHECK) + 4 + TextWidth(Button->Font(), Button->Caption());
    if (needed > Button->Width())
        Found.push_back(Format("%s is %d wide for a caption that needs %d", Button->Name().c_str(),
                               Button->Width(), needed));
}

// Every visible window below Parent lies inside its parent's client area,
// and so does every visible label-like control without a window.
void CheckInsideParents(HWND Parent, Faults& Found) {
    const TRect client = ScreenClient(Parent);
    for (HWND child = GetWindow(Parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT bounds{};
        GetWindowRect(child, &bounds);
        const TRect rect(bounds.left, bounds.top, bounds.right, bounds.bottom);
        if (!Inside(rect, client))
            Found.push_back(Describe(child) + " " + Text(rect) + " leaves " + Describe(Parent) + " " +
                            Text(client));
        CheckInsideParents(child, Found);
    }
    TWinControl* owner = FindControl(Parent);
    if (!owner) return;
    RECT local{};
    GetClientRect(Parent, &local);
    const TRect area(0, 0, local.right, local.bottom);
    for (int i = 0; i < owner->ControlCount(); ++i) {
        TControl* control = owner->Controls(i);
        if (dynamic_cast<TWinControl*>(control) || !control->Visible()) continue;
        if (!Inside(control->BoundsRect(), area))
            Found.push_back(control->Name() + " " + Text(control->BoundsRect()) + " leaves " +
                            Describe(Parent) + " " + Text(area));
    }
}

// Check boxes and radio buttons among Parent's controls, however deep.
void CheckCaptions(TWinControl* Parent, Faults& Found) {
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* control = Parent->Controls(i);
        if (auto* box = dynamic_cast<TCheckBox*>(control)) CheckCaptionFits(box, Found);
        if (auto* radio = dynamic_cast<TRadioButton*>(control)) CheckCaptionFits(radio, Found);
        if (auto* inner = dynamic_cast<TWinControl*>(control)) CheckCaptions(inner, Found);
    }
}

// No two visible controls side by side cover one another. A control that
// another owns is part of it (a link's focus window stands on its link).
void CheckApart(TWinControl* Parent, Faults& Found) {
    std::vector<TControl*> shown;
    for (int i = 0; i < Parent->ControlCount(); ++i)
        if (Parent->Controls(i)->Visible()) shown.push_back(Parent->Controls(i));
    for (size_t i = 0; i < shown.size(); ++i) {
        for (size_t j = i + 1; j < shown.size(); ++j) {
            if (shown[i]->Owner() == shown[j] || shown[j]->Owner() == shown[i]) continue;
            const TRect a = shown[i]->BoundsRect(), b = shown[j]->BoundsRect();
            if (a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom)
                Found.push_back(shown[i]->Name() + " " + Text(a) + " covers " + shown[j]->Name() + " " +
                                Text(b));
        }
        if (auto* inner = dynamic_cast<TWinControl*>(shown[i])) CheckApart(inner, Found);
    }
}

void Settle() {
    for (int i = 0; i < 5; ++i) {
        Application->ProcessMessages();
        Sleep(20);
    }
}

// The centre of a control, on the screen, after checking that a click there
// reaches it and nothing that covers it.
TPoint ClickPoint(TWinControl* Control) {
    const TPoint centre = Control->ClientToScreen(TPoint(Control->Width() / 2, Control->Height() / 2));
    EXPECT_EQ(WindowFromPoint(POINT{centre.X, centre.Y}), Control->Handle()) << Control->Name();
    return centre;
}

class PageFit : public ProgramTest {
protected:
    void SetUp() override {
        StartWithExampleDrives();
        MainForm->Show();
        SetForegroundWindow(MainForm->Handle());
        Settle();
    }
    void TearDown() override { FreeProgramForms(); }  // before the units stop

    // A real click on the group bar item with this caption.
    void ClickItem(TScGroup* Group, const std::string& Caption) {
        for (int i = 0; i < Group->Items()->Count(); ++i) {
            auto* item = static_cast<TScGroupItem*>(Group->Items()->Items(i));
            if (item->Caption() != Caption) continue;
            const TRect r = item->CaptionRect();
            const TPoint at = Group->ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
            ASSERT_EQ(WindowFromPoint(POINT{at.X, at.Y}), Group->Handle()) << Caption << " is out of sight";
            stdctrls_test::ClickAt(at);
            Settle();
            return;
        }
        FAIL() << "no item " << Caption;
    }
    void ClickButton(TWinControl* Button) {
        const TPoint at = ClickPoint(Button);
        stdctrls_test::ClickAt(at);
        Settle();
    }

    const TProgramUnits units;
};

}  // namespace

TEST_F(PageFit, EveryPageShowsWholeInsideItsWindow) {
    const struct {
        TScGroup* Group;
        const char* Item;
        TTabSheet* Sheet;
    } pages[] = {{MainForm->MainGroup, "Monitor", MainForm->ts2},
                 {MainForm->MainGroup, "Setting", MainForm->ts3},
                 {MainForm->MainGroup, "Preference", MainForm->ts4},
                 {MainForm->PerformanceGroup, "Performance", MainForm->ts6},
                 {MainForm->AboutGroup, "About", MainForm->ts5},
                 {MainForm->MainGroup, "Infomation", MainForm->ts1}};
    for (const auto& page : pages) {
        ClickItem(page.Group, page.Item);
        ASSERT_EQ(MainForm->pgc1->ActivePage(), page.Sheet) << page.Item;
        Faults found;
        CheckInsideParents(MainForm->Handle(), found);
        CheckCaptions(page.Sheet, found);
        CheckApart(page.Sheet, found);
        EXPECT_EQ(found, Faults{}) << "on the page of " << page.Item;
    }
    // The drive list keeps its height.
    EXPECT_EQ(MainForm->lvDrvList->Height(), 97);
    EXPECT_TRUE(exceptions.empty());
}

TEST_F(PageFit, OkButtonsOfBothSettingsPagesTakeAClickAndStore) {
    ClickItem(MainForm->MainGroup, "Setting");
    TListView* attributes = MainForm->lv2;
    auto choose = [&](const std::string& Attribute) {
        for (int row = 0; row < attributes->Items()->Count(); ++row)
            if (attributes->Items()->Item(row)->Caption() == Attribute) attributes->SetItemIndex(row);
        MainForm->lv2Click(attributes);
    };
    choose("Temperature Celcius");
    MainForm->edt1->SetText("45");
    MainForm->cbMessage->SetItemIndex(MainForm->cbMessage->Items()->IndexOf("Send mail"));
    ClickButton(MainForm->btnNotice);
    choose("Power On Count");
    MainForm->rb4->SetChecked(true);
    ClickButton(MainForm->btnNotice);
    {
        TOwned<TRegistry> drive = OpenDriveSettings("ST3500418AS", false);
        ASSERT_TRUE(drive);
        EXPECT_EQ(ReadIntegerOr(drive.get(), "Temperature", 0), 45);
        EXPECT_EQ(ReadStringOr(drive.get(), "Temperature Celcius", ""), "Send mail");
        EXPECT_EQ(ReadStringOr(drive.get(), "Power On Count", ""), "Reboot Computer");
    }

    ClickItem(MainForm->MainGroup, "Preference");
    MainForm->seTime->SetValue(7);
    ClickButton(MainForm->BitBtnOption);
    EXPECT_EQ(ReadIntegerOr(OpenSettings(false).get(), "RTimer", 0), 7 * 60000);
    EXPECT_TRUE(boxes.Asked().empty());
    EXPECT_TRUE(exceptions.empty());
}
