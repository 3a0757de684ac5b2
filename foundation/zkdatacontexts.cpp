#include "foundation/zkdatacontexts.h"

#include <algorithm>

#include "classlib/core/text.h"
#include "foundation/zkdataerrors.h"
#include "foundation/zkdatarender.h"

namespace {

// The first segment of Path and what follows its separator; HasRest is false
// when no separator ends the segment.
struct Segment {
    std::string name;
    std::string rest;
    bool hasRest = false;
};

Segment SplitPath(const std::string& Path) {
    const size_t separator = Path.find_first_of("\\/");
    if (separator == std::string::npos) return {Path, {}, false};
    return {Path.substr(0, separator), Path.substr(separator + 1), true};
}

}  // namespace

// ---- TZkBaseDataContexts ---------------------------------------------------------------

TZkBaseDataContexts::TZkBaseDataContexts(IZkDataProvider* Provider, TZkBaseDataContext* OwnerContext)
    : provider_(Provider), ownerContext_(OwnerContext) {
    PassCountTo(OwnerContext);
}

TZkIntf<IZkDataContext> TZkBaseDataContexts::OwnerContext() {
    return ownerContext_;
}

TZkBaseDataContexts* TZkBaseDataContexts::Parent() const {
    return ownerContext_ ? ownerContext_->owner_ : nullptr;
}

TZkBaseDataContexts* TZkBaseDataContexts::Root() {
    TZkBaseDataContexts* list = this;
    while (TZkBaseDataContexts* parent = list->Parent()) list = parent;
    return list;
}

IZkDataProvider* TZkBaseDataContexts::Provider() {
    TZkBaseDataContexts* root = Root();
    // A list below a context taken out of its tree belongs to no provider.
    return root->ownerContext_ ? nullptr : root->provider_;
}

IZkDataContextsObserver* TZkBaseDataContexts::Observer() {
    TZkBaseDataContexts* root = Root();
    return root->ownerContext_ ? nullptr : root->observer_;
}

void TZkBaseDataContexts::CheckUniqueName(const std::string& Name, IZkDataContext* Except) {
    for (int i = 0; i < Count(); ++i) {
        TZkIntf<IZkDataContext> context = Context(i);
        if (context.get() != Except && SameText(context->Name(), Name))
            throw EZKCLDataContexts(ZkErrorDuplicateContext);
    }
}

TZkIntf<IZkDataContext> TZkBaseDataContexts::FindContext(const std::string& Path) {
    TZkBaseDataContexts* list = this;
    std::string path = Path;
    Segment first = SplitPath(path);
    if (first.hasRest && first.name.empty()) {
        list = Root();
        path = first.rest;
    }
    // Each step moves to another list; the path ends on a list (its owner
    // context is the answer) or on a named context.
    while (!path.empty()) {
        const Segment segment = SplitPath(path);
        path = segment.rest;
        if (segment.name.empty()) continue;
        if (segment.name == "..") {
            list = list->Parent();
            if (!list) return nullptr;
            continue;
        }
        TZkBaseDataContext* found = nullptr;
        for (int i = 0; i < list->Count() && !found; ++i) {
            TZkIntf<IZkDataContext> context = list->Context(i);
            if (SameText(context->Name(), segment.name))
                found = dynamic_cast<TZkBaseDataContext*>(context.get());
        }
        if (!found) return nullptr;
        if (!segment.hasRest) return TZkIntf<IZkDataContext>(found);
        list = found->ContextList();
    }
    return list->OwnerContext();
}

// ---- TZkDataContexts ------------------------------------------------------------------------

TZkIntf<IZkDataContext> TZkDataContexts::Context(int Index) {
    if (Index < 0 || Index >= Count()) throw EZKCLDataContexts(Format(ZkErrorIndexOutOfBounds, Index));
    return contexts_[static_cast<size_t>(Index)];
}

void TZkDataContexts::Insert(TZkBaseDataContext* Context) {
    contexts_.push_back(Context);
}

void TZkDataContexts::Delete(int Index) {
    TZkIntf<IZkDataContext> context = Context(Index);
    if (IZkDataContextsObserver* observer = Observer()) observer->ContextDeleting(context.get());
    auto* doomed = dynamic_cast<TZkBaseDataContext*>(context.get());
    auto found = std::find(contexts_.begin(), contexts_.end(), doomed);
    if (found == contexts_.end()) return;
    contexts_.erase(found);
    doomed->owner_ = nullptr;
    context.reset();
    doomed->Abandon();
}

void TZkDataContexts::Clear() {
    while (!contexts_.empty()) Delete(Count() - 1);
}

void TZkDataContexts::BeforeDestruction() {
    inherited::BeforeDestruction();
    for (auto it = contexts_.rbegin(); it != contexts_.rend(); ++it) {
        (*it)->owner_ = nullptr;
        (*it)->Abandon();
    }
    contexts_.clear();
}

// ---- Contexts ---------------------------------------------------------------------------------

TZkBaseDataContext::TZkBaseDataContext(TZkBaseDataContexts* Owner, const std::string& Name)
    : owner_(Owner), name_(Name) {
    if (!Owner) throw EZKCLDataContexts(ZkErrorContextWithoutOwner);
    PassCountTo(Owner);
    contexts_ = ::Create<TZkDataContexts>(nullptr, this);
}

void TZkBaseDataContext::SetName(const std::string& Value) {
    if (owner_) owner_->CheckUniqueName(Value, this);
    name_ = Value;
}

void TZkBaseDataContext::BeforeDestruction() {
    inherited::BeforeDestruction();
    if (TZkDataContexts* contexts = std::exchange(contexts_, nullptr)) contexts->Abandon();
}

TZkManagedDataContext::TZkManagedDataContext(TZkBaseDataContexts* Owner, const std::string& Name)
    : TZkDataContext(Owner, Name) {
    items_ = ::Create<TZkDataItemsList>();
    items_->PassCountTo(this);
    ::Create<TZkBaseDataItemsListManagement>(items_);
    ::Create<TZkCustomDataItemsTextRenderer>(items_);
}

void TZkManagedDataContext::BeforeDestruction() {
    inherited::BeforeDestruction();
    if (TZkDataItemsList* items = std::exchange(items_, nullptr)) items->Abandon();
}

void TZkFixedDataContext::SetName(const std::string& Value) {
    if (Value == Name()) return;
    throw EZKCLDataContexts("A fixed context cannot be renamed");
}
