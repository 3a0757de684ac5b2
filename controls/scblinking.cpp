#include "controls/scblinking.h"

#include <algorithm>

#include "classlib/windows/controls.h"

TScBlinkingControlsList* BlinkingControlsList = nullptr;

TScBlinkingControlsList::TScBlinkingControlsList() : timer_(Create<TTimer>(nullptr)) {
    timer_->SetInterval(intervalOff_);
    timer_->OnTimer = TNotifyEvent(this, &TScBlinkingControlsList::TimerTick);
    timer_->SetEnabled(true);
}

void TScBlinkingControlsList::Add(TControl* Control) {
    if (Control && std::find(controls_.begin(), controls_.end(), Control) == controls_.end())
        controls_.push_back(Control);
}

void TScBlinkingControlsList::Remove(TControl* Control) {
    const auto found = std::find(controls_.begin(), controls_.end(), Control);
    if (found != controls_.end()) controls_.erase(found);
}

void TScBlinkingControlsList::TimerTick(TObject*) {
    state_ = !state_;
    timer_->SetInterval(state_ ? intervalOn_ : intervalOff_);
    // A control may leave the list while it repaints; the copy keeps the
    // walk safe and the check skips it.
    const std::vector<TControl*> controls = controls_;
    for (TControl* control : controls) {
        if (std::find(controls_.begin(), controls_.end(), control) == controls_.end()) continue;
        if (control->Perform(SC_BLINKQUERY, 0, 0) == 1) control->Perform(SC_BLINKPHASE, state_ ? 1 : 0, 0);
    }
}

TScBlinkingControlsList* NeedBlinkingControlsList() {
    if (!BlinkingControlsList) BlinkingControlsList = Create<TScBlinkingControlsList>();
    return BlinkingControlsList;
}

void FreeBlinkingControlsList() {
    if (BlinkingControlsList && BlinkingControlsList->Count() == 0) FreeAndNil(BlinkingControlsList);
}
