// Ownership of GDI objects and device contexts.
#include "framework/gdi.hpp"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool Alive(HGDIOBJ object) { return ::GetObjectType(object) != 0; }

TEST(FrameworkGdi, AnOwnedObjectIsDeletedOnceByItsLastOwner) {
    HBRUSH handle = nullptr;
    {
        CBrush first;
        ASSERT_TRUE(first.CreateSolidBrush(RGB(1, 2, 3)));
        handle = first.get();
        CBrush second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), handle);
        CBrush third;
        third = std::move(second);
        EXPECT_TRUE(Alive(handle));
    }
    EXPECT_FALSE(Alive(handle));
}

TEST(FrameworkGdi, RecreatingReleasesThePreviousObject) {
    CPen pen;
    ASSERT_TRUE(pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    HPEN old = pen.get();
    ASSERT_TRUE(pen.CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));
    EXPECT_FALSE(Alive(old));
    HPEN detached = pen.Detach();
    EXPECT_FALSE(pen);
    EXPECT_TRUE(Alive(detached));
    ::DeleteObject(detached);
}

TEST(FrameworkGdi, ScopedSelectPutsBackThePreviousObject) {
    CMemDC dc(nullptr);
    CFont font;
    ASSERT_TRUE(font.CreateFont(20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    HGDIOBJ before = ::GetCurrentObject(dc.get(), OBJ_FONT);
    {
        auto selected = dc.SelectObject(font.get());
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), font.get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), before);
}

TEST(FrameworkGdi, OwnedDcsAreReleasedAndBorrowedOnesAreNot) {
    HDC memory = nullptr;
    {
        CMemDC dc(nullptr);
        memory = dc.get();
        CDC borrowed = dc;  // a view
        (void)borrowed;
        CMemDC moved(std::move(dc));
        EXPECT_EQ(dc.get(), nullptr);
        EXPECT_EQ(::GetObjectType(memory), static_cast<DWORD>(OBJ_MEMDC));
    }
    EXPECT_EQ(::GetObjectType(memory), 0u);
}

TEST(FrameworkGdi, BitmapSizeComesFromTheBitmap) {
    CBitmap bitmap(::CreateBitmap(7, 5, 1, 1, nullptr));
    EXPECT_EQ(bitmap.GetSize().cx, 7);
    EXPECT_EQ(bitmap.GetSize().cy, 5);
    EXPECT_EQ(CBitmap().GetSize().cx, 0);
}

}  // namespace
