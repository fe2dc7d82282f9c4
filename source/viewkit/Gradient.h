#pragma once
#include "viewkit/BaseObject.h"
#include "viewkit/Color.h"
#include <map>

namespace viewkit {

// Colour stops at offsets 0..1 along a line; used for linear fills.
class CGradient : public CBaseObject {
public:
    using ColorStopMap = std::multimap<double, CColor>;

    static CGradient* create(double start1, double start2, const CColor& color1, const CColor& color2)
    {
        auto* g = new CGradient;
        g->addColorStop(start1, color1);
        g->addColorStop(start2, color2);
        return g;
    }
    static CGradient* create(const ColorStopMap& stops)
    {
        auto* g = new CGradient;
        g->colorStops = stops;
        return g;
    }
    void addColorStop(double start, const CColor& color) { colorStops.emplace(start, color); }
    const ColorStopMap& getColorStops() const { return colorStops; }

private:
    CGradient() = default;
    ColorStopMap colorStops;
};

} // namespace viewkit
