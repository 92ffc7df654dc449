// Writing a RegistryTree back as a registry export.

#include <string>

#include "platform/files/TextCodec.h"
#include "platform/regfile/RegSyntax.h"
#include "platform/regfile/RegistryTree.h"

namespace corvane {

using namespace regsyntax;

std::string RegistryTree::serialize() const {
    const std::string_view eol = m_crlf ? "\r\n" : "\n";
    std::string out;
    std::size_t estimate = 64;
    for (const Key& key : m_keys) {
        estimate += key.path.size() + key.decor.size() + 8;
        for (const Value& v : key.values)
            estimate += v.raw.size() + v.decor.size() + 4;
    }
    out.reserve(estimate + estimate / 16);

    auto lines = [&](std::string_view text, std::uint32_t count) {
        if (count == 0) return;
        std::size_t start = 0;
        while (true) {
            const std::size_t nl = text.find('\n', start);
            out += text.substr(start, nl == std::string_view::npos ? nl : nl - start);
            out += eol;
            if (nl == std::string_view::npos) break;
            start = nl + 1;
        }
    };

    out += m_version == RegFileVersion::Regedit4 ? kHeader4 : kHeader5;
    out += eol;
    for (const std::uint32_t index : m_order) {
        const Key& key = m_keys[index];
        if (!key.alive) continue;
        lines(key.decor, key.decorLines);
        out += '[';
        out += key.path;
        out += ']';
        out += eol;
        for (const Value& v : key.values) {
            lines(v.decor, v.decorLines);
            lines(v.raw, 1);
        }
    }
    lines(m_trailingDecor, m_trailingDecorLines);

    switch (m_encoding) {
        case RegFileEncoding::Ansi:
            if (codec::isAscii(out)) return out;
            // Every name and text was checked to fit the code page when it came in.
            return codec::utf8ToCp1252(out).value_or(std::string{});
        case RegFileEncoding::Utf16Le:
            return "\xFF\xFE" + codec::utf8ToUtf16le(out).value_or(std::string{});
        case RegFileEncoding::Utf8Bom:
            return "\xEF\xBB\xBF" + out;
        case RegFileEncoding::Utf8:
            break;
    }
    return out;
}

}  // namespace corvane
