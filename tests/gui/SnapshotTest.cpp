// The window checked against the batch report: a snapshot of what every
// widget shows must agree with kovgraph-report --json wherever both show a
// figure, on the samples and on a report made to trip the last step.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <fstream>
#include <sstream>

#include "UiFixture.h"
#include "common/AtomicFile.h"
#include "readers/ReportWriter.h"
#include "report/BatchReport.h"
#include "sampledata/SampleGenerator.h"
#include "snapshot/ShownText.h"
#include "snapshot/WindowSnapshot.h"
#include "views/AxisTicks.h"
#include "widgets/ChartWidget.h"

namespace kov::test {
namespace {

using json = nlohmann::ordered_json;
using Path = std::vector<std::string>;

// Batch keys the window has no place for, each with the reason. A pattern
// component "*" stands for any one key or index; `when` limits a rule to
// batch values of one kind.
struct Lack {
    Path Pattern;
    const char* Why;
    bool (*When)(const json& batchValue, const json& batchParent) = nullptr;
};

bool IsEmptyText(const json& value, const json&) {
    return value == "";
}
bool IsBlankBar(const json& value, const json&) {
    return value == 0;
}
bool OfHiddenChart(const json&, const json& parent) {
    return parent.value("hidden", false);
}

const std::vector<Lack> kWindowLacks = {
    {{"messages"}, "message boxes belong to no page"},
    {{"*", "*", "messages"}, "a chart's messages come as message boxes"},
    {{"*", "*", "charts", "*", "messages"}, "a chart's messages come as message boxes"},
    {{"*", "*", "simulations", "*", "charts", "*", "messages"}, "a chart's messages come as message boxes"},
    {{"statsLoaded"}, "no widget says whether the report was read to its end"},
    {{"simulationsLoaded"}, "no widget says so"},
    {{"simulations"}, "the file-selection list names the files only"},
    {{"pools", "*", "index"}, "pools are shown by name"},
    {{"pools", "*", "tuningExplained", "*", "*", "rule"}, "the advice list shows no rule numbers"},
    {{"pools", "*", "simulations", "*", "simulationNo"}, "the page shows the slot, not the report number"},
    {{"pools", "*", "simulations", "*", "clusters", "*", "threshold"}, "the threshold file is not shown"},
    {{"pools", "*", "simulations", "*", "charts", "*", "points", "*", "label"},
     "a line point has no label",
     IsEmptyText},
    {{"*", "*", "charts", "*", "points", "*", "object"}, "a blank bar names no object", IsBlankBar},
    {{"*", "*", "charts", "*", "kind"}, "a hidden chart draws no series", OfHiddenChart},
};

// Window keys the batch leaves out: the axis range Qt Charts needs where the
// analysis fixes none (or only its top).
const std::vector<std::string> kWindowOnlyKeys = {"axis", "xAxis", "min"};

bool Matches(const Path& pattern, const Path& path) {
    if (pattern.size() != path.size()) return false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i] != "*" && pattern[i] != path[i]) return false;
    return true;
}

bool WindowMayLack(const Path& path, const json& batchValue, const json& batchParent) {
    for (const Lack& lack : kWindowLacks)
        if (Matches(lack.Pattern, path) && (!lack.When || lack.When(batchValue, batchParent))) return true;
    return false;
}

std::string Joined(const Path& path) {
    std::string text;
    for (const std::string& key : path) text += "/" + key;
    return text.empty() ? "/" : text;
}

// Half a unit of the last decimal the window shows ("12.3" to 0.05), or a
// float's precision, whichever is larger.
bool SameAtShownPrecision(double window, double batch) {
    const std::string shown = json(window).dump();
    const std::size_t point = shown.find('.');
    const int decimals = point == std::string::npos || shown.find('e') != std::string::npos
                             ? 0
                             : static_cast<int>(shown.size() - point - 1);
    const double halfUnit = 0.5 * std::pow(10.0, -decimals);
    const double size = std::max(std::fabs(window), std::fabs(batch));
    return std::fabs(window - batch) <= std::max(halfUnit, 1e-7 * size) + 1e-12 * size;
}

