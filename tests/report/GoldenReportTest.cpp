// The batch report of the bundled samples, JSON and text, compared whole with
// the files under tests/report/golden. A change of any figure, caption or
// spacing shows up here as a diff. After an intended change, regenerate with
//
//   KOVGRAPH_UPDATE_GOLDEN=1 build/dev/tests/kovgraph_engine_tests --gtest_filter='GoldenReport*'
//
// and review the difference in git before committing it.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/AtomicFile.h"
#include "report/BatchReport.h"
#include "report/CompareReport.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

namespace fs = std::filesystem;

void WriteWhole(const fs::path& path, const std::string& text) {
    WriteFileAtomically(path.string(), [&](std::ostream& out) { out << text; });
}

std::string Diff(const fs::path& expected, const fs::path& actual) {
    const std::string command = "diff -u '" + expected.string() + "' '" + actual.string() + "' | head -n 80";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

// A report run from the samples folder with names relative to it, so the
// file names in the document are the same on every machine.
template <typename Run>
std::string FromSamples(Run run) {
    const fs::path before = fs::current_path();
    fs::current_path(KOVGRAPH_SAMPLES);
    std::ostringstream out;
    const int status = run(out);
    fs::current_path(before);
    EXPECT_EQ(status, 0);
    return out.str();
}

// Compares the report with its golden file, or rewrites the file when asked.
void ExpectGolden(const std::string& name, const std::string& report) {
    const fs::path golden = fs::path(KOVGRAPH_GOLDEN) / name;
    fs::path actual = golden;
    actual += ".actual";
    if (std::getenv("KOVGRAPH_UPDATE_GOLDEN") != nullptr) {
        WriteWhole(golden, report);
        fs::remove(actual);
        std::printf("rewrote %s\n", golden.c_str());
        return;
    }
    if (report == test::ReadWhole(golden.string())) {
        fs::remove(actual);
        return;
    }
    WriteWhole(actual, report);
    ADD_FAILURE() << golden << " differs; the report is in " << actual << ":\n" << Diff(golden, actual);
}

// The samples, and the bundled sample against the same system a week later.
TEST(GoldenReport, SamplesAndTheirComparisonReadAsTheGoldenFilesSay) {
    for (const bool json : {true, false}) {
        BatchOptions options;
        options.Json = json;
        options.AccDir = ".";
        options.StatFile = "SYSA_DB2P_20261130.sta";
        options.SimFiles = {"SYSA_DB2P_20261130_BP0.sim", "SYSA_DB2P_20261130_BP1.sim", "SYSA_DB2P_20261130_BP2.sim"};
        ExpectGolden(json ? "samples.json" : "samples.txt",
                     FromSamples([&](std::ostream& out) { return RunBatchReport(options, out); }));
        std::ostringstream err;
        ExpectGolden(json ? "compare.json" : "compare.txt", FromSamples([&](std::ostream& out) {
                         return RunCompareReport({json, "SYSA_DB2P_20261130.sta", "SYSA_DB2P_20261207.sta"}, out, err);
                     }));
        EXPECT_EQ(err.str(), "");
    }
}

}  // namespace
}  // namespace kov
