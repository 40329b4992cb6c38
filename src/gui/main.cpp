// kovgraph [STATFILE [SIMFILE...]]: the analysis window. Files named on the
// command line are read on the file-selection screen as if chosen there.
// kovgraph --pdf OUT.pdf STATFILE [SIMFILE...]: the whole analysis as one PDF,
// without a window (and without a display).
// kovgraph --snapshot OUT.json STATFILE [SIMFILE...]: what every widget shows,
// read back offscreen into the batch report's JSON schema.
// kovgraph --monkey OUT.json --steps N --seed S FILE...: a seeded random walk
// over the window offscreen, its invariants checked after every action.

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstring>
#include <iostream>
#include <optional>

#include "AppServices.h"
#include "QtMessageSink.h"
#include "cli/CommandLine.h"
#include "cluster/ClusterAnalysis.h"
#include "common/HeapPolicy.h"
#include "frmStatAnalysis.h"
#include "model/ReportModel.h"
#include "print/PdfReport.h"
#include "snapshot/Monkey.h"
#include "snapshot/WindowSnapshot.h"

namespace {

bool WantsPdf(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--pdf") == 0 || std::strncmp(argv[i], "--pdf=", 6) == 0) return true;
    return false;
}

// Exit status and messages as kovgraph-report's: 0 read to the end, 1 not
// (or the PDF could not be written), 2 a command line that does not parse.
int RunPdfReport(int argc, char** argv) {
    kov::PdfReportOptions options;
    CLI::App cli{"KOVGraph: the analysis of DB2 buffer-pool statistics and simulation reports as one PDF"};
    cli.add_option("--pdf", options.OutFile, "the PDF file to write")->required();
    cli.add_option("STATFILE", options.StatFile, "statistics report or consolidated data file")->required();
    cli.add_option("SIMFILE", options.SimFiles, "simulation reports, read in the order given");
    if (const std::optional<int> status = kov::ParseCommandLine(cli, argc, argv, "kovgraph", "--pdf --help"))
        return *status;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    options.AccDir = kov::ThresholdFolder(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    try {
        return kov::WritePdfReport(options, std::cerr);
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph: " << failure.what() << "\n";
        return 1;
    }
}

// What --help prints: the window's command line and the two commands that
// run without a window.
constexpr const char* kUsage =
    "KOVGraph: the analyser of DB2 buffer-pool statistics and simulation reports\n"
    "\n"
    "Usage:\n"
    "  kovgraph [STATFILE [SIMFILE...]]\n"
    "      the analysis window; files named are read on the file-selection screen\n"
    "      as if chosen there\n"
    "  kovgraph --pdf OUT.pdf STATFILE [SIMFILE...]\n"
    "      the whole analysis as one PDF, without a window or a display\n"
    "  kovgraph --snapshot OUT.json [--acc-dir DIR] [--first STATFILE [SIMFILE...] --] STATFILE [SIMFILE...]\n"
    "      what every page of the window shows, read back into the batch report's JSON\n"
    "  kovgraph --monkey OUT.json --steps N --seed S [--check-every K] [--shrink] FILE...\n"
    "      a seeded random walk over the window, offscreen, with its invariants\n"
    "      checked after every action; the faults and their actions go to OUT.json\n"
    "  kovgraph --help | --version\n"
    "\n"
    "STATFILE is a statistics report or a consolidated data file; SIMFILEs are\n"
    "simulation reports, read in the order given. The batch report is kovgraph-report.\n";

// --help and --version alone on the command line answer without a window.
std::optional<int> AnswerHelpOrVersion(int argc, char** argv) {
    if (argc != 2) return std::nullopt;
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::cout << kUsage;
        return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << "kovgraph " << KOVGRAPH_VERSION_TEXT << "\n";
        return 0;
    }
    return std::nullopt;
}

int RunProgram(int argc, char** argv) {
    if (const auto answered = AnswerHelpOrVersion(argc, argv)) return *answered;
    if (WantsPdf(argc, argv)) return RunPdfReport(argc, argv);
    if (kov::snapshot::WantsSnapshot(argc, argv)) return kov::snapshot::RunSnapshotCommand(argc, argv);
    if (kov::snapshot::WantsMonkey(argc, argv)) return kov::snapshot::RunMonkeyCommand(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName("KOVGraph");
    QApplication::setApplicationVersion(KOVGRAPH_VERSION);
    // The program ends through Finish, Cancel, Quit or closing the window,
    // never because the file-selection screen closed while the window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);

    kov::ReportModel model;
    kov::QtMessageSink sink;
    kov::AppState state;
    // Open dialogs start in the folder of the reports named on the command
    // line, where the DBA keeps that system's reports.
    const QStringList preloaded = QApplication::arguments().mid(1);
    const QString startFolder = preloaded.isEmpty() ? QString() : QFileInfo(preloaded.front()).absolutePath();
    kov::frmStatAnalysis window(model, sink, state, kov::AppServices::Desktop(startFolder));
    sink.SetParent(&window);
    window.SetPreloadFiles(preloaded);
    window.Form_Load();
    window.show();
    return QApplication::exec();
}

}  // namespace

// A failure nothing handled still ends the program with its description,
// never silently.
int main(int argc, char** argv) {
    kov::KeepFreedHeapForReuse();
    try {
        return RunProgram(argc, argv);
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph: " << failure.what() << "\n";
        return 1;
    }
}
