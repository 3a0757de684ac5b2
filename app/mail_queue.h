// The single mail worker (`SendEmail`) and its queue: alert mails go one
// after another through the main window's one client and message. A mail
// equal to one waiting or in flight is not queued again, so the queue cannot
// grow behind a slow server; stopping empties it, aborts the mail in flight
// and joins the worker.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

#include "app/alert_mail.h"
#include "classlib/windows/thread.h"

class TMailQueue;

class SendEmail : public TThread {
    VX_CLASS(SendEmail, TThread)
public:
    explicit SendEmail(TMailQueue* Queue) : TThread(false), queue_(Queue) {}

protected:
    ~SendEmail() override = default;
    void Execute() override;

private:
    TMailQueue* queue_;
};

class TMailQueue {
public:
    // Settings are read for each mail when it is its turn; Report gets the
    // texts of the mail's message boxes, Outcome (when given) why a mail did
    // not go, or an empty text for one that went, on the worker's thread. A
    // mail dropped for incomplete settings has no outcome.
    TMailQueue(TSMTPMailer* Mailer, TMimeMessage* Message, TMailReport Report, TMailReport Outcome = {});
    ~TMailQueue();
    TMailQueue(const TMailQueue&) = delete;
    TMailQueue& operator=(const TMailQueue&) = delete;

    // False when an equal mail waits or is being sent, or after Stop.
    bool Add(const TAlertMail& Mail);
    // Idempotent; on the GUI thread while the windows still exist.
    void Stop();

    std::size_t Waiting();
    bool Sending();
    // Sessions finished since the start.
    int Finished();
    // Blocks until nothing waits or is being sent, or the time is up.
    bool WaitIdle(unsigned long Milliseconds);

private:
    friend class SendEmail;
    // The next mail for the worker; nothing once stopping.
    std::optional<TAlertMail> Take();
    void Done();
    void Run();

    TSMTPMailer* mailer_;
    TMimeMessage* message_;
    TMailReport report_;
    TMailReport outcome_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<TAlertMail> waiting_;
    std::optional<TAlertMail> inFlight_;
    bool stopping_ = false;
    int finished_ = 0;
    SendEmail* worker_ = nullptr;
};
