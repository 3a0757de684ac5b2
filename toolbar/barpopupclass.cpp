// The item's choice of popup window, apart from the item tree so that the
// tree does not build on the popup code.
#include "toolbar/baritem.h"
#include "toolbar/barpopup.h"

TBarPopupWindow* TBarCustomItem::CreatePopupWindow(TBarView* ParentView, TBarCustomItem* Shown,
                                                   bool Customizing) {
    return Create<TBarPopupWindow>(nullptr, ParentView, Shown, Customizing);
}
