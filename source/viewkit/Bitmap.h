#pragma once
#include "viewkit/BaseObject.h"
#include "viewkit/Geometry.h"
#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace viewkit {

class CDrawContext;

// Finds the PNG bytes embedded in the module under a resource name; an empty span
// means "no such resource". The module installs one at load time.
using ResourceLookup = std::function<std::span<const uint8_t>(std::string_view name)>;
void setResourceLookup(ResourceLookup lookup);

struct CResourceDescription {
    std::string name;
    CResourceDescription(const char* n) : name(n ? n : "") {}
    CResourceDescription(std::string n) : name(std::move(n)) {}
};

// The resource names of a bitmap's high-resolution versions: "knob.png" drawn
// at 2 pixels per unit is "knob@2x.png", at 1.5 "knob@1.5x.png".
// (The artwork program writes them under these names.)
inline constexpr double kBitmapResolutions[] = {1.5, 2.0};
inline std::string scaledResourceName(std::string_view name, double scale)
{
    const size_t dot = name.rfind('.');
    const std::string_view stem = name.substr(0, dot);
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
    char factor[16];
    std::snprintf(factor, sizeof factor, "@%gx", scale);
    return std::string(stem) + factor + std::string(extension);
}

// A decoded PNG. A missing or undecodable resource gives a 0 x 0 bitmap that draws nothing.
// A bitmap from resources also draws the high-resolution versions found beside
// it when the context's scale factor asks for them (each is decoded when first
// needed); its size stays that of the plain version.
class CBitmap : public CBaseObject {
public:
    explicit CBitmap(const CResourceDescription& desc);
    CBitmap(const uint8_t* pngData, size_t size);
    ~CBitmap() override;

    CCoord getWidth() const { return width; }
    CCoord getHeight() const { return height; }
    bool isLoaded() const { return surface != nullptr; }

    // Copies the area starting at `offset` into `dest`, clipped to dest (no scaling).
    void draw(CDrawContext* context, const CRect& dest, const CPoint& offset = CPoint(0, 0), float alpha = 1.f);

private:
    struct Resolution {
        double scale;
        cairo_surface_t* surface = nullptr;
        bool looked = false; // decoded (or found missing or unfit) on first use
    };
    static cairo_surface_t* decode(std::span<const uint8_t> bytes);
    void adopt(cairo_surface_t* plain);
    // The version to draw at a context's scale; the plain one when no finer one fits.
    cairo_surface_t* surfaceFor(double scale);
    cairo_surface_t* load(Resolution& resolution);

    std::string resourceName;
    cairo_surface_t* surface = nullptr;
    std::vector<Resolution> resolutions; // the high-resolution versions, by rising scale
    CCoord width = 0;
    CCoord height = 0;
};

} // namespace viewkit
