#pragma once
// An in-memory registry with the real one's rules: key paths and value names
// are case-insensitive, creating a key creates its missing parents, writing
// needs a key opened for writing, and values keep whatever type they were
// given. Besides, it can refuse access to a key, counts open handles and
// records every write, so tests can check how the settings unit uses it.
#include <algorithm>
#include <cstddef>
#include <cwctype>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/registry_store.h"

namespace orvalet::testing {

class MemoryRegistryStore final : public RegistryStore {
public:
    std::unique_ptr<RegistryKey> OpenKey(std::wstring_view path, KeyAccess access) override {
        const std::wstring folded = Fold(path);
        if (std::find(deniedKeys_.begin(), deniedKeys_.end(), folded) != deniedKeys_.end()) return nullptr;
        if (access == KeyAccess::Create) {
            CreateKey(path);
        } else if (!FindKey(path)) {
            return nullptr;
        }
        return std::make_unique<Key>(*this, folded, access != KeyAccess::Read);
    }

    bool KeyExists(std::wstring_view path) const { return FindKey(path) != nullptr; }

    // Value names in the order they were first written.
    std::vector<std::wstring> ValueNames(std::wstring_view path) const {
        std::vector<std::wstring> names;
        if (const KeyData* key = FindKey(path)) {
            for (const StoredValue& stored : key->values) names.push_back(stored.name);
        }
        return names;
    }

    std::optional<RegistryValue> Value(std::wstring_view path, std::wstring_view name) const {
        const KeyData* key = FindKey(path);
        if (!key) return std::nullopt;
        const StoredValue* stored = key->Find(name);
        if (!stored) return std::nullopt;
        return stored->value;
    }

    // Stores a value directly (creating the key), whatever its type.
    void SetValue(std::wstring_view path, std::wstring_view name, RegistryValue value) {
        CreateKey(path).Put(name, std::move(value));
    }

    // Makes every later OpenKey of this key fail, as for a key the user may
    // not access.
    void DenyAccess(std::wstring_view path) { deniedKeys_.push_back(Fold(path)); }

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
    static std::wstring Fold(std::wstring_view text) {
        std::wstring folded(text);
        for (wchar_t& ch : folded) ch = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(ch)));
        return folded;
    }

    struct StoredValue {
        std::wstring name;    // as first written
        std::wstring folded;  // for lookups
        RegistryValue value;
    };

    struct KeyData {
        std::wstring path;  // as first created, for reporting
        std::vector<StoredValue> values;

        static constexpr std::size_t kNoValue = static_cast<std::size_t>(-1);

        std::size_t IndexOf(std::wstring_view name) const {
            const std::wstring folded = Fold(name);
            const auto it = std::find_if(values.begin(), values.end(),
                                         [&](const StoredValue& stored) { return stored.folded == folded; });
            return it == values.end() ? kNoValue : static_cast<std::size_t>(it - values.begin());
        }

        const StoredValue* Find(std::wstring_view name) const {
            const std::size_t index = IndexOf(name);
            return index == kNoValue ? nullptr : &values[index];
        }

        void Put(std::wstring_view name, RegistryValue value) {
            // An existing value keeps its place and the spelling of its name.
            if (const std::size_t index = IndexOf(name); index != kNoValue) {
                values[index].value = std::move(value);
            } else {
                values.push_back({std::wstring(name), Fold(name), std::move(value)});
            }
        }

        bool Remove(std::wstring_view name) {
            const std::size_t index = IndexOf(name);
            if (index == kNoValue) return false;
            values.erase(values.begin() + static_cast<std::ptrdiff_t>(index));
            return true;
        }
    };

    class Key final : public RegistryKey {
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

    KeyData* FindKey(std::wstring_view path) {
        const auto it = keys_.find(Fold(path));
        return it == keys_.end() ? nullptr : &it->second;
    }
    const KeyData* FindKey(std::wstring_view path) const {
        const auto it = keys_.find(Fold(path));
        return it == keys_.end() ? nullptr : &it->second;
    }

    // Every ancestor of the key comes into being with it.
    KeyData& CreateKey(std::wstring_view path) {
        for (std::size_t end = path.find(L'\\'); end != std::wstring_view::npos; end = path.find(L'\\', end + 1)) {
            const std::wstring_view parent = path.substr(0, end);
            keys_.try_emplace(Fold(parent), KeyData{std::wstring(parent), {}});
        }
        return keys_.try_emplace(Fold(path), KeyData{std::wstring(path), {}}).first->second;
    }

    std::map<std::wstring, KeyData> keys_;  // by folded path
    std::vector<std::wstring> deniedKeys_;  // folded paths
    std::vector<WriteRecord> writes_;
    int openHandles_ = 0;
    int deletes_ = 0;
};

}  // namespace orvalet::testing
