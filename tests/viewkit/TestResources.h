#pragma once
// Installs a resource lookup over PNGs built in memory.
#include "viewkit/Bitmap.h"
#include "viewkit/TestPng.h"

#include <map>
#include <string>

namespace viewkit::test {

inline const CColor kRockerUp{255, 0, 0}, kRockerMiddle{0, 0, 255}, kRockerDown{255, 255, 0};

inline void installTestResources()
{
    static std::map<std::string, std::vector<uint8_t>, std::less<>> resources = [] {
        std::map<std::string, std::vector<uint8_t>, std::less<>> r;
        r["knob.png"] = makeStripPng(50, 50, knobFrameColors(31));
        r["rocker.png"] = makeStripPng(21, 21, {kRockerUp, kRockerMiddle, kRockerDown});
        return r;
    }();
    setResourceLookup([](std::string_view name) -> std::span<const uint8_t> {
        auto it = resources.find(name);
        if (it == resources.end()) return {};
        return it->second;
    });
}

} // namespace viewkit::test
