// The pool pies: the pool's activity in up to four groups.

#include <array>
#include <span>

#include "analysis/ActivityBreakdown.h"
#include "analysis/PoolChartParts.h"
#include "common/Formats.h"
#include "views/AxisTicks.h"

namespace kov::poolcharts {

namespace {

struct GroupData {
    std::array<long long, 4> Values{};
    std::array<std::string, 4> Labels;
    long long Total = 0;
    std::size_t Count = 0;
};

const char* const PagesReadZero = "Number Of Pages Read Is ZERO. Can not Graph";

// The pool pies: the three breakdowns by kind, then the pool's objects
// summed by object type.
const BreakdownGroups& PieGroupsOf(PoolGraph graph) {
    static const BreakdownGroups objectTypes{
        {"Index ", "Table ", "Unknown "}, {"Index", "Table Space", "Unknown"}, nullptr};
    return graph <= PoolGraph::ReadIOsByType ? GroupsOf(static_cast<Breakdown>(graph)) : objectTypes;
}

// Positions 1-3: the pool's own counters by kind. A zero total of pages or
// I/Os read stores no groups and says why.
GroupData KindBreakdown(std::span<const std::int32_t> byKind, const BreakdownGroups& groups, ChartData& chart) {
    GroupData group;
    group.Count = byKind.size();
    for (std::size_t i = 0; i < byKind.size(); ++i) {
        chart.SideLabels[i].Value = "  " + PlainInteger(byKind[i]);
        group.Total += byKind[i];
    }
    if (group.Total == 0 && groups.ZeroMessage) {
        chart.Messages.push_back(Plain(groups.ZeroMessage));
        return group;
    }
    for (std::size_t i = 0; i < byKind.size(); ++i) {
        group.Values[i] = byKind[i];
        group.Labels[i] = groups.Legends[i];
    }
    return group;
}

long long ObjectFigure(const ActivityBlock& activity, PoolGraph graph) {
    switch (graph) {
        case PoolGraph::PoolGetPages:
            return SumFromOne(activity.GetPagesByAccess);
        case PoolGraph::PoolPagesRead:
            return SumFromOne(activity.PagesReadByType);
        default:
            return SumFromOne(activity.ReadIOsByType);
    }
}

std::size_t ObjectTypeGroup(const ObjectRecord& object) {
    const std::string_view type = object.ObjectType.Trimmed();
    return type == "I" ? 0 : type == "T" ? 1 : 2;
}

// Positions 4-6: the pool's objects summed by object type. An empty group
// gets no legend name and does not count.
GroupData TypeBreakdown(const ReportModel& model, const ObjectRange& range, PoolGraph graph, ChartData& chart) {
    GroupData group;
    for (std::size_t k = 0; k < range.Size(); ++k) {
        const ObjectRecord& object = ObjectAt(model, range, k);
        group.Values[ObjectTypeGroup(object)] += ObjectFigure(object.Activity, graph);
    }
    const BreakdownGroups& groups = PieGroupsOf(graph);
    for (std::size_t i = 0; i < 3; ++i) {
        chart.SideLabels[i].Value = PlainInteger(group.Values[i]);
        if (group.Values[i] == 0) continue;
        group.Total += group.Values[i];
        group.Labels[i] = groups.Legends[i];
        group.Count = 3;
    }
    return group;
}

GroupData PieGroupData(const ReportModel& model, const PoolRecord& pool, PoolGraph graph, ChartData& chart) {
    const ActivityBlock& activity = pool.Activity;
    const BreakdownGroups& groups = PieGroupsOf(graph);
    switch (graph) {
        case PoolGraph::AccessType:
            return KindBreakdown(std::span(activity.GetPagesByAccess).subspan(1), groups, chart);
        case PoolGraph::PagesRead:
            return KindBreakdown(std::span(activity.PagesReadByType).subspan(1), groups, chart);
        case PoolGraph::ReadIOsByType:
            return KindBreakdown(std::span(activity.ReadIOsByType).subspan(1), groups, chart);
        default:
            return TypeBreakdown(model, PoolObjects(model, pool), graph, chart);
    }
}

// The groups' captions, then "Total"; the pairs left over are hidden.
void PieSideCaptions(const BreakdownGroups& groups, ChartData& chart) {
    chart.SideLabels.assign(SideLabelCount, {});
    const std::size_t total = groups.Captions.size();
    for (std::size_t i = 0; i < total; ++i) chart.SideLabels[i].Caption = groups.Captions[i];
    chart.SideLabels[total].Caption = "Total";
    for (std::size_t i = total + 1; i < SideLabelCount; ++i) chart.HiddenSideLabels.push_back(i);
}

void DrawPie(const GroupData& group, PoolGraph graph, ChartData& chart) {
    if (group.Total == 0) {
        chart.Hidden = true;
        chart.Messages.push_back(Plain(PagesReadZero));
        return;
    }
    for (std::size_t i = 0; i < group.Count; ++i) {
        const double share = static_cast<double>(group.Values[i]) / static_cast<double>(group.Total);
        chart.Points.push_back({PieLegend(group.Labels[i], share), static_cast<double>(group.Values[i]), 0});
    }
    MarkNegativeCounters(chart);
    chart.Subtitle = GraphOf(graph).Title;
}

}  // namespace

void PieChart(const ReportModel& model, const PoolRecord& pool, PoolGraph graph, ChartData& chart) {
    chart.Kind = ChartKind::Pie;
    const BreakdownGroups& groups = PieGroupsOf(graph);
    PieSideCaptions(groups, chart);
    const GroupData group = PieGroupData(model, pool, graph, chart);
    chart.SideLabels[groups.Captions.size()].Value = Grouped(static_cast<double>(group.Total), 0);
    DrawPie(group, graph, chart);
}

}  // namespace kov::poolcharts
