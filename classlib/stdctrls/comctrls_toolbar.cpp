#include "classlib/stdctrls/comctrls_toolbar.h"

#include <algorithm>

#include "classlib/stdctrls/commoncontrols.h"
#include "classlib/windows/hints.h"

// --- TToolButton

TToolButton::TToolButton(TComponent* AOwner)
    : inherited(AOwner), actions_(this, &MakeControlActionLink<TToolButtonActionLink>) {
    actions_.OnActionChange = TActionChangeEvent(this, &TToolButton::ActionChanged);
    SetControlStyle({csCaptureMouse, csSetCaption});
    SetBounds(0, 0, 23, 22);
}

TToolBar* TToolButton::ToolBar() const {
    return dynamic_cast<TToolBar*>(Parent());
}

int TToolButton::Index() const {
    TToolBar* bar = ToolBar();
    if (!bar) return -1;
    auto it = std::find(bar->buttons_.begin(), bar->buttons_.end(), this);
    return it == bar->buttons_.end() ? -1 : static_cast<int>(it - bar->buttons_.begin());
}

void TToolButton::Changed() {
    if (TToolBar* bar = ToolBar()) bar->UpdateButtons();
}

void TToolButton::SetImageIndex(int Value) {
    if (Value == imageIndex_) return;
    imageIndex_ = Value;
    Changed();
}

void TToolButton::SetStyle(TToolButtonStyle Value) {
    if (Value == style_) return;
    style_ = Value;
    Changed();
}

void TToolButton::SetDown(bool Value) {
    if (Value == down_) return;
    down_ = Value;
    Changed();
}

void TToolButton::Click() {
    if (style_ == tbsCheck) SetDown(!down_);
    actions_.Click();
}

void TToolButton::InitiateAction() {
    actions_.InitiateAction();
}

void TToolButton::Loaded() {
    inherited::Loaded();
    actions_.Loaded();
}

void TToolButton::ActionChanged(TObject* Sender, bool CheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action) return;
    if (!CheckDefaults || imageIndex_ == -1) SetImageIndex(action->ImageIndex());
    if (!CheckDefaults || !down_) SetDown(action->Checked());
}

void TToolButton::WndProc(TMessage& Message) {
    inherited::WndProc(Message);
    switch (Message.Msg) {
        case CM_TEXTCHANGED:
        case CM_ENABLEDCHANGED:
        case CM_VISIBLECHANGED:
            Changed();
            break;
    }
}

bool TToolButtonActionLink::IsCheckedLinked() {
    return inherited::IsCheckedLinked() && Button() && Button()->Down() == CustomAction()->Checked();
}

bool TToolButtonActionLink::IsImageIndexLinked() {
    return inherited::IsImageIndexLinked() && Button() &&
           Button()->ImageIndex() == CustomAction()->ImageIndex();
}

void TToolButtonActionLink::SetChecked(bool Value) {
    if (IsCheckedLinked()) Button()->SetDown(Value);
}

void TToolButtonActionLink::SetImageIndex(int Value) {
    if (IsImageIndexLinked()) Button()->SetImageIndex(Value);
}

// --- TToolBar

