#include "analysis/TrendViews.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <map>
#include <optional>

#include "analysis/CompareReports.h"
#include "analysis/GeneralInfo.h"
#include "common/CollectionDate.h"
#include "common/FixedText.h"
#include "common/Formats.h"
#include "model/UsageIntent.h"

namespace kov {

namespace {

// How far the value axis opens beyond the smallest and largest value, as a
// share of their span, so a line at either end stays off the frame.
constexpr double kValueAxisOpening = 0.05;
// Above the highest value the markers' texts stand in two rows, clear of the lines.
constexpr double kMarkerTextRoom = 0.2;
// The span given to a line that never moved, as a share of its value.
constexpr double kFlatLineSpan = 0.1;
// The window and the saved images tell eight lines apart by colour; past
// that the legend is left out and the chart says how to name a line.
constexpr std::size_t kLinesTheColoursTellApart = 8;
// Round steps between date labels, finest first: minutes within a day
// (midnight is a multiple of each), whole days and weeks from a Monday's
// midnight, and calendar months.
struct LabelStep {
    int Minutes = 0;
    int Months = 0;
};
constexpr int kDay = 24 * 60;
constexpr LabelStep kLabelSteps[] = {
    {5},    {10},       {15},       {30},        {60},   {120},  {180},  {360},   {720},
    {kDay}, {2 * kDay}, {7 * kDay}, {14 * kDay}, {0, 1}, {0, 3}, {0, 6}, {0, 12},
};
// Stamps the calendar cannot place (no readable date) get evenly spread labels.
constexpr std::size_t kTimeLabelCounts[] = {24, 16, 12, 8, 6, 4, 3, 2, 1};

// Whole numbers show no decimals, every other figure two, as the compare.
std::string FigureText(double value) {
    return Grouped(value, std::nearbyint(value) == value ? 0 : 2);
}

// The chosen pools the system has, in the order chosen.
std::vector<const PoolTrend*> ChosenPools(const SystemTrend& system, const std::vector<std::string>& pools) {
    std::vector<const PoolTrend*> chosen;
    for (const std::string& name : pools)
        if (const PoolTrend* pool = FindPoolTrend(system, name)) chosen.push_back(pool);
    return chosen;
}

std::string When(const SystemTrend& system, std::size_t report) {
    return report < system.Reports.size() ? CollectedAt(system.Reports[report]) : std::string();
}

// "1 report", "720 reports".
std::string Counted(std::size_t n, const char* what) {
    return Grouped(static_cast<double>(n), 0) + " " + what + (n == 1 ? "" : "s");
}

// How many reports and when they were collected: "4 reports from A to B",
// "1 report at A".
std::string ReportsCollected(const SystemTrend& system) {
    const std::size_t count = system.Reports.size();
    std::string text = Counted(count, "report");
    if (count == 1) text += " at " + When(system, 0);
    if (count > 1) text += " from " + When(system, 0) + " to " + When(system, count - 1);
    return text;
}

ChartSeries PoolLine(const SystemTrend& system, const PoolTrend& pool, std::size_t figure) {
    ChartSeries line{pool.Name, {}};
    if (figure >= pool.Figures.size()) return line;
    const FigureSeries& values = pool.Figures[figure];
    bool inRun = false;
    for (std::size_t i = 0; i < values.size() && i < system.Reports.size(); ++i) {
        if (!values[i]) {
            inRun = false;
            continue;
        }
        if (!inRun) line.Runs.emplace_back();
        inRun = true;
        const ReportStamp& report = system.Reports[i];
        line.Runs.back().push_back(
            {CollectedAt(report) + "  " + report.File, *values[i], 0, FigureText(*values[i]), static_cast<double>(i)});
    }
    return line;
}

// One marker a report, naming every change of the chosen pools there.
std::vector<XMark> EventMarkers(const std::vector<const PoolTrend*>& pools) {
    std::map<std::size_t, std::string> texts;
    for (const PoolTrend* pool : pools)
        for (const TrendEvent& event : pool->Events) {
            std::string& text = texts[event.Report];
            text += (text.empty() ? "" : "; ") + pool->Name + " " + event.Text;
        }
    std::vector<XMark> markers;
    markers.reserve(texts.size());
    for (const auto& [report, text] : texts) markers.push_back({static_cast<double>(report), text});
    return markers;
}

bool IsIsoDate(const std::string& date) {
    return date.size() == 10 && date[4] == '-' && date[7] == '-';
}

// Minutes since 1970-01-01 00:00 and the calendar month (years * 12 +
// month) of a stamp, when its date and time are in a form the collection
// tools write.
struct StampTime {
    long long Minutes = 0;
    long long Month = 0;
    unsigned DayOfMonth = 0;
};

std::optional<StampTime> TimeOf(const ReportStamp& stamp) {
    const std::optional<CalendarDate> day = ReadCollectionDate(stamp.Date);
    const std::optional<std::array<int, 3>> time = ReadCollectionTime(stamp.Time);
    if (!day || !time) return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(day->Year),
                                           std::chrono::month(static_cast<unsigned>(day->Month)),
                                           std::chrono::day(static_cast<unsigned>(day->Day))};
    if (!date.ok()) return std::nullopt;
    const long long days = std::chrono::sys_days(date).time_since_epoch().count();
    return StampTime{days * kDay + (*time)[0] * 60LL + (*time)[1], day->Year * 12LL + day->Month - 1,
                     static_cast<unsigned>(day->Day)};
}

// Which step of the calendar a time falls in. 1970-01-01 was a Thursday:
// weeks count from the Monday before it.
long long StepOf(const StampTime& time, const LabelStep& step) {
    if (step.Months > 0) return time.Month / step.Months;
    if (step.Minutes <= kDay) return time.Minutes / step.Minutes;
    const long long days = time.Minutes / kDay + (step.Minutes % (7 * kDay) == 0 ? 3 : 0);
    return days / (step.Minutes / kDay);
}

bool StartsStep(const StampTime& time, const LabelStep& step) {
    if (step.Months > 0) return time.DayOfMonth == 1 && time.Minutes % kDay == 0 && time.Month % step.Months == 0;
    StampTime before = time;
    --before.Minutes;
    return StepOf(before, step) != StepOf(time, step);
}

// A date label's text: what differs from the label before it (none for the first).
std::string TimeLabelText(const ReportStamp& stamp, const ReportStamp* before) {
    std::string time = stamp.Time;
    if (time.size() == 8 && time.ends_with(":00")) time.resize(5);
    if (before && before->Date == stamp.Date) return time;
    const bool sameYear =
        before && IsIsoDate(stamp.Date) && IsIsoDate(before->Date) && before->Date.starts_with(stamp.Date.substr(0, 5));
    return (sameYear ? stamp.Date.substr(5) : stamp.Date) + " " + time;
}

std::optional<AxisRange> ValueRange(const std::vector<ChartSeries>& lines, bool markers) {
    std::optional<double> low, high;
    for (const ChartSeries& line : lines)
        for (const auto& run : line.Runs)
            for (const ChartPoint& point : run) {
                low = std::min(low.value_or(point.Value), point.Value);
                high = std::max(high.value_or(point.Value), point.Value);
            }
    if (!low) return std::nullopt;
    // A figure that held still (a hit ratio of 94.41 in every report) spans
    // nothing; its line would lie on the frame, so it is given a span of its
    // own size to stand in the middle of.
    const bool flat = *high == *low;
    const double span = flat ? std::max(1.0, std::abs(*low) * kFlatLineSpan) : *high - *low;
    const double opening = span * (flat ? 0.5 : kValueAxisOpening);
    // A figure that cannot be negative gets no negative axis.
    const double bottom = *low >= 0 ? std::max(0.0, *low - opening) : *low - opening;
    const double top = *high + (markers ? std::max(span * kMarkerTextRoom, opening) : opening);
    return AxisRange{bottom, top, true};
}

}  // namespace

