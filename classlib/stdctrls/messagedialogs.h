// Message dialogs: `ShowMessage` and `MessageDlg` over the application's one
// message-box service (`Application->MessageBox`), and a scripted responder
// that answers that service in tests and records what was asked.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "classlib/core/set.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
inline const TMsgDlgButtons mbAbortIgnore{mbAbort, mbIgnore};

// A box with Msg and an OK button, titled with the application's title.
void ShowMessage(const std::string& Msg);
// A box titled "Warning", "Error", "Information", "Confirm" (or, for
// mtCustom, the application's title) with the type's icon and the system's
// button set that holds the buttons asked for; returns the button pressed
// (mrOk .. mrNo), or mrCancel / mrNo where the system has no such button.
TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);

// The MB_* flags MessageDlg asks the message box for.
UINT MessageDlgFlags(TMsgDlgType DlgType, TMsgDlgButtons Buttons);

// Answers Application->MessageBox for its lifetime (the previous handler
// comes back afterwards). Answers are taken from a queue; when it is empty,
// a box is answered with its default button, as Enter would. Safe to ask
// from any thread.
class TScriptedMessageBoxes {
public:
    struct TAsked {
        std::string Text;
        std::string Caption;
        UINT Flags;
        // The text as asked, letters outside the code page included.
        std::wstring WideText;
    };

    TScriptedMessageBoxes();
    ~TScriptedMessageBoxes();
    TScriptedMessageBoxes(const TScriptedMessageBoxes&) = delete;
    TScriptedMessageBoxes& operator=(const TScriptedMessageBoxes&) = delete;

    // Queues the answer (IDOK, IDYES, ... = mrOk, mrYes, ...) for a later box.
    void Answer(int Result);
    std::vector<TAsked> Asked() const;
    // The text of every box asked, in order.
    std::vector<std::string> Texts() const;

private:
    int Respond(const std::wstring& Text, const std::wstring& Caption, UINT Flags);

    mutable std::mutex lock_;
    std::deque<int> answers_;
    std::vector<TAsked> asked_;
    TMessageBoxHandler saved_;
};

// The button a message box with these flags answers on Enter.
int DefaultMessageBoxAnswer(UINT Flags);
