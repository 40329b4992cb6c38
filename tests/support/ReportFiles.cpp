#include "support/ReportFiles.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kov::test {

namespace {

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ReportRun RunReportProgram(const TempFolder& folder, const std::string& arguments) {
    const std::string out = folder.Path("stdout.txt"), err = folder.Path("stderr.txt");
    const std::string command =
        std::string("'") + KOVGRAPH_REPORT_EXE + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadWhole(out), ReadWhole(err)};
}

void ExpectProgramRuns(const TempFolder& folder, const std::vector<ProgramCase>& cases) {
    for (const ProgramCase& k : cases) {
        SCOPED_TRACE(k.arguments);
        const ReportRun run = RunReportProgram(folder, k.arguments);
        EXPECT_EQ(run.status, k.status);
        EXPECT_NE(run.err.find(k.errorHas), std::string::npos) << run.err;
        EXPECT_NE(run.out.find(k.outHas), std::string::npos) << run.out;
        EXPECT_EQ(run.out.empty(), k.status == 2);
    }
}

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("kovgraph-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

SamplePlan SmallPlan() {
    SamplePlan plan;
    plan.Seed = 7;
    plan.CollectionDate = "30-NOV-26";  // letters, so case matters when dates are compared
    plan.Pools = {{"BP0", PoolUse::Catalog, 3, 1000, 0, false},
                  {"BP10", PoolUse::Index, 2, 3000, 0, false},
                  {"BP1", PoolUse::Data, 4, 800, 200, true},
                  {"BP2", PoolUse::Data, 0, 500, 0, false},
                  {"BP32K", PoolUse::SortWork, 0, 300, 0, false}};
    return plan;
}

SamplePlan DriftedPlan(const std::string& date, const std::string& time, double missFactor, std::int32_t bp1Size) {
    SamplePlan plan = SmallPlan();
    plan.CollectionDate = date;
    plan.CollectionTime = time;
    for (PoolPlan& pool : plan.Pools) {
        pool.MissFactor = missFactor;
        if (pool.Name == "BP1") pool.VPSize = bp1Size;
    }
    return plan;
}

std::vector<std::string> StatLines(const ReportModel& model, const WriteOptions& options) {
    std::ostringstream out;
    WriteStatReport(model, out, options);
    return SplitCrLf(out.str());
}

std::vector<std::string> SimLines(const ReportModel& model, int simNo, const WriteOptions& options) {
    std::ostringstream out;
    WriteSimReport(model, simNo, out, options);
    return SplitCrLf(out.str());
}

std::vector<std::string> ConsolidatedLines(const ReportModel& model) {
    std::ostringstream out;
    WriteConsolidatedFile(model, out);
    return SplitCrLf(out.str());
}

std::string WriteLines(const std::string& path, const std::vector<std::string>& lines, std::string_view lineEnd) {
    std::string text;
    for (const std::string& line : lines) text.append(line).append(lineEnd);
    return WriteBytes(path, text);
}

std::string WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write test file " + path);
    return path;
}

std::string Overwrite(std::string line, int column, std::string_view text) {
    const auto at = static_cast<std::size_t>(column - 1);
    if (line.size() < at + text.size()) line.resize(at + text.size(), ' ');
    line.replace(at, text.size(), text);
    return line;
}

std::vector<std::string> Session::Titles() const {
    std::vector<std::string> titles;
    for (const Message& m : Sink.Messages) titles.push_back(m.Title);
    return titles;
}

std::string FieldErrorTail(int line, int field, int column) {
    return "\"\tData Line         : \"" + std::to_string(line) + "\"\tError in Field    : \"" + std::to_string(field) +
           "\"\tError at Index    : \"" + std::to_string(column) + "\"\t";
}

}  // namespace kov::test
