// `TNotifyTrayIcon`: one icon in the notification area. It turns the shell's
// callback messages into events (clicks told apart from double-clicks, mouse
// enter and exit, balloons, a popup menu), can cycle through an image list,
// hides the main form to the tray, and re-adds its icon when the taskbar is
// re-created.
#pragma once

#include <memory>
#include <string>

#include "classlib/graphics/bitmap.h"
#include "classlib/windows/controls.h"
#include "notify/simpletimer.h"
#include "notify/trayshell.h"

class TCustomImageList;
class TPopupMenu;

// The callback message of every tray icon (WParam: the icon; LParam: the
// mouse or balloon message).
constexpr UINT WM_TRAYICONCALLBACK = WM_USER + 1024;

using TCycleEvent = TDelegate<void(TObject* Sender, int NextIndex)>;
using TStartupEvent = TDelegate<void(TObject* Sender, bool& ShowMainForm)>;

class TNotifyTrayIcon : public TComponent {
    VX_CLASS(TNotifyTrayIcon, TComponent)
public:
    explicit TNotifyTrayIcon(TComponent* AOwner);
    // Takes the icon out of the notification area and lets go of the hooks.
    void BeforeDestruction() override;
    // Applies the stored properties once a form resource has set them.
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // Each refreshes the record first and answers whether the shell agreed;
    // ModifyIcon sends nothing (false) while the icon is not in the area.
    virtual bool ShowIcon();
    virtual bool HideIcon();
    virtual bool ModifyIcon();

    // Restores and shows the main form and brings the program forward.
    void ShowMainForm();
    // Hides the main form and the program's task bar button.
    void HideMainForm();
    void HideTaskbarIcon();
    // Shows PopupMenu at the cursor.
    void PopupAtCursor();

    bool DesignPreview() const { return designPreview_; }
    void SetDesignPreview(bool Value) { designPreview_ = Value; }
    TCustomImageList* IconList() const { return iconList_; }
    // Also sets IconIndex to 0.
    void SetIconList(TCustomImageList* Value);
    bool CycleIcons() const { return cycleIcons_; }
    // True starts at icon 0 and shows the next icon every CycleInterval ms.
    void SetCycleIcons(bool Value);
    unsigned CycleInterval() const { return cycleInterval_; }
    void SetCycleInterval(unsigned Value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }
    const std::string& Hint() const { return hint_; }
    // At most 127 characters reach the shell.
    void SetHint(const std::string& Value);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool Value);
    TIcon* Icon() const { return icon_.get(); }
    void SetIcon(TIcon* Value);
    bool IconVisible() const { return iconVisible_; }
    // True adds the icon (NIM_ADD), false deletes it; nothing reaches the
    // shell when the icon is already where the value puts it.
    void SetIconVisible(bool Value);
    // Whether the shell took the last add (and no delete came since): only
    // then do modifications reach it.
    bool InNotificationArea() const { return inArea_; }
    int IconIndex() const { return iconIndex_; }
    // Shows that icon of IconList, clamped to the list; 0 without a list.
    void SetIconIndex(int Value);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* Value);
    bool LeftPopup() const { return leftPopup_; }
    void SetLeftPopup(bool Value) { leftPopup_ = Value; }
    bool WantEnterExitEvents() const { return wantEnterExitEvents_; }
    // Polls the cursor every 20 ms to tell when it has left the icon.
    void SetWantEnterExitEvents(bool Value);
    bool MinimizeToTray() const { return minimizeToTray_; }
    void SetMinimizeToTray(bool Value) { minimizeToTray_ = Value; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    TNotifyEvent OnMinimizeToTray;
    // Sender of the balloon events: the icon.
    TNotifyEvent OnBalloonHintShow;
    TNotifyEvent OnBalloonHintHide;
    TNotifyEvent OnBalloonHintTimeout;
    TNotifyEvent OnBalloonHintClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TCycleEvent OnCycle;
    TStartupEvent OnStartup;

    // The record as last sent to the shell.
    const TTrayIconData& IconData() const { return data_; }
    // The hidden window that receives the callbacks of every icon (null
    // while no icon exists).
    static HWND HandlerWindow();
    // The registered "TaskbarCreated" message (0 before InitTrayIconUnit, or
    // when the system has no such broadcast).
    static UINT TaskbarCreatedMessage();

protected:
    virtual bool LoadDefaultIcon() { return true; }
    // Puts the icon handle and the tip into the record.
    virtual bool RefreshIconData();

    virtual void Click();
    virtual void DblClick();
    virtual void CycleIcon();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseEnter();
    virtual void MouseExit();
    virtual void MinimizeToTrayNow();

    // False once the object is being freed; events keep a copy to tell.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

private:
    friend class TTrayIconHandler;
    void HandleCallback(UINT Event);
    bool SendToShell(DWORD Message);
    TWinControl* OwnerControl() const;
    void IconChanged(TObject* Sender);
    void CycleTick(TObject* Sender);
    void ClickTick(TObject* Sender);
    void EnterExitTick(TObject* Sender);
    bool ApplicationHook(TMessage& Message);
    void OwnerLink(TMessage& Message, const TControl::TWindowProcNext& Next);
    void ClickDefaultMenuItem();
    void AutoPopupAtCursor();
    void DoStartup();

    TTrayIconData data_{};
    TOwned<TIcon> icon_;
    TOwned<TSimpleTimer> cycleTimer_;
    TOwned<TSimpleTimer> clickTimer_;
    TOwned<TSimpleTimer> enterExitTimer_;

    bool designPreview_ = false;
    TCustomImageList* iconList_ = nullptr;
    TComponent* iconListComponent_ = nullptr;
    bool cycleIcons_ = false;
    unsigned cycleInterval_ = 0;
    bool enabled_ = true;
    std::string hint_;
    bool showHint_ = true;
    bool iconVisible_ = false;
    bool inArea_ = false;
    int iconIndex_ = 0;
    TPopupMenu* popupMenu_ = nullptr;
    TComponent* popupMenuComponent_ = nullptr;
    bool leftPopup_ = false;
    bool wantEnterExitEvents_ = false;
    bool minimizeToTray_ = false;

    POINT lastPos_{};
    bool outside_ = true;
    bool leftDown_ = false;
    bool clickPending_ = false;
    bool doubleClick_ = false;
    bool firstPosition_ = true;
    TWinControl* subclassed_ = nullptr;
};

// The tray icons' unit start-up, on the GUI thread before any icon shows:
// registers "TaskbarCreated", so that icons come back with a new taskbar.
void InitTrayIconUnit();
// Its end: icons answer no "TaskbarCreated" any more.
void FinalizeTrayIconUnit();
