#pragma once
// Many collection intervals of one system, in time order: how each pool's
// figures, settings and advice moved, and which objects grew or fell.
//
// A statistics report is first reduced to a `TrendReport`: what a trend
// follows and nothing else (the history database stores exactly this, so a
// trend read back from it equals one built from the files). Every number in
// it comes from the functions the compare uses (`PoolFigures` with counts per
// second of the report's own elapsed time, `EvaluatePoolRules`), so a trend
// of two reports shows the compare's before and after.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "analysis/TuningRules.h"
#include "common/InlineText.h"
#include "model/ReportModel.h"

namespace kov {

// One object of a pool as a trend follows it. The name and type are held in
// place, as wide as the report's columns; the counts are the report's own,
// over its interval (PerSecond with the stamp's elapsed seconds gives the
// rates), so a history stores them as whole numbers.
struct TrendObject {
    InlineText<decltype(ObjectRecord::ObjectName)::Width> Name;  // trimmed, as the compare matches objects
    InlineText<decltype(ObjectRecord::ObjectType)::Width> Type;  // "T", "I", ...
    std::int32_t GetPages = 0;
    std::int32_t SyncReadIOs = 0;  // synchronous read I/Os
};

// The settings whose change between two reports is an event.
struct PoolSettings {
    std::int32_t VPSize = 0;
    std::int32_t HPSize = 0;
    std::int32_t VPSEQT = 0;
    std::int32_t HPSEQT = 0;
    double DWQT = 0;
    double VDWQT = 0;
    friend bool operator==(const PoolSettings&, const PoolSettings&) = default;
};

struct TrendPool {
    std::string Name;  // trimmed
    PoolSettings Settings;
    // The 14 pool-grid figures after "Pool", in column order; a count is per
    // second of the report's elapsed time (0 when it has no length), as the
    // compare's before and after.
    std::vector<double> Figures;
    std::array<std::vector<std::string>, 2> Advice;  // in BothIntents order (Random, Sequential)
    std::vector<TrendObject> Objects;                // in report order
};

// Which report, of which system, when, and how long its interval was.
struct ReportStamp {
    std::string File;
    std::string System;  // the header's identity: system and subsystem, trimmed, "SYSA/DB2P"
    std::string Date;    // the header's collection date, trimmed ("2026-11-30")
    std::string Time;    // the header's collection time, trimmed ("10:00:00")
    std::int32_t ElapsedSeconds = 0;
};

// True when a was collected before b (date, then time).
bool CollectedBefore(const ReportStamp& a, const ReportStamp& b);

// One statistics report reduced to what a trend follows.
struct TrendReport {
    ReportStamp Stamp;
    std::vector<TrendPool> Pools;  // in report order
};

// The object counters a trend reads from a report: what SummarizeReport
// keeps of each object and what the pool rules read. A trend's reports are
// read with these alone, which at capacity is most of the work saved.
inline constexpr ActivityCounters TrendObjectCounters =
    PoolRuleObjectCounters | ActivityCounters::Of({ActivityPositionOf(&ActivityBlock::GetPages),
                                                   ActivityPositionOf(&ActivityBlock::ReadIOsByType, 1)});

// A report read to its end, reduced. Its objects must have been read with
// at least TrendObjectCounters (else std::logic_error).
TrendReport SummarizeReport(const ReportModel& model, const std::string& file);

// A report that is not part of the trend, and why.
struct LeftOutReport {
    std::string File;
    std::vector<std::string> Messages;
};

// Which reports a trend takes: one system (empty: every system), and a
// range of collection dates, both ends included (empty: open).
struct TrendFilter {
    std::string System;
    std::string FromDate;
    std::string ToDate;
};
bool Passes(const TrendFilter& filter, const ReportStamp& stamp);

// One pool-grid figure of one pool, one value per report of its system
// (nothing where the pool is absent from that report).
using FigureSeries = std::vector<std::optional<double>>;

struct TrendEvent {
    std::size_t Report = 0;  // position in SystemTrend::Reports
    std::string Text;        // "VP size 40,000 -> 60,000", "pool appears", ...
};

// An advice line and the reports (positions) in which it fired.
struct AdviceSpan {
    std::string Text;
    std::vector<std::size_t> Reports;
};

// An object's synchronous read I/Os per second in the first and last report
// of the trend in which it appears.
struct ObjectDrift {
    std::string Name;
    std::string Type;
    std::size_t FirstReport = 0;
    std::size_t LastReport = 0;
    double First = 0;
    double Last = 0;
    double Change = 0;
};

struct PoolTrend {
    std::string Name;
    std::vector<FigureSeries> Figures;              // the 14 pool-grid figures
    std::vector<TrendEvent> Events;                 // in time order
    std::array<std::vector<AdviceSpan>, 2> Advice;  // BothIntents order; in order of first firing
    std::vector<ObjectDrift> SyncReadIORises;       // ten largest rises, largest first
    std::vector<ObjectDrift> SyncReadIOFalls;       // ten largest falls, largest first
};

struct SystemTrend {
    std::string System;
    std::vector<ReportStamp> Reports;  // in collection date and time order
    std::vector<PoolTrend> Pools;      // in order of first appearance
};

struct TrendResult {
    std::vector<SystemTrend> Systems;  // ordered by system identity
    std::vector<LeftOutReport> LeftOut;
};

// Folds reports into trends one at a time, so a month of reports at capacity
// never has to be held whole: each system's reports must come in collection
// order (CollectedBefore); a second report of one system with the same date
// and time is left out and listed. Objects are kept only as each object's
// first and last figures.
class TrendBuilder {
public:
    TrendBuilder();
    ~TrendBuilder();
    TrendBuilder(const TrendBuilder&) = delete;
    TrendBuilder& operator=(const TrendBuilder&) = delete;

    void Add(TrendReport report);
    void LeaveOut(LeftOutReport report);
    TrendResult Finish();  // the builder is spent

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The reports in any order: sorted by collection date and time, then built.
TrendResult BuildTrends(std::vector<TrendReport> reports, std::vector<LeftOutReport> leftOut = {});

// Reads every file on all cores (a worker per thread taking the next file
// as it finishes one; 0 threads: every core), reduces each report read to
// its end and lists the others with their messages, and builds the trend of
// the reports the filter passes. The result does not depend on the number
// of threads.
// Once `stop` is requested no further report is begun: the reports being
// read are finished, and the trend is that of the reports read so far.
TrendResult TrendFromFiles(const std::vector<std::string>& files, const TrendFilter& filter = {}, unsigned threads = 0,
                           const std::stop_token& stop = {});

// Reads the files on all cores (as TrendFromFiles does; 0 threads: every
// core) and hands each to `use` in the files' order: the report reduced, or
// nothing and why it is left out (the history database stores them so).
// Once `stop` is requested no further report is begun or handed over.
void ReadTrendReports(const std::vector<std::string>& files, unsigned threads,
                      const std::function<void(std::optional<TrendReport>, LeftOutReport)>& use,
                      const std::stop_token& stop = {});

}  // namespace kov
