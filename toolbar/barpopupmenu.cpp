#include "toolbar/barpopupmenu.h"

#include "toolbar/barmodal.h"

TBarPopupMenu::TBarPopupMenu(TComponent* AOwner) : inherited(AOwner) {}

void TBarPopupMenu::AfterConstruction() {
    // Not in the constructor: a descendant's root item factory is reached
    // only once the object is whole.
    inherited::AfterConstruction();
    items_ = CreateRootItem();
    items_->SetParentComponentOfRoot(this);
    items_->OnClick = TNotifyEvent(this, &TBarPopupMenu::RootItemClick);
}

TBarRootItem* TBarPopupMenu::CreateRootItem() {
    return Create<TBarRootItem>(this);
}

void TBarPopupMenu::RootItemClick(TObject* Sender) {
    // The root opening is the menu opening: the menu's own OnPopup fires.
    if (Sender == items_) DoPopup(this);
}

void TBarPopupMenu::Popup(int X, int Y) {
    PopupEx(X, Y, false);
}

TBarCustomItem* TBarPopupMenu::PopupEx(int X, int Y, bool ReturnClickedItemOnly) {
    SetPopupPoint(TPoint(X, Y));
    return PopupItem(items_, X, Y, TrackButton() == tbRightButton, static_cast<BYTE>(Alignment()),
                     ReturnClickedItemOnly);
}

bool TBarPopupMenu::IsShortCut(TMessage& Message) {
    return items_->IsShortCut(Message);
}
