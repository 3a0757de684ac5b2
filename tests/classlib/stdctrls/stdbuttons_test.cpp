// Buttons: radio buttons of one parent form a group; check boxes toggle on
// a click and report every change; Enter presses the default button and
// Esc the cancel button, whose ModalResult ends a modal form.
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/panels.h"

#include "tests/classlib/stdctrls/stdctrls_test.h"

using namespace stdctrls_test;

namespace {

struct Clicks {
    std::vector<TObject*> senders;
    void Click(TObject* Sender) { senders.push_back(Sender); }
};

using Buttons = WindowTest;

TForm* ShownForm(WindowTest&, TForm* form) {
    form->Show();
    SetForegroundWindow(form->Handle());
    Application->ProcessMessages();
    return form;
}

}  // namespace

TEST_F(Buttons, RadioButtonsOfOneParentFormAGroup) {
    TForm* form = NewForm(40, 40, 400, 250);
    auto* box = Create<TGroupBox>(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 180, 150);
    TRadioButton* inBox[3];
    TRadioButton* outside[2];
    for (int i = 0; i < 3; ++i) {
        inBox[i] = Create<TRadioButton>(form);
        inBox[i]->SetParent(box);
        inBox[i]->SetBounds(10, 20 + 25 * i, 150, 20);
    }
    for (int i = 0; i < 2; ++i) {
        outside[i] = Create<TRadioButton>(form);
        outside[i]->SetParent(form);
        outside[i]->SetBounds(200, 20 + 25 * i, 150, 20);
    }
    ShownForm(*this, form);
    Clicks clicks;
    for (auto* r : inBox) r->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
    inBox[0]->SetChecked(true);
    outside[1]->SetChecked(true);
    EXPECT_EQ(clicks.senders, std::vector<TObject*>{inBox[0]});

    ClickAt(inBox[2]->ClientToScreen(Point(8, 10)));
    ASSERT_TRUE(PumpUntil([&] { return inBox[2]->Checked(); }));
    EXPECT_FALSE(inBox[0]->Checked());
    EXPECT_FALSE(inBox[1]->Checked());
    EXPECT_TRUE(outside[1]->Checked()) << "another parent, another group";
    EXPECT_EQ(clicks.senders, (std::vector<TObject*>{inBox[0], inBox[2]})) << "unchecking is silent";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(SendMessageW(inBox[i]->Handle(), BM_GETCHECK, 0, 0), i == 2 ? BST_CHECKED : BST_UNCHECKED);

    inBox[1]->SetEnabled(false);
    ClickAt(inBox[1]->ClientToScreen(Point(8, 10)));
    PumpUntil([] { return false; }, 150);
    EXPECT_FALSE(inBox[1]->Checked()) << "a disabled button takes no click";
}

TEST_F(Buttons, CheckBoxesToggleOnAClickAndReportEveryChange) {
    TForm* form = NewForm(40, 40, 300, 120);
    auto* check = Create<TCheckBox>(form);
    check->SetParent(form);
    check->SetBounds(10, 10, 150, 20);
    check->SetCaption("Log");
    ShownForm(*this, form);
    Clicks clicks;
    check->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
    ClickAt(check->ClientToScreen(Point(8, 10)));
    ASSERT_TRUE(PumpUntil([&] { return check->Checked(); }));
    EXPECT_EQ(clicks.senders.size(), 1u);
    check->SetChecked(false);
    EXPECT_EQ(clicks.senders.size(), 2u);
    EXPECT_EQ(SendMessageW(check->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    check->SetChecked(true);
    check->RecreateWnd();
    EXPECT_EQ(SendMessageW(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED)
        << "the state outlives the window";
}

TEST_F(Buttons, EnterAndEscPressTheDefaultAndCancelButtonsOfAModalForm) {
    for (const auto& [key, expected] : {std::pair<WORD, TModalResult>{VK_RETURN, mrOk}, {VK_ESCAPE, mrNo}}) {
        TForm* form = NewForm(60, 60, 300, 150);
        auto* edit = Create<TEdit>(form);
        edit->SetParent(form);
        auto* ok = Create<TButton>(form);
        ok->SetParent(form);
        ok->SetBounds(10, 60, 75, 25);
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        auto* cancel = Create<TButton>(form);
        cancel->SetParent(form);
        cancel->SetBounds(100, 60, 75, 25);
        cancel->SetCancel(true);
        cancel->SetModalResult(mrNo);
        struct FocusEdit {
            TEdit* edit;
            void Show(TObject* Sender) { static_cast<TForm*>(Sender)->SetActiveControl(edit); }
        } focus{edit};
        form->OnShow = TNotifyEvent(&focus, &FocusEdit::Show);
        HWND window = form->Handle();
        HWND editWindow = edit->Handle();
        // Presses the key in the edit once the form shows, and closes the form
        // should the key do nothing. Posted rather than sent through the real
        // keyboard: which window has the keyboard focus under Xvfb is a race.
        std::thread presser([window, editWindow, key] {
            for (int i = 0; i < 200 && !IsWindowVisible(window); ++i) Sleep(10);
            PostMessageW(editWindow, WM_KEYDOWN, key, 1);
            PostMessageW(editWindow, WM_KEYUP, key, 0xC0000001);
            for (int i = 0; i < 300 && IsWindowVisible(window); ++i) Sleep(10);
            if (IsWindowVisible(window)) PostMessageW(window, WM_CLOSE, 0, 0);
        });
        const TModalResult result = form->ShowModal();
        presser.join();
        EXPECT_EQ(result, expected) << "key " << key;
        EXPECT_EQ(form->ActiveControl(), edit) << "the key reached the form from the edit";
    }
}

TEST_F(Buttons, AClickGivesTheFormTheButtonsModalResult) {
    TForm* form = NewForm(60, 60, 300, 150);
    auto* ok = Create<TButton>(form);
    ok->SetParent(form);
    ok->SetModalResult(mrYes);
    Clicks clicks;
    ok->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
    HWND button = ok->Handle();
    std::thread clicker([button] {
        for (int i = 0; i < 200 && !IsWindowVisible(button); ++i) Sleep(10);
        PostMessageW(button, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(form->ShowModal(), mrYes);
    clicker.join();
    EXPECT_EQ(clicks.senders, std::vector<TObject*>{ok});
}
