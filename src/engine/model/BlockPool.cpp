#include "model/BlockPool.h"

#include <cstdint>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define KOV_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define KOV_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define KOV_POISON(address, size) ((void)(address), (void)(size))
#define KOV_UNPOISON(address, size) ((void)(address), (void)(size))
#endif

namespace kov {

// The head of every chunk; the blocks follow it. A block's chunk is found
// from its address, since chunks are aligned to their size.
struct BlockPool::Chunk {
    BlockPool* Owner = nullptr;  // the pool that handed out its blocks
    Chunk* Prev = nullptr;
    Chunk* Next = nullptr;
    bool Listed = false;       // in its class's list of chunks with space
    void* FreeList = nullptr;  // freed blocks, each holding the next
    char* Unused = nullptr;    // blocks never handed out start here
    char* End = nullptr;
    std::size_t BlockSize = 0;
    std::size_t Live = 0;  // blocks handed out and not freed

    bool HasSpace() const { return FreeList != nullptr || Unused + BlockSize <= End; }
};

namespace {

constexpr std::size_t kAlignment = 16;
static_assert(sizeof(void*) <= kAlignment);

std::size_t RoundUp(std::size_t size, std::size_t to) {
    return (size + to - 1) / to * to;
}

void* MapChunk() {
#if defined(__linux__)
    // Twice the size, then the unaligned ends cut off: the kernel can back
    // an aligned 2 MB range with one huge page.
    constexpr std::size_t size = BlockPool::ChunkSize;
    void* raw = mmap(nullptr, 2 * size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = RoundUp(start, size);
    if (aligned > start) munmap(raw, aligned - start);
    const std::uintptr_t tail = start + 2 * size - (aligned + size);
    // Addresses are computed as offsets into the mapping, never made from integers.
    char* const base = static_cast<char*>(raw);
    if (tail > 0) munmap(base + (aligned + size - start), tail);
    void* chunk = base + (aligned - start);
#if defined(MADV_HUGEPAGE)
    // Where huge pages are off or refused this changes nothing: the chunk
    // is then faulted in 4 KB pages like any other memory.
    (void)madvise(chunk, size, MADV_HUGEPAGE);
#endif
    return chunk;
#else
    return ::operator new (BlockPool::ChunkSize, std::align_val_t{BlockPool::ChunkSize});
#endif
}

void UnmapChunk(void* chunk) noexcept {
#if defined(__linux__)
    munmap(chunk, BlockPool::ChunkSize);
#else
    ::operator delete (chunk, std::align_val_t{BlockPool::ChunkSize});
#endif
}

std::size_t BlockSizeFor(std::size_t size) {
    return RoundUp(size == 0 ? 1 : size, kAlignment);
}

// Blocks start after the chunk's head, on a cache line of their own.
constexpr std::size_t kHeaderSize = 128;

}  // namespace

// Every pool a thread has used, never destroyed: records in static storage
// may free their blocks after every other static object is gone. A pool is
// lent to one thread at a time and given back when the thread ends, for a
// later thread to take, so there are never more pools than threads at once.
class BlockPool::ThreadLease {
public:
    explicit ThreadLease(BlockPool*& lent) : lent_(lent) {}
    ~ThreadLease() {
        const std::lock_guard lock(Mutex());
        std::exchange(lent_, nullptr)->SetInUse(false);
    }
    ThreadLease(const ThreadLease&) = delete;
    ThreadLease& operator=(const ThreadLease&) = delete;

    static BlockPool* Take() {
        const std::lock_guard lock(Mutex());
        for (BlockPool* pool : Pools())
            if (!pool->InUse()) {
                pool->SetInUse(true);
                return pool;
            }
        return Pools().emplace_back(new BlockPool);
    }

private:
    static std::mutex& Mutex() {
        static auto* const mutex = new std::mutex;
        return *mutex;
    }
    static std::vector<BlockPool*>& Pools() {
        static auto* const pools = new std::vector<BlockPool*>;
        return *pools;
    }

