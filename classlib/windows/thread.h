// `TThread`: a worker thread object. `Execute` runs on the new thread;
// `Synchronize` and `Queue` hand methods to the GUI thread through the
// dispatcher; `WaitFor` on the GUI thread keeps serving them meanwhile.
#pragma once

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>

#include "classlib/core/delegate.h"
#include "classlib/core/object.h"
#include "classlib/core/win32.h"

using TThreadMethod = TDelegate<void()>;

class TThread : public TObject {
    VX_CLASS(TThread, TObject)
public:
    // StackReserve 0 takes the program's default; a thread that many may
    // hold at once (one per drive that does not answer) asks for less, and
    // gives back at its start what the system committed beyond its first
    // frames.
    explicit TThread(bool CreateSuspended, std::size_t StackReserve = 0);
    // Starts the thread unless it was created suspended.
    void AfterConstruction() override;
    // A running thread is told to terminate and waited for.
    void BeforeDestruction() override;

    void Start();
    void Resume() { Start(); }
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    bool Finished() const { return finished_; }
    // Waits for the end of Execute and returns ReturnValue.
    int WaitFor();
    bool FreeOnTerminate() const { return freeOnTerminate_; }
    void SetFreeOnTerminate(bool Value) { freeOnTerminate_ = Value; }
    HANDLE Handle() const { return handle_; }
    DWORD ThreadID() const { return id_; }
    int ReturnValue() const { return returnValue_; }
    // What escaped Execute (it was also reported to the application).
    std::exception_ptr FatalException() const { return fatal_; }

    // Runs on the GUI thread once Execute has ended.
    TNotifyEvent OnTerminate;

    // For any thread, a TThread or not (AThread may be null).
    static void Synchronize(TThread* AThread, const TThreadMethod& Method);
    static void Queue(TThread* AThread, const TThreadMethod& Method);

protected:
    ~TThread() override;
    virtual void Execute() = 0;
    void Synchronize(const TThreadMethod& Method) { Synchronize(this, Method); }
    void Queue(const TThreadMethod& Method) { Queue(this, Method); }
    virtual void DoTerminate();
    void SetReturnValue(int Value) { returnValue_ = Value; }

private:
    static DWORD WINAPI ThreadProc(LPVOID Parameter);
    void CallOnTerminate();

    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> freeOnTerminate_{false};
    bool createSuspended_;
    bool smallStack_;
    bool started_ = false;
    int returnValue_ = 0;
    std::exception_ptr fatal_;
};
