#pragma once
#include "framework/app.hpp"

// The application: one instance per machine, running the hidden main
// window modally for the life of the process.
class CKorvanelApp : public CWinAppEx {
public:
    CKorvanelApp() : CWinAppEx(TRUE) {}
    BOOL InitInstance() override;
};
