#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace corvane {

// A hash of text that is the same for texts that differ only in letter case (the folding of
// codec::foldCase), computed without copying the text.
std::uint64_t foldedHash(std::string_view text);

// An open-addressing index from a hash to a number, for the registry's key paths. It stores only
// the hash and the number; callers confirm a candidate by comparing the texts themselves. A flat
// table keeps lookups to about one cache miss.
//
// Reading a large file inserts tens of thousands of keys, almost all new: a small filter answers
// "certainly not there" from the cache, and new entries are placed in batches whose cache misses
// overlap, rather than one miss at a time.
class PathIndex {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    void reserve(std::size_t count);

    // False when no entry with this hash was inserted; true when one may have been.
    bool mayContain(std::uint64_t hash) const {
        if (m_filter.empty()) return true;
        const std::uint64_t bits = filterBits(tagOf(hash));
        return (m_filter[filterWord(tagOf(hash))] & bits) == bits;
    }

    // The first entry with this hash that matches, or kNone.
    template <typename Matches>
    std::uint32_t find(std::uint64_t hash, Matches&& matches) const {
        if (m_slots.empty() || !mayContain(hash)) return kNone;
        settle();
        const std::size_t mask = m_slots.size() - 1;
        const std::uint32_t tag = tagOf(hash);
        for (std::size_t i = tag & mask;; i = (i + 1) & mask) {
            const Slot& slot = m_slots[i];
            if (slot.value == kEmpty) return kNone;
            if (slot.tag == tag && slot.value != kErased && matches(slot.value)) return slot.value;
        }
    }

    void insert(std::uint64_t hash, std::uint32_t value);
    void erase(std::uint64_t hash, std::uint32_t value);

private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;
    static constexpr std::uint32_t kErased = UINT32_MAX - 1;
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t value = kEmpty;
    };

    static std::uint32_t tagOf(std::uint64_t hash) {
        return static_cast<std::uint32_t>(hash >> 32);
    }
    static std::uint64_t filterBits(std::uint32_t tag) {
        return (std::uint64_t{1} << (tag & 63)) | (std::uint64_t{1} << ((tag >> 26) & 63));
    }
    std::size_t filterWord(std::uint32_t tag) const {
        return ((tag * 0x9E3779B1u) >> 8) & (m_filter.size() - 1);
    }

    void grow(std::size_t slots);
    void place(const Slot& slot) const;
    void settle() const;

    mutable std::vector<Slot> m_slots;
    mutable std::size_t m_used = 0;       // live and erased slots
    mutable std::vector<Slot> m_pending;  // inserted, not yet placed
    std::vector<std::uint64_t> m_filter;
};

}  // namespace corvane
