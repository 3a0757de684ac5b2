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

// Only a window takes the keyboard focus. This one stands at its label's
// place in the tab order and holds the focus for it; shaped to no pixel at
// all, it leaves the painting and the mouse to the label.
class TScURLFocus : public TWinControl {
    VX_CLASS(TScURLFocus, TWinControl)
public:
    explicit TScURLFocus(TScURLLabel* Link) : inherited(Link), link_(Link) { SetTabStop(true); }

    void WndProc(TMessage& Message) override {
        switch (Message.Msg) {
            case CM_WANTSPECIALKEY:
                // Enter opens the link rather than going to the form.
                if (Message.WParam == VK_RETURN) {
                    Message.Result = 1;
                    return;
                }
                break;
            case WM_ERASEBKGND:
                // It has no pixels, also where a copy of the parent is
                // painted (PaintTo).
                Message.Result = 1;
                return;
            case WM_SETFOCUS:
            case WM_KILLFOCUS:
                inherited::WndProc(Message);
                link_->Invalidate();
                return;
        }
        inherited::WndProc(Message);
    }

protected:
    void CreateHandleDone() override {
        inherited::CreateHandleDone();
        // The window keeps the region and frees it.
        SetWindowRgn(handle_, CreateRectRgn(0, 0, 0, 0), FALSE);
    }
    void KeyDown(WORD& Key, TShiftState Shift) override {
        if ((Key == VK_RETURN || Key == VK_SPACE) && Shift.Empty()) {
            Key = 0;
            // The click may free the label and with it this window.
            link_->Click();
            return;
        }
        inherited::KeyDown(Key, Shift);
    }

private:
    TScURLLabel* link_;
};

TScURLLabel::TScURLLabel(TComponent* AOwner) : inherited(AOwner) {
    RegisterHandCursor();
    SetCursor(crScHand);
    SetTextStyle(tsNormal);
    Font()->SetStyle(Font()->Style() + TFontStyles{fsUnderline});
    Font()->SetColor(unvisitedColor_);
    focus_ = Create<TScURLFocus>(this);
}

void TScURLLabel::BeforeDestruction() {
    // Gone before the label is half torn down: losing the focus repaints it.
    if (focus_) focus_->Free();
    inherited::BeforeDestruction();
}

TWinControl* TScURLLabel::FocusWindow() const {
    return focus_;
}

bool TScURLLabel::Focused() const {
    return focus_ && focus_->Focused();
}

void TScURLLabel::SetParent(TWinControl* AParent) {
    inherited::SetParent(AParent);
    if (focus_) focus_->SetParent(AParent);
}

void TScURLLabel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (focus_) focus_->SetBounds(Left(), Top(), Width(), Height());
}

void TScURLLabel::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focus_) focus_ = nullptr;
}

void TScURLLabel::WndProc(TMessage& Message) {
    inherited::WndProc(Message);
    if (!focus_) return;
    switch (Message.Msg) {
        case CM_VISIBLECHANGED:
            focus_->SetVisible(Visible());
            break;
        case CM_ENABLEDCHANGED:
            focus_->SetEnabled(Enabled());
            break;
        case CM_TEXTCHANGED:
            // What a screen reader names the focused link by.
            focus_->SetWideText(GetWideText());
            break;
    }
}

void TScURLLabel::Paint() {
    inherited::Paint();
    if (Focused()) Canvas()->DrawFocusRect(ClientRect());
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
