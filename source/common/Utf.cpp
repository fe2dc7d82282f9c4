#include "common/Utf.h"

namespace vexbit {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point starting at text[pos] and advances pos. Each bad
// sequence consumes one byte so decoding resynchronises on the next one.
char32_t decodeUtf8(std::string_view text, std::size_t& pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + length > text.size()) {
        ++pos;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char c = byte(pos + i);
        if ((c & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return cp;
}

// Number of UTF-16 units a code point takes and the units themselves.
std::size_t encodeUtf16(char32_t cp, char16_t units[2])
{
    if (cp < 0x10000) {
        units[0] = static_cast<char16_t>(cp);
        return 1;
    }
    cp -= 0x10000;
    units[0] = static_cast<char16_t>(0xD800 + (cp >> 10));
    units[1] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    return 2;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::u16string utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        char16_t units[2];
        const std::size_t n = encodeUtf16(decodeUtf8(text, pos), units);
        out.append(units, n);
    }
    return out;
}

namespace {

// The fixed-buffer conversions for either unit type the SDK's strings use.
template <typename Unit>
std::size_t writeUtf16(std::string_view text, Unit* out, std::size_t capacity)
{
    if (out == nullptr || capacity == 0) return 0;
    std::size_t written = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        char16_t units[2];
        const std::size_t n = encodeUtf16(decodeUtf8(text, pos), units);
        if (written + n > capacity - 1) break;
        for (std::size_t i = 0; i < n; ++i) out[written++] = static_cast<Unit>(units[i]);
    }
    out[written] = 0;
    return written;
}

template <typename Unit>
std::string readUtf16(const Unit* text, std::size_t maxUnits)
{
    if (text == nullptr) return {};
    std::u16string units;
    for (std::size_t i = 0; i < maxUnits && text[i] != 0; ++i) units += static_cast<char16_t>(text[i]);
    return utf16ToUtf8(units);
}

} // namespace

std::size_t utf8ToUtf16(std::string_view text, char16_t* out, std::size_t capacity)
{
    return writeUtf16(text, out, capacity);
}

template <WideUnit Unit>
std::size_t utf8ToUtf16(std::string_view text, Unit* out, std::size_t capacity)
{
    return writeUtf16(text, out, capacity);
}
template std::size_t utf8ToUtf16<wchar_t>(std::string_view, wchar_t*, std::size_t);

std::string utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        char32_t cp = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
                ++i;
            } else {
                cp = kReplacement;
            }
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            cp = kReplacement;
        }
        appendUtf8(out, cp);
    }
    return out;
}

std::string utf16ToUtf8(const char16_t* text, std::size_t maxUnits)
{
    return readUtf16(text, maxUnits);
}

template <WideUnit Unit>
std::string utf16ToUtf8(const Unit* text, std::size_t maxUnits)
{
    return readUtf16(text, maxUnits);
}
template std::string utf16ToUtf8<wchar_t>(const wchar_t*, std::size_t);

} // namespace vexbit

namespace vexbit {

std::string codePointToUtf8(int32_t codePoint)
{
    std::string out;
    if (codePoint < 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return out;
    appendUtf8(out, static_cast<char32_t>(codePoint));
    return out;
}

bool isWellFormedUtf16(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xDC00 && unit <= 0xDFFF) return false; // a trail without its lead
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
                return false; // a lead without its trail
            ++i;
        }
    }
    return true;
}

} // namespace vexbit
