#include "classlib/net/socket.h"

// Winsock 2 must come before <windows.h>.
#include "classlib/net/winsock.h"
// After it.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

SOCKET AsSocket(std::uintptr_t s) {
    return static_cast<SOCKET>(s);
}

}  // namespace

TClientSocket::TEventHandle::TEventHandle(bool manualReset)
    : handle_(CreateEventW(nullptr, manualReset, FALSE, nullptr)) {
    if (!handle_) throw EOutOfResources("Cannot create an event: " + SysErrorMessage(GetLastError()));
}

TClientSocket::TEventHandle::~TEventHandle() {
    CloseHandle(handle_);
}

TClientSocket::TClientSocket() : socket_(static_cast<std::uintptr_t>(INVALID_SOCKET)) {}

TClientSocket::~TClientSocket() {
    Close();
}

bool TClientSocket::Active() const {
    return AsSocket(socket_) != INVALID_SOCKET;
}

void TClientSocket::Error(TErrorEvent ErrorEvent, int ErrorCode, const char* Api) {
    if (Assigned(OnError)) OnError(this, this, ErrorEvent, ErrorCode);
    if (ErrorCode != 0)
        throw ESocketError(
            Format("Windows socket error: %s (%d), on API '%s'", SysErrorMessage(ErrorCode), ErrorCode, Api));
}

bool TClientSocket::Lookup(std::uint32_t& address) {
    if (Assigned(OnLookup)) OnLookup(this, this);
    in_addr numeric{};
    if (!address_.empty()) {
        if (Winsock().inet_pton(AF_INET, address_.c_str(), &numeric) == 1) {
            address = numeric.s_addr;
            return true;
        }
        Error(eeLookup, WSAHOST_NOT_FOUND, "inet_pton");
        return false;
    }
    if (host_.empty()) {
        Error(eeLookup, WSAHOST_NOT_FOUND, "getaddrinfo");
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int code = Winsock().getaddrinfo(host_.c_str(), nullptr, &hints, &found);
    if (code != 0 || !found) {
        Error(eeLookup, code ? code : WSAHOST_NOT_FOUND, "getaddrinfo");
        return false;
    }
    address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    Winsock().freeaddrinfo(found);
    return true;
}

void TClientSocket::Open() {
    if (Active()) return;
    std::uint32_t address = 0;
    if (!Lookup(address)) return;

    SOCKET s = Winsock().socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        Error(eeConnect, Winsock().WSAGetLastError(), "socket");
        return;
    }
    socket_ = static_cast<std::uintptr_t>(s);
    connected_ = false;
    // Also makes the socket non-blocking.
    if (Winsock().WSAEventSelect(s, networkEvent_.Get(), FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) != 0) {
        int code = Winsock().WSAGetLastError();
        Close();
        Error(eeConnect, code, "WSAEventSelect");
        return;
    }
    // Commands go out as soon as they are written; nothing waits for a
    // fuller segment.
    BOOL noDelay = TRUE;
    Winsock().setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                         sizeof noDelay);

    if (Assigned(OnConnecting)) OnConnecting(this, this);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = Winsock().htons(static_cast<u_short>(port_));
    to.sin_addr.s_addr = address;
    if (Winsock().connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        int code = Winsock().WSAGetLastError();
        if (code != WSAEWOULDBLOCK) Error(eeConnect, code, "connect");
    }
}

void TClientSocket::Close() {
    if (Active()) {
        SOCKET s = AsSocket(socket_);
        socket_ = static_cast<std::uintptr_t>(INVALID_SOCKET);
        Winsock().WSAEventSelect(s, nullptr, 0);
        Winsock().closesocket(s);
    }
    connected_ = false;
    ResetEvent(networkEvent_.Get());
    ResetEvent(interrupt_.Get());
}

int TClientSocket::SendBuf(const void* Buf, int Count) {
    if (!Active()) {
        Error(eeSend, WSAENOTCONN, "send");
        return -1;
    }
    int sent = Winsock().send(AsSocket(socket_), static_cast<const char*>(Buf), Count, 0);
    if (sent == SOCKET_ERROR) {
        int code = Winsock().WSAGetLastError();
        if (code != WSAEWOULDBLOCK) Error(eeSend, code, "send");
        return -1;
    }
    return sent;
}

