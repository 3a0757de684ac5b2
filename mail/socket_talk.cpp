#include "mail/socket_talk.h"

#include <algorithm>
#include <climits>

const char* const TooLongReplyText = "The server's reply was too long; the connection was closed.";

namespace {
// Beyond this a cleared reply buffer gives its memory back.
constexpr std::size_t KeptReplyCapacity = 4096;
// Longer sessions than this are not limited (the clock's range is not endless).
constexpr long long LongestSession = 100000000;
}  // namespace

TSocketTalk::TSocketTalk(TComponent* AOwner) : TComponent(AOwner), socket_(Create<TClientSocket>()) {
    socket_->OnRead = TSocketNotifyEvent(this, &TSocketTalk::SocketRead);
    socket_->OnDisconnect = TSocketNotifyEvent(this, &TSocketTalk::SocketDisconnect);
    socket_->OnError = TSocketErrorEvent(this, &TSocketTalk::SocketError);
}

void TSocketTalk::RestartDeadline() {
    deadline_ = TClock::now() + std::chrono::seconds(timeOut_);
}

void TSocketTalk::BeginSession() {
    const long long seconds =
        std::min<long long>(static_cast<long long>(timeOut_) * SessionTimeOuts, LongestSession);
    sessionEnd_ = seconds > 0 ? TClock::now() + std::chrono::seconds(seconds) : TClock::time_point::max();
}

void TSocketTalk::ClearReply() {
    if (replyBuffer_.capacity() > KeptReplyCapacity)
        std::string().swap(replyBuffer_);
    else
        replyBuffer_.clear();
    ReplyRestarted();
}

void TSocketTalk::SetReplyBuffer(std::string Value) {
    replyBuffer_ = std::move(Value);
    ReplyRestarted();
}

std::string TSocketTalk::TakeReplyBuffer() {
    std::string reply = std::move(replyBuffer_);
    replyBuffer_.clear();
    ReplyRestarted();
    return reply;
}

void TSocketTalk::Progress(int Total, int Current) {
    if (Assigned(OnProgress)) OnProgress(Owner(), Total, Current);
}

void TSocketTalk::Poll() {
    if (socket_->Active() && socket_->WaitForEvents(0) == swInterrupted && talking_) EndExchange(eeGeneral);
}

void TSocketTalk::Talk(const std::string& Text, const std::string& Terminator, int TalkID) {
    // Replies are read only while waiting: whatever came in after the last
    // exchange ended unfinished (time-out, abort) belongs to it, not to this
    // one. A finished reply leaves nothing behind worth a look (each look
    // is a system call, and those are dear under Wine).
    if (unsettled_) Poll();
    terminator_ = Terminator;
    talkID_ = TalkID;
    unsettled_ = true;
    ClearReply();
    talkResult_ = trNoError;
    talking_ = true;
    done_ = false;

    const int length = static_cast<int>(std::min<std::size_t>(Text.size(), INT_MAX));
    if (chunkSize_ >= 1 && chunkSize_ < length) {
        Progress(length, 0);
        int sent = 0;
        while (sent < length) {
            // A reply or a close that came in meanwhile ends the exchange.
            Poll();
            if (!talking_) break;
            const int chunk = std::min(chunkSize_, length - sent);
            if (!SendAll(Text.data() + sent, static_cast<std::size_t>(chunk))) break;
            sent += chunk;
            Progress(length, sent);
        }
        if (sent == length) Progress(length, length);
    } else {
        SendAll(Text.data(), Text.size());
    }
    chunkSize_ = 0;
}

bool TSocketTalk::SendAll(const char* Data, std::size_t Length) {
    RestartDeadline();
    while (Length > 0) {
        const int sent = socket_->SendBuf(Data, static_cast<int>(std::min<std::size_t>(Length, INT_MAX)));
        if (!talking_) return false;
        if (sent > 0) {
            Data += sent;
            Length -= static_cast<std::size_t>(sent);
            RestartDeadline();
            continue;
        }
        // The system's buffer is full: wait until it takes more (or a reply,
        // a close or an error ends the exchange).
        if (!WaitForActivity() || !talking_) return false;
    }
    return true;
}

