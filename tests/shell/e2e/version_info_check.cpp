// version_info_check ORVALET_EXE VERSION: reads the exe's version resource
// through version.dll, loaded from the system directory, and the version in
// its manifest, and checks them against what Orvalet's releases carry and
// the project version VERSION (a.b.c.d). Prints every mismatch; exit code 0
// when there is none.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/win32/system_function_win.h"
#include "base/win32/unique_handle.h"

namespace {

using orvalet::win32::OnDemandSystemFunction;
using UniqueLibrary = orvalet::win32::UniqueHandle<HMODULE, &::FreeLibrary>;

int mismatches = 0;

void Expect(const wchar_t* field, const std::wstring& found, const std::wstring& expected) {
    if (found == expected) return;
    std::printf("%ls: found '%ls', expected '%ls'\n", field, found.c_str(), expected.c_str());
    ++mismatches;
}

std::vector<BYTE> VersionResource(const wchar_t* exe) {
    using GetSizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using GetInfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    static const auto getSize = OnDemandSystemFunction<GetSizeFn>(L"version.dll", "GetFileVersionInfoSizeW");
    static const auto getInfo = OnDemandSystemFunction<GetInfoFn>(L"version.dll", "GetFileVersionInfoW");
    DWORD unused = 0;
    const DWORD size = getSize ? getSize(exe, &unused) : 0;
    std::vector<BYTE> info(size);
    if (size == 0 || !getInfo(exe, 0, size, info.data())) info.clear();
    return info;
}

// The value at a path of the version resource; null when it is missing.
const void* Query(const std::vector<BYTE>& info, const std::wstring& path) {
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    static const auto query = OnDemandSystemFunction<QueryFn>(L"version.dll", "VerQueryValueW");
    void* value = nullptr;
    UINT length = 0;
    return query && query(info.data(), path.c_str(), &value, &length) && length > 0 ? value : nullptr;
}

std::wstring Quad(DWORD high, DWORD low) {
    return std::to_wstring(HIWORD(high)) + L'.' + std::to_wstring(LOWORD(high)) + L'.' +
           std::to_wstring(HIWORD(low)) + L'.' + std::to_wstring(LOWORD(low));
}

void CheckVersionResource(const wchar_t* exe, const std::wstring& version) {
    const std::vector<BYTE> info = VersionResource(exe);
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(info.empty() ? nullptr : Query(info, L"\\"));
    if (!fixed) {
        Expect(L"version resource", L"none", L"present");
        return;
    }
    Expect(L"fixed file version", Quad(fixed->dwFileVersionMS, fixed->dwFileVersionLS), version);
    Expect(L"fixed product version", Quad(fixed->dwProductVersionMS, fixed->dwProductVersionLS), version);

    // The strings are read in the language the resource names first:
    // U.S. English, Unicode.
    const auto* language = static_cast<const WORD*>(Query(info, L"\\VarFileInfo\\Translation"));
    wchar_t block[9] = L"none";
    if (language) std::swprintf(block, 9, L"%04x%04x", language[0], language[1]);
    Expect(L"language and code page", block, L"040904b0");
    const std::pair<const wchar_t*, std::wstring> strings[] = {
        {L"ProductName", L"Orvalet"},
        {L"FileDescription", L"Orvalet network traffic meter"},
        {L"CompanyName", L"the Orvalet developers"},
        {L"LegalCopyright", L"Copyright (c) 2026 the Orvalet developers"},
        {L"OriginalFilename", L"Orvalet.exe"},
        {L"FileVersion", version},
        {L"ProductVersion", version},
    };
    for (const auto& [name, expected] : strings) {
        const auto* value =
            static_cast<const wchar_t*>(Query(info, std::wstring(L"\\StringFileInfo\\") + block + L'\\' + name));
        Expect(name, value ? value : L"(missing)", expected);
    }
}

// The manifest names the program's assembly with the same version.
void CheckManifest(const wchar_t* exe, const std::wstring& version) {
    const UniqueLibrary image(::LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    const HRSRC found = image ? ::FindResourceW(image.get(), MAKEINTRESOURCEW(1), RT_MANIFEST) : nullptr;
    const HGLOBAL loaded = found ? ::LoadResource(image.get(), found) : nullptr;
    const auto* text = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    const std::string manifest = text ? std::string(text, ::SizeofResource(image.get(), found)) : std::string();
    const std::string identity =
        "name=\"Orvalet\" version=\"" + std::string(version.begin(), version.end()) + "\"";
    Expect(L"manifest's assembly identity", manifest.find(identity) == std::string::npos ? L"other" : version, version);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    CheckVersionResource(argv[1], argv[2]);
    CheckManifest(argv[1], argv[2]);
    if (mismatches == 0) std::printf("The version resource and the manifest carry version %ls.\n", argv[2]);
    return mismatches == 0 ? 0 : 1;
}
