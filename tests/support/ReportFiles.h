#pragma once
// Test fixtures for the readers: report files built with the report writer
// (or from raw lines) in a folder of their own, and a reading session that
// records every message and progress step instead of showing them.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/Message.h"
#include "model/ReportModel.h"
#include "readers/ReportLoading.h"
#include "readers/ReportReader.h"
#include "readers/ReportWriter.h"
#include "sampledata/SampleGenerator.h"

namespace kov::test {

// A fresh folder per test, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path(std::string_view fileName) const { return (path_ / fileName).string(); }

private:
    std::filesystem::path path_;
};

// Five pools in this order: BP0 (3 objects, 1000 + 0 buffers), BP10 (2),
// BP1 (4, 800 + 200), BP2 (none) and BP32K (none, the last pool). BP10 comes
// before BP1 so that a simulation of BP1 must not stop at BP10.
SamplePlan SmallPlan();
// The small plan collected at another time, its misses scaled by missFactor
// and BP1 at another VP size: one report of a series whose figures drift.
SamplePlan DriftedPlan(const std::string& date, const std::string& time, double missFactor, std::int32_t bp1Size);

// The report the writer makes, one entry per line, line ends removed.
std::vector<std::string> StatLines(const ReportModel& model, const WriteOptions& options = {});
std::vector<std::string> SimLines(const ReportModel& model, int simNo, const WriteOptions& options = {});
std::vector<std::string> ConsolidatedLines(const ReportModel& model);

// Writes the lines, each followed by lineEnd; returns the path.
std::string WriteLines(const std::string& path, const std::vector<std::string>& lines,
                       std::string_view lineEnd = "\r\n");
std::string WriteBytes(const std::string& path, std::string_view bytes);
// The file's bytes as they are; empty when it cannot be read.
std::string ReadWhole(const std::string& path);

// The line with text put at a 1-based column, blank-padded when the line is
// shorter: how a test spoils one column of an otherwise good line.
std::string Overwrite(std::string line, int column, std::string_view text);

// One user session: a model, the messages and beeps it raised, and every
// progress percentage the reader reported.
struct Session {
    ReportModel Model;
    CollectingSink Sink;
    std::vector<int> Progress;
    ReportReader Reader{Model, Sink, [this](int percent) { Progress.push_back(percent); }};

    // As the file-selection screen does.
    bool OpenStats(const std::string& path) { return OpenStatisticsReport(Model, Reader, path); }
    // Counts the simulation, then reads it.
    bool AddSim(const std::string& path) { return Reader.AddSimulationFile(path); }
    std::vector<std::string> Titles() const;
};

// kovgraph-report run as a DBA runs it, with arguments quoted for the shell;
// its standard output and error go through files in the folder.
struct ReportRun {
    int status = -1;
    std::string out;
    std::string err;
};
ReportRun RunReportProgram(const TempFolder& folder, const std::string& arguments);

// One run of the program and what it must do: its exit status, a text its
// error output holds and one its output holds ("" holds anywhere). A usage
// error (status 2) prints nothing on the output.
struct ProgramCase {
    std::string arguments;
    int status = 0;
    std::string errorHas;
    std::string outHas;
};
void ExpectProgramRuns(const TempFolder& folder, const std::vector<ProgramCase>& cases);

// "Error information :<TAB>..." up to the description, and what follows it,
// so a test can give the line, field and column it expects.
inline constexpr std::string_view kFieldErrorHead = "Error information :\tError Description : \"";
std::string FieldErrorTail(int line, int field, int column);

}  // namespace kov::test
