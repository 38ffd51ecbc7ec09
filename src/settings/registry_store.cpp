#include "settings/registry_store.h"

#include <algorithm>
#include <cwctype>
#include <utility>

namespace orvalet {

namespace {

// Registry strings are UTF-16 on every platform; wchar_t is UTF-16 on
// Windows and UTF-32 elsewhere, so code points above the BMP become
// surrogate pairs on the way in and are joined again on the way out.
void AppendUtf16(std::vector<std::uint16_t>& units, wchar_t ch) {
    const auto code = static_cast<std::uint32_t>(ch);
    if constexpr (sizeof(wchar_t) > 2) {
        if (code > 0xFFFF && code <= 0x10FFFF) {
            const std::uint32_t offset = code - 0x10000;
            units.push_back(static_cast<std::uint16_t>(0xD800 + (offset >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 + (offset & 0x3FF)));
            return;
        }
    }
    units.push_back(static_cast<std::uint16_t>(code));
}

std::wstring FromUtf16(const std::vector<std::uint16_t>& units) {
    std::wstring text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint32_t unit = units[i];
        if constexpr (sizeof(wchar_t) > 2) {
            const bool high = unit >= 0xD800 && unit <= 0xDBFF;
            if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
                const std::uint32_t low = units[++i];
                text.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                continue;
            }
        }
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

std::wstring Fold(std::wstring_view text) {
    std::wstring folded(text);
    for (wchar_t& ch : folded) ch = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(ch)));
    return folded;
}

}  // namespace

RegistryValue MakeDwordValue(std::uint32_t value) {
    return {RegistryValueKind::Dword,
            {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}};
}

