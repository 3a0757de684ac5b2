#include "skins/sbtitlebar.h"

#include <shellapi.h>

#include "classlib/core/files.h"
#include "classlib/core/properties.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/imagelist.h"
#include "classlib/services/systemsettings.h"
#include "classlib/windows/forms.h"
#include "classlib/windows/screen.h"
#include "skins/barpainters.h"
#include "skins/sbitemsunit.h"
#include "skins/sbpopup.h"
#include "skins/skinmanager.h"
#include "skins/wsfiler.h"
#include "toolbar/barwatch.h"

namespace {

TSbCustomTitleBar* TitleBarOf(TSbToolbar* Toolbar) {
    TBarDock* dock = Toolbar->CurrentDock();
    return dock ? dynamic_cast<TSbCustomTitleBar*>(dock->Parent()) : nullptr;
}

// A spot that drags the window: no item, or one that lets clicks through.
bool IsFreeSpot(TBarItemViewer* Viewer) {
    return !Viewer || (Viewer->Item()->ItemStyle() & isfClicksTransparent);
}

}  // namespace

// ---- caption toolbar -----------------------------------------------------------------------

TColor TSbTitleToolbar::GetItemTextColor(TSbSkinStatesType State) {
    if (std::shared_ptr<TSbSkinOptions> skin = CurrentSkin()) {
        const TColor c = skin->GetTextColor(skncWindowTitleBar, State);
        if (c != clNone) return c;
    }
    return inherited::GetItemTextColor(State);
}

void TSbTitleToolbar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSbCustomTitleBar* bar = TitleBarOf(this);
    TCustomForm* form = bar ? bar->Form() : nullptr;
    if (!form || ComponentState().Contains(csDesigning) || !form->HandleAllocated()) {
        inherited::MouseDown(Button, Shift, X, Y);
        return;
    }
    std::shared_ptr<bool> alive = alive_;
    TBarItemViewer* viewer = View()->ViewerFromPoint({X, Y});
    TSbTitleBarButtonOptions* options = bar->Options();
    const bool freeSpot = IsFreeSpot(viewer);
    const bool onSystemItem = viewer && viewer->Item() == options->SystemItem() && options->SystemMenu();
    if (Button == mbLeft && Shift.Contains(ssDouble)) {
        if (freeSpot && options->Maximize() && !bar->FixedSize()) {
            options->ButtonClick(options->Button(swbMaximize));
        } else if (onSystemItem) {
            form->Close();
        }
    } else if (Button == mbLeft && freeSpot) {
        if (bar->GetWindowState() != swsMaximized && !bar->FixedSize()) {
            ReleaseCapture();
            SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MOVE + HTCAPTION, 0);
        }
    } else if (Button == mbRight && freeSpot && options->SystemMenu()) {
        bar->ShowSystemMenu(ClientToScreen({X, Y}));
    }
    if (*alive) inherited::MouseDown(Button, Shift, X, Y);
}

// ---- button options ------------------------------------------------------------------------

TSbTitleBarButtonOptions::TSbTitleBarButtonOptions(TSbCustomTitleBar* AOwner)
    : inherited(AOwner), titleBar_(AOwner) {
    if (AOwner->ComponentState().Contains(csDesigning)) return;
    // By its wide name: a folder outside the code page is no "?" here.
    const std::wstring path = WideParamStr(0);
    // The program's own icon straight from its file: asking the shell for
    // it builds the shell's image lists, 256-pixel ones among them, which
    // hold more than a megabyte for the life of the process.
    HICON small = nullptr;
    if (ExtractIconExW(path.c_str(), 0, nullptr, &small, 1) == 1 && small) {
        smallIcon_.Reset(small);
    } else {
        // A file without icons shows the shell's icon for programs.
        SHFILEINFOW info{};
        if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON))
            smallIcon_.Reset(info.hIcon);
    }
    auto* room = Create<TImageList>(AOwner);
    room->SetSize(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    iconRoom_ = room;
}

void TSbTitleBarButtonOptions::CreateButtons() {
    if (titleBar_->ComponentState().Contains(csDesigning) || systemItem_) return;
    systemItem_ = Create<TSbItem>(titleBar_);
    SetupButton(systemItem_, systemMenu_, systemImageIndex_);
    inherited::CreateButtons();
    // The buttons' hints name them for the mouse as well.
    Toolbar()->SetShowHint(true);
}

