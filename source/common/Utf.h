#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexbit {

// UTF-8 <-> UTF-16 for titles, list entries and bus names at the SDK boundary,
// and for typed text in the editor.
// Characters outside the BMP become surrogate pairs. Malformed input (bad
// bytes, overlong forms, lone surrogates) becomes U+FFFD rather than failing.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

// The SDK's strings are made of char16_t, or of wchar_t where that is 16 bits
// wide (Windows); the two functions below take either, one UTF-16 unit per
// element. (The wchar_t forms are templates so that a null pointer still
// means the char16_t form.)
template <typename Unit>
concept WideUnit = std::same_as<Unit, wchar_t>;

// Reads a zero-terminated UTF-16 string of at most maxUnits units (the SDK's
// fixed-size string fields need not be terminated). A null pointer gives "".
std::string utf16ToUtf8(const char16_t* text, std::size_t maxUnits);
template <WideUnit Unit>
std::string utf16ToUtf8(const Unit* text, std::size_t maxUnits);

// Writes text into a fixed buffer of capacity units, always zero-terminated,
// never past the end and never splitting a surrogate pair. Returns the number
// of units written before the terminator. A zero capacity writes nothing.
std::size_t utf8ToUtf16(std::string_view text, char16_t* out, std::size_t capacity);
template <WideUnit Unit>
std::size_t utf8ToUtf16(std::string_view text, Unit* out, std::size_t capacity);

// Text as a string of the SDK's unit type, for SDK calls that take one.
template <typename Unit>
std::basic_string<Unit> utf8ToUnits(std::string_view text)
{
    const std::u16string units = utf8ToUtf16(text);
    return std::basic_string<Unit>(units.begin(), units.end());
}

// One code point as UTF-8; "" for what is not a Unicode scalar value
// (negative, beyond U+10FFFF, or a surrogate).
std::string codePointToUtf8(int32_t codePoint);

// True when every surrogate in text belongs to a complete pair.
bool isWellFormedUtf16(std::u16string_view text);

} // namespace vexbit
