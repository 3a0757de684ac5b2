#include "classlib/net/winsock.h"

#include <type_traits>

#include "classlib/core/laterlibrary.h"
#include "classlib/net/socket.h"

namespace {

// Loads the library, takes every function the table names and starts
// Winsock 2; cleaned up when the program ends.
class TLoadedWinsock {
public:
    TLoadedWinsock() {
        auto take = [this](auto& Slot, const char* Name) {
            Slot = LaterFunction<std::remove_reference_t<decltype(Slot)>>(L"ws2_32.dll", Name);
            complete_ = complete_ && Slot;
        };
        take(api_.socket, "socket");
        take(api_.connect, "connect");
        take(api_.send, "send");
        take(api_.recv, "recv");
        take(api_.closesocket, "closesocket");
        take(api_.setsockopt, "setsockopt");
        take(api_.ioctlsocket, "ioctlsocket");
        take(api_.getsockname, "getsockname");
        take(api_.gethostname, "gethostname");
        take(api_.getaddrinfo, "getaddrinfo");
        take(api_.freeaddrinfo, "freeaddrinfo");
        take(api_.inet_pton, "inet_pton");
        take(api_.inet_ntop, "inet_ntop");
        take(api_.htons, "htons");
        take(api_.ntohs, "ntohs");
        take(api_.WSAGetLastError, "WSAGetLastError");
        take(api_.WSAEventSelect, "WSAEventSelect");
        take(api_.WSAEnumNetworkEvents, "WSAEnumNetworkEvents");
        auto startup = LaterFunction<decltype(&::WSAStartup)>(L"ws2_32.dll", "WSAStartup");
        cleanup_ = LaterFunction<decltype(&::WSACleanup)>(L"ws2_32.dll", "WSACleanup");
        WSADATA data;
        started_ = complete_ && startup && cleanup_ && startup(MAKEWORD(2, 2), &data) == 0;
    }
    ~TLoadedWinsock() {
        if (started_) cleanup_();
    }
    TLoadedWinsock(const TLoadedWinsock&) = delete;
    TLoadedWinsock& operator=(const TLoadedWinsock&) = delete;

    bool Started() const { return started_; }
    const TWinsock& Api() const { return api_; }

private:
    TWinsock api_{};
    decltype(&::WSACleanup) cleanup_ = nullptr;
    bool complete_ = true;
    bool started_ = false;
};

}  // namespace

const TWinsock& Winsock() {
    // Thread-safe once: the mail worker and the name lookup may be first.
    static TLoadedWinsock loaded;
    if (!loaded.Started()) throw ESocketError("Windows Sockets 2 are not available on this system");
    return loaded.Api();
}
