#include "tests/mail/smtp_script_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>

namespace {

SOCKET AsSocket(std::uintptr_t s) {
    return static_cast<SOCKET>(s);
}

void StartWinsock() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

// Listens on 127.0.0.1 at a port the system picks.
SOCKET Listen(int& port) {
    StartWinsock();
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    // A small window makes a slow reader hold the client back soon.
    int window = 16384;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&window), sizeof window);
    bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at);
    listen(s, 1);
    int size = sizeof at;
    getsockname(s, reinterpret_cast<sockaddr*>(&at), &size);
    port = ntohs(at.sin_port);
    return s;
}

}  // namespace

TScriptStep Send(std::string text) {
    return {TScriptStep::Send, std::move(text)};
}
TScriptStep Flood(std::string start, char fill, std::size_t count) {
    TScriptStep step{TScriptStep::Flood, std::move(start), count};
    step.Fill = fill;
    return step;
}
TScriptStep SendSlowly(std::string text, int pauseMs) {
    return {TScriptStep::Trickle, std::move(text), 0, pauseMs};
}
TScriptStep ReadLine() {
    return {TScriptStep::Line, {}};
}
TScriptStep ReadData() {
    return {TScriptStep::Data, {}};
}
TScriptStep ReadBytes(std::size_t count, std::size_t piece, int pauseMs) {
    return {TScriptStep::Bytes, {}, count, pauseMs, piece};
}
TScriptStep Pause(int milliseconds) {
    return {TScriptStep::Pause, {}, 0, milliseconds};
}
TScriptStep CloseConnection() {
    return {TScriptStep::Close, {}};
}
TScriptStep ResetConnection() {
    return {TScriptStep::Reset, {}};
}

TScriptServer::TScriptServer(std::vector<TScriptStep> steps, int Sessions)
    : steps_(std::move(steps)), sessions_(Sessions), client_(static_cast<std::uintptr_t>(INVALID_SOCKET)) {
    listener_ = static_cast<std::uintptr_t>(Listen(port_));
    thread_ = std::thread([this] { Run(); });
}

TScriptServer::~TScriptServer() {
    // A client that never came must not keep the thread in accept.
    closesocket(AsSocket(listener_));
    Join();
}

void TScriptServer::Join() {
    if (thread_.joinable()) thread_.join();
}

std::vector<std::string> TScriptServer::Received() {
    std::lock_guard lock(mutex_);
    return received_;
}

int TScriptServer::ClosedPort() {
    int port = 0;
    closesocket(Listen(port));
    return port;
}

namespace {

bool SendAll(SOCKET client, const char* data, std::size_t length) {
    while (length > 0) {
        const int sent = send(client, data, static_cast<int>(std::min<std::size_t>(length, 65536)), 0);
        if (sent <= 0) return false;
        data += sent;
        length -= static_cast<std::size_t>(sent);
    }
    return true;
}

// Streams the run from a small buffer: a flood of any length costs no memory.
bool PlayFlood(SOCKET client, const TScriptStep& step) {
    if (!SendAll(client, step.Text.data(), step.Text.size())) return false;
    const std::string fill(65536, step.Fill);
    for (std::size_t left = step.Count; left > 0;) {
        const std::size_t piece = std::min(left, fill.size());
        if (!SendAll(client, fill.data(), piece)) return false;
        if (step.Count != Endless) left -= piece;
    }
    return SendAll(client, "\r\n", 2);
}

bool PlayTrickle(SOCKET client, const TScriptStep& step) {
    for (char c : step.Text) {
        if (!SendAll(client, &c, 1)) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(step.Milliseconds));
    }
    return true;
}

}  // namespace

bool TScriptServer::ReadUntil(std::string& pending, const std::string& end, std::string& out) {
    char buffer[65536];
    for (;;) {
        const std::size_t at = pending.find(end);
        if (at != std::string::npos) {
            out = pending.substr(0, at);
            pending.erase(0, at + end.size());
            return true;
        }
        const int got = recv(AsSocket(client_), buffer, sizeof buffer, 0);
        if (got < 0 && WSAGetLastError() == WSAECONNRESET) resetByPeer_ = true;
        if (got <= 0) return false;
        pending.append(buffer, static_cast<std::size_t>(got));
    }
}

void TScriptServer::Run() {
    for (int session = 0; session < sessions_; ++session) Play();
}

void TScriptServer::Play() {
    SOCKET client = accept(AsSocket(listener_), nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    client_ = static_cast<std::uintptr_t>(client);
    // A test that goes wrong must not leave the server waiting for ever.
    DWORD limit = 20000;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
    setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
    std::string pending;
    bool reset = false;
    for (const TScriptStep& step : steps_) {
        std::string got;
        bool ok = true;
        switch (step.Kind) {
            case TScriptStep::Send:
                ok = SendAll(client, step.Text.data(), step.Text.size());
                break;
            case TScriptStep::Flood:
                ok = PlayFlood(client, step);
                break;
            case TScriptStep::Trickle:
                ok = PlayTrickle(client, step);
                break;
            case TScriptStep::Line:
                ok = ReadUntil(pending, "\r\n", got);
                break;
            case TScriptStep::Data:
                ok = ReadUntil(pending, "\r\n.\r\n", got);
                if (ok) got += "\r\n.\r\n";
                break;
            case TScriptStep::Bytes: {
                got = pending.substr(0, step.Count);
                pending.erase(0, got.size());
                std::string buffer(std::max<std::size_t>(step.Piece, 1), '\0');
                while (got.size() < step.Count) {
                    if (step.Milliseconds > 0)
                        std::this_thread::sleep_for(std::chrono::milliseconds(step.Milliseconds));
                    const int want = static_cast<int>(std::min(buffer.size(), step.Count - got.size()));
                    const int n = recv(client, buffer.data(), want, 0);
                    if (n <= 0) {
                        ok = false;
                        break;
                    }
                    got.append(buffer.data(), static_cast<std::size_t>(n));
                }
                break;
            }
            case TScriptStep::Pause:
                std::this_thread::sleep_for(std::chrono::milliseconds(step.Milliseconds));
                break;
            case TScriptStep::Close:
                ok = false;
                break;
            case TScriptStep::Reset:
                ok = false;
                reset = true;
                break;
        }
        if (step.Kind == TScriptStep::Line || step.Kind == TScriptStep::Data ||
            step.Kind == TScriptStep::Bytes) {
            std::lock_guard lock(mutex_);
            received_.push_back(got);
        }
        if (!ok) break;
    }
    if (reset) {
        const linger abrupt{1, 0};
        setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abrupt), sizeof abrupt);
        closesocket(client);
        return;
    }
    // Close gracefully: a close with unread data would reset the connection
    // and could cost the client what it has not read yet.
    shutdown(client, SD_SEND);
    limit = 300;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
    char drain[4096];
    while (recv(client, drain, sizeof drain, 0) > 0) {
    }
    closesocket(client);
}
