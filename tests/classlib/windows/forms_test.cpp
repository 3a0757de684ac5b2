// Forms and the application: modal forms return their modal result, a close
// query can refuse, a modeless form ignores ModalResult, closing the main
// form ends Run, hooks of the application window run in order, a hidden form
// restored by a system command shows through its own path, a message box is
// owned by the window it belongs to, never takes the keyboard from another
// program, hands it back before it goes, as a modal form does, and gives no
// answer when the program's quit ends it.
#include <atomic>
#include <optional>
#include <thread>

#include "tests/classlib/windows/window_test.h"
#include "tests/support/foreign_window.h"

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

// Shows a real box on this thread; another thread notes its owner and
// presses OK.
HWND OwnerOfABox() {
    struct Finder {
        DWORD gui = GetCurrentThreadId();
        std::atomic<HWND> owner{nullptr};
        std::atomic<bool> closed{false};
        static BOOL CALLBACK Visit(HWND Window, LPARAM Param) {
            auto* self = reinterpret_cast<Finder*>(Param);
            wchar_t name[32] = {};
            GetClassNameW(Window, name, 32);
            if (std::wstring(name) != L"#32770" || !IsWindowVisible(Window)) return TRUE;
            self->owner = GetWindow(Window, GW_OWNER);
            PostMessageW(Window, WM_COMMAND, IDOK, 0);
            self->closed = true;
            return FALSE;
        }
    } finder;
    std::thread closer([&finder] {
        for (int tries = 0; tries < 500 && !finder.closed; ++tries) {
            EnumThreadWindows(finder.gui, &Finder::Visit, reinterpret_cast<LPARAM>(&finder));
            Sleep(10);
        }
    });
    Application->MessageBox("Shutting down!", "Vexmora", MB_OK);
    closer.join();
    return finder.owner;
}

// Runs work once, from whichever loop is waiting for messages then.
struct Later {
    static inline void (*work)() = nullptr;
    static void CALLBACK Run(HWND, UINT, UINT_PTR Id, DWORD) {
        KillTimer(nullptr, Id);
        work();
    }
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

TEST_F(Forms, AMessageBoxIsOwnedByTheWindowItBelongsTo) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(Application->MainForm(), main);
    Application->MessageBoxHandler = nullptr;
    main->Show();
    TForm* other = NewForm(450, 120, 200, 120);
    other->Show();
    SetForegroundWindow(other->Handle());
    ASSERT_TRUE(PumpUntil([other] { return GetActiveWindow() == other->Handle(); }));
    EXPECT_EQ(OwnerOfABox(), other->Handle()) << "the active form";
    {
        // Another program in front: the box still stands over the main form.
        TForeignWindow foreign;
        ASSERT_TRUE(PumpUntil([] { return GetActiveWindow() == nullptr; }));
        EXPECT_EQ(OwnerOfABox(), main->Handle()) << "the main form";
        other->Hide();
        main->Hide();
        Pump();
        // Hidden, as in the tray: the form is held by the box and comes
        // back behind it.
        EXPECT_EQ(OwnerOfABox(), main->Handle()) << "nothing of ours shows";

        // A modal form holds the main form: a box that comes while both
        // hide leaves it held.
        static TForm *held = nullptr, *modal = nullptr;
        static bool heldAfterTheBox = false;
        held = main;
        modal = other;
        Later::work = [] {
            held->Hide();
            modal->Hide();
            OwnerOfABox();
            heldAfterTheBox = !IsWindowEnabled(held->Handle());
            modal->SetModalResult(mrCancel);
        };
        SetTimer(nullptr, 0, 50, Later::Run);
        main->Show();
        other->ShowModal();
        EXPECT_TRUE(heldAfterTheBox);
    }
    main->Free();
    ASSERT_EQ(Application->MainForm(), nullptr);
}

TEST_F(Forms, AMessageBoxThatTheProgramsQuitEndsGivesNoAnswerAndTheQuitGoesOn) {
    Application->MessageBoxHandler = nullptr;
    static const std::pair<const char*, void (*)()> ends[] = {
        {"Terminate", [] { Application->Terminate(); }},
        {"end of session", [] { SendMessageW(Application->Handle(), WM_ENDSESSION, TRUE, 0); }},
        {"WM_QUIT", [] { PostQuitMessage(5); }},
    };
    for (UINT flags : {MB_OKCANCEL | MB_DEFBUTTON2, MB_YESNO, MB_OK}) {
        for (const auto& [way, end] : ends) {
            // From inside the box's loop, as a tray menu's Exit comes.
            Later::work = end;
            SetTimer(nullptr, 0, 50, Later::Run);
            EXPECT_EQ(Application->MessageBox("Shut the computer down?", "Vexmora", flags),
                      TApplication::NoAnswer)
                << way << " " << flags;
            MSG quit{};
            EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << way << " " << flags;
            EXPECT_EQ(quit.wParam, way == ends[2].first ? 5u : 0u) << way << " " << flags;
            Application->Initialize();
        }
    }
}

