#pragma once

#include <cstdint>

namespace vexbit {

// The editor's palette as plain RGBA values, shared by the controls and the artwork.
struct Rgba {
    uint8_t r;
    uint8_t g;
    uint8_t b;
    uint8_t a;
    constexpr bool operator==(const Rgba&) const = default;
};

inline constexpr Rgba Green{146, 208, 80, 255};
inline constexpr Rgba DarkGreen{73, 112, 30, 255};
inline constexpr Rgba PaleGreen{194, 214, 154, 255};
inline constexpr Rgba LightGreen{228, 237, 211, 255};
inline constexpr Rgba Black{0, 0, 0, 255};
inline constexpr Rgba Clear{255, 255, 255, 0};

} // namespace vexbit