RegistryValue MakeStringValue(std::wstring_view text) {
    std::vector<std::uint16_t> units;
    units.reserve(text.size() + 1);
    for (wchar_t ch : text) AppendUtf16(units, ch);
    units.push_back(0);

    RegistryValue value{RegistryValueKind::String, {}};
    value.data.reserve(units.size() * 2);
    for (std::uint16_t unit : units) {
        value.data.push_back(static_cast<std::uint8_t>(unit));
        value.data.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return value;
}

std::optional<std::uint32_t> DecodeDword(const RegistryValue& value) {
    if (value.kind != RegistryValueKind::Dword || value.data.size() != 4) return std::nullopt;
    const auto& d = value.data;
    return static_cast<std::uint32_t>(d[0]) | static_cast<std::uint32_t>(d[1]) << 8 |
           static_cast<std::uint32_t>(d[2]) << 16 | static_cast<std::uint32_t>(d[3]) << 24;
}

std::optional<std::wstring> DecodeString(const RegistryValue& value) {
    if (value.kind != RegistryValueKind::String || value.data.size() % 2 != 0) return std::nullopt;
    std::vector<std::uint16_t> units;
    units.reserve(value.data.size() / 2);
    for (std::size_t i = 0; i < value.data.size(); i += 2) {
        const auto unit = static_cast<std::uint16_t>(value.data[i] | value.data[i + 1] << 8);
        if (unit == 0) break;
        units.push_back(unit);
    }
    return FromUtf16(units);
}

// --- MemoryRegistryStore ---------------------------------------------------

class MemoryRegistryStore::Key final : public RegistryKey {
public:
    Key(MemoryRegistryStore& store, std::wstring foldedPath, bool writable)
        : store_(store), path_(std::move(foldedPath)), writable_(writable) {
        ++store_.openHandles_;
    }
    ~Key() override { --store_.openHandles_; }

    bool HasValue(std::wstring_view name) override { return ReadValue(name).has_value(); }

    std::optional<RegistryValue> ReadValue(std::wstring_view name) override {
        return std::as_const(store_).Value(path_, name);
    }

    bool WriteValue(std::wstring_view name, const RegistryValue& value) override {
        KeyData* key = store_.FindKey(path_);
        if (!writable_ || !key) return false;
        store_.writes_.push_back({key->path, std::wstring(name), value});
        key->Put(name, value);
        return true;
    }

    bool DeleteValue(std::wstring_view name) override {
        KeyData* key = store_.FindKey(path_);
        if (!writable_ || !key) return false;
        if (!key->Remove(name)) return false;
        ++store_.deletes_;
        return true;
    }

private:
    MemoryRegistryStore& store_;
    std::wstring path_;
    bool writable_;
};

MemoryRegistryStore::MemoryRegistryStore() = default;
MemoryRegistryStore::~MemoryRegistryStore() = default;

std::unique_ptr<RegistryKey> MemoryRegistryStore::OpenKey(std::wstring_view path, KeyAccess access) {
    const std::wstring folded = Fold(path);
    if (std::find(deniedKeys_.begin(), deniedKeys_.end(), folded) != deniedKeys_.end()) return nullptr;
    if (access == KeyAccess::Create) {
        CreateKey(path);
    } else if (!FindKey(path)) {
        return nullptr;
    }
    return std::make_unique<Key>(*this, folded, access != KeyAccess::Read);
}

bool MemoryRegistryStore::KeyExists(std::wstring_view path) const { return FindKey(path) != nullptr; }

std::vector<std::wstring> MemoryRegistryStore::ValueNames(std::wstring_view path) const {
    std::vector<std::wstring> names;
    if (const KeyData* key = FindKey(path)) {
        for (const StoredValue& stored : key->values) names.push_back(stored.name);
    }
    return names;
}

std::optional<RegistryValue> MemoryRegistryStore::Value(std::wstring_view path, std::wstring_view name) const {
    const KeyData* key = FindKey(path);
    if (!key) return std::nullopt;
    const StoredValue* stored = key->Find(name);
    if (!stored) return std::nullopt;
    return stored->value;
}

void MemoryRegistryStore::SetValue(std::wstring_view path, std::wstring_view name, RegistryValue value) {
    CreateKey(path).Put(name, std::move(value));
}

void MemoryRegistryStore::DenyAccess(std::wstring_view path) { deniedKeys_.push_back(Fold(path)); }

std::size_t MemoryRegistryStore::KeyData::IndexOf(std::wstring_view name) const {
    const std::wstring folded = Fold(name);
    const auto it = std::find_if(values.begin(), values.end(),
                                 [&](const StoredValue& stored) { return stored.folded == folded; });
    return it == values.end() ? kNoValue : static_cast<std::size_t>(it - values.begin());
}

const MemoryRegistryStore::StoredValue* MemoryRegistryStore::KeyData::Find(std::wstring_view name) const {
    const std::size_t index = IndexOf(name);
    return index == kNoValue ? nullptr : &values[index];
}

void MemoryRegistryStore::KeyData::Put(std::wstring_view name, RegistryValue value) {
    // An existing value keeps its place and the spelling of its name.
    if (const std::size_t index = IndexOf(name); index != kNoValue) {
        values[index].value = std::move(value);
    } else {
        values.push_back({std::wstring(name), Fold(name), std::move(value)});
    }
}

bool MemoryRegistryStore::KeyData::Remove(std::wstring_view name) {
    const std::size_t index = IndexOf(name);
    if (index == kNoValue) return false;
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

MemoryRegistryStore::KeyData* MemoryRegistryStore::FindKey(std::wstring_view path) {
    const auto it = keys_.find(Fold(path));
    return it == keys_.end() ? nullptr : &it->second;
}

const MemoryRegistryStore::KeyData* MemoryRegistryStore::FindKey(std::wstring_view path) const {
    const auto it = keys_.find(Fold(path));
    return it == keys_.end() ? nullptr : &it->second;
}

MemoryRegistryStore::KeyData& MemoryRegistryStore::CreateKey(std::wstring_view path) {
    // Every ancestor of the key comes into being with it.
    for (std::size_t end = path.find(L'\\'); end != std::wstring_view::npos; end = path.find(L'\\', end + 1)) {
        const std::wstring_view parent = path.substr(0, end);
        keys_.try_emplace(Fold(parent), KeyData{std::wstring(parent), {}});
    }
    return keys_.try_emplace(Fold(path), KeyData{std::wstring(path), {}}).first->second;
}

}  // namespace orvalet
