// The hook manager: hooks installed once per thread and counted per user,
// fan-out by kind, changes made during a dispatch, failures and exceptions.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "classlib/graphics/handles.h"
#include "classlib/windows/application.h"
#include "toolbar/barhook.h"

namespace {

struct Call {
    THookMessageKind kind;
    HWND wnd;
};
std::vector<Call> calls;
void Record(THookMessageKind Kind, HWND Wnd, WPARAM, LPARAM) {
    calls.push_back({Kind, Wnd});
}
void RecordToo(THookMessageKind Kind, HWND Wnd, WPARAM, LPARAM) {
    calls.push_back({Kind, Wnd});
}

class HookTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        hooksBefore = HookHandleCount();
        window = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        if (window) DestroyWindow(window);
        RemoveThreadHooks();
        EXPECT_EQ(HookHandleCount(), hooksBefore);
    }
    void Move() { SetWindowPos(window, nullptr, 1, 1, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }

    long hooksBefore = 0;
    HWND window = nullptr;
    int a = 0, b = 0;
};

}  // namespace

TEST_F(HookTest, TwoUsersShareOneHookUntilTheLastLeaves) {
    InstallHookProc(&a, Record, {hmkWindowPosChanged});
    InstallHookProc(&b, Record, {hmkWindowPosChanged});
    EXPECT_EQ(HookUseCount(0), 2);
    EXPECT_EQ(HookHandleCount(), hooksBefore + 1);
    UninstallHookProc(&a, Record);
    EXPECT_TRUE(HookInstalled(0));
    Move();
    EXPECT_EQ(calls.size(), 1u);  // one entry, called once however many users
    UninstallHookProc(&b, Record);
    EXPECT_FALSE(HookInstalled(0));
    EXPECT_EQ(HookProcCount(), 0);
    EXPECT_EQ(HookHandleCount(), hooksBefore);
    UninstallHookProc(&b, Record);  // not registered: nothing
}

TEST_F(HookTest, EventsReachOnlyTheKindsRegistered) {
    InstallHookProc(&a, Record, {hmkWindowPosChanged});
    SendMessageW(window, WM_USER, 0, 0);  // not one of the three: no call
    SendMessageW(window, WM_ACTIVATEAPP, 0, 0);
    EXPECT_TRUE(calls.empty());
    Move();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, hmkWindowPosChanged);
    EXPECT_EQ(calls[0].wnd, window);
}

TEST_F(HookTest, KindsOfAProcedureAreTheUnionOfItsRegistrations) {
    InstallHookProc(&a, Record, {hmkWindowPosChanged});
    InstallHookProc(&b, Record, {hmkDestroyWindow});
    EXPECT_TRUE(HookInstalled(0));
    EXPECT_TRUE(HookInstalled(1));
    DestroyWindow(window);
    HWND gone = window;
    window = nullptr;
    bool seen = false;
    for (const Call& call : calls) seen = seen || (call.kind == hmkDestroyWindow && call.wnd == gone);
    EXPECT_TRUE(seen);
}

TEST_F(HookTest, ASecondRegistrationOfAUserOnlyAddsHooks) {
    InstallHookProc(&a, Record, {hmkActivate});
    InstallHookProc(&a, Record, {hmkActivate, hmkGetMessage});
    EXPECT_EQ(HookUseCount(0), 1);
    EXPECT_EQ(HookUseCount(2), 1);
    UninstallHookProc(&a, Record);
    EXPECT_EQ(HookUseCount(0), 0);
    EXPECT_EQ(HookUseCount(2), 0);
    EXPECT_EQ(HookHandleCount(), hooksBefore);
}

namespace {
HHOOK WINAPI RefuseHook(int, HOOKPROC, HINSTANCE, DWORD) {
    return nullptr;
}
}  // namespace

TEST_F(HookTest, AHookThatCannotBeObtainedIsReportedAndNotCounted) {
    THookInstaller saved = SetHookInstaller(RefuseHook);
    EXPECT_FALSE(InstallHookProc(&a, Record, {hmkActivate}));
    SetHookInstaller(saved);
    EXPECT_EQ(HookUseCount(0), 0);
    EXPECT_FALSE(HookInstalled(0));
    // A later registration obtains it and counts only itself.
    EXPECT_TRUE(InstallHookProc(&b, Record, {hmkActivate}));
    EXPECT_EQ(HookUseCount(0), 1);
    UninstallHookProc(&b, Record);
    UninstallHookProc(&a, Record);
    EXPECT_FALSE(HookInstalled(0));
}

namespace {
int selfUser = 0, otherUser = 0;
void RemovesTheOther(THookMessageKind Kind, HWND Wnd, WPARAM, LPARAM) {
    calls.push_back({Kind, Wnd});
    UninstallHookProc(&otherUser, RecordToo);
    UninstallHookProc(&selfUser, RemovesTheOther);
}
}  // namespace

TEST_F(HookTest, AProcedureMayUnregisterItselfAndOthersDuringDispatch) {
    InstallHookProc(&selfUser, RemovesTheOther, {hmkWindowPosChanged});
    InstallHookProc(&otherUser, RecordToo, {hmkWindowPosChanged});
    Move();
    EXPECT_EQ(calls.size(), 1u);  // the removed one is not called any more
    EXPECT_EQ(HookProcCount(), 0);
    EXPECT_FALSE(HookInstalled(0));
    Move();
    EXPECT_EQ(calls.size(), 1u);
}

namespace {
int chained = 0;
LRESULT CALLBACK OurOwnHook(int Code, WPARAM W, LPARAM L) {
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(L);
    if (Code == HC_ACTION && msg->message == WM_WINDOWPOSCHANGED) ++chained;
    return CallNextHookEx(nullptr, Code, W, L);
}
void Throws(THookMessageKind, HWND, WPARAM, LPARAM) {
    throw std::runtime_error("client failed");
}
std::vector<std::string> handled;
void Caught(TObject*, const Exception& E) {
    handled.push_back(E.Message());
}
}  // namespace

TEST_F(HookTest, AThrowingProcedureEndsTheFanOutButTheHookStillChains) {
    Application->Initialize();
    Application->OnException = TExceptionEvent(Caught);
    handled.clear();
    HHOOK own = SetWindowsHookExW(WH_CALLWNDPROC, OurOwnHook, nullptr, GetCurrentThreadId());
    chained = 0;
    InstallHookProc(&a, Throws, {hmkWindowPosChanged});
    InstallHookProc(&b, Record, {hmkWindowPosChanged});
    Move();
    EXPECT_TRUE(calls.empty());  // after the throwing one, nothing more
    EXPECT_EQ(handled.size(), 1u);
    EXPECT_EQ(chained, 1);
    UnhookWindowsHookEx(own);
    Application->OnException = nullptr;
}
