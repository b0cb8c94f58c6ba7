// Started by CTest under Wine with a locale in its environment (Wine takes
// the system default language from the Unix locale of the process):
//   language_probe <expected language id, hex> <expected label width>
// Checks that GetSystemDefaultLangID follows the locale and that
// SetupEnterLink makes the label of that language; exit code 0 on success.
#include "framework/dialog.hpp"
#include "popup/enter_link.hpp"
#include "res/resource.h"

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const auto expected = static_cast<LANGID>(std::wcstoul(argv[1], nullptr, 16));
    const long expectedWidth = std::wcstol(argv[2], nullptr, 10);
    CDialog popup(IDD_INFORMATION_DLG);
    if (!popup.Create()) return 3;
    LinkLabel label;
    SetupEnterLink(popup.GetSafeHwnd(), label);

    const LANGID language = ::GetSystemDefaultLangID();
    const EnterLinkLook look = EnterLinkLookFor(expected);
    RECT rect{};
    if (label.hwnd) ::GetWindowRect(label.hwnd, &rect);
    const long width = rect.right - rect.left;
    const bool textOk = look.text ? label.text && std::wcscmp(label.text.get(), look.text) == 0
                                  : label.hwnd == nullptr;
    std::printf("system language 0x%04X (expected 0x%04X), label width %ld (expected %ld), text %s\n",
                language, expected, width, expectedWidth, textOk ? "as expected" : "WRONG");
    return language == expected && width == expectedWidth && textOk ? 0 : 1;
}
