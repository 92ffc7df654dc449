// Writing a RegistryTree back as a registry export.

#include <string>
#include <vector>

#include "platform/files/TextCodec.h"
#include "platform/regfile/RegSyntax.h"
#include "platform/regfile/RegistryTree.h"

namespace corvane {

using namespace regsyntax;

std::string RegistryTree::serialize() const {
    const std::string_view eol = m_crlf ? "\r\n" : "\n";
    std::string out;
    std::size_t estimate = 64 + m_text.size();
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

    // A key that only deeper keys' headers implied gets a header of its own once none of those
    // is left, so that it outlives their deletion.
    std::vector<bool> implied(m_keys.size());
    for (std::uint32_t index = 0; index < m_keys.size(); ++index) {
        if (!m_keys[index].alive || !m_keys[index].hasHeader) continue;
        for (std::uint32_t p = m_keys[index].parent; p != kNoKey && !implied[p];
             p = m_keys[p].parent) {
            implied[p] = true;
        }
    }

    out += m_version == RegFileVersion::Regedit4 ? kHeader4 : kHeader5;
    out += eol;
    for (std::size_t slot = 0; slot < m_order.size(); ++slot) {
        const std::uint32_t index = m_order[slot];
        const Key& key = m_keys[index];
        if (!key.alive || key.orderSlot != slot) continue;
        if (key.hasHeader && key.textEnd > key.textBegin && !key.touched) {
            // Read by parseLazily and not changed since: the file's own text.
            const std::string_view text =
                std::string_view(m_text).substr(key.textBegin, key.textEnd - key.textBegin);
            out += text;
            if (text.back() != '\n') out += eol;
            continue;
        }
        if (key.hasHeader) {
            out += key.decor;
        } else if (implied[index]) {
            continue;
        } else {
            out += eol;  // the blank line before every key
        }
        out += '[';
        out += key.path;
        out += ']';
        out += eol;
        for (const Value& v : key.values) {
            out += v.decor;
            lines(v.raw, 1);
        }
    }
    out += m_trailingDecor;

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
