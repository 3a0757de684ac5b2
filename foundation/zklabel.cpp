#include "foundation/zklabel.h"

#include <algorithm>

#include "classlib/core/text.h"
#include "classlib/graphics/handles.h"
#include "classlib/windows/accelerators.h"
#include "classlib/windows/themes.h"
#include "foundation/zkthemes.h"

namespace {
constexpr UINT kEllipsisFlags[] = {0, DT_WORD_ELLIPSIS, DT_PATH_ELLIPSIS, DT_END_ELLIPSIS};
constexpr size_t kMaxAngleText = 4096;

// Stores Value when it differs; true when it did.
template <class T>
bool Store(T& Field, const T& Value) {
    if (Field == Value) return false;
    Field = Value;
    return true;
}

bool ThemesActive() {
    return ThemeServices()->ThemesEnabled();
}
}  // namespace

TZkCustomLabel::TZkCustomLabel(TComponent* AOwner)
    : inherited(AOwner),
      hotTrackFont_(Create<TFont>()),
      hotTrackOptions_(Create<TZkHotTrackOptions>()),
      provider_(Create<TZkDataConsumer>(this, std::vector<int>{},
                                        TZkDataChangeEvent(this, &TZkCustomLabel::ConsumerChanged))) {
    PublishZkLabelProperties();
    TControlStyle style = ControlStyle() + TControlStyle{csOpaque, csReplicatable};
    if (ThemesActive()) style.Exclude(csOpaque);
    SetControlStyle(style);
    SetBounds(Left(), Top(), 65, 17);
    AssignHotTrackFont(hotTrackFont_.get(), Font(), hotTrackFontOptions_);
    hotTrackOptions_->OnChange = TNotifyEvent(this, &TZkCustomLabel::OptionsChanged);
}

// --- properties

void TZkCustomLabel::SetAlignment(TAlignment Value) {
    if (Store(alignment_, Value)) Invalidate();
}

void TZkCustomLabel::SetLayout(TTextLayout Value) {
    if (Store(layout_, Value)) Invalidate();
}

void TZkCustomLabel::SetAutoSize(bool Value) {
    if (Store(autoSize_, Value)) SizeChanged();
}

void TZkCustomLabel::SetWordWrap(bool Value) {
    if (Store(wordWrap_, Value)) SizeChanged();
}

void TZkCustomLabel::SetShowAccelChar(bool Value) {
    if (Store(showAccelChar_, Value)) Invalidate();
}

void TZkCustomLabel::SetShowFocus(bool Value) {
    if (Store(showFocus_, Value)) Invalidate();
}

