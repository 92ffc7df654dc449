#include "platform/regfile/RegSyntax.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane::regsyntax {
namespace {

TEST(RegSyntax, QuotedTextLosesOnlyItsEscapes) {
    struct Case {
        std::string inner;
        std::string text;
    };
    const Case cases[] = {
        {"", ""},
        {"plain", "plain"},
        {R"(C:\\WINDOWS\\SYSTEM\\x.dll)", R"(C:\WINDOWS\SYSTEM\x.dll)"},
        {R"(say \"hi\")", R"(say "hi")"},
        {R"(\\\\server\\share)", R"(\\server\share)"},
        {R"(\\\")", R"(\")"},              // an escaped backslash, then an escaped quote
        {R"(a\nb)", R"(a\nb)"},            // no escape: kept as written
        {R"(ends in \)", R"(ends in \)"},  // a lone backslash at the end
        {R"(\\)", R"(\)"},
        {R"(\x\\y)", R"(\x\y)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inner);
        EXPECT_EQ(unescapeQuoted(c.inner), c.text);
    }
    // What quote writes reads back as it was.
    for (const std::string text : {R"(a\"b\\)", R"(\\\)", "\"\"", R"(C:\x)"}) {
        const std::string quoted = quote(text);
        EXPECT_EQ(unescapeQuoted(std::string_view(quoted).substr(1, quoted.size() - 2)), text);
    }
}

// The quote that ends quoted text is the first one after an even run of backslashes.
TEST(RegSyntax, QuotedTextEndsAtItsOwnQuote) {
    struct Case {
        std::string text;
        std::size_t quote;
    };
    const Case cases[] = {
        {R"("")", 1},
        {R"("abc"=1)", 4},
        {R"("a\"b"=1)", 5},    // an escaped quote
        {R"("a\\"=1)", 4},     // an escaped backslash, then the end
        {R"("a\\\"b"=1)", 7},  // both
        {R"("\x"=1)", 3},      // a backslash before a letter escapes nothing
        {R"("a\")", std::string::npos},
        {R"("abc)", std::string::npos},
        {R"("\\\\\\")", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(closingQuote(c.text, 1), c.quote);
    }
}

TEST(RegSyntax, CommonPrefixesAreFoundAcrossWords) {
    const std::string path = "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{0000}";
    for (std::size_t cut = 0; cut <= path.size(); ++cut) {
        std::string other = path;
        if (cut < other.size()) other[cut] = '#';
        EXPECT_EQ(commonPrefixLength(path, other), cut);
        EXPECT_EQ(commonPrefixLength(path.substr(0, cut), path), cut);
    }
}

}  // namespace
}  // namespace corvane::regsyntax