// An axis the analysis fixes to one value is drawn over a wider range, so it
// has a length to stand on.
bool IsSinglePointAxis(const json& window, const json& batch) {
    return batch.contains("max") && window.contains("min") &&
           batch["max"].get<double>() <= batch.value("min", window["min"].get<double>());
}

// A bar chart's axis is drawn opened below the smallest value the analysis
// fixes (the window's rule), so that value's bar has a length. The opened
// bottom follows from both ends, so it is held to a float's precision of the
// larger one.
bool IsOpenedBarAxis(const json& window, const json& batch) {
    if (!batch.contains("min") || !batch.contains("max") || !window.contains("min") || !window.contains("max"))
        return false;
    const auto [low, high] = OpenedBarAxis(batch["min"].get<double>(), batch["max"].get<double>());
    const double precision = 1e-6 * std::max(std::fabs(low), std::fabs(high));
    return std::fabs(window["min"].get<double>() - low) <= precision &&
           SameAtShownPrecision(window["max"].get<double>(), high);
}

void Compare(const json& window, const json& batch, Path& path, std::vector<std::string>& differences) {
    if (batch.is_object() && window.is_object()) {
        if (!path.empty() && (path.back() == "axis" || path.back() == "xAxis") &&
            (IsSinglePointAxis(window, batch) || IsOpenedBarAxis(window, batch)))
            return;
        for (const auto& [key, value] : batch.items()) {
            path.push_back(key);
            if (window.contains(key))
                Compare(window[key], value, path, differences);
            else if (!WindowMayLack(path, value, batch))
                differences.push_back(Joined(path) + ": the window shows nothing (batch " + value.dump() + ")");
            path.pop_back();
        }
        for (const auto& [key, value] : window.items()) {
            if (!batch.contains(key) && std::ranges::find(kWindowOnlyKeys, key) == kWindowOnlyKeys.end())
                differences.push_back(Joined(path) + "/" + key + ": only the window shows " + value.dump());
        }
    } else if (batch.is_array() && window.is_array()) {
        if (batch.size() != window.size())
            differences.push_back(Joined(path) + ": window has " + std::to_string(window.size()) + " entries, batch " +
                                  std::to_string(batch.size()));
        for (std::size_t i = 0; i < std::min(batch.size(), window.size()); ++i) {
            path.push_back(std::to_string(i));
            Compare(window[i], batch[i], path, differences);
            path.pop_back();
        }
    } else if (batch.is_number() && window.is_number()) {
        if (!SameAtShownPrecision(window.get<double>(), batch.get<double>()))
            differences.push_back(Joined(path) + ": window " + window.dump() + ", batch " + batch.dump());
    } else if (window != batch) {
        differences.push_back(Joined(path) + ": window " + window.dump() + ", batch " + batch.dump());
    }
}

std::vector<std::string> Differences(const json& window, const json& batch, Path path = {}) {
    std::vector<std::string> differences;
    Compare(window, batch, path, differences);
    return differences;
}

json BatchDocument(const ReportSet& set) {
    BatchOptions options;
    options.Json = true;
    options.AccDir = SampleFolder().toStdString();
    options.StatFile = set.Stat.toStdString();
    for (const QString& sim : set.Sims) options.SimFiles.push_back(sim.toStdString());
    std::ostringstream out;
    RunBatchReport(options, out);
    return json::parse(out.str());
}

json WindowDocument(const ReportSet& set) {
    snapshot::SnapshotOptions options;
    options.Files = {set.Stat, set.Sims};
    options.AccDir = SampleFolder();
    return snapshot::TakeSnapshot(options).Document;
}

