// The allocation counter for Windows. On Linux the test program replaces the
// global operator new and the bundle's calls bind to it; a Windows DLL keeps the
// operator new it was linked with. Its heap calls all end in the C runtime's
// malloc, calloc and realloc, imported from msvcrt.dll, so the counter patches
// those entries of the bundle's import table, the way a profiler hooks a DLL.
#include "AllocationCounter.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vexbit::test {

namespace {

std::atomic<bool> gCounting{false};
std::atomic<long> gCount{0};

using MallocFunc = void* (*)(std::size_t);
using CallocFunc = void* (*)(std::size_t, std::size_t);
using ReallocFunc = void* (*)(void*, std::size_t);
MallocFunc gMalloc = nullptr;
CallocFunc gCalloc = nullptr;
ReallocFunc gRealloc = nullptr;

void note()
{
    if (gCounting.load(std::memory_order_relaxed)) gCount.fetch_add(1, std::memory_order_relaxed);
}

void* countedMalloc(std::size_t size)
{
    note();
    return gMalloc(size);
}

void* countedCalloc(std::size_t count, std::size_t size)
{
    note();
    return gCalloc(count, size);
}

void* countedRealloc(void* block, std::size_t size)
{
    note();
    return gRealloc(block, size);
}

// Points one import slot at our function, keeping the one it held.
template <typename Function>
void patch(ULONGLONG& slot, Function& original, Function replacement)
{
    DWORD protection = 0;
    ::VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &protection);
    original = reinterpret_cast<Function>(slot);
    slot = reinterpret_cast<ULONGLONG>(replacement);
    ::VirtualProtect(&slot, sizeof slot, protection, &protection);
}

void patchImports(HMODULE module)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name != 0; ++d) {
        if (_stricmp(reinterpret_cast<const char*>(base + d->Name), "msvcrt.dll") != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal)) continue;
            const char* name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
            if (std::strcmp(name, "malloc") == 0) patch(slots->u1.Function, gMalloc, &countedMalloc);
            if (std::strcmp(name, "calloc") == 0) patch(slots->u1.Function, gCalloc, &countedCalloc);
            if (std::strcmp(name, "realloc") == 0) patch(slots->u1.Function, gRealloc, &countedRealloc);
        }
    }
}

// The bundle is loaded by the time a test counts; patched once.
void patchBundleOnce()
{
    static const bool patched = [] {
        const std::string path = VEXBIT_MODULE_BINARY;
        const std::wstring wide(path.begin(), path.end());
        HMODULE module = ::GetModuleHandleW(wide.c_str());
        if (module != nullptr) patchImports(module);
        return module != nullptr;
    }();
    (void)patched;
}

} // namespace

void startCountingAllocations()
{
    patchBundleOnce();
    gCount.store(0);
    gCounting.store(true);
}

long stopCountingAllocations()
{
    gCounting.store(false);
    return gCount.load();
}

} // namespace vexbit::test
