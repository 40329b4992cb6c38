#pragma once
// kovgraph-report: loads reports through the same engine as the window and
// prints what the analysis shows, as JSON or as readable text.

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "common/Message.h"
#include "model/ReportModel.h"
#include "model/UsageIntent.h"

namespace kov {

struct BatchOptions {
    bool Json = false;
    UsageIntent Intent = UsageIntent::Random;
    double Radius = 1.2;
    std::string AccDir;
    std::string StatFile;
    std::vector<std::string> SimFiles;
};

// The cluster page as the batch report shows it for every simulation slot:
// both intents at size point 1 with this radius; `Intent` is the default.
struct ClusterOptions {
    UsageIntent Intent = UsageIntent::Random;
    double Radius = 1.2;
    std::string AccDir = ".";  // holds Rand.acc and Seq.acc
};

// The JSON document of a loaded model and the messages its reading raised.
nlohmann::ordered_json BuildReportDocument(const ReportModel& model, const std::vector<Message>& messages,
                                           const std::string& statFile, const ClusterOptions& cluster = {});

// Loads the files, writes the report to out; returns the exit status (0 the
// statistics report was read to its end, 1 it was not).
int RunBatchReport(const BatchOptions& options, std::ostream& out);

}  // namespace kov
