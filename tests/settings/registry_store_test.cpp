#include "settings/registry_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/memory_registry_store.h"

namespace orvalet {
namespace {

using ::testing::ElementsAre;
using testing::MemoryRegistryStore;

TEST(RegistryValueEncoding, DwordsAreFourLittleEndianBytesAndStringsNullTerminatedUtf16) {
    EXPECT_EQ(MakeDwordValue(0x11223344), (RegistryValue{RegistryValueKind::Dword, {0x44, 0x33, 0x22, 0x11}}));
    EXPECT_EQ(MakeStringValue(L"Ab"), (RegistryValue{RegistryValueKind::String, {'A', 0, 'b', 0, 0, 0}}));
    for (std::uint32_t number : {0x11223344u, 0xFFFFFFFFu}) EXPECT_EQ(DecodeDword(MakeDwordValue(number)), number);
    EXPECT_EQ(DecodeString(MakeStringValue(L"")), L"");
    // U+1D11E is a surrogate pair in UTF-16: four bytes plus the terminator.
    const std::wstring text = L"x\U0001D11E\u00E9";
    EXPECT_EQ(MakeStringValue(text).data.size(), (1 + 2 + 1 + 1) * 2u);
    EXPECT_EQ(DecodeString(MakeStringValue(text)), text);
}

TEST(RegistryValueEncoding, DecodingToleratesAMissingTerminatorButNotMalformedOrForeignValues) {
    using Kind = RegistryValueKind;
    const struct {
        RegistryValue value;
        std::optional<std::uint32_t> number;
        const wchar_t* text;  // null: not a string
    } cases[] = {
        {{Kind::Dword, {1, 2}}, {}, nullptr},  // truncated
        {{Kind::Dword, {}}, {}, nullptr},
        {{Kind::Qword, {1, 0, 0, 0, 0, 0, 0, 0}}, {}, nullptr},
        {{Kind::Binary, {'h', 0, 0, 0}}, {}, nullptr},
        {{Kind::ExpandString, {'h', 0, 0, 0}}, {}, nullptr},
        {MakeStringValue(L"1"), {}, L"1"},
        {MakeDwordValue(65), 65, nullptr},
        {{Kind::String, {'h', 0, 'i', 0}}, {}, L"hi"},  // no terminator
        {{Kind::String, {'h', 0, 0, 0, 'i', 0, 0, 0}}, {}, L"h"},
        {{Kind::String, {}}, {}, L""},
        {{Kind::String, {'h', 0, 'i'}}, {}, nullptr},  // odd byte count
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(test.value.kind) << " "
                                          << ::testing::PrintToString(test.value.data));
        EXPECT_EQ(DecodeDword(test.value), test.number);
        EXPECT_EQ(DecodeString(test.value), test.text ? std::optional<std::wstring>(test.text) : std::nullopt);
    }
}

TEST(MemoryRegistryStore, OnlyCreatingOpensAMissingKeyAndADeniedKeyNeverOpens) {
    MemoryRegistryStore store;
    EXPECT_EQ(store.OpenKey(L"Software\\Test", KeyAccess::Read), nullptr);
    EXPECT_EQ(store.OpenKey(L"Software\\Test", KeyAccess::ReadWrite), nullptr);
    EXPECT_FALSE(store.KeyExists(L"Software\\Test"));

    EXPECT_NE(store.OpenKey(L"Software\\Test\\Deep", KeyAccess::Create), nullptr);
    for (const wchar_t* path : {L"Software", L"Software\\Test", L"Software\\Test\\Deep"})
        EXPECT_TRUE(store.KeyExists(path)) << ::testing::PrintToString(std::wstring(path));
    EXPECT_TRUE(store.ValueNames(L"Software\\Test\\Deep").empty());

    store.DenyAccess(L"software\\TEST");
    EXPECT_EQ(store.OpenKey(L"Software\\Test", KeyAccess::Read), nullptr);
    EXPECT_EQ(store.OpenKey(L"Software\\Test", KeyAccess::Create), nullptr);
    EXPECT_NE(store.OpenKey(L"Software", KeyAccess::Read), nullptr);
}

TEST(MemoryRegistryStore, IgnoresCaseRefusesWritesThroughReadOnlyKeysAndTracksHandlesWritesAndDeletes) {
    MemoryRegistryStore store;
    store.SetValue(L"Software\\Test", L"Width", MakeDwordValue(7));
    {
        const auto key = store.OpenKey(L"SOFTWARE\\test", KeyAccess::ReadWrite);
        const auto reader = store.OpenKey(L"Software\\Test", KeyAccess::Read);
        ASSERT_TRUE(key && reader);
        EXPECT_EQ(store.OpenHandleCount(), 2);
        EXPECT_TRUE(key->HasValue(L"width"));
        EXPECT_TRUE(key->WriteValue(L"WIDTH", MakeDwordValue(9)));
        EXPECT_TRUE(key->WriteValue(L"B", MakeStringValue(L"b")));
        EXPECT_EQ(reader->ReadValue(L"width"), MakeDwordValue(9));
        EXPECT_FALSE(reader->WriteValue(L"Width", MakeDwordValue(2)));
        EXPECT_FALSE(reader->DeleteValue(L"B"));
        EXPECT_TRUE(key->DeleteValue(L"b"));
        EXPECT_FALSE(key->DeleteValue(L"B")) << "already gone";
    }
    EXPECT_EQ(store.OpenHandleCount(), 0);
    EXPECT_THAT(store.ValueNames(L"Software\\Test"), ElementsAre(L"Width")) << "overwritten, not added";
    EXPECT_EQ(store.Value(L"software\\TEST", L"width"), MakeDwordValue(9));
    ASSERT_EQ(store.Writes().size(), 2u);
    EXPECT_EQ(store.Writes()[0].name, L"WIDTH");
    EXPECT_EQ(store.Writes()[1].value, MakeStringValue(L"b"));
    EXPECT_EQ(store.DeleteCount(), 1);
}

}  // namespace
}  // namespace orvalet
