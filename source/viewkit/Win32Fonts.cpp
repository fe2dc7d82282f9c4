#include "viewkit/Win32Fonts.h"
#include "viewkit/PlatformWindow.h"

#include <windows.h>

#include <cstring>

namespace viewkit {

namespace {

constexpr const char* kPrivateSansFamily = "Liberation Sans";

HANDLE privateSans = nullptr;

HMODULE thisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

} // namespace

void loadPrivateFonts()
{
    if (privateSans) return;
    HMODULE module = thisModule();
    HRSRC info = FindResourceW(module, L"VEXBIT_SANS_FONT", MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!info) return;
    HGLOBAL loaded = LoadResource(module, info);
    const DWORD size = SizeofResource(module, info);
    void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size == 0) return;
    DWORD faces = 0;
    privateSans = AddFontMemResourceEx(data, size, nullptr, &faces);
}

void releasePrivateFonts()
{
    if (privateSans && RemoveFontMemResourceEx(privateSans)) privateSans = nullptr;
}

// Windows knows Arial only where it is installed; the editor's texts are laid
// out for the face Linux draws for it, which the module carries.
const char* platformFontFamily(const char* family)
{
    if (privateSans && (std::strcmp(family, "Arial") == 0 || std::strcmp(family, "sans-serif") == 0))
        return kPrivateSansFamily;
    return family;
}

} // namespace viewkit