void TSbTitleBarButtonOptions::DetachButtons() {
    inherited::DetachButtons();
    if (!systemItem_) return;
    systemItem_->OnClick = {};
    systemItem_->OnDrawImage = {};
    systemItem_->OnDrawItem = {};
}

void TSbTitleBarButtonOptions::SetSystemMenu(bool Value) {
    if (systemMenu_ == Value) return;
    systemMenu_ = Value;
    if (systemItem_) systemItem_->SetVisible(Value);
}

void TSbTitleBarButtonOptions::SetSystemImageIndex(int Value) {
    systemImageIndex_ = Value < 0 ? -1 : Value;
    UpdateButtonImage();
}

void TSbTitleBarButtonOptions::UpdateButtonImage() {
    inherited::UpdateButtonImage();
    if (!systemItem_) return;
    systemItem_->SetHint(L"System");
    const bool programIcon = systemImageIndex_ < 0 && smallIcon_.Get();
    systemItem_->SetImages(programIcon ? iconRoom_ : nullptr);
    systemItem_->SetImageIndex(programIcon ? 0 : systemImageIndex_);
}

void TSbTitleBarButtonOptions::DoDrawImage(TObject* Sender, TCanvas* Canvas, TRect ARect,
                                           const TSbItemDrawInfo& Info, TSbDrawStage Stage,
                                           bool& PaintDefault) {
    inherited::DoDrawImage(Sender, Canvas, ARect, Info, Stage, PaintDefault);
    if (Sender != systemItem_ || Stage != sdsBefore || systemImageIndex_ >= 0 || !smallIcon_.Get() ||
        !iconRoom_)
        return;
    const int w = iconRoom_->Width(), h = iconRoom_->Height();
    DrawIconEx(Canvas->Handle(), (ARect.Left + ARect.Right - w) / 2, (ARect.Top + ARect.Bottom - h) / 2,
               smallIcon_.Get(), w, h, 0, nullptr, DI_NORMAL);
    PaintDefault = false;
}

bool TSbTitleBarButtonOptions::IsMaximized() {
    return titleBar_->GetWindowState() == swsMaximized;
}

void TSbTitleBarButtonOptions::Loaded() {
    inherited::Loaded();
    if (!systemItem_) return;
    TBarRootItem* items = Toolbar()->Items();
    items->Move(items->IndexOf(systemItem_), 0);
    SetCaptionText(titleBar_->Caption());
    Toolbar()->Arrange();
}

void TSbTitleBarButtonOptions::ButtonClick(TObject* Sender) {
    TCustomForm* form = titleBar_->Form();
    if (!form) return;
    if (Sender == systemItem_) {
        TBarItemViewer* viewer = Toolbar()->View()->Find(systemItem_);
        const TRect r = viewer ? viewer->BoundsRect : TRect();
        titleBar_->ShowSystemMenu(Toolbar()->ClientToScreen({r.Left, r.Bottom}));
    } else if (Sender == Button(swbMinimize)) {
        titleBar_->SetWindowState(swsMinimized);
    } else if (Sender == Button(swbClose)) {
        form->Close();
    } else if (Sender == Button(swbMaximize)) {
        titleBar_->SetWindowState(titleBar_->GetWindowState() == swsMaximized ? swsNormal : swsMaximized);
    }
}

// ---- title bar -----------------------------------------------------------------------------

TSbCustomTitleBar::TSbCustomTitleBar(TComponent* AOwner) : inherited(AOwner) {
    followDock_ = false;
    controlStyle_ += TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque};
}

void TSbCustomTitleBar::AfterConstruction() {
    inherited::AfterConstruction();
    Toolbar()->SetHeight(21);
    SetAlign(alClient);
    SetColor(clWindow);
    options_.reset(Create<TSbTitleBarButtonOptions>(this));
    options_->CreateButtons();
}

void TSbCustomTitleBar::BeforeDestruction() {
    // An inactive bar has given the form its border back already.
    if (active_) ApplyActive(false);
    UnhookForm();
    // The items outlive this object's members: they must not call back into
    // the options once those are gone.
    if (options_) options_->DetachButtons();
    options_.reset();
    inherited::BeforeDestruction();
}

