#include "foundation/zkdataconsumer.h"

#include <algorithm>

#include "classlib/core/text.h"
#include "classlib/windows/controls.h"
#include "foundation/zkcomponentwatch.h"
#include "foundation/zkdatacontexts.h"
#include "foundation/zkdataerrors.h"
#include "foundation/zkdataviewlist.h"

namespace {

// The context's names from the root contexts down, joined by "\".
std::string ContextPath(IZkDataContext* Context) {
    std::string path;
    for (TZkIntf<IZkDataContext> context(Context); context;) {
        path = path.empty() ? context->Name() : context->Name() + "\\" + path;
        TZkIntf<IZkDataContexts> owner = context->OwnerContexts();
        context = owner ? owner->OwnerContext() : nullptr;
    }
    return path;
}

bool IsWithin(IZkDataContext* Context, IZkDataContext* Ancestor) {
    for (TZkIntf<IZkDataContext> context(Context); context;) {
        if (context.get() == Ancestor) return true;
        TZkIntf<IZkDataContexts> owner = context->OwnerContexts();
        context = owner ? owner->OwnerContext() : nullptr;
    }
    return false;
}

}  // namespace

TZkDataConsumer::TZkDataConsumer(TComponent* Owner, std::vector<int> Attributes, TZkDataChangeEvent OnChange)
    : OnChange(OnChange), owner_(::Create<TZkComponentWatch>()) {
    owner_->Watch(Owner);
    owner_->OnGone = TNotifyEvent(this, &TZkDataConsumer::OwnerGone);
    for (int attribute : Attributes)
        if (std::find(attributes_.begin(), attributes_.end(), attribute) == attributes_.end())
            attributes_.push_back(attribute);
}

void TZkDataConsumer::InitImplementers() {
    inherited::InitImplementers();
    ::Create<TZkDataConsumerItemSelect>(this);
}

void TZkDataConsumer::BeforeDestruction() {
    OnChange = nullptr;
    SetProvider(nullptr);
    inherited::BeforeDestruction();
    FreeAndNil(owner_);
}

TComponent* TZkDataConsumer::Owner() const {
    return owner_ ? owner_->Watched() : nullptr;
}

// The control that supplied OnChange is going away.
void TZkDataConsumer::OwnerGone(TObject*) {
    OnChange = nullptr;
}

template <class Tell>
void TZkDataConsumer::TellExtensions(Tell tell) {
    // An extension may go while it is told: walk over a snapshot of the
    // ones still present.
    std::vector<TAggregatedPersistentEx*> snapshot;
    for (int i = 0; i < ExtensionCount(); ++i) snapshot.push_back(Extension(i));
    for (TAggregatedPersistentEx* extension : snapshot) {
        bool present = false;
        for (int i = 0; i < ExtensionCount() && !present; ++i) present = Extension(i) == extension;
        if (!present) continue;
        if (auto* consumerExtension = dynamic_cast<TZkDataConsumerAggregatedObject*>(extension))
            tell(consumerExtension);
    }
}

bool TZkDataConsumer::OwnerLoading() const {
    TComponent* owner = Owner();
    return owner && owner->ComponentState().Contains(csLoading);
}

void TZkDataConsumer::Changed(TZkDataChangeReason Reason) {
    if (auto* control = dynamic_cast<TControl*>(Owner()))
        if (!control->ComponentState().Contains(csDestroying)) control->Invalidate();
    if (Assigned(OnChange)) OnChange(this, Reason);
}

TZkIntf<IZkDataContexts> TZkDataConsumer::ProviderContexts() const {
    if (TZkIntf<IZkDataProviderContexts> contexts = ZkSupports<IZkDataProviderContexts>(provider_))
        return contexts->Contexts();
    return nullptr;
}

TZkIntf<IZkDataContext> TZkDataConsumer::DefaultContext() const {
    TZkIntf<IZkDataContexts> contexts = ProviderContexts();
    return contexts && contexts->Count() > 0 ? contexts->Context(0) : nullptr;
}

