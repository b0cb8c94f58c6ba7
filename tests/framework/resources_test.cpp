// The resources exist as the program expects them: dialog templates item by
// item, the string, icons, button faces, cursor and manifest.
#include "res/resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// ---- a reader for extended dialog templates ----

struct Item {
    DWORD exStyle, style;
    short x, y, cx, cy;
    int id;
    std::wstring cls, text;
};
struct Template {
    DWORD exStyle, style;
    short x, y, cx, cy;
    std::wstring title, face;
    WORD points, weight;
    BYTE italic, charset;
    std::vector<Item> items;
};

class Reader {
public:
    explicit Reader(const BYTE* p) : m_p(p) {}
    template <class T> T Get() {
        T value;
        std::memcpy(&value, m_p, sizeof value);
        m_p += sizeof value;
        return value;
    }
    // sz_Or_Ord: 0xFFFF then an ordinal (returned as "#n"), or a string.
    std::wstring NameOrOrdinal() {
        if (Peek() == 0xFFFF) {
            Get<WORD>();
            return L"#" + std::to_wstring(Get<WORD>());
        }
        return String();
    }
    std::wstring String() {
        std::wstring text;
        for (WORD c; (c = Get<WORD>()) != 0;) text += static_cast<wchar_t>(c);
        return text;
    }
    void AlignDword() {
        while (reinterpret_cast<uintptr_t>(m_p) % 4) ++m_p;
    }
    void Skip(size_t bytes) { m_p += bytes; }

private:
    WORD Peek() const {
        WORD value;
        std::memcpy(&value, m_p, sizeof value);
        return value;
    }
    const BYTE* m_p;
};

// Predefined classes may be written as ordinals or as names in any case.
std::wstring ClassName(std::wstring name) {
    if (name == L"#128") return L"BUTTON";
    if (name == L"#129") return L"EDIT";
    if (name == L"#130") return L"STATIC";
    for (auto& c : name) c = static_cast<wchar_t>(::towupper(c));
    return name;
}

Template LoadTemplate(UINT id) {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
    if (!found) throw std::runtime_error("no template " + std::to_string(id));
    Reader r(static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, found))));
    Template t{};
    if (r.Get<WORD>() != 1 || r.Get<WORD>() != 0xFFFF) throw std::runtime_error("not DIALOGEX");
    r.Get<DWORD>();  // help id
    t.exStyle = r.Get<DWORD>();
    t.style = r.Get<DWORD>();
    const WORD count = r.Get<WORD>();
    t.x = r.Get<short>(), t.y = r.Get<short>(), t.cx = r.Get<short>(), t.cy = r.Get<short>();
    r.NameOrOrdinal();  // menu
    r.NameOrOrdinal();  // class
    t.title = r.String();
    if (t.style & (DS_SETFONT | DS_SHELLFONT)) {
        t.points = r.Get<WORD>(), t.weight = r.Get<WORD>();
        t.italic = r.Get<BYTE>(), t.charset = r.Get<BYTE>();
        t.face = r.String();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        Item item{};
        r.Get<DWORD>();  // help id
        item.exStyle = r.Get<DWORD>();
        item.style = r.Get<DWORD>();
        item.x = r.Get<short>(), item.y = r.Get<short>();
        item.cx = r.Get<short>(), item.cy = r.Get<short>();
        item.id = static_cast<int>(r.Get<DWORD>());
        item.cls = ClassName(r.NameOrOrdinal());
        item.text = r.NameOrOrdinal();
        r.Skip(r.Get<WORD>());  // creation data
        t.items.push_back(item);
    }
    return t;
}

const std::wstring kButton = L"BUTTON", kEdit = L"EDIT", kStatic = L"STATIC";
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

void ExpectItem(const Item& actual, const Item& expected) {
    SCOPED_TRACE(testing::Message() << "item " << expected.id << " at " << expected.x << ","
                                    << expected.y);
    EXPECT_EQ(actual.id, expected.id);
    EXPECT_EQ(actual.cls, expected.cls);
    EXPECT_EQ(actual.text, expected.text);
    EXPECT_EQ(actual.style, expected.style) << std::hex << actual.style << " vs " << expected.style;
    EXPECT_EQ(actual.exStyle, expected.exStyle);
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.cx, expected.cx);
    EXPECT_EQ(actual.cy, expected.cy);
}

