// A pointer to a component that turns null when the component is freed:
// code that calls out to user handlers (OnPopup, OnSelect) keeps hold of
// items through it instead of trusting them to survive the call.
#pragma once

#include "classlib/core/component.h"

template <class T>
class TBarWatch {
public:
    explicit TBarWatch(T* Target = nullptr) : watcher_(Create<TWatcher>(nullptr)) { Set(Target); }
    ~TBarWatch() {
        Set(nullptr);
        watcher_->Free();
    }
    TBarWatch(const TBarWatch&) = delete;
    TBarWatch& operator=(const TBarWatch&) = delete;

    void Set(T* Target) {
        if (watcher_->Target == Target) return;
        if (watcher_->Target) watcher_->Target->RemoveFreeNotification(watcher_);
        watcher_->Target = Target;
        if (Target) Target->FreeNotification(watcher_);
    }
    T* Get() const { return static_cast<T*>(watcher_->Target); }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }

private:
    class TWatcher : public TComponent {
    public:
        TWatcher() : TComponent(nullptr) {}
        explicit TWatcher(TComponent* AOwner) : TComponent(AOwner) {}
        TComponent* Target = nullptr;
        void Notification(TComponent* AComponent, TOperation Operation) override {
            TComponent::Notification(AComponent, Operation);
            if (Operation == opRemove && AComponent == Target) Target = nullptr;
        }
    };
    TWatcher* watcher_;
};
