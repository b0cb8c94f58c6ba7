#include "service/thread.hpp"

#include <process.h>

#include "service/http_server_object.hpp"

namespace korvanel {

CThread::CThread(void* context)
    : m_pContext(context), m_hStopEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    m_hThread = UniqueHandle(reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, &CThread::ThreadEntry, this, CREATE_SUSPENDED, nullptr)));
}

CThread::~CThread() {
    // Owners stop and wait for the thread first; a thread that would not end
    // is abandoned together with its object, never destroyed under it.
    if (m_bStarted) {
        RequestStop();
        WaitFinished(INFINITE);
    } else if (m_hThread) {
        // Never released: let it run the (empty) entry to its end.
        m_bFinished = true;
        RequestStop();
        ResumeThread(m_hThread.Get());
        WaitForSingleObject(m_hThread.Get(), INFINITE);
    }
}

void CThread::Start() {
    m_bStarted = true;
    ResumeThread(m_hThread.Get());
}

unsigned __stdcall CThread::ThreadEntry(void* self) {
    auto* thread = static_cast<CThread*>(self);
    if (!thread->m_bFinished.load()) thread->Run();
    thread->m_bFinished = true;
    return 0;
}

void CThread::RequestStop() {
    {
        CriticalSectionLock hold(m_pStopLock);
        m_bStop = true;
    }
    SetEvent(m_hStopEvent.Get());
}

bool CThread::IsStopRequested() {
    CriticalSectionLock hold(m_pStopLock);
    return m_bStop;
}

void CThread::SetPause(bool pause) {
    CriticalSectionLock hold(m_pPauseLock);
    m_bPause = pause;
}

bool CThread::IsPauseRequested() {
    CriticalSectionLock hold(m_pPauseLock);
    return m_bPause;
}

bool CThread::IsPaused() {
    CriticalSectionLock hold(m_pPauseLock);
    return m_bPaused;
}

void CThread::SetPaused(bool paused) {
    CriticalSectionLock hold(m_pPauseLock);
    m_bPaused = paused;
}

bool CThread::WaitFinished(DWORD ms) const {
    if (!m_hThread) return true;
    // The thread may be inside a SendMessageW to this very thread: keep
    // delivering sent messages while waiting, or neither could go on.
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        DWORD remaining = INFINITE;
        if (ms != INFINITE) {
            const ULONGLONG now = GetTickCount64();
            remaining = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        }
        const HANDLE handle = m_hThread.Get();
        const DWORD result = MsgWaitForMultipleObjects(1, &handle, FALSE, remaining, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + 1) return false;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool CThread::SleepUnlessStopped(DWORD ms) {
    return WaitForSingleObject(m_hStopEvent.Get(), ms) == WAIT_TIMEOUT;
}

CGetCommandThread::CGetCommandThread(CHttpServerObject* service) : CThread(service) { Start(); }

void CGetCommandThread::Run() {
    auto* service = static_cast<CHttpServerObject*>(m_pContext);
    while (!IsStopRequested()) {
        if (IsPauseRequested()) {
            SleepUnlessStopped(100);
            SetPaused(true);
            continue;
        }
        SetPaused(false);
        if (!SleepUnlessStopped(20)) break;
        service->GetCommand();
    }
}

CHttpServerThread::CHttpServerThread(CHttpServerObject* service) : CThread(service) { Start(); }

void CHttpServerThread::Run() {
    auto* service = static_cast<CHttpServerObject*>(m_pContext);
    while (!IsStopRequested()) {
        http::ph_http_server* receiver = service->Receiver();
        if (receiver == nullptr) {
            if (!service->Listen(/*firstAttempt=*/false)) {
                SleepUnlessStopped(service->Options().listenRetryMs);
            }
            continue;
        }
        if (service->RunReceiverOnce(*receiver)) return;  // the loop ran dry: stopped
        SleepUnlessStopped(service->Options().loopRestartMs);
    }
}

}  // namespace korvanel
