#pragma once

#include <windows.h>

namespace korvanel {

// A CRITICAL_SECTION that lives exactly as long as its owner.
class CriticalSection {
public:
    explicit CriticalSection(DWORD spinCount) {
        InitializeCriticalSectionAndSpinCount(&m_section, spinCount);
    }
    ~CriticalSection() { DeleteCriticalSection(&m_section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { EnterCriticalSection(&m_section); }
    void Leave() { LeaveCriticalSection(&m_section); }
    DWORD SpinCount() const { return static_cast<DWORD>(m_section.SpinCount); }

private:
    CRITICAL_SECTION m_section;
};

// Holds a CriticalSection for one scope.
class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CriticalSection& section) : m_section(section) { m_section.Enter(); }
    ~CriticalSectionLock() { m_section.Leave(); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CriticalSection& m_section;
};

// Closes a kernel handle it owns.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_handle = other.Release();
        }
        return *this;
    }

    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Release() {
        const HANDLE h = m_handle;
        m_handle = nullptr;
        return h;
    }
    void Reset() {
        if (*this) CloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    HANDLE m_handle = nullptr;
};

}  // namespace korvanel
