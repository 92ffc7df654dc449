#include "platform/regfile/BulkAllocator.h"

#if defined(__linux__)
#include <sys/mman.h>

#include <cstdint>
#endif

namespace corvane::bulk {

namespace {

#if defined(__linux__)
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t mappedBytes(std::size_t bytes) {
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}
#endif

}  // namespace

void* allocate(std::size_t bytes) {
#if defined(__linux__)
    if (bytes >= kLargeBytes) {
        if (bytes > SIZE_MAX - 2 * kHugePage) throw std::bad_alloc();
        const std::size_t size = mappedBytes(bytes);
        // Mapped with a huge page's worth to spare, so that the part kept begins on one.
        void* raw = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (raw == MAP_FAILED) throw std::bad_alloc();
        const auto begin = reinterpret_cast<std::uintptr_t>(raw);
        const auto aligned = (begin + kHugePage - 1) & ~(kHugePage - 1);
        if (aligned > begin) ::munmap(raw, aligned - begin);
        if (const std::size_t after = kHugePage - (aligned - begin); after > 0)
            ::munmap(reinterpret_cast<void*>(aligned + size), after);
        // Without huge pages (switched off, or an older system) the memory is simply mapped.
        ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
        return reinterpret_cast<void*>(aligned);
    }
#endif
    return ::operator new(bytes);
}

void deallocate(void* memory, std::size_t bytes) noexcept {
#if defined(__linux__)
    if (bytes >= kLargeBytes) {
        ::munmap(memory, mappedBytes(bytes));
        return;
    }
#endif
    ::operator delete(memory);
}

}  // namespace corvane::bulk