void ExpectItems(const Template& t, const std::vector<Item>& expected) {
    ASSERT_EQ(t.items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) ExpectItem(t.items[i], expected[i]);
}

TEST(Resources, MainDialogTemplate) {
    const Template t = LoadTemplate(IDD_KORVANEL_DIALOG);
    EXPECT_EQ(t.style, DWORD(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                             DS_SETFONT | DS_FIXEDSYS));
    EXPECT_EQ(t.exStyle, DWORD(WS_EX_APPWINDOW));
    EXPECT_EQ(t.cx, 320);
    EXPECT_EQ(t.cy, 200);
    EXPECT_EQ(t.x + t.y, 0);
    EXPECT_EQ(t.title, L"Korvanel");
    EXPECT_EQ(t.points, 8);
    EXPECT_EQ(t.face, L"MS Shell Dlg");
    EXPECT_TRUE(t.items.empty());
}

TEST(Resources, AboutBoxTemplate) {
    const Template t = LoadTemplate(IDD_ABOUTBOX);
    EXPECT_EQ(t.style,
              DWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS));
    EXPECT_EQ(t.cx, 170);
    EXPECT_EQ(t.cy, 62);
    EXPECT_EQ(t.title, L"About Korvanel");
    EXPECT_EQ(t.points, 8);
    EXPECT_EQ(t.face, L"MS Shell Dlg");
    ASSERT_EQ(t.items.size(), 4u);
    ExpectItem(t.items[0], {0, kChild | SS_ICON, 14, 14, 21, 20, -1, kStatic, L"#128"});
    ExpectItem(t.items[1], {0, kChild | SS_NOPREFIX | WS_GROUP, 42, 14, 114, 8, -1, kStatic,
                            L"Korvanel, Version 1.0"});
    EXPECT_EQ(t.items[2].style, kChild | WS_GROUP);
    EXPECT_EQ(t.items[2].x, 42);
    EXPECT_EQ(t.items[2].y, 26);
    EXPECT_FALSE(t.items[2].text.empty());
    ExpectItem(t.items[3], {0, kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 113, 41, 50, 14,
                            IDOK, kButton, L"OK"});
}

TEST(Resources, PopupTemplate) {
    const Template t = LoadTemplate(IDD_INFORMATION_DLG);
    EXPECT_EQ(t.style, DWORD(WS_POPUP | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS));
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.x + t.y, 0);
    EXPECT_EQ(t.cx, 220);
    EXPECT_EQ(t.cy, 140);
    EXPECT_EQ(t.title, L"");
    EXPECT_EQ(t.points, 8);
    EXPECT_EQ(t.weight, 400);
    EXPECT_EQ(t.italic, 0);
    EXPECT_EQ(t.charset, 1);
    EXPECT_EQ(t.face, L"MS Shell Dlg");
    const DWORD edit = kChild | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
    const DWORD ownerDraw = kChild | WS_TABSTOP | BS_OWNERDRAW;
    ExpectItems(t, {
        {0, kChild | SS_ICON, 14, 9, 20, 20, -1, kStatic, L"#219"},
        {0, kChild | WS_GROUP | SS_LEFT | SS_CENTERIMAGE, 43, 9, 151, 20, IDC_STATIC_HEADING, kStatic, L""},
        {0, edit, 14, 51, 192, 56, IDC_EDIT_INFO, kEdit, L""},
        {0, edit, 14, 33, 192, 17, IDC_EDIT_TITLE, kEdit, L""},
        {WS_EX_STATICEDGE, kChild | SS_BLACKFRAME, 14, 114, 192, 1, IDC_STATIC_LINE, kStatic, L""},
        {0, kChild | WS_GROUP | SS_LEFT, 17, 118, 33, 8, IDC_STATIC_LINK, kStatic, L""},
        {0, ownerDraw, 197, 9, 16, 14, IDC_BUTTON_CLOSE, kButton, L""},
        {0, ownerDraw, 150, 117, 14, 14, IDC_BUTTON_PRE, kButton, L""},
        {0, ownerDraw, 166, 117, 14, 14, IDC_BUTTON_NE, kButton, L""},
        {0, kChild | WS_GROUP | SS_CENTER | SS_CENTERIMAGE, 180, 115, 21, 14, IDC_STATIC_PAGE, kStatic, L"5/5"},
    });
}

