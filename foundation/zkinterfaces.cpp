#include "foundation/zkinterfaces.h"

#include <algorithm>

#include "classlib/core/exceptions.h"
#include "foundation/zkdataerrors.h"
#include "foundation/zkdatastreaming.h"

namespace zk_detail {

long TPassedCount::AddRef() {
    const long count = ++own_;
    if (IZkUnknown* target = target_) target->_AddRef();
    return count;
}

long TPassedCount::Release(bool& Ends) {
    IZkUnknown* target = target_;
    const long count = --own_;
    Ends = !target && count == 0;
    // The target may end this object with its own last reference.
    if (target) target->_Release();
    return count;
}

long TPassedCount::ReleaseEnding(TObject* Object) {
    bool ends = false;
    const long count = Release(ends);
    if (ends) Object->Free();
    return count;
}

bool TPassedCount::Detach() {
    IZkUnknown* target = std::exchange(target_, nullptr);
    const long passed = own_;
    if (target)
        for (long i = 0; i < passed; ++i) target->_Release();
    return passed == 0;
}

}  // namespace zk_detail

namespace {

[[noreturn]] void StillReferenced() {
    throw EInvalidPointer("Invalid pointer operation");
}

}  // namespace

zk_detail::TFactoryTable<TZkExtensionFactory>& ExtensionFactories() {
    static zk_detail::TFactoryTable<TZkExtensionFactory> table;
    return table;
}

// ---- TExtensibleInterfacedPersistent ------------------------------------------

long TExtensibleInterfacedPersistent::_AddRef() {
    return count_.AddRef();
}

long TExtensibleInterfacedPersistent::_Release() {
    return count_.ReleaseEnding(this);
}

HRESULT TExtensibleInterfacedPersistent::QueryInterface(TZkInterfaceCast Cast, void** Obj) {
    *Obj = nullptr;
    return GetInterface(Cast, Obj) ? ZK_S_OK : ZK_E_NOINTERFACE;
}

bool TExtensibleInterfacedPersistent::GetInterface(TZkInterfaceCast Cast, void** Obj) {
    if (void* found = Cast(this)) {
        *Obj = found;
        return true;
    }
    for (auto it = extensions_.rbegin(); it != extensions_.rend(); ++it)
        if (void* found = Cast(*it)) {
            *Obj = found;
            return true;
        }
    return false;
}

void TExtensibleInterfacedPersistent::AfterConstruction() {
    ZkDataProviderRegisterClasses();
    try {
        inherited::AfterConstruction();
        InitImplementers();
    } catch (...) {
        count_.DropConstructionHold();
        throw;
    }
    count_.DropConstructionHold();
}

void TExtensibleInterfacedPersistent::BeforeDestruction() {
    if (count_.Own() != 0) StillReferenced();
    ClearExtensions();
    inherited::BeforeDestruction();
}

void TExtensibleInterfacedPersistent::Abandon() {
    if (count_.Detach()) Free();
}

TAggregatedPersistentEx* TExtensibleInterfacedPersistent::FindExtension(TClass ExtensionClass) const {
    for (TAggregatedPersistentEx* extension : extensions_)
        if (extension->ClassType() == ExtensionClass) return extension;
    return nullptr;
}

void TExtensibleInterfacedPersistent::AddExtension(TAggregatedPersistentEx* Extension) {
    if (FindExtension(Extension->ClassType())) throw EZKCLDataProvider(ZkErrorImplementationExists);
    extensions_.push_back(Extension);
}

void TExtensibleInterfacedPersistent::LeaveExtensions(TAggregatedPersistentEx* Extension) {
    auto found = std::find(extensions_.begin(), extensions_.end(), Extension);
    if (found != extensions_.end()) extensions_.erase(found);
}

void TExtensibleInterfacedPersistent::RemoveExtension(TAggregatedPersistentEx* Extension) {
    if (std::find(extensions_.begin(), extensions_.end(), Extension) == extensions_.end()) return;
    LeaveExtensions(Extension);
    Extension->Abandon();
}

void TExtensibleInterfacedPersistent::ClearExtensions() {
    while (!extensions_.empty()) RemoveExtension(extensions_.back());
}

bool TExtensibleInterfacedPersistent::IsStreamableExtension(TAggregatedPersistentEx* Extension) const {
    return GetClass(Extension->ClassName()) == Extension->ClassType();
}

void TExtensibleInterfacedPersistent::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    DefineExtensionsProperty(Filer, this);
}

// ---- TAggregatedPersistent ------------------------------------------------------

TAggregatedPersistent::TAggregatedPersistent(TExtensibleInterfacedPersistent* Controller)
    : controller_(Controller) {
    if (!Controller) throw EInvalidOperation("An extension needs a controller");
    count_.SetTarget(Controller);
}

long TAggregatedPersistent::_AddRef() {
    return count_.AddRef();
}

long TAggregatedPersistent::_Release() {
    return count_.ReleaseEnding(this);
}

HRESULT TAggregatedPersistent::QueryInterface(TZkInterfaceCast Cast, void** Obj) {
    if (controller_) return controller_->QueryInterface(Cast, Obj);
    // Let go by its controller: it answers for itself alone.
    *Obj = Cast(this);
    return *Obj ? ZK_S_OK : ZK_E_NOINTERFACE;
}

void TAggregatedPersistent::AfterConstruction() {
    inherited::AfterConstruction();
    count_.DropConstructionHold();
}

void TAggregatedPersistent::BeforeDestruction() {
    if (count_.Own() != 0) StillReferenced();
    inherited::BeforeDestruction();
}

void TAggregatedPersistent::Abandon() {
    controller_ = nullptr;
    if (count_.Detach()) Free();
}

// ---- TAggregatedPersistentEx ----------------------------------------------------

void TAggregatedPersistentEx::AfterConstruction() {
    inherited::AfterConstruction();
    Controller()->AddExtension(this);
}

void TAggregatedPersistentEx::BeforeDestruction() {
    // The count check comes first: a refused destruction leaves the list as it was.
    inherited::BeforeDestruction();
    if (TExtensibleInterfacedPersistent* controller = Controller()) controller->LeaveExtensions(this);
}
