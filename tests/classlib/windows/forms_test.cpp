// Forms and the application: modal forms return their modal result, a close
// query can refuse, a modeless form ignores ModalResult, closing the main
// form ends Run, hooks of the application window run in order, a hidden form
// restored by a system command shows through its own path.
#include "tests/classlib/windows/window_test.h"

namespace {

struct Closer {
    TCustomForm* form = nullptr;
    int queries = 0;
    bool refuseFirst = true;
    int idles = 0;
    TModalResult result = mrOk;
    void SetResult(TObject*, bool& Done) {
        Done = false;
        if (form->Visible()) form->SetModalResult(result);
    }
    void CloseIt(TObject*, bool& Done) {
        Done = false;
        if (form->Visible() && ++idles % 2 == 1) form->Close();
    }
    void Query(TObject*, bool& CanClose) {
        ++queries;
        CanClose = !(refuseFirst && queries == 1);
    }
};

struct Watcher : TComponent {
    VX_CLASS(Watcher, TComponent)
public:
    using TComponent::TComponent;
    bool gone = false;
    void Notification(TComponent* AComponent, TOperation Operation) override {
        inherited::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent != this) gone = true;
    }
};

class TNoResourceForm : public TForm {
    VX_CLASS(TNoResourceForm, TForm)
public:
    using TForm::TForm;
};

}  // namespace

using Forms = WindowTest;

TEST_F(Forms, ShowModalReturnsTheModalResult) {
    TForm* form = NewForm();
    Closer closer{form};
    closer.result = mrYes;
    Application->OnIdle = TIdleEvent(&closer, &Closer::SetResult);
    EXPECT_EQ(form->ShowModal(), mrYes);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->FormState().Contains(fsModal));
    form->Show();
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}

TEST_F(Forms, ACloseQueryCanRefuse) {
    TForm* form = NewForm();
    Closer closer{form};
    form->OnCloseQuery = TCloseQueryEvent(&closer, &Closer::Query);
    Application->OnIdle = TIdleEvent(&closer, &Closer::CloseIt);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(closer.queries, 2) << "the first close was refused";

    TForm* modeless = NewForm();
    closer = Closer{modeless};
    modeless->OnCloseQuery = TCloseQueryEvent(&closer, &Closer::Query);
    modeless->Show();
    modeless->Close();
    EXPECT_TRUE(modeless->Visible());
    modeless->Close();
    EXPECT_FALSE(modeless->Visible());
}

