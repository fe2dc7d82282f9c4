// The Windows module as a Windows host and the Windows loader see it: its
// export and import tables read from the file, and the entry points called
// by a host that loads the module twice.
#include "host/Module.h"
#include "host/PluginInstance.h"

#include "pluginterfaces/base/ipluginbase.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

using namespace Steinberg;
using vexbit::host::Module;
using vexbit::host::PluginInstance;

namespace {

using Bytes = std::vector<char>;

Bytes readFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

template <typename T>
T at(const Bytes& file, std::size_t offset)
{
    T value{};
    if (offset + sizeof(T) <= file.size()) std::memcpy(&value, file.data() + offset, sizeof(T));
    return value;
}

// The module's PE headers, enough to follow the export and import tables.
struct PeImage {
    const Bytes& file;
    IMAGE_NT_HEADERS64 nt{};
    std::size_t sections = 0;

    explicit PeImage(const Bytes& f) : file(f)
    {
        const auto dos = at<IMAGE_DOS_HEADER>(file, 0);
        nt = at<IMAGE_NT_HEADERS64>(file, static_cast<std::size_t>(dos.e_lfanew));
        sections = static_cast<std::size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                   nt.FileHeader.SizeOfOptionalHeader;
    }

    // The file offset of a relative virtual address, through the section table.
    std::size_t offsetOf(DWORD rva) const
    {
        for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
            const auto s = at<IMAGE_SECTION_HEADER>(file, sections + i * sizeof(IMAGE_SECTION_HEADER));
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return file.size();
    }

    std::string textAt(DWORD rva) const
    {
        std::string text;
        for (std::size_t o = offsetOf(rva); o < file.size() && file[o] != '\0'; ++o) text += file[o];
        return text;
    }

    std::set<std::string> exportedNames() const
    {
        std::set<std::string> names;
        const auto dir = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
        if (dir.VirtualAddress == 0) return names;
        const auto exports = at<IMAGE_EXPORT_DIRECTORY>(file, offsetOf(dir.VirtualAddress));
        for (DWORD i = 0; i < exports.NumberOfNames; ++i)
            names.insert(textAt(at<DWORD>(file, offsetOf(exports.AddressOfNames) + 4 * i)));
        return names;
    }

    std::vector<std::string> importedLibraries() const
    {
        std::vector<std::string> names;
        const auto dir = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (std::size_t o = offsetOf(dir.VirtualAddress); dir.VirtualAddress != 0; o += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            const auto d = at<IMAGE_IMPORT_DESCRIPTOR>(file, o);
            if (d.Name == 0) break;
            names.push_back(textAt(d.Name));
        }
        return names;
    }
};

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

TEST(WindowsModule, ExportsExactlyTheThreeEntryPointsAndNeedsOnlySystemLibraries)
{
    const Bytes file = readFile(VEXBIT_MODULE_BINARY);
    ASSERT_GT(file.size(), 4096u) << VEXBIT_MODULE_BINARY;
    ASSERT_EQ(file[0], 'M');
    ASSERT_EQ(file[1], 'Z');
    const PeImage image(file);
    ASSERT_EQ(image.nt.Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(image.nt.FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
    EXPECT_TRUE(image.nt.FileHeader.Characteristics & IMAGE_FILE_DLL);

    EXPECT_EQ(image.exportedNames(), (std::set<std::string>{"ExitDll", "GetPluginFactory", "InitDll"}));

    // MinGW's runtime (libstdc++, libgcc, winpthread) is linked in, so the
    // bundle needs nothing beside it: every library it imports comes with Windows.
    const std::vector<std::string> imports = image.importedLibraries();
    EXPECT_FALSE(imports.empty());
    const std::set<std::string> system{"kernel32.dll", "msvcrt.dll", "ole32.dll",  "user32.dll",
                                       "advapi32.dll", "gdi32.dll",  "msimg32.dll"};
    for (const std::string& name : imports) EXPECT_TRUE(system.count(lower(name))) << name << " is not a system library";
}

using EntryFunc = bool (*)();
using GetFactoryFunc = IPluginFactory* (*)();

template <typename Function>
Function entryPoint(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

std::wstring widePath(const char* path)
{
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, path, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, path, -1, wide.data(), n);
    wide.resize(static_cast<std::size_t>(n - 1));
    return wide;
}

int32 classCount(HMODULE module)
{
    auto getFactory = entryPoint<GetFactoryFunc>(module, "GetPluginFactory");
    if (getFactory == nullptr) return -1;
    IPluginFactory* factory = getFactory();
    if (factory == nullptr) return -1;
    const int32 count = factory->countClasses();
    factory->release();
    return count;
}

// Two hosts in one process (or one host with two plug-in slots) each load the
// module and call its entry points; Windows hands both the same module. The
// first one to leave must not take the module from the other.
TEST(WindowsModule, TwoLoadsShareTheModuleUntilTheLastLeaves)
{
    const std::wstring path = widePath(VEXBIT_MODULE_BINARY);
    HMODULE first = ::LoadLibraryW(path.c_str());
    ASSERT_NE(first, nullptr);
    HMODULE second = ::LoadLibraryW(path.c_str());
    ASSERT_EQ(second, first);

    auto initDll = entryPoint<EntryFunc>(first, "InitDll");
    auto exitDll = entryPoint<EntryFunc>(first, "ExitDll");
    ASSERT_NE(initDll, nullptr);
    ASSERT_NE(exitDll, nullptr);
    EXPECT_TRUE(initDll());
    EXPECT_TRUE(initDll());
    EXPECT_EQ(classCount(first), 2);

    EXPECT_TRUE(exitDll());
    ::FreeLibrary(first);
    EXPECT_EQ(::GetModuleHandleW(path.c_str()), second) << "still loaded for the second host";
    EXPECT_EQ(classCount(second), 2);

    // The second host, through the host library, still gets working instances.
    std::string error;
    auto module = Module::load(VEXBIT_BUNDLE_PATH, error);
    ASSERT_TRUE(module) << error;
    auto instance = PluginInstance::createFirstEffect(module, error);
    ASSERT_TRUE(instance) << error;
    EXPECT_EQ(instance->parameters().size(), 83u);
    instance.reset();
    module.reset();

    EXPECT_TRUE(exitDll());
    ::FreeLibrary(second);
    EXPECT_EQ(::GetModuleHandleW(path.c_str()), nullptr) << "the last host's FreeLibrary unloads it";

    // Loaded afresh, it starts again from InitDll.
    module = Module::load(VEXBIT_BUNDLE_PATH, error);
    ASSERT_TRUE(module) << error;
    EXPECT_EQ(module->classes().size(), 2u);
    EXPECT_EQ(module->factoryInfo().vendor, "Ornith-Kaval");
}

} // namespace
