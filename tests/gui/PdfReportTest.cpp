// kovgraph --pdf as a DBA runs it: files in, one PDF and an exit status out.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "UiFixture.h"

namespace kov::test {
namespace {

struct PdfRun {
    int status = -1;
    QString err;
};

PdfRun RunPdf(const QStringList& arguments) {
    QProcess kovgraph;
    kovgraph.start(KOVGRAPH_EXE, arguments);
    if (!kovgraph.waitForFinished(120000)) return {};
    return {kovgraph.exitStatus() == QProcess::NormalExit ? kovgraph.exitCode() : -1,
            QString::fromUtf8(kovgraph.readAllStandardError())};
}

// The first line of every page: its title.
QStringList Titles(const QStringList& pages) {
    QStringList titles;
    for (const QString& page : pages) titles << page.trimmed().section('\n', 0, 0).trimmed();
    return titles;
}

TEST(PdfReport, TheWholeAnalysisInPrintOrder) {
    QTemporaryDir folder;
    const QString out = folder.filePath("analysis.pdf");
    const PdfRun run = RunPdf(QStringList{"--pdf", out, SampleStat()} + SampleSims());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList pages = PdfPages(out);
    const QStringList titles = Titles(pages);
    ASSERT_GE(titles.size(), 5);
    EXPECT_TRUE(pages[0].contains("Report Summary"));
    EXPECT_EQ(titles.mid(1, 4), QStringList(4, "Buffer Pools Graphics Summary"));
    EXPECT_TRUE(pages[2].contains("DS Group: "));
    // The samples hold simulations, so the size advice follows the summary.
    EXPECT_EQ(titles[5], "Size Advice");
    EXPECT_TRUE(pages[5].contains("BP1 stays at 100,000 buffers")) << pages[5].toStdString();
    // Every pool in table order: its pool charts, then its object page.
    const QStringList pools = {"BP0", "BP1", "BP2", "BP3", "BP7", "BP8K0", "BP16K0", "BP32K"};
    int at = 6;
    for (const QString& pool : pools) {
        ASSERT_LT(at, titles.size());
        EXPECT_EQ(titles[at], "Buffer Pool " + pool);
        EXPECT_TRUE(pages[at].contains("Access Type")) << pool.toStdString();
        const int objectPage = static_cast<int>(titles.indexOf(pool + " Pool Objects", at));
        ASSERT_GT(objectPage, at) << pool.toStdString();
        at = objectPage + 1;
        // A simulated pool (the samples simulate each of the first three once):
        // the four simulation graph sub-tabs, then its cluster pages.
        if (pools.indexOf(pool) < 3) {
            for (const char* chart :
                 {"Objects With Largest Max WkSet", "Objects With Smallest Max WkSet",
                  "Pool Size Versus System Hit Ratio", "Objects With Largest Percentage Improvement"}) {
                ASSERT_LT(at, titles.size());
                EXPECT_EQ(titles[at], "Buffer Pool " + pool);
                EXPECT_TRUE(pages[at].simplified().contains(chart)) << pool.toStdString() << ": " << chart;
                ++at;
            }
        }
        while (at < titles.size() && titles[at] == "Buffer Pool " + pool) {
            EXPECT_TRUE(pages[at].contains("Cluster # = ")) << pool.toStdString();
            ++at;
        }
    }
    EXPECT_EQ(at, titles.size());
    EXPECT_FALSE(QFile::exists(out + ".tmp"));
}

TEST(PdfReport, ExitStatusAndMessagesAsTheBatchReport) {
    QTemporaryDir folder;
    const QString out = folder.filePath("analysis.pdf");
    const PdfRun missing = RunPdf({"--pdf", out, folder.filePath("no such report.sta")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains(QRegularExpression("Message \\[.+\\]"))) << missing.err.toStdString();

    const PdfRun usage = RunPdf({"--pdf", out});
    EXPECT_EQ(usage.status, 2);
    EXPECT_TRUE(usage.err.contains("kovgraph: ")) << usage.err.toStdString();

    // A file that cannot be written leaves nothing behind, an old file untouched.
    const QString blocked = folder.filePath("no such folder/analysis.pdf");
    const PdfRun unwritable = RunPdf({"--pdf", blocked, SampleStat()});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.contains("kovgraph: ")) << unwritable.err.toStdString();
    EXPECT_FALSE(QFile::exists(blocked));
}

}  // namespace
}  // namespace kov::test