const std::vector<std::string>& TrendFigureNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> named;
        for (const Figure& figure : PoolFigures(PoolRecord{}, 1))
            named.push_back(std::string(figure.Name) + (figure.IsCount ? "/Sec" : ""));
        return named;
    }();
    return names;
}

std::string CollectedAt(const ReportStamp& stamp) {
    return stamp.Date + " " + stamp.Time;
}

const PoolTrend* FindPoolTrend(const SystemTrend& system, const std::string& pool) {
    for (const PoolTrend& trend : system.Pools)
        if (trend.Name == pool) return &trend;
    return nullptr;
}

std::vector<XMark> TrendTimeLabels(const SystemTrend& system, std::size_t most) {
    const std::size_t count = system.Reports.size();
    std::vector<XMark> labels;
    if (count == 0 || most == 0) return labels;
    const std::size_t shown = std::min(count, most);
    const ReportStamp* before = nullptr;
    for (std::size_t k = 0; k < shown; ++k) {
        const std::size_t report = shown == 1 ? 0 : (k * (count - 1) + (shown - 1) / 2) / (shown - 1);
        if (!labels.empty() && labels.back().X == static_cast<double>(report)) continue;
        labels.push_back({static_cast<double>(report), TimeLabelText(system.Reports[report], before)});
        before = &system.Reports[report];
    }
    return labels;
}