namespace {

// The box of this thread that shows, if any.
HWND ShowingBox() {
    struct Finder {
        static BOOL CALLBACK Visit(HWND Window, LPARAM Found) {
            wchar_t name[16] = {};
            GetClassNameW(Window, name, 16);
            if (std::wstring(name) != L"#32770" || !IsWindowVisible(Window)) return TRUE;
            *reinterpret_cast<HWND*>(Found) = Window;
            return FALSE;
        }
    };
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &Finder::Visit, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring ClassOf(HWND Window) {
    wchar_t name[16] = {};
    GetClassNameW(Window, name, 16);
    return name;
}

// A click through the input queue, as the person's mouse gives it, in the
// middle of the window; the pointer goes back where it was.
void ClickOn(HWND Window) {
    POINT was{};
    GetCursorPos(&was);
    RECT r{};
    GetWindowRect(Window, &r);
    INPUT input[3] = {};
    for (INPUT& i : input) i.type = INPUT_MOUSE;
    input[0].mi.dx = static_cast<LONG>((r.left + r.right) / 2 * 65536LL / GetSystemMetrics(SM_CXSCREEN));
    input[0].mi.dy = static_cast<LONG>((r.top + r.bottom) / 2 * 65536LL / GetSystemMetrics(SM_CYSCREEN));
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
    Application->ProcessMessages();
    SetCursorPos(was.x, was.y);
}

// Under Wine the person typing in a program that is not a Wine program
// leaves the desktop's window as the foreground.
void PersonGoesElsewhere() {
    SetForegroundWindow(GetDesktopWindow());
}

// What a box met, noted from inside its loop: it came, the person did
// something, and a moment later the box is answered.
struct TBoxVisit {
    static inline void (*Act)(HWND Main, HWND Box) = nullptr;
    static inline HWND main = nullptr, box = nullptr;
    static inline HWND activeAtOpen = nullptr, frontAtOpen = nullptr, frontAfter = nullptr;
    // The button that has the keyboard, by its command.
    static inline int buttonAtOpen = 0, buttonAfter = 0;

    static void Run(HWND Main, void (*Action)(HWND Main, HWND Box)) {
        main = Main;
        Act = Action;
        box = activeAtOpen = frontAtOpen = frontAfter = nullptr;
        buttonAtOpen = buttonAfter = 0;
        Later::work = [] {
            box = ShowingBox();
            activeAtOpen = GetActiveWindow();
            frontAtOpen = GetForegroundWindow();
            buttonAtOpen = GetDlgCtrlID(GetFocus());
            Act(main, box);
            Later::work = [] {
                frontAfter = GetForegroundWindow();
                buttonAfter = GetDlgCtrlID(GetFocus());
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            };
            SetTimer(nullptr, 0, 500, Later::Run);
        };
        SetTimer(nullptr, 0, 100, Later::Run);
        // Return answers Cancel.
        Application->MessageBox("Shut the computer down?", "Vexmora", MB_OKCANCEL | MB_DEFBUTTON2);
    }
};

}  // namespace

// A program that is not a Wine program holding the keyboard looks, from
// inside Wine, like nobody holding it: a box never takes it then. Opened
// while the person works elsewhere, it shows and waits; whichever way the
// person comes to the program, it has the keyboard.
TEST_F(Forms, ABoxNeverTakesTheKeyboardFromAnotherProgramAndHasItOnceThePersonComes) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    Application->MessageBoxHandler = nullptr;
    main->Show();
    SetForegroundWindow(main->Handle());
    ASSERT_TRUE(PumpUntil([main] { return GetActiveWindow() == main->Handle(); }));

    TBoxVisit::Run(main->Handle(), [](HWND, HWND) { PersonGoesElsewhere(); });
    EXPECT_EQ(TBoxVisit::frontAtOpen, TBoxVisit::box) << "opened over the person's window";
    EXPECT_EQ(TBoxVisit::buttonAtOpen, IDCANCEL);
    EXPECT_EQ(ClassOf(TBoxVisit::frontAfter), L"#32769") << "the person went elsewhere while it was open";

