#include "platform/regfile/BulkAllocator.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
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

std::size_t usableBytes(std::size_t bytes) noexcept {
#if defined(__linux__)
    if (bytes >= kLargeBytes && bytes <= SIZE_MAX - 2 * kHugePage) return mappedBytes(bytes);
#endif
    return bytes;
}

void deallocate(void* memory, [[maybe_unused]] std::size_t bytes) noexcept {
#if defined(__linux__)
    if (bytes >= kLargeBytes) {
        ::munmap(memory, mappedBytes(bytes));
        return;
    }
#endif
    ::operator delete(memory);
}

Arena::Arena(std::size_t bytes)
    : m_begin(static_cast<char*>(allocate(usableBytes(bytes)))), m_size(usableBytes(bytes)) {}

Arena::~Arena() {
    deallocate(m_begin, m_size);
}

void* Arena::take(std::size_t bytes, std::size_t alignment) noexcept {
    const std::size_t start = (m_used + alignment - 1) / alignment * alignment;
    if (start > m_size || bytes > m_size - start) return nullptr;
    m_used = start + bytes;
    return m_begin + start;
}

bool Arena::owns(const void* memory) const noexcept {
    const auto at = reinterpret_cast<std::uintptr_t>(memory);
    const auto begin = reinterpret_cast<std::uintptr_t>(m_begin);
    return at >= begin && at - begin < m_size;
}

void Arena::giveBack(void* memory, std::size_t bytes) noexcept {
    char* const at = static_cast<char*>(memory);
    if (at + bytes == m_begin + m_used) m_used = static_cast<std::size_t>(at - m_begin);
}

}  // namespace corvane::bulk
