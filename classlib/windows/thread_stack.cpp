#include "classlib/windows/thread_stack.h"

#include <cstdint>

#include "classlib/core/win32.h"

namespace {

// Kept below the caller, so that the usual work of a small-stack thread
// meets no guard page; deeper calls grow the stack through it.
constexpr std::uintptr_t KeptBytes = 16 * 1024;
// The lowest pages of the stack are the runtime's own guard and stay as they are.
constexpr std::uintptr_t BottomPages = 4;

NT_TIB* ThreadInformationBlock() {
    NT_TIB* tib = nullptr;
    asm volatile("movl %%fs:0x18, %0" : "=r"(tib));
    return tib;
}

}  // namespace

void GiveBackUnusedStack() noexcept {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const std::uintptr_t page = system.dwPageSize;
    MEMORY_BASIC_INFORMATION here{};
    if (!VirtualQuery(&here, &here, sizeof here)) return;
    const auto bottom = reinterpret_cast<std::uintptr_t>(here.AllocationBase);
    const std::uintptr_t from = bottom + BottomPages * page;
    const std::uintptr_t kept = (reinterpret_cast<std::uintptr_t>(&here) - KeptBytes) & ~(page - 1);
    if (kept < from + 2 * page) return;
    const std::uintptr_t guard = kept - page;
    MEMORY_BASIC_INFORMATION below{};
    if (!VirtualQuery(reinterpret_cast<void*>(guard), &below, sizeof below) || below.State != MEM_COMMIT ||
        (below.Protect & PAGE_GUARD))
        return;
    if (!VirtualFree(reinterpret_cast<void*>(from), guard - from, MEM_DECOMMIT)) return;
    DWORD previous = 0;
    VirtualProtect(reinterpret_cast<void*>(guard), page, PAGE_READWRITE | PAGE_GUARD, &previous);
    ThreadInformationBlock()->StackLimit = reinterpret_cast<void*>(kept);
}
