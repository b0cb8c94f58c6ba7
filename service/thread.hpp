#pragma once

#include <windows.h>

#include <atomic>

#include "service/critical_section.hpp"

namespace korvanel {

// Worker-thread base: a stop flag and a pause flag, each behind its own
// critical section (spin count 4000), and one operation, Run.
//
// The thread is created suspended and only released by Start(), which each
// derived constructor calls as its last step: the thread can never enter
// Run before the derived object is complete (and so never runs the empty
// base Run by accident).
class CThread {
public:
    static constexpr DWORD kSpinCount = 4000;

    virtual ~CThread();
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    virtual void Run() {}

    void RequestStop();
    bool IsStopRequested();
    void SetPause(bool pause);
    bool IsPauseRequested();
    bool IsPaused();  // the loop's acknowledgement
    bool IsFinished() const { return m_bFinished.load(); }
    // Waits for the thread to end; false when it is still running after `ms`.
    bool WaitFinished(DWORD ms) const;

    DWORD StopLockSpinCount() const { return m_pStopLock.SpinCount(); }
    DWORD PauseLockSpinCount() const { return m_pPauseLock.SpinCount(); }

protected:
    explicit CThread(void* context);
    void Start();
    // Sleeps `ms`, waking early on a stop request; false when stopping.
    bool SleepUnlessStopped(DWORD ms);
    void SetPaused(bool paused);

    void* const m_pContext;

private:
    static unsigned __stdcall ThreadEntry(void* self);

    UniqueHandle m_hThread;
    bool m_bStop = false;  // guarded by m_pStopLock
    CriticalSection m_pStopLock{kSpinCount};
    bool m_bPause = true;    // guarded by m_pPauseLock; a new thread starts paused
    bool m_bPaused = false;  // guarded by m_pPauseLock
    CriticalSection m_pPauseLock{kSpinCount};
    std::atomic<bool> m_bFinished{false};
    UniqueHandle m_hStopEvent;  // wakes sleeping passes at once on stop
    bool m_bStarted = false;
};

class CHttpServerObject;

// Polls the service every 20 ms and dispatches at most one message a pass.
class CGetCommandThread final : public CThread {
public:
    explicit CGetCommandThread(CHttpServerObject* service);
    void Run() override;
};

// Runs the receiver's event loop; creates the receiver first if the service
// could not, and runs the loop again when it fails.
class CHttpServerThread final : public CThread {
public:
    explicit CHttpServerThread(CHttpServerObject* service);
    void Run() override;
};

}  // namespace korvanel
