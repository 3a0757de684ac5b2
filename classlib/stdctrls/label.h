// `TLabel`: a windowless caption painted by its parent, with alignment,
// vertical layout, word wrap, an accelerator character that focuses
// `FocusControl`, a transparent mode and automatic sizing to its text.
#pragma once

#include "classlib/windows/alignment.h"
#include "classlib/windows/controls.h"

class TCustomLabel : public TGraphicControl {
    VX_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* AOwner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    bool AutoSize() const { return autoSize_; }
    virtual void SetAutoSize(bool Value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* Value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout Value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool Value);
    // Transparent: the parent shows through (the control is not opaque).
    bool Transparent() const { return !ControlStyle().Contains(csOpaque); }
    void SetTransparent(bool Value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

protected:
    // Resizes the label to its text when AutoSize is on; a right-aligned
    // label keeps its right edge.
    virtual void AdjustBounds();
    // Draws (or with DT_CALCRECT measures) the text into Rect.
    virtual void DoDrawText(TRect& Rect, UINT Flags);
    virtual std::wstring GetLabelText() const { return GetWideText(); }
    void Paint() override;

private:
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    TWinControl* focusControl_ = nullptr;
    TTextLayout layout_ = tlTop;
    bool showAccelChar_ = true;
    bool wordWrap_ = false;
};

class TLabel : public TCustomLabel {
    VX_CLASS(TLabel, TCustomLabel)
public:
    using TCustomLabel::TCustomLabel;
};
