// `TScRapidFireButton`: a speed button that repeats its click while held
// down (first after `InitialDelay`, then every `Delay` milliseconds) and can
// draw a scroll-arrow glyph for itself.
#pragma once

#include <cstdint>

#include "classlib/stdctrls/speedbutton.h"
#include "classlib/windows/timer.h"
#include "controls/sctypes.h"

class TScRapidFireButton : public TSpeedButton {
    VX_CLASS(TScRapidFireButton, TSpeedButton)
public:
    explicit TScRapidFireButton(TComponent* AOwner);

    std::uint16_t InitialDelay() const { return initialDelay_; }
    void SetInitialDelay(std::uint16_t Value) { initialDelay_ = Value; }
    std::uint16_t Delay() const { return delay_; }
    void SetDelay(std::uint16_t Value) { delay_ = Value; }
    TScScrollStyle ScrollStyle() const { return scrollStyle_; }
    virtual void SetScrollStyle(TScScrollStyle Value);

    // Null until the first press.
    TTimer* RepeatTimer() const { return timer_; }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void UpdateGlyph();
    void TimerTick(TObject* Sender);

    std::uint16_t initialDelay_ = 400;
    std::uint16_t delay_ = 100;
    TScScrollStyle scrollStyle_ = scsNone;
    TTimer* timer_ = nullptr;
};
