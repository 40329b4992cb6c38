#pragma once
// Writes report files at the collection tool's exact columns: the inverse of
// the readers. Test fixtures, the benchmark data and the bundled samples are
// all produced here, and reading what was written gives back the same model.

#include <ostream>
#include <string>

#include "model/ReportModel.h"

namespace kov {

struct WriteOptions {
    // The last three characters of the environment line; anything but "USA"
    // marks a report whose decimal separator is ",".
    std::string Environment = "USA";
};

// Single lines, for tests that corrupt one column of an otherwise good line.
std::string EnvironmentLine(const WriteOptions& options);
std::string StatHeaderLine(const SystemInfo& info);
std::string PoolLine(const PoolRecord& pool);
std::string ObjectLine(const ObjectRecord& object);
std::string SimHeaderLine(const SimulationRecord& sim);
std::string SimPoolLine(const PoolSimRecord& slot, int points);
std::string SimObjectLine(const SimObjectRecord& slot, int points);

// Whole reports. A value that does not fit its columns throws
// std::invalid_argument: the writer never writes a report it cannot read.
void WriteStatReport(const ReportModel& model, std::ostream& out, const WriteOptions& options = {});
// Simulation simNo of the model: its header, the pool slot and the object
// slots that carry that simulation number.
void WriteSimReport(const ReportModel& model, int simNo, std::ostream& out, const WriteOptions& options = {});
// Statistics and every simulation 1..SimulationCount in one file.
void WriteConsolidatedFile(const ReportModel& model, std::ostream& out, const WriteOptions& options = {});

// The pool whose slot carries simulation simNo, or 0.
int PoolOfSimulation(const ReportModel& model, int simNo);

}  // namespace kov
