#pragma once
// A report model built by hand as the reader fills one: pools in report
// order, and each object in the pool added last.

#include <cstdint>
#include <string_view>

#include "model/ReportModel.h"

namespace kov::test {

inline PoolRecord& AddPool(ReportModel& model, std::string_view name) {
    PoolRecord& pool = model.Pools(model.Pools.Add());
    pool.PoolName = name;
    return pool;
}

// An object of the pool added last, whose object range grows to hold it.
inline ObjectRecord& AddObject(ReportModel& model, std::string_view name, std::string_view type) {
    const int o = model.Objects.Add();
    ObjectRecord& object = model.Objects(o);
    object.ObjectName = name;
    object.ObjectType = type;
    PoolRecord& pool = model.Pools(model.PoolCount());
    if (pool.FirstObject == 0) pool.FirstObject = static_cast<std::int16_t>(o);
    pool.LastObject = static_cast<std::int16_t>(o);
    return object;
}

}  // namespace kov::test
