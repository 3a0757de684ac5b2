// The e-mail dialog opened from the Preference page, as a person meets it:
// it opens with the keyboard in a field, stays in front, with the keyboard, through the boxes of a test mail
// while the main window takes no clicks, and opens again once closed; back
// from the tray the keyboard is in it; once it closes, by any way, the
// keyboard is back where it was in the main window, unless another program
// came to the front meanwhile.
#include <functional>
#include <string>
#include <vector>

#include "app/smtpform.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/stdctrls/menus.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/application.h"
#include "controls/scbitbtn.h"
#include "notify/notifytrayicon.h"
#include "tests/app/watch_support.h"
#include "tests/support/foreign_window.h"
#include "tests/support/pump.h"

namespace {

// The dialog's visit, one step per timer tick: ticks come from whichever
// loop waits then (the dialog's or a box's), and each lets the messages of
// the last step run first. A step answers true when it is done.
class TVisit {
public:
    explicit TVisit(std::vector<std::function<bool()>> Steps) : steps_(std::move(Steps)) {}

    void Run() {
        current = this;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, Tick);
        MainForm->BitBtnMail->Click();
        KillTimer(nullptr, timer);
        current = nullptr;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TVisit* self = current;
        if (!self || self->next >= self->steps_.size() || self->busy) return;
        self->busy = true;
        if (self->steps_[self->next]()) ++self->next;
        self->busy = false;
    }
    static inline TVisit* current = nullptr;
    std::vector<std::function<bool()>> steps_;
    std::size_t next = 0;
    bool busy = false;
};

BOOL CALLBACK FindBox(HWND Window, LPARAM Found) {
    wchar_t name[16] = {};
    GetClassNameW(Window, name, 16);
    if (std::wstring(name) != L"#32770" || !IsWindowVisible(Window)) return TRUE;
    *reinterpret_cast<HWND*>(Found) = Window;
    return FALSE;
}

HWND OpenBox() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

// In front, with the keyboard where the person left it: in the "To" field.
bool KeyboardInDialog() {
    return GetForegroundWindow() == Smtp->Handle() && GetFocus() == Smtp->EdtSender->Handle();
}

class MailDialog : public WatchTest {
protected:
    void SetUp() override {
        StartWithExampleDrives();
        MainForm->Max1->Click();
        Application->ProcessMessages();
        list = MainForm->lvDrvList->Handle();
        ASSERT_EQ(GetFocus(), list);
        scripted = Application->MessageBoxHandler;
        Application->MessageBoxHandler = nullptr;
    }
    void TearDown() override { Application->MessageBoxHandler = scripted; }

    HWND list = nullptr;
    TMessageBoxHandler scripted;
};

}  // namespace

TEST_F(MailDialog, StaysInFrontThroughTheBoxesOfATestMailAndOpensAgain) {
    TScriptServer server(OneMailSession());
    const HWND main = MainForm->Handle();
    std::vector<HWND> owners;
    bool mainEnabled = false, inFrontAfter = false, openedWithKeyboard = false;
    HWND answered = nullptr;
    int quiet = 0;
    TVisit visit({
        [&] {
            // What the person types first lands in one of the dialog's fields.
            openedWithKeyboard = GetFocus() && IsChild(Smtp->Handle(), GetFocus());
            Smtp->edtSMTPServer->SetText("127.0.0.1");
            Smtp->edtPort->SetText(std::to_string(server.Port()));
            Smtp->edtSubject->SetText("Test");
            Smtp->EdtFrom->SetText("monitor@example.com");
            Smtp->EdtSender->SetText("admin@example.com");
            Smtp->EdtSender->SetFocus();
            Smtp->btnTest->Click();
            return true;
        },
        // Each box answered as a person does, until the test is over.
        [&] {
            mainEnabled |= IsWindowEnabled(main) != FALSE;
            if (HWND box = OpenBox(); box && box != answered) {
                owners.push_back(GetWindow(box, GW_OWNER));
                answered = box;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                quiet = 0;
                return false;
            }
            return !Smtp->Testing() && Smtp->MessageBoxes()->Pending() == 0 && ++quiet > 3;
        },
        [&] {
            inFrontAfter = KeyboardInDialog();
            Smtp->BtnOK->Click();
            return true;
        },
    });
    visit.Run();
    EXPECT_TRUE(openedWithKeyboard);
    EXPECT_EQ(owners, std::vector<HWND>(3, Smtp->Handle()));
    EXPECT_FALSE(mainEnabled) << "the main window took clicks while the dialog was open";
    EXPECT_TRUE(inFrontAfter);
    EXPECT_FALSE(Smtp->Visible());

    TVisit again({[] {
        Smtp->BtnCancel->Click();
        return true;
    }});
    again.Run();
    EXPECT_FALSE(Smtp->Visible());
    server.Join();
}

TEST_F(MailDialog, TheKeyboardIsInItBackFromTheTrayAndBackInTheMainWindowOnceItCloses) {
    // Another program's window stands behind ours.
    TForeignWindow foreign;
    SetForegroundWindow(MainForm->Handle());
    ASSERT_TRUE(PumpUntil([this] { return GetFocus() == list; }));
    const std::pair<const char*, std::function<void()>> closes[] = {
        {"OK", [] { Smtp->BtnOK->Click(); }},
        {"Cancel", [] { Smtp->BtnCancel->Click(); }},
        {"close button", [] { SendMessageW(Smtp->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& [way, close] : closes) {
        bool inDialog = false;
        TVisit visit({
            [] {
                // Complete, so that OK has nothing to say.
                Smtp->edtSMTPServer->SetText("mail.example.com");
                Smtp->edtSubject->SetText("Disk news");
                Smtp->EdtFrom->SetText("monitor@example.com");
                Smtp->EdtSender->SetText("admin@example.com");
                Smtp->EdtSender->SetFocus();
                SendMessageW(MainForm->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
                return true;
            },
            [] {
                SendMessageW(TNotifyTrayIcon::HandlerWindow(), WM_TRAYICONCALLBACK,
                             reinterpret_cast<WPARAM>(MainForm->NotifyTrayIcon1), WM_LBUTTONDBLCLK);
                return true;
            },
            [&] {
                inDialog = KeyboardInDialog();
                close();
                return true;
            },
        });
        visit.Run();
        EXPECT_TRUE(inDialog) << way;
        // Handed back as the dialog went, not chased afterwards.
        Application->ProcessMessages();
        EXPECT_EQ(GetForegroundWindow(), MainForm->Handle()) << way;
        EXPECT_EQ(GetFocus(), list) << way;
    }

    // Another program came to the front while the dialog was open: it stays there.
    TVisit visit({
        [&] {
            SetForegroundWindow(foreign.Handle());
            return true;
        },
        [] {
            Smtp->BtnCancel->Click();
            return true;
        },
    });
    visit.Run();
    Application->ProcessMessages();
    EXPECT_EQ(GetForegroundWindow(), foreign.Handle());
}
