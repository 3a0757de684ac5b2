// `TZkDesktopAlertStack`: lays the open alert windows out along a corner of
// the work area, one above (or below) the other, and closes the gap an alert
// leaves; `ProcessAlertStack` is the one every alert uses unless given its own.
#pragma once

#include <vector>

#include "foundation/zkcomponent.h"
#include "notify/zkdesktopalertform.h"

enum TZkDesktopAlertPosition {
    dapTopLeft,
    dapTopRight,
    dapBottomLeft,
    dapBottomRight,
    dapCustom,
    dapDesktopCenter,
    dapMainFormCenter,
    dapOwnerFormCenter,
    dapActiveFormCenter,
    dapMainFormTopLeft,
    dapMainFormTopRight,
    dapMainFormBottomLeft,
    dapMainFormBottomRight,
    dapOwnerFormTopLeft,
    dapOwnerFormTopRight,
    dapOwnerFormBottomLeft,
    dapOwnerFormBottomRight,
    dapActiveFormTopLeft,
    dapActiveFormTopRight,
    dapActiveFormBottomLeft,
    dapActiveFormBottomRight,
};

// Empties slot Index; then every later window that MayMove allows moves into
// the nearest empty slot before it, and empty slots at the end go.
template <class W, class MayMovePredicate>
void RemoveAlertSlot(std::vector<W*>& Slots, size_t Index, MayMovePredicate MayMove) {
    Slots[Index] = nullptr;
    for (size_t j = Index + 1; j < Slots.size(); ++j) {
        if (!Slots[j] || !MayMove(Slots[j])) continue;
        for (size_t k = j; k-- > 0;) {
            if (Slots[k]) continue;
            Slots[k] = Slots[j];
            Slots[j] = nullptr;
            break;
        }
    }
    while (!Slots.empty() && !Slots.back()) Slots.pop_back();
}

class TZkDesktopAlertStack : public TZkComponent {
    VX_CLASS(TZkDesktopAlertStack, TZkComponent)
public:
    explicit TZkDesktopAlertStack(TComponent* AOwner) : inherited(AOwner) {}
    void BeforeDestruction() override;

    TZkDesktopAlertPosition Position() const { return position_; }
    void SetPosition(TZkDesktopAlertPosition Value) { position_ = Value; }

    virtual void UpdatePositions();
    virtual void Add(TZkFormDesktopAlert* Form);
    // Nothing happens for a window that is not in the stack.
    virtual void Remove(TZkFormDesktopAlert* Form);

    // The slots from the corner outward; a slot may be empty (null).
    const std::vector<TZkFormDesktopAlert*>& Slots() const { return slots_; }
    bool Contains(TZkFormDesktopAlert* Form) const;

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::vector<TZkFormDesktopAlert*> slots_;
    TZkDesktopAlertPosition position_ = dapBottomRight;
};

// The process-wide stack, made on first use; it lasts until the process
// ends, so forms freed at exit still find it.
TZkDesktopAlertStack* ProcessAlertStack();
