#pragma once
// The figures the analysis reads, named for what they mean. The records keep
// the names the report layouts give their fields (Activity11, Detail7, ...);
// every page, check, comparison and print reads a figure through here, so
// each rule (what a pool's size is, what "per second" means) is written once.

#include <cstddef>
#include <cstdint>

#include "model/ReportModel.h"

namespace kov {

// ---------------------------------------------------------------------------
// The statistics report

// Buffers of a pool: the virtual pool and the hiperpool together, in 64 bits
// so two full 32-bit sizes never overflow.
constexpr std::int64_t PoolSize(const PoolRecord& pool) {
    return std::int64_t{pool.VPSize} + pool.HPSize;
}

// Seconds of the collection interval, from the header's hh:mm:ss elapsed time.
std::int32_t CollectionSeconds(const ReportModel& model);

// A count over the collection interval per second; an interval of no length
// gives 0, never a division by zero.
constexpr double PerSecond(double count, std::int32_t seconds) {
    return seconds > 0 ? count / seconds : 0.0;
}

// Read and write I/Os together.
constexpr double TotalIOs(const ActivityBlock& activity) {
    return static_cast<double>(activity.ReadIOs) + activity.WriteIOs;
}

// Average page residency in seconds.
constexpr double PageResidency(const ActivityBlock& activity) {
    return activity.Activity11;
}

// Time spent writing, in milliseconds.
constexpr std::int32_t WriteIOTime(const ActivityBlock& activity) {
    return activity.Activity40;
}

// ---------------------------------------------------------------------------
// A simulation slot at size point k (1..SizeCount)

namespace detail {
constexpr std::size_t Point(int k) {
    return static_cast<std::size_t>(k);
}
}  // namespace detail

// The pool's get pages at the point; a point below 1 took no part.
constexpr std::int32_t GetPagesAt(const PoolSimRecord& slot, int k) {
    return slot.Detail1[detail::Point(k)];
}
constexpr double ReadIORate(const PoolSimRecord& slot, int k) {
    return slot.Detail7[detail::Point(k)];
}
constexpr double SysHitRatio(const PoolSimRecord& slot, int k) {
    return slot.Detail8[detail::Point(k)];
}

constexpr std::int32_t GetPagesAt(const SimObjectRecord& results, int k) {
    return results.Detail1[detail::Point(k)];
}
constexpr std::int32_t AvgWorkSet(const SimObjectRecord& results, int k) {
    return results.Detail4[detail::Point(k)];
}
constexpr std::int32_t MaxWorkSet(const SimObjectRecord& results, int k) {
    return results.Detail5[detail::Point(k)];
}
constexpr double ReadIORate(const SimObjectRecord& results, int k) {
    return results.Detail7[detail::Point(k)];
}
constexpr double SysHitRatio(const SimObjectRecord& results, int k) {
    return results.Detail8[detail::Point(k)];
}

}  // namespace kov
