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