void TZkCustomLabel::SetFocusControl(TWinControl* Value) {
    if (Value == focusControl_) return;
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TZkCustomLabel::SetTransparent(bool Value) {
    if (Value == Transparent()) return;
    // Themed, the label always lets its parent show.
    if (!Value && ThemesActive()) return;
    const TControlStyle opaque{csOpaque};
    SetControlStyle(Value ? ControlStyle() - opaque : ControlStyle() + opaque);
    Invalidate();
}

void TZkCustomLabel::SetTextEllipsis(TZkTextEllipsis Value) {
    if (Store(textEllipsis_, Value)) Invalidate();
}

void TZkCustomLabel::SetMargin(int Value) {
    const TRect margins(Value, Value, Value, Value);
    if (margins == margins_) return;
    margins_ = margins;
    SizeChanged();
}

void TZkCustomLabel::SetShadowColor(TColor Value) {
    if (Store(shadowColor_, Value)) Invalidate();
}

void TZkCustomLabel::SetShadowSize(BYTE Value) {
    if (Store(shadowSize_, Value)) SizeChanged();
}

void TZkCustomLabel::SetShadowPos(TShadowPosition Value) {
    if (Store(shadowPos_, Value)) Invalidate();
}

void TZkCustomLabel::SetAngle(TZkLabelRotateAngle Value) {
    Value = ((Value % 360) + 360) % 360;
    if (Store(angle_, Value)) SizeChanged();
}

void TZkCustomLabel::SetImages(TCustomImageList* Value) {
    DropProvider();
    if (Value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = Value;
    if (Value) Value->FreeNotification(this);
    if (autoSize_)
        SizeChanged();
    else
        Invalidate();
}

void TZkCustomLabel::SetImageIndex(int Value) {
    DropProvider();
    if (Store(imageIndex_, Value)) SizeChanged();
}

void TZkCustomLabel::SetSpacing(int Value) {
    if (Value == spacing_) return;
    spacing_ = Value;
    if (autoSize_)
        SizeChanged();
    else
        Invalidate();
}

void TZkCustomLabel::SetFrameColor(TColor Value) {
    if (Store(frameColor_, Value)) Invalidate();
}

void TZkCustomLabel::SetRoundedFrame(int Value) {
    if (Value == roundedFrame_ || Value < 0 || Value >= Height() / 2) return;
    roundedFrame_ = Value;
    Invalidate();
}

void TZkCustomLabel::SetHotTrack(bool Value) {
    if (Store(hotTrack_, Value)) Invalidate();
}

void TZkCustomLabel::SetHotTrackFontOptions(TZkTrackFontOptions Value) {
    if (Value == hotTrackFontOptions_) return;
    hotTrackFontOptions_ = Value;
    AssignHotTrackFont(hotTrackFont_.get(), Font(), hotTrackFontOptions_);
    Invalidate();
}

void TZkCustomLabel::SetHotTrackOptions(TZkHotTrackOptions* Value) {
    if (Value) hotTrackOptions_->Assign(Value);
}

void TZkCustomLabel::SizeChanged() {
    adjustNeeded_ = true;
    AdjustBounds();
    Invalidate();
}

// --- component life

void TZkCustomLabel::Loaded() {
    inherited::Loaded();
    provider_->Loaded();
    SizeChanged();
}

void TZkCustomLabel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ALeft != Left() || ATop != Top() || AWidth != Width() || AHeight != Height()) adjustNeeded_ = true;
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TZkCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove || !AComponent) return;
    if (AComponent == focusControl_) focusControl_ = nullptr;
    if (AComponent == images_) {
        images_ = nullptr;
        if (!ComponentState().Contains(csDestroying)) SizeChanged();
    }
}

// --- the data provider

void TZkCustomLabel::DropProvider() {
    if (provider_->Active()) provider_->SetProvider(nullptr);
}

void TZkCustomLabel::ConsumerChanged(TZkDataConsumer*, TZkDataChangeReason Reason) {
    // Inside a provider change nothing is settled yet.
    if (Reason == crBeginChange || ComponentState().Contains(csDestroying)) return;
    SizeChanged();
}

// --- notifications

void TZkCustomLabel::TextChanged() {
    inherited::TextChanged();
    DropProvider();
    SizeChanged();
}

void TZkCustomLabel::FontChanged() {
    inherited::FontChanged();
    adjustNeeded_ = true;
    AdjustBounds();
    AssignHotTrackFont(hotTrackFont_.get(), Font(), hotTrackFontOptions_);
}

void TZkCustomLabel::EnabledChanged() {
    std::shared_ptr<bool> alive = alive_;
    inherited::EnabledChanged();
    if (*alive) UpdateHovering();
}

void TZkCustomLabel::FocusChanged(TControl* Control) {
    const bool focused = Control && Control == focusControl_;
    if (focused != focused_) {
        focused_ = focused;
        if (showFocus_) Invalidate();
    }
    inherited::FocusChanged(Control);
}

bool TZkCustomLabel::WantKey(int Key, TShiftState Shift, const std::string& KeyText) {
    if (focusControl_ && Enabled() && showAccelChar_ && Shift.Contains(ssAlt) &&
        IsAccel(static_cast<WORD>(Key), GetLabelCaption())) {
        if (focusControl_->CanFocus()) focusControl_->SetFocus();
        return true;
    }
    return inherited::WantKey(Key, Shift, KeyText);
}

