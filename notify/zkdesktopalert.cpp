#include "notify/zkdesktopalert.h"

#include "classlib/windows/application.h"
#include "classlib/windows/screen.h"
#include "foundation/zkutils.h"

namespace {
constexpr int DefaultWidth = 329;
constexpr int DefaultHeight = 76;

// The plain corner of a corner position of the main, owner or active form.
TZkDesktopAlertPosition PlainCorner(TZkDesktopAlertPosition Position) {
    if (Position >= dapMainFormTopLeft && Position <= dapActiveFormBottomRight)
        return static_cast<TZkDesktopAlertPosition>((Position - dapMainFormTopLeft) % 4);
    return Position;
}
}  // namespace

TZkDesktopAlert::TZkDesktopAlert(TComponent* AOwner) : inherited(AOwner) {
    colors_ = MakeOwned<TZkDesktopAlertColors>();
    buttons_ = MakeOwned<TZkDesktopAlertButtons>(this);
    location_ = MakeOwned<TZkDesktopAlertLocation>();
    location_->OnChange = TNotifyEvent(this, &TZkDesktopAlert::LocationChanged);
    window_ = Create<TZkFormDesktopAlert>(this);
    window_->SetAlert(this);
    styleHandler_ = TOwned<TZkCustomDesktopAlertStyleHandler>(Create<TZkFadeAlertStyleHandler>(window_));
    window_->SetStyleHandler(styleHandler_.get());
}

void TZkDesktopAlert::BeforeDestruction() {
    *alive_ = false;
    if (autoFree_ && Owner()) Owner()->RemoveComponent(this);
    if (TZkFormDesktopAlert* window = window_) {
        Destroying();
        // A window in its show cannot close: it stops showing instead.
        if (window->Visible() && !window->InShow()) window->Close();
        window->OnCloseRelay = nullptr;
        CurrentStack()->Remove(window);
        window->SetStyleHandler(nullptr);
        window->SetAlert(nullptr);
        window_ = nullptr;
        imageButtons_.clear();
        if (window->Busy()) {
            // Freed by a handler of the window's own show or close: the
            // window lives until that is over, held by the application
            // meanwhile.
            if (window->Owner() == this) {
                RemoveComponent(window);
                if (Application) Application->InsertComponent(window);
            }
            window->ReleaseWhenDone();
        } else {
            window->Free();
        }
    }
    if (alertStack_) alertStack_->RemoveFreeNotification(this);
    if (images_) images_->RemoveFreeNotification(this);
    inherited::BeforeDestruction();
}

TZkDesktopAlertStack* TZkDesktopAlert::CurrentStack() const {
    return alertStack_ ? alertStack_ : ProcessAlertStack();
}

void TZkDesktopAlert::SetAlertStack(TZkDesktopAlertStack* Value) {
    if (Value == alertStack_) return;
    if (alertStack_) alertStack_->RemoveFreeNotification(this);
    alertStack_ = Value;
    if (Value) {
        Value->FreeNotification(this);
        location_->SetPosition(Value->Position());
    }
}

void TZkDesktopAlert::SetAlertStyle(TZkAlertStyle Value) {
    if (Value == alertStyle_) return;
    alertStyle_ = Value;
    if (window_) window_->SetStyleHandler(nullptr);
    if (Value == asCenterGrow)
        styleHandler_.reset(Create<TZkCenterGrowAlertStyleHandler>(window_));
    else
        styleHandler_.reset(Create<TZkFadeAlertStyleHandler>(window_));
    if (window_) window_->SetStyleHandler(styleHandler_.get());
}

void TZkDesktopAlert::SetOptions(TZkDesktopAlertOptions Value) {
    if (!Value.Contains(daoCanMove)) Value.Exclude(daoCanMoveAnywhere);
    options_ = Value;
}

void TZkDesktopAlert::SetImages(TCustomImageList* Value) {
    if (Value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TZkDesktopAlert::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == alertStack_) alertStack_ = nullptr;
    if (AComponent == images_) images_ = nullptr;
    if (AComponent == window_) {
        window_ = nullptr;
        imageButtons_.clear();
    }
}

