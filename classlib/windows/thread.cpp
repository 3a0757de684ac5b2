#include "classlib/windows/thread.h"

#include "classlib/core/exceptions.h"
#include "classlib/windows/application.h"
#include "classlib/windows/dispatcher.h"
#include "classlib/windows/thread_stack.h"

TThread::TThread(bool CreateSuspended, std::size_t StackReserve)
    : createSuspended_(CreateSuspended), smallStack_(StackReserve != 0) {
    // Work queued before the GUI thread's loop starts must find the window.
    if (IsGuiThread()) GuiDispatcherReady();
    const DWORD flags = CREATE_SUSPENDED | (StackReserve ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0);
    handle_ = CreateThread(nullptr, StackReserve, &TThread::ThreadProc, this, flags, &id_);
    if (!handle_) throw EThread("Thread creation error: " + std::to_string(GetLastError()));
}

TThread::~TThread() {
    if (handle_) CloseHandle(handle_);
}

void TThread::AfterConstruction() {
    inherited::AfterConstruction();
    if (!createSuspended_) Start();
}

void TThread::BeforeDestruction() {
    inherited::BeforeDestruction();
    if (GetCurrentThreadId() == id_) return;
    if (!started_) {
        // Never ran: let it run to its end without calling Execute.
        terminated_ = true;
        Start();
    } else {
        terminated_ = true;
    }
    if (!finished_) {
        freeOnTerminate_ = false;
        WaitFor();
    }
}

void TThread::Start() {
    if (started_) return;
    started_ = true;
    ResumeThread(handle_);
}

int TThread::WaitFor() {
    if (GetCurrentThreadId() == id_) throw EThread("Cannot call WaitFor on the thread itself");
    if (IsGuiThread()) {
        // Keep serving Synchronize while we wait, or a worker waiting for us
        // would wait forever.
        HANDLE handles[2] = {handle_, GuiDispatcherEvent()};
        for (;;) {
            const DWORD got = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
            if (got == WAIT_OBJECT_0) break;
            if (got == WAIT_OBJECT_0 + 1) {
                CheckSynchronize();
            } else if (got == WAIT_OBJECT_0 + 2) {
                MSG msg;
                PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
            } else {
                break;
            }
        }
    } else {
        WaitForSingleObject(handle_, INFINITE);
    }
    return returnValue_;
}

void TThread::Synchronize(TThread*, const TThreadMethod& Method) {
    TThreadMethod method = Method;
    RunOnGuiThread([method] { method(); });
}

void TThread::Queue(TThread*, const TThreadMethod& Method) {
    TThreadMethod method = Method;
    QueueOnGuiThread([method] { method(); });
}

void TThread::CallOnTerminate() {
    if (Assigned(OnTerminate)) OnTerminate(this);
}

void TThread::DoTerminate() {
    if (Assigned(OnTerminate)) Synchronize(TThreadMethod(this, &TThread::CallOnTerminate));
}

namespace {
// Shows an exception that ended a thread's work where the user can see it: on
// the GUI thread. Nothing may leave the thread entry, so a failure to queue
// the report is dropped.
void ReportOnGuiThread(std::exception_ptr error) noexcept {
    try {
        QueueOnGuiThread([error] {
            try {
                std::rethrow_exception(error);
            } catch (...) {
                HandleCallbackException(nullptr);
            }
        });
    } catch (...) {
    }
}
}  // namespace

DWORD WINAPI TThread::ThreadProc(LPVOID Parameter) {
    auto* thread = static_cast<TThread*>(Parameter);
    if (thread->smallStack_) GiveBackUnusedStack();
    try {
        if (!thread->terminated_) thread->Execute();
    } catch (...) {
        thread->fatal_ = std::current_exception();
        ReportOnGuiThread(thread->fatal_);
    }
    const bool freeIt = thread->freeOnTerminate_;
    const int result = thread->returnValue_;
    try {
        thread->DoTerminate();
    } catch (...) {
        ReportOnGuiThread(std::current_exception());
    }
    thread->finished_ = true;
    if (freeIt) thread->Free();
    return static_cast<DWORD>(result);
}
