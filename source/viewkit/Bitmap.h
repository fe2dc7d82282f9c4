#pragma once
#include "viewkit/BaseObject.h"
#include "viewkit/Geometry.h"
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

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

// A decoded PNG. A missing or undecodable resource gives a 0 x 0 bitmap that draws nothing.
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
    void decode(std::span<const uint8_t> bytes);

    std::string resourceName;
    cairo_surface_t* surface = nullptr;
    CCoord width = 0;
    CCoord height = 0;
};

} // namespace viewkit
