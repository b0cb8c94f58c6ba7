#include "app/autostart.hpp"

#include <windows.h>

namespace korvanel {

namespace {

// Closes a registry key it owns.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() {
        if (m_key) RegCloseKey(m_key);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY* Receive() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

}  // namespace

void RegisterAutoStart() {
    RegistryKey run;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                      KEY_ALL_ACCESS, run.Receive()) != ERROR_SUCCESS) {
        return;
    }
    DWORD size = 0;
    if (RegQueryValueExW(run.Get(), L"Korvanel", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
        return;  // present, whatever it holds
    }
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;  // failed, or cut short
    RegSetValueExW(run.Get(), L"Korvanel", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path),
                   (length + 1) * sizeof(wchar_t));
}

}  // namespace korvanel