TClass TSbCustomTitleBar::GetToolbarClass() {
    return TSbTitleToolbar::ClassInfo();
}

TCustomForm* TSbCustomTitleBar::Form() {
    if (!form_) {
        form_ = GetParentForm(this);
        if (!form_) form_ = dynamic_cast<TCustomForm*>(Owner());
        // A bar made in code is never loaded, and any bar may move to another
        // form and outlive this one.
        if (form_) form_->FreeNotification(this);
    }
    return form_;
}

void TSbCustomTitleBar::SetWideText(const std::wstring& Value) {
    inherited::SetWideText(Value);
    if (options_) options_->SetCaptionText(Value);
}

void TSbCustomTitleBar::SetActive(bool Value) {
    if (active_ == Value) return;
    active_ = Value;
    ApplyActive(Value);
}

void TSbCustomTitleBar::SetFullScreenMaximize(bool Value) {
    fullScreenMaximize_ = Value;
    TCustomForm* form = Form();
    // A maximised form takes its new size at once.
    if (active_ && form && form->HandleAllocated() && IsZoomed(form->Handle()))
        SetWindowPos(form->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

TSbWindowState TSbCustomTitleBar::GetWindowState() {
    TCustomForm* form = Form();
    if (!form) return swsNormal;
    if (!form->HandleAllocated())
        return form->WindowState() == wsMaximized   ? swsMaximized
               : form->WindowState() == wsMinimized ? swsMinimized
                                                    : swsNormal;
    if (IsIconic(form->Handle())) return swsMinimized;
    return IsZoomed(form->Handle()) ? swsMaximized : swsNormal;
}

void TSbCustomTitleBar::SetWindowState(TSbWindowState Value) {
    TCustomForm* form = Form();
    if (!form) return;
    if (Value == swsMinimized) {
        if (form->HandleAllocated()) SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return;
    }
    const TWindowState state = Value == swsMaximized ? wsMaximized : wsNormal;
    // The form's own record may lag behind a state the window took by itself.
    if (form->HandleAllocated() && form->Showing() && form->WindowState() == state)
        ShowWindow(form->Handle(), state == wsMaximized ? SW_SHOWMAXIMIZED : SW_RESTORE);
    else
        form->SetWindowState(state);
}

void TSbCustomTitleBar::ApplyActive(bool On) {
    TCustomForm* form = Form();
    if (!form || form->ComponentState().Contains(csDestroying) || ComponentState().Contains(csDesigning))
        return;
    const int dh = GetSystemMetrics(SM_CYCAPTION) + 2 * frameWidth_;
    const int dw = 2 * GetSystemMetrics(SM_CXFRAME);
    const int sign = On ? -1 : 1;
    TNotifyEvent onShow = form->OnShow;
    form->OnShow = {};
    if (form->HandleAllocated()) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(form->Handle(), &placement);
        const UINT shown = placement.showCmd;
        const bool iconic = IsIconic(form->Handle()), zoomed = IsZoomed(form->Handle());
        form->SetBorderStyle(On ? bsNone : bsSizeable);
        if (On)
            SetWindowLongW(form->Handle(), GWL_STYLE, GetWindowLongW(form->Handle(), GWL_STYLE) | WS_SYSMENU);
        if (!iconic && !zoomed) {
            form->SetBounds(form->Left(), form->Top(), form->Width() + sign * dw, form->Height() + sign * dh);
        } else {
            // The restored size changes by the same amounts; the icon or the
            // maximised window stays where it is.
            placement.rcNormalPosition.right += sign * dw;
            placement.rcNormalPosition.bottom += sign * dh;
            placement.showCmd = zoomed ? SW_SHOWMAXIMIZED : shown;
            if (form->Showing()) SetWindowPlacement(form->Handle(), &placement);
        }
    } else {
        // Still loading: no window is made before its time.
        form->SetBorderStyle(On ? bsNone : bsSizeable);
        if (form->WindowState() != wsMaximized)
            form->SetBounds(form->Left(), form->Top(), form->Width() + sign * dw, form->Height() + sign * dh);
    }
    if (Dock()) Dock()->SetVisible(On);
    form->OnShow = onShow;
    Realign();
    InvalidateBackground(true);
}

void TSbCustomTitleBar::AdjustClientRect(TRect& Rect) {
    inherited::AdjustClientRect(Rect);
    if (active_ && GetWindowState() != swsMaximized) {
        Rect.Left += frameWidth_;
        Rect.Top += frameWidth_;
        Rect.Right -= frameWidth_;
        Rect.Bottom -= frameWidth_;
    }
}

TSbSizingZone TSbCustomTitleBar::GetSizingHitTest(TPoint P) {
    if (!active_ || !Form() || GetWindowState() == swsMaximized) return {};
    return SbSizingZoneAt(P, Width(), Height(), frameWidth_);
}

void TSbCustomTitleBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && !fixedSize_) {
        const TSbSizingZone zone = GetSizingHitTest({X, Y});
        if (zone.Command && Form()->HandleAllocated()) {
            ReleaseCapture();
            SendMessageW(Form()->Handle(), WM_SYSCOMMAND, zone.Command, 0);
            return;
        }
    }
    inherited::MouseDown(Button, Shift, X, Y);
}

