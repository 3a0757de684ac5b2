// `TZkCustomLabel` and `TZkLabel`: a windowless label with automatic sizing,
// word wrap, ellipsis, margins, a drop shadow, rotated text, an image, a
// plain or rounded frame, hot tracking, an accelerator that focuses another
// control and a URL opened on click.
#pragma once

#include <string>

#include "classlib/graphics/imagelist.h"
#include "classlib/windows/alignment.h"
#include "foundation/zkdataconsumer.h"
#include "foundation/zkexcontrols.h"
#include "foundation/zklabeldraw.h"
#include "foundation/zkutils.h"

enum TZkTextEllipsis { teNone, teWordEllipsis, tePathEllipsis, teEndEllipsis };
// Degrees counter-clockwise, 0-359 once stored.
using TZkLabelRotateAngle = int;

class TZkCustomLabel : public TZkExGraphicControl {
    VX_CLASS(TZkCustomLabel, TZkExGraphicControl)
public:
    explicit TZkCustomLabel(TComponent* AOwner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout Value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool Value);
    bool ShowFocus() const { return showFocus_; }
    void SetShowFocus(bool Value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* Value);
    // The parent shows through. With visual themes a label is always so.
    bool Transparent() const { return !ControlStyle().Contains(csOpaque); }
    void SetTransparent(bool Value);
    TZkTextEllipsis TextEllipsis() const { return textEllipsis_; }
    void SetTextEllipsis(TZkTextEllipsis Value);
    // Reads the left margin; writing sets all four.
    int Margin() const { return margins_.Left; }
    void SetMargin(int Value);
    const TRect& Margins() const { return margins_; }

    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor Value);
    BYTE ShadowSize() const { return shadowSize_; }
    void SetShadowSize(BYTE Value);
    TShadowPosition ShadowPos() const { return shadowPos_; }
    void SetShadowPos(TShadowPosition Value);

    TZkLabelRotateAngle Angle() const { return angle_; }
    void SetAngle(TZkLabelRotateAngle Value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int Value);

    TColor FrameColor() const { return frameColor_; }
    void SetFrameColor(TColor Value);
    // Radius of the cut corners; refused unless 0 <= Value < Height / 2.
    int RoundedFrame() const { return roundedFrame_; }
    void SetRoundedFrame(int Value);

    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool Value);
    TFont* HotTrackFont() const { return hotTrackFont_.get(); }
    void SetHotTrackFont(TFont* Value) { hotTrackFont_->Assign(Value); }
    TZkTrackFontOptions HotTrackFontOptions() const { return hotTrackFontOptions_; }
    void SetHotTrackFontOptions(TZkTrackFontOptions Value);
    TZkHotTrackOptions* HotTrackOptions() const { return hotTrackOptions_.get(); }
    void SetHotTrackOptions(TZkHotTrackOptions* Value);

    const std::string& URL() const { return url_; }
    void SetURL(const std::string& Value) { url_ = Value; }
    bool AutoOpenURL() const { return autoOpenURL_; }
    void SetAutoOpenURL(bool Value) { autoOpenURL_ = Value; }

    // The data provider link: with a provider set (and an item selected)
    // the label shows the provider's item instead of its caption.
    TZkDataConsumer* Provider() const { return provider_.get(); }

    // True while the mouse is over the label and it may show it.
    bool Hovering() const { return hovering_; }

    void Loaded() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void Paint() override;
    void Click() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    void TextChanged() override;
    void FontChanged() override;
    void EnabledChanged() override;
    void FocusChanged(TControl* Control) override;
    bool WantKey(int Key, TShiftState Shift, const std::string& KeyText) override;
    void MouseEnter(TControl* Control) override;
    void MouseLeave(TControl* Control) override;

    virtual void DoDrawCaption(TRect& Rect, UINT Flags);
    virtual void DoProviderDraw(TRect& Rect, UINT Flags);
    // The provider's drawing when one is active, else DoDrawCaption.
    virtual void DoDrawText(TRect& Rect, UINT Flags);
    virtual void AdjustBounds();
    virtual TColor GetDefaultFontColor() { return Font()->Color(); }
    virtual std::string GetLabelCaption();
    virtual int GetImageWidth();
    virtual int GetImageHeight();

    bool ProviderActive() const { return provider_->Active(); }
    // The label's own caption or image takes over again.
    void DropProvider();

    bool ImageShown() const { return images_ && imageIndex_ >= 0; }
    // Draws (or with DT_CALCRECT measures, margins and image included) the
    // caption rotated by Angle.
    void DrawAngleText(TRect& Rect, UINT Flags);
    void RequestAdjust() { adjustNeeded_ = true; }

private:
    void SizeChanged();
    // Whether the label may show the mouse over it now.
    bool MayHover();
    void UpdateHovering();
    bool HotPainting() const { return hovering_ && hotTrack_; }
    void PaintBackground(TRect& R);
    void PaintRoundedFrame(const TRect& R, TColor FrameColor, int Radius);
    void OptionsChanged(TObject*) { Invalidate(); }
    void ConsumerChanged(TZkDataConsumer* Sender, TZkDataChangeReason Reason);

    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    bool showFocus_ = false;
    TWinControl* focusControl_ = nullptr;
    TZkTextEllipsis textEllipsis_ = teNone;
    TRect margins_;
    TColor shadowColor_ = clBtnHighlight;
    BYTE shadowSize_ = 0;
    TShadowPosition shadowPos_ = spRightBottom;
    TZkLabelRotateAngle angle_ = 0;
    TCustomImageList* images_ = nullptr;
    int imageIndex_ = -1;
    int spacing_ = 4;
    TColor frameColor_ = clNone;
    int roundedFrame_ = 0;
    bool hotTrack_ = false;
    TOwned<TFont> hotTrackFont_;
    TZkTrackFontOptions hotTrackFontOptions_{hoFollowFont, hoPreserveColor, hoPreserveStyle};
    TOwned<TZkHotTrackOptions> hotTrackOptions_;
    std::string url_;
    bool autoOpenURL_ = true;
    TZkIntf<TZkDataConsumer> provider_;

    bool pressed_ = false;
    bool focused_ = false;
    bool hovering_ = false;
    bool adjustNeeded_ = false;
};

// Publishes the label's properties (once; the label's constructor asks).
void PublishZkLabelProperties();

// The label as forms place it.
class TZkLabel : public TZkCustomLabel {
    VX_CLASS(TZkLabel, TZkCustomLabel)
public:
    using TZkCustomLabel::TZkCustomLabel;
};
