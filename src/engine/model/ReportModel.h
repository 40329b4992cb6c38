#pragma once
// Everything one run of the analyser knows about the loaded reports: the
// system header, the pool and object tables, the simulations, and the current
// pool/object/simulation the views are showing. Created once and passed by
// reference; only the readers write the fields taken from the files.

#include <cstddef>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/BlockPool.h"
#include "model/IndexIterator.h"
#include "model/Records.h"
#include "model/UsageIntent.h"

namespace kov {

// A table is full, or an index names no entry.
class CapacityError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A 1-based table with a fixed capacity whose storage grows as entries are
// added: Pools(1) is the first pool, as the reports and the views count.
// Entries live in blocks that are added as the table fills and never move:
// adding an entry copies none, and a reference to an entry stays valid until
// the table is cleared. A table that can grow large (objects) takes its
// blocks from the BlockPool, so that when full it costs one huge page
// instead of a chain of ever larger copies in fresh memory; a small one
// (pools, simulations) from the general heap, where a huge page of its own
// would cost more memory than it saves time.
template <typename T>
class OneBasedTable {
    static_assert(alignof(T) <= 16, "blocks of the BlockPool are aligned to 16");
    // Entries per block: a power of two, about 64 KB of them.
    static constexpr std::size_t kBlockEntries = [] {
        std::size_t entries = 1;
        while (entries < 256 && 2 * entries * sizeof(T) <= (std::size_t{64} << 10)) entries *= 2;
        return entries;
    }();
    static constexpr std::size_t kBlockBytes = kBlockEntries * sizeof(T);

public:
    OneBasedTable(int capacity, const char* entryName)
        : capacity_(capacity),
          entryName_(entryName),
          pooled_(static_cast<std::size_t>(capacity) * sizeof(T) > (std::size_t{256} << 10)) {}
    OneBasedTable(const OneBasedTable& other)
        : capacity_(other.capacity_), entryName_(other.entryName_), pooled_(other.pooled_) {
        try {
            for (const T& entry : other) {
                ::new (NewEntry()) T(entry);
                ++count_;
            }
        } catch (...) {
            Clear();
            throw;
        }
    }
    OneBasedTable(OneBasedTable&& other) noexcept
        : capacity_(other.capacity_),
          entryName_(other.entryName_),
          pooled_(other.pooled_),
          blocks_(std::move(other.blocks_)),
          count_(std::exchange(other.count_, 0)) {
        other.blocks_.clear();
    }
    OneBasedTable& operator=(const OneBasedTable& other) {
        if (this != &other) {
            OneBasedTable copy(other);
            Swap(copy);
        }
        return *this;
    }
    OneBasedTable& operator=(OneBasedTable&& other) noexcept {
        OneBasedTable taken(std::move(other));
        Swap(taken);
        return *this;
    }
    ~OneBasedTable() { Clear(); }

    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    bool Contains(int index) const { return index >= 1 && index <= Count(); }

    T& operator()(int index) { return (*this)[CheckedOffset(index)]; }
    const T& operator()(int index) const { return (*this)[CheckedOffset(index)]; }

    // Appends an empty entry and returns its index; a full table is an error.
    int Add() {
        CheckRoomFor(Count() + 1);
        AppendEmpty();
        return Count();
    }

    // Whether `count` entries fit; the error a full table gives when not.
    void CheckRoomFor(int count) const {
        if (count > capacity_)
            throw CapacityError("the " + std::string(entryName_) + " table is full: at most " +
                                std::to_string(capacity_) + " " + entryName_ + "s can be loaded");
    }

    // Makes entries 1..count exist (new ones empty), within the capacity.
    void GrowTo(int count) {
        CheckRoomFor(count);
        while (Count() < count) AppendEmpty();
    }

    void Clear() noexcept {
        for (std::size_t i = static_cast<std::size_t>(count_); i-- > 0;) (*this)[i].~T();
        count_ = 0;
        for (void* block : blocks_) {
            if (pooled_)
                BlockPool::Free(block, kBlockBytes);
            else
                ::operator delete(block);
        }
        blocks_.clear();
        blocks_.shrink_to_fit();
    }

    using iterator = IndexIterator<OneBasedTable, T>;
    using const_iterator = IndexIterator<const OneBasedTable, const T>;
    iterator begin() { return {this, 0}; }
    iterator end() { return {this, count_}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, count_}; }

private:
    friend iterator;
    friend const_iterator;

    // Entry at 0-based offset i.
    T& operator[](std::size_t i) { return static_cast<T*>(blocks_[i / kBlockEntries])[i % kBlockEntries]; }
    const T& operator[](std::size_t i) const {
        return static_cast<const T*>(blocks_[i / kBlockEntries])[i % kBlockEntries];
    }