// --- mouse

bool TZkCustomLabel::MayHover() {
    if (!Enabled() || KeyPressed(VK_LBUTTON) || !IsForegroundTask()) return false;
    POINT cursor{};
    GetCursorPos(&cursor);
    return FindDragTarget(cursor, true) == this;
}

void TZkCustomLabel::UpdateHovering() {
    const bool hovering = MayHover();
    if (hovering == hovering_) return;
    hovering_ = hovering;
    if (!Transparent() && (ThemesActive() || hotTrack_)) Invalidate();
}

void TZkCustomLabel::MouseEnter(TControl* Control) {
    if (hovering_ || !Enabled() || !IsForegroundTask()) return;
    const bool dragging = KeyPressed(VK_LBUTTON);
    const bool repaint = !Transparent() && (ThemesActive() || (hotTrack_ && !dragging && !pressed_));
    hovering_ = true;
    std::shared_ptr<bool> alive = alive_;
    inherited::MouseEnter(Control);
    if (*alive && repaint) Invalidate();
}

void TZkCustomLabel::MouseLeave(TControl* Control) {
    if (!hovering_ || !Enabled()) return;
    const bool dragging = KeyPressed(VK_LBUTTON);
    const bool repaint = !Transparent() && (ThemesActive() || (hotTrack_ && (pressed_ || !dragging)));
    hovering_ = false;
    std::shared_ptr<bool> alive = alive_;
    inherited::MouseLeave(Control);
    if (*alive && repaint) Invalidate();
}

void TZkCustomLabel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && Enabled()) pressed_ = true;
    inherited::MouseDown(Button, Shift, X, Y);
}

void TZkCustomLabel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        pressed_ = false;
        UpdateHovering();
    }
    inherited::MouseUp(Button, Shift, X, Y);
}

void TZkCustomLabel::Click() {
    if (ProviderActive()) {
        TZkIntf<IZkDataItemClick> item = ZkSupports<IZkDataItemClick>(provider_->SelectedItem());
        if (item && item->Click()) return;
    }
    std::shared_ptr<bool> alive = alive_;
    inherited::Click();
    // The click handler may have freed the label.
    if (!*alive) return;
    if (autoOpenURL_ && !url_.empty()) OpenObject(url_);
}

// --- content

std::string TZkCustomLabel::GetLabelCaption() {
    if (ProviderActive())
        if (TZkIntf<IZkDataItemText> text = ZkSupports<IZkDataItemText>(provider_->SelectedItem()))
            return text->Text();
    return Caption();
}

int TZkCustomLabel::GetImageWidth() {
    return !ProviderActive() && ImageShown() ? images_->Width() : 0;
}

int TZkCustomLabel::GetImageHeight() {
    return !ProviderActive() && ImageShown() ? images_->Height() : 0;
}

void TZkCustomLabel::DoProviderDraw(TRect& Rect, UINT Flags) {
    TZkIntf<IZkDataItem> item = provider_->SelectedItem();
    TZkIntf<IZkDataItemsRenderer> renderer = provider_->SelectedItemRenderer();
    // Without a renderer the item's text is drawn as a caption.
    if (!item || !renderer) {
        DoDrawCaption(Rect, Flags);
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->SetFont(HotPainting() ? hotTrackFont_.get() : Font());
    canvas->Brush()->SetStyle(bsClear);
    renderer->DrawItem(item.get(), canvas, Rect, Flags);
}

void TZkCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
    if (ProviderActive())
        DoProviderDraw(Rect, Flags);
    else
        DoDrawCaption(Rect, Flags);
}

// --- painting

void TZkCustomLabel::PaintRoundedFrame(const TRect& R, TColor FrameColor, int Radius) {
    TCanvas* canvas = Canvas();
    if (!Transparent()) {
        // The corners outside the frame are the parent's.
        PerformEraseBackground(this, canvas->Handle(), Point(Left(), Top()), R);
    } else {
        canvas->Brush()->SetStyle(bsClear);
    }
    DrawRoundedFrame(canvas, R, FrameColor, Radius);
}

