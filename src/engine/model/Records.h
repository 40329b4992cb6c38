#pragma once
// The records of a statistics report and its simulations, field for field as
// the host collection tool lays them out. Index values are 1-based wherever
// the reports and the views count from 1 (pools, objects, simulations, size
// points); element 0 of a point array stays 0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/FixedText.h"
#include "model/SimSlots.h"

namespace kov {

inline constexpr int MaxPools = 60;
inline constexpr int MaxObjects = 5000;
inline constexpr int MaxSimulations = 25;
inline constexpr int MaxSizes = 16;

template <typename T>
using PointArray = std::array<T, MaxSizes + 1>;  // size points 1..16, element 0 unused

struct SystemInfo {
    FixedText<16> RecordTag;
    FixedText<8> HeaderText21;
    FixedText<8> HeaderText29;
    FixedText<4> System;
    FixedText<4> SubSystem;
    FixedText<10> CollectionDate;
    FixedText<8> CollectionTime;
    FixedText<4> DB2Version;
    std::int16_t PoolsReported = 0;
    std::int16_t HeaderValue72 = 0;
    std::int32_t HeaderValue82 = 0;
    std::int32_t HeaderValue92 = 0;
    std::int32_t HeaderValue102 = 0;
    std::int32_t HeaderValue122 = 0;
    std::int32_t HeaderValue112 = 0;
    std::int32_t HeaderValue132 = 0;
    FixedText<8> ElapsedTime;
    FixedText<4> DSGroup;
};

// The 40 activity counters that pool lines (pool totals) and object lines
// (one object) share. The by-kind arrays are indexed from 1 in both records:
// GetPagesByAccess[1] sequential, [2] random, [3] RID list; PagesReadByType
// and ReadIOsByType [1] synchronous, [2] sequential prefetch, [3] list
// prefetch, [4] dynamic prefetch. Element 0 stays 0.
struct ActivityBlock {
    std::int32_t GetPages = 0;                       // 1
    std::int32_t Activity02 = 0;                     // 2
    std::array<std::int32_t, 4> GetPagesByAccess{};  // 3-5
    std::int32_t Activity06 = 0;                     // 6
    std::int32_t Activity07 = 0;                     // 7
    std::int32_t Activity08 = 0;                     // 8
    double AppHitRatio = 0;                          // 9
    double SysHitRatio = 0;                          // 10
    double Activity11 = 0;                           // 11: average page residency, seconds
    std::int32_t PagesRead = 0;                      // 12
    std::array<std::int32_t, 5> PagesReadByType{};   // 13-16
    std::int32_t ReadIOs = 0;                        // 17
    std::array<std::int32_t, 5> ReadIOsByType{};     // 18-21
    std::int32_t AvgSyncIOTime = 0;                  // 22, ms
    std::int32_t MaxSyncIOTime = 0;                  // 23, ms
    std::int32_t AvgSeqPrefIOTime = 0;               // 24, ms
    std::int32_t Activity25 = 0;                     // 25
    std::int32_t AvgListPrefIOTime = 0;              // 26, ms
    std::int32_t Activity27 = 0;                     // 27
    std::int32_t AvgDynPrefIOTime = 0;               // 28, ms
    std::int32_t Activity29 = 0;                     // 29
    std::int32_t Updates = 0;                        // 30
    std::int32_t PagesWritten = 0;                   // 31
    std::int32_t Activity32 = 0;                     // 32
    std::int32_t Activity33 = 0;                     // 33
    std::int32_t WriteIOs = 0;                       // 34
    std::int32_t Activity35 = 0;                     // 35
    std::int32_t Activity36 = 0;                     // 36
    std::int32_t Activity37 = 0;                     // 37
    std::int32_t Activity38 = 0;                     // 38
    std::int32_t Activity39 = 0;                     // 39
    std::int32_t Activity40 = 0;                     // 40: write I/O time, ms
};

inline constexpr int ActivityPositions = 40;

// One counter position of the block, for code that walks all 40 in column
// order (the readers and the writer). Positions 9-11 are Double.
struct ActivityFieldRef {
    std::int32_t* Integer = nullptr;
    double* Real = nullptr;
};
// Always inline, so that a reader walking the positions with constants
// stores straight into the member.
[[gnu::always_inline]] constexpr ActivityFieldRef ActivityField(ActivityBlock& b, int position) {
    if (position >= 3 && position <= 5) return {&b.GetPagesByAccess[static_cast<std::size_t>(position - 2)], nullptr};
    if (position >= 13 && position <= 16) return {&b.PagesReadByType[static_cast<std::size_t>(position - 12)], nullptr};
    if (position >= 18 && position <= 21) return {&b.ReadIOsByType[static_cast<std::size_t>(position - 17)], nullptr};
    switch (position) {
        case 1:
            return {&b.GetPages, nullptr};
        case 2:
            return {&b.Activity02, nullptr};
        case 6:
            return {&b.Activity06, nullptr};
        case 7:
            return {&b.Activity07, nullptr};
        case 8:
            return {&b.Activity08, nullptr};
        case 9:
            return {nullptr, &b.AppHitRatio};
        case 10:
            return {nullptr, &b.SysHitRatio};
        case 11:
            return {nullptr, &b.Activity11};
        case 12:
            return {&b.PagesRead, nullptr};
        case 17:
            return {&b.ReadIOs, nullptr};
        case 22:
            return {&b.AvgSyncIOTime, nullptr};
        case 23:
            return {&b.MaxSyncIOTime, nullptr};
        case 24:
            return {&b.AvgSeqPrefIOTime, nullptr};
        case 25:
            return {&b.Activity25, nullptr};
        case 26:
            return {&b.AvgListPrefIOTime, nullptr};
        case 27:
            return {&b.Activity27, nullptr};
        case 28:
            return {&b.AvgDynPrefIOTime, nullptr};
        case 29:
            return {&b.Activity29, nullptr};
        case 30:
            return {&b.Updates, nullptr};
        case 31:
            return {&b.PagesWritten, nullptr};
        case 32:
            return {&b.Activity32, nullptr};
        case 33:
            return {&b.Activity33, nullptr};
        case 34:
            return {&b.WriteIOs, nullptr};
        case 35:
            return {&b.Activity35, nullptr};
        case 36:
            return {&b.Activity36, nullptr};
        case 37:
            return {&b.Activity37, nullptr};
        case 38:
            return {&b.Activity38, nullptr};
        case 39:
            return {&b.Activity39, nullptr};
        case 40:
            return {&b.Activity40, nullptr};
        default:
            break;
    }
    throw std::out_of_range("activity position " + std::to_string(position) + " does not exist");
}
constexpr bool IsRealActivityPosition(int position) {
    return position >= 9 && position <= 11;
}

// The position (1..40) of one counter of the block, found from the member
// itself, so that code choosing counters names members and the column
// layout stays in ActivityField alone. `element` picks the kind of a by-kind
// array (ReadIOsByType, 1 = synchronous).
template <typename Member>
consteval int ActivityPositionOf(Member ActivityBlock::*member, std::size_t element = 0) {
    ActivityBlock block{};
    const void* counter = nullptr;
    if constexpr (requires { (block.*member)[element]; })
        counter = &(block.*member)[element];
    else
        counter = &(block.*member);
    for (int p = 1; p <= ActivityPositions; ++p) {
        const ActivityFieldRef ref = ActivityField(block, p);
        if (static_cast<const void*>(ref.Integer) == counter || static_cast<const void*>(ref.Real) == counter) return p;
    }
    throw std::logic_error("not an activity counter");
}

// A choice of the 40 counters of a block. A read made for one purpose (the
// trend) converts only the counters it chooses, and every other counter of
// the block holds a NotRead value, never a plausible count: code that reads
// a counter it did not choose gets nonsense instead of a quiet zero.
class ActivityCounters {
public:
    // Bits 1..40 at once: asked for every line read, so no loop to fold.
    static constexpr ActivityCounters All() {
        ActivityCounters all;
        all.positions_ = (Bit(ActivityPositions + 1) - 1) & ~Bit(0);
        return all;
    }
    static constexpr ActivityCounters Of(std::initializer_list<int> positions) {
        ActivityCounters chosen;
        for (const int p : positions) chosen.positions_ |= Bit(p);
        return chosen;
    }
    constexpr bool Has(int position) const { return (positions_ & Bit(position)) != 0; }
    constexpr bool Covers(ActivityCounters other) const { return (other.positions_ & ~positions_) == 0; }
    friend constexpr ActivityCounters operator|(ActivityCounters a, ActivityCounters b) {
        a.positions_ |= b.positions_;
        return a;
    }
    friend constexpr bool operator==(ActivityCounters, ActivityCounters) = default;

private:
    static constexpr std::uint64_t Bit(int position) { return std::uint64_t{1} << position; }
    std::uint64_t positions_ = 0;  // bit p: position p
};

static_assert(ActivityCounters::All().Has(1) && ActivityCounters::All().Has(ActivityPositions) &&
              !ActivityCounters::All().Has(0) && !ActivityCounters::All().Has(ActivityPositions + 1));

// What a counter that was not read holds.
inline constexpr std::int32_t NotReadCount = std::numeric_limits<std::int32_t>::min();
inline constexpr double NotReadReal = std::numeric_limits<double>::quiet_NaN();
[[gnu::always_inline]] constexpr void MarkNotRead(const ActivityFieldRef& ref) {
    if (ref.Real != nullptr)
        *ref.Real = NotReadReal;
    else
        *ref.Integer = NotReadCount;
}

// One pool's results in one simulation. Free while SimPoolSize[1] is 0.
struct PoolSimRecord {
    std::int16_t SimulationNo = 0;
    PointArray<std::int32_t> SimPoolSize{};
    PointArray<std::int32_t> Detail1{};
    PointArray<std::int32_t> Detail2{};
    PointArray<double> Detail8{};  // pool system hit ratio at the point
    PointArray<double> Detail7{};  // pool read I/O rate at the point
    PointArray<double> Detail3{};
};

// One object's results in one simulation. Free while SimulationNo is 0.
struct SimObjectRecord {
    std::int16_t SimulationNo = 0;
    FixedText<16> RecordTag;
    FixedText<1> IncludeFlag;
    FixedText<27> ObjectName;
    std::int32_t SimValue49 = 0;
    std::int32_t SimValue59 = 0;
    PointArray<std::int32_t> Detail1{};  // get pages
    PointArray<std::int32_t> Detail2{};
    PointArray<double> Detail3{};
    PointArray<std::int32_t> Detail4{};  // average working set
    PointArray<std::int32_t> Detail5{};  // maximum working set
    PointArray<double> Detail6{};
    PointArray<double> Detail7{};  // read I/O rate
    PointArray<double> Detail8{};  // system hit ratio
};

static_assert(SimSlots<SimObjectRecord>::MaxSlots == MaxSimulations);

struct PoolRecord {
    FixedText<16> RecordTag;
    FixedText<8> PoolName;
    double PoolValue29 = 0;
    std::int32_t VPSize = 0;
    std::int32_t HPSize = 0;
    std::int32_t VPSEQT = 0;
    std::int32_t HPSEQT = 0;
    FixedText<1> CastOut;
    FixedText<1> DataSpace;  // "Y" or "N"
    FixedText<4> PoolMgt;
    ActivityBlock Activity;
    double DWQT = 0;
    double VDWQT = 0;
    std::int16_t FirstObject = 0;  // 0 = the pool has no objects
    std::int16_t LastObject = 0;
    std::int16_t SimCount = 0;
    // Slots 1..SimCount; storage grows as simulations attach, so a pool with
    // no simulations costs nothing. Use Sim(s) / SimSlot(s).
    std::vector<PoolSimRecord> Sims;

