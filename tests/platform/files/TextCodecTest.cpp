#include "platform/files/TextCodec.h"

#include <gtest/gtest.h>

namespace corvane::codec {
namespace {

TEST(TextCodec, EveryWindows1252ByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_EQ(utf8ToCp1252(utf8), all);
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // the euro sign
    EXPECT_EQ(cp1252ToUtf8("\xE9"), "\xC3\xA9");
}

// The in-place conversion and the fast passes over ASCII runs give what a byte at a time gives,
// wherever the non-ASCII bytes fall relative to the eight-byte steps.
TEST(TextCodec, ConversionsAgreeWhereverTheRunsBreak) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string pieces[] = {"", "a", "abcdefg", "abcdefgh", "abcdefghijklmnopq", all};
    for (const std::string& before : pieces) {
        for (const std::string& after : pieces) {
            for (const char* middle : {"\x80", "\xE9", "\x81\x9F\xFF"}) {
                const std::string text = before + middle + after;
                std::string expected;
                for (const char c : text)
                    expected += cp1252ToUtf8(std::string(1, c));
                EXPECT_EQ(cp1252ToUtf8(text), expected);
                std::string inPlace = text;
                cp1252ToUtf8InPlace(inPlace);
                EXPECT_EQ(inPlace, expected);
                EXPECT_EQ(utf8ToCp1252(expected), text);
                EXPECT_EQ(firstInvalidUtf8(expected), std::string_view::npos);
                EXPECT_EQ(isAscii(text), false);
            }
        }
    }
}

TEST(TextCodec, TextOutsideTheCodePageIsRefused) {
    EXPECT_FALSE(utf8ToCp1252("\xCE\xB1").has_value());  // Greek alpha
    EXPECT_FALSE(utf8ToCp1252("\xFF").has_value());      // not UTF-8 at all
}

TEST(TextCodec, Utf16HandlesSurrogatesAndRejectsBrokenInput) {
    const std::string clef = "\xF0\x9D\x84\x9E";  // U+1D11E, a surrogate pair in UTF-16
    const auto wide = utf8ToUtf16le("a" + clef);
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(*wide, std::string("a\0\x34\xD8\x1E\xDD", 6));
    EXPECT_EQ(utf16leToUtf8(*wide), "a" + clef);
    EXPECT_FALSE(utf16leToUtf8(std::string("a", 1)).has_value());  // odd length
    EXPECT_FALSE(utf16leToUtf8(std::string("\x34\xD8"
                                           "a\0",
                                           4))
                     .has_value());                   // lone high half
    EXPECT_FALSE(utf8ToUtf16le("\xC3").has_value());  // cut off
}

TEST(TextCodec, FirstInvalidUtf8FindsTheOffset) {
    EXPECT_EQ(firstInvalidUtf8("abc\xC3\xA9"), std::string_view::npos);
    EXPECT_EQ(firstInvalidUtf8("ab\xC0\xAF"), 2u);      // overlong form of '/'
    EXPECT_EQ(firstInvalidUtf8("ab\xED\xA0\x80"), 2u);  // encoded surrogate
}

TEST(TextCodec, CaseFoldingCoversTheBasicPlaneAsWindowsDoes) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    const Case cases[] = {
        {"\xCE\xB1\xCF\x83", "\xCE\x91\xCE\xA3", true},   // Greek alpha sigma
        {"\xCF\x82", "\xCE\xA3", true},                   // final sigma
        {"\xD0\xB4\xD0\xB0", "\xD0\x94\xD0\x90", true},   // Cyrillic
        {"\xC3\xBF", "\xC5\xB8", true},                   // y and Y with diaeresis
        {"\xC5\x8D", "\xC5\x8C", true},                   // o and O with macron
        {"\xEF\xBD\x81", "\xEF\xBC\xA1", true},           // fullwidth a and A
        {"\xF0\x90\x90\xA8", "\xF0\x90\x90\x80", false},  // Deseret, beyond the BMP
        {"\xC3\x9F", "ss", false},                        // sharp s
        {"\xC4\xB1", "i", false},                         // dotless i is no ASCII letter
        {"\xC2\xB5", "\xCE\xBC", false},                  // micro sign and mu
        {"Ab\xC3\x84", "aB\xC3\xA4", true},               // ASCII, then a letter beyond
        {"x\xC3\x84", "y\xC3\xA4", false},                // differing before the fold
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a);
        EXPECT_EQ(equalsFolded(c.a, c.b), c.equal);
        EXPECT_EQ(foldCase(c.a).size(), std::string(c.a).size());
    }
    EXPECT_EQ(utf16Length("k\xCE\xB1\xE2\x82\xAC\xF0\x9F\x98\x80"), 5u);
}

TEST(TextCodec, CaseFoldingCoversLatinLettersAndKeepsLength) {
    EXPECT_TRUE(equalsFolded("HKEY_Local_Machine", "hkey_local_machine"));
    EXPECT_TRUE(equalsFolded("\xC3\x84rger", "\xC3\xA4RGER"));  // Ärger
    EXPECT_FALSE(equalsFolded("\xC3\x97", "\xC3\xB7"));         // x and division sign differ
    EXPECT_FALSE(equalsFolded("ab", "abc"));
    const std::string text = "Software\\\xC3\x89T\xC3\x89";
    EXPECT_EQ(foldCase(text).size(), text.size());
}

}  // namespace
}  // namespace corvane::codec
