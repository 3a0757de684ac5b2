// The popup menu component: a class-library popup menu (so a control's
// PopupMenu can be one) whose items are a toolbar item tree, opened with the
// framework's own popup windows and menu loop.
#pragma once

#include "classlib/stdctrls/menus.h"
#include "toolbar/baritem.h"

class TBarPopupMenu : public TPopupMenu, public ITBItemContainer {
    VX_CLASS(TBarPopupMenu, TPopupMenu)
public:
    explicit TBarPopupMenu(TComponent* AOwner);
    void AfterConstruction() override;

    TBarRootItem* Items() const { return items_; }
    TBarCustomItem* GetItems() override { return items_; }
    TCustomImageList* Images() const { return items_->SubMenuImages(); }
    void SetImages(TCustomImageList* Value) { items_->SetSubMenuImages(Value); }
    TBarCustomItem* LinkSubitems() const { return items_->LinkSubitems(); }
    void SetLinkSubitems(TBarCustomItem* Value) { items_->SetLinkSubitems(Value); }
    TBarItemOptions Options() const { return items_->Options(); }
    void SetOptions(TBarItemOptions Value) { items_->SetOptions(Value); }

    void Popup(int X, int Y) override;
    // Opens the menu and answers the chosen item.
    TBarCustomItem* PopupEx(int X, int Y, bool ReturnClickedItemOnly);
    bool IsShortCut(TMessage& Message) override;

protected:
    virtual TBarRootItem* CreateRootItem();

private:
    void RootItemClick(TObject* Sender);

    TBarRootItem* items_ = nullptr;
};
