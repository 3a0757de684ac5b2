#include "tests/foundation/zkdata_test_provider.h"

#include "classlib/core/properties.h"
#include "foundation/zkdatastreaming.h"

void RegisterTestClasses() {
    static const bool registered = [] {
        RegisterZkDataClass<TCountedItem>();
        RegisterZkDataClass<TCountedExtension>();
        TPublish<TCountedExtension>().Property("Weight", &TCountedExtension::Weight,
                                               &TCountedExtension::SetWeight);
        return true;
    }();
    (void)registered;
}

TTestProvider::TTestProvider(TComponent* Owner, bool WithContexts)
    : TComponent(Owner), withContexts_(WithContexts) {
    items = Create<TZkDataItemsList>();
    items->SetObserver(this);
    Create<TZkBaseDataItemsListManagement>(items.get());
    Create<TZkCustomDataItemsTextRenderer>(items.get());
    contexts = Create<TZkDataContexts>(this);
    contexts->SetObserver(this);
}

HRESULT TTestProvider::QueryInterface(TZkInterfaceCast Cast, void** Obj) {
    *Obj = nullptr;
    if (!withContexts_ && Cast == &ZkCastTo<IZkDataProviderContexts>) return ZK_E_NOINTERFACE;
    *Obj = Cast(this);
    return *Obj ? ZK_S_OK : ZK_E_NOINTERFACE;
}

TZkIntf<IZkDataItems> TTestProvider::Items(IZkDataContext* Context) {
    if (auto* managed = dynamic_cast<TZkManagedDataContext*>(Context)) return managed->Items();
    return items;
}

TZkBaseDataItem* TTestProvider::AddItem(const std::string& Text, TZkBaseDataItem* Parent) {
    TZkDataItemsList* list = Parent ? Parent->EnsureSubItems() : items.get();
    TZkBaseDataItem* item = list->CreateItem(TCountedItem::ClassInfo());
    Create<TZkDataItemTextImpl>(item)->SetText(Text);
    return item;
}

TZkManagedDataContext* TTestProvider::AddContext(const std::string& Name, TZkDataContexts* Below) {
    auto* context = (Below ? Below : contexts.get())->Add<TZkManagedDataContext>(Name);
    context->Items()->SetObserver(this);
    return context;
}

void TTestProvider::ContentChanged() {
    notifiers.Broadcast([](IZkDataProviderNotify* Notify) { Notify->ProviderContentChanged(); });
}

void TTestProvider::ItemAdded(IZkDataItem* Item) {
    notifiers.Broadcast([Item](IZkDataProviderNotify* Notify) { Notify->ItemAdded(Item); });
}

void TTestProvider::ItemDeleting(IZkDataItem* Item) {
    notifiers.Broadcast([Item](IZkDataProviderNotify* Notify) { Notify->ItemDeleting(Item); });
}

void TTestProvider::ContextDeleting(IZkDataContext* Context) {
    notifiers.Broadcast([Context](IZkDataProviderNotify* Notify) { Notify->ContextDeleting(Context); });
}

void TTestProvider::BeforeDestruction() {
    notifiers.Broadcast([](IZkDataProviderNotify* Notify) { Notify->ProviderDestroying(); });
    contexts->ForgetProvider();
    items.reset();
    contexts.reset();
    inherited::BeforeDestruction();
}

std::string ItemText(IZkDataItem* Item) {
    TZkIntf<IZkDataItemText> text = ZkSupports<IZkDataItemText>(Item);
    return text ? text->Text() : "(none)";
}
