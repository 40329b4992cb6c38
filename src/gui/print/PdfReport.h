#pragma once
// kovgraph --pdf: the whole analysis of a statistics report and its
// simulations as one PDF, composed by the same page code as the Print button.

#include <iosfwd>
#include <string>
#include <vector>

namespace kov {

struct PdfReportOptions {
    std::string OutFile;
    std::string StatFile;
    std::vector<std::string> SimFiles;
    std::string AccDir = ".";  // holds Rand.acc and Seq.acc
};

// Reads the files as the window does, writes the PDF (the file appears only
// once it is complete) and lists every message the reading raised on
// `messages`. Returns 0 when the statistics report was read to its end, 1
// when it was not; throws std::runtime_error when the PDF cannot be written.
int WritePdfReport(const PdfReportOptions& options, std::ostream& messages);

}  // namespace kov
