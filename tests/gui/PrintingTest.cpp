// Printing read back from paper: every print goes to a PDF file whose text
// pdftotext gives back, page by page.

#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "UiFixture.h"
#include "pages/ClusterPage.h"
#include "pages/GraphicSummaryPage.h"
#include "pages/ObjectInfoPage.h"
#include "pages/ReportInfoPage.h"
#include "print/ChartImage.h"
#include "views/PageStatus.h"
#include "widgets/ChartWidget.h"
#include "widgets/LabelPanel.h"

namespace kov::test {
namespace {

// Whether the page holds the text, blanks and line ends compared as one blank
// (pdftotext places words by their position, not by the blanks between them).
bool Has(const QString& page, const QString& text) {
    return page.simplified().contains(text.simplified());
}

// The window on the samples; its printer dialog "prints to file" into a
// temporary folder and counts how often it was shown.
struct PrintingWindow {
    QTemporaryDir folder;
    QString pdf = folder.filePath("print.pdf");
    int dialogs = 0;
    bool accept = true;  // what the DBA answers in the printer dialog
    UiHarness ui;
    std::unique_ptr<frmStatAnalysis> window;

    PrintingWindow() {
        ui.services.ChoosePrinter = [this](QPrinter& printer, QWidget*) {
            ++dialogs;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return accept;
        };
        window = ui.StartWithSamples();
    }

