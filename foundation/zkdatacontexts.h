// Named contexts of a provider: the contexts lists (`TZkBaseDataContexts`,
// `TZkDataContexts`) with path lookup, and the contexts themselves, each with
// its own contexts below it (`TZkDataContext`, `TZkManagedDataContext` with
// items of its own, `TZkFixedDataContext` that keeps its name).
#pragma once

#include <string>
#include <vector>

#include "foundation/zkdataitems.h"

class TZkBaseDataContext;
class TZkDataContext;

// Told before a context leaves a contexts tree; set on the root list.
struct IZkDataContextsObserver {
    virtual void ContextDeleting(IZkDataContext* Context) = 0;

protected:
    ~IZkDataContextsObserver() = default;
};

class TZkBaseDataContexts : public TExtensibleInterfacedPersistent, public virtual IZkDataContexts {
    VX_CLASS(TZkBaseDataContexts, TExtensibleInterfacedPersistent)
public:
    // A root list belongs to a provider; the own contexts of a context pass
    // their counting to it.
    explicit TZkBaseDataContexts(IZkDataProvider* Provider, TZkBaseDataContext* OwnerContext = nullptr);

    TZkIntf<IZkDataContext> FindContext(const std::string& Path) override;
    TZkIntf<IZkDataContext> OwnerContext() override;
    IZkDataProvider* Provider() override;
    // The provider is going away.
    void ForgetProvider() { provider_ = nullptr; }

    void SetObserver(IZkDataContextsObserver* Value) { observer_ = Value; }
    IZkDataContextsObserver* Observer();

    // Raises EZKCLDataContexts "A context with that name already exists"
    // when another context of this list has Name (without case).
    void CheckUniqueName(const std::string& Name, IZkDataContext* Except);

private:
    friend class TZkBaseDataContext;
    TZkBaseDataContexts* Parent() const;
    TZkBaseDataContexts* Root();

    IZkDataProvider* provider_;
    TZkBaseDataContext* ownerContext_;
    IZkDataContextsObserver* observer_ = nullptr;
};

class TZkDataContexts : public TZkBaseDataContexts {
    VX_CLASS(TZkDataContexts, TZkBaseDataContexts)
public:
    explicit TZkDataContexts(IZkDataProvider* Provider = nullptr, TZkBaseDataContext* OwnerContext = nullptr)
        : TZkBaseDataContexts(Provider, OwnerContext) {}

    int Count() override { return static_cast<int>(contexts_.size()); }
    TZkIntf<IZkDataContext> Context(int Index) override;

    // A new context of class T named Name, at the end.
    template <class T = TZkDataContext>
    T* Add(const std::string& Name) {
        CheckUniqueName(Name, nullptr);
        T* context = ::Create<T>(this, Name);
        Insert(context);
        return context;
    }
    void Delete(int Index);
    void Clear();

    void BeforeDestruction() override;

private:
    void Insert(TZkBaseDataContext* Context);
    std::vector<TZkBaseDataContext*> contexts_;
};

class TZkBaseDataContext : public TExtensibleInterfacedPersistent, public virtual IZkDataContext {
    VX_CLASS(TZkBaseDataContext, TExtensibleInterfacedPersistent)
public:
    // Raises EZKCLDataContexts "Cannot create a context without a context
    // list owner" without an owner.
    TZkBaseDataContext(TZkBaseDataContexts* Owner, const std::string& Name);

    std::string Name() override { return name_; }
    void SetName(const std::string& Value) override;
    TZkIntf<IZkDataContexts> OwnerContexts() override { return owner_; }
    TZkIntf<IZkDataContexts> Contexts() override { return contexts_; }
    TZkDataContexts* ContextList() const { return contexts_; }
    IZkDataProvider* Provider() override { return owner_ ? owner_->Provider() : nullptr; }

    void BeforeDestruction() override;

private:
    friend class TZkBaseDataContexts;
    friend class TZkDataContexts;
    TZkBaseDataContexts* owner_;
    std::string name_;
    TZkDataContexts* contexts_ = nullptr;
};

class TZkDataContext : public TZkBaseDataContext {
    VX_CLASS(TZkDataContext, TZkBaseDataContext)
public:
    using TZkBaseDataContext::TZkBaseDataContext;
};

// A context that holds items of its own, with list management and a text
// renderer.
class TZkManagedDataContext : public TZkDataContext {
    VX_CLASS(TZkManagedDataContext, TZkDataContext)
public:
    TZkManagedDataContext(TZkBaseDataContexts* Owner, const std::string& Name);
    TZkDataItemsList* Items() const { return items_; }
    void BeforeDestruction() override;

private:
    TZkDataItemsList* items_ = nullptr;
};

// A context whose name is given when it is made and never changes.
class TZkFixedDataContext : public TZkBaseDataContext {
    VX_CLASS(TZkFixedDataContext, TZkBaseDataContext)
public:
    using TZkBaseDataContext::TZkBaseDataContext;
    // Raises EZKCLDataContexts "A fixed context cannot be renamed".
    void SetName(const std::string& Value) override;
};
