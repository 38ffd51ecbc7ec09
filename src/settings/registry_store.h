#pragma once
// The per-user registry as the settings unit sees it: keys under
// HKEY_CURRENT_USER, opened for one access and closed again, holding typed
// values. The Windows build backs it with the real registry
// (settings/win32/registry_store_win.h), the tests with one in memory
// (tests/support/memory_registry_store.h).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalet {

// Value types, numbered like the registry's REG_* constants so a stored type
// that the settings unit never writes (REG_BINARY, REG_QWORD, ...) passes
// through unchanged and can be recognised as foreign.
enum class RegistryValueKind : std::uint32_t {
    None = 0,
    String = 1,        // REG_SZ
    ExpandString = 2,  // REG_EXPAND_SZ
    Binary = 3,        // REG_BINARY
    Dword = 4,         // REG_DWORD (little-endian)
    MultiString = 7,   // REG_MULTI_SZ
    Qword = 11,        // REG_QWORD
};

// A value as the registry holds it: its type and its raw bytes.
struct RegistryValue {
    RegistryValueKind kind = RegistryValueKind::None;
    std::vector<std::uint8_t> data;

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

RegistryValue MakeDwordValue(std::uint32_t value);
// REG_SZ as UTF-16LE with its terminating null.
RegistryValue MakeStringValue(std::wstring_view text);

// The number of a REG_DWORD of exactly four bytes; anything else is not one.
std::optional<std::uint32_t> DecodeDword(const RegistryValue& value);
// The text of a REG_SZ up to its first null (a missing terminator is
// tolerated); nothing for another type or an odd number of bytes.
std::optional<std::wstring> DecodeString(const RegistryValue& value);

enum class KeyAccess {
    Read,       // open an existing key for reading
    ReadWrite,  // open an existing key for reading and writing
    Create,     // open for reading and writing, creating the key (and its parents) if missing
};

// An open key; destroying it closes it.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    virtual bool HasValue(std::wstring_view name) = 0;
    // Nothing when the value is absent or cannot be read.
    virtual std::optional<RegistryValue> ReadValue(std::wstring_view name) = 0;
    virtual bool WriteValue(std::wstring_view name, const RegistryValue& value) = 0;
    virtual bool DeleteValue(std::wstring_view name) = 0;
};

class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    // Opens a key given by its path under HKEY_CURRENT_USER ("Software\\Orvalet");
    // null when it does not exist (and may not be created) or is not accessible.
    virtual std::unique_ptr<RegistryKey> OpenKey(std::wstring_view path, KeyAccess access) = 0;
};

}  // namespace orvalet
