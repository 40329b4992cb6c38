#pragma once
// kovgraph --snapshot: the analysis window walked offscreen as a user walks
// it, every value read back from the widget that shows it, written as a
// document in the batch report's schema. Comparing it with kovgraph-report
// --json checks the window's last step (a widget drawing what the engine
// computed) the way the golden files check the engine.

#include <QString>
#include <QStringList>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace kov::snapshot {

struct ReportFiles {
    QString StatFile;
    QStringList SimFiles;
};

struct SnapshotOptions {
    std::string OutFile;
    ReportFiles Files;
    // Read first and walked page by page as Files are (panels opened), then
    // Back and Reset before Files are read: nothing of this set may remain
    // in the snapshot.
    std::optional<ReportFiles> First;
    QString AccDir;  // holds Rand.acc and Seq.acc; the program's folder when empty
};

// The document's default construction allocates nothing; only copying it
// could throw, which the check takes for the constructor.
// NOLINTNEXTLINE(bugprone-exception-escape)
struct Snapshot {
    nlohmann::ordered_json Document;
    bool StatsRead = false;  // the statistics report was read to its end
};

// Needs a QApplication; shows the window (offscreen under that platform).
Snapshot TakeSnapshot(const SnapshotOptions& options);

// The command line after the program name: --snapshot OUT.json
// [--acc-dir DIR] [--first STATFILE [SIMFILE...] --] STATFILE [SIMFILE...].
// Empty with `error` set when it does not parse.
std::optional<SnapshotOptions> ParseSnapshotArguments(const QStringList& arguments, std::string& error);

bool WantsSnapshot(int argc, char** argv);
// The whole command: exit status 0 read to the end, 1 not (or the file could
// not be written), 2 a command line that does not parse.
int RunSnapshotCommand(int argc, char** argv);

}  // namespace kov::snapshot