    BlockPool*& lent_;
};

BlockPool& BlockPool::ForThisThread() {
    // The pointer outlives the lease: a block asked for while the thread
    // ends (a static record of the main thread) takes a pool for good.
    thread_local BlockPool* lent = nullptr;
    if (lent == nullptr) {
        lent = ThreadLease::Take();
        thread_local const ThreadLease lease(lent);
    }
    return *lent;
}

BlockPool::~BlockPool() {
    SetInUse(false);
}

bool BlockPool::InUse() const {
    const std::lock_guard lock(mutex_);
    return inUse_;
}

void BlockPool::SetInUse(bool inUse) noexcept {
    const std::lock_guard lock(mutex_);
    inUse_ = inUse;
    if (inUse) return;
    while (spare_ != nullptr) {
        Chunk* const chunk = spare_;
        spare_ = chunk->Next;
        KOV_UNPOISON(chunk, ChunkSize);
        UnmapChunk(chunk);
    }
    spareCount_ = 0;
}

BlockPool::SizeClass& BlockPool::ClassOf(std::size_t blockSize) {
    for (SizeClass& sizeClass : classes_)
        if (sizeClass.BlockSize == blockSize) return sizeClass;
    return classes_.emplace_back(SizeClass{blockSize, nullptr});
}

BlockPool::Chunk* BlockPool::NewChunk(std::size_t blockSize) {
    void* memory = nullptr;
    if (spare_ != nullptr) {
        memory = spare_;
        KOV_UNPOISON(memory, ChunkSize);
        spare_ = spare_->Next;
        --spareCount_;
    } else {
        memory = MapChunk();
    }
    char* const bytes = static_cast<char*>(memory);
    static_assert(sizeof(Chunk) <= kHeaderSize);
    auto* chunk = ::new (memory) Chunk;
    chunk->Owner = this;
    chunk->BlockSize = blockSize;
    chunk->Unused = bytes + kHeaderSize;
    chunk->End = bytes + ChunkSize;
    KOV_POISON(chunk->Unused, ChunkSize - kHeaderSize);
    return chunk;
}

void BlockPool::ReleaseChunk(Chunk* chunk) noexcept {
    if (inUse_ && spareCount_ < SpareChunks) {
        chunk->Next = spare_;
        spare_ = chunk;
        ++spareCount_;
        KOV_POISON(static_cast<char*>(static_cast<void*>(chunk)) + kHeaderSize, ChunkSize - kHeaderSize);
        return;
    }
    // The address range may be handed out again by the system, so it must
    // not stay marked as freed.
    KOV_UNPOISON(chunk, ChunkSize);
    UnmapChunk(chunk);
}

void BlockPool::Unlink(SizeClass& sizeClass, Chunk* chunk) noexcept {
    if (chunk->Prev != nullptr) chunk->Prev->Next = chunk->Next;
    if (chunk->Next != nullptr) chunk->Next->Prev = chunk->Prev;
    if (sizeClass.WithSpace == chunk) sizeClass.WithSpace = chunk->Next;
    chunk->Prev = chunk->Next = nullptr;
    chunk->Listed = false;
}

void* BlockPool::Allocate(std::size_t size) {
    const std::size_t blockSize = BlockSizeFor(size);
    if (blockSize > MaxChunkBlock) return ::operator new(blockSize);
    const std::lock_guard lock(mutex_);
    SizeClass& sizeClass = ClassOf(blockSize);
    Chunk* chunk = sizeClass.WithSpace;
    if (chunk == nullptr) {
        chunk = NewChunk(blockSize);
        ++chunks_;
        chunk->Listed = true;
        sizeClass.WithSpace = chunk;
    }
    void* block = nullptr;
    if (chunk->FreeList != nullptr) {
        block = chunk->FreeList;
        chunk->FreeList = *static_cast<void**>(block);
    } else {
        block = chunk->Unused;
        chunk->Unused += blockSize;
    }
    ++chunk->Live;
    if (!chunk->HasSpace()) Unlink(sizeClass, chunk);
    KOV_UNPOISON(block, blockSize);
    return block;
}

void BlockPool::Free(void* block, std::size_t size) noexcept {
    if (block == nullptr) return;
    if (BlockSizeFor(size) > MaxChunkBlock) {
        ::operator delete(block);
        return;
    }
    // The chunk starts at the block's address rounded down to the chunk size.
    const std::uintptr_t intoChunk = reinterpret_cast<std::uintptr_t>(block) & (ChunkSize - 1);
    auto* const chunk = reinterpret_cast<Chunk*>(static_cast<char*>(block) - intoChunk);
    chunk->Owner->FreeInChunk(chunk, block);
}

void BlockPool::FreeInChunk(Chunk* chunk, void* block) noexcept {
    const std::lock_guard lock(mutex_);
    SizeClass& sizeClass = ClassOf(chunk->BlockSize);  // made when the chunk was
    *static_cast<void**>(block) = chunk->FreeList;
    chunk->FreeList = block;
    KOV_POISON(static_cast<char*>(block) + sizeof(void*), chunk->BlockSize - sizeof(void*));
    if (--chunk->Live == 0) {
        if (chunk->Listed) Unlink(sizeClass, chunk);
        ReleaseChunk(chunk);
        --chunks_;
    } else if (!chunk->Listed) {
        chunk->Next = sizeClass.WithSpace;
        if (chunk->Next != nullptr) chunk->Next->Prev = chunk;
        chunk->Listed = true;
        sizeClass.WithSpace = chunk;
    }
}

std::size_t BlockPool::ChunksHeld() const {
    const std::lock_guard lock(mutex_);
    return chunks_;
}

}  // namespace kov
