#pragma once
// Memory for the simulation results of objects: a full collection attaches
// 25 simulations to 5000 objects, about 110 MB of slots written once each.
// Taken from the general heap that memory arrives one 4 KB page at a time,
// and on a virtual machine the page faults cost more than reading the
// reports. The pool carves fixed-size blocks out of 2 MB chunks aligned to
// 2 MB and advised for huge pages (Linux), so a chunk arrives in one fault.
// A chunk goes back to the system once its last block is freed, so the
// memory held follows the results loaded; only the last few chunks emptied
// are kept for the next blocks, since a trend reads a month of reports one
// after another, each filling and emptying about one chunk of objects, and
// a fresh chunk costs a page fault and 2 MB zeroed by the system.

#include <cstddef>
#include <mutex>

namespace kov {

class BlockPool {
public:
    static constexpr std::size_t ChunkSize = std::size_t{2} << 20;
    // Blocks up to this size come from chunks; larger ones from the heap.
    static constexpr std::size_t MaxChunkBlock = ChunkSize / 16;

    // The one pool of the process; safe to use from any thread, and usable
    // until the very end of the program (it is never destroyed).
    static BlockPool& Shared();

    // A block of at least `size` bytes, aligned to 16. Throws std::bad_alloc.
    void* Allocate(std::size_t size);
    // Returns a block; `size` is the size it was allocated with.
    void Free(void* block, std::size_t size) noexcept;

    // Chunks holding blocks (the few kept empty are not counted).
    std::size_t ChunksHeld() const;

    // Empty chunks kept at most: enough for the reports read at once on
    // every core of a small machine, 8 MB.
    static constexpr std::size_t SpareChunks = 4;

    BlockPool() = default;
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

private:
    struct Chunk;
    struct SizeClass {
        std::size_t BlockSize = 0;
        Chunk* WithSpace = nullptr;  // chunks of this size with a free block
    };
    static constexpr int MaxClasses = 16;

    SizeClass* ClassOf(std::size_t blockSize, bool create);
    Chunk* NewChunk(std::size_t blockSize);
    void ReleaseChunk(Chunk* chunk) noexcept;
    static void Unlink(SizeClass& sizeClass, Chunk* chunk) noexcept;

    mutable std::mutex mutex_;
    SizeClass classes_[MaxClasses];
    int classCount_ = 0;
    std::size_t chunks_ = 0;
    Chunk* spare_ = nullptr;  // empty chunks kept, linked through Next
    std::size_t spareCount_ = 0;
};

}  // namespace kov
