// Replaceable services: the program reaches some outside effects (the shell,
// sound, power, system settings, the system's version) through one small
// interface each, whose real Win32 version is in force unless a test puts its
// own in place for a scope.
#pragma once

#include <atomic>

// One slot per interface I. `Current()` is the replacement in force, else
// the real service (`Default()`, defined next to the real implementation).
template <class I>
class TServiceSlot {
public:
    static I& Current() {
        I* replacement = slot_.load(std::memory_order_acquire);
        return replacement ? *replacement : I::Default();
    }
    // Puts Replacement in force (null: the real service) and returns the one
    // that was.
    static I* Replace(I* Replacement) { return slot_.exchange(Replacement, std::memory_order_acq_rel); }

private:
    static inline std::atomic<I*> slot_{nullptr};
};

// A test's service for the lifetime of this object:
//   TServiceOverride<TShellService> shell(recordingShell);
template <class I>
class TServiceOverride {
public:
    explicit TServiceOverride(I& Replacement) : saved_(TServiceSlot<I>::Replace(&Replacement)) {}
    ~TServiceOverride() { TServiceSlot<I>::Replace(saved_); }
    TServiceOverride(const TServiceOverride&) = delete;
    TServiceOverride& operator=(const TServiceOverride&) = delete;

private:
    I* saved_;
};