void TZkDataConsumer::SetProvider(IZkDataProvider* Value) {
    if (Value == provider_.get()) return;
    Changed(crBeginChange);
    if (provider_) provider_->UnregisterNotify(this);
    provider_ = Value;
    if (provider_) provider_->RegisterNotify(this);

    context_ = DefaultContext();
    if (!keptContext_.empty() && provider_) {
        const std::string kept = std::exchange(keptContext_, {});
        // A name kept from loading that the provider does not know leaves
        // the provider's own first context.
        if (TZkIntf<IZkDataContexts> contexts = ProviderContexts())
            if (TZkIntf<IZkDataContext> found = contexts->FindContext(kept)) context_ = found;
    }

    TellExtensions([this](TZkDataConsumerAggregatedObject* extension) {
        if (!extension->IsFixed() && !extension->AppliesTo(provider_.get()))
            RemoveExtension(extension);
        else
            extension->ProviderChanged();
    });
    Changed(crEndChange);
}

std::string TZkDataConsumer::Context() {
    if (!provider_) return keptContext_;
    return context_ ? ContextPath(context_.get()) : std::string();
}

void TZkDataConsumer::SetContext(const std::string& Name) {
    if (SameText(Name, Context())) return;
    if (!provider_) {
        if (!OwnerLoading()) throw EZKCLDataConsumer(ZkErrorNoProviderForContext);
        keptContext_ = Name;
        return;
    }
    if (Name.empty()) {
        SelectContext(nullptr);
        return;
    }
    TZkIntf<IZkDataContexts> contexts = ProviderContexts();
    if (!contexts) throw EZKCLDataConsumer(ZkErrorNoContexts);
    TZkIntf<IZkDataContext> found = contexts->FindContext(Name);
    if (!found) throw EZKCLDataConsumer(Format(ZkErrorNoSuchContext, Name));
    SelectContext(found.get());
}

void TZkDataConsumer::SelectContext(IZkDataContext* Value) {
    if (Value && (!provider_ || Value->Provider() != provider_.get()))
        throw EZKCLDataConsumer(ZkErrorForeignContext);
    if (Value == context_.get()) return;
    context_ = Value;
    TellExtensions([](TZkDataConsumerAggregatedObject* extension) { extension->ContextChanged(); });
    Changed(crContext);
}

bool TZkDataConsumer::IsContextStored() {
    TZkIntf<IZkDataContexts> contexts = ProviderContexts();
    if (!contexts || contexts->Count() == 0) return false;
    return context_.get() != contexts->Context(0).get();
}

TZkIntf<IZkDataItems> TZkDataConsumer::Items() {
    return provider_ ? provider_->Items(context_.get()) : nullptr;
}

TZkDataConsumerItemSelect* TZkDataConsumer::ItemSelect() const {
    return static_cast<TZkDataConsumerItemSelect*>(FindExtension(TZkDataConsumerItemSelect::ClassInfo()));
}

TZkIntf<IZkDataItem> TZkDataConsumer::SelectedItem() const {
    TZkDataConsumerItemSelect* select = ItemSelect();
    return select ? select->Selected() : nullptr;
}

TZkIntf<IZkDataItemsRenderer> TZkDataConsumer::SelectedItemRenderer() const {
    TZkIntf<IZkDataItem> item = SelectedItem();
    return item ? ZkSupports<IZkDataItemsRenderer>(item->OwnerList()) : nullptr;
}

TZkDataConsumerViewList* TZkDataConsumer::ViewList() {
    if (auto* view =
            static_cast<TZkDataConsumerViewList*>(FindExtension(TZkDataConsumerViewList::ClassInfo())))
        return view;
    return ::Create<TZkDataConsumerViewList>(this);
}

void TZkDataConsumer::Loaded() {
    if (!provider_ || keptContext_.empty()) return;
    const std::string kept = std::exchange(keptContext_, {});
    SetContext(kept);
}

TObject* TZkDataConsumer::ProviderObject() const {
    return dynamic_cast<TObject*>(provider_.get());
}