bool TSocketTalk::WaitForActivity() {
    const TClock::time_point end = std::min(deadline_, sessionEnd_);
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - TClock::now()).count();
    if (left <= 0) {
        EndExchange(trTimeOut);
        return false;
    }
    const auto wait = static_cast<unsigned long>(std::min<long long>(left, 0x7FFFFFFF));
    switch (socket_->WaitForEvents(wait)) {
        case swInterrupted:
            EndExchange(eeGeneral);
            return false;
        case swTimeOut:
            // The deadline may have moved meanwhile; the next round decides.
        case swEvents:
            return true;
    }
    return true;
}

void TSocketTalk::WaitServer() {
    RestartDeadline();
    while (talking_ && !done_) {
        if (!WaitForActivity()) break;
    }
}

void TSocketTalk::ForceState(int TalkID) {
    unsettled_ = true;
    terminator_.clear();
    ClearReply();
    RestartDeadline();
    expectedSize_ = 0;
    talkResult_ = trNoError;
    talkID_ = TalkID;
    talking_ = true;
    done_ = false;
}

bool TSocketTalk::KeepWaiting() {
    if (TClock::now() >= std::min(deadline_, sessionEnd_)) {
        EndExchange(trTimeOut);
        return false;
    }
    if (socket_->WaitForEvents(0) == swInterrupted) {
        EndExchange(eeGeneral);
        return false;
    }
    return true;
}

void TSocketTalk::Cancel() {
    talkResult_ = trNoError;
    talkID_ = 0;
    terminator_.clear();
    expectedSize_ = 0;
    talking_ = false;
    done_ = false;
}

void TSocketTalk::Abort() {
    socket_->Interrupt();
}

void TSocketTalk::EndExchange(int Result) {
    talkResult_ = Result;
    expectedSize_ = 0;
    terminator_.clear();
    talking_ = false;
    done_ = false;
    if (Assigned(OnSocketError)) OnSocketError(this, talkID_, talkResult_);
    talkID_ = 0;
}

TReplyState TSocketTalk::CheckReply() {
    return terminator_.empty() || replyBuffer_.ends_with(terminator_) ? TReplyState::Complete
                                                                      : TReplyState::Partial;
}

void TSocketTalk::RefuseReply(int Result) {
    unsettled_ = false;
    if (Result == trReplyTooLong) SetReplyBuffer(TooLongReplyText);
    socket_->Close();
    EndExchange(Result);
}

void TSocketTalk::SocketRead(TObject*, TClientSocket*) {
    const std::size_t before = replyBuffer_.size();
    // One byte past the limit is enough to know it is passed.
    const std::size_t room = maxReplySize_ >= before ? maxReplySize_ - before + 1 : 1;
    if (socket_->ReceiveAppend(replyBuffer_, room) == 0) return;
    if (replyBuffer_.size() > maxReplySize_) {
        RefuseReply(trReplyTooLong);
        return;
    }
    talkResult_ = trNoError;
    // The time-out counts from the last data received.
    RestartDeadline();
    if (Assigned(OnReceiveData))
        OnReceiveData(this, talkID_, done_, std::string_view(replyBuffer_).substr(before));
    if (expectedSize_ > 0)
        Progress(expectedSize_, static_cast<int>(std::min<std::size_t>(replyBuffer_.size(), INT_MAX)));
    switch (CheckReply()) {
        case TReplyState::Partial:
            break;
        case TReplyState::Complete:
            unsettled_ = false;
            talkResult_ = trNoError;
            expectedSize_ = 0;
            terminator_.clear();
            talking_ = false;
            if (Assigned(OnEndOfData)) OnEndOfData(this, talkID_, done_, replyBuffer_);
            talkID_ = 0;
            break;
        case TReplyState::Invalid:
            RefuseReply(trInvalidReply);
            break;
        case TReplyState::TooLong:
            RefuseReply(trReplyTooLong);
            break;
    }
}

void TSocketTalk::SocketDisconnect(TObject*, TClientSocket*) {
    if (Assigned(OnDisconnect)) OnDisconnect(this);
    talking_ = false;
    talkID_ = 0;
    terminator_.clear();
    expectedSize_ = 0;
    chunkSize_ = 0;
}

void TSocketTalk::SocketError(TObject*, TClientSocket*, TErrorEvent ErrorEvent, int& ErrorCode) {
    EndExchange(ErrorEvent);
    // Handled here: the socket raises nothing.
    ErrorCode = 0;
}
