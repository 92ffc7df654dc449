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
// table keeps lookups to about one cache miss, which matters when a large file is read.
class PathIndex {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    void reserve(std::size_t count);

    // The first entry with this hash that matches, or kNone.
    template <typename Matches>
    std::uint32_t find(std::uint64_t hash, Matches&& matches) const {
        if (m_slots.empty()) return kNone;
        const std::size_t mask = m_slots.size() - 1;
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
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
    void grow(std::size_t slots);

    std::vector<Slot> m_slots;
    std::size_t m_used = 0;  // live and erased slots
};

}  // namespace corvane
