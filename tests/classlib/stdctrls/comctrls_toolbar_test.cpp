// The tool bar: buttons take caption, hint, image and enabled state from
// their actions and execute them when clicked; the short hint is the
// button's tooltip; the native buttons follow the button controls.
#include "classlib/stdctrls/comctrls_toolbar.h"

#include "tests/classlib/stdctrls/stdctrls_test.h"

using namespace stdctrls_test;

namespace {

struct Executed {
    std::vector<TObject*> actions;
    int updates = 0;
    void Execute(TObject* Sender) { actions.push_back(Sender); }
    void Update(TObject*) { ++updates; }
};

class ToolBar : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form = NewForm(40, 40, 300, 150);
        images = Create<TImageList>(form);
        TOwned<TBitmap> image(Create<TBitmap>());
        image->SetSize(32, 16);
        images->Add(image.get(), nullptr);
        bar = Create<TToolBar>(form);
        bar->SetParent(form);
        bar->SetFlat(true);
        bar->SetImages(images);
        bar->SetShowHint(true);
        save = NewAction("Save", "Save|Write the log to a file", 0);
        print = NewAction("&Print", "Print", 1);
        for (TAction* action : {save, print}) {
            auto* button = Create<TToolButton>(form);
            button->SetParent(bar);
            button->SetAction(action);
            buttons.push_back(button);
        }
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
    }
    TAction* NewAction(const std::string& caption, const std::string& hint, int image) {
        auto* action = Create<TAction>(form);
        action->SetCaption(caption);
        action->SetHint(hint);
        action->SetImageIndex(image);
        action->OnExecute = TNotifyEvent(&executed, &Executed::Execute);
        return action;
    }
    TBBUTTON NativeButton(int index) {
        TBBUTTON b{};
        SendMessageW(bar->Handle(), TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&b));
        return b;
    }

    TForm* form = nullptr;
    TImageList* images = nullptr;
    TToolBar* bar = nullptr;
    TAction* save = nullptr;
    TAction* print = nullptr;
    std::vector<TToolButton*> buttons;
    Executed executed;
};

}  // namespace

TEST_F(ToolBar, ButtonsTakeCaptionHintImageAndStateFromTheirActions) {
    EXPECT_EQ(bar->ButtonCount(), 2);
    EXPECT_EQ(buttons[0]->Caption(), "Save");
    EXPECT_EQ(buttons[1]->Caption(), "&Print");
    EXPECT_EQ(buttons[0]->Hint(), "Save|Write the log to a file");
    EXPECT_EQ(buttons[1]->ImageIndex(), 1);
    EXPECT_EQ(SendMessageW(bar->Handle(), TB_BUTTONCOUNT, 0, 0), 2);
    EXPECT_EQ(NativeButton(0).iBitmap, 0);
    EXPECT_EQ(NativeButton(1).iBitmap, 1);
    EXPECT_TRUE(GetWindowLongW(bar->Handle(), GWL_STYLE) & TBSTYLE_FLAT);

    print->SetEnabled(false);
    print->SetImageIndex(0);
    EXPECT_FALSE(buttons[1]->Enabled());
    EXPECT_FALSE(SendMessageW(bar->Handle(), TB_ISBUTTONENABLED, NativeButton(1).idCommand, 0));
    EXPECT_EQ(NativeButton(1).iBitmap, 0);
    print->SetEnabled(true);
    EXPECT_TRUE(SendMessageW(bar->Handle(), TB_ISBUTTONENABLED, NativeButton(1).idCommand, 0));
}

TEST_F(ToolBar, AClickOnAButtonExecutesItsAction) {
    RECT r{};
    SendMessageW(bar->Handle(), TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(buttons[1]->BoundsRect(), TRect(r)) << "the control sits on its button";
    ClickAt(bar->ClientToScreen(Point((r.left + r.right) / 2, (r.top + r.bottom) / 2)));
    ASSERT_TRUE(PumpUntil([&] { return !executed.actions.empty(); }));
    EXPECT_EQ(executed.actions, std::vector<TObject*>{print});
}

TEST_F(ToolBar, TheShortHintIsTheButtonsTooltip) {
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(bar->Handle(), TB_GETTOOLTIPS, 0, 0));
    info.hdr.idFrom = static_cast<UINT_PTR>(NativeButton(0).idCommand);
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(bar->Handle(), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_EQ(std::wstring(info.lpszText), L"Save");
}

TEST_F(ToolBar, TheIdleStepUpdatesTheButtonsActions) {
    save->OnUpdate = TNotifyEvent(&executed, &Executed::Update);
    form->UpdateActions();
    EXPECT_EQ(executed.updates, 1);
}
