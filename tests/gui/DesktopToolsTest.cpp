// The small rules behind the window's desktop behaviour: which tool a
// launcher item starts, what a save dialog proposes, how often a message is
// shown, and what the window says of a report not read to its end.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "ExportDialogs.h"
#include "OncePerStepSink.h"
#include "TrayIcon.h"
#include "readers/ReportLoading.h"

namespace kov::test {
namespace {

// Folders holding fake tools: each named file is made, executable or not.
struct FakePath {
    QTemporaryDir root;
    QString Folder(const QString& name, const QStringList& tools, bool executable = true) {
        QDir(root.path()).mkpath(name);
        QString folder = root.filePath(name);
        for (const QString& tool : tools) {
            QFile file(QDir(folder).filePath(tool));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.setPermissions(executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                           : QFile::ReadOwner | QFile::WriteOwner);
        }
        return folder;
    }
};

TEST(DesktopTools, TheFirstToolOfTheListOnThePathIsStarted) {
    FakePath fake;
    const QString a = fake.Folder("a", {"kcalc", "xdg-open"});
    const QString b = fake.Folder("b", {"gnome-calculator", "kate"});
    const QString plain = fake.Folder("plain", {"gedit", "system-config-printer"}, false);
    const struct {
        int item;
        QString path;
        QString program;  // empty: nothing found
        QStringList arguments;
        bool newTextFile;
    } cases[] = {
        {1, a + ":" + b, b + "/gnome-calculator", {}, false},  // list order wins over PATH order
        {1, a, a + "/kcalc", {}, false},
        {0, plain + ":" + b, b + "/kate", {}, false},  // a file that cannot run is no tool
        {0, a, a + "/xdg-open", {}, true},             // no editor: the desktop opens a new text file
        {0, plain, "", {}, false},
        {4, plain + ":" + a, a + "/xdg-open", {"http://localhost:631/"}, false},
        {2, a + ":" + b, "", {}, false},
        {3, a, "", {}, false},  // a separator starts nothing
        {1, "", "", {}, false},
    };
    for (const auto& c : cases) {
        const auto launch = FindUtility(c.item, c.path);
        EXPECT_EQ(launch ? launch->Program : QString(), c.program) << c.item << " " << c.path.toStdString();
        if (!launch) continue;
        EXPECT_EQ(launch->Arguments, c.arguments) << c.item;
        EXPECT_EQ(launch->OpensNewTextFile, c.newTextFile) << c.item;
    }
}

// A tool not found is named with every program looked for, the fallback last.
TEST(DesktopTools, AMissingToolIsNamedWithWhatWasLookedFor) {
    EXPECT_EQ(UtilityNotFound(4), (Message{"Utilities",
                                           "No printer tool was found on this desktop. Looked on PATH for "
                                           "system-config-printer, and for xdg-open.",
                                           MessageIcon::Information}));
    EXPECT_EQ(UtilityNotFound(1).Text.rfind("No calculator was found on this desktop. Looked on PATH for gnome-", 0),
              0u);
}

TEST(SaveDialogs, ProposeTheReportNameAndWhatTheFileHolds) {
    const struct {
        const char* report;
        const char* content;
        const char* extension;
        const char* proposed;
    } cases[] = {
        {"/data/SYSA_DB2P_20261130.sta", "pools", "csv", "SYSA_DB2P_20261130-pools.csv"},
        {"/data/SYSA_DB2P_20261130.sta", "BP1-Top Get Pages", "png", "SYSA_DB2P_20261130-BP1-Top Get Pages.png"},
        {"/data/set.1/week 48.report.txt", "BP2-Index < 95% Sys. Hit Ratio", "png",
         "week 48.report-BP2-Index _ 95% Sys. Hit Ratio.png"},
        {"/data/x.sta", "BP0-Read/Write: all", "png", "x-BP0-Read_Write_ all.png"},
        {"", "pools", "csv", "KOVGraph-pools.csv"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProposedFileName(c.report, c.content, c.extension).toStdString(), c.proposed) << c.content;
}

TEST(SaveDialogs, StartInTheReportsFolderUntilTheUserChoosesAnother) {
    QString report = "/data/reports/a.sta";
    SaveFolder folder([&report] { return QFileInfo(report).absolutePath(); });
    EXPECT_EQ(folder.Start(), "/data/reports");
    report = "/other/b.sta";
    EXPECT_EQ(folder.Start(), "/other") << "follows the report loaded now";
    folder.Chosen("");  // cancelled
    EXPECT_EQ(folder.Start(), "/other");
    // A trend's window saves beside its own reports until a folder is chosen
    // in the run, there or in the main window.
    SaveFolder trend = folder.Beside("/history");
    EXPECT_EQ(trend.Start(), "/history");
    trend.Chosen("/tmp/trends/t.png");
    EXPECT_EQ(folder.Start(), "/tmp/trends");
    folder.Chosen("/tmp/out/x.csv");
    EXPECT_EQ(folder.Start(), "/tmp/out");
    EXPECT_EQ(trend.Start(), "/tmp/out");
}

TEST(Messages, AStepShowsEachMessageOnce) {
    CollectingSink shown;
    OncePerStepSink sink(shown);
    const Message plot{"Graphics Summary", "Type mismatch", MessageIcon::Critical};
    const Message other{"Graphics Summary", "Overflow", MessageIcon::Critical};
    {
        const OncePerStepSink::Step step(sink);
        for (int chart = 0; chart < 11; ++chart) sink.Show(plot);
        {
            const OncePerStepSink::Step inner(sink);
            sink.Show(plot);
            sink.Show(other);
        }
        sink.Show(other);
    }
    EXPECT_EQ(shown.Messages, (std::vector<Message>{plot, other}));
    const OncePerStepSink::Step next(sink);
    sink.Show(plot);
    EXPECT_EQ(shown.Messages.size(), 3u) << "the next step tells again";
    sink.Beep();
    EXPECT_EQ(shown.Beeps, 1);
}

TEST(Messages, AReportNotReadToItsEndIsNamedWithLineAndReason) {
    ReportModel model;
    const ReportReader::ReadStop stop{7, "Type mismatch"};
    EXPECT_EQ(UnfinishedReadNotice(model, stop), "") << "nothing chosen";
    model.StatFileName = "x.sta";
    EXPECT_EQ(UnfinishedReadNotice(model, stop),
              "This report was not read to its end (line 7: Type mismatch); the pages show what was read before it.");
    EXPECT_EQ(UnfinishedReadNotice(model, {0, ""}),
              "This report was not read to its end (line 1: it ends early); the pages show what was read before it.");
    model.StatsLoaded = true;
    EXPECT_EQ(UnfinishedReadNotice(model, stop), "");
}

}  // namespace
}  // namespace kov::test
