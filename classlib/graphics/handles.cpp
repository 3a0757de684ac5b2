#include "classlib/graphics/handles.h"

#include <atomic>

namespace {
std::atomic<long> gdiHandles{0};
std::atomic<long> userHandles{0};
std::atomic<long> hookHandles{0};
}  // namespace

long GdiHandleCount() {
    return gdiHandles.load();
}
long UserHandleCount() {
    return userHandles.load();
}

long HookHandleCount() {
    return hookHandles.load();
}

namespace classlib_detail {
void CountGdi(int delta) {
    gdiHandles += delta;
}
void CountUser(int delta) {
    userHandles += delta;
}
void CountHook(int delta) {
    hookHandles += delta;
}
}  // namespace classlib_detail
