// The parts of the tray icon that work with its image list and popup menu.
#include <algorithm>

#include "classlib/graphics/imagelist.h"
#include "classlib/stdctrls/menus.h"
#include "classlib/windows/application.h"
#include "notify/notifytrayicon.h"

void TNotifyTrayIcon::SetIconList(TCustomImageList* Value) {
    if (iconListComponent_) iconListComponent_->RemoveFreeNotification(this);
    iconList_ = Value;
    iconListComponent_ = Value;
    if (Value) Value->FreeNotification(this);
    SetIconIndex(0);
}

void TNotifyTrayIcon::SetIconIndex(int Value) {
    // An empty list or an index below 0 would name no icon: both clamp.
    if (iconList_ && iconList_->Count() > 0) {
        iconIndex_ = std::clamp(Value, 0, iconList_->Count() - 1);
        iconList_->GetIcon(iconIndex_, icon_.get());
    } else {
        iconIndex_ = 0;
    }
    ModifyIcon();
}

void TNotifyTrayIcon::CycleTick(TObject*) {
    if (!iconList_) return;
    iconList_->GetIcon(iconIndex_, icon_.get());
    CycleIcon();
}

void TNotifyTrayIcon::CycleIcon() {
    const int last = iconList_ ? iconList_->Count() - 1 : 0;
    const int next = iconIndex_ >= last ? 0 : iconIndex_ + 1;
    std::shared_ptr<bool> alive = alive_;
    if (Assigned(OnCycle)) OnCycle(this, next);
    if (*alive) SetIconIndex(next);
}

void TNotifyTrayIcon::SetPopupMenu(TPopupMenu* Value) {
    if (popupMenuComponent_) popupMenuComponent_->RemoveFreeNotification(this);
    popupMenu_ = Value;
    popupMenuComponent_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TNotifyTrayIcon::AutoPopupAtCursor() {
    if (!popupMenu_ || !popupMenu_->AutoPopup()) return;
    SetForegroundWindow(HandlerWindow());
    PopupAtCursor();
}

void TNotifyTrayIcon::PopupAtCursor() {
    if (!popupMenu_) return;
    // The menu closes properly only when the program owns the foreground.
    SetForegroundWindow(HandlerWindow());
    // Pending messages and the menu's own loop may free this icon.
    std::shared_ptr<bool> alive = alive_;
    if (Application) Application->ProcessMessages();
    if (!*alive || !popupMenu_) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    popupMenu_->SetPopupComponent(this);
    popupMenu_->Popup(cursor.x, cursor.y);
    if (!*alive) return;
    if (TWinControl* owner = OwnerControl(); owner && owner->HandleAllocated())
        PostMessageW(owner->Handle(), WM_NULL, 0, 0);
}

void TNotifyTrayIcon::ClickDefaultMenuItem() {
    if (!popupMenu_ || !popupMenu_->AutoPopup()) return;
    TMenuItem* items = popupMenu_->Items();
    for (int i = 0; i < items->Count(); ++i) {
        if (items->Items(i)->Default()) {
            items->Items(i)->Click();
            return;
        }
    }
}
