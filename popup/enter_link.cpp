#include "popup/enter_link.hpp"

#include "res/resource.h"

#include <shellapi.h>

#include <cwctype>

std::wstring g_strCurrentLink;

namespace {
INT_PTR ShellExecuteOpen(const wchar_t* file, const wchar_t* parameters) {
    return reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", file, parameters, nullptr, SW_SHOWNORMAL));
}
void NoLog(std::wstring_view) {}

ShellOpen g_shellOpen = &ShellExecuteOpen;
LinkLog g_linkLog = &NoLog;

constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
constexpr int kLabelHeight = 20;
constexpr int kFontHeight = 12;

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::towlower(text[i]) != prefix[i]) return false;
    return true;
}

void Trim(std::wstring& text) {
    while (!text.empty() && std::iswspace(text.back())) text.pop_back();
    size_t first = 0;
    while (first < text.size() && std::iswspace(text[first])) ++first;
    text.erase(0, first);
}
}  // namespace

ShellOpen SetShellOpen(ShellOpen open) {
    const ShellOpen old = g_shellOpen;
    g_shellOpen = open ? open : &ShellExecuteOpen;
    return old;
}

LinkLog SetLinkLog(LinkLog log) {
    const LinkLog old = g_linkLog;
    g_linkLog = log ? log : &NoLog;
    return old;
}

EnterLinkLook EnterLinkLookFor(LANGID language) {
    if (PRIMARYLANGID(language) != LANG_CHINESE) return {L"Arial", L"Click to enter", 80};
    switch (SUBLANGID(language)) {
    case SUBLANG_CHINESE_SIMPLIFIED:
        return {L"\x5B8B\x4F53", L"\x70B9\x51FB\x8FDB\x5165", 50};  // 宋体 点击进入
    case SUBLANG_CHINESE_TRADITIONAL:
        return {L"\x5B8B\x9AD4", L"\x9EDE\x64CA\x9032\x5165", 80};  // 宋體 點擊進入
    }
    return {nullptr, nullptr, 0};
}

void SetupEnterLink(HWND popup, LinkLabel& label) {
    SetupEnterLink(popup, label, ::GetSystemDefaultLangID());
}

void SetupEnterLink(HWND popup, LinkLabel& label, LANGID language) {
    // A refused creation below must not leave the previous page's label.
    DestroyLinkLabel(label);

    LinkLabelParams params{};
    RECT place{};
    ::GetWindowRect(::GetDlgItem(popup, IDC_STATIC_LINK), &place);
    ::MapWindowPoints(HWND_DESKTOP, popup, reinterpret_cast<POINT*>(&place), 2);
    params.parent = popup;
    params.id = 0;
    params.x = place.left;
    params.y = place.top;
    params.height = kLabelHeight;
    params.fontHeight = kFontHeight;
    params.underline = 1;
    params.normalColour = kLinkBlue;
    params.hoverColour = kLinkBlue;
    params.useCursor = 1;
    params.cursor = ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_CURSOR_LINK));
    params.clickAction = &OpenCurrentLink;
    const EnterLinkLook look = EnterLinkLookFor(language);
    params.face = look.face;
    params.text = look.text;
    params.width = look.width;
    CreateLinkLabel(params, label);  // no label is a valid outcome
}

bool IsOpenableLink(std::wstring_view link) {
    // Quotes and control characters could break out of a handler's command
    // line; a real address carries them percent-encoded.
    for (wchar_t c : link)
        if (c == L'"' || c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
    for (std::wstring_view scheme : {std::wstring_view(L"http://"), std::wstring_view(L"https://")}) {
        if (StartsWithNoCase(link, scheme)) {
            const std::wstring_view rest = link.substr(scheme.size());
            return !rest.empty() && rest.front() != L'/' && rest.front() != L'\\';
        }
    }
    return false;
}

void OpenCurrentLink(int) {
    Trim(g_strCurrentLink);
    if (g_strCurrentLink.empty()) return;
    // Links come from the network: only web addresses, never programs,
    // files or shares.
    if (!IsOpenableLink(g_strCurrentLink)) {
        g_linkLog(L"OpenCurrentLink: not a web address, not opened: " + g_strCurrentLink);
        return;
    }
    if (g_shellOpen(g_strCurrentLink.c_str(), nullptr) == SE_ERR_NOASSOC) {
        // One quoted argument, so the link cannot add arguments of its own.
        const std::wstring argument = L"\"" + g_strCurrentLink + L"\"";
        g_shellOpen(L"iexplore.exe", argument.c_str());
    }
}
