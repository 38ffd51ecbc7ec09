#include "settings/win32/registry_store_win.h"

#include <windows.h>

#include <limits>
#include <utility>

#include "base/win32/unique_handle.h"

namespace orvalet::win32 {

namespace {

class CurrentUserKey final : public RegistryKey {
public:
    explicit CurrentUserKey(UniqueKey key) : key_(std::move(key)) {}

    bool HasValue(std::wstring_view name) override {
        const std::wstring valueName(name);
        return ::RegQueryValueExW(key_.get(), valueName.c_str(), nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
    }

    std::optional<RegistryValue> ReadValue(std::wstring_view name) override {
        const std::wstring valueName(name);
        // The value can grow between asking for its size and reading it;
        // try again a few times rather than return a truncated copy.
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD type = REG_NONE;
            DWORD size = 0;
            if (::RegQueryValueExW(key_.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
                return std::nullopt;
            }
            RegistryValue value{static_cast<RegistryValueKind>(type), std::vector<std::uint8_t>(size)};
            const LONG status =
                ::RegQueryValueExW(key_.get(), valueName.c_str(), nullptr, &type, value.data.data(), &size);
            if (status == ERROR_MORE_DATA) continue;
            if (status != ERROR_SUCCESS) return std::nullopt;
            value.kind = static_cast<RegistryValueKind>(type);
            value.data.resize(size);
            return value;
        }
        return std::nullopt;
    }

    bool WriteValue(std::wstring_view name, const RegistryValue& value) override {
        if (value.data.size() > std::numeric_limits<DWORD>::max()) return false;
        const std::wstring valueName(name);
        return ::RegSetValueExW(key_.get(), valueName.c_str(), 0, static_cast<DWORD>(value.kind),
                                value.data.data(), static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
    }

    bool DeleteValue(std::wstring_view name) override {
        const std::wstring valueName(name);
        return ::RegDeleteValueW(key_.get(), valueName.c_str()) == ERROR_SUCCESS;
    }

private:
    UniqueKey key_;
};

}  // namespace

CurrentUserRegistryStore::CurrentUserRegistryStore(std::wstring root) : root_(std::move(root)) {}

std::unique_ptr<RegistryKey> CurrentUserRegistryStore::OpenKey(std::wstring_view path, KeyAccess access) {
    const std::wstring fullPath = FullPath(path);
    UniqueKey key;
    LONG status = ERROR_SUCCESS;
    switch (access) {
    case KeyAccess::Read:
        status = ::RegOpenKeyExW(HKEY_CURRENT_USER, fullPath.c_str(), 0, KEY_READ, key.put());
        break;
    case KeyAccess::ReadWrite:
        status = ::RegOpenKeyExW(HKEY_CURRENT_USER, fullPath.c_str(), 0, KEY_READ | KEY_WRITE, key.put());
        break;
    case KeyAccess::Create:
        status = ::RegCreateKeyExW(HKEY_CURRENT_USER, fullPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr);
        break;
    }
    if (status != ERROR_SUCCESS) {
        key.release();  // whatever a failed call left there is not a handle to close
        return nullptr;
    }
    return std::make_unique<CurrentUserKey>(std::move(key));
}

std::wstring CurrentUserRegistryStore::FullPath(std::wstring_view path) const {
    if (root_.empty()) return std::wstring(path);
    return root_ + L'\\' + std::wstring(path);
}

}  // namespace orvalet::win32
