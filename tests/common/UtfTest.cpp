#include "common/Utf.h"

#include <gtest/gtest.h>

#include <array>

using namespace vexbit;

TEST(Utf, RoundTripsBmpAndNonBmpText)
{
    const std::string text = "Gain \xC3\xA9\xE2\x82\xAC \xF0\x9F\x8E\xB8"; // é € 🎸
    const std::u16string wide = utf8ToUtf16(text);
    EXPECT_EQ(wide, u"Gain \u00E9\u20AC \U0001F3B8");
    EXPECT_EQ(wide.size(), 10u); // the guitar is a surrogate pair
    EXPECT_EQ(utf16ToUtf8(wide), text);
}

TEST(Utf, MalformedInputBecomesReplacementCharacters)
{
    EXPECT_EQ(utf8ToUtf16("a\xFF"
                          "b"),
              u"a\uFFFDb");
    EXPECT_EQ(utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD");           // cut short
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");           // overlong '/'
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD"); // encoded surrogate
    EXPECT_EQ(utf8ToUtf16("\xF4\x90\x80\x80").front(), u'\uFFFD'); // beyond U+10FFFF
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

TEST(Utf, WellFormedUtf16HasEverySurrogateInAPair)
{
    EXPECT_TRUE(isWellFormedUtf16(u""));
    EXPECT_TRUE(isWellFormedUtf16(u"a\U0001F3B8b"));
    const char16_t lead = 0xD83C;
    const char16_t trail = 0xDFB8;
    EXPECT_FALSE(isWellFormedUtf16(std::u16string(1, trail)));
    EXPECT_FALSE(isWellFormedUtf16(std::u16string(1, lead)));
    EXPECT_FALSE(isWellFormedUtf16(std::u16string{lead, u'x'}));
    EXPECT_FALSE(isWellFormedUtf16(std::u16string{lead, lead, trail}));
    EXPECT_FALSE(isWellFormedUtf16(std::u16string{lead, trail, trail}));
}

TEST(Utf, FixedBufferIsNeverOverrunAndKeepsPairsWhole)
{
    std::array<char16_t, 8> buffer;
    buffer.fill(u'#');
    // Capacity 5 leaves room for 4 units: "ab" plus one pair, terminated.
    EXPECT_EQ(utf8ToUtf16("ab\xF0\x9F\x8E\xB8"
                          "cd",
                          buffer.data(), 5),
              4u);
    EXPECT_EQ(std::u16string(buffer.data()), u"ab\U0001F3B8");
    EXPECT_EQ(buffer[5], u'#');

    buffer.fill(u'#');
    // Capacity 4 has room for 3 units: the pair does not fit after "ab".
    EXPECT_EQ(utf8ToUtf16("ab\xF0\x9F\x8E\xB8", buffer.data(), 4), 2u);
    EXPECT_EQ(std::u16string(buffer.data()), u"ab");
    EXPECT_EQ(buffer[4], u'#');

    buffer.fill(u'#');
    EXPECT_EQ(utf8ToUtf16("abc", buffer.data(), 1), 0u);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], u'#');
    EXPECT_EQ(utf8ToUtf16("abc", buffer.data(), 0), 0u);
    EXPECT_EQ(buffer[1], u'#');
    EXPECT_EQ(utf8ToUtf16("abc", nullptr, 10), 0u);
}

TEST(Utf, BoundedReadStopsAtTerminatorOrLimit)
{
    const char16_t unterminated[3] = {u'x', u'y', u'z'};
    EXPECT_EQ(utf16ToUtf8(unterminated, 3), "xyz");
    EXPECT_EQ(utf16ToUtf8(u"ab\0cd", 5), "ab");
    EXPECT_EQ(utf16ToUtf8(nullptr, 5), "");
}
