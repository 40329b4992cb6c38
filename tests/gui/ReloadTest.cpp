// Back, Reset and another report: after any road back to the file
// selection the window shows exactly what a fresh start on the report now
// loaded shows, page after page, whatever was opened, scrolled or chosen on
// the report before.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <fstream>
#include <set>

#include "UiFixture.h"
#include "pages/GraphicSummaryPage.h"
#include "pages/ObjectInfoPage.h"
#include "pages/PoolInfoPage.h"
#include "pages/ReportInfoPage.h"
#include "pages/SimGraphPage.h"
#include "snapshot/ShownPage.h"
#include "views/PageStatus.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"

namespace kov::test {
namespace {

void ChoosePage(frmStatAnalysis& window, int page) {
    window.tbsStats()->tabBar()->setCurrentIndex(page);
}

void ClickPoolRow(frmStatAnalysis& window, const QString& pool) {
    GridView* grid = window.ReportInfo()->grdPoolInfo();
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        if (grid->Cell(row, 0).trimmed() == pool) return ClickRow(grid, row);
}

// Everything a DBA may leave behind on the report before: panels open,
// a sorted and scrolled object grid, other sub-tabs, options and pools.
void UseEveryPage(frmStatAnalysis& window) {
    ChoosePage(window, PageGraphicSummary);
    window.GraphicSummary()->tbsGraphicSummary()->setCurrentIndex(3);
    ChoosePage(window, PageReportInfo);
    ClickPoolRow(window, "BP1");
    ChoosePage(window, PagePoolInfo);
    window.PoolInfo()->SelectGraphType(3);
    window.RefreshPoolCharts();
    const std::vector<ChartPoint>& bars = window.PoolInfo()->Chart()->Shown().Points;
    if (!bars.empty()) emit window.PoolInfo()->Chart()->ObjectClicked(bars.front().Object);
    ChoosePage(window, PageObjectInfo);
    ObjectInfoPage* objects = window.ObjectInfo();
    ClickRow(objects->grdObjectInfo(), 2);
    ClickHeading(objects->grdObjectInfo(), 5);
    objects->grdObjectInfo()->horizontalScrollBar()->setValue(
        objects->grdObjectInfo()->horizontalScrollBar()->maximum());
    objects->lvObjects()->verticalScrollBar()->setValue(objects->lvObjects()->verticalScrollBar()->maximum());
    if (window.tbsStats()->isTabEnabled(PageSimGraphAnalysis)) {
        ChoosePage(window, PageSimGraphAnalysis);
        SimGraphPage* sims = window.SimGraphs();
        sims->tbsSimGraphs()->setCurrentIndex(SimGraphPage::LargestWorkSet);
        const std::vector<ChartPoint>& points = sims->Chart(SimGraphPage::LargestWorkSet)->Shown().Points;
        if (!points.empty()) emit sims->Chart(SimGraphPage::LargestWorkSet)->ObjectClicked(points.front().Object);
        sims->cmdClose()->click();  // closed, yet it must not come back on the next report
        sims->optGreatestImprovement(1)->click();
        ChoosePage(window, PageSimClusterAnalysis);
    }
    window.PoolInfo()->cmdNextPool()->click();
    ChoosePage(window, PageReportInfo);
}

// What the window shows (the monkey's reading of every visible widget), with
// where each view is scrolled to and which of its rows are chosen: a report
// loaded after Back must reset those too.
snapshot::json Shown(QWidget& window) {
    snapshot::json reading = snapshot::ReadShownWidgets(window);
    for (QAbstractScrollArea* area : window.findChildren<QAbstractScrollArea*>()) {
        if (!area->isVisible() || area->objectName().isEmpty()) continue;
        snapshot::json place = {
            {"scrolled", {area->horizontalScrollBar()->value(), area->verticalScrollBar()->value()}},
            {"selected", snapshot::json::array()}};
        if (auto* view = qobject_cast<QAbstractItemView*>(area); view && view->selectionModel())
            for (const QModelIndex& row : view->selectionModel()->selectedRows())
                place["selected"].push_back(view->model()->data(row).toString().toStdString());
        reading.push_back({{"widget", area->objectName().toStdString()}, {"shows", std::move(place)}});
    }
    return reading;
}

// The pages a DBA opens on a new report, what the window shows after each.
std::vector<snapshot::json> WalkPages(frmStatAnalysis& window) {
    std::vector<snapshot::json> states{Shown(window)};
    ClickPoolRow(window, "BP1");
    states.push_back(Shown(window));
    for (int page : {PagePoolInfo, PageObjectInfo, PageSimGraphAnalysis, PageSimClusterAnalysis, PageGraphicSummary}) {
        if (!window.tbsStats()->isTabEnabled(page)) continue;
        ChoosePage(window, page);
        states.push_back(Shown(window));
    }
    return states;
}

// Reading a window (the monkey's and the snapshot's way of seeing it) must
// not act on it: a bar clicked to learn its object opens that object's details.
using Reading = SamplesWindow;
TEST_F(Reading, LeavesTheWindowAsItWas) {
    ClickPoolRow(*window, "BP1");
    ChoosePage(*window, PagePoolInfo);
    PoolInfoPage& page = *window->PoolInfo();
    const int types = window->findChild<QComboBox*>("cboPoolGraphType")->count();
    for (int type = 0; type < types; ++type) {
        page.SelectGraphType(type);
        emit page.GraphTypeChosen(type + 1);
        const snapshot::json first = Shown(*window);
        EXPECT_EQ(Shown(*window), first) << "graph type " << type + 1;
        EXPECT_FALSE(page.pnlPoolDetails()->isVisible()) << "graph type " << type + 1;
    }
}

struct ReloadCase {
    const char* Name;
    ReportSet Before, After;
};

class ReloadTest : public ::testing::TestWithParam<ReloadCase> {};

TEST_P(ReloadTest, EveryPageIsAsAFreshStartShowsIt) {
    const ReloadCase& c = GetParam();
    UiHarness fresh;
    fresh.onFileSelection = ChooseReports(c.After);
    auto freshWindow = fresh.Start();
    const auto expected = WalkPages(*freshWindow);

    UiHarness reloaded;
    reloaded.onFileSelection = ChooseReports(c.Before);
    auto window = reloaded.Start();
    UseEveryPage(*window);
    reloaded.onFileSelection = ChooseReports(c.After, true);
    window->cmdBack_Click();
    const auto actual = WalkPages(*window);
    if (window->tbsStats()->isTabEnabled(PageSimGraphAnalysis)) {
        ChoosePage(*window, PageSimGraphAnalysis);
        SaveScreenshot(*window, QString("reload-%1-sim-graph").arg(c.Name));
    }

    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t step = 0; step < expected.size(); ++step)
        for (const std::string& difference : snapshot::Differences(actual[step], expected[step]))
            ADD_FAILURE() << "step " << step << ": " << difference;
}

const ReportSet kSamples = SampleSet();

INSTANTIATE_TEST_SUITE_P(
    Reports, ReloadTest,
    ::testing::Values(
        ReloadCase{"ConsolidatedAfterSamples", kSamples, {SamplePath("SYSA_DB2P_20261130_consolidated.txt"), {}}},
        ReloadCase{"WeekLaterAfterSamples", kSamples, {SamplePath("SYSA_DB2P_20261207.sta"), {}}},
        ReloadCase{"SamplesAgain", kSamples, kSamples},
        // A file that is no statistics report: the pages show nothing, never
        // a figure of the report before.
        ReloadCase{"FailedReadAfterSamples", kSamples, {SamplePath("SYSA_DB2P_20261130_BP0.sim"), {}}}),
    [](const ::testing::TestParamInfo<ReloadCase>& reload) { return std::string(reload.param.Name); });

// A statistics report that was not read to its end: each message once, no
// plotting errors for pools that were never read, and a lasting notice on
// the window instead of one more box.
QString Notice(frmStatAnalysis& window) {
    auto* notice = window.findChild<QLabel*>("lblReadNotice");
    return notice != nullptr && notice->isVisibleTo(&window) ? notice->text() : QString();
}

// The samples' statistics report with a letter in a number of its n-th pool
// line, so reading stops there.
std::string BrokenPoolLine(int n) {
    std::ifstream in(QFile::encodeName(SampleStat()).toStdString(), std::ios::binary);
    std::string text, line;
    int pools = 0;
    while (std::getline(in, line)) {
        if (line.rfind("BPS", 0) == 0 && ++pools == n) line[line.find_first_of("0123456789", 30)] = 'x';
        text += line + "\n";
    }
    return text;
}

TEST(UnfinishedReport, EachMessageOnceNoPlottingErrorsAndANotice) {
    QTemporaryDir folder;
    const struct {
        const char* name;
        std::string text;
        int pools;
    } cases[] = {{"empty.sta", "", 0},
                 {"binary.sta", {'\x7f', 'E', 'L', 'F', '\2', '\1', '\1', '\0', '\0', '\0'}, 0},
                 // BP0, and BP1 as far as its line was read
                 {"second-pool-broken.sta", BrokenPoolLine(2), 2}};
    for (const auto& c : cases) {
        const QString path = folder.filePath(c.name);
        std::ofstream(QFile::encodeName(path).toStdString(), std::ios::binary) << c.text;
        UiHarness ui;
        ui.onFileSelection = ChooseReports({path, {}});
        auto window = ui.Start();
        for (int page : {PageGraphicSummary, PageReportInfo, PageScanCost}) ChoosePage(*window, page);
        ClickPoolRow(*window, "BP1");

        EXPECT_FALSE(ui.model.StatsLoaded) << c.name;
        EXPECT_EQ(ui.model.PoolCount(), c.pools) << c.name;
        std::set<std::pair<std::string, std::string>> seen;
        for (const Message& message : ui.sink.Messages) {
            EXPECT_TRUE(seen.insert({message.Title, message.Text}).second)
                << c.name << ": shown twice: " << message.Title << " / " << message.Text;
            EXPECT_EQ(message.Text.find("plotting"), std::string::npos) << c.name << ": " << message.Text;
        }
        SaveScreenshot(*window, QString("unfinished-%1").arg(c.name));
        const QString notice = Notice(*window);
        EXPECT_TRUE(notice.startsWith("This report was not read to its end (line "))
            << c.name << ": " << notice.toStdString();
        EXPECT_TRUE(notice.endsWith("); the pages show what was read before it.")) << c.name;
        if (c.pools == 0) {
            EXPECT_FALSE(window->tbsStats()->isTabEnabled(PagePoolInfo)) << c.name;
        }
        EXPECT_TRUE(window->findChild<QPushButton*>("cmdBack")->isEnabled());

        // A report read to its end takes the notice away.
        ui.onFileSelection = ChooseReports(kSamples, true);
        window->cmdBack_Click();
        EXPECT_EQ(Notice(*window), "") << c.name;
    }
}

}  // namespace
}  // namespace kov::test
