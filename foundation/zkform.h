// `TZkForm`: a form that fills itself from the form resource of its own
// class chain, can refuse activation by the mouse (`IsFocusable`), and picks
// a sensible owner window each time it is shown.
#pragma once

#include "foundation/zkexforms.h"

class TZkForm : public TZkExForm {
    VX_CLASS(TZkForm, TZkExForm)
public:
    // Create: descendants are filled from their form resource; a descendant
    // without one raises EResNotFound "Resource <class name> not found".
    explicit TZkForm(TComponent* AOwner);
    // CreateNew: an empty form.
    TZkForm(TComponent* AOwner, int Dummy);
    void AfterConstruction() override;

    // Lets any enable/disable notices still queued take effect first, so the
    // modal loop starts from the windows' final state.
    TModalResult ShowModal() override;

    bool IsFocusable() const { return isFocusable_; }
    void SetIsFocusable(bool Value) { isFocusable_ = Value; }

protected:
    void InheritedWndProc(TMessage& Message) override;

private:
    void FixOwnerWindow();

    bool loadResource_ = false;
    bool isFocusable_ = true;
};
