#include "platform/files/TextCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace corvane::codec {
namespace {

constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
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

// Decodes one UTF-8 sequence at text[i]; advances i. Nothing for malformed input.
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return std::nullopt;
    }
    if (i + extra >= text.size()) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    i += extra + 1;
    return cp;
}

// The length of the run of ASCII bytes at text[from], eight at a time: registry files are
// almost all ASCII, and the conversions spend their time here.
std::size_t asciiRun(std::string_view text, std::size_t from) {
    std::size_t i = from;
    const std::size_t n = text.size();
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & 0x8080808080808080ULL) != 0) break;
    }
    while (i < n && static_cast<unsigned char>(text[i]) < 0x80)
        ++i;
    return i - from;
}

}  // namespace

bool isAscii(std::string_view text) {
    return asciiRun(text, 0) == text.size();
}

std::size_t firstInvalidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            i += asciiRun(text, i);
            continue;
        }
        const std::size_t at = i;
        if (!nextUtf8(text, i)) return at;
    }
    return std::string_view::npos;
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (const std::size_t run = asciiRun(bytes, i); run > 0) {
            out.append(bytes.substr(i, run));
            i += run;
            if (i == bytes.size()) break;
        }
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0xA0) {
            appendUtf8(out, kCp1252High[b - 0x80]);
        } else {
            appendUtf8(out, b);
        }
    }
    return out;
}

void cp1252ToUtf8InPlace(std::string& text) {
    const std::size_t n = text.size();
    std::size_t grown = n;
    for (std::size_t i = asciiRun(text, 0); i < n; i += 1 + asciiRun(text, i + 1)) {
        const auto b = static_cast<unsigned char>(text[i]);
        grown += (b < 0xA0 && kCp1252High[b - 0x80] >= 0x800) ? 2 : 1;
    }
    if (grown == n) return;
    text.resize(grown);
    // From the back, so that nothing is overwritten before it is moved.
    std::size_t to = grown;
    std::size_t from = n;
    while (from > 0) {
        const auto b = static_cast<unsigned char>(text[from - 1]);
        if (b < 0x80) {
            std::size_t start = from - 1;
            while (start > 0 && static_cast<unsigned char>(text[start - 1]) < 0x80)
                --start;
            const std::size_t run = from - start;
            to -= run;
            std::memmove(text.data() + to, text.data() + start, run);
            from = start;
            continue;
        }
        std::string encoded;
        appendUtf8(encoded, b < 0xA0 ? kCp1252High[b - 0x80] : b);
        to -= encoded.size();
        std::memcpy(text.data() + to, encoded.data(), encoded.size());
        --from;
    }
}

std::optional<std::string> utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (const std::size_t run = asciiRun(text, i); run > 0) {
            out.append(text.substr(i, run));
            i += run;
            continue;
        }
        const auto cp = nextUtf8(text, i);
        if (!cp) return std::nullopt;
        if (*cp >= 0xA0 && *cp <= 0xFF) {
            out += static_cast<char>(*cp);
            continue;
        }
        bool found = false;
        for (std::size_t k = 0; k < kCp1252High.size(); ++k) {
            if (kCp1252High[k] == *cp) {
                out += static_cast<char>(0x80 + k);
                found = true;
                break;
            }
        }
        if (!found) return std::nullopt;
    }
    return out;
}

