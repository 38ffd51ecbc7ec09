#include "base/win32/unique_handle.h"

#include <gtest/gtest.h>

#include <utility>

namespace orvalet::win32 {
namespace {

TEST(UniqueHandle, MoveTransfersOwnershipAndResetFreesAndEachKindCountsWhatItsOwnersHold) {
    const long bitmaps = UniqueBitmap::LiveCount();
    UniqueBitmap first(::CreateBitmap(4, 4, 1, 32, nullptr));
    ASSERT_TRUE(first);
    const HBITMAP raw = first.get();
    UniqueBitmap second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), raw);
    EXPECT_EQ(UniqueBitmap::LiveCount(), bitmaps + 1);
    first = UniqueBitmap(::CreateBitmap(4, 4, 1, 32, nullptr));
    second = std::move(first);
    EXPECT_EQ(UniqueBitmap::LiveCount(), bitmaps + 1) << "the bitmap overwritten by the move was freed";
    second.reset();
    EXPECT_FALSE(second);
    EXPECT_EQ(UniqueBitmap::LiveCount(), bitmaps);

    // A handle from an out parameter counts once the call returns, until released or closed.
    const long keys = UniqueKey::LiveCount();
    UniqueKey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
    EXPECT_EQ(UniqueKey::LiveCount(), keys + 1);
    ::RegCloseKey(key.release());
    EXPECT_EQ(UniqueKey::LiveCount(), keys);
    {
        const WindowDC screen(nullptr);
        EXPECT_EQ(WindowDC::LiveCount(), 1);
    }
    EXPECT_EQ(WindowDC::LiveCount(), 0);
    BITMAP info{};
    EXPECT_EQ(::GetObjectW(raw, sizeof info, &info), 0) << "a deleted bitmap no longer answers";
}

TEST(UniqueHandle, OwnersAndSelectionGuardsPutEverythingBackAndLeaveNoGdiObjectBehind) {
    const DWORD before = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 1000; ++i) {
        UniqueBitmap bitmap(::CreateBitmap(16, 16, 1, 32, nullptr));
        UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
        const HGDIOBJ original = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
        {
            auto selected = Select(dc.get(), bitmap.get());
            ASSERT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
        }
        ASSERT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), original);
    }
    EXPECT_EQ(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), before);
}

}  // namespace
}  // namespace orvalet::win32