void TZkDesktopAlert::LocationChanged(TObject*) {
    if (syncingLocation_) return;
    syncingLocation_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{syncingLocation_};
    if (alertStack_) {
        if (location_->Position() != alertStack_->Position()) location_->SetPosition(alertStack_->Position());
    } else if (!userMoving_) {
        ProcessAlertStack()->SetPosition(location_->Position());
    }
}

// --- forwarded to the window

std::string TZkDesktopAlert::HeaderText() const {
    return window_ ? window_->HeaderLabel()->Caption() : std::string();
}

void TZkDesktopAlert::SetHeaderText(const std::string& Value) {
    if (window_) window_->HeaderLabel()->SetCaption(Value);
}

std::string TZkDesktopAlert::MessageText() const {
    return window_ ? window_->MessageLabel()->Caption() : std::string();
}

void TZkDesktopAlert::SetMessageText(const std::string& Value) {
    if (!window_) return;
    window_->MessageLabel()->SetCaption(Value);
    if (window_->HandleAllocated()) window_->Update();
}

TFont* TZkDesktopAlert::HeaderFont() const {
    return window_ ? window_->HeaderLabel()->Font() : nullptr;
}

void TZkDesktopAlert::SetHeaderFont(TFont* Value) {
    if (window_) window_->HeaderLabel()->SetFont(Value);
}

TFont* TZkDesktopAlert::Font() const {
    return window_ ? window_->MessageLabel()->Font() : nullptr;
}

void TZkDesktopAlert::SetFont(TFont* Value) {
    if (window_) window_->MessageLabel()->SetFont(Value);
}

TPicture* TZkDesktopAlert::Image() const {
    return window_ ? window_->Image()->Picture() : nullptr;
}

void TZkDesktopAlert::SetImage(TPicture* Value) {
    if (window_) window_->Image()->SetPicture(Value);
}

TPopupMenu* TZkDesktopAlert::DropDownMenu() const {
    return window_ ? window_->DropDownButton()->DropDownMenu() : nullptr;
}

void TZkDesktopAlert::SetDropDownMenu(TPopupMenu* Value) {
    if (window_) window_->DropDownButton()->SetDropDownMenu(Value);
}

TPopupMenu* TZkDesktopAlert::PopupMenu() const {
    return window_ ? window_->PopupMenu() : nullptr;
}

void TZkDesktopAlert::SetPopupMenu(TPopupMenu* Value) {
    if (window_) window_->SetPopupMenu(Value);
}

std::string TZkDesktopAlert::Hint() const {
    return window_ ? window_->Hint() : std::string();
}

void TZkDesktopAlert::SetHint(const std::string& Value) {
    if (window_) window_->SetHint(Value);
}

bool TZkDesktopAlert::ShowHint() const {
    return window_ && window_->ShowHint();
}

void TZkDesktopAlert::SetShowHint(bool Value) {
    if (window_) window_->SetShowHint(Value);
}

bool TZkDesktopAlert::ParentFont() const {
    return window_ && window_->ParentFont();
}

void TZkDesktopAlert::SetParentFont(bool Value) {
    if (window_) window_->SetParentFont(Value);
}

TNotifyEvent TZkDesktopAlert::OnCloseButtonClick() const {
    return window_ ? window_->CloseButton()->OnClick : TNotifyEvent();
}

void TZkDesktopAlert::SetOnCloseButtonClick(const TNotifyEvent& Value) {
    if (window_) window_->CloseButton()->OnClick = Value;
}

// --- showing

TRect TZkDesktopAlert::ReferenceRect(TZkDesktopAlertPosition Position) const {
    TRect area;
    GetWorkArea(area);
    TCustomForm* form = nullptr;
    if (Position >= dapMainFormTopLeft && Position <= dapMainFormBottomRight)
        form = Application ? Application->MainForm() : nullptr;
    else if (Position >= dapActiveFormTopLeft && Position <= dapActiveFormBottomRight)
        form = Screen ? Screen->ActiveForm() : nullptr;
    else if (Position >= dapOwnerFormTopLeft && Position <= dapOwnerFormBottomRight)
        form = dynamic_cast<TCustomForm*>(Owner());
    return form ? form->BoundsRect() : area;
}

