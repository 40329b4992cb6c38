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
//
// Each thread takes its blocks from a pool of its own. A trend reads a
// report on every core, and a chunk emptied by one core and filled again by
// another has every line of it fetched from the first core's cache: with
// one pool for the process, two cores read a month of reports with a
// sixth more processor time than one. A block may be freed on any thread
// (a report read on a worker is dropped by the window); it goes back to the
// pool whose chunk holds it.

#include <cstddef>
#include <mutex>
#include <vector>

namespace kov {

class BlockPool {
public:
    static constexpr std::size_t ChunkSize = std::size_t{2} << 20;
    // Blocks up to this size come from chunks; larger ones from the heap.
    static constexpr std::size_t MaxChunkBlock = ChunkSize / 16;

    // The calling thread's pool, safe to free into from any thread and
    // usable until the very end of the program (it is never destroyed). A
    // thread that ends gives its empty chunks back to the system and its
    // pool to the next thread that needs one.
    static BlockPool& ForThisThread();

    // A block of at least `size` bytes, aligned to 16. Throws std::bad_alloc.
    void* Allocate(std::size_t size);
    // Returns a block to the pool that handed it out, whichever pool this
    // is; `size` is the size it was allocated with.
    static void Free(void* block, std::size_t size) noexcept;

    // Chunks holding blocks (the few kept empty are not counted).
    std::size_t ChunksHeld() const;

    // Empty chunks a pool keeps at most, 8 MB: a thread reads one report at
    // a time, and a report at capacity fills one or two.
    static constexpr std::size_t SpareChunks = 4;

    BlockPool() = default;
    ~BlockPool();  // only a pool whose blocks are all freed may end
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

private:
    struct Chunk;
    struct SizeClass {
        std::size_t BlockSize = 0;
        Chunk* WithSpace = nullptr;  // chunks of this size with a free block
    };
    class ThreadLease;

    SizeClass& ClassOf(std::size_t blockSize);
    Chunk* NewChunk(std::size_t blockSize);
    void FreeInChunk(Chunk* chunk, void* block) noexcept;
    void ReleaseChunk(Chunk* chunk) noexcept;
    bool InUse() const;
    void SetInUse(bool inUse) noexcept;
    static void Unlink(SizeClass& sizeClass, Chunk* chunk) noexcept;

    mutable std::mutex mutex_;
    std::vector<SizeClass> classes_;  // one for every block size asked for
    std::size_t chunks_ = 0;
    Chunk* spare_ = nullptr;  // empty chunks kept, linked through Next
    std::size_t spareCount_ = 0;
    bool inUse_ = true;  // a pool no thread uses keeps no empty chunk
};

}  // namespace kov
