#pragma once
// The per-user registry as the settings unit sees it: keys under
// HKEY_CURRENT_USER, opened for one access and closed again, holding typed
// values. The Windows build backs it with the real registry
// (settings/win32/registry_store_win.h); MemoryRegistryStore keeps the same
// rules in memory for the unit tests.
#include <cstdint>
#include <map>
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

// An in-memory registry with the real one's rules: key paths and value names
// are case-insensitive, creating a key creates its missing parents, writing
// needs a key opened for writing, and values keep whatever type they were
// given. Besides, it can refuse access to a key, counts open handles and
// records every write, so tests can check how the settings unit uses it.
class MemoryRegistryStore final : public RegistryStore {
public:
    MemoryRegistryStore();
    ~MemoryRegistryStore() override;

    std::unique_ptr<RegistryKey> OpenKey(std::wstring_view path, KeyAccess access) override;

    bool KeyExists(std::wstring_view path) const;
    // Value names in the order they were first written.
    std::vector<std::wstring> ValueNames(std::wstring_view path) const;
    std::optional<RegistryValue> Value(std::wstring_view path, std::wstring_view name) const;
    // Stores a value directly (creating the key), whatever its type.
    void SetValue(std::wstring_view path, std::wstring_view name, RegistryValue value);

    // Makes every later OpenKey of this key fail, as for a key the user may
    // not access.
    void DenyAccess(std::wstring_view path);

    int OpenHandleCount() const { return openHandles_; }

    struct WriteRecord {
        std::wstring key;
        std::wstring name;
        RegistryValue value;
    };
    const std::vector<WriteRecord>& Writes() const { return writes_; }
    void ClearWrites() { writes_.clear(); }
    int DeleteCount() const { return deletes_; }

private:
    class Key;
    struct StoredValue {
        std::wstring name;    // as first written
        std::wstring folded;  // for lookups
        RegistryValue value;
    };
    struct KeyData {
        std::wstring path;  // as first created, for reporting
        std::vector<StoredValue> values;

        static constexpr std::size_t kNoValue = static_cast<std::size_t>(-1);
        std::size_t IndexOf(std::wstring_view name) const;
        const StoredValue* Find(std::wstring_view name) const;
        void Put(std::wstring_view name, RegistryValue value);
        bool Remove(std::wstring_view name);
    };

    KeyData* FindKey(std::wstring_view path);
    const KeyData* FindKey(std::wstring_view path) const;
    KeyData& CreateKey(std::wstring_view path);

    std::map<std::wstring, KeyData> keys_;  // by folded path
    std::vector<std::wstring> deniedKeys_;  // folded paths
    std::vector<WriteRecord> writes_;
    int openHandles_ = 0;
    int deletes_ = 0;
};

}  // namespace orvalet
