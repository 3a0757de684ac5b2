#include "notify/zkdesktopalertoptions.h"

void TZkDesktopAlertColors::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TZkDesktopAlertColors*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    values_ = source->values_;
    Changed();
}

void TZkDesktopAlertLocation::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TZkDesktopAlertLocation*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    top_ = source->top_;
    left_ = source->left_;
    width_ = source->width_;
    height_ = source->height_;
    alwaysResetPosition_ = source->alwaysResetPosition_;
    SetPosition(source->position_);
}

void TZkDesktopAlertButtonItem::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TZkDesktopAlertButtonItem*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    imageIndex_ = source->imageIndex_;
    tag_ = source->tag_;
    OnClick = source->OnClick;
}
