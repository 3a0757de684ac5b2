// What a provider needs to tell its consumers: the list of registered
// change notifications, safe against notifications that come or go while a
// change is being told.
#pragma once

#include <functional>
#include <vector>

#include "foundation/zkdatainterfaces.h"

class TZkDataProviderNotifiers {
public:
    void Register(IZkDataProviderNotify* Notify);
    void Unregister(IZkDataProviderNotify* Notify);
    int Count() const { return static_cast<int>(notifies_.size()); }
    // Tells every registered notification that is still registered when its
    // turn comes.
    void Broadcast(const std::function<void(IZkDataProviderNotify*)>& Tell);

private:
    std::vector<IZkDataProviderNotify*> notifies_;
};
