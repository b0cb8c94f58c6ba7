#pragma once
// The application object: one per process, constructed statically; the
// entry point calls AfxWinMain, which runs InitInstance and, when that
// returns TRUE, a message loop until WM_QUIT.
#include "framework/wnd.hpp"

#include <string>

class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    virtual BOOL InitInstance() { return TRUE; }
    // Message loop for applications whose InitInstance returns TRUE.
    virtual int Run();

    void SetRegistryKey(const wchar_t* key) { m_strRegistryKey = key; }
    const std::wstring& GetRegistryKey() const { return m_strRegistryKey; }

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;

private:
    std::wstring m_strRegistryKey;
};

// The application object of the desktop shell flavour; nothing more is needed.
class CWinAppEx : public CWinApp {
public:
    explicit CWinAppEx(BOOL resourceSmartUpdate = FALSE) : m_bResourceSmartUpdate(resourceSmartUpdate) {}
    BOOL m_bResourceSmartUpdate;
};

CWinApp* AfxGetApp();
// The application's main window, or null when there is no application or none is set.
CWnd* AfxGetMainWnd();
// Our own module: resources (templates, bitmaps, cursors) load from it.
HINSTANCE AfxGetResourceHandle();
// Kept for code written against the platform framework; we host no controls.
inline void AfxEnableControlContainer() {}
// Runs the application object's InitInstance and, if it asks, its Run.
int AfxWinMain();