void TSbCustomTitleBar::Loaded() {
    inherited::Loaded();
    HookForm();
    ApplyActive(active_);
    options_->Loaded();
}

void TSbCustomTitleBar::HookForm() {
    TCustomForm* form = Form();
    if (!form || hooked_ || ComponentState().Contains(csDesigning)) return;
    hooked_ = form;
    form->AddWindowProcLink(TControl::TWindowProcLink(this, &TSbCustomTitleBar::FormWndProc));
    // The link must not outlive the form.
    form->FreeNotification(this);
}

void TSbCustomTitleBar::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    // A form freed before its bar takes its window procedure chain with it.
    if (Operation == opRemove && AComponent == form_) form_ = hooked_ = nullptr;
}

void TSbCustomTitleBar::UnhookForm() {
    if (!hooked_) return;
    hooked_->RemoveWindowProcLink(TControl::TWindowProcLink(this, &TSbCustomTitleBar::FormWndProc));
    hooked_ = nullptr;
}

void TSbCustomTitleBar::PublishProperties() {
    TPublish<TSbCustomTitleBar>().Property("Caption", &TSbCustomTitleBar::Caption,
                                           &TSbCustomTitleBar::SetCaption);
}

void TSbCustomTitleBar::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    DefineWideProperties(Filer, this);
}

void TSbCustomTitleBar::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    if (!ComponentState().Contains(csDesigning)) Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

bool TSbCustomTitleBar::SwallowKeyMenu() {
    if (GetCapture()) return false;
    TCustomForm* form = Form();
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* bar = dynamic_cast<TBarCustomToolbar*>(form->Components(i)); bar && bar->MenuBar())
            return false;
    return true;
}

void TSbCustomTitleBar::FormWndProc(TMessage& Message, const TControl::TWindowProcNext& Next) {
    std::shared_ptr<bool> alive = alive_;
    if (Message.Msg == WM_GETMINMAXINFO && active_ && hooked_ && hooked_->HandleAllocated()) {
        TRect monitor, work;
        SbMonitorAreas(hooked_->Handle(), monitor, work);
        const TSbMaxInfo info = SbMaxInfo(monitor, work, fullScreenMaximize_,
                                          fullScreenMaximize_ ? abeNone : SbHidingTaskbarEdge());
        auto* mmi = reinterpret_cast<MINMAXINFO*>(Message.LParam);
        mmi->ptMaxPosition = {info.MaxPosition.X, info.MaxPosition.Y};
        mmi->ptMaxSize = {info.MaxSize.cx, info.MaxSize.cy};
        mmi->ptMaxTrackSize = {info.MaxTrackSize.cx, info.MaxTrackSize.cy};
        Message.Result = 0;
        Next(Message);
        return;
    }
    if (Message.Msg == WM_SYSCOMMAND && (Message.WParam & 0xFFF0) == SC_KEYMENU && active_) {
        if (Message.LParam == ' ') {
            if (options_->SystemItem()) options_->ButtonClick(options_->SystemItem());
            Message.Result = 1;
            return;
        }
        if (Message.LParam == 0 && SwallowKeyMenu()) {
            Message.Result = 1;
            return;
        }
    }
    Next(Message);
    if (!*alive) return;
    // A recreated borderless window keeps its system menu.
    if (Message.Msg == WM_CREATE && active_ && hooked_ && hooked_->HandleAllocated())
        SetWindowLongW(hooked_->Handle(), GWL_STYLE,
                       GetWindowLongW(hooked_->Handle(), GWL_STYLE) | WS_SYSMENU);
}

