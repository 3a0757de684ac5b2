// Handing work from the program's workers to the GUI thread: a liveness
// token that queued work checks before it touches a window, the queue of
// message boxes that workers ask for, shown one at a time and in order, and
// (from classlib) the flag scope that marks a step that must not run twice
// at once.
#pragma once

#include <atomic>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "classlib/core/flagscope.h"

// Armed while the windows that queued work touches exist. Disarmed on the
// GUI thread before they go, so work still waiting in the queue then does
// nothing when it finally runs.
class TLiveness {
public:
    bool Alive() const { return alive_->load(); }
    void Disarm() { alive_->store(false); }
    // From any thread: Work runs on the GUI thread later, if still alive.
    void Queue(std::function<void()> Work) const;

private:
    std::shared_ptr<std::atomic<bool>> alive_ = std::make_shared<std::atomic<bool>>(true);
};

// Information boxes ("OK", "Can not Send mail", ...) titled "Vexmora". A text
// that is showing or waiting is not queued again, so a slow or failing
// server cannot pile the screen with boxes.
class TMessageBoxQueue {
public:
    explicit TMessageBoxQueue(TLiveness Liveness) : liveness_(std::move(Liveness)) {}
    TMessageBoxQueue(const TMessageBoxQueue&) = delete;
    TMessageBoxQueue& operator=(const TMessageBoxQueue&) = delete;

    // From any thread; the box shows later on the GUI thread, never inside
    // the caller (who may be in the middle of applying a refresh).
    void Show(const std::string& Text);
    // Boxes showing or waiting.
    std::size_t Pending();

private:
    void ShowWaiting();

    TLiveness liveness_;
    std::mutex lock_;
    std::deque<std::string> waiting_;
    std::string current_;
    bool showing_ = false;
};
