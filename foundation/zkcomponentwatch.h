// `TZkComponentWatch`: holds a component that someone else owns and forgets
// it when it is freed, for objects that are not components themselves.
#pragma once

#include "classlib/core/component.h"
#include "classlib/core/delegate.h"

class TZkComponentWatch : public TComponent {
    VX_CLASS(TZkComponentWatch, TComponent)
public:
    TZkComponentWatch() : TComponent(nullptr) {}

    TComponent* Watched() const { return watched_; }
    void Watch(TComponent* Value);
    // Fires (Sender = the watch) once the watched component is gone.
    TNotifyEvent OnGone;

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

private:
    TComponent* watched_ = nullptr;
};
