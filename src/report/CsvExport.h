#pragma once
// kovgraph-report --csv DIR: the grids of the analysis as CSV files, one file
// a grid, named as README.md lists them:
//   pools.csv                     the pool grid
//   scan-cost.csv                 the report's scan-cost list
//   pool-NN-NAME-objects.csv      pool NN's object grid (NN from 01, in report order)
//   pool-NN-NAME-tuning.csv       its tuning advice under both intents
//   pool-NN-NAME-scan-cost.csv    its scan-cost list
// NAME is the trimmed pool name with every character other than a letter,
// a digit, "-" or "_" written as "_".

#include <iosfwd>
#include <string>
#include <vector>

#include "model/ReportModel.h"
#include "report/BatchReport.h"

namespace kov {

struct CsvFile {
    std::string Name;
    std::string Text;
};

// Every file of a loaded model, in the order listed above.
std::vector<CsvFile> CsvFiles(const ReportModel& model);

// Loads the files and writes the CSV files into `dir` (made when missing),
// each complete before it appears. Reading messages and failures go to
// `messages`. Returns 0 when every file was written, 1 when the statistics
// report was not read to its end (nothing is written then) or a file or the
// folder could not be written.
int RunCsvExport(const BatchOptions& options, const std::string& dir, std::ostream& messages);

}  // namespace kov
