#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/regfile/BulkAllocator.h"

namespace corvane {

// A hash of text that is the same for texts that differ only in letter case (the folding of
// codec::foldCase), computed without copying the text.
std::uint64_t foldedHash(std::string_view text);

// An open-addressing index from a hash to a number, for the registry's key paths. It stores only
// the numbers, placed by their hashes; callers confirm a candidate by comparing the texts
// themselves, and give the hash of a number when the table grows.
//
// Reading a large file inserts tens of thousands of keys, almost all new: a small filter answers
// "certainly not there" from the cache, and new entries are placed in batches whose cache misses
// overlap, rather than one miss at a time.
class PathIndex {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    PathIndex() = default;
    explicit PathIndex(const BulkAllocator<std::uint32_t>& memory)
        : m_slots(memory), m_pending(memory), m_filter(memory) {}

    void reserve(std::size_t count);
    // The memory reserve takes for count entries.
    static std::size_t bytesFor(std::size_t count);

    // False when no entry with this hash was inserted; true when one may have been.
    bool mayContain(std::uint64_t hash) const {
        if (m_filter.empty()) return true;
        const std::uint64_t bits = filterBits(hash);
        return (m_filter[filterWord(hash)] & bits) == bits;
    }

    // The first entry with this hash that matches, or kNone.
    template <typename Matches>
    std::uint32_t find(std::uint64_t hash, Matches&& matches) const {
        if (m_slots.empty() || !mayContain(hash)) return kNone;
        settle();
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = home(hash, mask);; i = (i + 1) & mask) {
            const std::uint32_t value = m_slots[i];
            if (value == kEmpty) return kNone;
            if (value != kErased && matches(value)) return value;
        }
    }

    using HashOf = std::function<std::uint64_t(std::uint32_t)>;
    // hashOf gives the hash of an entry already in, for when the table grows.
    void insert(std::uint64_t hash, std::uint32_t value, const HashOf& hashOf);
    void erase(std::uint64_t hash, std::uint32_t value);

private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;
    static constexpr std::uint32_t kErased = UINT32_MAX - 1;
    struct Pending {
        std::uint64_t hash;
        std::uint32_t value;
    };

    static std::size_t home(std::uint64_t hash, std::size_t mask) {
        return static_cast<std::size_t>(hash >> 32) & mask;
    }
    static std::uint64_t filterBits(std::uint64_t hash) {
        return (std::uint64_t{1} << (hash & 63)) | (std::uint64_t{1} << ((hash >> 6) & 63));
    }
    std::size_t filterWord(std::uint64_t hash) const {
        return static_cast<std::size_t>(hash >> 12) & (m_filter.size() - 1);
    }

    void grow(std::size_t slots, const HashOf& hashOf);
    void place(std::uint64_t hash, std::uint32_t value) const;
    void settle() const;

    template <typename T>
    using Array = std::vector<T, BulkAllocator<T>>;

    mutable Array<std::uint32_t> m_slots;
    mutable std::size_t m_used = 0;    // live and erased slots
    mutable Array<Pending> m_pending;  // inserted, not yet placed
    Array<std::uint64_t> m_filter;
};

}  // namespace corvane
