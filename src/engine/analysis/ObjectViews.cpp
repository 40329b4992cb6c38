#include "analysis/ObjectViews.h"

#include <array>
#include <numeric>
#include <span>

#include "analysis/ActivityBreakdown.h"
#include "common/Formats.h"
#include "views/GridSort.h"

namespace kov {

const std::vector<std::string>& ObjectGraphTypes() {
    static const std::vector<std::string> types{"Access Type", "Pages Read", "Read I/Os"};
    return types;
}

const std::vector<std::string>& ObjectGridHeadings() {
    static const std::vector<std::string> headings{
        "Type",         "Object",       "Seq. Access", "Rnd. Access", "RID List",    "Sync. Pages", "SPref. Pages",
        "LPref. Pages", "DPref. Pages", "Sync. I/Os",  "SPref. I/Os", "LPref. I/Os", "DPref. I/Os"};
    return headings;
}

namespace {

const PoolRecord* PoolAt(const ReportModel& model, int p) {
    return model.Pools.Contains(p) ? &model.Pools(p) : nullptr;
}

ObjectRange RangeOf(const ReportModel& model, int p) {
    const PoolRecord* pool = PoolAt(model, p);
    return pool ? PoolObjects(model, *pool) : ObjectRange{};
}

ObjectIcon IconFor(std::string_view type) {
    if (type == "T") return ObjectIcon::TableSpace;
    if (type == "I") return ObjectIcon::Index;
    if (type == "D") return ObjectIcon::D;
    return ObjectIcon::Other;
}

template <std::size_t N>
void AppendCounts(std::vector<std::string>& row, const std::array<std::int32_t, N>& byKind) {
    for (std::size_t i = 1; i < N; ++i) row.push_back(PlainInteger(byKind[i]));
}

std::span<const std::int32_t> CountsOf(const ActivityBlock& activity, Breakdown kind) {
    switch (kind) {
        case Breakdown::Access:
            return std::span(activity.GetPagesByAccess).subspan(1);
        case Breakdown::PagesRead:
            return std::span(activity.PagesReadByType).subspan(1);
        default:
            return std::span(activity.ReadIOsByType).subspan(1);
    }
}

ChartData ObjectPie(const ObjectRecord& object, Breakdown kind, std::span<const std::int32_t> counts, long long total) {
    const BreakdownGroups& groups = GroupsOf(kind);
    ChartData chart;
    chart.Kind = ChartKind::Pie;
    chart.Title = std::string(object.ObjectName.Trimmed());
    chart.Subtitle = ObjectGraphTypes()[static_cast<std::size_t>(kind) - 1];
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const double share = static_cast<double>(counts[i]) / static_cast<double>(total);
        chart.Points.push_back({PieLegend(groups.Legends[i], share), static_cast<double>(counts[i]), 0});
    }
    MarkNegativeCounters(chart);
    return chart;
}

}  // namespace

std::vector<ObjectListItem> ObjectListItems(const ReportModel& model, int p) {
    const ObjectRange range = RangeOf(model, p);
    std::vector<ObjectListItem> items;
    items.reserve(range.Size());
    for (int o = range.First; o <= range.Last; ++o) {
        const ObjectRecord& object = model.Objects(o);
        items.push_back({std::string(object.ObjectName.Trimmed()), IconFor(object.ObjectType.Trimmed())});
    }
    return items;
}

std::vector<std::size_t> ObjectListOrder(const std::vector<ObjectListItem>& items, bool ascending) {
    std::vector<std::string_view> names;
    std::vector<std::optional<double>> numbers;
    names.reserve(items.size());
    numbers.reserve(items.size());
    for (const ObjectListItem& item : items) {
        names.push_back(item.Name);
        numbers.push_back(CellNumber(item.Name));
    }
    return SortedOrder(names, numbers, ascending);
}

StringTable ObjectGrid(const ReportModel& model, int p) {
    const ObjectRange range = RangeOf(model, p);
    StringTable table{ObjectGridHeadings(), {}};
    table.Rows.reserve(range.Size());
    for (int o = range.First; o <= range.Last; ++o) {
        const ObjectRecord& object = model.Objects(o);
        const ActivityBlock& activity = object.Activity;
        std::vector<std::string> row;
        row.reserve(ObjectGridHeadings().size());
        row.emplace_back(object.ObjectType.Trimmed());
        row.emplace_back(object.ObjectName.Trimmed());
        AppendCounts(row, activity.GetPagesByAccess);
        AppendCounts(row, activity.PagesReadByType);
        AppendCounts(row, activity.ReadIOsByType);
        table.Rows.push_back(std::move(row));
    }
    return table;
}

int FindObjectByName(const ReportModel& model, int p, std::string_view name) {
    const ObjectRange range = RangeOf(model, p);
    int found = 0;
    for (int o = range.First; o <= range.Last; ++o)
        if (model.Objects(o).ObjectName.Trimmed() == name) found = o;
    return found;
}

std::optional<ObjectBreakdown> ObjectBreakdownFor(const ReportModel& model, int object, int graphType) {
    if (object < 1 || object > model.ObjectCount() || graphType < 1 || graphType > 3) return std::nullopt;
    const ObjectRecord& record = model.Objects(object);
    const auto kind = static_cast<Breakdown>(graphType);
    const BreakdownGroups& groups = GroupsOf(kind);
    const std::span<const std::int32_t> counts = CountsOf(record.Activity, kind);
    const long long total = std::accumulate(counts.begin(), counts.end(), 0LL);

    ObjectBreakdown shown;
    for (std::size_t i = 0; i < counts.size(); ++i)
        shown.Labels.push_back({groups.Captions[i], "  " + PlainInteger(counts[i])});
    // The access type has three counts, so its total takes label 3 and label 4
    // is hidden; a zero total of pages or I/Os read stops before the total.
    shown.HideLastLabel = kind == Breakdown::Access;
    if (total == 0 && groups.ZeroMessage) {
        shown.Messages.push_back({"", groups.ZeroMessage, MessageIcon::None});
        return shown;
    }
    shown.Labels.push_back({"Total", "  " + Grouped(static_cast<double>(total), 0)});
    if (total != 0) shown.Chart = ObjectPie(record, kind, counts, total);
    return shown;
}

}  // namespace kov
