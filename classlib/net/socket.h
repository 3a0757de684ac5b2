// The client socket: an IPv4 TCP connection over Winsock 2 to a host given by
// name or numeric address, opened without blocking; what happens on it comes
// back as events, dispatched on the calling thread while it waits for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "classlib/core/delegate.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/object.h"

// What was going on when a socket error struck (the class library's ordinals).
enum TErrorEvent { eeGeneral, eeSend, eeReceive, eeConnect, eeDisconnect, eeAccept, eeLookup };

// How a wait for socket events ended.
enum TSocketWaitResult { swEvents, swTimeOut, swInterrupted };

VX_DECLARE_EXCEPTION(ESocketError, Exception);

class TClientSocket;
using TSocketNotifyEvent = TDelegate<void(TObject* Sender, TClientSocket* Socket)>;
// A handler that leaves ErrorCode as it is makes the socket raise ESocketError;
// setting it to 0 takes the error as handled.
using TSocketErrorEvent =
    TDelegate<void(TObject* Sender, TClientSocket* Socket, TErrorEvent ErrorEvent, int& ErrorCode)>;

class TClientSocket : public TObject {
    VX_CLASS(TClientSocket, TObject)
public:
    TClientSocket();

    // Where to connect: a numeric Address wins over a Host name. Changes take
    // effect at the next Open.
    const std::string& Host() const { return host_; }
    void SetHost(const std::string& Value) { host_ = Value; }
    const std::string& Address() const { return address_; }
    void SetAddress(const std::string& Value) { address_ = Value; }
    int Port() const { return port_; }
    void SetPort(int Value) { port_ = Value; }

    // Looks the server up and starts connecting; OnConnect (or OnError with
    // eeConnect) follows from a later wait. A failed look-up is reported as
    // eeLookup at once and leaves the socket closed. Does nothing when open.
    void Open();
    // Closes the connection (no events) and ends a pending Interrupt.
    void Close();
    // The socket exists (connecting or connected).
    bool Active() const;
    // The connection is established.
    bool Connected() const { return connected_; }

    // Bytes taken by the system, or -1 when it would block or failed (a
    // failure is reported as eeSend first).
    int SendBuf(const void* Buf, int Count);
    // Bytes waiting to be read.
    int ReceiveLength() const;
    // Reads up to Count bytes; -1 when nothing waits or on failure (eeReceive).
    int ReceiveBuf(void* Buf, int Count);
    // Every byte that can be read now.
    std::string ReceiveText();
    // Appends to Text what can be read now, at most Limit bytes (the rest
    // waits for a later read); returns how many came.
    std::size_t ReceiveAppend(std::string& Text, std::size_t Limit);

    // This machine's name, and the numeric address of this end of the
    // connection ("" when not connected).
    static std::string LocalHost();
    std::string LocalAddress() const;
    int LocalPort() const;

    // Waits up to Milliseconds for something to happen on the socket and
    // dispatches it: OnConnect or an eeConnect error, OnRead, OnWrite, and
    // on the peer's close whatever is left to read, then OnDisconnect and
    // Close. Without a socket it only waits.
    TSocketWaitResult WaitForEvents(unsigned long Milliseconds);
    // Safe from any thread: ends the wait in progress at once, and every later
    // one until the socket is closed.
    void Interrupt();

    TSocketNotifyEvent OnLookup;
    TSocketNotifyEvent OnConnecting;
    TSocketNotifyEvent OnConnect;
    TSocketNotifyEvent OnDisconnect;
    TSocketNotifyEvent OnRead;
    TSocketNotifyEvent OnWrite;
    TSocketErrorEvent OnError;

protected:
    ~TClientSocket() override;

    // Fires OnError; raises ESocketError when the code is left non-zero.
    void Error(TErrorEvent ErrorEvent, int ErrorCode, const char* Api);

private:
    // Owns a Win32 event object (WSAEVENT is one).
    class TEventHandle {
    public:
        explicit TEventHandle(bool manualReset);
        TEventHandle(const TEventHandle&) = delete;
        TEventHandle& operator=(const TEventHandle&) = delete;
        ~TEventHandle();
        void* Get() const { return handle_; }

    private:
        void* handle_;
    };

    bool Lookup(std::uint32_t& address);
    void Dispatch();
    void Disconnect();

    std::string host_;
    std::string address_;
    int port_ = 0;
    std::uintptr_t socket_;
    bool connected_ = false;
    TEventHandle networkEvent_{true};
    TEventHandle interrupt_{true};
};