    // Prints the page and gives the printout's text; empty when no file was written.
    QStringList Print(int page) {
        QFile::remove(pdf);
        window->tbsStats()->setCurrentIndex(page);
        window->findChild<QPushButton*>("cmdPrint")->click();
        return QFile::exists(pdf) ? PdfPages(pdf, true) : QStringList();
    }
};

TEST(Printing, TheReportSummaryCarriesTheHeaderTheTotalsAndEveryPoolLine) {
    PrintingWindow w;
    const QStringList pages = w.Print(PageReportInfo);
    ASSERT_EQ(pages.size(), 1);
    const QString& page = pages[0];
    EXPECT_TRUE(Has(page, "Report Summary"));
    EXPECT_TRUE(Has(page, "SYSA"));
    EXPECT_TRUE(Has(page, "Total 4K Buffers"));
    EXPECT_TRUE(Has(page, "Pages/Write"));
    EXPECT_FALSE(Has(page, "Write I/Os"));  // columns 0..7 only
    const StringTable& grid = w.window->ReportInfo()->grdPoolInfo()->Model()->Table();
    ASSERT_EQ(grid.Rows.size(), 8u);
    for (const auto& row : grid.Rows) {
        QString line = QString::fromStdString(row[0]).trimmed();
        for (std::size_t c = 1; c < 8; ++c) line += " +" + QRegularExpression::escape(QString::fromStdString(row[c]));
        EXPECT_TRUE(page.contains(QRegularExpression(line))) << line.toStdString();
    }
    EXPECT_TRUE(w.ui.sink.Messages.empty());
}

// A cancelled dialog prints nothing and asks again; once accepted, it is not asked again.
TEST(Printing, ThePrinterDialogComesUntilItIsAccepted) {
    PrintingWindow w;
    w.accept = false;
    EXPECT_TRUE(w.Print(PageReportInfo).isEmpty());
    EXPECT_FALSE(w.window->PrinterChosen());
    w.accept = true;
    EXPECT_EQ(w.Print(PageReportInfo).size(), 1);
    EXPECT_EQ(w.Print(PagePoolInfo).size(), 1);
    EXPECT_EQ(w.Print(PageObjectInfo).size(), 1);
    EXPECT_EQ(w.dialogs, 2);
    EXPECT_TRUE(w.window->PrinterChosen());
}

TEST(Printing, TheHeaderLineNamesTheDataSharingGroupOnTheGraphicSummaryOnly) {
    PrintingWindow w;
    const QStringList summary = w.Print(PageGraphicSummary);
    ASSERT_EQ(summary.size(), 1);
    EXPECT_TRUE(Has(summary[0], "Buffer Pools Graphics Summary"));
    EXPECT_TRUE(Has(summary[0], "Buffer Pool Versus I/O"));
    EXPECT_TRUE(summary[0].contains(QRegularExpression("System: SYSA +Sub System: DB2P +DS Group: \\S+ +Date: ")));
    const QStringList pool = w.Print(PagePoolInfo);
    ASSERT_EQ(pool.size(), 1);
    EXPECT_TRUE(Has(pool[0], "Buffer Pool BP0"));
    EXPECT_TRUE(pool[0].contains(QRegularExpression("System: SYSA +Sub System: DB2P +Date: ")));
    EXPECT_FALSE(Has(pool[0], "DS Group:"));
}

TEST(Printing, TheObjectPageCopiesTheShownLabelsAndPie) {
    PrintingWindow w;
    w.window->tbsStats()->setCurrentIndex(PageObjectInfo);
    w.window->ObjectInfo()->lvObjects()->topLevelItem(1)->setSelected(true);
    w.window->lvObjects_Click();
    const std::vector<LabelPair> shown = w.window->ObjectInfo()->Labels()->ShownPairs();
    ASSERT_EQ(shown.size(), 4u);  // the access type hides the fifth pair
    const QStringList pages = w.Print(PageObjectInfo);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(Has(pages[0], "BP0 Pool Objects"));
    for (const LabelPair& pair : shown) {
        EXPECT_TRUE(Has(pages[0], QString::fromStdString(pair.Caption))) << pair.Caption;
        EXPECT_TRUE(Has(pages[0], QString::fromStdString(pair.Value))) << pair.Value;
    }
    const ChartData& pie = w.window->ObjectInfo()->Chart()->Shown();
    EXPECT_TRUE(Has(pages[0], QString::fromStdString(pie.Title)));
    for (const ChartPoint& slice : pie.Points) EXPECT_TRUE(Has(pages[0], QString::fromStdString(slice.Label)));
}

TEST(Printing, PagesWithoutAPrintPrintNothing) {
    PrintingWindow w;
    w.window->SelectPoolFromGrid("BP1");
    EXPECT_TRUE(w.Print(PageExpertTuning).isEmpty());
    w.window->tbsStats()->setCurrentIndex(PageGraphicSummary);
    w.window->GraphicSummary()->tbsGraphicSummary()->setCurrentIndex(5);  // "Pages Written"
    EXPECT_TRUE(w.Print(PageGraphicSummary).isEmpty());
    EXPECT_EQ(w.dialogs, 0);
    w.window->GraphicSummary()->tbsGraphicSummary()->setCurrentIndex(3);  // "Updates"
    const QStringList updates = w.Print(PageGraphicSummary);
    ASSERT_EQ(updates.size(), 1);
    EXPECT_TRUE(Has(updates[0], "Buffer Pool Versus Updates"));
}

TEST(Printing, TheSimulationGraphPagePrintsTheChartOfItsShownSubTab) {
    PrintingWindow w;
    w.window->SelectPoolFromGrid("BP1");
    w.window->tbsStats()->setCurrentIndex(PageSimGraphAnalysis);
    QTabWidget* subTabs = w.window->findChild<QTabWidget*>("tbsSimGraphs");
    ASSERT_NE(subTabs, nullptr);
    const struct {
        int subTab;
        const char* title;
    } cases[] = {{0, "Objects With Largest Max WkSet"},
                 {1, "Objects With Smallest Max WkSet"},
                 {2, "Pool Size Versus System Hit Ratio"},
                 {3, "Objects With Largest Percentage Improvement"}};
    for (const auto& c : cases) {
        subTabs->setCurrentIndex(c.subTab);
        const QStringList pages = w.Print(PageSimGraphAnalysis);
        ASSERT_EQ(pages.size(), 1) << c.subTab;
        EXPECT_TRUE(Has(pages[0], "Buffer Pool BP1")) << c.subTab;
        EXPECT_TRUE(Has(pages[0], c.title)) << c.subTab;
    }
}

TEST(Printing, TheClusterPagesOfTheChosenCluster) {
    PrintingWindow w;
    w.window->SelectPoolFromGrid("BP1");
    w.window->tbsStats()->setCurrentIndex(PageSimClusterAnalysis);
    ClickRow(w.window->Cluster()->grdClusters(), 0);
    std::vector<QString> members;
    for (const auto& row : w.window->Cluster()->grdClusterObjects()->Model()->Table().Rows)
        members.push_back(QString::fromStdString(row[1]));
    ASSERT_FALSE(members.empty());
    const QStringList pages = w.Print(PageSimClusterAnalysis);
    ASSERT_EQ(pages.size(), static_cast<int>(members.size() + 24) / 25);
    for (const QString& member : members)
        EXPECT_EQ(member.contains("DSNDB06"), !Has(pages.join(' '), member)) << member.toStdString();
    EXPECT_TRUE(Has(pages[0], "Buffer Pool BP1"));
    EXPECT_TRUE(Has(pages[0], " Cluster # = 1  -- Random objects"));
    EXPECT_TRUE(Has(pages[0], "Original Pool Size"));
    EXPECT_TRUE(Has(pages[0], "Max. WkSet"));
    EXPECT_TRUE(pages[0].contains(QRegularExpression("\\d\\d-\\d\\d-\\d{4} +\\d\\d:\\d\\d [AP]M")));
}

TEST(Printing, PrintingLeavesTheViewsAsTheyAre) {
    PrintingWindow w;
    GridView* grid = w.window->ReportInfo()->grdPoolInfo();
    ClickHeading(grid, 2);
    const StringTable sorted = grid->Model()->Table();
    w.Print(PageReportInfo);
    w.Print(PageGraphicSummary);
    EXPECT_EQ(grid->Model()->Table().Rows, sorted.Rows);
    EXPECT_EQ(grid->Model()->Table().Headings, sorted.Headings);
    EXPECT_FALSE(w.window->SkipNextRefill);
    // The graphic summary was drawn from the sorted grid.
    const ChartData& shown = w.window->GraphicSummary()->Shown(0);
    ASSERT_EQ(shown.Points.size(), sorted.Rows.size());
    EXPECT_EQ(shown.Points[0].Label, sorted.Rows[0][0]);
}

TEST(Printing, APrinterThatCannotPrintAbandonsThePrintWithThePagesTitle) {
    PrintingWindow w;
    w.pdf = w.folder.filePath("no such folder/print.pdf");
    EXPECT_TRUE(w.Print(PageObjectInfo).isEmpty());
    ASSERT_EQ(w.ui.sink.Messages.size(), 1u);
    EXPECT_EQ(w.ui.sink.Messages[0].Title, "Object Graphs");
    EXPECT_EQ(w.ui.sink.Messages[0].Icon, MessageIcon::Information);
    EXPECT_TRUE(w.Print(PageReportInfo).isEmpty());
    ASSERT_EQ(w.ui.sink.Messages.size(), 2u);
    EXPECT_EQ(w.ui.sink.Messages[1].Title, "Report Summary Printing");
}

// A title wider than a saved image (or the paper) is broken between words
// into lines that each fit, not cut off at the margins.
TEST(Printing, ALongChartTitleIsBrokenIntoLinesThatFit) {
    ChartData chart;
    chart.Title = "Synchronous Read I/Os per Second of the Busiest Objects of Every Buffer Pool Over the Month";
    chart.Subtitle = "SYSA/DB2P, 2026-11-01 00:00:00 to 2026-11-30 23:00:00, 720 reports";
    chart.Points = {{"BP1", 3}, {"BP2", 5}};
    for (const int width : {320, 2000}) {
        SCOPED_TRACE(width);
        const QString svg = QString::fromUtf8(ChartImageFile(chart, QSize(width, 480), ImageFormat::Svg));
        // Each line drawn is a text element of its own.
        const auto drawnWhole = [&svg](const std::string& text) {
            return svg.contains(">" + QString::fromStdString(text) + "</text>");
        };
        const bool wide = width == 2000;
        EXPECT_EQ(drawnWhole(chart.Title), wide);
        EXPECT_EQ(drawnWhole(chart.Subtitle), wide);
        for (const char* line : {">Synchronous Read I/Os per Second</text>", ">Buffer Pool Over the Month</text>"})
            EXPECT_EQ(svg.contains(line), !wide) << line;
    }
}

}  // namespace
}  // namespace kov::test
