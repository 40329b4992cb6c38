#pragma once
// A pool's objects and advice lines of one report, each list packed into
// one JSON text of whole numbers. Stored as rows of their own, the thousands
// of objects and hundreds of advice lines of a report cost SQLite a b-tree
// insert each, which made storing a report slower than reading it; a text a
// list is one column. SQL still reaches every element through json_each
// (the pool_object and pool_advice views).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kov {

// [[object id, get pages, sync read I/Os], ...] in report order, the counts
// as the report gave them over its interval.
struct PackedObject {
    std::int64_t Id = 0;  // the object table's row id
    std::int32_t GetPages = 0;
    std::int32_t SyncReadIOs = 0;
};

void PackObjects(const std::vector<PackedObject>& objects, std::string& text);
// False when `text` is not such a list (a damaged or hand-edited row).
bool UnpackObjects(std::string_view text, std::vector<PackedObject>& objects);

// [id, ...]: the advice_text ids of a pool's lines for one intent, in order.
void PackIds(const std::vector<std::int64_t>& ids, std::string& text);
bool UnpackIds(std::string_view text, std::vector<std::int64_t>& ids);

// The count behind a rate of schema version 1, which stored counts per
// second: the rate was the count divided by the seconds, so the nearest
// whole number is the count itself. 0 for an interval of no length.
std::int32_t CountFromRate(double perSecond, std::int32_t seconds);

}  // namespace kov
