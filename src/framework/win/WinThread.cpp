#include "framework/win/WinThread.h"

#include <process.h>

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC procedure, LPVOID parameter)
    : m_pfnThreadProc(procedure), m_pThreadParams(parameter)
{
}

CWinThread::~CWinThread()
{
    if (m_hThread != nullptr)
        ::CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD flags, UINT stackSize, LPSECURITY_ATTRIBUTES security)
{
    // Started suspended, so that the handle and id are stored before the
    // thread can end and delete this object.
    unsigned id = 0;
    const uintptr_t handle =
        ::_beginthreadex(security, stackSize, &CWinThread::Start, this, flags | CREATE_SUSPENDED, &id);
    if (handle == 0)
        return FALSE;
    m_hThread = reinterpret_cast<HANDLE>(handle);
    m_nThreadID = id;
    if ((flags & CREATE_SUSPENDED) == 0)
        ::ResumeThread(m_hThread);
    return TRUE;
}

DWORD CWinThread::ResumeThread()
{
    return ::ResumeThread(m_hThread);
}

DWORD CWinThread::SuspendThread()
{
    return ::SuspendThread(m_hThread);
}

BOOL CWinThread::SetThreadPriority(int priority)
{
    return ::SetThreadPriority(m_hThread, priority);
}

int CWinThread::GetThreadPriority() const
{
    return ::GetThreadPriority(m_hThread);
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::Run()
{
    MSG msg;
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            m_nQuitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1)
            break;
        if (!PreTranslateMessage(&msg) && msg.hwnd != nullptr) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return ExitInstance();
}

int CWinThread::ExitInstance()
{
    return m_nQuitCode;
}

BOOL CWinThread::PreTranslateMessage(MSG*)
{
    return FALSE;
}

UINT CWinThread::RunThread()
{
    if (m_pfnThreadProc != nullptr)
        return m_pfnThreadProc(m_pThreadParams);
    return static_cast<UINT>(InitInstance() ? Run() : ExitInstance());
}

unsigned __stdcall CWinThread::Start(void* object)
{
    auto* thread = static_cast<CWinThread*>(object);
    const UINT code = thread->RunThread();
    if (thread->m_bAutoDelete)
        delete thread;
    return code;
}

CWinThread* AfxBeginThread(AFX_THREADPROC procedure, LPVOID parameter, int priority, UINT stackSize, DWORD flags,
                           LPSECURITY_ATTRIBUTES security)
{
    auto* thread = new CWinThread(procedure, parameter);
    if (!thread->CreateThread(flags | CREATE_SUSPENDED, stackSize, security)) {
        delete thread;
        return nullptr;
    }
    thread->SetThreadPriority(priority);
    if ((flags & CREATE_SUSPENDED) == 0)
        thread->ResumeThread();
    return thread;
}

DWORD WaitPumpingMessages(HANDLE object, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (timeoutMs != INFINITE) {
            const DWORD spent = ::GetTickCount() - start;
            if (spent >= timeoutMs)
                return ::WaitForSingleObject(object, 0);
            left = timeoutMs - spent;
        }
        const DWORD result = ::MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_ALLINPUT);
        if (result != WAIT_OBJECT_0 + 1)
            return result;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Left for the loop that owns the thread.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return ::WaitForSingleObject(object, 0) == WAIT_OBJECT_0 ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}
