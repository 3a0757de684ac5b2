// Events: comparable delegates bound to an object and one of its member
// functions, or to a plain function. `Assigned(OnX)` tells whether a handler
// is set; two delegates are equal when they call the same thing on the same
// object, which is what unhooking a handler relies on.
#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>

template <class Signature>
class TDelegate;

template <class R, class... Args>
class TDelegate<R(Args...)> {
public:
    TDelegate() = default;
    TDelegate(std::nullptr_t) {}
    TDelegate(R (*function)(Args...)) : invoke_(function ? &CallFunction : nullptr) { Store(function); }

    template <class C, class D>
        requires std::is_base_of_v<D, C>
    TDelegate(C* object, R (D::*method)(Args...))
        : object_(static_cast<D*>(object)), invoke_(&CallMember<D, R (D::*)(Args...)>) {
        Store(method);
    }

    template <class C, class D>
        requires std::is_base_of_v<D, C>
    TDelegate(const C* object, R (D::*method)(Args...) const)
        : object_(const_cast<D*>(static_cast<const D*>(object))),
          invoke_(&CallMember<D, R (D::*)(Args...) const>) {
        Store(method);
    }

    R operator()(Args... args) const { return invoke_(*this, static_cast<Args&&>(args)...); }

    explicit operator bool() const { return invoke_ != nullptr; }
    bool operator==(const TDelegate& other) const {
        return object_ == other.object_ && invoke_ == other.invoke_ &&
               std::memcmp(target_, other.target_, sizeof target_) == 0;
    }

    // The object a member delegate is bound to (null for a plain function).
    void* Object() const { return object_; }

private:
    using Invoker = R (*)(const TDelegate&, Args&&...);

    template <class T>
    void Store(T target) {
        static_assert(sizeof(T) <= sizeof target_, "member function pointer too large");
        std::memcpy(target_, &target, sizeof(T));
    }
    template <class T>
    T Load() const {
        T target;
        std::memcpy(&target, target_, sizeof(T));
        return target;
    }

    static R CallFunction(const TDelegate& self, Args&&... args) {
        return self.Load<R (*)(Args...)>()(static_cast<Args&&>(args)...);
    }
    // With SSE2 code generation GCC 12 loses sight of the object behind the
    // stored pointer and calls it possibly uninitialised.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
    template <class D, class Method>
    static R CallMember(const TDelegate& self, Args&&... args) {
        return (static_cast<D*>(self.object_)->*self.Load<Method>())(static_cast<Args&&>(args)...);
    }
#pragma GCC diagnostic pop

    void* object_ = nullptr;
    Invoker invoke_ = nullptr;
    // Only ever read and written through memcpy, so it needs no alignment of
    // its own. (alignas(std::max_align_t) made the layout depend on which
    // header had been included first: 8 or 16 with this toolchain.)
    unsigned char target_[16] = {};
};

template <class Signature>
bool Assigned(const TDelegate<Signature>& event) {
    return static_cast<bool>(event);
}

class TObject;
using TNotifyEvent = TDelegate<void(TObject* Sender)>;
