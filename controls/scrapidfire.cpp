#include "controls/scrapidfire.h"

TScRapidFireButton::TScRapidFireButton(TComponent* AOwner) : inherited(AOwner) {}

void TScRapidFireButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    std::shared_ptr<bool> alive = alive_;
    inherited::MouseDown(Button, Shift, X, Y);
    if (!*alive || Button != mbLeft || State() != bsDown) return;
    if (!timer_) {
        // Owned by the button, so it goes with it.
        timer_ = Create<TTimer>(this);
        timer_->OnTimer = TNotifyEvent(this, &TScRapidFireButton::TimerTick);
    }
    timer_->SetInterval(initialDelay_);
    timer_->SetEnabled(true);
}

void TScRapidFireButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    std::shared_ptr<bool> alive = alive_;
    inherited::MouseUp(Button, Shift, X, Y);
    if (*alive && timer_) timer_->SetEnabled(false);
}

void TScRapidFireButton::TimerTick(TObject*) {
    timer_->SetInterval(delay_);
    // A button that went away from under the pointer (the end of a list
    // hides its scroll button), or lost the mouse, would otherwise repeat
    // for ever: its release never comes.
    if (!Visible() || !Enabled() || !MouseCapture()) {
        timer_->SetEnabled(false);
        return;
    }
    if (State() == bsDown) Click();
}

void TScRapidFireButton::SetScrollStyle(TScScrollStyle Value) {
    if (Value == scrollStyle_) return;
    scrollStyle_ = Value;
    SetGlyph(nullptr);
    if (Value != scsNone) UpdateGlyph();
    Invalidate();
}

void TScRapidFireButton::UpdateGlyph() {
    struct Arrow {
        UINT state;
        int width, height, x, y;
    };
    const Arrow arrows[] = {
        {0, 0, 0, 0, 0},
        {DFCS_SCROLLLEFT, 9, 9, 4, 4},
        {DFCS_SCROLLUP, 9, 6, 4, 5},
        {DFCS_SCROLLRIGHT, 9, 9, 6, 4},
        {DFCS_SCROLLDOWN, 9, 6, 4, 6},
    };
    const Arrow& arrow = arrows[scrollStyle_];
    TOwned<TBitmap> scratch(Create<TBitmap>());
    scratch->SetSize(17, 17);
    UINT state = arrow.state;
    if (State() == bsDown) state |= DFCS_PUSHED;
    if (!Enabled()) state |= DFCS_INACTIVE;
    RECT r{0, 0, 17, 17};
    DrawFrameControl(scratch->Canvas()->Handle(), &r, DFC_SCROLL, state);
    TOwned<TBitmap> glyph(Create<TBitmap>());
    glyph->SetSize(arrow.width, arrow.height);
    glyph->Canvas()->CopyRect(Rect(0, 0, arrow.width, arrow.height), scratch->Canvas(),
                              Bounds(arrow.x, arrow.y, arrow.width, arrow.height));
    SetGlyph(glyph.get());
}
