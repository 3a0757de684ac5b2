// `TZkCommonDialogP`: the base of the foundation's dialog-like components,
// which show something when their `Execute` runs.
#pragma once

#include "classlib/core/component.h"

class TZkCommonDialogP : public TComponent {
    VX_CLASS(TZkCommonDialogP, TComponent)
public:
    explicit TZkCommonDialogP(TComponent* AOwner) : inherited(AOwner) {}

    virtual bool Execute() = 0;
};
