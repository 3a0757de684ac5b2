// `TScBlinkingControlsList`: the one process-wide timer that makes every
// blinking label change colour at the same moment. Each tick asks every
// registered control whether it blinks (SC_BLINKQUERY) and tells those that
// answer 1 the new phase (SC_BLINKPHASE, wParam 1 for the on phase).
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/core/object.h"
#include "classlib/windows/timer.h"

class TControl;

constexpr UINT SC_BLINKQUERY = 0xB3E8;
constexpr UINT SC_BLINKPHASE = 0xB3E9;

class TScBlinkingControlsList : public TObject {
    VX_CLASS(TScBlinkingControlsList, TObject)
public:
    TScBlinkingControlsList();

    virtual int Count() const { return static_cast<int>(controls_.size()); }
    void Add(TControl* Control);
    void Remove(TControl* Control);

    // True while in the on phase.
    bool State() const { return state_; }
    std::uint16_t IntervalOff() const { return intervalOff_; }
    void SetIntervalOff(std::uint16_t Value) { intervalOff_ = Value; }
    std::uint16_t IntervalOn() const { return intervalOn_; }
    void SetIntervalOn(std::uint16_t Value) { intervalOn_ = Value; }
    TTimer* Timer() const { return timer_.get(); }

protected:
    ~TScBlinkingControlsList() override = default;

private:
    void TimerTick(TObject* Sender);

    bool state_ = true;
    std::vector<TControl*> controls_;
    TOwned<TTimer> timer_;
    std::uint16_t intervalOff_ = 500;
    std::uint16_t intervalOn_ = 500;
};

// The list the labels share; null until the first label makes it.
extern TScBlinkingControlsList* BlinkingControlsList;
// Makes the shared list when there is none.
TScBlinkingControlsList* NeedBlinkingControlsList();
// Frees the shared list once no control is left in it.
void FreeBlinkingControlsList();
