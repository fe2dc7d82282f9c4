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
        r["page.png"] = makeStripPng(300, 100, {CColor(0, 128, 128)});
        r["corrupt.png"] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 1, 2, 3, 4, 5};
        std::vector<uint8_t> truncated = makeStripPng(50, 50, knobFrameColors(31));
        truncated.resize(truncated.size() / 2);
        r["truncated.png"] = truncated;
        return r;
    }();
    setResourceLookup([](std::string_view name) -> std::span<const uint8_t> {
        auto it = resources.find(name);
        if (it == resources.end()) return {};
        return it->second;
    });
}

} // namespace viewkit::test
