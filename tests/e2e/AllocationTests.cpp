// The bundle's process call allocates nothing, however busy the engine gets.
// This program replaces the global operator new and exports it, so the
// loaded bundle's allocations are counted too.
#include "BundleSession.h"
#include "TestSignals.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> gAllocations{0};
std::atomic<bool> gCounting{false};

void* countedAlloc(std::size_t size)
{
    if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* countedAlignedAlloc(std::size_t size, std::align_val_t align)
{
    if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
    const auto a = static_cast<std::size_t>(align);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a)) return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) { return countedAlloc(size); }
void* operator new[](std::size_t size) { return countedAlloc(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return countedAlloc(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void* operator new(std::size_t size, std::align_val_t align) { return countedAlignedAlloc(size, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return countedAlignedAlloc(size, align); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace vexbit::e2e {
namespace {

TEST(BundleAllocations, ProcessAllocatesNothingWhileNotesAutoPlayAndRandomiseRun)
{
    auto session = BundleSession::open();
    ASSERT_TRUE(session);

    // The counter sees the bundle's own allocations: restoring a state makes some.
    Steinberg::MemoryStream stream;
    ASSERT_EQ(session->component()->getState(&stream), Steinberg::kResultOk);
    stream.seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
    gAllocations = 0;
    gCounting = true;
    EXPECT_EQ(session->component()->setState(&stream), Steinberg::kResultOk);
    gCounting = false;
    ASSERT_GT(gAllocations.load(), 0) << "the bundle's operator new is not the counted one";

    Script script;
    script.transport.tempo = 174.0;
    script.length = 120000;
    script.changes = {{0, 1, 1.0}, {0, 2, 1.0}, {0, 3, 0.0}, {0, 205, 0.5}, {0, 602, 0.0}};
    for (int64_t s = 500; s < script.length; s += 2500) {
        script.notes.push_back({s, static_cast<int16_t>(48 + (s / 2500) % 37)});
        script.notes.push_back({s + 1200, static_cast<int16_t>(48 + (s / 2500) % 37), false});
        script.changes.push_back({s + 77, static_cast<Steinberg::Vst::ParamID>(202 + (s / 2500) % 6), 0.4});
    }
    bool warm = false;
    long duringProcess = 0;
    session->render(script, noise(8192, 3), 256, [&](bool entering) {
        // The first call may still settle the host's side; count from the second.
        if (entering && warm) {
            gAllocations = 0;
            gCounting = true;
        } else if (!entering) {
            gCounting = false;
            if (warm) duringProcess += gAllocations.load();
            warm = true;
        }
    });
    EXPECT_EQ(duringProcess, 0);
}

} // namespace
} // namespace vexbit::e2e
