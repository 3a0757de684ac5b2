#include "foundation/zkdataprovider.h"

#include <algorithm>

void TZkDataProviderNotifiers::Register(IZkDataProviderNotify* Notify) {
    if (Notify && std::find(notifies_.begin(), notifies_.end(), Notify) == notifies_.end())
        notifies_.push_back(Notify);
}

void TZkDataProviderNotifiers::Unregister(IZkDataProviderNotify* Notify) {
    auto found = std::find(notifies_.begin(), notifies_.end(), Notify);
    if (found != notifies_.end()) notifies_.erase(found);
}

void TZkDataProviderNotifiers::Broadcast(const std::function<void(IZkDataProviderNotify*)>& Tell) {
    const std::vector<IZkDataProviderNotify*> snapshot = notifies_;
    for (IZkDataProviderNotify* notify : snapshot)
        if (std::find(notifies_.begin(), notifies_.end(), notify) != notifies_.end()) Tell(notify);
}