// A report made to trip the window's last step: ties and repeated names in
// the top lists, a pool where nothing happened (zero totals, hidden pies), a
// pool without objects, a data-space pool, simulations of two pools, an
// object whose counters the data checks find suspect, and a pool whose pages
// read pie holds a negative counter (a slice cannot draw it).
ReportSet WriteTrickyReport(const QTemporaryDir& folder) {
    SamplePlan plan;
    plan.Seed = 1507;
    plan.Pools = {{"BP0", PoolUse::Data, 14, 20000, 0, false},
                  {"BP1", PoolUse::Index, 0, 5000, 0, false},
                  {"BP2", PoolUse::Data, 4, 3000, 0, false},
                  {"BP3", PoolUse::Catalog, 9, 10000, 0, true}};
    ReportModel model = GenerateReport(plan);
    PoolRecord& idle = model.Pools(3);
    idle.Activity = {};
    for (int o = idle.FirstObject; o <= idle.LastObject; ++o) model.Objects(o).Activity = {};
    const PoolRecord& tied = model.Pools(4);
    for (int o = tied.FirstObject + 1; o <= tied.FirstObject + 4; ++o)
        model.Objects(o).Activity = model.Objects(tied.FirstObject).Activity;
    model.Objects(tied.FirstObject + 2).ObjectName = model.Objects(tied.FirstObject + 1).ObjectName;
    model.Objects(model.Pools(1).FirstObject).Activity.GetPages = -999999999;
    model.Pools(2).Activity.PagesReadByType[1] = -7175;
    AddSimulation(model, 1, 8, 15);
    AddSimulation(model, 4, 9, 16);
    AddSimulation(model, 1, 8, 17);
    ReportSet set{WriteStatFile(model, folder.filePath("tricky.sta")), {}};
    for (int k = 1; k <= model.SimulationCount; ++k) {
        set.Sims << folder.filePath(QString("tricky_%1.sim").arg(k));
        WriteFileAtomically(set.Sims.back().toStdString(), [&](std::ostream& out) { WriteSimReport(model, k, out); });
    }
    return set;
}

std::string Listed(const std::vector<std::string>& differences) {
    std::string text;
    for (const std::string& difference : differences) text += "  " + difference + "\n";
    return text;
}

// The window's document, once compared with the batch report's.
json ExpectWindowAgreesWithBatch(const ReportSet& set, const json& batch) {
    const json window = WindowDocument(set);
    for (const auto& [section, value] : batch.items()) {
        SCOPED_TRACE(section);
        if (!window.contains(section)) {
            EXPECT_TRUE(WindowMayLack({section}, value, batch)) << "the snapshot lost the section " << section;
            continue;
        }
        const std::vector<std::string> differences = Differences(window[section], value, {section});
        EXPECT_TRUE(differences.empty()) << section << " differs at\n" << Listed(differences);
    }
    return window;
}

// Neither side may show a figure of pools that are not there.
TEST(WindowSnapshot, AgreesWithTheBatchReportOnTheSamplesAndOnAReportWithoutPools) {
    QTemporaryDir folder;
    const ReportSet empty{WriteStatFile(GenerateReport(SamplePlan{}), folder.filePath("nopools.sta")), {}};
    for (const auto& [set, pools] : {std::pair{SampleSet(), 8u}, {empty, 0u}}) {
        SCOPED_TRACE(set.Stat.toStdString());
        EXPECT_EQ(ExpectWindowAgreesWithBatch(set, BatchDocument(set))["pools"].size(), pools);
    }
}

TEST(WindowSnapshot, AgreesWithTheBatchReportOnTiesZeroTotalsAndAnEmptyPool) {
    QTemporaryDir folder;
    const ReportSet tricky = WriteTrickyReport(folder);
    const json batch = BatchDocument(tricky);
    ExpectWindowAgreesWithBatch(tricky, batch);
    // The report does hold what it is made for (and the window agreed).
    EXPECT_NE(batch.dump().find("Duplicate Values"), std::string::npos);
    EXPECT_NE(batch.dump().find("\"hidden\":true"), std::string::npos);
    EXPECT_EQ(batch["pools"][1]["objectGrid"]["rows"].size(), 0u);
    EXPECT_EQ(batch["pools"][0]["simulations"].size(), 2u);
    EXPECT_EQ(batch["pools"][3]["simulations"].size(), 1u);
    EXPECT_TRUE(batch["pools"][3]["info"].contains("VP DS Size"));
    EXPECT_FALSE(batch["dataChecks"].empty());
}

