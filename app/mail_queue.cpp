#include "app/mail_queue.h"

#include <algorithm>
#include <chrono>

#include "mail/smtp_mailer.h"

namespace {
// How often a stop repeats its abort: a session the worker opens right after
// the first abort ends at the next one.
constexpr DWORD AbortRepeatMs = 50;
}  // namespace

void SendEmail::Execute() {
    queue_->Run();
}

TMailQueue::TMailQueue(TSMTPMailer* Mailer, TMimeMessage* Message, TMailReport Report, TMailReport Outcome)
    : mailer_(Mailer), message_(Message), report_(std::move(Report)), outcome_(std::move(Outcome)) {}

TMailQueue::~TMailQueue() {
    Stop();
}

bool TMailQueue::Add(const TAlertMail& Mail) {
    {
        std::lock_guard guard(lock_);
        if (stopping_ || inFlight_ == Mail ||
            std::find(waiting_.begin(), waiting_.end(), Mail) != waiting_.end())
            return false;
        waiting_.push_back(Mail);
    }
    changed_.notify_all();
    // One worker for the program's life, made with the first mail.
    if (!worker_) worker_ = Create<SendEmail>(this);
    return true;
}

std::optional<TAlertMail> TMailQueue::Take() {
    std::unique_lock guard(lock_);
    changed_.wait(guard, [this] { return stopping_ || !waiting_.empty(); });
    if (stopping_) return std::nullopt;
    inFlight_ = std::move(waiting_.front());
    waiting_.pop_front();
    return inFlight_;
}

void TMailQueue::Done() {
    {
        std::lock_guard guard(lock_);
        inFlight_.reset();
        ++finished_;
    }
    changed_.notify_all();
}

void TMailQueue::Run() {
    while (std::optional<TAlertMail> mail = Take()) {
        std::string reason;
        bool tried = true;
        try {
            const TMailSettings settings = ReadMailSettings();
            tried = settings.Complete;
            reason = SendAlertMail(mailer_, message_, settings, *mail, report_);
        } catch (...) {
            reason = RaisedReason();
            report_(CannotSendText);
        }
        if ((tried || !reason.empty()) && outcome_) outcome_(reason);
        Done();
    }
}

void TMailQueue::Stop() {
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
        waiting_.clear();
    }
    changed_.notify_all();
    if (!worker_) return;
    while (WaitForSingleObject(worker_->Handle(), 0) == WAIT_TIMEOUT) {
        mailer_->Abort();
        WaitForSingleObject(worker_->Handle(), AbortRepeatMs);
    }
    FreeAndNil(worker_);
}

std::size_t TMailQueue::Waiting() {
    std::lock_guard guard(lock_);
    return waiting_.size();
}

bool TMailQueue::Sending() {
    std::lock_guard guard(lock_);
    return inFlight_.has_value();
}

int TMailQueue::Finished() {
    std::lock_guard guard(lock_);
    return finished_;
}

bool TMailQueue::WaitIdle(unsigned long Milliseconds) {
    std::unique_lock guard(lock_);
    return changed_.wait_for(guard, std::chrono::milliseconds(Milliseconds),
                             [this] { return waiting_.empty() && !inFlight_; });
}
