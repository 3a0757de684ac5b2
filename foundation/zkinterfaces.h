// Counted interface objects for the data provider framework: the interface
// root `IZkUnknown` (an intrusive count and a C++ type query), the counted
// pointer `TZkIntf`, objects with aggregated extensions
// (`TExtensibleInterfacedPersistent`) and the extensions themselves.
#pragma once

#include <atomic>
#include <cstddef>
#include <map>
#include <mutex>
#include <type_traits>
#include <utility>
#include <vector>

#include "classlib/core/object.h"
#include "classlib/core/win32.h"

// A type query: the object as the asked interface, or null.
using TZkInterfaceCast = void* (*)(TObject* Object);
template <class I>
void* ZkCastTo(TObject* Object) {
    return dynamic_cast<I*>(Object);
}

constexpr HRESULT ZK_S_OK = 0;
constexpr HRESULT ZK_E_NOINTERFACE = static_cast<HRESULT>(0x80004002);

// Every interface of the framework derives virtually from this root, so an
// object that implements several of them counts once.
struct IZkUnknown {
    virtual long _AddRef() = 0;
    virtual long _Release() = 0;
    // ZK_S_OK with *Obj set (no reference taken), or ZK_E_NOINTERFACE.
    virtual HRESULT QueryInterface(TZkInterfaceCast Cast, void** Obj) = 0;

protected:
    ~IZkUnknown() = default;
};

// A counted reference: takes a reference when it gets a pointer and gives it
// back when it lets go.
template <class I>
class TZkIntf {
public:
    TZkIntf() = default;
    TZkIntf(std::nullptr_t) {}
    TZkIntf(I* Pointer) : p_(Pointer) {
        if (p_) p_->_AddRef();
    }
    TZkIntf(const TZkIntf& Other) : TZkIntf(Other.p_) {}
    TZkIntf(TZkIntf&& Other) noexcept : p_(std::exchange(Other.p_, nullptr)) {}
    template <class J>
    requires std::is_convertible_v<J*, I*> TZkIntf(const TZkIntf<J>& Other)
        : TZkIntf(static_cast<I*>(Other.get())) {}
    ~TZkIntf() { reset(); }

    TZkIntf& operator=(TZkIntf Other) noexcept {
        std::swap(p_, Other.p_);
        return *this;
    }

    I* get() const { return p_; }
    I* operator->() const { return p_; }
    I& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // Releasing may end the object: the pointer is cleared first.
    void reset() {
        if (I* doomed = std::exchange(p_, nullptr)) doomed->_Release();
    }

private:
    I* p_ = nullptr;
};

// The object behind Source as interface I (counted), or null when it has none.
template <class I>
TZkIntf<I> ZkSupports(IZkUnknown* Source) {
    void* found = nullptr;
    if (Source && Source->QueryInterface(&ZkCastTo<I>, &found) == ZK_S_OK)
        return TZkIntf<I>(static_cast<I*>(found));
    return nullptr;
}
template <class I, class J>
TZkIntf<I> ZkSupports(const TZkIntf<J>& Source) {
    return ZkSupports<I>(static_cast<IZkUnknown*>(Source.get()));
}

namespace zk_detail {
// The references taken through one object. While a target is set, each of
// them is taken on the target as well, which then keeps this object alive;
// without one the object ends with its last reference. Starts with a hold
// that belongs to construction and is never passed on.
class TPassedCount {
public:
    long Own() const { return own_; }
    IZkUnknown* Target() const { return target_; }
    void SetTarget(IZkUnknown* Target) { target_ = Target; }
    long AddRef();
    // The count left; Ends is set when the object should end now. Nothing
    // of the object is touched after the target was released.
    long Release(bool& Ends);
    // Release, ending Object (whose count this is) when it should end.
    long ReleaseEnding(TObject* Object);
    // Construction is over.
    void DropConstructionHold() { --own_; }
    // The owner lets the object go: the references it passed on are taken
    // back from the target and the object counts for itself. True when no
    // reference is left, so the caller ends the object now.
    bool Detach();
    // Held up while the object streams itself, without ending it after.
    void Hold() { ++own_; }
    void Unhold() { --own_; }

private:
    std::atomic<long> own_{1};
    IZkUnknown* target_ = nullptr;
};
}  // namespace zk_detail

class TAggregatedPersistentEx;