void TZkCustomLabel::PaintBackground(TRect& R) {
    TCanvas* canvas = Canvas();
    TBrush* brush = canvas->Brush();
    if (HotPainting() && hotTrackOptions_->Enabled()) {
        brush->SetColor(hotTrackOptions_->Color());
        brush->SetStyle(bsSolid);
        if (!hotTrackOptions_->FrameVisible()) {
            canvas->FillRect(R);
        } else if (roundedFrame_ > 0) {
            PaintRoundedFrame(R, hotTrackOptions_->FrameColor(), roundedFrame_);
        } else {
            TPen* pen = canvas->Pen();
            const TColor saved = pen->Color();
            pen->SetColor(hotTrackOptions_->FrameColor());
            canvas->Rectangle(0, 0, Width(), Height());
            pen->SetColor(saved);
        }
        return;
    }
    brush->SetColor(Color());
    brush->SetStyle(bsSolid);
    const bool rounded = frameColor_ != clNone && roundedFrame_ > 0;
    if (!Transparent() && !rounded) DrawThemedBackground(this, canvas, R, true);
    if (Transparent()) brush->SetStyle(bsClear);
    if (frameColor_ == clNone) return;
    if (rounded) {
        PaintRoundedFrame(R, frameColor_, roundedFrame_);
    } else {
        brush->SetColor(frameColor_);
        canvas->FrameRect(R);
        brush->SetColor(Color());
    }
}

void TZkCustomLabel::Paint() {
    TCanvas* canvas = Canvas();
    if (!Enabled()) pressed_ = false;
    TRect r = ClientRect();
    canvas->SetFont(Font());
    PaintBackground(r);
    canvas->Brush()->SetStyle(bsClear);

    r = TRect(r.Left + margins_.Left + 1, r.Top + margins_.Top, r.Right - margins_.Right - 1,
              r.Bottom - margins_.Bottom);
    const UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | AlignmentToDrawTextFlags(alignment_);
    if (layout_ != tlTop) {
        TRect measured = r;
        DoDrawText(measured, flags | DT_CALCRECT);
        const int spare = Height() - measured.Bottom;
        r = OffsetRect(r, 0, layout_ == tlBottom ? spare : spare / 2);
    }
    // The right margin is already off; the left edge is the margin itself.
    r.Left = margins_.Left;
    DoDrawText(r, flags);

    if (showFocus_ && focused_) {
        r = InflateRect(r, 1, 0);
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->DrawFocusRect(r);
    }
}

