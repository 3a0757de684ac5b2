// Actions and their links to controls: values pushed while the control still
// shows the action's, clicks executed on the control's behalf, the idle step
// updating the actions of visible forms, action lists seeing execution and
// shortcuts first, and actions going away under their clients.
#include "classlib/stdctrls/controlactions.h"
#include "tests/classlib/windows/window_test.h"

namespace {

class TCheckControl;

// The link of a control with a checked state, as check boxes have.
class TCheckActionLink : public TControlActionLink {
    VX_CLASS(TCheckActionLink, TControlActionLink)
public:
    explicit TCheckActionLink(TObject* AClient) : inherited(AClient) {}
    bool IsCheckedLinked() override;
    void SetChecked(bool Value) override;
};

class TCheckControl : public TCustomControl {
    VX_CLASS(TCheckControl, TCustomControl)
public:
    explicit TCheckControl(TComponent* AOwner) : inherited(AOwner) {
        actions_.OnActionChange = TActionChangeEvent(this, &TCheckControl::ActionChange);
    }
    bool Checked() const { return checked_; }
    void SetChecked(bool Value) { checked_ = Value; }
    TBasicAction* Action() const { return actions_.Action(); }
    void SetAction(TBasicAction* Value) { actions_.SetAction(Value); }
    void InitiateAction() override { actions_.InitiateAction(); }
    void Click() override { actions_.Click(); }
    void Loaded() override {
        inherited::Loaded();
        actions_.Loaded();
    }

private:
    void ActionChange(TObject* Sender, bool CheckDefaults) {
        if (auto* action = dynamic_cast<TCustomAction*>(Sender))
            if (!CheckDefaults || !checked_) SetChecked(action->Checked());
    }

    bool checked_ = false;
    TControlActionSupport actions_{this, &MakeControlActionLink<TCheckActionLink>};
};

bool TCheckActionLink::IsCheckedLinked() {
    auto* control = static_cast<TCheckControl*>(ClientControl());
    return inherited::IsCheckedLinked() && control->Checked() == CustomAction()->Checked();
}

void TCheckActionLink::SetChecked(bool Value) {
    if (IsCheckedLinked()) static_cast<TCheckControl*>(ClientControl())->SetChecked(Value);
}

struct Counter {
    int executed = 0;
    int updated = 0;
    int clicked = 0;
    TComponent* invoker = nullptr;
    bool enableOnUpdate = true;
    void Execute(TObject* Sender) {
        ++executed;
        auto* action = dynamic_cast<TBasicAction*>(Sender);
        invoker = action ? action->ActionComponent() : nullptr;
    }
    void Update(TObject* Sender) {
        ++updated;
        static_cast<TCustomAction*>(Sender)->SetEnabled(enableOnUpdate);
    }
    void Click(TObject*) { ++clicked; }
    void ListExecute(TBasicAction*, bool& Handled) { Handled = true; }
};

class Actions : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form = NewForm();
        actions = Create<TActionList>(form);
        action = Create<TAction>(form);
        action->SetActionList(actions);
        action->SetCaption("&Save");
        action->SetHint("Save|Saves the log");
        action->OnExecute = TNotifyEvent(&counter, &Counter::Execute);
        control = Create<TCheckControl>(form);
        control->SetParent(form);
        control->SetBounds(10, 10, 80, 24);
    }

    // Runs the application's idle step once.
    void RunIdleStep() {
        Pump();
        bool idled = false;
        struct IdleProbe {
            bool* idled;
            void Idle(TObject*, bool& Done) {
                *idled = true;
                Done = false;  // no WaitMessage: the test goes on at once
            }
        } probe{&idled};
        Application->OnIdle = TIdleEvent(&probe, &IdleProbe::Idle);
        for (int i = 0; i < 100 && !idled; ++i) Application->HandleMessage();
        Application->OnIdle = nullptr;
        ASSERT_TRUE(idled);
    }

    Counter counter;
    TForm* form = nullptr;
    TActionList* actions = nullptr;
    TAction* action = nullptr;
    TCheckControl* control = nullptr;
};

TEST_F(Actions, ALinkedControlTakesTheActionsValuesAndFollowsThem) {
    control->SetAction(action);
    EXPECT_EQ(control->Caption(), "&Save");
    EXPECT_EQ(control->Hint(), "Save|Saves the log");
    EXPECT_TRUE(control->ControlStyle().Contains(csActionClient));

    action->SetCaption("S&tore");
    action->SetEnabled(false);
    action->SetChecked(true);
    action->SetVisible(false);
    EXPECT_EQ(control->Caption(), "S&tore");
    EXPECT_FALSE(control->Enabled());
    EXPECT_TRUE(control->Checked());
    EXPECT_FALSE(control->Visible());

    // A value the control changed itself is no longer the action's to set.
    control->SetCaption("Mine");
    action->SetCaption("Other");
    action->SetEnabled(true);
    EXPECT_EQ(control->Caption(), "Mine");
    EXPECT_TRUE(control->Enabled());

    control->SetAction(nullptr);
    action->SetEnabled(false);
    EXPECT_TRUE(control->Enabled());
    EXPECT_FALSE(control->ControlStyle().Contains(csActionClient));
}

