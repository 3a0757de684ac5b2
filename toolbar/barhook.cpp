#include "toolbar/barhook.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "classlib/graphics/handles.h"
#include "classlib/services/osversion.h"
#include "classlib/windows/application.h"

namespace {

constexpr int HookCount = 3;
constexpr int HookIds[HookCount] = {WH_CALLWNDPROC, WH_CBT, WH_GETMESSAGE};

int HookIndexOf(THookMessageKind Kind) {
    switch (Kind) {
        case hmkActivate:
        case hmkActivateApp:
        case hmkWindowPosChanged:
            return 0;
        case hmkDestroyWindow:
            return 1;
        case hmkGetMessage:
            return 2;
    }
    return 0;
}

struct UserNode {
    const void* user;
    std::array<bool, HookCount> hooks{};
};

struct Entry {
    THookProcedure proc;
    THookMessageKinds kinds;
    std::vector<UserNode> users;
    // Set when the last user left during a dispatch; swept afterwards.
    bool removed = false;
};

struct ThreadHooks {
    std::array<THookHandle, HookCount> handles;
    std::array<int, HookCount> counts{};
    std::vector<std::unique_ptr<Entry>> entries;
    int dispatchDepth = 0;
};

thread_local ThreadHooks hooks;
THookInstaller installer = nullptr;

THookInstaller CurrentInstaller() {
    if (installer) return installer;
    return Win32Platform() == VER_PLATFORM_WIN32_NT ? SetWindowsHookExW : SetWindowsHookExA;
}

Entry* FindEntry(THookProcedure Proc) {
    for (auto& entry : hooks.entries)
        if (!entry->removed && entry->proc == Proc) return entry.get();
    return nullptr;
}

void Sweep() {
    if (hooks.dispatchDepth > 0) return;
    std::erase_if(hooks.entries, [](const std::unique_ptr<Entry>& e) { return e->removed; });
    if (hooks.entries.empty()) hooks.entries.shrink_to_fit();
}

LRESULT CALLBACK CallWndHook(int Code, WPARAM W, LPARAM L);
LRESULT CALLBACK CbtHook(int Code, WPARAM W, LPARAM L);
LRESULT CALLBACK GetMessageHook(int Code, WPARAM W, LPARAM L);
constexpr HOOKPROC HookProcs[HookCount] = {CallWndHook, CbtHook, GetMessageHook};

bool InstallMissing(UserNode& Node) {
    bool ok = true;
    for (int i = 0; i < HookCount; ++i) {
        if (!Node.hooks[static_cast<size_t>(i)]) continue;
        THookHandle& handle = hooks.handles[static_cast<size_t>(i)];
        if (handle) continue;
        handle = THookHandle(CurrentInstaller()(HookIds[i], HookProcs[i], nullptr, GetCurrentThreadId()));
        if (!handle) {
            // Only hooks really obtained are counted.
            Node.hooks[static_cast<size_t>(i)] = false;
            --hooks.counts[static_cast<size_t>(i)];
            ok = false;
        }
    }
    return ok;
}

void ReleaseNode(const UserNode& Node) {
    for (int i = 0; i < HookCount; ++i) {
        if (!Node.hooks[static_cast<size_t>(i)]) continue;
        if (--hooks.counts[static_cast<size_t>(i)] == 0) hooks.handles[static_cast<size_t>(i)].Reset();
    }
}

// Calls every procedure registered for Kind. A procedure that throws ends
// this event's fan-out; the exception goes to the application's handler.
void Dispatch(THookMessageKind Kind, HWND Wnd, WPARAM W, LPARAM L) {
    if (hooks.entries.empty()) return;
    ++hooks.dispatchDepth;
    try {
        // Index-based: procedures may register and unregister while we walk.
        for (size_t i = 0; i < hooks.entries.size(); ++i) {
            Entry* entry = hooks.entries[i].get();
            if (entry->removed || !entry->kinds.Contains(Kind)) continue;
            entry->proc(Kind, Wnd, W, L);
        }
    } catch (...) {
        HandleCallbackException(nullptr);
    }
    --hooks.dispatchDepth;
    Sweep();
}

HHOOK HandleOf(int Index) {
    return hooks.handles[static_cast<size_t>(Index)].Get();
}

LRESULT CALLBACK CallWndHook(int Code, WPARAM W, LPARAM L) {
    HHOOK self = HandleOf(0);
    if (Code == HC_ACTION) {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(L);
        switch (msg->message) {
            case WM_ACTIVATE:
                Dispatch(hmkActivate, msg->hwnd, msg->wParam, msg->lParam);
                break;
            case WM_ACTIVATEAPP:
                Dispatch(hmkActivateApp, msg->hwnd, msg->wParam, msg->lParam);
                break;
            case WM_WINDOWPOSCHANGED:
                Dispatch(hmkWindowPosChanged, msg->hwnd, msg->wParam, msg->lParam);
                break;
            default:
                break;
        }
    }
    return CallNextHookEx(self, Code, W, L);
}

LRESULT CALLBACK CbtHook(int Code, WPARAM W, LPARAM L) {
    HHOOK self = HandleOf(1);
    if (Code == HCBT_DESTROYWND) Dispatch(hmkDestroyWindow, reinterpret_cast<HWND>(W), 0, 0);
    return CallNextHookEx(self, Code, W, L);
}

LRESULT CALLBACK GetMessageHook(int Code, WPARAM W, LPARAM L) {
    HHOOK self = HandleOf(2);
    if (Code == HC_ACTION) Dispatch(hmkGetMessage, nullptr, W, L);
    return CallNextHookEx(self, Code, W, L);
}

}  // namespace

