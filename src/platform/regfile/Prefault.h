#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace corvane {

// Asks the system to make a stretch of fresh memory present in one call rather than a page fault
// at a time: reading a large registry file mostly fills fresh memory, and a fault per page costs
// more than the page (Linux 5.14 and later; elsewhere, and on failure, nothing happens).
inline void prefault([[maybe_unused]] const void* begin, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__)
    constexpr std::uintptr_t kPage = 4096;
    constexpr int kPopulateWrite = 23;  // MADV_POPULATE_WRITE, newer than some system headers
    const auto from = (reinterpret_cast<std::uintptr_t>(begin) + kPage - 1) & ~(kPage - 1);
    const auto to = (reinterpret_cast<std::uintptr_t>(begin) + bytes) & ~(kPage - 1);
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, kPopulateWrite);
#endif
}

}  // namespace corvane