TEST_F(Actions, AnActionAssignedWhileLoadingFillsOnlyWhatIsStillDefault) {
    control->SetCaption("Own caption");
    action->SetChecked(true);
    control->Loading();
    control->SetAction(action);
    EXPECT_EQ(control->Caption(), "Own caption");
    EXPECT_EQ(control->Hint(), "Save|Saves the log");
    EXPECT_TRUE(control->Checked());
    control->Loaded();
    EXPECT_EQ(control->Caption(), "Own caption");
}

TEST_F(Actions, AClickExecutesTheActionOnBehalfOfTheControl) {
    control->SetAction(action);
    control->Click();
    EXPECT_EQ(counter.executed, 1);
    EXPECT_EQ(counter.invoker, control);
    EXPECT_EQ(action->ActionComponent(), nullptr);

    // A disabled action does nothing; an AutoCheck action toggles first.
    counter.enableOnUpdate = false;
    action->OnUpdate = TNotifyEvent(&counter, &Counter::Update);
    control->Click();
    EXPECT_EQ(counter.executed, 1);
    counter.enableOnUpdate = true;
    action->SetAutoCheck(true);
    control->Click();
    EXPECT_EQ(counter.executed, 2);
    EXPECT_TRUE(action->Checked());
    EXPECT_TRUE(control->Checked());

    // The control's own handler wins over the action's.
    control->OnClick = TNotifyEvent(&counter, &Counter::Click);
    control->Click();
    EXPECT_EQ(counter.clicked, 1);
    EXPECT_EQ(counter.executed, 2);
}

TEST_F(Actions, TheIdleStepUpdatesTheActionsOfVisibleForms) {
    action->OnUpdate = TNotifyEvent(&counter, &Counter::Update);
    control->SetAction(action);

    RunIdleStep();
    EXPECT_EQ(counter.updated, 0);  // the form is hidden

    form->Show();
    counter.enableOnUpdate = false;
    RunIdleStep();
    EXPECT_GE(counter.updated, 1);
    EXPECT_FALSE(action->Enabled());
    EXPECT_FALSE(control->Enabled());

    // The list's handler takes the update and the action's stays silent.
    struct ListUpdate {
        int calls = 0;
        void Update(TBasicAction*, bool& Handled) {
            ++calls;
            Handled = true;
        }
    } listUpdate;
    actions->OnUpdate = TActionEvent(&listUpdate, &ListUpdate::Update);
    const int before = counter.updated;
    RunIdleStep();
    EXPECT_GE(listUpdate.calls, 1);
    EXPECT_EQ(counter.updated, before);
}

TEST_F(Actions, TheActionListSeesExecutionFirst) {
    actions->OnExecute = TActionEvent(&counter, &Counter::ListExecute);
    EXPECT_TRUE(action->Execute());
    EXPECT_EQ(counter.executed, 0);
    actions->OnExecute = nullptr;
    EXPECT_TRUE(action->Execute());
    EXPECT_EQ(counter.executed, 1);
}

TEST_F(Actions, TheFormsShortCutsExecuteItsEnabledActions) {
    action->SetShortCut(ShortCut(VK_F5, {}));
    TMessage key{WM_KEYDOWN, VK_F5, 0, 0};
    EXPECT_TRUE(form->IsShortCut(key));
    EXPECT_EQ(counter.executed, 1);

    TMessage other{WM_KEYDOWN, VK_F6, 0, 0};
    EXPECT_FALSE(form->IsShortCut(other));
    action->SetEnabled(false);
    EXPECT_FALSE(form->IsShortCut(key));
    EXPECT_EQ(counter.executed, 1);
}

TEST_F(Actions, FreeingTheActionLeavesTheControlItsValues) {
    control->SetAction(action);
    action->Free();
    EXPECT_EQ(control->Action(), nullptr);
    EXPECT_EQ(control->Caption(), "&Save");
    EXPECT_EQ(actions->ActionCount(), 0);
    // The handler the control took from the action is its own now.
    control->Click();
    EXPECT_EQ(counter.executed, 1);
    EXPECT_EQ(counter.invoker, nullptr);
}

}  // namespace