void TZkCustomLabel::DoDrawCaption(TRect& Rect, UINT Flags) {
    std::string text = GetLabelCaption();
    // An empty label (or a lone accelerator mark) still measures one line.
    if ((Flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text.assign(1, ' ');
    if (!showAccelChar_) Flags |= DT_NOPREFIX;
    Flags |= kEllipsisFlags[textEllipsis_];

    TCanvas* canvas = Canvas();
    if (HotPainting()) {
        canvas->SetFont(hotTrackFont_.get());
    } else {
        canvas->SetFont(Font());
        canvas->Font()->SetColor(GetDefaultFontColor());
    }
    TColor shadowColor = shadowColor_;
    int shadowSize = shadowSize_;
    TShadowPosition shadowPos = shadowPos_;
    if (!Enabled()) {
        canvas->Font()->SetColor(clGrayText);
        shadowColor = clBtnHighlight;
        if (shadowSize == 0) {
            shadowSize = 1;
            shadowPos = spRightBottom;
        }
    }
    if (ImageShown()) Rect.Left += GetImageWidth() + spacing_;
    if (angle_ != 0)
        DrawAngleText(Rect, Flags);
    else
        DrawShadowText(canvas, text, Flags, shadowPos, shadowColor, shadowSize, Rect);

    if (ImageShown() && !(Flags & DT_CALCRECT)) {
        const int imageHeight = GetImageHeight();
        int y = margins_.Top;
        if (layout_ == tlCenter) y = (Height() - imageHeight) / 2;
        if (layout_ == tlBottom) y = Height() - imageHeight - margins_.Bottom;
        images_->Draw(canvas, margins_.Left, std::max<int>(y, margins_.Top), imageIndex_, Enabled());
    }
}

void TZkCustomLabel::DrawAngleText(TRect& Rect, UINT Flags) {
    TCanvas* canvas = Canvas();
    std::string text = GetLabelCaption();
    if (text.size() > kMaxAngleText) text.resize(kMaxAngleText);
    const std::wstring wide = ToWide(text);
    const TSize extent = canvas->TextExtent(wide);
    const TAngleTextPlace place =
        PlaceAngleText(angle_, extent.cx, extent.cy, autoSize_, alignment_, ClientRect());
    const int imageExtent = ImageShown() ? GetImageWidth() + spacing_ : 0;
    if (Flags & DT_CALCRECT) {
        Rect.Right = Rect.Left + place.BoxWidth + imageExtent + margins_.Left + margins_.Right;
        Rect.Bottom = Rect.Top + place.BoxHeight + margins_.Top + margins_.Bottom;
        return;
    }
    const int x = place.Origin.X + imageExtent + margins_.Left;
    const int y = place.Origin.Y + margins_.Top;

    LOGFONTW logFont = canvas->Font()->LogFont();
    logFont.lfEscapement = logFont.lfOrientation = angle_ * 10;
    logFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    TFontHandle rotated(CreateFontIndirectW(&logFont));
    const TColor textColor = canvas->Font()->Color();
    HDC dc = canvas->Handle();
    TSaveDC saved(dc);
    SelectObject(dc, rotated.Get());
    SetBkMode(dc, TRANSPARENT);
    auto out = [&](int X, int Y, TColor Color) {
        SetTextColor(dc, ColorToRGB(Color));
        ExtTextOutW(dc, X, Y, 0, nullptr, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
    };
    if (!Enabled()) {
        out(x + 1, y + 1, clBtnHighlight);
        out(x, y, clBtnShadow);
        return;
    }
    if (shadowSize_ > 0) {
        const TPoint offset = ShadowOffset(shadowPos_, shadowSize_);
        out(x + offset.X, y + offset.Y, shadowColor_);
    }
    out(x, y, textColor);
}

void TZkCustomLabel::AdjustBounds() {
    const TComponentState state = ComponentState();
    if (!autoSize_ || !adjustNeeded_ || state.Contains(csReading) || state.Contains(csLoading)) return;
    TRect r = ClientRect();
    r.Left += 1;
    r.Right -= 1;
    {
        // Measured on the screen: the label may have nothing to draw on yet.
        TWindowDC screen;
        if (auto* canvas = dynamic_cast<TControlCanvas*>(Canvas())) canvas->FreeHandle();
        Canvas()->SetHandle(screen.Get());
        try {
            if (angle_ != 0) {
                Canvas()->SetFont(HotPainting() ? hotTrackFont_.get() : Font());
                DrawAngleText(
                    r, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | AlignmentToDrawTextFlags(alignment_));
            } else {
                TRect text(r.Left + margins_.Left, r.Top + margins_.Top, r.Right - margins_.Right,
                           r.Bottom - margins_.Bottom);
                DoDrawText(text, DT_CALCRECT | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0));
                r.Right = text.Right + margins_.Right;
                r.Bottom = text.Bottom + margins_.Bottom;
            }
        } catch (...) {
            Canvas()->SetHandle(nullptr);
            throw;
        }
        Canvas()->SetHandle(nullptr);
    }
    r.Left -= 1;
    r.Right += 1;
    int height = r.Bottom;
    if (ImageShown()) height = std::max<int>(height, GetImageHeight() + margins_.Top + margins_.Bottom);
    int left = Left();
    if (alignment_ == taRightJustify && !ImageShown()) left += Width() - r.Right;
    SetBounds(left, Top(), r.Right, height);
    adjustNeeded_ = false;
}
