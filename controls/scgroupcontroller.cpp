#include "controls/scgroupcontroller.h"

#include <algorithm>

#include "controls/scgroup.h"

TScGroupController::TScGroupController(TComponent* AOwner) : inherited(AOwner) {
    font_ = MakeOwned<TFont>();
    font_->SetColor(clWindowText);
    captionFont_ = MakeOwned<TFont>();
    captionFont_->Assign(font_.get());
    captionFont_->SetStyle({fsBold});
    captionFont_->SetColor(clHighlight);
    itemStaticFont_ = MakeOwned<TFont>();
    itemStaticFont_->Assign(font_.get());
    for (TFont* font : {font_.get(), captionFont_.get(), itemStaticFont_.get()})
        font->OnChange = TNotifyEvent(this, &TScGroupController::FontChanged);
}

void TScGroupController::BeforeDestruction() {
    for (TScGroup* group : std::vector<TScGroup*>(groups_)) group->controller_ = nullptr;
    groups_.clear();
    inherited::BeforeDestruction();
}

void TScGroupController::FontChanged(TObject* Sender) {
    if (Sender == font_.get()) PushAll(gcpFont);
    if (Sender == captionFont_.get()) PushAll(gcpCaptionFont);
    if (Sender == itemStaticFont_.get()) PushAll(gcpItemStaticFont);
}

void TScGroupController::SetParentColor(bool Value) {
    if (parentColor_ == Value) return;
    parentColor_ = Value;
    PushAll(gcpParentColor);
    if (!Value) PushAll(gcpColor);
}

void TScGroupController::SetParentFont(bool Value) {
    if (parentFont_ == Value) return;
    parentFont_ = Value;
    PushAll(gcpParentFont);
    if (!Value) PushAll(gcpFont);
}

void TScGroupController::SetRegIniFile(TComponent* Value) {
    if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
    regIniFile_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TScGroupController::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == regIniFile_) regIniFile_ = nullptr;
}

void TScGroupController::EndUpdate() {
    if (--updateCount_ > 0) return;
    updateCount_ = 0;
    PushAll(gcpAll);
}

void TScGroupController::Loaded() {
    inherited::Loaded();
    PushAll(gcpAll);
}

void TScGroupController::AddGroup(TScGroup* Group) {
    if (std::find(groups_.begin(), groups_.end(), Group) == groups_.end()) groups_.push_back(Group);
    Push(Group, gcpAll);
}

void TScGroupController::RemoveGroup(TScGroup* Group) {
    groups_.erase(std::remove(groups_.begin(), groups_.end(), Group), groups_.end());
    groups_.shrink_to_fit();
}

void TScGroupController::PushAll(TScGroupControllerProperty Property) {
    if (updateCount_ > 0) return;
    for (TScGroup* group : std::vector<TScGroup*>(groups_)) Push(group, Property);
}

void TScGroupController::Push(TScGroup* Group, TScGroupControllerProperty Property) {
    const bool all = Property == gcpAll;
    auto is = [&](TScGroupControllerProperty p) { return all || Property == p; };
    if (is(gcpBorderColor)) Group->SetBorderColor(borderColor_);
    if (is(gcpCaptionColor)) Group->SetCaptionColor(captionColor_);
    if (is(gcpCaptionColorStart)) Group->SetCaptionColorStart(captionColorStart_);
    if (is(gcpCaptionColorStop)) Group->SetCaptionColorStop(captionColorStop_);
    if (is(gcpCaptionFont)) Group->SetCaptionFont(captionFont_.get());
    if (is(gcpCaptionHeight)) Group->SetCaptionHeight(captionHeight_);
    if (is(gcpCaptionHotColor)) Group->SetCaptionHotColor(captionHotColor_);
    if (Property == gcpColor || (all && !parentColor_)) Group->SetColor(color_);
    if (is(gcpParentColor)) Group->SetParentColor(parentColor_);
    if (is(gcpDividerColor)) Group->SetDividerColor(dividerColor_);
    if (is(gcpDividerVisible)) Group->SetDividerVisible(dividerVisible_);
    if (Property == gcpFont || (all && !parentFont_)) Group->SetFont(font_.get());
    if (is(gcpParentFont)) Group->SetParentFont(parentFont_);
    if (is(gcpItemHeight)) Group->SetItemHeight(itemHeight_);
    if (is(gcpItemHotColor)) Group->SetItemHotColor(itemHotColor_);
    if (is(gcpItemIndent)) Group->SetItemIndent(static_cast<std::uint8_t>(itemIndent_));
    if (is(gcpItemStaticFont)) Group->SetItemStaticFont(itemStaticFont_.get());
    if (is(gcpSelectionColor)) Group->SetSelectionColor(selectionColor_);
    if (is(gcpSelectionShadowColor)) Group->SetSelectionShadowColor(selectionShadowColor_);
    if (is(gcpSelectionFrameColor)) Group->SetSelectionFrameColor(selectionFrameColor_);
    if (is(gcpShowItemSelection)) Group->SetShowItemSelection(showItemSelection_);
    if (is(gcpItemSelectionStyle)) Group->SetItemSelectionStyle(itemSelectionStyle_);
    if (is(gcpIgnoreSelectedItemClick)) Group->SetIgnoreSelectedItemClick(ignoreSelectedItemClick_);
}