// An interface-counted object with a list of extension objects. Its count
// may be passed on to an owner (items to their list, a list to its item),
// so that a reference to a part keeps the whole alive.
class TExtensibleInterfacedPersistent : public TPersistent, public virtual IZkUnknown {
    VX_CLASS(TExtensibleInterfacedPersistent, TPersistent)
public:
    TExtensibleInterfacedPersistent() = default;

    long _AddRef() override;
    long _Release() override;
    HRESULT QueryInterface(TZkInterfaceCast Cast, void** Obj) override;
    long RefCount() const { return count_.Own(); }

    void AfterConstruction() override;
    // Refuses (EInvalidPointer) while references remain: they would point
    // at a freed object.
    void BeforeDestruction() override;

    int ExtensionCount() const { return static_cast<int>(extensions_.size()); }
    TAggregatedPersistentEx* Extension(int Index) const { return extensions_.at(static_cast<size_t>(Index)); }
    // The extension of exactly this class, or null.
    TAggregatedPersistentEx* FindExtension(TClass ExtensionClass) const;
    // Frees the extension (it leaves the list as it goes).
    void RemoveExtension(TAggregatedPersistentEx* Extension);
    // Frees every extension, last added first.
    void ClearExtensions();

    // The owner that kept this object lets it go: it ends now, or with its
    // last outside reference.
    void Abandon();

    virtual bool IsStreamableExtension(TAggregatedPersistentEx* Extension) const;

    // Passes this object's counting on to the object that keeps it, so that
    // temporary references never end it. Set once, before any outside
    // reference is taken; an object without one must be kept by a counted
    // reference (`TZkIntf`).
    void PassCountTo(IZkUnknown* Owner) { count_.SetTarget(Owner); }

protected:
    // Descendants create their extensions here; it runs once construction
    // is over, under the construction hold.
    virtual void InitImplementers() {}
    // The object itself, then each extension from the last added to the first.
    virtual bool GetInterface(TZkInterfaceCast Cast, void** Obj);
    void DefineProperties(TFiler* Filer) override;

private:
    friend class TAggregatedPersistentEx;
    friend class TZkStreamHold;
    void AddExtension(TAggregatedPersistentEx* Extension);
    void LeaveExtensions(TAggregatedPersistentEx* Extension);

    zk_detail::TPassedCount count_;
    std::vector<TAggregatedPersistentEx*> extensions_;
};

// An object whose counting and interface queries belong to a controller.
// The controller is not counted: it keeps the object, not the other way.
class TAggregatedPersistent : public TPersistent, public virtual IZkUnknown {
    VX_CLASS(TAggregatedPersistent, TPersistent)
public:
    explicit TAggregatedPersistent(TExtensibleInterfacedPersistent* Controller);

    long _AddRef() override;
    long _Release() override;
    HRESULT QueryInterface(TZkInterfaceCast Cast, void** Obj) override;

    // Null once the controller let the object go while references to it remained.
    TExtensibleInterfacedPersistent* Controller() const { return controller_; }

    void AfterConstruction() override;
    void BeforeDestruction() override;

protected:
    // The controller lets the object go.
    void Abandon();

private:
    friend class TExtensibleInterfacedPersistent;
    TExtensibleInterfacedPersistent* controller_;
    zk_detail::TPassedCount count_;
};

// An extension: joins its controller's extension list once built, leaves it
// before it goes, and streams by class name.
class TAggregatedPersistentEx : public TAggregatedPersistent {
    VX_CLASS(TAggregatedPersistentEx, TAggregatedPersistent)
public:
    explicit TAggregatedPersistentEx(TExtensibleInterfacedPersistent* Controller)
        : TAggregatedPersistent(Controller) {}

    void AfterConstruction() override;
    void BeforeDestruction() override;
};

namespace zk_detail {
// Builders of classes known by their token, for the reader.
template <class Factory>
class TFactoryTable {
public:
    void Add(TClass Class, Factory Builder) {
        std::lock_guard guard(lock_);
        factories_[Class] = Builder;
    }
    Factory Find(TClass Class) {
        std::lock_guard guard(lock_);
        auto found = factories_.find(Class);
        return found == factories_.end() ? nullptr : found->second;
    }

private:
    std::mutex lock_;
    std::map<TClass, Factory> factories_;
};
}  // namespace zk_detail

// Builds an extension of a class known by its token, for the reader.
using TZkExtensionFactory = TAggregatedPersistentEx* (*)(TExtensibleInterfacedPersistent* Controller);
zk_detail::TFactoryTable<TZkExtensionFactory>& ExtensionFactories();
