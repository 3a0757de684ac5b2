#include "foundation/zkcomponentwatch.h"

void TZkComponentWatch::Watch(TComponent* Value) {
    if (watched_ == Value) return;
    if (watched_) watched_->RemoveFreeNotification(this);
    watched_ = Value;
    if (watched_) watched_->FreeNotification(this);
}

void TZkComponentWatch::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent != watched_) return;
    watched_ = nullptr;
    if (Assigned(OnGone)) OnGone(this);
}

void TZkComponentWatch::BeforeDestruction() {
    Watch(nullptr);
    inherited::BeforeDestruction();
}
