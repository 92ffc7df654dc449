// Writing a RegistryTree back as a registry export.

#include <string>
#include <vector>

#include "platform/files/TextCodec.h"
#include "platform/regfile/RegSyntax.h"
#include "platform/regfile/RegistryTree.h"

namespace corvane {

using namespace regsyntax;

// Gathers the file's bytes and hands them on in pieces. Text the tree holds in memory is UTF-8
// and is turned into the file's encoding; stretches of the source go out as they are, joined
// into one copy where they follow each other in the source.
class RegistryTree::Output {
public:
    Output(const RegistryTree& tree, const std::function<bool(std::string_view)>& put)
        : m_tree(tree), m_put(put), m_utf16(tree.m_encoding == RegFileEncoding::Utf16Le) {
        if (m_utf16) m_bytes = "\xFF\xFE";
        if (tree.m_encoding == RegFileEncoding::Utf8Bom) m_bytes = "\xEF\xBB\xBF";
    }

    void text(std::string_view utf8) {
        endStretch();
        if (m_tree.m_encoding == RegFileEncoding::Ansi && !codec::isAscii(utf8)) {
            // Every name and text was checked to fit the code page when it came in.
            append(codec::utf8ToCp1252(utf8).value_or(std::string{}));
        } else {
            append(utf8);
        }
    }

    void stretch(std::size_t begin, std::size_t end) {
        if (m_stretchEnd != begin) endStretch();
        if (m_stretchEnd == kNone) m_stretchBegin = begin;
        m_stretchEnd = end;
    }

    std::string finish() {
        endStretch();
        flush(true);
        return m_error;
    }

private:
    static constexpr std::size_t kNone = SIZE_MAX;

    void append(std::string_view bytes) {
        (m_utf16 ? m_utf8 : m_bytes) += bytes;
        if (m_bytes.size() + m_utf8.size() >= kPieceSize) flush(false);
    }

    void endStretch() {
        if (m_stretchEnd == kNone) return;
        const std::size_t begin = m_stretchBegin;
        const std::size_t end = m_stretchEnd;
        m_stretchEnd = kNone;
        // Source bytes are in the file's own encoding, except for a UTF-16 file, whose text was
        // turned into UTF-8 when it was read.
        if (m_error.empty() &&
            !m_tree.m_source->scan(begin, end, kPieceSize,
                                   [this](std::string_view piece) { append(piece); })) {
            m_error = "the file was changed while it was in use";
            m_tree.m_sourceLost = true;
        }
    }

    void flush(bool all) {
        if (m_utf16) {
            // A piece may end inside a character; lines never do.
            const std::size_t cut = all ? m_utf8.size() : m_utf8.rfind('\n') + 1;
            if (cut == 0 && !all) return;
            m_bytes += codec::utf8ToUtf16le(std::string_view(m_utf8).substr(0, cut))
                           .value_or(std::string{});
            m_utf8.erase(0, cut);
        }
        if (m_error.empty() && !m_bytes.empty() && !m_put(m_bytes)) m_error = "cannot write";
        m_bytes.clear();
    }

    const RegistryTree& m_tree;
    const std::function<bool(std::string_view)>& m_put;
    bool m_utf16;
    std::string m_bytes;  // in the file's encoding
    std::string m_utf8;   // for a UTF-16 file: text not yet turned into UTF-16
    std::size_t m_stretchBegin = 0;
    std::size_t m_stretchEnd = kNone;
    std::string m_error;
};

std::uint32_t RegistryTree::textEnd(std::uint32_t key) const {
    // Keys read from the source are placed in the order of their headers, and each one's text
    // runs up to the next one's; the last one's up to the lines after the last key.
    for (std::size_t slot = m_keys[key].orderSlot + 1; slot < m_order.size(); ++slot) {
        const Key& next = m_keys[m_order[slot]];
        if (next.orderSlot == slot && next.textBegin != 0) return next.textBegin;
    }
    return static_cast<std::uint32_t>(m_trailBegin);
}

std::string RegistryTree::serialize() const {
    std::string out;
    write([&out](std::string_view piece) {
        out += piece;
        return true;
    });
    return out;
}

std::string RegistryTree::write(const std::function<bool(std::string_view)>& put) const {
    const std::string_view eol = m_crlf ? "\r\n" : "\n";
    Output out(*this, put);

    // A key that only deeper keys' headers implied gets a header of its own once none of those
    // is left, so that it outlives their deletion.
    std::vector<bool> implied(m_keys.size());
    for (std::uint32_t index = 0; index < m_keys.size(); ++index) {
        if (!m_keys[index].alive() || !m_keys[index].hasHeader()) continue;
        for (std::uint32_t p = m_keys[index].parent; p != kNoKey && !implied[p];
             p = m_keys[p].parent) {
            implied[p] = true;
        }
    }

    out.text(m_version == RegFileVersion::Regedit4 ? kHeader4 : kHeader5);
    out.text(eol);
    const std::size_t sourceSize = m_source ? m_source->size() : 0;
    for (std::size_t slot = 0; slot < m_order.size(); ++slot) {
        const std::uint32_t index = m_order[slot];
        const Key& key = m_keys[index];
        if (!key.alive() || key.orderSlot != slot) continue;
        if (key.hasHeader() && key.inSource()) {
            // Not changed since it was read: the file's own text.
            const std::uint32_t end = textEnd(index);
            out.stretch(key.textBegin, end);
            // The file's last line had no line end; one that ends in a carriage return only
            // lacks its line feed.
            if (end == sourceSize && !m_endsWithNewline) out.text(m_endsWithCr ? "\n" : eol);
            continue;
        }
        const ValueSet* set = key.values == kNoKey ? nullptr : &m_sets[key.values];
        if (key.hasHeader()) {
            if (set != nullptr) out.text(set->decor);
        } else if (implied[index]) {
            continue;
        } else {
            out.text(eol);  // the blank line before every key
        }
        out.text("[");
        out.text(keyPath(index));
        out.text("]");
        out.text(eol);
        if (set == nullptr) continue;
        for (const Value& v : set->values) {
            out.text(v.decor);
            // Each line of the value with the file's line end, in place of the one it was read
            // with.
            std::size_t start = 0;
            while (true) {
                const std::size_t nl = v.raw.find('\n', start);
                std::string_view line =
                    v.raw.substr(start, nl == std::string_view::npos ? nl : nl - start);
                if (nl != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
                out.text(line);
                out.text(eol);
                if (nl == std::string_view::npos) break;
                start = nl + 1;
            }
        }
    }
    if (m_source && m_trailBegin < sourceSize) out.stretch(m_trailBegin, sourceSize);
    out.text(m_trailingDecor);
    return out.finish();
}

}  // namespace corvane