void TZkDesktopAlert::PlaceWindow() {
    const TZkDesktopAlertPosition position = location_->Position();
    const TRect r = ReferenceRect(position);
    const int width = location_->Width() ? location_->Width() : DefaultWidth;
    const int height = location_->Height() ? location_->Height() : DefaultHeight;
    window_->SetBounds(window_->Left(), window_->Top(), width, height);
    switch (PlainCorner(position)) {
        case dapTopLeft:
            window_->SetBounds(r.Left, r.Top, width, height);
            return;
        case dapTopRight:
            window_->SetBounds(r.Right - width, r.Top, width, height);
            return;
        case dapBottomLeft:
            window_->SetBounds(r.Left, r.Bottom - height, width, height);
            return;
        case dapBottomRight:
            window_->SetBounds(r.Right - width, r.Bottom - height, width, height);
            return;
        case dapCustom:
            window_->SetBounds(location_->Left(), location_->Top(), width, height);
            return;
        default:
            break;
    }
    window_->CentreIn(r);
    TCustomForm* form = nullptr;
    if (position == dapActiveFormCenter)
        form = Screen ? Screen->ActiveForm() : nullptr;
    else if (position == dapMainFormCenter)
        form = Application ? Application->MainForm() : nullptr;
    else if (position == dapOwnerFormCenter)
        form = dynamic_cast<TCustomForm*>(Owner());
    if (form) window_->CentreIn(form->BoundsRect());
}

void TZkDesktopAlert::MakeImageButtons() {
    for (ImageButton& old : imageButtons_) old.Button->Free();
    imageButtons_.clear();
    for (int i = 0; i < buttons_->Count(); ++i) {
        TZkDesktopAlertButtonItem* item = buttons_->Items(i);
        auto* button = Create<TZkDesktopAlertButton>(window_);
        button->SetBounds(2 + 22 * i, window_->Height() - 23, 21, 21);
        button->SetToolType(abtImage);
        button->SetImages(images_);
        button->SetImageIndex(item->ImageIndex());
        button->SetTag(item->Tag());
        button->OnClick = TNotifyEvent(this, &TZkDesktopAlert::ImageButtonClick);
        button->SetParent(window_);
        imageButtons_.push_back({button, item->OnClick});
    }
}

bool TZkDesktopAlert::Execute() {
    if (!window_) return true;
    if (window_->Visible()) {
        // OnClose may free this alert.
        std::shared_ptr<bool> alive = alive_;
        reshowing_ = true;
        try {
            window_->Close();
        } catch (...) {
            if (*alive) reshowing_ = false;
            throw;
        }
        if (!*alive) return true;
        reshowing_ = false;
        if (!window_) return true;
    }
    PlaceWindow();

    window_->OnShowingRelay = TNotifyEvent(this, &TZkDesktopAlert::WindowShowing);
    window_->OnShow = TNotifyEvent(this, &TZkDesktopAlert::WindowShow);
    window_->OnShownRelay = TNotifyEvent(this, &TZkDesktopAlert::WindowShown);
    window_->OnCloseRelay = TCloseEvent(this, &TZkDesktopAlert::WindowClose);
    window_->OnMouseEnterRelay = TNotifyEvent(this, &TZkDesktopAlert::WindowMouseEnter);
    window_->OnMouseLeaveRelay = TNotifyEvent(this, &TZkDesktopAlert::WindowMouseLeave);
    window_->OnUserMovedRelay = TNotifyEvent(this, &TZkDesktopAlert::WindowUserMoved);
    window_->MessageLabel()->OnClick = TNotifyEvent(this, &TZkDesktopAlert::MessageClick);

    window_->Flags.CanMove = options_.Contains(daoCanMove);
    window_->Flags.CanMoveAnywhere = options_.Contains(daoCanMoveAnywhere);
    window_->Flags.CanClose = options_.Contains(daoCanClose);
    window_->Flags.CanClick = options_.Contains(daoCanClick);
    if (!Assigned(window_->CloseButton()->OnClick))
        window_->CloseButton()->OnClick = TNotifyEvent(window_, &TZkFormDesktopAlert::CloseIfAllowed);

    window_->SetFont(window_->MessageLabel()->Font());
    window_->Colors = colors_->Values();
    MakeImageButtons();

    TZkDesktopAlertStack* stack = CurrentStack();
    location_->SetPosition(stack->Position());

    HWND focus = nullptr, active = nullptr;
    if (!autoFocus_) {
        focus = GetFocus();
        active = GetActiveWindow();
    }
    window_->Flags.AutoFocus = autoFocus_;
    TZkFormDesktopAlert* window = window_;
    // The showing's handlers may free this alert.
    std::shared_ptr<bool> alive = alive_;
    window->ShowNoActivate();
    if (!*alive) return true;
    if (!autoFocus_ && GetFocus() != focus) {
        if (focus)
            ::SetFocus(focus);
        else if (active)
            SetActiveWindow(active);
    }
    if (window_ == window) stack->Add(window);
    return true;
}

