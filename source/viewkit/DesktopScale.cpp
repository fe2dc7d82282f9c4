#include "viewkit/DesktopScale.h"
#include "viewkit/Frame.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace viewkit {

namespace {

constexpr double kReferenceDpi = 96.0;

// A number that is whole text; 0 otherwise.
double parseNumber(std::string_view text)
{
    const std::string copy(text);
    char* end = nullptr;
    const double v = std::strtod(copy.c_str(), &end);
    while (end && (*end == ' ' || *end == '\t')) ++end;
    return end && end != copy.c_str() && *end == '\0' ? v : 0.0;
}

// The value of "Xft.dpi:" in an X resource string, 0 when absent.
double xftDpi(const char* resources)
{
    std::string_view rest(resources);
    constexpr std::string_view key = "Xft.dpi:";
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.substr(0, key.size()) != key) continue;
        line.remove_prefix(key.size());
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        return parseNumber(line);
    }
    return 0.0;
}

double withinLimits(double scale)
{
    return std::clamp(scale, kMinScaleFactor, kMaxScaleFactor);
}

} // namespace

// GDK takes whole factors of 1 or more only; anything else is ignored, as GTK does. 0 when unusable.
double wholeGdkScale(const char* text)
{
    if (text == nullptr || *text == '\0') return 0.0;
    const double v = parseNumber(text);
    return v >= 1 && v == static_cast<int>(v) ? v : 0.0;
}

double desktopScaleFactor(const char* gdkScale, const char* xResources)
{
    if (const double gdk = wholeGdkScale(gdkScale); gdk > 0) return withinLimits(gdk);
    if (xResources != nullptr) {
        const double dpi = xftDpi(xResources);
        if (dpi > 0) return withinLimits(dpi / kReferenceDpi);
    }
    return 1.0;
}

} // namespace viewkit
