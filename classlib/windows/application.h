// The application: its hidden window (which stands for the program on the
// task bar), the main form, the message loop with its idle step, window
// hooks, and the one place exceptions of callbacks end up (`HandleException`).
#pragma once

#include <string>
#include <vector>

#include "classlib/core/component.h"
#include "classlib/core/exceptions.h"
#include "classlib/windows/messages.h"

class TControl;
class TCustomForm;

using TIdleEvent = TDelegate<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = TDelegate<void(TObject* Sender, const Exception& E)>;
using TMessageEvent = TDelegate<void(MSG& Msg, bool& Handled)>;
// A hook of the application window: true means the message was handled.
using TWindowHook = TDelegate<bool(TMessage& Message)>;
using TMessageBoxHandler = TDelegate<int(const std::wstring& Text, const std::wstring& Caption, UINT Flags)>;

class TApplication : public TComponent {
    VX_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* AOwner);
    void BeforeDestruction() override;

    // The application window, made on first use.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // Makes the application window; raises EOSError with the system's
    // reason when it cannot be made.
    void Initialize();

    // Creates a form (or any component) owned by the application; the first
    // form becomes the main form.
    template <class T>
    void CreateForm(T*& Reference) {
        Reference = Create<T>(this);
        FormCreated(Reference);
    }
    TCustomForm* MainForm() const { return mainForm_; }

    // Shows the main form (unless ShowMainForm is false) and runs the message
    // loop until Terminate or WM_QUIT.
    void Run();
    // WM_QUIT's exit code, once it came.
    int ExitCode() const { return exitCode_; }
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles every waiting message, then returns.
    void ProcessMessages();
    // Handles one message, or runs the idle step and waits for one.
    void HandleMessage();

    std::string Title() const;
    void SetTitle(const std::string& Value);
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool Value) { showMainForm_ = Value; }
    // Hints of commands add their shortcut: "Open (Ctrl+O)".
    bool HintShortCuts = true;
    bool Active() const { return active_; }
    void SetActiveState(bool Value);
    void Minimize();
    void Restore();
    // The person came to the program: the keyboard goes to its front window,
    // a box or a modal form that holds the others, else the main form.
    void BringToFront();

    // Hooks see the application window's messages first, newest last, each
    // until one answers true.
    void HookMainWindow(const TWindowHook& Hook);
    void UnhookMainWindow(const TWindowHook& Hook);

    // Call inside a catch block: reports the exception being handled (through
    // OnException, else a message box); EAbort is silent.
    void HandleException(TObject* Sender);
    void ShowException(const Exception& E);
    // A message box owned by the window the person was in, which takes the
    // keyboard back as the box goes. Opened while the person works in another
    // program, the box waits without the keyboard until they come to it
    // (TBoxKeyboard). MessageBoxHandler, when set, answers instead (scripted
    // answers in tests). Text that may name a file
    // goes in wide, so that letters outside the code page show as they are.
    // A box that the program's quit ended returns NoAnswer, whatever button
    // the system reports.
    static constexpr int NoAnswer = 0;
    int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags = MB_OK);
    int MessageBox(const std::wstring& Text, const std::wstring& Caption, UINT Flags = MB_OK);
    TMessageBoxHandler MessageBoxHandler;

    // Help requests. The program ships no help file: they are answered as
    // not handled (false), so that callers simply go on.
    bool HelpContext(int Context);
    bool HelpCommand(UINT Command, ULONG_PTR Data);

    // The hint manager's view of a mouse message over a control.
    void HintMouseMessage(TControl* Control, TMessage& Message);

    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TIdleEvent OnIdle;
    TExceptionEvent OnException;
    TMessageEvent OnMessage;

protected:
    void WndProc(TMessage& Message);
    bool ProcessMessage(MSG& Msg);
    void Idle();
    bool IsKeyMsg(MSG& Msg);

private:
    friend LRESULT CALLBACK ApplicationWndProc(HWND, UINT, WPARAM, LPARAM);
    void FormCreated(TComponent* Instance);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The window the keyboard goes to when the program comes to the front,
    // null while none of its windows shows.
    HWND FrontWindow();
    // The window a box stands over and holds while it is open.
    HWND BoxOwner();
    static bool TakesKeyboard(HWND Window);

    HWND handle_ = nullptr;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool showMainForm_ = true;
    bool active_ = false;
    int exitCode_ = 0;
    std::wstring title_;
    struct Hook {
        TWindowHook hook;
        bool removed = false;
    };
    std::vector<Hook> hooks_;
    int hookDepth_ = 0;
};

// The program's application object.
extern TApplication* Application;

// For trampolines (window procedures, hooks, timers, thread entries): hands
// the exception being caught to Application->HandleException and swallows
// anything that escapes that too.
void HandleCallbackException(TObject* Sender) noexcept;
