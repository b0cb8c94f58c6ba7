#include "service/text_win.hpp"

#include <objbase.h>

namespace korvanel {

std::wstring MultiByteToWide(UINT codePage, const std::string& text) {
    const std::string zeroTerminated = text.substr(0, text.find('\0'));
    if (zeroTerminated.empty()) return {};
    const int length = static_cast<int>(zeroTerminated.size());
    const int needed = MultiByteToWideChar(codePage, 0, zeroTerminated.data(), length, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring out(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, zeroTerminated.data(), length, out.data(), needed);
    return out;
}

std::string WideToMultiByte(UINT codePage, const std::wstring& text) {
    const std::wstring zeroTerminated = text.substr(0, text.find(L'\0'));
    if (zeroTerminated.empty()) return {};
    const int length = static_cast<int>(zeroTerminated.size());
    const int needed =
        WideCharToMultiByte(codePage, 0, zeroTerminated.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::string out(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(codePage, 0, zeroTerminated.data(), length, out.data(), needed, nullptr,
                        nullptr);
    return out;
}

std::string Utf8ToAnsi(const std::string& text) {
    return WideToMultiByte(CP_ACP, MultiByteToWide(CP_UTF8, text));
}

std::string GuidToString(GUID guid) {
    wchar_t registryForm[260] = {};
    if (StringFromGUID2(guid, registryForm, 260) == 0) return {};
    const std::string braced = WideToMultiByte(CP_ACP, registryForm);
    if (braced.size() < 2) return {};
    return braced.substr(1, braced.size() - 2);
}

}  // namespace korvanel
