#pragma once
// The popup's "Click to enter" label and what a click on it does.
#include "popup/link_label.hpp"

#include <string>
#include <string_view>

// The link of the alert page on display; the popup sets it before each
// SetupEnterLink, OpenCurrentLink trims it in place.
extern std::wstring g_strCurrentLink;

// Face, text and width of the label for a system language; face and text
// are null for Chinese other than Simplified or Traditional (no label).
struct EnterLinkLook {
    const wchar_t* face;
    const wchar_t* text;
    int width;
};
EnterLinkLook EnterLinkLookFor(LANGID language);

// (Re)makes the popup's one label at the place of its control 224, in the
// system's default language. No earlier label window, font or text survives.
void SetupEnterLink(HWND popup, LinkLabel& label);
// The same for a given language.
void SetupEnterLink(HWND popup, LinkLabel& label, LANGID language);

// The label's click action: opens g_strCurrentLink with the shell when it is
// an absolute http:// or https:// address; anything else leaves a log line.
void OpenCurrentLink(int);

// Whether a (trimmed) link may be handed to the shell.
bool IsOpenableLink(std::wstring_view link);

// Seams: the shell call (ShellExecuteW "open" by default; returns its
// result) and where the refusal line goes (nowhere until the application
// connects its log). Both return the previous function.
using ShellOpen = INT_PTR (*)(const wchar_t* file, const wchar_t* parameters);
using LinkLog = void (*)(std::wstring_view line);
ShellOpen SetShellOpen(ShellOpen open);
LinkLog SetLinkLog(LinkLog log);
