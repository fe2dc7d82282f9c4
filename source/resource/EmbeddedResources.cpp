#include "resource/EmbeddedResources.h"

namespace vexbit {

std::span<const uint8_t> findEmbeddedResource(std::string_view name)
{
    for (const auto& resource : embeddedResources())
        if (resource.name == name) return resource.bytes;
    return {};
}

} // namespace vexbit
