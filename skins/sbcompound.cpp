#include "skins/sbcompound.h"

#include "skins/sbitemsunit.h"
#include "skins/skinmanager.h"

// ---- dock ----------------------------------------------------------------------------------

void TSbCompoundDock::DrawBackground(HDC DC, const TRect& DrawRect) {
    if (Compound && !ComponentState().Contains(csDestroying))
        Compound->DockDrawBackground(DC, DrawRect);
    else
        inherited::DrawBackground(DC, DrawRect);
}

void TSbCompoundDock::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const int oldHeight = Height();
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Compound && Height() != oldHeight) Compound->DockResized();
}

// ---- compound control ----------------------------------------------------------------------

TSbCompoundItemsControl::TSbCompoundItemsControl(TComponent* AOwner) : inherited(AOwner) {}

void TSbCompoundItemsControl::AfterConstruction() {
    inherited::AfterConstruction();
    dock_ = static_cast<TSbCompoundDock*>(CreateInstance(GetDockClass(), this));
    dock_->Compound = this;
    dock_->OnRequestDock = TBarRequestDockEvent(this, &TSbCompoundItemsControl::RequestDock);
    // Locked in place: a press on the bar never starts moving the toolbar.
    dock_->SetAllowDrag(false);
    dock_->SetParent(this);
    toolbar_ = static_cast<TSbToolbar*>(CreateInstance(GetToolbarClass(), this));
    toolbar_->SetBorderStyle(bsNone);
    toolbar_->SetDockMode(dmCannotFloatOrChangeDocks);
    toolbar_->SetDragHandleStyle(dhNone);
    toolbar_->SetStretch(true);
    toolbar_->SetShrinkMode(tbsmNone);
    toolbar_->SetShowCaption(false);
    toolbar_->SetCurrentDock(dock_);
    toolbar_->SetParent(dock_);
    if (TSbSkinManager* manager = SkinManager()) manager->AddSkinNotification(this);
}

void TSbCompoundItemsControl::BeforeDestruction() {
    RemoveSkinNotification(this);
    if (dock_) dock_->Compound = nullptr;
    inherited::BeforeDestruction();
}

void TSbCompoundItemsControl::RequestDock(TObject*, TBarCustomDockableWindow* Bar, bool& Accept) {
    Accept = Bar == toolbar_;
}

TClass TSbCompoundItemsControl::GetDockClass() {
    return TSbCompoundDock::ClassInfo();
}

TClass TSbCompoundItemsControl::GetToolbarClass() {
    return TSbToolbar::ClassInfo();
}

void TSbCompoundItemsControl::SetSkinType(TSbSkinType Value) {
    if (skinType_ == Value) return;
    skinType_ = Value;
    InvalidateBackground(true);
}

void TSbCompoundItemsControl::InvalidateBackground(bool Children) {
    if (!HandleAllocated() || ComponentState().Contains(csDestroying)) return;
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | (Children ? RDW_ALLCHILDREN : 0));
}

void TSbCompoundItemsControl::DockDrawBackground(HDC DC, const TRect& R) {
    dock_->DrawDefaultBackground(DC, R);
}

void TSbCompoundItemsControl::Loaded() {
    inherited::Loaded();
    // Controls of control items read from a form belong inside the toolbar.
    // A skinned item's own Control (the edit a label focuses, the panel a
    // button toggles) lives elsewhere and stays there.
    TBarRootItem* items = Items();
    for (int i = 0; items && i < items->Count(); ++i)
        if (auto* item = dynamic_cast<TBarControlItem*>(items->Items(i)))
            if (TControl* control = item->Control(); control && control->Parent() != toolbar_)
                control->SetParent(toolbar_);
}

void TSbCompoundItemsControl::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    if (ComponentState().Contains(csDesigning)) return;
    Params.Style |= WS_CLIPCHILDREN;
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TSbCompoundItemsControl::WndProc(TMessage& Message) {
    if (Message.Msg == SM_SKINCHANGE) {
        InvalidateBackground(true);
        return;
    }
    inherited::WndProc(Message);
}

// ---- compound bar --------------------------------------------------------------------------

TSbCompoundBar::TSbCompoundBar(TComponent* AOwner) : inherited(AOwner) {}

void TSbCompoundBar::AfterConstruction() {
    inherited::AfterConstruction();
    if (followDock_) SetHeight(Dock()->Height());
}

void TSbCompoundBar::DockResized() {
    if (followDock_ && Dock() && Height() != Dock()->Height()) SetHeight(Dock()->Height());
}

void TSbCompoundBar::DoDrawDockBackground(TCanvas* Canvas, const TRect& R, TSbDrawStage2 Stage,
                                          bool& PaintDefault) {
    if (OnDrawDockBackground) OnDrawDockBackground(this, Canvas, R, Stage, PaintDefault);
}

void TSbCompoundBar::PaintDockDefault(TCanvas* Canvas, const TRect& R) {
    static_cast<TSbCompoundDock*>(Dock())->DrawDefaultBackground(Canvas->Handle(), R);
}

void TSbCompoundBar::DockDrawBackground(HDC DC, const TRect& R) {
    TOwned<TCanvas> canvas = MakeOwned<TCanvas>();
    canvas->SetHandle(DC);
    bool paintDefault = true;
    DoDrawDockBackground(canvas.get(), R, sdbBefore, paintDefault);
    if (paintDefault) PaintDockDefault(canvas.get(), R);
    bool ignored = true;
    DoDrawDockBackground(canvas.get(), R, sdbAfter, ignored);
    canvas->SetHandle(nullptr);
}

// ---- button options ------------------------------------------------------------------------

TSbButtonOptions::TSbButtonOptions(TSbCompoundBar* AOwner) : bar_(AOwner) {}

