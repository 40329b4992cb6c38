// "Compare with…" on the Report Info page: the second report is chosen and
// read as on the file-selection screen, and the comparison's grids sort like
// every grid.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "UiFixture.h"
#include "frmCompareReports.h"
#include "pages/ReportInfoPage.h"
#include "views/GridSort.h"
#include "widgets/ChartWidget.h"

namespace kov::test {
namespace {

QString ChangedSample() {
    return SamplePath("SYSA_DB2P_20261207.sta");
}

// "Compare with…" clicked, the file dialog answering with file.
void CompareWith(UiHarness& ui, frmStatAnalysis& window, const QString& file) {
    ui.nextStatFile = file;
    QTest::mouseClick(window.ReportInfo()->cmdCompareWith(), Qt::LeftButton);
}

TEST(CompareWindow, ShowsTheThreeLevelsOfTheComparisonAndSortsThemLikeEveryGrid) {
    UiHarness ui;
    ui.OnDialog<frmCompareReports>([](frmCompareReports& dialog) {
        EXPECT_EQ(dialog.tbsCompare()->count(), 3);
        EXPECT_EQ(dialog.tbsCompare()->tabText(2), "Objects of BP1");
        EXPECT_TRUE(dialog.lblCompareWarnings()->isHidden());  // both intervals last an hour
        SaveScreenshot(dialog, "compare-1-report");

        GridView* report = dialog.grdCompareReport();
        ASSERT_EQ(report->Model()->rowCount(), 7);
        EXPECT_EQ(Cell(report, 1, 0), "Total Get Pages/Sec");
        EXPECT_EQ(Cell(report, 6, 0), "Total 4K Buffers");

        GridView* pools = dialog.grdComparePools();
        const int last = pools->Model()->rowCount() - 1;
        EXPECT_EQ(Cell(pools, last - 1, 0) + " " + Cell(pools, last - 1, 6), "BP32K only in before");
        EXPECT_EQ(Cell(pools, last, 0) + " " + Cell(pools, last, 6), "BP4 only in after");

        // BP1 grew: its synchronous reads fell. A click on "Change" sorts as
        // numbers, largest fall first, and the row says so in words.
        GridView* objects = dialog.grdCompareObjects();
        ASSERT_EQ(objects->Model()->rowCount(), 2 * 92);
        dialog.tbsCompare()->setCurrentIndex(2);
        QApplication::processEvents();
        ClickHeading(objects, 5);
        EXPECT_EQ(Heading(objects, 5), "Change (A)");
        double smallest = 0;
        for (int row = 0; row < objects->Model()->rowCount(); ++row)
            smallest = std::min(smallest, CellNumber(Cell(objects, row, 5)).value_or(0));
        EXPECT_EQ(CellNumber(Cell(objects, 0, 5)), smallest);
        EXPECT_LT(smallest, 0);
        EXPECT_EQ(Cell(objects, 0, 2), "Sync. I/Os/Sec");
        EXPECT_EQ(Cell(objects, 0, 7), "\u25BC fall");
        EXPECT_EQ(Cell(objects, 0, 8), "better") << "fewer synchronous reads are an improvement";
        SaveScreenshot(dialog, "compare-3-objects");
        ClickHeading(objects, 5);
        EXPECT_EQ(Heading(objects, 5), "Change (D)");
        EXPECT_EQ(Cell(objects, 0, 7), "= same");  // nothing in BP1 rose; get pages stayed
    });
    auto window = ui.StartWithSamples();
    window->SelectPoolFromGrid("BP1");
    CompareWith(ui, *window, ChangedSample());
    EXPECT_EQ(ui.dialogsShown, 1);
    EXPECT_TRUE(ui.sink.Messages.empty());
}

// The figure chosen in the pools' grid is charted before and after for
// every pool in both reports; the chart copies and saves like every chart.
TEST(CompareWindow, ChartsTheFigureChosenInThePoolsGrid) {
    UiHarness ui;
    ui.OnDialog<frmCompareReports>([](frmCompareReports& dialog) {
        ChartWidget& chart = *dialog.chartCompareFigure();
        GridView* pools = dialog.grdComparePools();
        dialog.tbsCompare()->setCurrentIndex(1);
        QApplication::processEvents();
        int hitRatio = 0;
        while (Cell(pools, hitRatio, 1) != "Hit Ratio") ++hitRatio;
        QTest::mouseClick(pools->viewport(), Qt::LeftButton, {},
                          pools->visualRect(pools->Model()->index(hitRatio, 1)).center());
        EXPECT_EQ(chart.Shown().Title, "Hit Ratio Before And After");
        SaveScreenshot(dialog, "compare-2-pools");
        EXPECT_EQ(chart.Shown().ValueUnit, "%");
        ASSERT_EQ(chart.Shown().Points.size(), 2u * 7) << "seven pools are in both reports";
        EXPECT_EQ(chart.Shown().Points.back().Label, Cell(pools, 0, 0) + " before");
        EXPECT_EQ(chart.ContextActions().size(), 2);
    });
    auto window = ui.StartWithSamples();
    CompareWith(ui, *window, ChangedSample());
    EXPECT_EQ(ui.dialogsShown, 1);
}

TEST(CompareWindow, ComparesNothingWhenCancelledOrWhenTheReportCannotBeRead) {
    const struct {
        QString file;
        std::vector<std::string> titles;
    } cases[] = {{"", {}},
                 {SamplePath("no such report.sta"), {"Read Stat Data File", "Compare with"}},
                 {SampleSims().front(), {"Compare with"}}};  // a simulation report compares with nothing
    for (const auto& k : cases) {
        UiHarness ui;
        ui.OnDialog<frmCompareReports>([](frmCompareReports&) {});
        auto window = ui.StartWithSamples();
        ui.sink.Messages.clear();
        CompareWith(ui, *window, k.file);
        EXPECT_EQ(ui.dialogsShown, 0);
        std::vector<std::string> titles;
        for (const Message& m : ui.sink.Messages) titles.push_back(m.Title);
        EXPECT_EQ(titles, k.titles);
        EXPECT_EQ(ui.model.PoolCount(), 8) << "the loaded report is untouched";
        EXPECT_EQ(window->ReportInfo()->PoolRowCount(), 8);
    }
}

}  // namespace
}  // namespace kov::test