    // Storage for the entry after the last, its block taken if it is new.
    void* NewEntry() {
        const auto i = static_cast<std::size_t>(count_);
        if (i / kBlockEntries == blocks_.size()) {
            blocks_.reserve(blocks_.size() + 1);
            blocks_.push_back(pooled_ ? BlockPool::ForThisThread().Allocate(kBlockBytes) : ::operator new(kBlockBytes));
        }
        return static_cast<T*>(blocks_[i / kBlockEntries]) + i % kBlockEntries;
    }
    // Every member of a record has its own initializer (the records' test
    // holds each kind to that), so a record is default-initialized: a
    // value-initialized one would be zeroed whole first and then
    // initialized again, which at 5000 object lines a report is felt.
    void AppendEmpty() {
        ::new (NewEntry()) T;
        ++count_;
    }

    void Swap(OneBasedTable& other) noexcept {
        std::swap(capacity_, other.capacity_);
        std::swap(entryName_, other.entryName_);
        std::swap(pooled_, other.pooled_);
        std::swap(blocks_, other.blocks_);
        std::swap(count_, other.count_);
    }

    // Looked up for every object of every report, so the check stays small
    // enough to be inlined and the message is made out of line.
    std::size_t CheckedOffset(int index) const {
        if (!Contains(index)) [[unlikely]]
            ThrowMissing(index);
        return static_cast<std::size_t>(index - 1);
    }
    [[noreturn, gnu::cold, gnu::noinline]] void ThrowMissing(int index) const {
        throw CapacityError(std::string(entryName_) + " " + std::to_string(index) + " does not exist (" +
                            std::to_string(Count()) + " loaded)");
    }

    int capacity_;
    const char* entryName_;
    bool pooled_;  // blocks from the BlockPool, else from the general heap
    std::vector<void*> blocks_;
    int count_ = 0;
};

class ReportModel {
public:
    SystemInfo SysInfo;
    OneBasedTable<PoolRecord> Pools{MaxPools, "pool"};
    OneBasedTable<ObjectRecord> Objects{MaxObjects, "object"};
    OneBasedTable<SimulationRecord> Simulations{MaxSimulations, "simulation"};

    // The number the next simulation read takes is SimulationCount + 1; a
    // failed read keeps its number and its (partly filled) entry.
    int SimulationCount = 0;
    int CurrentPool = 0;  // 0 = none
    int CurrentObject = 0;
    int CurrentSimulation = 0;
    // The pool usage intent the expert-tuning and cluster pages share.
    UsageIntent PoolUsageIntent = UsageIntent::Random;
    bool StatsLoaded = false;
    bool SimulationsLoaded = false;
    // The counters of the object lines the statistics read converted (all,
    // unless the read was made for one purpose); the others hold NotRead.
    ActivityCounters ObjectCountersRead = ActivityCounters::All();
    std::string StatFileName;

    int PoolCount() const { return Pools.Count(); }
    int ObjectCount() const { return Objects.Count(); }

    // Reset, and before a new statistics report: every table emptied, every
    // count and current index 0, nothing loaded.
    void ClearLoadedData();

    // The first pool whose 8-character padded name contains the simulation's
    // 6-character padded pool name (case-sensitive), so that a simulation of
    // BP1 finds BP1 but not BP10. 0 when no pool matches.
    int FindPool(std::string_view simPoolName6) const;
};

// Seconds of an hh:mm:ss elapsed time; each part read like a leading number
// ("01:02:03" gives 3723, unreadable parts count 0).
std::int32_t ElapsedSeconds(std::string_view hhmmss);

// A pool's objects, clipped to the loaded table so a damaged range never
// reads outside it. Empty for a pool without object lines.
struct ObjectRange {
    int First = 0;
    int Last = -1;
    int Count() const { return Last >= First ? Last - First + 1 : 0; }
    std::size_t Size() const { return static_cast<std::size_t>(Count()); }
    bool Holds(int o) const { return o >= First && o <= Last; }
};

inline ObjectRange PoolObjects(const ReportModel& model, const PoolRecord& pool) {
    if (pool.FirstObject < 1) return {};
    return {pool.FirstObject, pool.LastObject < model.ObjectCount() ? pool.LastObject : model.ObjectCount()};
}

// Simulation slot s of pool p, and of an object; none when it is not used.
inline const PoolSimRecord* PoolSlot(const ReportModel& model, int p, int s) {
    if (!model.Pools.Contains(p)) return nullptr;
    const PoolRecord& pool = model.Pools(p);
    return s >= 1 && s <= static_cast<int>(pool.Sims.size()) ? &pool.Sim(s) : nullptr;
}
inline const SimObjectRecord* ObjectSlot(const ObjectRecord& o, int s) {
    return s >= 1 && s <= o.SimCount() ? &o.Sim(s) : nullptr;
}

}  // namespace kov