TEST_F(Forms, ModalResultNeverClosesAModelessForm) {
    TForm* form = NewForm();
    form->Show();
    form->SetModalResult(mrOk);
    Pump();
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(Forms, CloseActionFreeReleasesTheForm) {
    TForm* form = Create<TForm>(nullptr, 0);
    TOwned<Watcher> watcher(Create<Watcher>(nullptr));
    form->FreeNotification(watcher.get());
    struct Action {
        void Close(TObject*, TCloseAction& A) { A = caFree; }
    } action;
    form->OnClose = TCloseEvent(&action, &Action::Close);
    form->Show();
    form->Close();
    EXPECT_FALSE(watcher->gone) << "freed only once the messages are done";
    EXPECT_TRUE(PumpUntil([&] { return watcher->gone; }));
}

TEST_F(Forms, BorderStyleChangesOnALiveWindow) {
    TForm* form = NewForm();
    form->Show();
    EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_THICKFRAME);
    form->SetBorderStyle(bsToolWindow);
    EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_THICKFRAME);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    form->SetBorderStyle(bsNone);
    EXPECT_FALSE((GetWindowLongW(form->Handle(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION);
    EXPECT_EQ(form->Width(), 300);
}

// Without a window the client area comes from the frame of the styles the
// window would have; each border style has its own frame.
TEST_F(Forms, TheClientAreaBeforeTheWindowIsTheWindowsOwn) {
    for (TFormBorderStyle style : {bsSizeable, bsToolWindow, bsNone, bsSizeable}) {
        SCOPED_TRACE(static_cast<int>(style));
        TForm* form = NewForm(0, 0, 300, 200);
        form->SetBorderStyle(style);
        const TRect before = form->ClientRect();
        form->HandleNeeded();
        EXPECT_EQ(before, form->ClientRect());
    }
}

TEST_F(Forms, PositionCentresOnTheScreenAtFirstShow) {
    TForm* form = NewForm(0, 0, 200, 100);
    form->SetPosition(poScreenCenter);
    form->Show();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(form->Left(), work.left + (work.right - work.left - 200) / 2);
    EXPECT_EQ(form->Top(), work.top + (work.bottom - work.top - 100) / 2);
}

TEST_F(Forms, QueryEndSessionAnswersTrueWithoutAsking) {
    TForm* form = NewForm();
    Closer closer{form};
    form->OnCloseQuery = TCloseQueryEvent(&closer, &Closer::Query);
    EXPECT_EQ(SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(closer.queries, 0);
}

TEST_F(Forms, ACreatedFormWithoutAResourceRaisesResNotFound) {
    try {
        Create<TNoResourceForm>(nullptr);
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource TNoResourceForm not found");
    }
}

TEST_F(Forms, HooksOfTheApplicationWindowRunInOrderUntilOneHandles) {
    std::vector<int> calls;
    struct Hook {
        std::vector<int>* calls;
        int id;
        bool handles;
        bool Message(TMessage& M) {
            if (M.Msg != WM_APP + 7) return false;
            calls->push_back(id);
            if (handles) M.Result = 42;
            return handles;
        }
    } first{&calls, 1, false}, second{&calls, 2, true}, third{&calls, 3, false};
    for (Hook* h : {&first, &second, &third}) Application->HookMainWindow(TWindowHook(h, &Hook::Message));
    EXPECT_EQ(SendMessageW(Application->Handle(), WM_APP + 7, 0, 0), 42);
    EXPECT_EQ(calls, (std::vector<int>{1, 2}));
    Application->UnhookMainWindow(TWindowHook(&second, &Hook::Message));
    calls.clear();
    SendMessageW(Application->Handle(), WM_APP + 7, 0, 0);
    EXPECT_EQ(calls, (std::vector<int>{1, 3}));
    for (Hook* h : {&first, &third}) Application->UnhookMainWindow(TWindowHook(h, &Hook::Message));
}

// Runs last in this file: it ends the application's loop twice.
TEST_F(Forms, ClosingTheMainFormEndsRunAndWmQuitKeepsItsExitCode) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(Application->MainForm(), main);
    Closer closer{main, 0, false};
    Application->OnIdle = TIdleEvent(&closer, &Closer::CloseIt);
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    Pump();

    Application->Initialize();
    struct Quitter {
        void Idle(TObject*, bool& Done) {
            Done = false;
            PostQuitMessage(3);
        }
    } quitter;
    Application->OnIdle = TIdleEvent(&quitter, &Quitter::Idle);
    Application->Run();
    EXPECT_EQ(Application->ExitCode(), 3);
    Application->OnIdle = nullptr;
    main->Free();
    EXPECT_EQ(Application->MainForm(), nullptr);
    Application->Initialize();
}

TEST_F(Forms, ASystemRestoreOfAHiddenFormShowsItThroughItsOwnPath) {
    TForm* form = NewForm();
    form->Show();
    form->SetWindowState(wsMaximized);
    form->Hide();
    int shows = 0;
    struct Counter {
        int& count;
        void Shown(TObject*) { ++count; }
    } counter{shows};
    form->OnShow = TNotifyEvent(&counter, &Counter::Shown);
    SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(IsZoomed(form->Handle()));
    EXPECT_EQ(form->WindowState(), wsNormal);
    EXPECT_EQ(shows, 1);
}
