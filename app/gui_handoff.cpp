#include "app/gui_handoff.h"

#include <algorithm>

#include "classlib/windows/application.h"
#include "classlib/windows/dispatcher.h"

void TLiveness::Queue(std::function<void()> Work) const {
    QueueOnGuiThread([alive = alive_, work = std::move(Work)] {
        if (alive->load()) work();
    });
}

void TMessageBoxQueue::Show(const std::string& Text) {
    {
        std::lock_guard guard(lock_);
        if ((showing_ && current_ == Text) ||
            std::find(waiting_.begin(), waiting_.end(), Text) != waiting_.end())
            return;
        waiting_.push_back(Text);
        // The loop already running shows this one too when its box closes.
        if (showing_) return;
    }
    liveness_.Queue([this] { ShowWaiting(); });
}

std::size_t TMessageBoxQueue::Pending() {
    std::lock_guard guard(lock_);
    return waiting_.size() + (showing_ ? 1 : 0);
}

void TMessageBoxQueue::ShowWaiting() {
    for (;;) {
        {
            std::lock_guard guard(lock_);
            // A box is open further up this thread's stack: its loop goes on
            // with the waiting ones once it closes.
            if (showing_ || waiting_.empty()) return;
            current_ = std::move(waiting_.front());
            waiting_.pop_front();
            showing_ = true;
        }
        try {
            Application->MessageBox(current_, "Vexmora", MB_OK);
        } catch (...) {
            std::lock_guard guard(lock_);
            showing_ = false;
            throw;
        }
        std::lock_guard guard(lock_);
        showing_ = false;
        current_.clear();
        // The program is closing: nothing more to show.
        if (!liveness_.Alive()) {
            waiting_.clear();
            return;
        }
    }
}
