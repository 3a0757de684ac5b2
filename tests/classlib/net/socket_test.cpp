#include "classlib/net/socket.h"

#include <winsock2.h>

#include "classlib/core/win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace {

// One loopback connection served by `serve` on a thread of its own.
class TLoopbackPeer {
public:
    explicit TLoopbackPeer(std::function<void(SOCKET)> serve) {
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at);
        listen(listener_, 1);
        int size = sizeof at;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &size);
        port_ = ntohs(at.sin_port);
        thread_ = std::thread([this, serve] {
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            serve(client);
            closesocket(client);
        });
    }
    ~TLoopbackPeer() {
        closesocket(listener_);
        thread_.join();
    }
    int Port() const { return port_; }

private:
    SOCKET listener_;
    int port_ = 0;
    std::thread thread_;
};

struct TRecorder {
    std::vector<std::string> Log;
    std::string Data;
    void Connect(TObject*, TClientSocket*) { Log.push_back("connect"); }
    void Read(TObject*, TClientSocket* socket) {
        Log.push_back("read");
        Data += socket->ReceiveText();
    }
    void Disconnect(TObject*, TClientSocket*) { Log.push_back("disconnect"); }
    void Error(TObject*, TClientSocket*, TErrorEvent kind, int& code) {
        Log.push_back("error " + std::to_string(kind));
        code = 0;
    }
};

// The tests' own peers call Winsock directly; the client socket starts it
// only at its first call, so the tests start it for themselves.
struct TPeerWinsock {
    TPeerWinsock() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~TPeerWinsock() { WSACleanup(); }
    TPeerWinsock(const TPeerWinsock&) = delete;
    TPeerWinsock& operator=(const TPeerWinsock&) = delete;
};

struct SocketTest : ::testing::Test {
    void SetUp() override {
        Socket->OnConnect = TSocketNotifyEvent(&Events, &TRecorder::Connect);
        Socket->OnRead = TSocketNotifyEvent(&Events, &TRecorder::Read);
        Socket->OnDisconnect = TSocketNotifyEvent(&Events, &TRecorder::Disconnect);
        Socket->OnError = TSocketErrorEvent(&Events, &TRecorder::Error);
    }
    // Waits (generously) until the log holds `count` entries.
    void WaitForLog(std::size_t count) {
        for (int i = 0; i < 100 && Events.Log.size() < count; ++i) Socket->WaitForEvents(100);
    }
    TPeerWinsock PeerWinsock;
    TRecorder Events;
    TOwned<TClientSocket> Socket = MakeOwned<TClientSocket>();
};

TEST_F(SocketTest, ConnectsSendsAndReceivesOverLoopback) {
    TLoopbackPeer peer([](SOCKET s) {
        char buffer[16];
        int n = recv(s, buffer, sizeof buffer, 0);
        send(s, buffer, n, 0);
        recv(s, buffer, sizeof buffer, 0);
    });
    Socket->SetHost("localhost");
    Socket->SetPort(peer.Port());
    Socket->Open();
    WaitForLog(1);
    ASSERT_EQ(Events.Log, std::vector<std::string>{"connect"});
    EXPECT_TRUE(Socket->Connected());
    EXPECT_EQ(Socket->LocalAddress(), "127.0.0.1");
    EXPECT_GT(Socket->LocalPort(), 0);
    EXPECT_EQ(Socket->SendBuf("hello", 5), 5);
    WaitForLog(2);
    EXPECT_EQ(Events.Data, "hello");
    Socket->Close();
    EXPECT_FALSE(Socket->Active());
    EXPECT_EQ(Socket->LocalAddress(), "");
}

TEST_F(SocketTest, PeerCloseDeliversTheLastDataBeforeDisconnect) {
    TLoopbackPeer peer([](SOCKET s) {
        send(s, "421 bye\r\n", 9, 0);
        shutdown(s, SD_SEND);
    });
    Socket->SetAddress("127.0.0.1");
    Socket->SetPort(peer.Port());
    Socket->Open();
    WaitForLog(3);
    EXPECT_EQ(Events.Log, (std::vector<std::string>{"connect", "read", "disconnect"}));
    EXPECT_EQ(Events.Data, "421 bye\r\n");
    EXPECT_FALSE(Socket->Active());
}

TEST_F(SocketTest, FailuresAreReportedWithTheirKind) {
    // A port nobody listens on.
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(probe, reinterpret_cast<sockaddr*>(&at), sizeof at);
    int size = sizeof at;
    getsockname(probe, reinterpret_cast<sockaddr*>(&at), &size);
    closesocket(probe);

    Socket->SetAddress("300.1.2.3");
    Socket->Open();
    EXPECT_EQ(Events.Log, std::vector<std::string>{"error 6"});
    EXPECT_FALSE(Socket->Active());

    Events.Log.clear();
    Socket->SetAddress("127.0.0.1");
    Socket->SetPort(ntohs(at.sin_port));
    Socket->Open();
    WaitForLog(1);
    EXPECT_EQ(Events.Log, std::vector<std::string>{"error 3"});

    Events.Log.clear();
    Socket->Close();
    EXPECT_EQ(Socket->SendBuf("x", 1), -1);
    EXPECT_EQ(Events.Log, std::vector<std::string>{"error 1"});
}

TEST(Socket, UnhandledErrorRaisesESocketError) {
    TOwned<TClientSocket> socket = MakeOwned<TClientSocket>();
    socket->SetAddress("not an address");
    EXPECT_THROW(socket->Open(), ESocketError);
}

TEST(Socket, InterruptEndsTheWaitFromAnotherThreadUntilClosed) {
    TOwned<TClientSocket> socket = MakeOwned<TClientSocket>();
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        socket->Interrupt();
    });
    EXPECT_EQ(socket->WaitForEvents(60000), swInterrupted);
    other.join();
    EXPECT_EQ(socket->WaitForEvents(0), swInterrupted);
    socket->Close();
    EXPECT_EQ(socket->WaitForEvents(0), swTimeOut);
}

TEST(Socket, LocalHostNamesThisMachine) {
    EXPECT_FALSE(TClientSocket::LocalHost().empty());
}

}  // namespace