std::vector<XMark> TrendCalendarLabels(const SystemTrend& system, const LabelStep& step) {
    std::vector<XMark> labels;
    const ReportStamp* before = nullptr;
    std::optional<StampTime> last;
    for (std::size_t report = 0; report < system.Reports.size(); ++report) {
        const std::optional<StampTime> time = TimeOf(system.Reports[report]);
        if (!time) return {};
        // The first report in each step; the very first only when it opens one.
        const bool labelled = last ? StepOf(*time, step) != StepOf(*last, step) : StartsStep(*time, step);
        last = time;
        if (!labelled) continue;
        labels.push_back({static_cast<double>(report), TimeLabelText(system.Reports[report], before)});
        before = &system.Reports[report];
    }
    return labels;
}

// Label sets at round times (midnights, Mondays, first days of months),
// each sparser than the one before, down to the first report alone; evenly
// spread sets where the stamps are not calendar dates.
std::vector<std::vector<XMark>> TrendTimeLabelSets(const SystemTrend& system) {
    std::vector<std::vector<XMark>> sets;
    if (system.Reports.empty()) return sets;
    const auto offer = [&sets](std::vector<XMark> labels) {
        if (!labels.empty() && (sets.empty() || labels.size() < sets.back().size())) sets.push_back(std::move(labels));
    };
    const bool calendar = std::all_of(system.Reports.begin(), system.Reports.end(),
                                      [](const ReportStamp& stamp) { return TimeOf(stamp).has_value(); });
    if (calendar)
        for (const LabelStep& step : kLabelSteps) offer(TrendCalendarLabels(system, step));
    else
        for (const std::size_t most : kTimeLabelCounts) offer(TrendTimeLabels(system, most));
    offer(TrendTimeLabels(system, 1));
    return sets;
}

ChartData TrendFigureChart(const SystemTrend& system, std::size_t figure, const std::vector<std::string>& pools) {
    ChartData chart;
    chart.Kind = ChartKind::Line;
    const std::vector<std::string>& names = TrendFigureNames();
    if (figure >= names.size()) return chart;
    chart.Title = names[figure] + " Over Time";
    chart.Subtitle = system.System;
    if (!system.Reports.empty()) chart.Subtitle += ", " + ReportsCollected(system);
    const std::string baseName = PoolFigures(PoolRecord{}, 1)[figure].Name.data();
    chart.ValueUnit = TraitsOf(baseName).Unit;
    chart.XUnit = "collected";
    const std::vector<const PoolTrend*> chosen = ChosenPools(system, pools);
    for (const PoolTrend* pool : chosen) chart.Series.push_back(PoolLine(system, *pool, figure));
    if (chart.Series.size() > kLinesTheColoursTellApart)
        chart.Note = "The colours repeat after eight pools: in the window, hovering over a line names its pool.";
    chart.Markers = EventMarkers(chosen);
    chart.XLabelSets = TrendTimeLabelSets(system);
    chart.Axis = ValueRange(chart.Series, !chart.Markers.empty());
    if (!system.Reports.empty()) chart.XAxis = AxisRange{0, static_cast<double>(system.Reports.size() - 1), true};
    return chart;
}

