#pragma once
// Everything one run of the analyser knows about the loaded reports: the
// system header, the pool and object tables, the simulations, and the current
// pool/object/simulation the views are showing. Created once and passed by
// reference; only the readers write the fields taken from the files.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/Records.h"

namespace kov {

// A table is full, or an index names no entry.
class CapacityError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A 1-based table with a fixed capacity whose storage grows as entries are
// added: Pools(1) is the first pool, as the reports and the views count.
template <typename T>
class OneBasedTable {
public:
    OneBasedTable(int capacity, const char* entryName) : capacity_(capacity), entryName_(entryName) {}

    int Count() const { return static_cast<int>(items_.size()); }
    int Capacity() const { return capacity_; }
    bool Contains(int index) const { return index >= 1 && index <= Count(); }

    T& operator()(int index) { return items_.at(CheckedOffset(index)); }
    const T& operator()(int index) const { return items_.at(CheckedOffset(index)); }

    // Appends an empty entry and returns its index; a full table is an error.
    int Add() {
        if (Count() >= capacity_)
            throw CapacityError("the " + std::string(entryName_) + " table is full: at most " +
                                std::to_string(capacity_) + " " + entryName_ + "s can be loaded");
        items_.emplace_back();
        return Count();
    }

    // Makes entries 1..count exist (new ones empty), within the capacity.
    void GrowTo(int count) {
        if (count > capacity_) (void)Add();  // reports the full table
        if (count > Count()) items_.resize(static_cast<std::size_t>(count));
    }

    void Clear() {
        items_.clear();
        items_.shrink_to_fit();
    }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::size_t CheckedOffset(int index) const {
        if (!Contains(index))
            throw CapacityError(std::string(entryName_) + " " + std::to_string(index) + " does not exist (" +
                                std::to_string(Count()) + " loaded)");
        return static_cast<std::size_t>(index - 1);
    }

    int capacity_;
    const char* entryName_;
    std::vector<T> items_;
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
    // The pool usage intent the expert-tuning and cluster pages share:
    // 'R' random or 'S' sequential.
    char PoolUsageIntent = 'R';
    bool StatsLoaded = false;
    bool SimulationsLoaded = false;
    std::string StatFileName;

    int PoolCount() const { return Pools.Count(); }
    int ObjectCount() const { return Objects.Count(); }

    // Reset, and before a new statistics report: every table emptied, every
    // count and current index 0, nothing loaded.
    void ClearLoadedData();

    // The first pool whose 8-character padded name contains the simulation's
    // 6-character padded pool name (case-sensitive), so that a simulation of
    // BP1 finds BP1 but not BP10. Sets CurrentPool to it, or to 0.
    int FindPool(std::string_view simPoolName6);
};

// Seconds of an hh:mm:ss elapsed time; each part read like a leading number
// ("01:02:03" gives 3723, unreadable parts count 0).
std::int32_t ElapsedSeconds(std::string_view hhmmss);

}  // namespace kov