int TClientSocket::ReceiveLength() const {
    u_long length = 0;
    if (!Active() || Winsock().ioctlsocket(AsSocket(socket_), FIONREAD, &length) != 0) return 0;
    return static_cast<int>(std::min<u_long>(length, INT_MAX));
}

int TClientSocket::ReceiveBuf(void* Buf, int Count) {
    if (!Active()) return -1;
    int received = Winsock().recv(AsSocket(socket_), static_cast<char*>(Buf), Count, 0);
    if (received == SOCKET_ERROR) {
        int code = Winsock().WSAGetLastError();
        if (code != WSAEWOULDBLOCK) Error(eeReceive, code, "recv");
        return -1;
    }
    return received;
}

std::string TClientSocket::ReceiveText() {
    std::string text;
    ReceiveAppend(text, SIZE_MAX);
    return text;
}

std::size_t TClientSocket::ReceiveAppend(std::string& Text, std::size_t Limit) {
    char buffer[65536];
    std::size_t taken = 0;
    // A read that does not fill the buffer took everything there was (each
    // extra call is costly under Wine); 0 means the peer closed, which the
    // close event reports.
    while (taken < Limit) {
        const int wanted = static_cast<int>(std::min<std::size_t>(sizeof buffer, Limit - taken));
        const int received = ReceiveBuf(buffer, wanted);
        if (received <= 0) break;
        Text.append(buffer, static_cast<std::size_t>(received));
        taken += static_cast<std::size_t>(received);
        if (received < wanted) break;
    }
    return taken;
}

std::string TClientSocket::LocalHost() {
    char name[256] = {};
    if (Winsock().gethostname(name, sizeof name) != 0) return "";
    return name;
}

std::string TClientSocket::LocalAddress() const {
    sockaddr_in local{};
    int size = sizeof local;
    if (!Active() ||
        Winsock().getsockname(AsSocket(socket_), reinterpret_cast<sockaddr*>(&local), &size) != 0)
        return "";
    char text[INET_ADDRSTRLEN] = {};
    if (!Winsock().inet_ntop(AF_INET, &local.sin_addr, text, sizeof text)) return "";
    return text;
}

int TClientSocket::LocalPort() const {
    sockaddr_in local{};
    int size = sizeof local;
    if (!Active() ||
        Winsock().getsockname(AsSocket(socket_), reinterpret_cast<sockaddr*>(&local), &size) != 0)
        return 0;
    return Winsock().ntohs(local.sin_port);
}

void TClientSocket::Interrupt() {
    SetEvent(interrupt_.Get());
}

TSocketWaitResult TClientSocket::WaitForEvents(unsigned long Milliseconds) {
    HANDLE handles[2] = {interrupt_.Get(), networkEvent_.Get()};
    DWORD count = Active() ? 2 : 1;
    DWORD result = WaitForMultipleObjects(count, handles, FALSE, Milliseconds);
    if (result == WAIT_OBJECT_0) return swInterrupted;
    if (result != WAIT_OBJECT_0 + 1) return swTimeOut;
    Dispatch();
    return swEvents;
}

void TClientSocket::Dispatch() {
    WSANETWORKEVENTS events{};
    if (!Active() || Winsock().WSAEnumNetworkEvents(AsSocket(socket_), networkEvent_.Get(), &events) != 0)
        return;
    // A handler may close the socket: each step checks that it is still open.
    if (events.lNetworkEvents & FD_CONNECT) {
        int code = events.iErrorCode[FD_CONNECT_BIT];
        if (code != 0) {
            Error(eeConnect, code, "connect");
            return;
        }
        connected_ = true;
        if (Assigned(OnConnect)) OnConnect(this, this);
    }
    if ((events.lNetworkEvents & FD_READ) && Active() && Assigned(OnRead)) OnRead(this, this);
    if ((events.lNetworkEvents & FD_WRITE) && Active() && Assigned(OnWrite)) OnWrite(this, this);
    if ((events.lNetworkEvents & FD_CLOSE) && Active()) Disconnect();
}

void TClientSocket::Disconnect() {
    // The peer's last words may still wait behind the close.
    if (ReceiveLength() > 0 && Assigned(OnRead)) OnRead(this, this);
    if (!Active()) return;
    if (Assigned(OnDisconnect)) OnDisconnect(this, this);
    Close();
}
