#include "base/win32/unique_handle.h"

#include <gtest/gtest.h>

#include <utility>

namespace orvalet::win32 {
namespace {

DWORD GdiObjectCount() { return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); }

TEST(UniqueHandle, MoveTransfersOwnershipAndResetFrees) {
    UniqueBitmap first(::CreateBitmap(4, 4, 1, 32, nullptr));
    ASSERT_TRUE(first);
    const HBITMAP raw = first.get();

    UniqueBitmap second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), raw);

    second.reset();
    EXPECT_FALSE(second);
    // A deleted bitmap no longer answers GetObject.
    BITMAP info{};
    EXPECT_EQ(::GetObjectW(raw, sizeof info, &info), 0);
}

TEST(UniqueHandle, ManyOwnersLeaveNoGdiObjectBehind) {
    const DWORD before = GdiObjectCount();
    for (int i = 0; i < 1000; ++i) {
        UniqueBitmap bitmap(::CreateBitmap(16, 16, 1, 32, nullptr));
        UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
        auto selected = Select(dc.get(), bitmap.get());
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(SelectionGuard, PutsThePreviousObjectBack) {
    UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    UniqueBitmap bitmap(::CreateBitmap(8, 8, 1, 32, nullptr));
    const HGDIOBJ original = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
    {
        auto selected = Select(dc.get(), bitmap.get());
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), original);
}

}  // namespace
}  // namespace orvalet::win32