void TSbButtonOptions::CreateButtons() {
    if (bar_->ComponentState().Contains(csDesigning) || captionItem_) return;
    captionItem_ = Create<TSbRightAlignSpacerItem>(bar_);
    Toolbar()->Items()->Add(captionItem_);
    for (TSbWindowButton which : {swbClose, swbMaximize, swbMinimize}) {
        buttons_[which] = Create<TSbItem>(bar_);
        SetupButton(buttons_[which], visible_[which], imageIndex_[which]);
    }
    UpdateCaptionVisibility();
    UpdateButtonImage();
}

void TSbButtonOptions::SetupButton(TSbItem* Button, bool Show, int) {
    Button->SetCustomWidth(17);
    Button->SetCustomHeight(titleBarSize_);
    Button->SetDisplayMode(nbdmImageAndText);
    Button->OnDrawImage = TSbItemDrawEvent(this, &TSbButtonOptions::DoDrawImage);
    Button->OnDrawItem = TSbItemDrawEvent(this, &TSbButtonOptions::DoDrawItem);
    Button->OnClick = TNotifyEvent(this, &TSbButtonOptions::ButtonClick);
    Button->SetVisible(false);
    Toolbar()->Items()->Add(Button);
    Button->SetVisible(Show);
}

void TSbButtonOptions::DetachButtons() {
    for (TSbItem* button : buttons_) {
        if (!button) continue;
        button->OnClick = {};
        button->OnDrawImage = {};
        button->OnDrawItem = {};
    }
}

void TSbButtonOptions::DoDrawImage(TObject*, TCanvas*, TRect, const TSbItemDrawInfo&, TSbDrawStage, bool&) {}

void TSbButtonOptions::DoDrawItem(TObject*, TCanvas*, TRect, const TSbItemDrawInfo&, TSbDrawStage Stage,
                                  bool& PaintDefault) {
    // Without borders a button shows only its glyph over the bar.
    if (Stage == sdsBefore && !buttonBorders_) PaintDefault = false;
}

void TSbButtonOptions::Loaded() {
    if (!captionItem_) return;
    TFontStyles bold;
    bold.Include(fsBold);
    captionItem_->FontSettings()->SetStyle(bold);
    captionItem_->SetWrapping(twEndEllipsis);
    SetTitleBarSize(titleBarSize_);
    TBarRootItem* items = Toolbar()->Items();
    items->Move(items->IndexOf(captionItem_), 0);
    for (TSbWindowButton which : {swbMinimize, swbMaximize, swbClose})
        items->Move(items->IndexOf(buttons_[which]), items->Count() - 1);
    Toolbar()->Arrange();
}

void TSbButtonOptions::SetButtonBorders(bool Value) {
    if (buttonBorders_ == Value) return;
    buttonBorders_ = Value;
    if (Toolbar()) Toolbar()->Invalidate();
}

void TSbButtonOptions::SetVisibleOption(TSbWindowButton Which, bool Value) {
    if (visible_[Which] == Value) return;
    visible_[Which] = Value;
    if (buttons_[Which]) buttons_[Which]->SetVisible(Value);
    UpdateCaptionVisibility();
}

void TSbButtonOptions::SetImageOption(TSbWindowButton Which, int Value) {
    imageIndex_[Which] = Value < 0 ? -1 : Value;
    UpdateButtonImage();
}

void TSbButtonOptions::SetRestoreImageIndex(int Value) {
    restoreImageIndex_ = Value < 0 ? -1 : Value;
    UpdateButtonImage();
}

void TSbButtonOptions::SetTitleBarSize(int Value) {
    titleBarSize_ = Value;
    for (TSbItem* button : buttons_)
        if (button) button->SetCustomHeight(Value);
    if (Toolbar() && Toolbar()->SkinnedView()) Toolbar()->SkinnedView()->MaxItemSize = Value;
}

void TSbButtonOptions::SetCaptionText(const std::wstring& Value) {
    captionText_ = Value;
    UpdateCaptionVisibility();
}

void TSbButtonOptions::UpdateCaptionVisibility() {
    if (!captionItem_) return;
    // The caption item is also the spacer that keeps the buttons at the right.
    captionItem_->SetVisible(visible_[swbCaption] || visible_[swbClose] || visible_[swbMinimize] ||
                             visible_[swbMaximize]);
    captionItem_->SetCaption(visible_[swbCaption] ? captionText_ : std::wstring());
}

void TSbButtonOptions::UpdateButtonImage() {
    auto show = [](TSbCustomItem* item, int index, int glyph) {
        if (!item) return;
        if (index >= 0) {
            item->SetImages(nullptr);
            item->SetImageIndex(index);
        } else if (glyph >= 0) {
            item->SetImages(SbGlyphMarkerList());
            item->SetImageIndex(glyph);
        } else {
            item->SetImages(nullptr);
            item->SetImageIndex(-1);
        }
    };
    show(captionItem_, imageIndex_[swbCaption], -1);
    show(buttons_[swbClose], imageIndex_[swbClose], 0);
    show(buttons_[swbMinimize], imageIndex_[swbMinimize], 2);
    if (IsMaximized())
        show(buttons_[swbMaximize], restoreImageIndex_, 3);
    else
        show(buttons_[swbMaximize], imageIndex_[swbMaximize], 1);
    // The buttons show only pictures: their hints name them, as the system
    // names its own, for the tooltip and for accessibility clients.
    auto name = [](TSbItem* button, const wchar_t* text) {
        if (button) button->SetHint(text);
    };
    name(buttons_[swbClose], L"Close");
    name(buttons_[swbMinimize], L"Minimize");
    name(buttons_[swbMaximize], IsMaximized() ? L"Restore" : L"Maximize");
}
