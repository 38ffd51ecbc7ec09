// version_info_check ORVALET_EXE VERSION: reads the exe's version resource
// with GetFileVersionInfoW and VerQueryValueW (version.dll, loaded from the
// system directory) and its manifest, and checks them against Orvalet's
// texts and the project version VERSION (a.b.c.d). Prints every mismatch.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/win32/system_function_win.h"
#include "base/win32/unique_handle.h"

namespace {

template <typename Fn>
Fn VersionFunction(const char* name) {
    return orvalet::win32::OnDemandSystemFunction<Fn>(L"version.dll", name);
}

// The value at a path of the version resource: the text of a string, both
// versions of the fixed part ("\").
std::wstring Query(const std::vector<BYTE>& info, const std::wstring& path) {
    static const auto query = VersionFunction<decltype(&::VerQueryValueW)>("VerQueryValueW");
    void* value = nullptr;
    UINT length = 0;
    if (info.empty() || !query(info.data(), path.c_str(), &value, &length) || length == 0) return L"(none)";
    if (path != L"\\") return static_cast<const wchar_t*>(value);
    const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(value);
    const auto quad = [](DWORD high, DWORD low) {
        return std::to_wstring(HIWORD(high)) + L'.' + std::to_wstring(LOWORD(high)) + L'.' +
               std::to_wstring(HIWORD(low)) + L'.' + std::to_wstring(LOWORD(low));
    };
    return quad(fixed.dwFileVersionMS, fixed.dwFileVersionLS) + L' ' +
           quad(fixed.dwProductVersionMS, fixed.dwProductVersionLS);
}

bool ManifestNamesOrvaletAt(const wchar_t* exe, const std::wstring& version) {
    const orvalet::win32::UniqueHandle<HMODULE, &::FreeLibrary> image(
        ::LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    const HRSRC found = image ? ::FindResourceW(image.get(), MAKEINTRESOURCEW(1), RT_MANIFEST) : nullptr;
    const auto* text = found ? static_cast<const char*>(::LockResource(::LoadResource(image.get(), found))) : nullptr;
    const std::string identity = "name=\"Orvalet\" version=\"" + std::string(version.begin(), version.end()) + '"';
    return text && std::string(text, ::SizeofResource(image.get(), found)).find(identity) != std::string::npos;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::wstring version = argv[2];
    static const auto size = VersionFunction<decltype(&::GetFileVersionInfoSizeW)>("GetFileVersionInfoSizeW");
    static const auto read = VersionFunction<decltype(&::GetFileVersionInfoW)>("GetFileVersionInfoW");
    std::vector<BYTE> info(size(argv[1], nullptr));
    if (!info.empty() && !read(argv[1], 0, static_cast<DWORD>(info.size()), info.data())) info.clear();

    const std::wstring strings = L"\\StringFileInfo\\040904b0\\";
    const std::wstring fields[][3] = {
        {L"fixed file and product version", Query(info, L"\\"), version + L' ' + version},
        {L"ProductName", Query(info, strings + L"ProductName"), L"Orvalet"},
        {L"FileDescription", Query(info, strings + L"FileDescription"), L"Orvalet network traffic meter"},
        {L"CompanyName", Query(info, strings + L"CompanyName"), L"the Orvalet developers"},
        {L"LegalCopyright", Query(info, strings + L"LegalCopyright"), L"Copyright (c) 2026 the Orvalet developers"},
        {L"OriginalFilename", Query(info, strings + L"OriginalFilename"), L"Orvalet.exe"},
        {L"FileVersion", Query(info, strings + L"FileVersion"), version},
        {L"ProductVersion", Query(info, strings + L"ProductVersion"), version},
        {L"manifest's assembly version", ManifestNamesOrvaletAt(argv[1], version) ? version : L"other", version},
    };
    int mismatches = 0;
    for (const auto& [name, found, expected] : fields) {
        if (found == expected) continue;
        std::printf("%ls: found '%ls', expected '%ls'\n", name.c_str(), found.c_str(), expected.c_str());
        ++mismatches;
    }
    if (mismatches == 0) std::printf("The version resource and the manifest carry version %ls.\n", version.c_str());
    return mismatches == 0 ? 0 : 1;
}
