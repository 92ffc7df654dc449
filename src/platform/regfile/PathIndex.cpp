#include "platform/regfile/PathIndex.h"

#include <cstring>

#include "platform/files/TextCodec.h"

namespace corvane {

namespace {

// The hash of a text, its ASCII letters folded on the way; false in ascii when the text has
// bytes outside ASCII, whose letters this does not fold.
std::uint64_t asciiFoldedHash(std::string_view text, bool& ascii) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ULL;
    std::uint64_t h = text.size() * kMul;
    std::uint64_t highs = 0;
    for (std::size_t i = 0; i < text.size(); i += 8) {
        std::uint64_t x = 0;
        const std::size_t n = text.size() - i;
        if (n >= 8) {
            std::memcpy(&x, text.data() + i, 8);
        } else if (text.size() >= 8) {
            // The last few bytes, as the top of the last eight (a copy of a length known only
            // here would be a call).
            std::memcpy(&x, text.data() + text.size() - 8, 8);
            x >>= 8 * (8 - n);
        } else {
            for (std::size_t k = 0; k < n; ++k)
                x |= std::uint64_t{static_cast<unsigned char>(text[i + k])} << (8 * k);
        }
        const std::uint64_t high = x & kHigh;
        highs |= high;
        // ASCII A-Z become a-z; bytes at or above 0x80 lose bit 5, which is harmless.
        const std::uint64_t seven = x & ~kHigh;
        const std::uint64_t fromA = seven + (0x80 - 'A') * kOnes;
        const std::uint64_t pastZ = seven + (0x80 - 'Z' - 1) * kOnes;
        const std::uint64_t upper = (fromA ^ pastZ) & ~x & kHigh;
        x = (x | (upper >> 2)) & ~(high >> 2);
        h = (h ^ x) * kMul;
        h ^= h >> 29;
    }
    ascii = highs == 0;
    h ^= h >> 32;
    h *= kMul;
    h ^= h >> 29;
    return h;
}

}  // namespace

std::uint64_t foldedHash(std::string_view text) {
    // Most names are ASCII, folded on the fly; the rest are folded as a whole first.
    bool ascii = true;
    const std::uint64_t hash = asciiFoldedHash(text, ascii);
    if (ascii) return hash;
    return asciiFoldedHash(codec::foldCase(text), ascii);
}

namespace {

std::size_t slotsFor(std::size_t count) {
    std::size_t slots = 16;
    while (slots < count * 2)
        slots *= 2;
    return slots;
}

// Sixteen bits of filter for every entry the table is made for.
std::size_t filterWordsFor(std::size_t slots) {
    return slots / 8 < 8 ? 8 : slots / 8;
}

constexpr std::size_t kBatch = 1024;  // entries inserted before they are placed

}  // namespace

void PathIndex::reserve(std::size_t count) {
    const std::size_t slots = slotsFor(count);
    if (slots > m_slots.size()) grow(slots, nullptr);
    m_pending.reserve(kBatch);
}

std::size_t PathIndex::bytesFor(std::size_t count) {
    const std::size_t slots = slotsFor(count);
    return slots * sizeof(std::uint32_t) + filterWordsFor(slots) * sizeof(std::uint64_t) +
           kBatch * sizeof(Pending);
}

void PathIndex::grow(std::size_t slots, const HashOf& hashOf) {
    settle();
    Array<std::uint32_t> old = std::move(m_slots);
    m_slots = Array<std::uint32_t>(slots, kEmpty, old.get_allocator());
    const std::size_t words = filterWordsFor(slots);
    m_filter = Array<std::uint64_t>(words, 0, m_filter.get_allocator());
    m_used = 0;
    for (const std::uint32_t value : old) {
        if (value == kEmpty || value == kErased) continue;
        const std::uint64_t hash = hashOf(value);
        place(hash, value);
        m_filter[filterWord(hash)] |= filterBits(hash);
    }
}

void PathIndex::place(std::uint64_t hash, std::uint32_t value) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = home(hash, mask);
    while (m_slots[i] != kEmpty)
        i = (i + 1) & mask;
    m_slots[i] = value;
    ++m_used;
}

void PathIndex::settle() const {
    if (m_pending.empty()) return;
    const std::size_t mask = m_slots.size() - 1;
    constexpr std::size_t kAhead = 16;
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        if (i + kAhead < m_pending.size())
            __builtin_prefetch(&m_slots[home(m_pending[i + kAhead].hash, mask)]);
        place(m_pending[i].hash, m_pending[i].value);
    }
    m_pending.clear();
}

void PathIndex::insert(std::uint64_t hash, std::uint32_t value, const HashOf& hashOf) {
    if (m_slots.empty() || (m_used + m_pending.size() + 1) * 4 > m_slots.size() * 3)
        grow(m_slots.empty() ? 16 : m_slots.size() * 2, hashOf);
    m_filter[filterWord(hash)] |= filterBits(hash);
    m_pending.push_back(Pending{hash, value});
    if (m_pending.size() >= kBatch) settle();
}

void PathIndex::erase(std::uint64_t hash, std::uint32_t value) {
    if (m_slots.empty()) return;
    settle();
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = home(hash, mask);; i = (i + 1) & mask) {
        if (m_slots[i] == kEmpty) return;
        if (m_slots[i] == value) {
            m_slots[i] = kErased;
            return;
        }
    }
}

}  // namespace corvane
