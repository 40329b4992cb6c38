// kovgraph-report [--json] [--intent R|S] [--radius R] [--acc-dir DIR] STATFILE [SIMFILE...]
// kovgraph-report --csv DIR STATFILE [SIMFILE...]
// kovgraph-report --compare BEFORE AFTER [--json]
// kovgraph-report --advise-sizes [--budget-mb MB] [--json] STATFILE SIMFILE...
// kovgraph-report --trend [--json] [--system NAME] [--from DATE] [--to DATE] FILE...
// kovgraph-report --trend [--json] [--system NAME] [--from DATE] [--to DATE] --history DB
// kovgraph-report --history DB --add FILE...
// kovgraph-report --history DB --list

#include <cmath>
#include <filesystem>
#include <iostream>
#include <optional>

#include "cli/CommandLine.h"
#include "cluster/ClusterAnalysis.h"
#include "common/CollectionDate.h"
#include "common/HeapPolicy.h"
#include "report/BatchReport.h"
#include "report/CompareReport.h"
#include "report/CsvExport.h"
#include "report/HistoryReport.h"
#include "report/SizeAdviceReport.h"
#include "report/TrendReport.h"

namespace {

int RunReport(int argc, char** argv) {
    kov::BatchOptions options;
    std::string intent = kov::IntentKey(kov::UsageIntent::Random);
    CLI::App app{"KOVGraph batch report: the analysis of DB2 buffer-pool statistics and simulation reports"};
    app.set_version_flag("--version", std::string("kovgraph-report ") + KOVGRAPH_VERSION_TEXT);
    CLI::Option* json = app.add_flag("--json", options.Json, "print the analysis as a JSON document");
    std::string csvDir;
    CLI::Option* csv = app.add_option("--csv", csvDir, "write the grids as CSV files into DIR (their names: README.md)")
                           ->type_name("DIR")
                           ->excludes(json)
                           ->check(CLI::Validator(
                               [](std::string& dir) { return dir.empty() ? std::string("DIR is empty") : ""; }, "DIR"));
    app.add_option("--intent", intent, "pool usage intent for the cluster default: R (random) or S (sequential)")
        ->check(CLI::IsMember(
            std::vector{kov::IntentKey(kov::UsageIntent::Random), kov::IntentKey(kov::UsageIntent::Sequential)}));
    // The radius is read by the engine's rule for exact text, so the check
    // and the value come from the same reading.
    const CLI::Validator radiusCheck(
        [&options](std::string& text) {
            const kov::ClusterRadius radius = kov::ReadClusterRadius(text, kov::RadiusText::Exact);
            if (radius.Refusal.empty()) options.Radius = radius.Radius;
            return radius.Refusal;
        },
        "NUMBER>=0");
    std::string radiusText;
    app.add_option("--radius", radiusText, "cluster radius (default 1.2)")->type_name("FLOAT")->check(radiusCheck);
    app.add_option("--acc-dir", options.AccDir, "folder holding Rand.acc and Seq.acc (default: the program's folder)");
    std::vector<std::string> compare;
    CLI::Option* compareOption = app.add_option("--compare", compare, "compare two statistics reports: BEFORE AFTER")
                                     ->expected(2)
                                     ->excludes(csv);
    bool adviseSizes = false;
    CLI::Option* advise =
        app.add_flag("--advise-sizes", adviseSizes,
                     "recommend a size for each simulated pool within a memory budget (docs/size-advice.md)")
            ->excludes(csv);
    double budgetMB = 0;
    CLI::Option* budget = app.add_option("--budget-mb", budgetMB,
                                         "memory budget of the simulated pools in MB (default: what they take now)")
                              ->type_name("MB")
                              ->check(CLI::Validator(
                                  [](std::string& text) {
                                      double mb = 0;
                                      const bool number = CLI::detail::lexical_cast(text, mb);
                                      return number && mb >= 0 && std::isfinite(mb)
                                                 ? std::string()
                                                 : "the budget is a number of MB, 0 or more: " + text;
                                  },
                                  "MB>=0"))
                              ->needs(advise);
    // The trend's reports: the FILEs (STATFILE and SIMFILE positions alike).
    kov::TrendOptions trend;
    bool trendWanted = false;
    CLI::Option* trendFlag =
        app.add_flag("--trend", trendWanted, "the trend of many statistics reports in time order (docs/trend-json.md)")
            ->excludes(csv)
            ->excludes(advise)
            ->excludes(compareOption);
    const CLI::Validator dateCheck(
        [](std::string& text) {
            return kov::ReadCollectionDate(text) ? std::string()
                                                 : "not a date (2026-11-30, 30-NOV-26, 11/30/2026): " + text;
        },
        "DATE");
    app.add_option("--system", trend.Filter.System, "the trend of this system only (SYSA or SYSA/DB2P)")
        ->needs(trendFlag);
    app.add_option("--from", trend.Filter.FromDate, "reports collected on or after this date")
        ->type_name("DATE")
        ->check(dateCheck)
        ->needs(trendFlag);
    app.add_option("--to", trend.Filter.ToDate, "reports collected on or before this date")
        ->type_name("DATE")
        ->check(dateCheck)
        ->needs(trendFlag);
    std::string historyDb;
    CLI::Option* history =
        app.add_option("--history", historyDb, "the history database, made when missing (docs/history.md)")
            ->type_name("DB")
            ->excludes(csv)
            ->excludes(advise)
            ->excludes(compareOption);
    std::vector<std::string> addFiles;
    CLI::Option* add = app.add_option("--add", addFiles, "store statistics reports in the history database")
                           ->type_name("FILE")
                           ->expected(1, -1)
                           ->needs(history)
                           ->excludes(trendFlag);
    bool listHistory = false;
    CLI::Option* list = app.add_flag("--list", listHistory, "list the systems and intervals the history database holds")
                            ->needs(history)
                            ->excludes(add)
                            ->excludes(trendFlag);
    app.add_option("STATFILE", options.StatFile, "statistics report or consolidated data file");
    app.add_option("SIMFILE", options.SimFiles, "simulation reports, read in the order given");
    const auto checkCombinations = [&] {
        if (!compare.empty() && (compare.size() != 2 || !options.StatFile.empty()))
            throw CLI::ValidationError("--compare", "takes exactly two statistics reports: BEFORE AFTER");
        if (history->count() > 0 && add->count() + list->count() == 0 && !trendWanted)
            throw CLI::ValidationError("--history", "needs --add FILE..., --list or --trend");
        if (history->count() > 0 && !options.StatFile.empty())
            throw CLI::ValidationError("--history", "takes its reports after --add, and a trend reads them from DB");
        if (trendWanted && options.StatFile.empty() && history->count() == 0)
            throw CLI::ValidationError("--trend", "takes one or more statistics reports: FILE..., or --history DB");
        if (compare.empty() && options.StatFile.empty() && history->count() == 0) throw CLI::RequiredError("STATFILE");
        if (adviseSizes && !compare.empty())
            throw CLI::ValidationError("--advise-sizes", "reads one statistics report and its simulation reports");
    };
    if (const std::optional<int> status =
            kov::ParseCommandLine(app, argc, argv, "kovgraph-report", "--help", checkCombinations))
        return *status;
    if (trendWanted) {
        trend.Json = options.Json;
        trend.Files.push_back(options.StatFile);
        trend.Files.insert(trend.Files.end(), options.SimFiles.begin(), options.SimFiles.end());
    }
    options.Intent = kov::IntentFromLetter(intent.front()).value_or(kov::UsageIntent::Random);
    if (options.AccDir.empty()) {
        std::error_code ec;
        const auto self = std::filesystem::canonical("/proc/self/exe", ec);
        options.AccDir = kov::ThresholdFolder(ec ? std::string(".") : self.parent_path().string());
    }
    try {
        if (csv->count() > 0) return kov::RunCsvExport(options, csvDir, std::cerr);
        if (adviseSizes)
            return kov::RunSizeAdviceReport({options.Json, budget->count() > 0 ? std::optional(budgetMB) : std::nullopt,
                                             options.StatFile, options.SimFiles},
                                            std::cout, std::cerr);
        if (add->count() > 0) return kov::RunHistoryAdd(historyDb, addFiles, std::cout, std::cerr);
        if (listHistory) return kov::RunHistoryList(historyDb, std::cout, std::cerr);
        if (trendWanted && history->count() > 0)
            return kov::RunHistoryTrend(historyDb, trend.Filter, trend.Json, std::cout, std::cerr);
        if (trendWanted) return kov::RunTrendReport(trend, std::cout, std::cerr);
        if (!compare.empty())
            return kov::RunCompareReport({options.Json, compare[0], compare[1]}, std::cout, std::cerr);
        return kov::RunBatchReport(options, std::cout);
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph-report: " << failure.what() << "\n";
        return 1;
    }
}

}  // namespace

// A failure outside the report's own handling still ends with its description.
int main(int argc, char** argv) {
    kov::KeepFreedHeapForReuse();
    try {
        return RunReport(argc, argv);
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph-report: " << failure.what() << "\n";
        return 1;
    }
}
