#include "settings/registry_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvalet {
namespace {

using ::testing::ElementsAre;

TEST(RegistryValueEncoding, DwordIsFourLittleEndianBytesAndNothingElseDecodesAsOne) {
    const RegistryValue value = MakeDwordValue(0x11223344);
    EXPECT_EQ(value.kind, RegistryValueKind::Dword);
    EXPECT_THAT(value.data, ElementsAre(0x44, 0x33, 0x22, 0x11));
    EXPECT_EQ(DecodeDword(value), 0x11223344u);
    EXPECT_EQ(DecodeDword(MakeDwordValue(0xFFFFFFFF)), 0xFFFFFFFFu);

    EXPECT_FALSE(DecodeDword({RegistryValueKind::Dword, {1, 2}})) << "truncated";
    EXPECT_FALSE(DecodeDword({RegistryValueKind::Dword, {}})) << "empty";
    EXPECT_FALSE(DecodeDword({RegistryValueKind::Qword, {1, 0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_FALSE(DecodeDword({RegistryValueKind::Binary, {1, 0, 0, 0}}));
    EXPECT_FALSE(DecodeDword(MakeStringValue(L"1")));
}

TEST(RegistryValueEncoding, StringIsNullTerminatedUtf16LittleEndian) {
    const RegistryValue value = MakeStringValue(L"Ab");
    EXPECT_EQ(value.kind, RegistryValueKind::String);
    EXPECT_THAT(value.data, ElementsAre('A', 0, 'b', 0, 0, 0));
    EXPECT_EQ(DecodeString(value), L"Ab");
    EXPECT_EQ(DecodeString(MakeStringValue(L"")), L"");
}

TEST(RegistryValueEncoding, StringOutsideTheBasicPlaneSurvivesTheRoundTrip) {
    // U+1D11E is a surrogate pair in UTF-16: four bytes plus the terminator.
    const std::wstring text = L"x\U0001D11E\u00E9";
    const RegistryValue value = MakeStringValue(text);
    EXPECT_EQ(value.data.size(), (1 + 2 + 1 + 1) * 2u);
    EXPECT_EQ(DecodeString(value), text);
}

TEST(RegistryValueEncoding, StringDecodingToleratesMissingTerminatorAndStopsAtFirstNull) {
    EXPECT_EQ(DecodeString({RegistryValueKind::String, {'h', 0, 'i', 0}}), L"hi");
    EXPECT_EQ(DecodeString({RegistryValueKind::String, {'h', 0, 0, 0, 'i', 0, 0, 0}}), L"h");
    EXPECT_EQ(DecodeString({RegistryValueKind::String, {}}), L"");
}

TEST(RegistryValueEncoding, MalformedOrForeignStringsDecodeAsNothing) {
    EXPECT_FALSE(DecodeString({RegistryValueKind::String, {'h', 0, 'i'}})) << "odd byte count";
    EXPECT_FALSE(DecodeString(MakeDwordValue(65)));
    EXPECT_FALSE(DecodeString({RegistryValueKind::ExpandString, {'h', 0, 0, 0}}));
    EXPECT_FALSE(DecodeString({RegistryValueKind::Binary, {'h', 0, 0, 0}}));
}

TEST(MemoryRegistryStore, OpeningAMissingKeyFailsUnlessCreating) {
    MemoryRegistryStore store;
    EXPECT_EQ(store.OpenKey(L"Software\\Test", KeyAccess::Read), nullptr);
    EXPECT_EQ(store.OpenKey(L"Software\\Test", KeyAccess::ReadWrite), nullptr);
    EXPECT_FALSE(store.KeyExists(L"Software\\Test"));

    EXPECT_NE(store.OpenKey(L"Software\\Test\\Deep", KeyAccess::Create), nullptr);
    EXPECT_TRUE(store.KeyExists(L"Software"));
    EXPECT_TRUE(store.KeyExists(L"Software\\Test"));
    EXPECT_TRUE(store.KeyExists(L"Software\\Test\\Deep"));
    EXPECT_TRUE(store.ValueNames(L"Software\\Test\\Deep").empty());
}

TEST(MemoryRegistryStore, KeyPathsAndValueNamesIgnoreCase) {
    MemoryRegistryStore store;
    store.SetValue(L"Software\\Test", L"Width", MakeDwordValue(7));

    const auto key = store.OpenKey(L"SOFTWARE\\test", KeyAccess::ReadWrite);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->HasValue(L"width"));
    EXPECT_TRUE(key->WriteValue(L"WIDTH", MakeDwordValue(9)));
    EXPECT_THAT(store.ValueNames(L"Software\\Test"), ElementsAre(L"Width")) << "overwritten, not added";
    EXPECT_EQ(store.Value(L"software\\TEST", L"width"), MakeDwordValue(9));
}

TEST(MemoryRegistryStore, ReadOnlyKeysRefuseWritesAndDeletes) {
    MemoryRegistryStore store;
    store.SetValue(L"K", L"V", MakeDwordValue(1));
    const auto key = store.OpenKey(L"K", KeyAccess::Read);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadValue(L"V"), MakeDwordValue(1));
    EXPECT_FALSE(key->WriteValue(L"V", MakeDwordValue(2)));
    EXPECT_FALSE(key->DeleteValue(L"V"));
    EXPECT_EQ(store.Value(L"K", L"V"), MakeDwordValue(1));
    EXPECT_TRUE(store.Writes().empty());
}

TEST(MemoryRegistryStore, DeniedKeysCannotBeOpenedAtAll) {
    MemoryRegistryStore store;
    store.SetValue(L"Software\\Locked", L"V", MakeDwordValue(1));
    store.DenyAccess(L"software\\locked");
    EXPECT_EQ(store.OpenKey(L"Software\\Locked", KeyAccess::Read), nullptr);
    EXPECT_EQ(store.OpenKey(L"Software\\Locked", KeyAccess::Create), nullptr);
    EXPECT_NE(store.OpenKey(L"Software", KeyAccess::Read), nullptr);
}

TEST(MemoryRegistryStore, TracksOpenHandlesWritesAndDeletes) {
    MemoryRegistryStore store;
    {
        const auto first = store.OpenKey(L"K", KeyAccess::Create);
        const auto second = store.OpenKey(L"K", KeyAccess::Read);
        EXPECT_EQ(store.OpenHandleCount(), 2);
        first->WriteValue(L"A", MakeDwordValue(1));
        first->WriteValue(L"B", MakeStringValue(L"b"));
        EXPECT_TRUE(first->DeleteValue(L"A"));
        EXPECT_FALSE(first->DeleteValue(L"A")) << "already gone";
    }
    EXPECT_EQ(store.OpenHandleCount(), 0);
    ASSERT_EQ(store.Writes().size(), 2u);
    EXPECT_EQ(store.Writes()[0].name, L"A");
    EXPECT_EQ(store.Writes()[1].value, MakeStringValue(L"b"));
    EXPECT_EQ(store.DeleteCount(), 1);
    EXPECT_THAT(store.ValueNames(L"K"), ElementsAre(L"B"));
}

}  // namespace
}  // namespace orvalet
