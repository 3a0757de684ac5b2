#include "classlib/windows/dispatcher.h"

#include <atomic>
#include <deque>
#include <future>
#include <memory>
#include <mutex>

#include "classlib/windows/allocatehwnd.h"
#include "classlib/windows/application.h"

namespace {

constexpr UINT WM_DISPATCH = WM_APP + 0x3A1;

struct WorkItem {
    std::function<void()> work;
    std::shared_ptr<std::promise<void>> done;  // null for queued work
};

struct Dispatcher {
    // The program's start-up records its thread (RecordGuiThread); until
    // then the first thread that needs the dispatcher stands in.
    std::atomic<DWORD> guiThread{GetCurrentThreadId()};
    std::mutex lock;
    std::deque<WorkItem> queue;
    HWND window = nullptr;
    bool posted = false;
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

// Never freed: workers may still hand work over while the program ends.
Dispatcher& Instance() {
    static Dispatcher* dispatcher = new Dispatcher;
    return *dispatcher;
}

void DispatcherWndProc(TMessage& Message) {
    if (Message.Msg == WM_DISPATCH) {
        CheckSynchronize();
        return;
    }
    Message.Result = DefWindowProcW(Instance().window, Message.Msg, Message.WParam, Message.LParam);
}

void Push(WorkItem item) {
    auto& d = Instance();
    std::lock_guard guard(d.lock);
    d.queue.push_back(std::move(item));
    SetEvent(d.event);
    if (d.window && !d.posted) d.posted = PostMessageW(d.window, WM_DISPATCH, 0, 0) != 0;
}

}  // namespace

void RecordGuiThread() {
    Instance().guiThread = GetCurrentThreadId();
}

bool IsGuiThread() {
    return GetCurrentThreadId() == Instance().guiThread;
}

HANDLE GuiDispatcherEvent() {
    return Instance().event;
}

void GuiDispatcherReady() {
    auto& d = Instance();
    if (!IsGuiThread()) return;
    {
        std::lock_guard guard(d.lock);
        if (d.window) return;
    }
    HWND window = AllocateHWnd(TWndMethod(&DispatcherWndProc));
    std::lock_guard guard(d.lock);
    d.window = window;
    if (!d.queue.empty()) d.posted = PostMessageW(d.window, WM_DISPATCH, 0, 0) != 0;
}

bool CheckSynchronize() {
    if (!IsGuiThread()) return false;
    auto& d = Instance();
    bool ran = false;
    for (;;) {
        WorkItem item;
        {
            std::lock_guard guard(d.lock);
            d.posted = false;
            if (d.queue.empty()) {
                ResetEvent(d.event);
                return ran;
            }
            item = std::move(d.queue.front());
            d.queue.pop_front();
        }
        ran = true;
        if (item.done) {
            try {
                item.work();
                item.done->set_value();
            } catch (...) {
                item.done->set_exception(std::current_exception());
            }
        } else {
            try {
                item.work();
            } catch (...) {
                HandleCallbackException(nullptr);
            }
        }
    }
}

void RunOnGuiThread(std::function<void()> Work) {
    if (IsGuiThread()) {
        Work();
        return;
    }
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    Push({std::move(Work), done});
    finished.get();
}

void QueueOnGuiThread(std::function<void()> Work) {
    if (IsGuiThread()) GuiDispatcherReady();
    Push({std::move(Work), nullptr});
}