// --- relays

void TZkDesktopAlert::WindowShowing(TObject*) {
    if (Assigned(OnShowing)) OnShowing(this);
}

void TZkDesktopAlert::WindowShow(TObject*) {
    if (Assigned(OnShow)) OnShow(this);
}

void TZkDesktopAlert::WindowShown(TObject*) {
    if (Assigned(OnShown)) OnShown(this);
}

void TZkDesktopAlert::WindowMouseEnter(TObject*) {
    if (Assigned(OnMouseEnter)) OnMouseEnter(this);
}

void TZkDesktopAlert::WindowMouseLeave(TObject*) {
    if (Assigned(OnMouseLeave)) OnMouseLeave(this);
}

void TZkDesktopAlert::WindowClose(TObject*, TCloseAction&) {
    if (ComponentState().Contains(csDestroying) || !window_) return;
    if (location_->Position() == dapCustom) {
        location_->SetTop(window_->Top());
        location_->SetLeft(window_->Left());
    }
    if (Assigned(OnClose)) {
        // The handler may free this alert or its owner.
        std::shared_ptr<bool> alive = alive_;
        OnClose(this);
        if (!*alive || !window_) return;
    }
    CurrentStack()->Remove(window_);
    if (!autoFree_ || reshowing_) return;
    // The window frees this component and then itself once the close is
    // over; until then this component still owns it.
    window_->OnCloseRelay = nullptr;
    PostMessageW(window_->Handle(), WM_ZK_ALERT_RELEASE, reinterpret_cast<WPARAM>(window_->Handle()),
                 reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    imageButtons_.clear();
}

void TZkDesktopAlert::WindowUserMoved(TObject*) {
    if (!window_ || location_->AlwaysResetPosition() || location_->Position() == dapCustom) return;
    CurrentStack()->Remove(window_);
    userMoving_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{userMoving_};
    location_->SetPosition(dapCustom);
}

template <class F>
void TZkDesktopAlert::WithEndHeld(F Action) {
    TZkCustomDesktopAlertStyleHandler* handler = styleHandler_.get();
    const unsigned saved = handler->EndInterval();
    handler->SetEndInterval(0);
    std::shared_ptr<bool> alive = alive_;
    try {
        Action();
    } catch (...) {
        if (*alive) handler->SetEndInterval(saved);
        throw;
    }
    if (!*alive) return;
    handler->SetEndInterval(saved);
    if (window_ && window_->Visible() && !window_->MouseInside()) handler->EndAnimation();
}

void TZkDesktopAlert::MessageClick(TObject*) {
    if (!Assigned(OnMessageClick) || !options_.Contains(daoCanClick)) return;
    WithEndHeld([this] { OnMessageClick(this); });
}

void TZkDesktopAlert::ImageButtonClick(TObject* Sender) {
    for (const ImageButton& entry : imageButtons_) {
        if (entry.Button != Sender) continue;
        const TNotifyEvent click = entry.OnClick;
        if (Assigned(click)) WithEndHeld([&] { click(Sender); });
        return;
    }
}
