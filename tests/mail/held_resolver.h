// A name server that answers only when told: while one lives, every lookup
// of a server's name waits until Release (or the end of the scope), then
// finds 127.0.0.1. A test can so stop a session in the middle of a lookup.
#pragma once

#include <atomic>
#include <string>

#include "classlib/core/win32.h"
#include "mail/host_lookup.h"

class THeldResolver {
public:
    THeldResolver() : previous_(SetHostResolver(&Resolve)) {
        ResetEvent(Answer());
        started_ = 0;
    }
    ~THeldResolver() {
        Release();
        SetHostResolver(previous_);
    }
    THeldResolver(const THeldResolver&) = delete;
    THeldResolver& operator=(const THeldResolver&) = delete;

    void Release() { SetEvent(Answer()); }
    // Lookups begun since this one was made.
    int Started() const { return started_; }

private:
    static HANDLE Answer() {
        static const HANDLE answer = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        return answer;
    }
    static bool Resolve(const std::string&, std::string& Address) {
        ++started_;
        // Never forever, even for a test that forgot to let go.
        WaitForSingleObject(Answer(), 60000);
        Address = "127.0.0.1";
        return true;
    }

    static inline std::atomic<int> started_{0};
    THostResolver previous_;
};
