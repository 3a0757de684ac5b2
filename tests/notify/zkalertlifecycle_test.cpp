#include "notify/zkdesktopalert.h"

#include "tests/foundation/quarantine.h"
#include "tests/notify/alert_fixture.h"

namespace {

using AlertLifecycleTest = AlertTest;

// Short enough that an alert comes and goes in a few hundred milliseconds.
void Quick(TZkDesktopAlert* Alert) {
    TZkCustomDesktopAlertStyleHandler* style = Alert->StyleOptions();
    style->SetStartSteps(1);
    style->SetStartInterval(10);
    style->SetDisplayDuration(10);
    style->SetEndSteps(1);
    style->SetEndInterval(10);
    Alert->SetAutoFree(true);
}

TEST_F(AlertLifecycleTest, TwoHundredSelfFreeingAlertsLeaveNothingBehind) {
    // One alert first, so that what is made once per process is there.
    TZkDesktopAlert* warmUp = NewAlert();
    Quick(warmUp);
    warmUp->Execute();
    ASSERT_TRUE(PumpUntil([&] { return owner->ComponentCount() == 0; }, 5000));
    PumpFor(50);
    const long gdi = GdiHandleCount(), user = UserHandleCount();

    std::vector<HWND> windows;
    for (int i = 0; i < 200; ++i) {
        TZkDesktopAlert* alert = NewAlert();
        Quick(alert);
        alert->Execute();
        windows.push_back(alert->Window()->Handle());
    }
    EXPECT_TRUE(PumpUntil([&] { return owner->ComponentCount() == 0; }, 30000));
    PumpFor(100);
    EXPECT_TRUE(ProcessAlertStack()->Slots().empty());
    int alive = 0;
    for (HWND window : windows) alive += IsWindow(window) ? 1 : 0;
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
}

TEST_F(AlertLifecycleTest, OwnerFreedWhileAReleaseIsOnItsWay) {
    TZkDesktopAlert* alert = NewAlert();
    alert->SetAutoFree(true);
    alert->Execute();
    HWND window = alert->Window()->Handle();
    alert->Window()->Close();
    EXPECT_EQ(alert->Window(), nullptr);
    owner.reset();
    Pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(ProcessAlertStack()->Slots().empty());
}

TEST_F(AlertLifecycleTest, ClosingTheMainFormWithAlertsOpen) {
    TForm* main = Create<TForm>(nullptr, 0);
    auto* holder = Create<TZkDesktopAlert>(main);
    std::vector<HWND> windows;
    for (int i = 0; i < 3; ++i) {
        auto* alert = Create<TZkDesktopAlert>(holder);
        alert->SetAutoFree(i != 1);
        alert->StyleOptions()->SetDisplayDuration(600000);
        alert->Execute();
        windows.push_back(alert->Window()->Handle());
    }
    // The first one has closed and waits for its release.
    SendMessageW(windows[0], WM_CLOSE, 0, 0);
    main->Free();
    Pump();
    for (HWND window : windows) EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(ProcessAlertStack()->Slots().empty());
}

struct Closes {
    int count = 0;
    void Closed(TObject*) { ++count; }
};

TEST_F(AlertLifecycleTest, ExecuteAgainOnAShownSelfFreeingAlertShowsItAgain) {
    TZkDesktopAlert* alert = NewAlert();
    alert->SetAutoFree(true);
    Closes closes;
    alert->OnClose = TNotifyEvent(&closes, &Closes::Closed);
    alert->Execute();
    TZkFormDesktopAlert* window = alert->Window();
    alert->Execute();
    Pump();
    EXPECT_EQ(closes.count, 1);
    ASSERT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(alert->Window(), window);
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(ProcessAlertStack()->Slots().size(), 1u);
}

TEST_F(AlertLifecycleTest, AClosedSelfFreeingAlertToleratesItsCallers) {
    TZkDesktopAlert* alert = NewAlert();
    alert->SetAutoFree(true);
    alert->Execute();
    alert->Window()->Close();
    ASSERT_EQ(alert->Window(), nullptr);
    alert->SetHeaderText("late");
    alert->SetMessageText("late");
    alert->SetShowHint(true);
    EXPECT_EQ(alert->HeaderText(), "");
    EXPECT_EQ(alert->Font(), nullptr);
    EXPECT_TRUE(alert->Execute());
    Pump();
    EXPECT_EQ(owner->ComponentCount(), 0);
}

// A mouse message arriving after the component went must find nothing of it.
TEST_F(AlertLifecycleTest, LateMessagesAfterTheSelfReleaseReachNoHandler) {
    TZkDesktopAlert* alert = NewAlert();
    alert->SetAutoFree(true);
    alert->Buttons()->Add();
    alert->Execute();
    TZkFormDesktopAlert* window = alert->Window();
    HWND handle = window->Handle();
    window->Close();
    // The release message is handled; the window's own release is queued.
    SendMessageW(handle, WM_ZK_ALERT_RELEASE, reinterpret_cast<WPARAM>(handle), 0);
    EXPECT_EQ(owner->ComponentCount(), 0);
    EXPECT_EQ(window->StyleHandler(), nullptr);
    EXPECT_FALSE(Assigned(window->OnShow));
    EXPECT_FALSE(Assigned(window->MessageLabel()->OnClick));
    int imageButtons = 0;
    for (int i = 0; i < window->ComponentCount(); ++i) {
        auto* button = dynamic_cast<TZkDesktopAlertButton*>(window->Components(i));
        if (!button || button->ToolType() != abtImage) continue;
        ++imageButtons;
        EXPECT_FALSE(Assigned(button->OnClick));
    }
    EXPECT_EQ(imageButtons, 1);
    const TPoint at = window->ClientToScreen(Point(200, 4));
    SendMessageW(handle, WM_NCHITTEST, 0, MAKELPARAM(at.X, at.Y));
    SendMessageW(handle, CM_MOUSEENTER, 0, 0);
    SendMessageW(handle, CM_MOUSELEAVE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(handle));
}

// A handler may free the alert, or what owns it, from OnClose: the close
// goes on without touching either, and the window goes a moment later.
using TWatchedAlert = TQuarantined<TZkDesktopAlert>;

class AlertFreedOnCloseTest : public AlertTest {
protected:
    // A fresh alert, owned by a holder of its own.
    void Prepare(bool FreeOwner) {
        TWatchedAlert::FreedUntouched();
        freeOwner = FreeOwner;
        holder = Create<TComponent>(owner.get());
        alert = Create<TWatchedAlert>(holder);
        alert->StyleOptions()->SetDisplayDuration(600000);
        alert->OnClose = TNotifyEvent(this, &AlertFreedOnCloseTest::Closed);
    }
    void Closed(TObject* Sender) {
        alphasAtClose = AlphaRecord::alphas.size();
        Freeing(Sender);
    }
    void ExpectAllGone(HWND Window) {
        EXPECT_TRUE(TWatchedAlert::FreedUntouched());
        EXPECT_TRUE(ProcessAlertStack()->Slots().empty());
        EXPECT_FALSE(IsWindowVisible(Window));
        Pump();
        EXPECT_FALSE(IsWindow(Window));
    }

public:
    void Freeing(TObject*) {
        if (freeOwner) {
            holder->Free();
        } else {
            alert->Free();
        }
    }

protected:
    TComponent* holder = nullptr;
    TWatchedAlert* alert = nullptr;
    bool freeOwner = false;
    size_t alphasAtClose = 0;
};

TEST_F(AlertFreedOnCloseTest, ClosedByItsWindow) {
    for (bool freeHolder : {false, true}) {
        Prepare(freeHolder);
        alert->Execute();
        HWND window = alert->Window()->Handle();
        alert->Window()->Close();
        ExpectAllGone(window);
    }
}

TEST_F(AlertFreedOnCloseTest, ClosedAtTheEndOfItsFade) {
    TLayeredWindowAttributesOverride record(&AlphaRecord::Record);
    for (bool autoFree : {false, true}) {
        Prepare(false);
        alert->SetAutoFree(autoFree);
        TZkCustomDesktopAlertStyleHandler* style = alert->StyleOptions();
        style->SetEndSteps(1);
        alert->Execute();
        HWND window = alert->Window()->Handle();
        style->EndAnimation();
        style->Timer()->TickForTest();
        // Nothing of the freed style handler ran after the close.
        EXPECT_EQ(AlphaRecord::alphas.size(), alphasAtClose);
        ExpectAllGone(window);
    }
}

TEST_F(AlertFreedOnCloseTest, ClosedForAnotherShowing) {
    Prepare(false);
    alert->Execute();
    HWND window = alert->Window()->Handle();
    EXPECT_TRUE(alert->Execute());
    ExpectAllGone(window);
}

// A handler of the showing may free the alert, or what owns it: the showing
// stops there without touching either, and the window goes a moment later.
using AlertFreedWhileShowingTest = AlertFreedOnCloseTest;

TEST_F(AlertFreedWhileShowingTest, ByEachHandlerOfTheShowing) {
    for (TNotifyEvent TZkDesktopAlert::*event :
         {&TZkDesktopAlert::OnShowing, &TZkDesktopAlert::OnShow, &TZkDesktopAlert::OnShown}) {
        for (bool freeHolder : {false, true}) {
            Prepare(freeHolder);
            alert->*event = TNotifyEvent(this, &AlertFreedOnCloseTest::Freeing);
            HWND window = alert->Window()->Handle();
            EXPECT_TRUE(alert->Execute());
            // Not freed inside its own show, which goes on after the handler.
            EXPECT_TRUE(IsWindow(window));
            ExpectAllGone(window);
        }
    }
}

}  // namespace
