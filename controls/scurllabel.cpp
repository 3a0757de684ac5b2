#include "controls/scurllabel.h"

#include "classlib/core/files.h"
#include "classlib/core/text.h"
#include "classlib/services/shellservice.h"
#include "classlib/windows/screen.h"
#include "controls/sctext.h"

void RegisterHandCursor() {
    if (!Screen) return;
    HCURSOR hand = nullptr;
    if (IsWindowsVersion(0) || IsWindowsVersion(1))
        hand = LoadCursorW(GetModuleHandleW(nullptr), L"SCCOMMON_HANDCURSOR");
    if (!hand) hand = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
    // A null cursor would leave the label with none at all.
    if (hand) Screen->SetCursors(crScHand, hand);
}

TScURLLabel::TScURLLabel(TComponent* AOwner) : inherited(AOwner) {
    RegisterHandCursor();
    SetCursor(crScHand);
    SetTextStyle(tsNormal);
    Font()->SetStyle(Font()->Style() + TFontStyles{fsUnderline});
    Font()->SetColor(unvisitedColor_);
}

void TScURLLabel::SetVisited(bool Value) {
    if (Value == visited_) return;
    visited_ = Value;
    UpdateURLColor();
    Invalidate();
}

void TScURLLabel::SetUnvisitedColor(TColor Value) {
    if (Value == unvisitedColor_) return;
    unvisitedColor_ = Value;
    UpdateURLColor();
    Invalidate();
}

void TScURLLabel::SetVisitedColor(TColor Value) {
    if (Value == visitedColor_) return;
    visitedColor_ = Value;
    UpdateURLColor();
    Invalidate();
}

void TScURLLabel::UpdateURLColor() {
    Font()->SetColor(visited_ ? visitedColor_ : unvisitedColor_);
}

void TScURLLabel::Click() {
    std::shared_ptr<bool> alive = alive_;
    inherited::Click();
    if (!*alive) return;
    std::string target = Trim(url_);
    if (target.empty()) target = Trim(Caption());
    if (target.empty()) return;
    TShellService& shell = ShellService();
    // No box of the shell's own on failure, and a wait for the DDE talk to
    // end (SEE_MASK_FLAG_NO_UI, SEE_MASK_FLAG_DDEWAIT, SEE_MASK_NOCLOSEPROCESS).
    if (shell.ExecuteEx(0x540, nullptr, "Open", target, "", "", SW_SHOWNORMAL)) {
        SetVisited(true);
        return;
    }
    if (UpperCase(ExtractFileExt(target)) == ".HTM")
        shell.Run("RunDLL32.exe Shell32.dll,OpenAs_RunDLL *.htm", SW_SHOWNORMAL);
}
