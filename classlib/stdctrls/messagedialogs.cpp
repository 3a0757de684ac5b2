#include "classlib/stdctrls/messagedialogs.h"

#include <array>

#include "classlib/core/text.h"

namespace {

struct ButtonSet {
    UINT Flags;
    TMsgDlgButtons Buttons;
};

// The system's button sets, smallest first: a request takes the first set
// that holds every button it asks for.
const std::array<ButtonSet, 6> kButtonSets{{
    {MB_OK, {mbOK}},
    {MB_OKCANCEL, {mbOK, mbCancel}},
    {MB_YESNO, {mbYes, mbNo}},
    {MB_RETRYCANCEL, {mbRetry, mbCancel}},
    {MB_YESNOCANCEL, {mbYes, mbNo, mbCancel}},
    {MB_ABORTRETRYIGNORE, {mbAbort, mbRetry, mbIgnore}},
}};

struct DialogType {
    const char* Caption;
    UINT Icon;
};

const std::array<DialogType, 5> kDialogTypes{{
    {"Warning", MB_ICONWARNING},
    {"Error", MB_ICONERROR},
    {"Information", MB_ICONINFORMATION},
    {"Confirm", MB_ICONQUESTION},
    {nullptr, 0},
}};

UINT ButtonFlags(TMsgDlgButtons buttons) {
    // The "to all" buttons have no system counterpart: Yes/No stand in.
    if (buttons.Contains(mbYesToAll)) buttons.Include(mbYes);
    if (buttons.Contains(mbNoToAll) || buttons.Contains(mbAll)) buttons.Include(mbNo);
    buttons -= TMsgDlgButtons{mbYesToAll, mbNoToAll, mbAll, mbHelp};
    for (const ButtonSet& set : kButtonSets)
        if (buttons <= set.Buttons) return set.Flags;
    // Buttons no set holds together (OK with Yes, say): the set with most of them.
    if (buttons.Contains(mbYes) || buttons.Contains(mbNo))
        return buttons.Contains(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    return buttons.Contains(mbCancel) ? MB_OKCANCEL : MB_OK;
}

}  // namespace

UINT MessageDlgFlags(TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
    UINT flags = ButtonFlags(Buttons) | kDialogTypes[DlgType].Icon;
    if (Buttons.Contains(mbHelp)) flags |= MB_HELP;
    return flags;
}

void ShowMessage(const std::string& Msg) {
    Application->MessageBox(Msg, Application->Title(), MB_OK);
}

TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int) {
    const char* caption = kDialogTypes[DlgType].Caption;
    const int answer = Application->MessageBox(Msg, caption ? caption : Application->Title(),
                                               MessageDlgFlags(DlgType, Buttons));
    switch (answer) {
        case IDOK:
        case IDCANCEL:
        case IDABORT:
        case IDRETRY:
        case IDIGNORE:
        case IDYES:
        case IDNO:
            return answer;
        default:
            // A box closed some other way (or a failed call) counts as cancelled.
            return Buttons.Contains(mbCancel) || !Buttons.Contains(mbNo) ? mrCancel : mrNo;
    }
}

int DefaultMessageBoxAnswer(UINT Flags) {
    static constexpr std::array<std::array<int, 3>, 7> kAnswers{{
        {IDOK, IDOK, IDOK},
        {IDOK, IDCANCEL, IDCANCEL},
        {IDABORT, IDRETRY, IDIGNORE},
        {IDYES, IDNO, IDCANCEL},
        {IDYES, IDNO, IDNO},
        {IDRETRY, IDCANCEL, IDCANCEL},
        {IDCANCEL, IDTRYAGAIN, IDCONTINUE},
    }};
    const UINT type = Flags & MB_TYPEMASK;
    if (type >= kAnswers.size()) return IDOK;
    UINT button = (Flags & MB_DEFMASK) >> 8;
    if (button > 2) button = 0;
    return kAnswers[type][button];
}

TScriptedMessageBoxes::TScriptedMessageBoxes() : saved_(Application->MessageBoxHandler) {
    Application->MessageBoxHandler = TMessageBoxHandler(this, &TScriptedMessageBoxes::Respond);
}

TScriptedMessageBoxes::~TScriptedMessageBoxes() {
    if (Application) Application->MessageBoxHandler = saved_;
}

void TScriptedMessageBoxes::Answer(int Result) {
    std::lock_guard guard(lock_);
    answers_.push_back(Result);
}

std::vector<TScriptedMessageBoxes::TAsked> TScriptedMessageBoxes::Asked() const {
    std::lock_guard guard(lock_);
    return asked_;
}

std::vector<std::string> TScriptedMessageBoxes::Texts() const {
    std::lock_guard guard(lock_);
    std::vector<std::string> texts;
    for (const TAsked& asked : asked_) texts.push_back(asked.Text);
    return texts;
}

int TScriptedMessageBoxes::Respond(const std::wstring& Text, const std::wstring& Caption, UINT Flags) {
    std::lock_guard guard(lock_);
    asked_.push_back({ToAnsi(Text), ToAnsi(Caption), Flags, Text});
    if (answers_.empty()) return DefaultMessageBoxAnswer(Flags);
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}