TToolBar::TToolBar(TComponent* AOwner) : inherited(AOwner), imageChangeLink_(Create<TChangeLink>()) {
    InitCommonControlClasses(ICC_BAR_CLASSES);
    imageChangeLink_->OnChange = TNotifyEvent(this, &TToolBar::ImageListChange);
    SetControlStyle({csAcceptsControls, csDoubleClicks, csSetCaption, csMenuEvents});
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

void TToolBar::BeforeDestruction() {
    imageChangeLink_->SetSender(nullptr);
    inherited::BeforeDestruction();
}

void TToolBar::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    CreateSubClass(Params, TOOLBARCLASSNAMEW);
    Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | CCS_TOP | TBSTYLE_TOOLTIPS;
    if (flat_) Params.Style |= TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TToolBar::CreateHandleDone() {
    inherited::CreateHandleDone();
    SendMessageW(handle_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    UpdateButtons();
}

void TToolBar::SetFlat(bool Value) {
    if (Value == flat_) return;
    flat_ = Value;
    RecreateWnd();
}

void TToolBar::SetShowCaptions(bool Value) {
    if (Value == showCaptions_) return;
    showCaptions_ = Value;
    RecreateWnd();
}

void TToolBar::SetButtonWidth(int Value) {
    if (Value == buttonWidth_) return;
    buttonWidth_ = Value;
    UpdateButtons();
}

void TToolBar::SetButtonHeight(int Value) {
    if (Value == buttonHeight_) return;
    buttonHeight_ = Value;
    UpdateButtons();
}

void TToolBar::SetImages(TCustomImageList* Value) {
    if (Value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = Value;
    imageChangeLink_->SetSender(Value);
    if (Value) Value->FreeNotification(this);
    RecreateWnd();
}

void TToolBar::ImageListChange(TObject*) {
    if (HandleAllocated()) {
        SendMessageW(handle_, TB_SETIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(images_ ? images_->Handle() : nullptr));
        Invalidate();
    }
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) {
        images_ = nullptr;
        imageChangeLink_->SetSender(nullptr);
        if (HandleAllocated() && !ComponentState().Contains(csDestroying))
            SendMessageW(handle_, TB_SETIMAGELIST, 0, 0);
    }
}

void TToolBar::UpdateButtons() {
    if (!HandleAllocated() || ComponentState().Contains(csDestroying)) return;
    while (SendMessageW(handle_, TB_DELETEBUTTON, 0, 0)) {
    }
    SendMessageW(handle_, TB_SETIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(images_ ? images_->Handle() : nullptr));
    if (images_) SendMessageW(handle_, TB_SETBITMAPSIZE, 0, MAKELONG(images_->Width(), images_->Height()));
    captions_.clear();
    captions_.reserve(buttons_.size());
    std::vector<TBBUTTON> native;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        TToolButton* button = buttons_[i];
        TBBUTTON b{};
        b.idCommand = static_cast<int>(i + 1);
        b.iBitmap = button->imageIndex_ >= 0 ? button->imageIndex_ : I_IMAGENONE;
        b.fsState = TBSTATE_ENABLED;
        if (!button->Enabled()) b.fsState = 0;
        if (!button->Visible()) b.fsState |= TBSTATE_HIDDEN;
        if (button->down_) b.fsState |= TBSTATE_CHECKED;
        switch (button->style_) {
            case tbsSeparator:
            case tbsDivider:
                b.fsStyle = BTNS_SEP;
                b.iBitmap = button->Width();
                break;
            case tbsCheck:
                b.fsStyle = BTNS_CHECK;
                break;
            case tbsDropDown:
                b.fsStyle = BTNS_DROPDOWN;
                break;
            default:
                b.fsStyle = BTNS_BUTTON;
        }
        captions_.push_back(button->GetWideText());
        b.iString = showCaptions_ ? reinterpret_cast<INT_PTR>(captions_.back().c_str()) : -1;
        native.push_back(b);
    }
    if (!native.empty())
        SendMessageW(handle_, TB_ADDBUTTONSW, native.size(), reinterpret_cast<LPARAM>(native.data()));
    if (!showCaptions_) SendMessageW(handle_, TB_SETBUTTONSIZE, 0, MAKELONG(buttonWidth_, buttonHeight_));
    SendMessageW(handle_, TB_AUTOSIZE, 0, 0);
    for (size_t i = 0; i < buttons_.size(); ++i) {
        RECT r{};
        if (SendMessageW(handle_, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)))
            buttons_[i]->UpdateBoundsRect(r);
    }
    Invalidate();
}

void TToolBar::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            // The buttons are the tool bar's own: its window tracks the mouse
            // over them, not the button controls.
            TControl::WndProc(Message);
            return;
        case CN_COMMAND: {
            const int index = static_cast<int>(Message.WParamLo()) - 1;
            if (index >= 0 && index < ButtonCount()) buttons_[static_cast<size_t>(index)]->Click();
            return;
        }
        case WM_NOTIFY: {
            auto* header = Message.LParamAs<NMHDR>();
            if (header->code == TTN_GETDISPINFOW) {
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
                const int index = static_cast<int>(header->idFrom) - 1;
                tipText_.clear();
                if (index >= 0 && index < ButtonCount() && buttons_[static_cast<size_t>(index)]->ShowHint())
                    tipText_ = GetShortHint(buttons_[static_cast<size_t>(index)]->WideHint());
                info->lpszText = tipText_.data();
                info->szText[0] = L'\0';
                info->hinst = nullptr;
                return;
            }
            break;
        }
        case CM_CONTROLCHANGE:
            if (auto* button = dynamic_cast<TToolButton*>(reinterpret_cast<TControl*>(Message.WParam))) {
                std::erase(buttons_, button);
                if (Message.LParam) buttons_.push_back(button);
                UpdateButtons();
            }
            return;
    }
    inherited::WndProc(Message);
}
