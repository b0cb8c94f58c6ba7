#pragma once
// GDI ownership. Owning types (CBrush, CFont, CPen, CBitmap, CPaintDC,
// CClientDC, CMemDC) are move-only or pinned and free what they hold;
// borrowed handles stay raw handles or CDC, a view that frees nothing.
#include <windows.h>

#include <utility>

// Owns one GDI object and deletes it; the derived classes add creation.
template <class Handle>
class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(Handle handle) : m_handle(handle) {}
    CGdiObject(CGdiObject&& other) noexcept : m_handle(other.Detach()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject() { DeleteObject(); }

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    // Takes ownership of handle, deleting what was held before.
    void Attach(Handle handle) {
        DeleteObject();
        m_handle = handle;
    }
    Handle Detach() { return std::exchange(m_handle, nullptr); }
    void DeleteObject() {
        if (m_handle) ::DeleteObject(std::exchange(m_handle, nullptr));
    }

private:
    Handle m_handle = nullptr;
};

class CBrush : public CGdiObject<HBRUSH> {
public:
    using CGdiObject::CGdiObject;
    bool CreateSolidBrush(COLORREF colour) {
        Attach(::CreateSolidBrush(colour));
        return static_cast<bool>(*this);
    }
};

class CPen : public CGdiObject<HPEN> {
public:
    using CGdiObject::CGdiObject;
    bool CreatePen(int style, int width, COLORREF colour) {
        Attach(::CreatePen(style, width, colour));
        return static_cast<bool>(*this);
    }
};

class CFont : public CGdiObject<HFONT> {
public:
    using CGdiObject::CGdiObject;
    // The arguments of CreateFontW, in its order.
    bool CreateFont(int height, int width, int escapement, int orientation, int weight,
                    BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                    BYTE outPrecision, BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
                    const wchar_t* face) {
        Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline,
                             strikeOut, charSet, outPrecision, clipPrecision, quality,
                             pitchAndFamily, face));
        return static_cast<bool>(*this);
    }
};

class CBitmap : public CGdiObject<HBITMAP> {
public:
    using CGdiObject::CGdiObject;
    bool LoadBitmap(HINSTANCE module, UINT id) {
        Attach(static_cast<HBITMAP>(
            ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        return static_cast<bool>(*this);
    }
    SIZE GetSize() const;
};

// Puts back the object a DC had before a SelectObject, when it goes out of scope.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(::SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() {
        if (m_old && m_old != HGDI_ERROR) ::SelectObject(m_dc, m_old);
    }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A borrowed device context: copying it is cheap and it releases nothing.
class CDC {
public:
    CDC() = default;
    explicit CDC(HDC dc) : m_hDC(dc) {}
    HDC get() const { return m_hDC; }

    COLORREF SetTextColor(COLORREF colour) const { return ::SetTextColor(m_hDC, colour); }
    COLORREF SetBkColor(COLORREF colour) const { return ::SetBkColor(m_hDC, colour); }
    int SetBkMode(int mode) const { return ::SetBkMode(m_hDC, mode); }
    [[nodiscard]] ScopedSelect SelectObject(HGDIOBJ object) const { return {m_hDC, object}; }
    void FillSolidRect(const RECT& rect, COLORREF colour) const;
    void FillRect(const RECT& rect, HBRUSH brush) const { ::FillRect(m_hDC, &rect, brush); }

protected:
    HDC m_hDC = nullptr;
};

// BeginPaint/EndPaint for one WM_PAINT; pinned to the handler's scope.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND window) : m_window(window) { m_hDC = ::BeginPaint(window, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    ~CPaintDC() { ::EndPaint(m_window, &m_ps); }
    const PAINTSTRUCT& paint() const { return m_ps; }

private:
    HWND m_window;
    PAINTSTRUCT m_ps{};
};

// GetDC/ReleaseDC.
class CClientDC : public CDC {
public:
    explicit CClientDC(HWND window) : CDC(::GetDC(window)), m_window(window) {}
    CClientDC(CClientDC&& other) noexcept
        : CDC(std::exchange(other.m_hDC, nullptr)), m_window(other.m_window) {}
    CClientDC& operator=(CClientDC&&) = delete;
    CClientDC(const CClientDC&) = delete;
    ~CClientDC() {
        if (m_hDC) ::ReleaseDC(m_window, m_hDC);
    }

private:
    HWND m_window;
};

// CreateCompatibleDC/DeleteDC.
class CMemDC : public CDC {
public:
    explicit CMemDC(HDC compatibleWith) : CDC(::CreateCompatibleDC(compatibleWith)) {}
    CMemDC(CMemDC&& other) noexcept : CDC(std::exchange(other.m_hDC, nullptr)) {}
    CMemDC& operator=(CMemDC&&) = delete;
    CMemDC(const CMemDC&) = delete;
    ~CMemDC() {
        if (m_hDC) ::DeleteDC(m_hDC);
    }
};