bool InstallHookProc(const void* User, THookProcedure Proc, THookMessageKinds Kinds) {
    Entry* entry = FindEntry(Proc);
    if (!entry) {
        hooks.entries.push_back(std::make_unique<Entry>(Entry{Proc, Kinds, {}}));
        entry = hooks.entries.back().get();
    } else {
        entry->kinds = entry->kinds + Kinds;
    }
    auto node = std::find_if(entry->users.begin(), entry->users.end(),
                             [&](const UserNode& n) { return n.user == User; });
    if (node == entry->users.end()) {
        entry->users.insert(entry->users.begin(), UserNode{User, {}});
        node = entry->users.begin();
    }
    for (int kind = hmkActivate; kind <= hmkGetMessage; ++kind) {
        if (!Kinds.Contains(static_cast<THookMessageKind>(kind))) continue;
        const size_t index = static_cast<size_t>(HookIndexOf(static_cast<THookMessageKind>(kind)));
        if (node->hooks[index]) continue;
        node->hooks[index] = true;
        ++hooks.counts[index];
    }
    return InstallMissing(*node);
}

void UninstallHookProc(const void* User, THookProcedure Proc) {
    Entry* entry = FindEntry(Proc);
    if (!entry) return;
    auto node = std::find_if(entry->users.begin(), entry->users.end(),
                             [&](const UserNode& n) { return n.user == User; });
    if (node == entry->users.end()) return;
    const UserNode gone = *node;
    entry->users.erase(node);
    if (entry->users.empty()) entry->removed = true;
    ReleaseNode(gone);
    Sweep();
}

void RemoveThreadHooks() {
    for (THookHandle& handle : hooks.handles) handle.Reset();
    hooks.counts = {};
    for (auto& entry : hooks.entries) entry->removed = true;
    Sweep();
}

int HookUseCount(int Index) {
    return hooks.counts.at(static_cast<size_t>(Index));
}

bool HookInstalled(int Index) {
    return static_cast<bool>(hooks.handles.at(static_cast<size_t>(Index)));
}

int HookProcCount() {
    return static_cast<int>(std::count_if(hooks.entries.begin(), hooks.entries.end(),
                                          [](const std::unique_ptr<Entry>& e) { return !e->removed; }));
}

THookInstaller SetHookInstaller(THookInstaller Installer) {
    return std::exchange(installer, Installer);
}
