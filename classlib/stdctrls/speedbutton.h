// `TSpeedButton`: a windowless button with a glyph of up to four cells (up,
// disabled, down, stuck down), a sticky `Down` state, press-and-drag
// tracking that clicks only when released over the button, and a raised
// or flat face.
#pragma once

#include "classlib/graphics/bitmap.h"
#include "classlib/windows/controls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// The glyph count a bitmap's shape asks for: width / height when the width
// is a multiple of the height and that gives 1 to 4, else 1 (also for an
// empty bitmap).
int GlyphCountOf(int Width, int Height);

class TSpeedButton : public TGraphicControl {
    VX_CLASS(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* AOwner);

    TBitmap* Glyph() const { return glyph_.get(); }
    // Copies Value; the glyph count follows the new shape.
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int Value);
    bool Down() const { return down_; }
    void SetDown(bool Value);
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    // bsDown while pressed over the button, bsExclusive while Down.
    TButtonState State() const { return state_; }
    bool MouseInControl() const { return mouseInControl_; }

    void Click() override;
    void WndProc(TMessage& Message) override;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint() override;
    // The cell of the glyph shown in a state.
    int GlyphCell(TButtonState State) const;

private:
    void GlyphChanged(TObject* Sender);
    TButtonState RestingState() const;

    TOwned<TBitmap> glyph_;
    int numGlyphs_ = 1;
    bool down_ = false;
    bool flat_ = false;
    bool dragging_ = false;
    bool mouseInControl_ = false;
    TButtonState state_ = bsUp;
};
