// Shared by the desktop alert tests: windows under Xvfb with the cursor put
// away from the alerts, a layered-attribute function that records every
// alpha, and the process-wide stack put back to its corner afterwards.
#pragma once

#include <vector>

#include "classlib/graphics/handles.h"
#include "foundation/zkutils.h"
#include "notify/zkdesktopalert.h"
#include "tests/notify/notify_fixture.h"

struct AlphaRecord {
    static inline std::vector<int> alphas;
    static inline HWND window = nullptr;
    static BOOL WINAPI Record(HWND Window, COLORREF, BYTE Alpha, DWORD Flags) {
        if (Flags == LWA_ALPHA) alphas.push_back(Alpha);
        window = Window;
        return TRUE;
    }
};

class AlertTest : public NotifyWindowTest {
protected:
    void SetUp() override {
        NotifyWindowTest::SetUp();
        // The alerts sit at the bottom right; the cursor stays top left.
        SetCursorPos(0, 0);
        AlphaRecord::alphas.clear();
        GetWorkArea(workArea);
    }
    void TearDown() override {
        owner.reset();
        Pump();
        ProcessAlertStack()->SetPosition(dapBottomRight);
        NotifyWindowTest::TearDown();
    }

    // An alert owned by the test's owner component, shown long enough that
    // nothing ends by itself during a test.
    TZkDesktopAlert* NewAlert() {
        auto* alert = Create<TZkDesktopAlert>(owner.get());
        alert->StyleOptions()->SetDisplayDuration(600000);
        alert->SetHeaderText("Vexmora");
        alert->SetMessageText("Hard Disk Warning");
        return alert;
    }

    static TPoint Origin(TZkFormDesktopAlert* Window) { return Point(Window->Left(), Window->Top()); }

    TOwned<TComponent> owner = MakeOwned<TComponent>(nullptr);
    TRect workArea;
};