TEST(Resources, AboutString) {
    wchar_t text[64]{};
    ASSERT_GT(::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, text, 64), 0);
    EXPECT_STREQ(text, L"&About Korvanel...");
}

struct ImageCase {
    UINT id;
    UINT type;  // IMAGE_BITMAP, IMAGE_ICON or IMAGE_CURSOR
    int width, height, bitsPerPixel;
};

void PrintTo(const ImageCase& c, std::ostream* os) { *os << "resource " << c.id; }

class ResourceImages : public ::testing::TestWithParam<ImageCase> {};

TEST_P(ResourceImages, LoadWithTheirSize) {
    const ImageCase c = GetParam();
    HANDLE image = ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.id), c.type,
                                c.type == IMAGE_BITMAP ? 0 : c.width,
                                c.type == IMAGE_BITMAP ? 0 : c.height, LR_CREATEDIBSECTION);
    ASSERT_NE(image, nullptr);
    HBITMAP bitmap = static_cast<HBITMAP>(image);
    ICONINFO info{};
    if (c.type != IMAGE_BITMAP) {
        ASSERT_TRUE(::GetIconInfo(static_cast<HICON>(image), &info));
        bitmap = info.hbmColor ? info.hbmColor : info.hbmMask;
    }
    BITMAP bits{};
    ASSERT_TRUE(::GetObjectW(bitmap, sizeof bits, &bits));
    EXPECT_EQ(bits.bmWidth, c.width);
    if (c.type == IMAGE_BITMAP) {
        EXPECT_EQ(bits.bmHeight, c.height);
        EXPECT_EQ(bits.bmBitsPixel, c.bitsPerPixel);
        ::DeleteObject(bitmap);
    } else {
        if (c.type == IMAGE_CURSOR) {
            EXPECT_EQ(info.xHotspot, 12u);
            EXPECT_EQ(info.yHotspot, 4u);
        }
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        c.type == IMAGE_ICON ? ::DestroyIcon(static_cast<HICON>(image))
                             : ::DestroyCursor(static_cast<HCURSOR>(image));
    }
}

INSTANTIATE_TEST_SUITE_P(All, ResourceImages,
                         ::testing::Values(ImageCase{IDR_MAINFRAME, IMAGE_ICON, 32, 32, 32},
                                           ImageCase{IDI_ALERT, IMAGE_ICON, 48, 48, 32},
                                           ImageCase{IDB_CLOSE, IMAGE_BITMAP, 24, 24, 24},
                                           ImageCase{IDB_CLOSE_SEL, IMAGE_BITMAP, 24, 24, 24},
                                           ImageCase{IDB_PRE, IMAGE_BITMAP, 16, 16, 24},
                                           ImageCase{IDB_PRE_SEL, IMAGE_BITMAP, 16, 16, 24},
                                           ImageCase{IDB_NE, IMAGE_BITMAP, 16, 16, 24},
                                           ImageCase{IDB_NE_SEL, IMAGE_BITMAP, 16, 16, 24},
                                           ImageCase{IDC_CURSOR_LINK, IMAGE_CURSOR, 32, 32, 8}),
                         [](const auto& info) { return "Id" + std::to_string(info.param.id); });

TEST(Resources, AlertIconHasAnAlphaChannel) {
    HRSRC group = ::FindResourceW(nullptr, MAKEINTRESOURCEW(IDI_ALERT), MAKEINTRESOURCEW(14));
    ASSERT_NE(group, nullptr);
    auto* dir = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, group)));
    const int iconId = ::LookupIconIdFromDirectoryEx(const_cast<BYTE*>(dir), TRUE, 48, 48, 0);
    HRSRC icon = ::FindResourceW(nullptr, MAKEINTRESOURCEW(iconId), MAKEINTRESOURCEW(3));
    ASSERT_NE(icon, nullptr);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(nullptr, icon)));
    EXPECT_EQ(header->biWidth, 48);
    EXPECT_EQ(header->biBitCount, 32);
}

TEST(Resources, ManifestAsksForInvokerAndCommonControls6) {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(nullptr, found))),
                               ::SizeofResource(nullptr, found));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    // The loader honours it: version 6 comes from the side-by-side store.
    HMODULE comctl = ::LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    wchar_t path[MAX_PATH]{};
    ::GetModuleFileNameW(comctl, path, MAX_PATH);
    EXPECT_NE(std::wstring(path).find(L"winsxs"), std::wstring::npos) << path;
}

}  // namespace
