// `TSocketTalk`: one request and reply at a time over the owned client socket.
// `Talk` sends a command (in chunks with progress when asked), `WaitServer`
// waits on the socket's events until the reply is complete, an error, the
// peer's close, a time-out counted from the last activity, the end of the
// session's time, or `Abort`. A reply that cannot be one, or one longer than
// MaxReplySize, ends the exchange and closes the socket at once.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "classlib/core/component.h"
#include "classlib/core/delegate.h"
#include "classlib/net/socket.h"
#include "mail/mail_types.h"

using TEndOfDataEvent = TDelegate<void(TObject* Sender, int TalkID, bool& Done, const std::string& Reply)>;
using TTalkErrorEvent = TDelegate<void(TObject* Sender, int TalkID, int TalkResult)>;
using TReceiveDataEvent = TDelegate<void(TObject* Sender, int TalkID, bool& Done, std::string_view Data)>;

// TalkResult when nothing went wrong; time-outs share eeLookup's ordinal.
constexpr int trNoError = 7;
constexpr int trTimeOut = eeLookup;
// The reply was not one the protocol knows (its text stays in ReplyBuffer).
constexpr int trInvalidReply = 8;
// The reply passed MaxReplySize or the protocol's line limit (ReplyBuffer
// holds TooLongReplyText).
constexpr int trReplyTooLong = 9;
extern const char* const TooLongReplyText;

// A session (BeginSession until the next one) lasts at most this many times
// TimeOut, however the server trickles its bytes.
constexpr int SessionTimeOuts = 5;

class TSocketTalk : public TComponent {
    VX_CLASS(TSocketTalk, TComponent)
public:
    explicit TSocketTalk(TComponent* AOwner);

    // Seconds without any activity after which an exchange fails.
    int TimeOut() const { return timeOut_; }
    void SetTimeOut(int Value) { timeOut_ = Value; }
    // The most a reply may hold; more ends the exchange (trReplyTooLong).
    std::size_t MaxReplySize() const { return maxReplySize_; }
    void SetMaxReplySize(std::size_t Value) { maxReplySize_ = Value; }
    // The text that ends a complete reply; empty: the first data does.
    const std::string& Terminator() const { return terminator_; }
    // Everything received since the exchange began.
    const std::string& ReplyBuffer() const { return replyBuffer_; }
    void SetReplyBuffer(std::string Value);
    // Moves the reply out, leaving the buffer empty.
    std::string TakeReplyBuffer();
    // Above 0: each received piece reports progress against it.
    int ExpectedSize() const { return expectedSize_; }
    void SetExpectedSize(int Value) { expectedSize_ = Value; }
    // Above 0 and below the text's length: the next Talk sends in chunks of
    // this size with progress reports. Every Talk resets it to 0.
    int ChunkSize() const { return chunkSize_; }
    void SetChunkSize(int Value) { chunkSize_ = Value; }
    // trNoError, the ordinal of the socket error, trTimeOut, trInvalidReply
    // or trReplyTooLong.
    int TalkResult() const { return talkResult_; }
    int TalkID() const { return talkID_; }
    TClientSocket* Socket() const { return socket_.get(); }
    bool Talking() const { return talking_; }
    // Set by the protocol's reply check when the reply is the expected one.
    bool Done() const { return done_; }
    void SetDone(bool Value) { done_ = Value; }

    // Starts an exchange and sends Text; does not wait for the reply. Data
    // that came in since the last exchange is dropped first.
    void Talk(const std::string& Text, const std::string& Terminator, int TalkID);
    // Waits until the exchange ends; then Done tells success.
    void WaitServer();
    // Starts an exchange without sending (the greeting after connecting).
    void ForceState(int TalkID);
    // Starts the session's clock: from now every wait ends, as a time-out, at
    // SessionTimeOuts times TimeOut at the latest.
    void BeginSession();
    void Cancel();
    // For a wait of the protocol's own inside an exchange (a name lookup):
    // false once the time-out, the session's time or Abort has ended the
    // exchange, as they end WaitServer.
    bool KeepWaiting();
    // Safe from any thread: ends the wait in progress at once, as a socket
    // error of kind eeGeneral, and every later wait until the socket closes.
    void Abort();

    // Raised with the owner (the protocol component) as Sender.
    TProgressEvent OnProgress;
    TEndOfDataEvent OnEndOfData;
    TTalkErrorEvent OnSocketError;
    TReceiveDataEvent OnReceiveData;
    TNotifyEvent OnDisconnect;

protected:
    ~TSocketTalk() override = default;

    // How far ReplyBuffer has come; the protocol may know better than "ends
    // with Terminator". Called after every piece received.
    virtual TReplyState CheckReply();
    // ReplyBuffer was emptied or replaced: a new reply begins.
    virtual void ReplyRestarted() {}

private:
    using TClock = std::chrono::steady_clock;

    void RestartDeadline();
    // Empties ReplyBuffer, giving back the memory of a large reply.
    void ClearReply();
    // Ends the exchange on a reply that cannot be taken; the dialogue is out
    // of step, so the socket closes.
    void RefuseReply(int Result);
    // Sends every byte of the range; false when the exchange ended meanwhile.
    bool SendAll(const char* Data, std::size_t Length);
    // Waits for socket events until the deadline; false when the exchange
    // ended by time-out or abort.
    bool WaitForActivity();
    void Poll();
    void EndExchange(int Result);
    void Progress(int Total, int Current);

    void SocketRead(TObject* Sender, TClientSocket* Socket);
    void SocketDisconnect(TObject* Sender, TClientSocket* Socket);
    void SocketError(TObject* Sender, TClientSocket* Socket, TErrorEvent ErrorEvent, int& ErrorCode);

    int timeOut_ = 60;
    std::size_t maxReplySize_ = 65536;
    std::string terminator_;
    std::string replyBuffer_;
    int expectedSize_ = 0;
    int chunkSize_ = 0;
    int talkResult_ = trNoError;
    int talkID_ = 0;
    TOwned<TClientSocket> socket_;
    bool talking_ = false;
    bool done_ = false;
    // The last exchange ended before its reply was complete.
    bool unsettled_ = false;
    TClock::time_point deadline_;
    TClock::time_point sessionEnd_ = TClock::time_point::max();
};
