#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vexbit {

// A file built into the module, such as one of the editor's PNG bitmaps.
struct EmbeddedResource {
    std::string_view name;
    std::span<const uint8_t> bytes;
};

// Every embedded file, generated at build time.
std::span<const EmbeddedResource> embeddedResources();

// The bytes of the named resource; empty when there is none of that name.
std::span<const uint8_t> findEmbeddedResource(std::string_view name);

} // namespace vexbit