// The comparison sees a fault in the last step: a value label, a category
// and a grid cell changed after the window drew them.
TEST(WindowSnapshot, ComparisonNamesThePathsThatDiffer) {
    const json batch = BatchDocument(SampleSet());
    json window = batch;
    window["totals"]["Total Get Pages"] = "1";
    window["pools"][0]["charts"]["Top Get Pages"]["points"][2]["label"] = "DSNDB06.OTHER";
    window["graphicSummary"][0]["points"][1]["value"] =
        batch["graphicSummary"][0]["points"][1]["value"].get<double>() + 1;
    window["pools"][2].erase("tuning");
    EXPECT_EQ(
        Differences(window, batch),
        (std::vector<std::string>{
            "/totals/Total Get Pages: window \"1\", batch " + batch["totals"]["Total Get Pages"].dump(),
            "/graphicSummary/0/points/1/value: window " + window["graphicSummary"][0]["points"][1]["value"].dump() +
                ", batch " + batch["graphicSummary"][0]["points"][1]["value"].dump(),
            "/pools/0/charts/Top Get Pages/points/2/label: window \"DSNDB06.OTHER\", batch " +
                batch["pools"][0]["charts"]["Top Get Pages"]["points"][2]["label"].dump(),
            "/pools/2/tuning: the window shows nothing (batch " + batch["pools"][2]["tuning"].dump() + ")"}));
}

// --first: after Back and Reset nothing of the first report remains.
TEST(WindowSnapshot, AFirstReportLeavesNoTrace) {
    QTemporaryDir folder;
    const ReportSet tricky = WriteTrickyReport(folder);
    const QString plain = folder.filePath("plain.json"), afterFirst = folder.filePath("after-first.json");
    const auto run = [&](const QString& out, const QStringList& first) {
        QStringList arguments{"--snapshot", out, "--acc-dir", SampleFolder()};
        if (!first.isEmpty()) arguments << "--first" << first << "--";
        arguments << SampleSet().Stat << SampleSet().Sims;
        return QProcess::execute(KOVGRAPH_EXE, arguments);
    };
    ASSERT_EQ(run(plain, {}), 0);
    ASSERT_EQ(run(afterFirst, QStringList{tricky.Stat} << tricky.Sims), 0);
    const json withoutFirst = json::parse(FileBytes(plain).toStdString());
    const json withFirst = json::parse(FileBytes(afterFirst).toStdString());
    EXPECT_EQ(withFirst, withoutFirst) << Listed(Differences(withFirst, withoutFirst));
    EXPECT_EQ(withoutFirst["pools"].size(), BatchDocument(SampleSet())["pools"].size());
}

TEST(WindowSnapshot, ShownFiguresReadBack) {
    const struct {
        const char* Shown;
        std::optional<double> Number;
    } cases[] = {
        {"1,362,870", 1362870}, {"   12.34", 12.34},  {"3,5", 3.5},       {"1.234,5", 1234.5},   {"-0.25", -0.25},
        {"12,34", 12.34},       {"1,234.50", 1234.5}, {"", std::nullopt}, {"BP0", std::nullopt}, {"12%", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(snapshot::ShownNumber(c.Shown), c.Number) << c.Shown;
    EXPECT_EQ(snapshot::DrawnText(ChartWidget::PlainText("Index <  95% & \"x\"") + QChar(0x200B)),
              "Index <  95% & \"x\"");
    EXPECT_EQ(snapshot::DrawnTitles("A&amp;B<br>Sub&nbsp;&nbsp;x"),
              (std::pair<std::string, std::string>{"A&B", "Sub  x"}));
}

// (A sound command line is read by AFirstReportLeavesNoTrace.)
TEST(WindowSnapshot, RefusesAnIncompleteCommandLine) {
    const QStringList bad[] = {
        {"--snapshot", "out.json"},
        {"--snapshot"},
        {"--snapshot", "out.json", "--first", "a.sta", "b.sta"},
        {"--snapshot", "out.json", "--first", "--", "b.sta"},
        {"--snapshot", "out.json", "--bogus", "b.sta"},
    };
    for (const QStringList& arguments : bad) {
        std::string error;
        EXPECT_FALSE(snapshot::ParseSnapshotArguments(arguments, error)) << arguments.join(' ').toStdString();
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace kov::test
