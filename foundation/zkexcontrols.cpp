#include "foundation/zkexcontrols.h"

#include "foundation/zkhints.h"

using zk_detail::TCurrentMessage;

TZkExGraphicControl::TZkExGraphicControl(TComponent* AOwner) : TGraphicControl(AOwner) {}

LRESULT TZkExGraphicControl::PassOn(UINT Msg) {
    return current_ ? PassOn(Msg, current_->WParam, current_->LParam) : PassOn(Msg, 0, 0);
}

LRESULT TZkExGraphicControl::PassOn(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage message{Msg, WParam, LParam, 0};
    InheritedWndProc(message);
    return message.Result;
}

void TZkExGraphicControl::WndProc(TMessage& Message) {
    TCurrentMessage current(current_, Message, alive_);
    if (!zk_detail::DispatchSharedNotification(*this, Message)) InheritedWndProc(Message);
}

void TZkExGraphicControl::TextChanged() {
    PassOn(CM_TEXTCHANGED);
}

bool TZkExGraphicControl::WantKey(int Key, TShiftState Shift, const std::string&) {
    return PassOn(CM_DIALOGCHAR, static_cast<WPARAM>(Key), zk_detail::KeyDataFromShift(Shift)) != 0;
}

bool TZkExGraphicControl::HitTest(int X, int Y) {
    return PassOn(CM_HITTEST, 0, PointToLParam(X, Y)) != 0;
}

void TZkExGraphicControl::FocusChanged(TControl* Control) {
    PassOn(CM_FOCUSCHANGED, current_ ? current_->WParam : 0, reinterpret_cast<LPARAM>(Control));
}

void TZkExGraphicControl::VisibleChanged() {
    PassOn(CM_VISIBLECHANGED);
}
void TZkExGraphicControl::EnabledChanged() {
    PassOn(CM_ENABLEDCHANGED);
}
void TZkExGraphicControl::ColorChanged() {
    PassOn(CM_COLORCHANGED);
}
void TZkExGraphicControl::FontChanged() {
    PassOn(CM_FONTCHANGED);
}
void TZkExGraphicControl::ParentFontChanged() {
    PassOn(CM_PARENTFONTCHANGED);
}
void TZkExGraphicControl::ParentShowHintChanged() {
    PassOn(CM_PARENTSHOWHINTCHANGED);
}

void TZkExGraphicControl::ParentColorChanged() {
    std::shared_ptr<bool> alive = alive_;
    PassOn(CM_PARENTCOLORCHANGED);
    if (*alive && Assigned(OnParentColorChange)) OnParentColorChange(this);
}

void TZkExGraphicControl::MouseEnter(TControl* Control) {
    mouseOver_ = true;
    std::shared_ptr<bool> alive = alive_;
    if (Assigned(OnMouseEnter)) OnMouseEnter(this);
    if (*alive) PassOn(CM_MOUSEENTER, 0, zk_detail::MouseOrigin(Control, this));
}

void TZkExGraphicControl::MouseLeave(TControl* Control) {
    mouseOver_ = false;
    std::shared_ptr<bool> alive = alive_;
    PassOn(CM_MOUSELEAVE, 0, zk_detail::MouseOrigin(Control, this));
    if (*alive && Assigned(OnMouseLeave)) OnMouseLeave(this);
}

bool TZkExGraphicControl::HintShow(THintInfo& HintInfo) {
    ResolveZkHint(HintInfo, hintColor_, hintWindowClass_, Parent());
    TStructPtrMessage message(CM_HINTSHOW, current_ ? current_->WParam : 0, &HintInfo);
    InheritedWndProc(message);
    return message.Result != 0;
}
