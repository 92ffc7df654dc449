#include "platform/regfile/BulkAllocator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace corvane {
namespace {

// Every byte asked for can be written and read back, on both sides of the size from which
// memory is mapped on its own, and where the mapping is trimmed to a huge page's boundary.
TEST(BulkAllocator, EveryByteOfEverySizeIsUsable) {
    const std::size_t big = bulk::kLargeBytes;
    for (const std::size_t bytes : {std::size_t{1}, big - 1, big, big + 1, std::size_t{2} << 20,
                                    (std::size_t{2} << 20) + 1, (std::size_t{5} << 20) + 4095}) {
        SCOPED_TRACE(bytes);
        BulkAllocator<unsigned char> allocator;
        unsigned char* memory = allocator.allocate(bytes);
        for (std::size_t i = 0; i < bytes; i += 4096)
            memory[i] = static_cast<unsigned char>(i >> 12);
        memory[bytes - 1] = 0xA5;
        for (std::size_t i = 0; i < bytes - 1; i += 4096)
            ASSERT_EQ(memory[i], static_cast<unsigned char>(i >> 12));
        EXPECT_EQ(memory[bytes - 1], 0xA5);
#if defined(__linux__)
        // Only memory that begins on a huge page's boundary can be given huge pages.
        if (bytes >= big) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(memory) % (std::uintptr_t{2} << 20), 0u);
        }
#endif
        allocator.deallocate(memory, bytes);
    }
}

TEST(BulkAllocator, AnArrayKeepsItsElementsAsItGrowsPastTheMappedSize) {
    std::vector<std::uint32_t, BulkAllocator<std::uint32_t>> numbers;
    const std::uint32_t count = 3 * bulk::kLargeBytes / sizeof(std::uint32_t);
    for (std::uint32_t i = 0; i < count; ++i)
        numbers.push_back(i * 7);
    for (std::uint32_t i = 0; i < count; i += 997)
        ASSERT_EQ(numbers[i], i * 7);
    numbers.resize(10);
    numbers.shrink_to_fit();
    EXPECT_EQ(numbers[9], 63u);
}

TEST(BulkAllocator, ASizeBeyondMemoryIsRefused) {
    BulkAllocator<std::uint64_t> allocator;
    EXPECT_THROW(static_cast<void>(allocator.allocate(SIZE_MAX / 4)), std::bad_alloc);
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// Arrays that share an arena keep their elements apart, and go on growing once it is used up;
// whichever array goes last, the arena's memory stays valid until then.
TEST(BulkArena, ArraysSharingAnArenaKeepTheirOwnElements) {
    using Numbers = std::vector<std::uint32_t, BulkAllocator<std::uint32_t>>;
    std::vector<Numbers> arrays;
    {
        const BulkAllocator<std::uint32_t> memory(std::make_shared<bulk::Arena>(64 * 1024));
        for (int a = 0; a < 5; ++a)
            arrays.emplace_back(memory);
    }
    // Grown in turns, so that each outgrows its place in the arena and the arena runs out.
    for (std::uint32_t i = 0; i < 20000; ++i) {
        for (std::size_t a = 0; a < arrays.size(); ++a)
            arrays[a].push_back(i * 10 + static_cast<std::uint32_t>(a));
    }
    // An allocator moved from stays what it was.
    BulkAllocator<std::uint32_t> source = arrays[4].get_allocator();
    const BulkAllocator<std::uint32_t> taken = std::move(source);
    EXPECT_TRUE(source == taken);
    EXPECT_TRUE(source.arena != nullptr);
    Numbers moved = std::move(arrays[2]);
    arrays[2] = Numbers(arrays[0].get_allocator());
    arrays[3] = arrays[1];
    for (std::uint32_t i = 0; i < 20000; ++i) {
        ASSERT_EQ(arrays[0][i], i * 10);
        ASSERT_EQ(arrays[1][i], i * 10 + 1);
        ASSERT_EQ(moved[i], i * 10 + 2);
        ASSERT_EQ(arrays[3][i], i * 10 + 1);
        ASSERT_EQ(arrays[4][i], i * 10 + 4);
    }
    arrays.clear();
    EXPECT_EQ(moved.back(), 199992u);
}

TEST(BulkArena, MemoryGivenBackLastIsTakenAgain) {
    bulk::Arena arena(4096);
    void* first = arena.take(100, 8);
    void* second = arena.take(100, 8);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(arena.owns(second));
    arena.giveBack(second, 100);
    EXPECT_EQ(arena.take(200, 8), second);
    arena.giveBack(first, 100);  // not the last: stays taken
    EXPECT_NE(arena.take(8, 8), first);
    EXPECT_EQ(arena.take(8192, 8), nullptr);
    int elsewhere = 0;
    EXPECT_FALSE(arena.owns(&elsewhere));
}

}  // namespace
}  // namespace corvane