    static const struct {
        const char* way;
        // In a Wine program (here another thread's window), else outside Wine.
        bool inWine;
        void (*come)(HWND Main, HWND Box);
    } comes[] = {
        {"the application window, as the tray brings it", false,
         [](HWND, HWND) { SetForegroundWindow(Application->Handle()); }},
        {"a click on the window it holds", false, [](HWND Main, HWND) { ClickOn(Main); }},
        {"a click on the box", false, [](HWND, HWND Box) { ClickOn(Box); }},
        {"a click on the box, from a Wine program", true, [](HWND, HWND Box) { ClickOn(Box); }},
    };
    for (const auto& [way, inWine, come] : comes) {
        std::optional<TForeignWindow> elsewhere;
        if (inWine)
            elsewhere.emplace();
        else
            PersonGoesElsewhere();
        const HWND front = inWine ? elsewhere->Handle() : GetDesktopWindow();
        ASSERT_TRUE(PumpUntil([front] { return GetForegroundWindow() == front; })) << way;
        TBoxVisit::Run(main->Handle(), come);
        ASSERT_NE(TBoxVisit::box, nullptr) << way;
        // The keyboard's input still goes to the program the person is in.
        EXPECT_EQ(TBoxVisit::frontAtOpen, front) << way;
        EXPECT_NE(TBoxVisit::activeAtOpen, TBoxVisit::box) << way;
        EXPECT_EQ(TBoxVisit::frontAfter, TBoxVisit::box) << way;
        EXPECT_EQ(TBoxVisit::buttonAfter, IDCANCEL) << way;
        Pump();
        EXPECT_EQ(GetForegroundWindow(), main->Handle()) << way;
    }
    main->Free();
    ASSERT_EQ(Application->MainForm(), nullptr);
}

// The keyboard goes back while the box or the modal form still shows: once
// it went, a window manager would choose where the keyboard goes, maybe
// into another program.
TEST_F(Forms, TheWindowBehindABoxOrAModalFormHasTheKeyboardBackBeforeItGoes) {
    TForm* main = NewForm();
    TForm* modal = NewForm(450, 120, 200, 120);
    Application->MessageBoxHandler = nullptr;
    main->Show();
    SetForegroundWindow(main->Handle());
    ASSERT_TRUE(PumpUntil([main] { return GetActiveWindow() == main->Handle(); }));
    static HWND going = nullptr;
    static bool activated = false, goingShowed = false;
    struct Watch {
        void Activated(TObject*) {
            if (!going || activated) return;
            activated = true;
            goingShowed = IsWindowVisible(going) != FALSE;
        }
    } watch;
    main->OnActivate = TNotifyEvent(&watch, &Watch::Activated);

    going = nullptr;
    activated = false;
    Later::work = [] {
        going = ShowingBox();
        PostMessageW(going, WM_COMMAND, IDOK, 0);
    };
    SetTimer(nullptr, 0, 100, Later::Run);
    Application->MessageBox("Shutting down!", "Vexmora", MB_OK);
    EXPECT_TRUE(activated) << "box";
    EXPECT_TRUE(goingShowed) << "box";

    static TForm* modalForm = modal;
    going = nullptr;
    activated = false;
    Later::work = [] {
        going = modalForm->Handle();
        modalForm->SetModalResult(mrOk);
    };
    SetTimer(nullptr, 0, 100, Later::Run);
    modal->ShowModal();
    EXPECT_TRUE(activated) << "modal form";
    EXPECT_TRUE(goingShowed) << "modal form";
    EXPECT_EQ(GetForegroundWindow(), main->Handle());
    main->OnActivate = nullptr;
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

TEST_F(Forms, ASystemRestoreOfAHiddenFormShowsItOnceInTheStateItWasHiddenIn) {
    const struct {
        TWindowState hidden, shown;
        bool zoomed;
    } rows[] = {
        {wsNormal, wsNormal, false},
        // As the tray brings it back: hidden by the minimize button, it was
        // maximised and stays so.
        {wsMaximized, wsMaximized, true},
        // A minimised form has nothing else to come back to.
        {wsMinimized, wsNormal, false},
    };
    for (auto row : rows) {
        TForm* form = NewForm();
        form->Show();
        form->SetWindowState(row.hidden);
        form->Hide();
        int shows = 0;
        struct Counter {
            int& count;
            void Shown(TObject*) { ++count; }
        } counter{shows};
        form->OnShow = TNotifyEvent(&counter, &Counter::Shown);
        SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(form->Visible()) << row.hidden;
        EXPECT_TRUE(IsWindowVisible(form->Handle())) << row.hidden;
        EXPECT_EQ(IsZoomed(form->Handle()) != FALSE, row.zoomed) << row.hidden;
        EXPECT_FALSE(IsIconic(form->Handle())) << row.hidden;
        EXPECT_EQ(form->WindowState(), row.shown) << row.hidden;
        EXPECT_EQ(shows, 1) << row.hidden;
        form->OnShow = nullptr;
    }
}
