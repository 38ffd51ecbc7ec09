#pragma once
// The registry store on the real HKEY_CURRENT_USER registry.
#include <memory>
#include <string>
#include <string_view>

#include "settings/registry_store.h"

namespace orvalet::win32 {

class CurrentUserRegistryStore final : public RegistryStore {
public:
    // Key paths are taken relative to HKEY_CURRENT_USER, or, when a root is
    // given, relative to that key beneath it; tests use a root of their own
    // so they cannot disturb the settings of a real installation.
    explicit CurrentUserRegistryStore(std::wstring root = {});

    std::unique_ptr<RegistryKey> OpenKey(std::wstring_view path, KeyAccess access) override;

private:
    std::wstring FullPath(std::wstring_view path) const;

    std::wstring root_;
};

}  // namespace orvalet::win32