std::optional<std::string> utf16leToUtf8(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::string out;
    out.reserve(bytes.size() / 2);
    const std::size_t n = bytes.size() / 2;
    auto unit = [&](std::size_t k) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                     (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
    };
    for (std::size_t k = 0; k < n; ++k) {
        const char16_t u = unit(k);
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u >= 0xD800 && u <= 0xDBFF) {
            if (k + 1 >= n) return std::nullopt;
            const char16_t low = unit(k + 1);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (low - 0xDC00));
            ++k;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return std::nullopt;
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

std::optional<std::string> utf8ToUtf16le(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    auto put = [&out](char16_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const auto cp = nextUtf8(text, i);
        if (!cp) return std::nullopt;
        if (*cp >= 0x10000) {
            const char32_t v = *cp - 0x10000;
            put(static_cast<char16_t>(0xD800 + (v >> 10)));
            put(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            put(static_cast<char16_t>(*cp));
        }
    }
    return out;
}

namespace {

// Lower-case letters of the Basic Multilingual Plane and the distance to their capitals, as runs
// of letters (every letter, or every second one, from first to last) that move alike. Made from
// the simple upper-case mappings of Unicode, leaving out those into or out of ASCII and those
// whose UTF-8 form has another length: folding keeps the byte length.
struct FoldRun {
    char16_t first;
    char16_t last;
    std::int32_t delta;
    std::uint8_t stride;
};
constexpr FoldRun kFoldRuns[] = {
    {0x00E0, 0x00F6, -32, 1},   {0x00F8, 0x00FE, -32, 1},    {0x00FF, 0x00FF, 121, 1},
    {0x0101, 0x012F, -1, 2},    {0x0133, 0x0137, -1, 2},     {0x013A, 0x0148, -1, 2},
    {0x014B, 0x0177, -1, 2},    {0x017A, 0x017E, -1, 2},     {0x0180, 0x0180, 195, 1},
    {0x0183, 0x0185, -1, 2},    {0x0188, 0x0188, -1, 1},     {0x018C, 0x018C, -1, 1},
    {0x0192, 0x0192, -1, 1},    {0x0195, 0x0195, 97, 1},     {0x0199, 0x0199, -1, 1},
    {0x019A, 0x019A, 163, 1},   {0x019E, 0x019E, 130, 1},    {0x01A1, 0x01A5, -1, 2},
    {0x01A8, 0x01A8, -1, 1},    {0x01AD, 0x01AD, -1, 1},     {0x01B0, 0x01B0, -1, 1},
    {0x01B4, 0x01B6, -1, 2},    {0x01B9, 0x01B9, -1, 1},     {0x01BD, 0x01BD, -1, 1},
    {0x01BF, 0x01BF, 56, 1},    {0x01C5, 0x01C5, -1, 1},     {0x01C6, 0x01C6, -2, 1},
    {0x01C8, 0x01C8, -1, 1},    {0x01C9, 0x01C9, -2, 1},     {0x01CB, 0x01CB, -1, 1},
    {0x01CC, 0x01CC, -2, 1},    {0x01CE, 0x01DC, -1, 2},     {0x01DD, 0x01DD, -79, 1},
    {0x01DF, 0x01EF, -1, 2},    {0x01F2, 0x01F2, -1, 1},     {0x01F3, 0x01F3, -2, 1},
    {0x01F5, 0x01F5, -1, 1},    {0x01F9, 0x021F, -1, 2},     {0x0223, 0x0233, -1, 2},
    {0x023C, 0x023C, -1, 1},    {0x0242, 0x0242, -1, 1},     {0x0247, 0x024F, -1, 2},
    {0x0253, 0x0253, -210, 1},  {0x0254, 0x0254, -206, 1},   {0x0256, 0x0257, -205, 1},
    {0x0259, 0x0259, -202, 1},  {0x025B, 0x025B, -203, 1},   {0x0260, 0x0260, -205, 1},
    {0x0263, 0x0263, -207, 1},  {0x0268, 0x0268, -209, 1},   {0x0269, 0x0269, -211, 1},
    {0x026F, 0x026F, -211, 1},  {0x0272, 0x0272, -213, 1},   {0x0275, 0x0275, -214, 1},
    {0x0280, 0x0280, -218, 1},  {0x0283, 0x0283, -218, 1},   {0x0288, 0x0288, -218, 1},
    {0x0289, 0x0289, -69, 1},   {0x028A, 0x028B, -217, 1},   {0x028C, 0x028C, -71, 1},
    {0x0292, 0x0292, -219, 1},  {0x0345, 0x0345, 84, 1},     {0x0371, 0x0373, -1, 2},
    {0x0377, 0x0377, -1, 1},    {0x037B, 0x037D, 130, 1},    {0x03AC, 0x03AC, -38, 1},
    {0x03AD, 0x03AF, -37, 1},   {0x03B1, 0x03C1, -32, 1},    {0x03C2, 0x03C2, -31, 1},
    {0x03C3, 0x03CB, -32, 1},   {0x03CC, 0x03CC, -64, 1},    {0x03CD, 0x03CE, -63, 1},
    {0x03D0, 0x03D0, -62, 1},   {0x03D1, 0x03D1, -57, 1},    {0x03D5, 0x03D5, -47, 1},
    {0x03D6, 0x03D6, -54, 1},   {0x03D7, 0x03D7, -8, 1},     {0x03D9, 0x03EF, -1, 2},
    {0x03F0, 0x03F0, -86, 1},   {0x03F1, 0x03F1, -80, 1},    {0x03F2, 0x03F2, 7, 1},
    {0x03F3, 0x03F3, -116, 1},  {0x03F5, 0x03F5, -96, 1},    {0x03F8, 0x03F8, -1, 1},
    {0x03FB, 0x03FB, -1, 1},    {0x0430, 0x044F, -32, 1},    {0x0450, 0x045F, -80, 1},
    {0x0461, 0x0481, -1, 2},    {0x048B, 0x04BF, -1, 2},     {0x04C2, 0x04CE, -1, 2},
    {0x04CF, 0x04CF, -15, 1},   {0x04D1, 0x052F, -1, 2},     {0x0561, 0x0586, -48, 1},
    {0x10D0, 0x10FA, 3008, 1},  {0x10FD, 0x10FF, 3008, 1},   {0x13F8, 0x13FD, -8, 1},
    {0x1C88, 0x1C88, 35266, 1}, {0x1D79, 0x1D79, 35332, 1},  {0x1D7D, 0x1D7D, 3814, 1},
    {0x1D8E, 0x1D8E, 35384, 1}, {0x1E01, 0x1E95, -1, 2},     {0x1E9B, 0x1E9B, -59, 1},
    {0x1EA1, 0x1EFF, -1, 2},    {0x1F00, 0x1F07, 8, 1},      {0x1F10, 0x1F15, 8, 1},
    {0x1F20, 0x1F27, 8, 1},     {0x1F30, 0x1F37, 8, 1},      {0x1F40, 0x1F45, 8, 1},
    {0x1F51, 0x1F57, 8, 2},     {0x1F60, 0x1F67, 8, 1},      {0x1F70, 0x1F71, 74, 1},
    {0x1F72, 0x1F75, 86, 1},    {0x1F76, 0x1F77, 100, 1},    {0x1F78, 0x1F79, 128, 1},
    {0x1F7A, 0x1F7B, 112, 1},   {0x1F7C, 0x1F7D, 126, 1},    {0x1FB0, 0x1FB1, 8, 1},
    {0x1FD0, 0x1FD1, 8, 1},     {0x1FE0, 0x1FE1, 8, 1},      {0x1FE5, 0x1FE5, 7, 1},
    {0x214E, 0x214E, -28, 1},   {0x2170, 0x217F, -16, 1},    {0x2184, 0x2184, -1, 1},
    {0x24D0, 0x24E9, -26, 1},   {0x2C30, 0x2C5F, -48, 1},    {0x2C61, 0x2C61, -1, 1},
    {0x2C68, 0x2C6C, -1, 2},    {0x2C73, 0x2C73, -1, 1},     {0x2C76, 0x2C76, -1, 1},
    {0x2C81, 0x2CE3, -1, 2},    {0x2CEC, 0x2CEE, -1, 2},     {0x2CF3, 0x2CF3, -1, 1},
    {0x2D00, 0x2D25, -7264, 1}, {0x2D27, 0x2D27, -7264, 1},  {0x2D2D, 0x2D2D, -7264, 1},
    {0xA641, 0xA66D, -1, 2},    {0xA681, 0xA69B, -1, 2},     {0xA723, 0xA72F, -1, 2},
    {0xA733, 0xA76F, -1, 2},    {0xA77A, 0xA77C, -1, 2},     {0xA77F, 0xA787, -1, 2},
    {0xA78C, 0xA78C, -1, 1},    {0xA791, 0xA793, -1, 2},     {0xA794, 0xA794, 48, 1},
    {0xA797, 0xA7A9, -1, 2},    {0xA7B5, 0xA7C3, -1, 2},     {0xA7C8, 0xA7CA, -1, 2},
    {0xA7D1, 0xA7D1, -1, 1},    {0xA7D7, 0xA7D9, -1, 2},     {0xA7F6, 0xA7F6, -1, 1},
    {0xAB53, 0xAB53, -928, 1},  {0xAB70, 0xABBF, -38864, 1}, {0xFF41, 0xFF5A, -32, 1}};

char32_t foldCodePoint(char32_t cp) {
    const auto* run = std::upper_bound(std::begin(kFoldRuns), std::end(kFoldRuns), cp,
                                       [](char32_t c, const FoldRun& r) { return c < r.first; });
    if (run == std::begin(kFoldRuns)) return cp;
    --run;
    if (cp > run->last || (cp - run->first) % run->stride != 0) return cp;
    return static_cast<char32_t>(static_cast<std::int32_t>(cp) + run->delta);
}

}  // namespace

void foldCaseInPlace(std::string& text) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            if (b >= 'A' && b <= 'Z') text[i] = static_cast<char>(b + 32);
            ++i;
            continue;
        }
        // Letters beyond the Basic Multilingual Plane (four bytes) keep their case, as in Windows.
        std::size_t next = i;
        const auto cp = nextUtf8(text, next);
        if (!cp) {
            ++i;
            continue;
        }
        if (*cp < 0x10000) {
            const char32_t folded = foldCodePoint(*cp);
            if (folded != *cp) {
                std::string encoded;
                appendUtf8(encoded, folded);
                text.replace(i, encoded.size(), encoded);
            }
        }
        i = next;
    }
}

std::size_t utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b & 0xC0) != 0x80) ++units;  // a sequence begins here
        if (b >= 0xF0) ++units;           // beyond the BMP: a surrogate pair
    }
    return units;
}

std::string foldCase(std::string_view text) {
    std::string out(text);
    foldCaseInPlace(out);
    return out;
}

bool equalsFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a == b) return true;  // the usual case: the same spelling
    // Folding keeps every character's length, so the texts are walked side by side: ASCII
    // letters fold on the way, and only a difference outside ASCII needs the whole fold.
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (x == y) continue;
        if (x >= 0x80 || y >= 0x80) return foldCase(a) == foldCase(b);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

}  // namespace corvane::codec
