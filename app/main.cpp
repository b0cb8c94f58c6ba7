// Korvanel's entry point: the framework runs the one application object.
#include <windows.h>

#include "app/korvanel_app.hpp"

namespace {
CKorvanelApp theApp;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return AfxWinMain(); }
