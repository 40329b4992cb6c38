#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "model/BlockPool.h"
#include "model/Records.h"

namespace kov {
namespace {

// A slot whose every detail array tells which slot it is.
void Mark(SimObjectRecord& slot, int n) {
    slot.SimulationNo = static_cast<std::int16_t>(n);
    slot.Detail5.fill(n);
    slot.Detail8.fill(n + 0.5);
}

std::vector<int> Numbers(const SimSlots<SimObjectRecord>& slots) {
    std::vector<int> numbers;
    for (const SimObjectRecord& slot : slots) {
        EXPECT_EQ(slot.Detail5[16], slot.SimulationNo);
        EXPECT_EQ(slot.Detail8[1], slot.SimulationNo + 0.5);
        numbers.push_back(slot.SimulationNo);
    }
    return numbers;
}

TEST(SimSlots, GrowsInStepsWithoutMovingFilledSlots) {
    ObjectRecord object;
    EXPECT_EQ(object.Sims.capacity(), 0u);
    std::vector<const SimObjectRecord*> addresses;
    std::vector<std::size_t> capacities;
    std::vector<int> numbers;
    for (int n = 1; n <= MaxSimulations; ++n) {
        SimObjectRecord& slot = object.Sims.emplace_back();
        EXPECT_EQ(slot.Detail1, PointArray<std::int32_t>{}) << "slot " << n << " starts empty";
        EXPECT_TRUE(slot.ObjectName.IsBlank());
        Mark(slot, n);
        addresses.push_back(&slot);
        capacities.push_back(object.Sims.capacity());
        numbers.push_back(n);
    }
    EXPECT_EQ(Numbers(object.Sims), numbers);
    for (int n = 1; n <= MaxSimulations; ++n) {
        EXPECT_EQ(&object.Sim(n), addresses[static_cast<std::size_t>(n - 1)]) << "slot " << n << " moved";
        EXPECT_EQ(object.Sim(n).Detail5[3], n);
    }
    EXPECT_EQ(std::set<std::size_t>(capacities.begin(), capacities.end()), (std::set<std::size_t>{4, 8, 16, 25}));
    EXPECT_EQ(object.SimCount(), MaxSimulations);
    EXPECT_THROW(object.Sims.emplace_back(), std::length_error);
    EXPECT_THROW(object.Sim(MaxSimulations + 1), std::out_of_range);
    EXPECT_THROW(object.Sim(0), std::out_of_range);
}

TEST(BlockPool, HandsOutSeparateBlocksAndReturnsEmptyChunks) {
    BlockPool pool;
    std::vector<std::pair<char*, std::size_t>> blocks;
    for (std::size_t size : {872u * 4, 872u * 8, 872u * 9, 24u, 1u}) {
        for (int i = 0; i < 700; ++i) {  // more than one chunk of the largest
            auto* block = static_cast<char*>(pool.Allocate(size));
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 16, 0u);
            std::memset(block, static_cast<int>(blocks.size() % 251), size);
            blocks.emplace_back(block, size);
        }
    }
    const std::size_t held = pool.ChunksHeld();
    EXPECT_GE(held, 5u);
    std::vector<std::pair<char*, std::size_t>> sorted = blocks;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 1; i < sorted.size(); ++i)
        EXPECT_LE(sorted[i - 1].first + sorted[i - 1].second, sorted[i].first) << "blocks overlap";
    for (std::size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(blocks[i].first[blocks[i].second - 1], static_cast<char>(i % 251)) << "block " << i;

    // Every other block freed, then taken again: no new chunk is needed.
    for (std::size_t i = 0; i < blocks.size(); i += 2) pool.Free(blocks[i].first, blocks[i].second);
    for (std::size_t i = 0; i < blocks.size(); i += 2)
        blocks[i].first = static_cast<char*>(pool.Allocate(blocks[i].second));
    EXPECT_EQ(pool.ChunksHeld(), held);

    for (const auto& [block, size] : blocks) pool.Free(block, size);
    EXPECT_EQ(pool.ChunksHeld(), 0u);

    // Blocks too big for a chunk come from the heap.
    void* big = pool.Allocate(BlockPool::MaxChunkBlock + 1);
    EXPECT_EQ(pool.ChunksHeld(), 0u);
    pool.Free(big, BlockPool::MaxChunkBlock + 1);
}

// A report read on a worker is dropped by the window's thread: its blocks go
// back to the pool that handed them out, and the pool of a thread that has
// ended serves the next thread rather than a new pool being made for it.
TEST(BlockPool, BlocksGoBackToTheirThreadsPoolWhichTheNextThreadTakes) {
    constexpr std::size_t size = 64 << 10;
    BlockPool& ownPool = BlockPool::ForThisThread();
    std::vector<void*> blocks;
    BlockPool* workerPool = nullptr;
    std::thread([&] {
        workerPool = &BlockPool::ForThisThread();
        for (int i = 0; i < 40; ++i) blocks.push_back(workerPool->Allocate(size));
    }).join();
    ASSERT_NE(workerPool, &ownPool);
    EXPECT_EQ(workerPool->ChunksHeld(), 2u);
    const std::size_t ownHeld = ownPool.ChunksHeld();

    for (void* block : blocks) BlockPool::Free(block, size);
    EXPECT_EQ(workerPool->ChunksHeld(), 0u);
    EXPECT_EQ(ownPool.ChunksHeld(), ownHeld);

    BlockPool* nextPool = nullptr;
    std::thread([&] { nextPool = &BlockPool::ForThisThread(); }).join();
    EXPECT_EQ(nextPool, workerPool);
}

}  // namespace
}  // namespace kov
