#include "framework/app.hpp"

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp() : m_hInstance(::GetModuleHandleW(nullptr)) { g_pApp = this; }

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

int CWinApp::Run() {
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

HINSTANCE AfxGetResourceHandle() { return ::GetModuleHandleW(nullptr); }

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    if (!app->InitInstance()) return 0;
    return app->Run();
}