void TZkDataConsumer::SetProviderObject(TObject* Value) {
    auto* provider = dynamic_cast<IZkDataProvider*>(Value);
    if (Value && !provider) throw EZKCLDataConsumer(ZkErrorInvalidClassType);
    SetProvider(provider);
}

bool TZkDataConsumer::InTree(IZkDataItem* Item) {
    TZkIntf<IZkDataItems> top = Items();
    if (!top || !Item) return false;
    TZkIntf<IZkDataItems> list = Item->OwnerList();
    while (list) {
        if (list.get() == top.get()) return true;
        TZkIntf<IZkDataItem> parent = list->ParentItem();
        list = parent ? parent->OwnerList() : nullptr;
    }
    return false;
}

void TZkDataConsumer::ProviderContentChanged() {
    TellExtensions([](TZkDataConsumerAggregatedObject* extension) { extension->ContentChanged(); });
    Changed(crContent);
}

void TZkDataConsumer::ItemAdded(IZkDataItem* Item) {
    if (!InTree(Item)) return;
    TellExtensions([Item](TZkDataConsumerAggregatedObject* extension) { extension->ItemAdded(Item); });
}

void TZkDataConsumer::ItemDeleting(IZkDataItem* Item) {
    if (!InTree(Item)) return;
    TellExtensions([Item](TZkDataConsumerAggregatedObject* extension) { extension->ItemDeleting(Item); });
}

void TZkDataConsumer::ContextDeleting(IZkDataContext* Context) {
    if (context_ && IsWithin(context_.get(), Context)) SelectContext(nullptr);
}

void TZkDataConsumer::ProviderDestroying() {
    SetProvider(nullptr);
}

// ---- Extensions ------------------------------------------------------------------------------

TZkDataConsumerAggregatedObject::TZkDataConsumerAggregatedObject(TExtensibleInterfacedPersistent* Controller)
    : TAggregatedPersistentEx(Controller) {
    if (!dynamic_cast<TZkDataConsumer*>(Controller)) throw EZKCLDataConsumer(ZkErrorInvalidClassType);
}

std::string TZkDataConsumerItemSelect::Item() const {
    return selected_ ? selected_->ID() : kept_;
}

void TZkDataConsumerItemSelect::Select(TZkIntf<IZkDataItem> Item) {
    if (Item.get() == selected_.get()) return;
    selected_ = std::move(Item);
    if (TZkDataConsumer* consumer = Consumer()) consumer->Changed(crItem);
}

void TZkDataConsumerItemSelect::SetItem(const std::string& ID) {
    if (ID == Item()) return;
    TZkDataConsumer* consumer = Consumer();
    if (!consumer || !consumer->Active()) {
        if (!consumer || !consumer->OwnerLoading()) throw EZKCLDataConsumer(ZkErrorNoProviderForItem);
        kept_ = ID;
        return;
    }
    if (ID.empty()) {
        Select(nullptr);
        return;
    }
    TZkIntf<IZkDataItems> items = consumer->Items();
    TZkIntf<IZkDataItem> found = items ? items->FindItem(ID, true) : nullptr;
    if (!found) throw EZKCLDataConsumer(ZkErrorItemNotInContext);
    kept_.clear();
    Select(found);
}

void TZkDataConsumerItemSelect::ProviderChanged() {
    TZkDataConsumer* consumer = Consumer();
    TZkIntf<IZkDataItems> items = consumer ? consumer->Items() : nullptr;
    if (!items) {
        // Without a provider the selection goes, but an ID kept from
        // loading still waits.
        Select(nullptr);
        return;
    }
    const std::string wanted = selected_ ? selected_->ID() : std::exchange(kept_, {});
    Select(wanted.empty() ? nullptr : items->FindItem(wanted, true));
}

void TZkDataConsumerItemSelect::ItemDeleting(IZkDataItem* Item) {
    for (TZkIntf<IZkDataItem> item = selected_; item; item = item->ParentItem())
        if (item.get() == Item) {
            Select(nullptr);
            return;
        }
}