void TSbCustomTitleBar::ShowSystemMenu(TPoint P) {
    TCustomForm* form = Form();
    if (!form || !form->HandleAllocated()) return;
    TSbSystemMenuOptions options;
    options.Sizing = !fixedSize_;
    options.Minimize = options_->Minimize();
    options.Maximize = options_->Maximize();
    options.Close = options_->Close();
    SbShowSystemMenu(form, P, options, OnSystemMenuPopup);
}

void TSbCustomTitleBar::DoDrawBackground(TCanvas* Canvas, const TRect& R, TSbDrawStage2 Stage,
                                         bool& PaintDefault) {
    if (OnDrawBackground) OnDrawBackground(this, Canvas, R, Stage, PaintDefault);
}

bool TSbCustomTitleBar::FormActiveLook() {
    TCustomForm* form = Form();
    return form && form->HandleAllocated() && GetActiveWindow() == form->Handle();
}

void TSbCustomTitleBar::EraseBackground(HDC DC) {
    const TRect client = ClientRect();
    TOwned<TBitmap> bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(client.Width(), client.Height());
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(client);
    TRect r = client;
    bool paintDefault = true;
    DoDrawBackground(canvas, r, sdbBefore, paintDefault);
    if (paintDefault) {
        const bool maximized = GetWindowState() == swsMaximized;
        // Maximised, the frame lies just outside the visible area.
        if (maximized) r = TRect(r.Left - 4, r.Top - 4, r.Right + 4, r.Bottom + 4);
        if (active_) {
            const bool look = FormActiveLook();
            PaintWindowFrame(canvas, r, frameWidth_, look);
            if (ResolveSkinType(SkinType()) == sknWindows && !maximized && Dock())
                PaintWindowCaption(
                    canvas, TRect(0, 0, Dock()->Width() + 2 * frameWidth_, Dock()->Height() + frameWidth_),
                    look);
        }
    }
    bool ignored = true;
    DoDrawBackground(canvas, r, sdbAfter, ignored);
    BitBlt(DC, 0, 0, client.Width(), client.Height(), canvas->Handle(), 0, 0, SRCCOPY);
}

void TSbCustomTitleBar::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_ERASEBKGND:
            EraseBackground(reinterpret_cast<HDC>(Message.WParam));
            Message.Result = 1;
            return;
        case WM_SETCURSOR:
            if (!fixedSize_ && !ComponentState().Contains(csDesigning) &&
                reinterpret_cast<HWND>(Message.WParam) == Handle() &&
                (!Screen || Screen->Cursor() == crDefault)) {
                POINT p{};
                GetCursorPos(&p);
                ::ScreenToClient(Handle(), &p);
                const TSbSizingZone zone = GetSizingHitTest({p.x, p.y});
                if (zone.Command) {
                    if (Screen) ::SetCursor(Screen->Cursors(zone.Cursor));
                    Message.Result = 1;
                    return;
                }
            }
            break;
        case WM_WINDOWPOSCHANGED:
            inherited::WndProc(Message);
            if (options_) options_->UpdateButtonImage();
            InvalidateBackground(true);
            return;
        case SM_SKINCHANGE:
            if (options_ && options_->CaptionItem())
                if (std::shared_ptr<TSbSkinOptions> skin = CurrentSkin())
                    options_->CaptionItem()->FontSettings()->SetColor(
                        skin->GetTextColor(skncWindowTitleBar, sknsNormal));
            break;
        default:
            break;
    }
    inherited::WndProc(Message);
}

// ---- monitor, taskbar and system menu ------------------------------------------------------

TSbTaskbarEdge SbHidingTaskbarEdge() {
    APPBARDATA data{};
    data.cbSize = sizeof data;
    data.hWnd = FindWindowA("Shell_TrayWnd", nullptr);
    TSystemSettings& settings = SystemSettings();
    if (!settings.AppBarMessage(ABM_GETTASKBARPOS, &data)) return abeNone;
    if (!(settings.AppBarMessage(ABM_GETSTATE, &data) & ABS_AUTOHIDE)) return abeNone;
    switch (data.uEdge) {
        case ABE_LEFT:
            return abeLeft;
        case ABE_TOP:
            return abeTop;
        case ABE_RIGHT:
            return abeRight;
        default:
            return abeBottom;
    }
}