    const PoolSimRecord& Sim(int slot) const { return Sims.at(static_cast<std::size_t>(slot - 1)); }
    PoolSimRecord& Sim(int slot) { return Sims.at(static_cast<std::size_t>(slot - 1)); }
    // Slot s, created empty when it has not been used yet (1 <= s <= 25).
    PoolSimRecord& SimSlot(int slot);
};

struct ObjectRecord {
    FixedText<16> RecordTag;
    FixedText<8> PoolName;
    FixedText<1> ObjectType;  // "T" table space, "I" index
    FixedText<27> ObjectName;
    FixedText<36> LongName;
    ActivityBlock Activity;
    // Slots in use, in attach order; used like a vector of SimObjectRecord
    // (see SimSlots.h for why it is not one).
    SimSlots<SimObjectRecord> Sims;

    const SimObjectRecord& Sim(int slot) const { return Sims.at(static_cast<std::size_t>(slot - 1)); }
    SimObjectRecord& Sim(int slot) { return Sims.at(static_cast<std::size_t>(slot - 1)); }
    int SimCount() const { return static_cast<int>(Sims.size()); }
};

struct SimulationRecord {
    FixedText<16> RecordTag;
    FixedText<4> SimText21;
    FixedText<4> SimText25;
    FixedText<10> CollectionDate;
    FixedText<8> CollectionTime;
    FixedText<4> DB2Version;
    FixedText<6> PoolName;
    std::int16_t SizeCount = 0;
    double SimValue62 = 0;
    double SimValue68 = 0;
    PointArray<std::int32_t> SimVPSize{};
    PointArray<std::int32_t> SimHPSize{};
    std::array<FixedText<8>, MaxSizes + 1> SizeLabel{};
    std::string FileName;
};

}  // namespace kov
