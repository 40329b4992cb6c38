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
class Printing : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString pdf = folder.filePath("print.pdf");
    int dialogs = 0;
    bool accept = true;  // what the DBA answers in the printer dialog
    UiHarness ui;
    std::unique_ptr<frmStatAnalysis> window;

    Printing() {
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

TEST_F(Printing, TheReportSummaryCarriesTheHeaderTheTotalsAndEveryPoolLine) {
    const QStringList pages = Print(PageReportInfo);
    ASSERT_EQ(pages.size(), 1);
    const QString& page = pages[0];
    for (const char* text : {"Report Summary", "SYSA", "Total 4K Buffers", "Pages/Write"})
        EXPECT_TRUE(Has(page, text)) << text;
    EXPECT_FALSE(Has(page, "Write I/Os"));  // columns 0..7 only
    const StringTable& grid = window->ReportInfo()->grdPoolInfo()->Model()->Table();
    ASSERT_EQ(grid.Rows.size(), 8u);
    for (const auto& row : grid.Rows) {
        QString line = QString::fromStdString(row[0]).trimmed();
        for (std::size_t c = 1; c < 8; ++c) line += " +" + QRegularExpression::escape(QString::fromStdString(row[c]));
        EXPECT_TRUE(page.contains(QRegularExpression(line))) << line.toStdString();
    }
    EXPECT_TRUE(ui.sink.Messages.empty());
}

// A cancelled dialog prints nothing and asks again; once accepted, it is not asked again.
TEST_F(Printing, ThePrinterDialogComesUntilItIsAccepted) {
    accept = false;
    EXPECT_TRUE(Print(PageReportInfo).isEmpty());
    EXPECT_FALSE(window->PrinterChosen());
    accept = true;
    for (const int page : {PageReportInfo, PagePoolInfo, PageObjectInfo}) EXPECT_EQ(Print(page).size(), 1) << page;
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(window->PrinterChosen());
}

TEST_F(Printing, TheObjectPageCopiesTheShownLabelsAndPie) {
    window->tbsStats()->setCurrentIndex(PageObjectInfo);
    window->ObjectInfo()->lvObjects()->topLevelItem(1)->setSelected(true);
    window->lvObjects_Click();
    const std::vector<LabelPair> shown = window->ObjectInfo()->Labels()->ShownPairs();
    ASSERT_EQ(shown.size(), 4u);  // the access type hides the fifth pair
    const QStringList pages = Print(PageObjectInfo);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(Has(pages[0], "BP0 Pool Objects"));
    for (const LabelPair& pair : shown) {
        EXPECT_TRUE(Has(pages[0], QString::fromStdString(pair.Caption))) << pair.Caption;
        EXPECT_TRUE(Has(pages[0], QString::fromStdString(pair.Value))) << pair.Value;
    }
    const ChartData& pie = window->ObjectInfo()->Chart()->Shown();
    EXPECT_TRUE(Has(pages[0], QString::fromStdString(pie.Title)));
    for (const ChartPoint& slice : pie.Points) EXPECT_TRUE(Has(pages[0], QString::fromStdString(slice.Label)));
}

// Each chart prints under the header line, which names the data-sharing
// group on the graphic summary only; the pages and sub-tabs without a print
// print nothing and ask for no printer.
TEST_F(Printing, EachChartPrintsUnderItsHeaderLineOrNothingPrints) {
    window->SelectPoolFromGrid("BP1");
    const struct {
        int page, subTab;
        std::vector<QString> shows;  // empty: nothing printed
    } cases[] = {
        {PageExpertTuning, -1, {}},
        {PageGraphicSummary, 5, {}},  // "Pages Written"
        {PageGraphicSummary, 0, {"Buffer Pools Graphics Summary", "Buffer Pool Versus I/O"}},
        {PageGraphicSummary, 3, {"Buffer Pool Versus Updates"}},
        {PagePoolInfo, -1, {"Buffer Pool BP1"}},
        {PageSimGraphAnalysis, 0, {"Buffer Pool BP1", "Objects With Largest Max WkSet"}},
        {PageSimGraphAnalysis, 1, {"Buffer Pool BP1", "Objects With Smallest Max WkSet"}},
        {PageSimGraphAnalysis, 2, {"Buffer Pool BP1", "Pool Size Versus System Hit Ratio"}},
        {PageSimGraphAnalysis, 3, {"Buffer Pool BP1", "Objects With Largest Percentage Improvement"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "page " << c.page << ", sub-tab " << c.subTab);
        window->tbsStats()->setCurrentIndex(c.page);
        const char* subTabs = c.page == PageGraphicSummary ? "tbsGraphicSummary" : "tbsSimGraphs";
        if (c.subTab >= 0) window->findChild<QTabWidget*>(subTabs)->setCurrentIndex(c.subTab);
        const QStringList pages = Print(c.page);
        if (c.shows.empty()) {
            EXPECT_TRUE(pages.isEmpty());
            EXPECT_EQ(dialogs, 0);
            continue;
        }
        ASSERT_EQ(pages.size(), 1);
        for (const QString& text : c.shows) EXPECT_TRUE(Has(pages[0], text)) << text.toStdString();
        const bool summary = c.page == PageGraphicSummary;
        EXPECT_TRUE(pages[0].contains(QRegularExpression(
            QString("System: SYSA +Sub System: DB2P +%1Date: ").arg(summary ? "DS Group: \\S+ +" : ""))));
        EXPECT_EQ(Has(pages[0], "DS Group:"), summary);
    }
}

TEST_F(Printing, TheClusterPagesOfTheChosenCluster) {
    window->SelectPoolFromGrid("BP1");
    window->tbsStats()->setCurrentIndex(PageSimClusterAnalysis);
    ClickRow(window->Cluster()->grdClusters(), 0);
    std::vector<QString> members;
    for (const auto& row : window->Cluster()->grdClusterObjects()->Model()->Table().Rows)
        members.push_back(QString::fromStdString(row[1]));
    ASSERT_FALSE(members.empty());
    const QStringList pages = Print(PageSimClusterAnalysis);
    ASSERT_EQ(pages.size(), static_cast<int>(members.size() + 24) / 25);
    for (const QString& member : members)
        EXPECT_EQ(member.contains("DSNDB06"), !Has(pages.join(' '), member)) << member.toStdString();
    for (const char* text :
         {"Buffer Pool BP1", " Cluster # = 1  -- Random objects", "Original Pool Size", "Max. WkSet"})
        EXPECT_TRUE(Has(pages[0], text)) << text;
    EXPECT_TRUE(pages[0].contains(QRegularExpression("\\d\\d-\\d\\d-\\d{4} +\\d\\d:\\d\\d [AP]M")));
}

TEST_F(Printing, PrintingLeavesTheViewsAsTheyAre) {
    GridView* grid = window->ReportInfo()->grdPoolInfo();
    ClickHeading(grid, 2);
    const StringTable sorted = grid->Model()->Table();
    Print(PageReportInfo);
    Print(PageGraphicSummary);
    EXPECT_EQ(grid->Model()->Table().Rows, sorted.Rows);
    EXPECT_EQ(grid->Model()->Table().Headings, sorted.Headings);
    EXPECT_FALSE(window->SkipNextRefill);
    // The graphic summary was drawn from the sorted grid.
    const ChartData& shown = window->GraphicSummary()->Shown(0);
    ASSERT_EQ(shown.Points.size(), sorted.Rows.size());
    EXPECT_EQ(shown.Points[0].Label, sorted.Rows[0][0]);
}

TEST_F(Printing, APrinterThatCannotPrintAbandonsThePrintWithThePagesTitle) {
    pdf = folder.filePath("no such folder/print.pdf");
    EXPECT_TRUE(Print(PageObjectInfo).isEmpty());
    ASSERT_EQ(ui.sink.Messages.size(), 1u);
    EXPECT_EQ(ui.sink.Messages[0].Title, "Object Graphs");
    EXPECT_EQ(ui.sink.Messages[0].Icon, MessageIcon::Information);
    EXPECT_TRUE(Print(PageReportInfo).isEmpty());
    ASSERT_EQ(ui.sink.Messages.size(), 2u);
    EXPECT_EQ(ui.sink.Messages[1].Title, "Report Summary Printing");
}

// A title wider than a saved image (or the paper) is broken between words
// into lines that each fit, not cut off at the margins.
TEST(PrintedChart, ALongTitleIsBrokenIntoLinesThatFit) {
    ChartData chart;
    chart.Title = "Synchronous Read I/Os per Second of the Busiest Objects of Every Buffer Pool Over the Month";
    chart.Subtitle = "SYSA/DB2P, 720 reports from 2026-11-01 00:00:00 to 2026-11-30 23:00:00";
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
