// Loading modules the way a Windows host does: LoadLibraryW, InitDll, ExitDll,
// FreeLibrary.
#include "host/DynamicLibrary.h"

#include <windows.h>

#include <filesystem>

namespace vexbit::host {

namespace {

std::wstring widen(const std::string& utf8)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::string narrow(const wchar_t* wide, int length)
{
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

std::string systemErrorText(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result = length > 0 ? narrow(text, static_cast<int>(length)) : "error " + std::to_string(code);
    ::LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

} // namespace

DynamicLibrary::~DynamicLibrary()
{
    close();
}

bool DynamicLibrary::open(const std::string& path, std::string& error)
{
    close();
    handle_ = ::LoadLibraryW(widen(path).c_str());
    if (handle_ == nullptr) {
        error = systemErrorText(::GetLastError());
        return false;
    }
    return true;
}

void DynamicLibrary::close()
{
    if (handle_ != nullptr) ::FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
}

void* DynamicLibrary::symbol(const char* name) const
{
    if (handle_ == nullptr) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string bundleBinaryPath(const std::string& bundlePath)
{
    std::filesystem::path bundle(bundlePath);
    if (!bundle.has_filename()) bundle = bundle.parent_path(); // "X.vst3/" names the same folder as "X.vst3"
    return (bundle / "Contents" / "x86_64-win" / (bundle.stem().string() + ".vst3")).string();
}

const char* moduleEntryName()
{
    return "InitDll";
}

bool enterModule(const DynamicLibrary& library)
{
    auto entry = reinterpret_cast<bool (*)()>(library.symbol("InitDll"));
    return entry != nullptr && entry();
}

void exitModule(const DynamicLibrary& library)
{
    if (auto exit = reinterpret_cast<bool (*)()>(library.symbol("ExitDll"))) exit();
}

} // namespace vexbit::host
