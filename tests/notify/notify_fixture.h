// Shared by the notification-widget tests: the application set up for real
// windows, callback exceptions collected, message pumping with a deadline,
// and a tray shell that records every call instead of reaching the real one.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/windows/application.h"
#include "notify/trayshell.h"
#include "tests/support/pump.h"

class RecordingTrayShell : public TTrayShell {
public:
    struct Call {
        DWORD message;
        TTrayIconData data;
    };
    std::vector<Call> calls;
    bool NotifyIcon(DWORD Message, TTrayIconData& Data) override {
        calls.push_back({Message, Data});
        return true;
    }
    int Count(DWORD Message) const {
        int n = 0;
        for (const auto& c : calls) n += c.message == Message;
        return n;
    }
};

class NotifyWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Application->OnException = TExceptionEvent(this, &NotifyWindowTest::Caught);
    }
    void TearDown() override {
        Application->ProcessMessages();
        Application->OnException = nullptr;
        EXPECT_TRUE(exceptions.empty()) << exceptions.front();
    }
    void Caught(TObject*, const Exception& E) { exceptions.push_back(E.Message()); }

    static void Pump() { Application->ProcessMessages(); }
    static void PumpFor(int Milliseconds) {
        PumpUntil([] { return false; }, Milliseconds);
    }

    std::vector<std::string> exceptions;
    RecordingTrayShell shell;
    TServiceOverride<TTrayShell> shellScope{shell};
};
