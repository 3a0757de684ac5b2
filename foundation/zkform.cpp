#include "foundation/zkform.h"

#include "classlib/core/text.h"
#include "classlib/windows/application.h"
#include "classlib/windows/screen.h"

TZkForm::TZkForm(TComponent* AOwner) : TZkExForm(AOwner, 0), loadResource_(true) {}

TZkForm::TZkForm(TComponent* AOwner, int Dummy) : TZkExForm(AOwner, Dummy) {}

void TZkForm::AfterConstruction() {
    if (loadResource_ && ClassType() != TZkForm::ClassInfo()) {
        const bool found =
            InitInheritedComponentProc && InitInheritedComponentProc(this, TZkForm::ClassInfo());
        if (!found) throw EResNotFound(Format("Resource %s not found", ClassName()));
    }
    // Ends the creating state and runs OnCreate.
    inherited::AfterConstruction();
}

TModalResult TZkForm::ShowModal() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_ENABLE, WM_ENABLE, PM_REMOVE)) DispatchMessageW(&msg);
    return inherited::ShowModal();
}

void TZkForm::FixOwnerWindow() {
    if (!Application) return;
    HWND window = Handle();
    HWND owner = nullptr;
    if (FormStyle() == fsStayOnTop) {
        owner = Application->Handle();
    } else {
        TCustomForm* active = Screen ? Screen->ActiveForm() : nullptr;
        TCustomForm* main = Application->MainForm();
        if (active && active != this && active->FormState().Contains(fsModal))
            owner = active->Handle();
        else if (main && main != this)
            owner = main->Handle();
        else
            owner = Application->Handle();
    }
    if (reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_HWNDPARENT)) != owner)
        SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    if (FormStyle() == fsStayOnTop)
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TZkForm::InheritedWndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CM_SHOWINGCHANGED:
            if (Showing() && FormStyle() != fsMDIChild) FixOwnerWindow();
            break;
        case WM_MOUSEACTIVATE:
            if (!isFocusable_) {
                Message.Result = MA_NOACTIVATE;
                return;
            }
            break;
    }
    inherited::InheritedWndProc(Message);
}
