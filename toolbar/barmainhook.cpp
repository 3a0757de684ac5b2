#include "toolbar/barmainhook.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "classlib/windows/screen.h"
#include "toolbar/bardock.h"
#include "toolbar/bartoolbar.h"

namespace {

std::unique_ptr<std::vector<TBarCustomToolbar*>> HookedToolbars;
int HookUsers = 0;
bool InSysCommand = false;

struct THookTarget {
    bool Call(TMessage& Message) { return BarMainWindowHook(Message); }
};
THookTarget HookTarget;

TWindowHook Hook() {
    return TWindowHook(&HookTarget, &THookTarget::Call);
}

TCustomForm* ActiveForm() {
    return dynamic_cast<TCustomForm*>(FindControl(GetActiveWindow()));
}

bool ProcessShortCutsOfForm(TCustomForm* Form, TMessage& Message) {
    if (!HookedToolbars || !Form || !Form->HandleAllocated() || !IsWindowEnabled(Form->Handle()))
        return false;
    auto* key = reinterpret_cast<TMessage*>(Message.LParam);
    // A handler may free toolbars: work on a copy, checking each is still listed.
    const std::vector<TBarCustomToolbar*> list = *HookedToolbars;
    for (TBarCustomToolbar* toolbar : list) {
        if (!HookedToolbars ||
            std::find(HookedToolbars->begin(), HookedToolbars->end(), toolbar) == HookedToolbars->end())
            continue;
        if (toolbar->ProcessShortCuts() && toolbar->BarParentForm() == Form && toolbar->IsShortCut(*key)) {
            Message.Result = 1;
            return true;
        }
    }
    return false;
}

LRESULT SendToMenuControls(TWinControl* Parent, TMessage& Request) {
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(Parent->Controls(i));
        if (!control || !control->Visible() || !control->Enabled()) continue;
        if ((dynamic_cast<TBarDock*>(control) || dynamic_cast<TBarCustomToolbar*>(control)) &&
            control->ControlStyle().Contains(csMenuEvents)) {
            if (const LRESULT r = control->Perform(WM_SYSCOMMAND, Request.WParam, Request.LParam)) return r;
        }
        if (control->Showing())
            if (const LRESULT r = SendToMenuControls(control, Request)) return r;
    }
    return 0;
}

}  // namespace

void InstallMainWindowHook(TBarCustomToolbar* Toolbar) {
    if (Toolbar->mainWindowHookInstalled_) return;
    if (HookUsers == 0) Application->HookMainWindow(Hook());
    ++HookUsers;
    if (!HookedToolbars) HookedToolbars = std::make_unique<std::vector<TBarCustomToolbar*>>();
    HookedToolbars->push_back(Toolbar);
    Toolbar->mainWindowHookInstalled_ = true;
}

void UninstallMainWindowHook(TBarCustomToolbar* Toolbar) {
    if (!Toolbar->mainWindowHookInstalled_) return;
    Toolbar->mainWindowHookInstalled_ = false;
    if (HookedToolbars) {
        std::erase(*HookedToolbars, Toolbar);
        if (HookedToolbars->empty()) HookedToolbars.reset();
    }
    if (--HookUsers == 0) Application->UnhookMainWindow(Hook());
}

int MainWindowHookUsers() {
    return HookUsers;
}

bool BarMainWindowHook(TMessage& Message) {
    switch (Message.Msg) {
        case CM_APPKEYDOWN: {
            if (!HookedToolbars) return false;
            // The class library has no MDI forms: only the active form and
            // then the main form are tried.
            TCustomForm* form = ActiveForm();
            if (form && ProcessShortCutsOfForm(form, Message)) return true;
            TCustomForm* main = Application->MainForm();
            return main && main != form && ProcessShortCutsOfForm(main, Message);
        }
        case CM_APPSYSCOMMAND: {
            // A dock or bar that passes the request back would bring it here
            // again: one at a time.
            if (InSysCommand) return false;
            TCustomForm* form = ActiveForm();
            if (!form || !form->HandleAllocated() || !IsWindowEnabled(form->Handle()) || !form->Visible())
                return false;
            InSysCommand = true;
            struct TLower {
                ~TLower() { InSysCommand = false; }
            } lower;
            auto* request = reinterpret_cast<TMessage*>(Message.LParam);
            if (SendToMenuControls(form, *request) != 0) {
                Message.Result = 1;
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}
