#include "notify/zkalertstack.h"

#include <algorithm>

#include "foundation/zkutils.h"

void TZkDesktopAlertStack::BeforeDestruction() {
    for (TZkFormDesktopAlert* form : slots_)
        if (form) form->RemoveFreeNotification(this);
    slots_.clear();
    inherited::BeforeDestruction();
}

bool TZkDesktopAlertStack::Contains(TZkFormDesktopAlert* Form) const {
    return Form && std::find(slots_.begin(), slots_.end(), Form) != slots_.end();
}

void TZkDesktopAlertStack::Add(TZkFormDesktopAlert* Form) {
    if (!Form) return;
    if (!Contains(Form)) {
        slots_.push_back(Form);
        Form->FreeNotification(this);
    }
    UpdatePositions();
}

void TZkDesktopAlertStack::Remove(TZkFormDesktopAlert* Form) {
    auto found = std::find(slots_.begin(), slots_.end(), Form);
    if (!Form || found == slots_.end()) return;
    Form->RemoveFreeNotification(this);
    RemoveAlertSlot(slots_, static_cast<size_t>(found - slots_.begin()),
                    [](TZkFormDesktopAlert* W) { return !W->MouseInside(); });
    UpdatePositions();
}

void TZkDesktopAlertStack::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    auto found = std::find(slots_.begin(), slots_.end(), AComponent);
    if (found == slots_.end()) return;
    // A window freed while stacked leaves its slot to the others, without a
    // move: it may go while the program is going.
    RemoveAlertSlot(slots_, static_cast<size_t>(found - slots_.begin()),
                    [](TZkFormDesktopAlert* W) { return !W->MouseInside(); });
}

void TZkDesktopAlertStack::UpdatePositions() {
    if (position_ > dapBottomRight) return;
    TRect area;
    GetWorkArea(area);
    const bool bottom = position_ == dapBottomLeft || position_ == dapBottomRight;
    const bool right = position_ == dapTopRight || position_ == dapBottomRight;
    int y = bottom ? area.Bottom : area.Top;
    for (TZkFormDesktopAlert* form : slots_) {
        if (!form || !form->Visible()) continue;
        const int x = right ? area.Right - form->Width() : area.Left;
        if (bottom) y -= form->Height();
        form->SetNewOrigin(x, y);
        if (!bottom) y += form->Height();
    }
}

namespace {
struct TProcessStackHolder {
    TOwned<TZkDesktopAlertStack> stack;
};
}  // namespace

TZkDesktopAlertStack* ProcessAlertStack() {
    static TProcessStackHolder holder;
    if (!holder.stack) holder.stack = MakeOwned<TZkDesktopAlertStack>(nullptr);
    return holder.stack.get();
}