StringTable TrendAdviceGrid(const SystemTrend& system, const std::vector<std::string>& pools) {
    StringTable table{{"Pool", "Intent", "Advice", "First Seen", "Last Seen", "Reports"}, {}};
    for (const PoolTrend* pool : ChosenPools(system, pools))
        for (const UsageIntent intent : BothIntents)
            for (const AdviceSpan& span : pool->Advice[IntentIndex(intent)]) {
                if (span.Reports.empty()) continue;
                table.Rows.push_back({pool->Name, IntentName(intent), span.Text, When(system, span.Reports.front()),
                                      When(system, span.Reports.back()), std::to_string(span.Reports.size())});
            }
    return table;
}

StringTable TrendEventsGrid(const SystemTrend& system, const std::vector<std::string>& pools) {
    StringTable table{{"Report", "Collected", "Pool", "Event"}, {}};
    struct Row {
        std::size_t Report;
        std::size_t Order;
        std::vector<std::string> Cells;
    };
    std::vector<Row> rows;
    for (const PoolTrend* pool : ChosenPools(system, pools))
        for (const TrendEvent& event : pool->Events)
            rows.push_back({event.Report,
                            rows.size(),
                            {std::to_string(event.Report + 1), When(system, event.Report), pool->Name, event.Text}});
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.Report < b.Report; });
    for (Row& row : rows) table.Rows.push_back(std::move(row.Cells));
    return table;
}

StringTable TrendDriftGrid(const SystemTrend& system, const std::vector<std::string>& pools, Drift drift) {
    StringTable table{
        {"Pool", "Type", "Object", "First Seen", "Last Seen", "First Sync. I/Os/Sec", "Last Sync. I/Os/Sec", "Change"},
        {}};
    for (const PoolTrend* pool : ChosenPools(system, pools))
        for (const ObjectDrift& object : drift == Drift::Rises ? pool->SyncReadIORises : pool->SyncReadIOFalls)
            table.Rows.push_back({pool->Name, object.Type, object.Name, When(system, object.FirstReport),
                                  When(system, object.LastReport), FigureText(object.First), FigureText(object.Last),
                                  FigureText(object.Change)});
    return table;
}

StringTable TrendReportsGrid(const SystemTrend& system) {
    StringTable table{{"Report", "Date", "Time", "Elapsed Secs", "File"}, {}};
    for (std::size_t i = 0; i < system.Reports.size(); ++i) {
        const ReportStamp& report = system.Reports[i];
        table.Rows.push_back(
            {std::to_string(i + 1), report.Date, report.Time, Grouped(report.ElapsedSeconds, 0), report.File});
    }
    return table;
}

std::string TrendSummary(const TrendResult& result, const SystemTrend* system) {
    std::string text;
    if (system) {
        text = system->System + ": " + ReportsCollected(*system) + ".";
    } else if (result.Systems.empty()) {
        text = "No report was read to its end.";
    }
    if (!result.LeftOut.empty())
        text += (text.empty() ? "" : " ") + Counted(result.LeftOut.size(), "file") + " left out.";
    return text;
}

std::string TrendReadingText(std::size_t files) {
    return "Reading " + Counted(files, "statistics report") + "\u2026";
}

StringTable LeftOutGrid(const std::vector<LeftOutReport>& leftOut) {
    StringTable table{{"File", "Message"}, {}};
    for (const LeftOutReport& report : leftOut) {
        if (report.Messages.empty()) table.Rows.push_back({report.File, ""});
        for (const std::string& message : report.Messages) table.Rows.push_back({report.File, message});
    }
    return table;
}

std::string LeftOutDetail(std::string_view message) {
    std::string detail;
    for (std::size_t start = 0; start < message.size();) {
        const std::size_t tab = std::min(message.find('\t', start), message.size());
        const std::string_view part = TrimBlanks(message.substr(start, tab - start));
        if (!part.empty()) detail.append(detail.empty() ? "" : "\n").append(part);
        start = tab + 1;
    }
    return detail;
}

}  // namespace kov
