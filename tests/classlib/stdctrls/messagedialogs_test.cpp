// Message dialogs over the one message-box service: scripted answers reach
// the caller and what was asked is recorded, the dialog types and button sets
// map onto the system's boxes, and a real box is answered through its window.
#include <atomic>
#include <thread>

#include "classlib/stdctrls/messagedialogs.h"
#include "tests/classlib/windows/window_test.h"

namespace {

using MessageDialogs = WindowTest;

TEST_F(MessageDialogs, AScriptedAnswerReachesTheCaller) {
    {
        TScriptedMessageBoxes boxes;
        boxes.Answer(mrNo);
        EXPECT_EQ(MessageDlg("Are you sure to exit Vexmora now?", mtConfirmation, {mbYes, mbNo}), mrNo);
        // Nothing queued: the box's default button, as Enter would answer.
        EXPECT_EQ(MessageDlg("Again?", mtWarning, {mbYes, mbNo}), mrYes);
        ShowMessage("OK");

        const auto asked = boxes.Asked();
        ASSERT_EQ(asked.size(), 3u);
        EXPECT_EQ(asked[0].Text, "Are you sure to exit Vexmora now?");
        EXPECT_EQ(asked[0].Caption, "Confirm");
        EXPECT_EQ(asked[0].Flags, UINT(MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(asked[1].Caption, "Warning");
        EXPECT_EQ(asked[2].Caption, Application->Title());
        EXPECT_EQ(asked[2].Flags, UINT(MB_OK));
    }
    // The fixture's own responder is back.
    Application->MessageBox("after", "t");
    EXPECT_EQ(boxes, std::vector<std::string>{"after"});
}

// An error that names a file in a folder outside the code page reaches the
// box with that name as it is, not with "?" in its place.
TEST_F(MessageDialogs, AnErrorShowsAFileNameOutsideTheCodePageAsItIs) {
    TScriptedMessageBoxes boxes;
    const std::wstring message =
        L"Cannot open file \"C:\\\u0434\u0438\u0441\u043a \u65e5\u672c\\a.log\". Access denied";
    Application->ShowException(EFOpenError(message));
    const auto asked = boxes.Asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].WideText, message + L".");
    EXPECT_EQ(asked[0].Text, ToAnsi(message + L"."));
    EXPECT_EQ(asked[0].Flags, UINT(MB_OK | MB_ICONSTOP));
}

TEST_F(MessageDialogs, DialogTypesAndButtonsMapOntoTheSystemsBoxes) {
    struct {
        TMsgDlgType Type;
        TMsgDlgButtons Buttons;
        UINT Flags;
    } const cases[] = {
        {mtWarning, {mbOK}, MB_OK | MB_ICONWARNING},
        {mtError, mbOKCancel, MB_OKCANCEL | MB_ICONERROR},
        {mtInformation, {mbYes, mbNo}, MB_YESNO | MB_ICONINFORMATION},
        {mtConfirmation, mbYesNoCancel, MB_YESNOCANCEL | MB_ICONQUESTION},
        {mtCustom, {mbRetry, mbCancel}, MB_RETRYCANCEL},
        {mtCustom, mbAbortRetryIgnore, MB_ABORTRETRYIGNORE},
        {mtCustom, mbAbortIgnore, MB_ABORTRETRYIGNORE},
        {mtCustom, {mbCancel}, MB_OKCANCEL},
        {mtCustom, {mbOK, mbHelp}, MB_OK | MB_HELP},
        {mtCustom, mbYesAllNoAllCancel, MB_YESNOCANCEL},
        {mtCustom, {}, MB_OK},
    };
    for (const auto& c : cases) EXPECT_EQ(MessageDlgFlags(c.Type, c.Buttons), c.Flags) << std::hex << c.Flags;
}

TEST_F(MessageDialogs, DefaultAnswersFollowTheDefaultButton) {
    EXPECT_EQ(DefaultMessageBoxAnswer(MB_OK), IDOK);
    EXPECT_EQ(DefaultMessageBoxAnswer(MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    EXPECT_EQ(DefaultMessageBoxAnswer(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(DefaultMessageBoxAnswer(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2 | MB_ICONSTOP), IDRETRY);
}

// Finds the box the GUI thread shows and presses its No button.
struct BoxPresser {
    DWORD guiThread = 0;
    std::atomic<bool> pressed{false};
    std::wstring caption;

    static BOOL CALLBACK Visit(HWND Window, LPARAM Param) {
        auto* self = reinterpret_cast<BoxPresser*>(Param);
        wchar_t className[32] = {};
        GetClassNameW(Window, className, 32);
        if (std::wstring(className) != L"#32770" || !IsWindowVisible(Window)) return TRUE;
        wchar_t text[64] = {};
        GetWindowTextW(Window, text, 64);
        self->caption = text;
        if (HWND no = GetDlgItem(Window, IDNO)) {
            PostMessageW(no, BM_CLICK, 0, 0);
            self->pressed = true;
            return FALSE;
        }
        return TRUE;
    }

    // A box without a No button must not hang the test run: it is closed.
    static BOOL CALLBACK Close(HWND Window, LPARAM) {
        wchar_t className[32] = {};
        GetClassNameW(Window, className, 32);
        if (std::wstring(className) == L"#32770") PostMessageW(Window, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }

    void Run() noexcept {
        const DWORD end = GetTickCount() + 10000;
        while (!pressed && static_cast<int>(end - GetTickCount()) > 0) {
            EnumThreadWindows(guiThread, &BoxPresser::Visit, reinterpret_cast<LPARAM>(this));
            if (!pressed) Sleep(20);
        }
        if (!pressed) EnumThreadWindows(guiThread, &BoxPresser::Close, 0);
    }
};

TEST_F(MessageDialogs, ARealMessageBoxIsAnsweredThroughItsWindow) {
    Application->MessageBoxHandler = nullptr;
    BoxPresser presser;
    presser.guiThread = GetCurrentThreadId();
    std::thread helper([&presser] { presser.Run(); });
    const TModalResult answer = MessageDlg("Shut the computer down?", mtConfirmation, mbYesNoCancel);
    helper.join();
    EXPECT_TRUE(presser.pressed);
    EXPECT_EQ(presser.caption, L"Confirm");
    EXPECT_EQ(answer, mrNo);
}

}  // namespace
