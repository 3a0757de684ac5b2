#include "mail/host_lookup.h"

// Winsock 2 must come before <windows.h>.
#include "classlib/net/winsock.h"
// After it.
#include "classlib/net/socket.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// Runs on the lookup's own thread: a system without Winsock finds no name.
bool SystemResolver(const std::string& Host, std::string& Address) {
    const TWinsock* api = nullptr;
    try {
        api = &Winsock();
    } catch (const ESocketError&) {
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (api->getaddrinfo(Host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
    char text[INET_ADDRSTRLEN] = {};
    const bool converted =
        api->inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, text, sizeof text);
    api->freeaddrinfo(found);
    if (converted) Address = text;
    return converted;
}

std::atomic<THostResolver> resolver{&SystemResolver};

// Shared by the waiter and the lookup's thread; the last of the two frees it.
struct TPendingLookup {
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    bool found = false;
    std::string address;
};

constexpr std::chrono::milliseconds GiveUpCheck{10};

void StartLookup(const std::shared_ptr<TPendingLookup>& Pending, const std::string& Host,
                 THostResolver Resolve) {
    std::thread([Pending, Host, Resolve] {
        bool found = false;
        std::string address;
        try {
            found = Resolve(Host, address);
        } catch (...) {
            found = false;
        }
        {
            std::lock_guard guard(Pending->lock);
            Pending->done = true;
            Pending->found = found;
            Pending->address = std::move(address);
        }
        Pending->finished.notify_all();
    }).detach();
}

}  // namespace

THostResolver SetHostResolver(THostResolver Resolver) {
    return resolver.exchange(Resolver ? Resolver : &SystemResolver);
}

THostLookup LookUpHost(const std::string& Host, std::string& Address, const std::function<bool()>& GiveUp) {
    auto pending = std::make_shared<TPendingLookup>();
    const THostResolver resolve = resolver.load();
    try {
        StartLookup(pending, Host, resolve);
    } catch (const std::system_error&) {
        // No thread to be had: looked up here, without a way to give up.
        return resolve(Host, Address) ? THostLookup::Found : THostLookup::NotFound;
    }

    std::unique_lock guard(pending->lock);
    while (!pending->finished.wait_for(guard, GiveUpCheck, [&] { return pending->done; })) {
        guard.unlock();
        const bool givingUp = GiveUp();
        guard.lock();
        if (givingUp && !pending->done) return THostLookup::GivenUp;
    }
    if (!pending->found) return THostLookup::NotFound;
    Address = pending->address;
    return THostLookup::Found;
}