void SbMonitorAreas(HWND Window, TRect& Monitor, TRect& WorkArea) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromWindow(Window, MONITOR_DEFAULTTONEAREST);
    if (!GetMonitorInfoW(monitor, &info)) {
        info.rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        info.rcWork = info.rcMonitor;
        info.dwFlags = MONITORINFOF_PRIMARY;
    }
    Monitor = info.rcMonitor;
    WorkArea = info.rcWork;
    RECT work{};
    if ((info.dwFlags & MONITORINFOF_PRIMARY) &&
        SystemSettings().ParametersInfo(SPI_GETWORKAREA, 0, &work, 0))
        WorkArea = work;
}

namespace {

constexpr unsigned kSystemCommandFirst = 0xF000, kSystemCommandLast = 0xF180;

void FillSystemMenu(TSbPopupMenu* Popup, TCustomForm* Form, const TSbSystemMenuOptions& Options) {
    HWND wnd = Form->Handle();
    HMENU menu = GetSystemMenu(wnd, FALSE);
    const TSbWindowState state = IsIconic(wnd) ? swsMinimized : IsZoomed(wnd) ? swsMaximized : swsNormal;
    const int count = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
        if (mii.fType & MFT_SEPARATOR) {
            Popup->Items()->Add(Create<TSbSeparatorItem>(Popup));
            continue;
        }
        wchar_t text[261] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 260, MF_BYPOSITION);
        TSbItem* item = mii.hSubMenu ? Create<TSbSubmenuItem>(Popup) : Create<TSbItem>(Popup);
        item->SetCaption(text);
        item->SetTag(static_cast<std::intptr_t>(mii.wID));
        const bool menuEnabled = !(mii.fState & (MFS_GRAYED | MFS_DISABLED));
        const TSbSystemMenuEntry entry = SbSystemMenuEntry(mii.wID, menuEnabled, state, Options);
        item->SetVisible(entry.Visible);
        item->SetEnabled(entry.Enabled);
        item->SetChecked((mii.fState & MFS_CHECKED) != 0);
        if (entry.Default || (mii.fState & MFS_DEFAULT)) {
            TBarItemOptions o = item->Options();
            o.Include(tboDefault);
            item->SetOptions(o);
        }
        if (entry.Glyph >= 0) {
            item->SetImages(SbGlyphMarkerList());
            item->SetImageIndex(entry.Glyph);
        }
        Popup->Items()->Add(item);
    }
}

}  // namespace

void SbShowSystemMenu(TCustomForm* Form, TPoint P, const TSbSystemMenuOptions& Options,
                      const TSbPopupViewEvent& OnPopup) {
    ReleaseCapture();
    TBarWatch<TCustomForm> form(Form);
    unsigned command = 0;
    {
        TOwned<TSbPopupMenu> popup = MakeOwned<TSbPopupMenu>(nullptr);
        FillSystemMenu(popup.get(), Form, Options);
        if (OnPopup) popup->SkinnedItems()->OnInitPopup = OnPopup;
        TBarCustomItem* chosen = popup->PopupEx(P.X, P.Y, true, nullptr);
        if (!chosen) return;
        command = static_cast<unsigned>(chosen->Tag());
        if (command < kSystemCommandFirst || command > kSystemCommandLast) {
            chosen->Click();
            return;
        }
    }
    // The popup is gone before the command runs: the command may close the form.
    if (!form || !form->HandleAllocated()) return;
    switch (command & 0xFFF0) {
        case SC_MAXIMIZE:
            form->SetWindowState(wsMaximized);
            if (!IsZoomed(form->Handle())) ShowWindow(form->Handle(), SW_SHOWMAXIMIZED);
            break;
        case SC_RESTORE:
            form->SetWindowState(wsNormal);
            if (IsZoomed(form->Handle()) || IsIconic(form->Handle())) ShowWindow(form->Handle(), SW_RESTORE);
            break;
        default:
            SendMessageW(form->Handle(), WM_SYSCOMMAND, command, 0);
            break;
    }
}
