#include "platform/regfile/RegSyntax.h"

#include <algorithm>

namespace corvane::regsyntax {

DataShape classifyData(std::string_view data) {
    DataShape shape;
    const std::string_view trimmed = trimRight(data);
    if (trimmed == "-") {
        shape.isDelete = true;
        return shape;
    }
    if (!data.empty() && data.front() == '"') {
        const std::size_t i = closingQuote(data, 1);
        if (i == std::string_view::npos) {
            shape.error = "the text value has no closing quote";
        } else if (!trimRight(data.substr(i + 1)).empty()) {
            shape.error = "unexpected text after the closing quote";
        }
        shape.type = win::kRegSz;
        return shape;
    }
    if (startsWithFolded(data, "dword:")) {
        const std::string_view digits = trimRight(data.substr(6));
        bool ok = !digits.empty() && digits.size() <= 8;
        for (const char c : digits)
            ok = ok && hexDigit(c) >= 0;
        if (!ok) shape.error = "bad dword value (expected up to 8 hex digits)";
        shape.type = win::kRegDword;
        return shape;
    }
    if (startsWithFolded(data, "hex")) {
        std::size_t list = 0;
        if (const char* error = checkHexHead(data, shape.type, list)) {
            shape.error = error;
            return shape;
        }
        shape.error = scanHexBytes(data.substr(list), [](char) {});
        return shape;
    }
    shape.error = "unrecognised value data";
    return shape;
}

DataShape shapeOf(std::string_view data) {
    DataShape shape;
    if (!data.empty() && data.front() == '"') {
        shape.type = win::kRegSz;
    } else if (startsWithFolded(data, "dword:")) {
        shape.type = win::kRegDword;
    } else if (startsWithFolded(data, "hex")) {
        std::size_t list = 0;
        checkHexHead(data, shape.type, list);
    } else {
        shape.isDelete = true;
    }
    return shape;
}

const char* checkHexHead(std::string_view data, std::uint32_t& type, std::size_t& listStart) {
    std::size_t i = 3;
    type = win::kRegBinary;
    if (i < data.size() && data[i] == '(') {
        const std::size_t close = data.find(')', i);
        const std::string_view num = close == std::string_view::npos
                                         ? std::string_view{}
                                         : data.substr(i + 1, close - i - 1);
        bool ok = !num.empty() && num.size() <= 8;
        type = 0;
        for (const char c : num) {
            ok = ok && hexDigit(c) >= 0;
            type = type * 16 + static_cast<std::uint32_t>(std::max(hexDigit(c), 0));
        }
        if (!ok) return "bad type number in hex(...)";
        i = close + 1;
    }
    if (i >= data.size() || data[i] != ':') return "expected ':' after hex";
    listStart = i + 1;
    return nullptr;
}

std::string unescapeQuoted(std::string_view inner) {
    std::size_t slash = inner.find('\\');
    if (slash == std::string_view::npos) return std::string(inner);
    // Paths are full of escaped backslashes: the text between escapes is copied run by run.
    std::string out;
    out.reserve(inner.size());
    std::size_t from = 0;
    while (slash != std::string_view::npos) {
        if (slash + 1 < inner.size() && (inner[slash + 1] == '\\' || inner[slash + 1] == '"')) {
            out.append(inner.substr(from, slash - from));
            from = slash + 1;  // the escaped character begins the next run
            slash = inner.find('\\', slash + 2);
        } else {
            slash = inner.find('\\', slash + 1);
        }
    }
    out.append(inner.substr(from));
    return out;
}

std::string quote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::string hexData(std::string_view prefix, std::size_t column, std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(prefix);
    column += prefix.size();
    out.reserve(out.size() + bytes.size() * 3 + bytes.size() / 20 * 5);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool last = i + 1 == bytes.size();
        const std::size_t width = last ? 2 : 3;
        if (i > 0 && column + width > 77) {
            out += "\\\n  ";
            column = 2;
        }
        const auto b = static_cast<unsigned char>(bytes[i]);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
        if (!last) out += ',';
        column += width;
    }
    return out;
}

std::string reasonForBadUtf16(std::string_view bytes, int& line) {
    line = 1;
    const std::size_t n = bytes.size() / 2;
    for (std::size_t k = 0; k < n; ++k) {
        const unsigned u = static_cast<unsigned char>(bytes[2 * k]) |
                           (static_cast<unsigned char>(bytes[2 * k + 1]) << 8);
        if (u == '\n') ++line;
        if (u >= 0xD800 && u <= 0xDFFF) break;
    }
    return bytes.size() % 2 ? "the file is cut off inside a UTF-16 character"
                            : "the file holds text that is not valid UTF-16";
}

}  // namespace corvane::regsyntax
