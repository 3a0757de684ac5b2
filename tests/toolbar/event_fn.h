// Events bound to lambdas for tests: events take methods, so each lambda
// lives in a small object the test keeps.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "classlib/core/delegate.h"

template <class Sig>
struct TEventFn;
template <class R, class... A>
struct TEventFn<R(A...)> {
    std::function<R(A...)> F;
    R Call(A... Args) { return F(Args...); }
};

class TEventFns {
public:
    template <class Sig, class F>
    TDelegate<Sig> On(F Body) {
        auto fn = std::make_shared<TEventFn<Sig>>();
        fn->F = Body;
        keep_.push_back(fn);
        return TDelegate<Sig>(fn.get(), &TEventFn<Sig>::Call);
    }

private:
    std::vector<std::shared_ptr<void>> keep_;
};
