#include "toolbar/barclickqueue.h"

#include <vector>

#include "classlib/windows/allocatehwnd.h"
#include "toolbar/baritem.h"
#include "toolbar/barviewer.h"

namespace {

struct TSlot {
    TBarCustomItem* Item = nullptr;
    TBarItemViewer* Viewer = nullptr;
    bool Cancelled = false;
    bool Empty() const { return !Item && !Viewer && !Cancelled; }
};

class TClickQueue {
public:
    int Users = 0;
    std::vector<TSlot> Slots;
    HWND Window = nullptr;

    void Post(TSlot Slot, WPARAM Flag) {
        if (!Window) Window = AllocateHWnd(TWndMethod(this, &TClickQueue::WndProc));
        size_t index = 0;
        while (index < Slots.size() && !Slots[index].Empty()) ++index;
        if (index == Slots.size())
            Slots.push_back(Slot);
        else
            Slots[index] = Slot;
        PostMessageW(Window, WM_BAR_DEFERRED_CLICK, Flag, static_cast<LPARAM>(index));
    }

    void Close() {
        if (Window) DeallocateHWnd(Window);
        Window = nullptr;
        Slots.clear();
    }

private:
    void WndProc(TMessage& Message) {
        if (Message.Msg != WM_BAR_DEFERRED_CLICK) {
            Message.Result = DefWindowProcA(Window, Message.Msg, Message.WParam, Message.LParam);
            return;
        }
        const auto index = static_cast<size_t>(Message.LParam);
        if (Message.LParam < 0 || index >= Slots.size()) return;
        const TSlot slot = Slots[index];
        Slots[index] = TSlot{};
        while (!Slots.empty() && Slots.back().Empty()) Slots.pop_back();
        if (slot.Cancelled) return;
        if (slot.Item) {
            slot.Item->Click();
        } else if (slot.Viewer) {
            slot.Viewer->AccSelectPosted(static_cast<int>(Message.WParam));
        }
    }
};

thread_local TClickQueue queue;

}  // namespace

void BarClickQueueAddUser() {
    ++queue.Users;
}

void BarClickQueueReleaseUser() {
    if (--queue.Users == 0) queue.Close();
}

void PostClick(TBarCustomItem* Item) {
    queue.Post(TSlot{Item, nullptr, false}, 0);
}

void PostClick(TBarItemViewer* Viewer, int Flag) {
    queue.Post(TSlot{nullptr, Viewer, false}, static_cast<WPARAM>(Flag & 0x7F));
}

void CancelPostedClicks(const void* Target) {
    for (TSlot& slot : queue.Slots)
        if (slot.Item == Target || slot.Viewer == Target) slot = TSlot{nullptr, nullptr, true};
}

int BarClickQueueSlots() {
    return static_cast<int>(queue.Slots.size());
}

HWND BarClickQueueWindow() {
    return queue.Window;
}
