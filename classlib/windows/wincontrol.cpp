#include <algorithm>
#include <map>
#include <utility>

#include "classlib/core/text.h"
#include "classlib/graphics/handles.h"
#include "classlib/windows/application.h"
#include "classlib/windows/controls.h"
#include "classlib/windows/forms.h"
#include "classlib/windows/screen.h"
#include "classlib/windows/windowtable.h"

TWinControl::TWinControl(TComponent* AOwner) : inherited(AOwner), brush_(Create<TBrush>()) {
    brush_->SetColor(Color());
}

void TWinControl::BeforeDestruction() {
    Destroying();
    if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this, true);
    // Children go first, while this object is whole; each leaves the list.
    while (!controls_.empty()) controls_.back()->Free();
    if (handle_) DestroyWindowHandle();
    inherited::BeforeDestruction();
}

TWinControl* TWinControl::CreateParented(HWND ParentWindow) {
    auto* control = Create<TWinControl>(nullptr);
    control->SetParentWindow(ParentWindow);
    return control;
}

// --- the window

HWND TWinControl::Handle() {
    HandleNeeded();
    return handle_;
}

void TWinControl::HandleNeeded() {
    if (handle_) return;
    if (parent_) parent_->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    CreateWnd();
    // Keep the windows of the children in our order.
    for (TWinControl* child : tabList_)
        if (child->handle_)
            SetWindowPos(child->handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::CreateParams(TCreateParams& Params) {
    Params = TCreateParams{};
    Params.Caption = text_;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (controlStyle_.Contains(csAcceptsControls)) Params.Style |= WS_CLIPCHILDREN;
    if (!Enabled()) Params.Style |= WS_DISABLED;
    Params.X = left_;
    Params.Y = top_;
    Params.Width = width_;
    Params.Height = height_;
    Params.WndParent = parent_ && parent_->handle_ ? parent_->handle_ : parentWindow_;
    Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    // A shared system cursor: the same handle for the whole run, and each
    // load is a handful of server requests under Wine.
    static const HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    Params.WindowClass.hCursor = arrow;
    Params.WindowClass.lpfnWndProc = DefWindowProcW;
    const char* name = ClassName();
    Params.WinClassName.assign(name, name + strlen(name));
}

void TWinControl::CreateSubClass(TCreateParams& Params, const wchar_t* ClassName) {
    WNDCLASSW system{};
    if (!GetClassInfoW(nullptr, ClassName, &system) &&
        !GetClassInfoW(GetModuleHandleW(nullptr), ClassName, &system))
        return;
    // Our class borrows everything of the system class but the procedure,
    // which becomes the default one.
    const UINT keepStyle = Params.WindowClass.style & ~(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS);
    Params.WindowClass = system;
    Params.WindowClass.style = system.style | keepStyle;
    Params.WindowClass.lpszClassName = nullptr;
    Params.WindowClass.lpszMenuName = nullptr;
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if (!params.WndParent && (params.Style & WS_CHILD)) {
        if (parent_) {
            parent_->HandleNeeded();
            params.WndParent = parent_->handle_;
        }
        if (!params.WndParent) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    }
    defWndProc_ = params.WindowClass.lpfnWndProc ? params.WindowClass.lpfnWndProc : DefWindowProcW;
    params.WinClassName = classlib_detail::RegisterWindowClass(params);
    CreateWindowHandle(params);
    if (!handle_) throw EOSError("Error creating window " + Name(), GetLastError());
    // Windows created through CreateWindowExW always start with their text.
    if (!params.Caption.empty() && GetWideText() != params.Caption)
        SetWindowTextW(handle_, params.Caption.c_str());
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    CreateHandleDone();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
    classlib_detail::SetCreationControl(this);
    HWND window = CreateWindowExW(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                                  Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                                  Params.WndParent, nullptr, GetModuleHandleW(nullptr), Params.Param);
    classlib_detail::SetCreationControl(nullptr);
    if (window && !handle_) WindowCreated(window);
}

void TWinControl::WindowCreated(HWND Window) {
    handle_ = Window;
    classlib_detail::RegisterWindow(Window, this);
    classlib_detail::CountUser(1);
}

void TWinControl::WindowGone() {
    if (!handle_) return;
    classlib_detail::UnregisterWindow(handle_);
    classlib_detail::CountUser(-1);
    handle_ = nullptr;
    showing_ = false;
    trackingMouse_ = false;
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    controlState_.Include(csDestroyingHandle);
    for (TWinControl* child : tabList_) child->DestroyHandle();
    DestroyWnd();
    controlState_.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyWnd() {
    // What the window holds survives it.
    text_ = GetWideText();
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
    if (!handle_) return;
    HWND window = handle_;
    DestroyWindow(window);
    // A window of another thread, or one Windows refused to destroy, is
    // forgotten all the same so nothing reaches a freed object.
    if (handle_ == window) WindowGone();
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    const bool wasShowing = showing_;
    DestroyHandle();
    showing_ = false;
    if (wasShowing) UpdateShowing();
}

void TWinControl::SetParentWindow(HWND Value) {
    if (parent_ || Value == parentWindow_) return;
    if (handle_ && parentWindow_ && Value) {
        ::SetParent(handle_, Value);
        parentWindow_ = Value;
    } else {
        DestroyHandle();
        parentWindow_ = Value;
    }
    UpdateControlState();
}

void TWinControl::SetParent(TWinControl* AParent) {
    if (AParent == parent_) return;
    const bool keep = handle_ && AParent && AParent->handle_ && !ComponentState().Contains(csDestroying);
    keepWindow_ = keep;
    try {
        inherited::SetParent(AParent);
    } catch (...) {
        keepWindow_ = false;
        throw;
    }
    keepWindow_ = false;
    if (keep) {
        // The window moves over whole: its children, text and state stay.
        ::SetParent(handle_, AParent->handle_);
        SetWindowPos(handle_, nullptr, left_, top_, width_, height_,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    if (parent_) {
        UpdateControlState();
    } else if (handle_ && !parentWindow_ && (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD)) {
        DestroyHandle();
    }
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
    if (handle_ && !IsIconic(handle_)) {
        SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        // WM_WINDOWPOSCHANGED has updated the fields; keep what was asked
        // when Windows adjusted nothing.
    } else {
        const bool resized = AWidth != width_ || AHeight != height_;
        left_ = ALeft;
        top_ = ATop;
        width_ = AWidth;
        height_ = AHeight;
        if (resized) {
            Realign();
            if (!ComponentState().Contains(csLoading)) Resize();
        }
    }
    UpdateAnchorRules();
    RequestAlign();
}

namespace {

// The frame that a window of these styles puts around its client area.
// Under Wine each AdjustWindowRectEx reads the non-client metrics afresh,
// some seventy requests to the server, and a control without a window asks
// at every move of a child: the frames are kept until the settings change.
std::map<std::pair<DWORD, DWORD>, RECT>& Frames() {
    static std::map<std::pair<DWORD, DWORD>, RECT> frames;
    return frames;
}

RECT FrameOf(const TCreateParams& Params) {
    auto& frames = Frames();
    const auto key = std::make_pair(Params.Style, Params.ExStyle);
    if (auto known = frames.find(key); known != frames.end()) return known->second;
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, Params.Style, FALSE, Params.ExStyle);
    frames.emplace(key, frame);
    return frame;
}

}  // namespace

TRect TWinControl::ClientRect() {
    if (handle_) {
        RECT r{};
        GetClientRect(handle_, &r);
        return r;
    }
    TCreateParams params;
    CreateParams(params);
    const RECT frame = FrameOf(params);
    return Rect(0, 0, std::max<LONG>(0, width_ - (frame.right - frame.left)),
                std::max<LONG>(0, height_ - (frame.bottom - frame.top)));
}

TPoint TWinControl::ClientOrigin() {
    if (handle_) {
        POINT p{0, 0};
        ::ClientToScreen(handle_, &p);
        return p;
    }
    TCreateParams params;
    CreateParams(params);
    const RECT frame = FrameOf(params);
    TPoint origin = parent_ ? parent_->ClientOrigin() : Point(0, 0);
    return Point(origin.X + left_ - frame.left, origin.Y + top_ - frame.top);
}

std::wstring TWinControl::GetWideText() const {
    if (!handle_) return text_;
    const int length = GetWindowTextLengthW(handle_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(handle_, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

void TWinControl::SetWideText(const std::wstring& Value) {
    if (Value == GetWideText()) return;
    text_ = Value;
    if (handle_) SetWindowTextW(handle_, Value.c_str());
    Perform(CM_TEXTCHANGED);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, !controlStyle_.Contains(csOpaque));
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::BringToFront() {
    if (parent_)
        parent_->SetZOrder(this, true);
    else if (handle_)
        SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TWinControl::SendToBack() {
    if (parent_)
        parent_->SetZOrder(this, false);
    else if (handle_)
        SetWindowPos(handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SetZOrder(TControl* Control, bool TopMost) {
    auto it = std::find(controls_.begin(), controls_.end(), Control);
    if (it == controls_.end()) return;
    controls_.erase(it);
    if (TopMost)
        controls_.push_back(Control);
    else
        controls_.insert(controls_.begin(), Control);
    if (auto* windowed = dynamic_cast<TWinControl*>(Control); windowed && windowed->handle_) {
        SetWindowPos(windowed->handle_, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
        Control->InvalidateControl(Control->Visible(), true);
    }
}

void TWinControl::DefaultHandler(TMessage& Message) {
    if (!handle_) {
        // No window: only text queries have an answer.
        if (Message.Msg == WM_GETTEXTLENGTH) Message.Result = static_cast<LRESULT>(text_.size());
        return;
    }
    Message.Result = CallWindowProcW(defWndProc_ ? defWndProc_ : DefWindowProcW, handle_, Message.Msg,
                                     Message.WParam, Message.LParam);
}

// --- children

void TWinControl::InsertControl(TControl* AControl) {
    if (!AControl || AControl->parent_ == this) return;
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
    controls_.push_back(AControl);
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) tabList_.push_back(windowed);
    AControl->parent_ = this;
    AControl->Perform(CM_PARENTCOLORCHANGED);
    AControl->Perform(CM_PARENTFONTCHANGED);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED);
    AControl->UpdateAnchorRules();
    if (AControl->visible_) AlignChildren(AControl);
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
    AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl) {
    auto it = std::find(controls_.begin(), controls_.end(), AControl);
    if (it == controls_.end()) return;
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(windowed, true);
        if (!windowed->keepWindow_) windowed->DestroyHandle();
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), windowed), tabList_.end());
    } else {
        AControl->InvalidateControl(AControl->visible_, false);
    }
    if (mouseControl_ == AControl) mouseControl_ = nullptr;
    it = std::find(controls_.begin(), controls_.end(), AControl);
    if (it != controls_.end()) controls_.erase(it);
    AControl->parent_ = nullptr;
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
    if (!ComponentState().Contains(csDestroying)) Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const {
    while (Control && Control != this) Control = Control->Parent();
    return Control == this;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* control = *it;
        const bool windowed = dynamic_cast<TWinControl*>(control) != nullptr;
        if (windowed && !AllowWinControls) continue;
        if (!control->visible_ || (!AllowDisabled && !control->Enabled())) continue;
        if (!control->BoundsRect().Contains(Pos)) continue;
        const TPoint local = Point(Pos.X - control->left_, Pos.Y - control->top_);
        if (!windowed && control->Perform(CM_HITTEST, 0, PointToLParam(local.X, local.Y)) == 0) continue;
        return control;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
    for (size_t i = 0; i < controls_.size(); ++i) {
        controls_[i]->WindowProc(Message);
        if (Message.Result != 0) return;
    }
}

namespace {

void NotifyWinIniChange(TWinControl* Control, WPARAM WParam, LPARAM LParam) {
    for (int i = 0; i < Control->ControlCount(); ++i) {
        TControl* child = Control->Controls(i);
        TMessage message{CM_WININICHANGE, WParam, LParam, 0};
        child->WindowProc(message);
        if (auto* windowed = dynamic_cast<TWinControl*>(child)) NotifyWinIniChange(windowed, WParam, LParam);
    }
}

}  // namespace

void TWinControl::NotifyControls(UINT Msg) {
    TMessage message{Msg, 0, 0, 0};
    // A control may leave the list while it is told.
    std::vector<TControl*> children = controls_;
    for (TControl* child : children)
        if (std::find(controls_.begin(), controls_.end(), child) != controls_.end())
            child->WindowProc(message);
}

void TWinControl::ScrollBy(int DeltaX, int DeltaY) {
    if (DeltaX == 0 && DeltaY == 0) return;
    DisableAlign();
    std::vector<TControl*> children = controls_;
    for (TControl* child : children)
        child->SetBounds(child->left_ + DeltaX, child->top_ + DeltaY, child->width_, child->height_);
    EnableAlign();
    Invalidate();
}

// --- alignment

void TWinControl::DisableAlign() {
    ++alignLevel_;
}

void TWinControl::EnableAlign() {
    if (--alignLevel_ == 0 && controlState_.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
    AlignChildren(nullptr);
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::AlignChildren(TControl* AControl) {
    if (ComponentState().Contains(csDestroying)) return;
    if (alignLevel_ != 0) {
        controlState_.Include(csAlignmentNeeded);
        return;
    }
    DisableAlign();
    try {
        TRect rect = ClientRect();
        AlignControls(AControl, rect);
    } catch (...) {
        controlState_.Exclude(csAlignmentNeeded);
        --alignLevel_;
        throw;
    }
    controlState_.Exclude(csAlignmentNeeded);
    EnableAlign();
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
    AdjustClientRect(Rect);
    aligning_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{aligning_};

    for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient, alCustom}) {
        std::vector<TControl*> list;
        if (AControl && AControl->align_ == kind && AControl->visible_) list.push_back(AControl);
        for (TControl* c : controls_)
            if (c != AControl && c->align_ == kind && c->visible_) list.push_back(c);
        // The control being moved wins ties: it is first and the sort is stable.
        std::stable_sort(list.begin(), list.end(), [kind](TControl* a, TControl* b) {
            switch (kind) {
                case alTop:
                    return a->top_ < b->top_;
                case alBottom:
                    return a->top_ + a->height_ > b->top_ + b->height_;
                case alLeft:
                    return a->left_ < b->left_;
                case alRight:
                    return a->left_ + a->width_ > b->left_ + b->width_;
                default:
                    return false;
            }
        });
        for (TControl* c : list) {
            int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
            switch (kind) {
                case alTop:
                    l = Rect.Left, t = Rect.Top, w = Rect.Width();
                    Rect.Top += h;
                    break;
                case alBottom:
                    l = Rect.Left, t = Rect.Bottom - h, w = Rect.Width();
                    Rect.Bottom -= h;
                    break;
                case alLeft:
                    l = Rect.Left, t = Rect.Top, h = Rect.Height();
                    Rect.Left += w;
                    break;
                case alRight:
                    l = Rect.Right - w, t = Rect.Top, h = Rect.Height();
                    Rect.Right -= w;
                    break;
                case alClient:
                    l = Rect.Left, t = Rect.Top, w = Rect.Width(), h = Rect.Height();
                    break;
                default:
                    CustomAlignPosition(c, l, t, w, h);
                    break;
            }
            c->SetBounds(l, t, std::max(w, 0), std::max(h, 0));
        }
    }

    // Anchors: controls that are not aligned keep their distances to the
    // edges they are anchored to.
    TRect client = ClientRect();
    AdjustClientRect(client);
    for (TControl* c : controls_) {
        if (c->align_ != alNone || c->anchors_ == TAnchors{akLeft, akTop}) continue;
        if (c->anchorParentSize_.cx == 0 && c->anchorParentSize_.cy == 0) continue;
        const int dx = client.Width() - c->anchorParentSize_.cx;
        const int dy = client.Height() - c->anchorParentSize_.cy;
        int l = c->anchorBounds_.Left, t = c->anchorBounds_.Top;
        int w = c->anchorBounds_.Width(), h = c->anchorBounds_.Height();
        if (c->anchors_.Contains(akRight)) {
            if (c->anchors_.Contains(akLeft))
                w += dx;
            else
                l += dx;
        } else if (!c->anchors_.Contains(akLeft)) {
            l += dx / 2;
        }
        if (c->anchors_.Contains(akBottom)) {
            if (c->anchors_.Contains(akTop))
                h += dy;
            else
                t += dy;
        } else if (!c->anchors_.Contains(akTop)) {
            t += dy / 2;
        }
        c->SetBounds(l, t, std::max(w, 0), std::max(h, 0));
    }
}

void TWinControl::UpdateControlState() {
    // Only a control whose parents all show can show.
    for (TWinControl* p = parent_; p; p = p->parent_)
        if (!p->showing_) {
            if (showing_) UpdateShowing();
            return;
        }
    if (parent_ || parentWindow_ || dynamic_cast<TCustomForm*>(this)) UpdateShowing();
}

void TWinControl::UpdateShowing() {
    bool show = Visible() && !controlState_.Contains(csReadingState);
    if (parent_)
        show = show && parent_->showing_;
    else if (!parentWindow_ && !dynamic_cast<TCustomForm*>(this))
        show = false;
    if (show && !handle_) CreateHandle();
    if (show != showing_ && handle_) {
        showing_ = show;
        try {
            Perform(CM_SHOWINGCHANGED);
        } catch (...) {
            showing_ = !showing_;
            throw;
        }
    }
    std::vector<TWinControl*> children = tabList_;
    for (TWinControl* child : children)
        if (std::find(tabList_.begin(), tabList_.end(), child) != tabList_.end()) child->UpdateShowing();
}

// --- focus

void TWinControl::SetTabStop(bool Value) {
    if (Value == tabStop_) return;
    tabStop_ = Value;
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
    if (!parent_) return -1;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
    if (!parent_) return;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    Value = std::clamp(Value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + Value, this);
}

bool TWinControl::CanFocus() {
    TCustomForm* form = GetParentForm(this);
    if (!form || !form->Visible() || !form->Enabled()) return false;
    for (TControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const {
    return handle_ && GetFocus() == handle_;
}

void TWinControl::SetFocus() {
    if (TCustomForm* form = GetParentForm(this); form && form != this) {
        form->FocusControl(this);
    } else if (parentWindow_ || !parent_) {
        ::SetFocus(Handle());
    }
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
    for (TWinControl* child : tabList_) {
        List.push_back(child);
        child->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const int count = static_cast<int>(list.size());
    auto found = std::find(list.begin(), list.end(), CurControl);
    int start = found == list.end() ? (GoForward ? count - 1 : 0) : static_cast<int>(found - list.begin());
    int i = start;
    do {
        i = GoForward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* candidate = list[static_cast<size_t>(i)];
        if (candidate != CurControl && candidate->CanFocus() && (!CheckTabStop || candidate->tabStop_) &&
            (!CheckParent || candidate->parent_ == this))
            return candidate;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop))
        next->SetFocus();
}

// --- keys

bool TWinControl::DoKeyDown(TMessage& Message) {
    WORD key = static_cast<WORD>(Message.WParam);
    KeyDown(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
    WORD key = static_cast<WORD>(Message.WParam);
    KeyUp(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    return key == 0;
}

namespace {

// What KeyPress hears for a typed character that is not one byte of the code
// page (a letter the code page lacks, one of two bytes there, half of a
// surrogate pair): neither a digit nor a control key, so a filter of those
// refuses it, and a handler that leaves it lets the character itself go on.
constexpr char NoSingleByte = '?';

char KeyPressChar(wchar_t Key) {
    if (Key < 0x80) return static_cast<char>(Key);
    char ansi[2] = {};
    BOOL defaulted = FALSE;
    // No best fit: a handler never hears another character than the one typed.
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &Key, 1, ansi, sizeof ansi, nullptr, &defaulted);
    return length == 1 && !defaulted ? ansi[0] : NoSingleByte;
}

}  // namespace

bool TWinControl::DoKeyPress(TMessage& Message) {
    // Always through the virtual KeyPress: descendants filter keys there,
    // with or without an OnKeyPress handler.
    char key = KeyPressChar(static_cast<wchar_t>(Message.WParam));
    const char heard = key;
    KeyPress(key);
    if (key == 0) return true;
    if (key != heard) {
        wchar_t wide = 0;
        // A byte that is no character on its own (a lead byte) types nothing.
        if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &key, 1, &wide, 1) != 1) return true;
        Message.WParam = wide;
    }
    return false;
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
    if (Assigned(OnKeyDown)) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
    if (Assigned(OnKeyPress)) OnKeyPress(this, Key);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
    if (Assigned(OnKeyUp)) OnKeyUp(this, Key, Shift);
}

void TWinControl::DoEnter() {
    if (Assigned(OnEnter)) OnEnter(this);
}

void TWinControl::DoExit() {
    if (Assigned(OnExit)) OnExit(this);
}

// The key stage before TranslateMessage: menus and shortcuts, then dialog
// navigation, each given the chance to take the key.
void TWinControl::HandleKeyMessage(TMessage& Message) {
    Message.Result = 1;
    const WORD key = static_cast<WORD>(Message.WParam);
    TCustomForm* form = GetParentForm(this);
    if (Message.Msg == CN_KEYDOWN || Message.Msg == CN_SYSKEYDOWN) {
        TMessage keyMessage{Message.Msg - CN_BASE, Message.WParam, Message.LParam, 0};
        // The popup menus of the control and its parents, nearest first,
        // come before the form.
        if (PopupMenuShortCutProc)
            for (TControl* c = this; c; c = c->Parent())
                if (c->PopupMenu() && PopupMenuShortCutProc(c->PopupMenu(), keyMessage)) return;
        if (form && form->IsShortCut(keyMessage)) return;
        if (Application && Application->HandleAllocated() &&
            SendMessageW(Application->Handle(), CM_APPKEYDOWN, 0, reinterpret_cast<LPARAM>(&keyMessage)) != 0)
            return;
        if (Message.Msg == CN_KEYDOWN) {
            if (Perform(CM_CHILDKEY, key, reinterpret_cast<LPARAM>(this)) != 0) return;
            UINT mask = 0;
            switch (key) {
                case VK_TAB:
                    mask = DLGC_WANTTAB;
                    break;
                case VK_LEFT:
                case VK_RIGHT:
                case VK_UP:
                case VK_DOWN:
                    mask = DLGC_WANTARROWS;
                    break;
                case VK_RETURN:
                case VK_EXECUTE:
                case VK_ESCAPE:
                case VK_CANCEL:
                    mask = DLGC_WANTALLKEYS;
                    break;
            }
            if (mask && Perform(CM_WANTSPECIALKEY, key) == 0 && (Perform(WM_GETDLGCODE) & mask) == 0 &&
                form && form->Perform(CM_DIALOGKEY, key, Message.LParam) != 0)
                return;
        }
    } else if (Message.Msg == CN_CHAR) {
        if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0 && form &&
            form->Perform(CM_DIALOGCHAR, key, Message.LParam) != 0)
            return;
    } else if (Message.Msg == CN_SYSCHAR) {
        if (key != VK_SPACE && form && form->Perform(CM_DIALOGCHAR, key, Message.LParam) != 0) return;
    }
    Message.Result = 0;
}

// --- mouse

void TWinControl::UpdateMouseControl(TControl* Control) {
    if (Control == mouseControl_) return;
    TControl* old = mouseControl_;
    mouseControl_ = Control;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (Control && mouseControl_ == Control) Control->Perform(CM_MOUSEENTER);
}

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
    TControl* target = nullptr;
    TControl* capture = GetCaptureControl();
    if (capture && capture->Parent() == this && !dynamic_cast<TWinControl*>(capture)) {
        target = capture;
    } else if (!capture || capture == this) {
        target = ControlAtPos(Message.Pos(), false);
    }
    if (Message.Msg == WM_MOUSEMOVE) UpdateMouseControl(ControlAtPos(Message.Pos(), false));
    if (!target) return false;
    TMessage forwarded = Message;
    forwarded.LParam = PointToLParam(Message.XPos() - target->left_, Message.YPos() - target->top_);
    target->WindowProc(forwarded);
    Message.Result = forwarded.Result;
    return true;
}

bool TWinControl::ReflectNotification(TMessage& Message) {
    HWND child = nullptr;
    switch (Message.Msg) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_CHARTOITEM:
        case WM_VKEYTOITEM:
            child = reinterpret_cast<HWND>(Message.LParam);
            break;
        case WM_NOTIFY:
            child = Message.LParamAs<NMHDR>()->hwndFrom;
            break;
        case WM_DRAWITEM:
            if (Message.LParamAs<DRAWITEMSTRUCT>()->CtlType != ODT_MENU)
                child = Message.LParamAs<DRAWITEMSTRUCT>()->hwndItem;
            break;
        case WM_DELETEITEM:
            child = Message.LParamAs<DELETEITEMSTRUCT>()->hwndItem;
            break;
        case WM_COMPAREITEM:
            child = Message.LParamAs<COMPAREITEMSTRUCT>()->hwndItem;
            break;
        case WM_MEASUREITEM:
            if (Message.LParamAs<MEASUREITEMSTRUCT>()->CtlType != ODT_MENU)
                child = GetDlgItem(handle_, static_cast<int>(Message.LParamAs<MEASUREITEMSTRUCT>()->CtlID));
            break;
        default:
            return false;
    }
    TWinControl* control = child && child != handle_ ? FindControl(child) : nullptr;
    if (control) {
        Message.Result = control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    } else {
        DefaultHandler(Message);
    }
    return true;
}

// --- painting

void TWinControl::PaintWindow(HDC DC) {
    TMessage message{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
    DefaultHandler(message);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
    auto it = First ? std::find(controls_.begin(), controls_.end(), First) : controls_.begin();
    for (; it != controls_.end(); ++it) {
        TControl* control = *it;
        if (dynamic_cast<TWinControl*>(control) || !control->visible_) continue;
        const TRect bounds = control->BoundsRect();
        if (!RectVisible(DC, bounds.Win32())) continue;
        TSaveDC saved(DC);
        // The control paints at its own origin, clipped to its area.
        POINT origin{};
        GetWindowOrgEx(DC, &origin);
        SetWindowOrgEx(DC, origin.x - control->left_, origin.y - control->top_, nullptr);
        IntersectClipRect(DC, 0, 0, control->width_, control->height_);
        control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    }
}

bool TWinControl::HasGraphicChildren() const {
    for (TControl* c : controls_)
        if (!dynamic_cast<TWinControl*>(c) && c->visible_) return true;
    return false;
}

void TWinControl::PaintHandler(TMessage& Message) {
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    PAINTSTRUCT ps{};
    const bool own = dc == nullptr;
    if (own) dc = BeginPaint(handle_, &ps);
    try {
        if (!HasGraphicChildren()) {
            PaintWindow(dc);
        } else {
            {
                TSaveDC saved(dc);
                // Opaque graphic children paint over their area themselves.
                for (TControl* c : controls_)
                    if (!dynamic_cast<TWinControl*>(c) && c->visible_ && c->controlStyle_.Contains(csOpaque))
                        ExcludeClipRect(dc, c->left_, c->top_, c->left_ + c->width_, c->top_ + c->height_);
                PaintWindow(dc);
            }
            PaintControls(dc, nullptr);
        }
    } catch (...) {
        if (own) EndPaint(handle_, &ps);
        throw;
    }
    if (own) EndPaint(handle_, &ps);
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
    const bool hadHandle = handle_ != nullptr;
    HandleNeeded();
    TSaveDC saved(DC);
    POINT origin{};
    GetWindowOrgEx(DC, &origin);
    SetWindowOrgEx(DC, origin.x - X, origin.y - Y, nullptr);
    const TRect client = ClientRect();
    IntersectClipRect(DC, 0, 0, client.Width(), client.Height());
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    for (TWinControl* child : tabList_)
        if (child->visible_) child->PaintTo(DC, child->left_, child->top_);
    (void)hadHandle;
}

// --- the message handlers

void TWinControl::WndProc(TMessage& Message) {
    if (ReflectNotification(Message)) return;
    switch (Message.Msg) {
        case WM_NCDESTROY:
            DefaultHandler(Message);
            WindowGone();
            return;
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = Message.LParamAs<WINDOWPOS>();
            if (!IsIconic(handle_)) {
                if (!(pos->flags & SWP_NOMOVE)) left_ = pos->x, top_ = pos->y;
                if (!(pos->flags & SWP_NOSIZE)) width_ = pos->cx, height_ = pos->cy;
            }
            DefaultHandler(Message);
            return;
        }
        case WM_SIZE:
            DefaultHandler(Message);
            if (Message.WParam != SIZE_MINIMIZED) {
                Realign();
                if (!ComponentState().Contains(csLoading)) Resize();
            }
            return;
        case WM_PAINT:
            if (doubleBuffered_ && Message.WParam == 0) {
                PAINTSTRUCT ps{};
                HDC dc = BeginPaint(handle_, &ps);
                const TRect client = ClientRect();
                TMemoryDC memory(dc);
                TBitmapHandle bitmap(CreateCompatibleBitmap(dc, std::max<LONG>(client.Right, 1),
                                                            std::max<LONG>(client.Bottom, 1)));
                {
                    TSelectObject select(memory.Get(), bitmap.Get());
                    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()), 0);
                    Perform(WM_PAINT, reinterpret_cast<WPARAM>(memory.Get()), 0);
                    // Without WS_CLIPCHILDREN (a list view) the copy would
                    // cover child windows that are not repainted with us: a
                    // list's column header.
                    if (!(GetWindowLongW(handle_, GWL_STYLE) & WS_CLIPCHILDREN))
                        for (HWND child = GetWindow(handle_, GW_CHILD); child;
                             child = GetWindow(child, GW_HWNDNEXT)) {
                            if (!IsWindowVisible(child)) continue;
                            RECT area{};
                            GetWindowRect(child, &area);
                            MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&area), 2);
                            ExcludeClipRect(dc, area.left, area.top, area.right, area.bottom);
                        }
                    BitBlt(dc, 0, 0, client.Right, client.Bottom, memory.Get(), 0, 0, SRCCOPY);
                }
                EndPaint(handle_, &ps);
                return;
            }
            // A system class with nothing of ours to paint over it gets the
            // message as it came: some (the rich edit) paint only through
            // their own BeginPaint and ignore a device context in WParam.
            if (defWndProc_ && defWndProc_ != DefWindowProcW && !HasGraphicChildren()) {
                DefaultHandler(Message);
                return;
            }
            PaintHandler(Message);
            return;
        case WM_PRINTCLIENT: {
            HDC dc = reinterpret_cast<HDC>(Message.WParam);
            TSaveDC saved(dc);
            if (Message.LParam & PRF_ERASEBKGND) Perform(WM_ERASEBKGND, Message.WParam, 0);
            TMessage paint{WM_PAINT, Message.WParam, 0, 0};
            PaintHandler(paint);
            return;
        }
        case WM_ERASEBKGND: {
            if (brush_->Style() == bsClear) {
                Message.Result = 1;
                return;
            }
            HDC dc = reinterpret_cast<HDC>(Message.WParam);
            // The rectangle is logical: a caller that moved the origin to
            // paint us elsewhere gets the fill where it asked.
            const TRect client = ClientRect();
            POINT origin{};
            GetWindowOrgEx(dc, &origin);
            SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
            FillRect(dc, client.Win32(), brush_->Handle());
            Message.Result = 1;
            return;
        }
        case WM_SETFOCUS:
            DefaultHandler(Message);
            if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
            return;
        case CN_CTLCOLORBTN:
        case CN_CTLCOLORDLG:
        case CN_CTLCOLOREDIT:
        case CN_CTLCOLORLISTBOX:
        case CN_CTLCOLORMSGBOX:
        case CN_CTLCOLORSCROLLBAR:
        case CN_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(Message.WParam);
            SetTextColor(dc, ColorToRGB(Font()->Color()));
            SetBkColor(dc, ColorToRGB(brush_->Color()));
            Message.Result = reinterpret_cast<LRESULT>(brush_->Handle());
            return;
        }
        case CN_KEYDOWN:
        case CN_SYSKEYDOWN:
        case CN_CHAR:
        case CN_SYSCHAR:
            HandleKeyMessage(Message);
            return;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (!DoKeyDown(Message)) DefaultHandler(Message);
            return;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (!DoKeyUp(Message)) DefaultHandler(Message);
            return;
        case WM_CHAR:
            if (!DoKeyPress(Message)) DefaultHandler(Message);
            return;
        case WM_SYSCOMMAND:
            // "-" asks for an MDI child's system menu and a minimised window
            // has no menu bar to open: neither goes to the toolbars.
            if ((Message.WParam & 0xFFF0) == SC_KEYMENU && Message.LParam != VK_SPACE &&
                Message.LParam != '-' && !GetCapture() && !IsIconic(GetAncestor(handle_, GA_ROOT)) &&
                Application && Application->HandleAllocated() && Application->Handle() != handle_ &&
                SendMessageW(Application->Handle(), CM_APPSYSCOMMAND, 0,
                             reinterpret_cast<LPARAM>(&Message)) != 0)
                return;
            DefaultHandler(Message);
            return;
        case WM_MOUSEMOVE:
            if (!trackingMouse_ && handle_) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
                if (TrackMouseEvent(&track)) {
                    trackingMouse_ = true;
                    Perform(CM_MOUSEENTER);
                }
            }
            if (IsControlMouseMsg(Message)) return;
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            if (IsControlMouseMsg(Message)) return;
            break;
        case WM_MOUSEWHEEL:
            // The control may take the wheel itself; else the system passes
            // it on to the parent.
            if (Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0) {
                Message.Result = 0;
                return;
            }
            break;
        case WM_MOUSELEAVE:
            trackingMouse_ = false;
            UpdateMouseControl(nullptr);
            Perform(CM_MOUSELEAVE);
            DefaultHandler(Message);
            return;
        case WM_CONTEXTMENU:
            if (Message.LParam != -1) {
                const TPoint local = ScreenToClient(Message.Pos());
                if (TControl* child = ControlAtPos(local, false)) {
                    Message.Result = child->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
                    if (Message.Result != 0) return;
                }
            }
            break;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(Message.WParam) == handle_ && LOWORD(Message.LParam) == HTCLIENT &&
                Screen) {
                TCursor cursor = Screen->Cursor();
                if (cursor == crDefault) {
                    POINT p{};
                    GetCursorPos(&p);
                    TControl* child = ControlAtPos(ScreenToClient(p), false);
                    cursor = child ? child->Cursor() : Cursor();
                }
                if (cursor != crDefault) {
                    ::SetCursor(Screen->Cursors(cursor));
                    Message.Result = 1;
                    return;
                }
            }
            break;
        case WM_CANCELMODE:
        case WM_CAPTURECHANGED:
            classlib_detail::ForgetCaptureOf(this);
            break;
        case WM_SETTINGCHANGE:
            // The non-client metrics may have changed.
            Frames().clear();
            // Only top-level windows hear of it: every control below them
            // gets CM_WININICHANGE with the same parameters.
            NotifyWinIniChange(this, Message.WParam, Message.LParam);
            DefaultHandler(Message);
            return;
        case WM_SYSCOLORCHANGE:
            NotifyControls(CM_SYSCOLORCHANGE);
            Perform(CM_SYSCOLORCHANGE);
            DefaultHandler(Message);
            return;
        case CM_ENABLEDCHANGED:
            if (handle_) EnableWindow(handle_, Enabled());
            Invalidate();
            return;
        case CM_SHOWINGCHANGED:
            if (handle_)
                SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                             SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                                 (showing_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
            return;
        case CM_VISIBLECHANGED:
            UpdateControlState();
            return;
        case CM_COLORCHANGED:
            brush_->SetColor(Color());
            NotifyControls(CM_PARENTCOLORCHANGED);
            Invalidate();
            return;
        case CM_FONTCHANGED:
            if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
            NotifyControls(CM_PARENTFONTCHANGED);
            Invalidate();
            return;
        case CM_SHOWHINTCHANGED:
            NotifyControls(CM_PARENTSHOWHINTCHANGED);
            return;
        case CM_FOCUSCHANGED:
        case CM_DIALOGKEY:
        case CM_DIALOGCHAR:
            Broadcast(Message);
            return;
        case CM_ENTER:
            DoEnter();
            return;
        case CM_EXIT:
            DoExit();
            return;
        case CM_TEXTCHANGED:
        case CM_SYSCOLORCHANGE:
        case CM_CURSORCHANGED:
            return;
        default:
            break;
    }
    inherited::WndProc(Message);
}
