// The cluster page in the window: the shared usage intent, the radius and
// simulation-number spinners, the grids and the member files.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <set>

#include "UiFixture.h"
#include "pages/ClusterPage.h"
#include "widgets/GridView.h"
#include "widgets/SpinButtons.h"

namespace kov::test {
namespace {

// The window on the samples with BP1 chosen and the cluster page shown.
class ClusterWindow : public ::testing::Test {
protected:
    UiHarness ui;
    std::unique_ptr<frmStatAnalysis> window;
    ClusterPage* page = nullptr;

    explicit ClusterWindow(const QString& programFolder = {}) {
        if (!programFolder.isEmpty()) ui.services.ProgramFolder = programFolder;
        window = ui.StartWithSamples();
        window->SelectPoolFromGrid("BP1");
        window->tbsStats()->setCurrentIndex(7);
        page = window->Cluster();
    }

    QRadioButton* Option(const char* name) const { return window->findChild<QRadioButton*>(name); }
    QString Radius() const { return page->txtClusterRadius()->text(); }
    std::vector<std::vector<std::string>> Rows(GridView* grid) const { return grid->Model()->Table().Rows; }
};

// The same with no threshold file to read.
class ClusterWindowWithoutThresholds : public ClusterWindow {
protected:
    ClusterWindowWithoutThresholds() : ClusterWindow(QDir::tempPath() + "/kovgraph-no-thresholds-here") {}
};

// The clusters the engine finds for BP1 with the page's inputs.
std::vector<std::vector<std::string>> EngineRows(const ReportModel& model, double radius, int sizePoint = 1) {
    CollectingSink sink;
    const ClusterQuery query{model.CurrentPool, model.CurrentSimulation, sizePoint, model.PoolUsageIntent, radius};
    return FillClusterGrid(RunClusterAnalysis(model, KOVGRAPH_SAMPLES, query, sink)).Rows;
}
const std::vector<std::vector<std::string>> kBlankRow{{"", "", ""}};

const Message kNotApplicable{"Cluster Analysis", kClusterNotApplicable, MessageIcon::Critical};

TEST_F(ClusterWindow, EnteringThePageRunsWithTheTypedRadius) {
    EXPECT_EQ(Radius(), "1.2");
    EXPECT_EQ(Rows(page->grdClusters()), EngineRows(ui.model, 1.2));
    EXPECT_EQ(Rows(page->grdClusterObjects()), kBlankRow) << "members appear once a cluster is clicked";
    EXPECT_TRUE(ui.sink.Messages.empty());

    ClickRow(page->grdClusters(), 1);
    EXPECT_EQ(Rows(page->grdClusterObjects()).at(0), (std::vector<std::string>{"T", "HRDB.TSORDER40", "1189"}));
    EXPECT_EQ(window->StatusText(), "2 Objects in Cluster 2");

    // Another size point reruns at once, quietly.
    page->cmbPoolSize()->setCurrentIndex(3);
    emit page->cmbPoolSize()->activated(3);
    EXPECT_EQ(Rows(page->grdClusters()), EngineRows(ui.model, 1.2, 4));
    EXPECT_EQ(Rows(page->grdClusterObjects()), kBlankRow);
}

TEST_F(ClusterWindow, TheUsageIntentIsOneSettingOfBothPages) {
    QTest::mouseClick(Option("optPoolClusterAnalysisUsage_0"), Qt::LeftButton);
    EXPECT_EQ(ui.model.PoolUsageIntent, UsageIntent::Sequential);
    EXPECT_TRUE(Option("optPoolAnalysisUsage_0")->isChecked()) << "the tuning page follows";
    EXPECT_EQ(ui.sink.Messages, std::vector<Message>{kNotApplicable}) << "BP1 is read randomly";
    EXPECT_EQ(Rows(page->grdClusters()), kBlankRow);

    window->tbsStats()->setCurrentIndex(4);
    QTest::mouseClick(Option("optPoolAnalysisUsage_1"), Qt::LeftButton);
    EXPECT_EQ(ui.model.PoolUsageIntent, UsageIntent::Random);
    EXPECT_TRUE(Option("optPoolClusterAnalysisUsage_1")->isChecked()) << "the cluster page follows";
    EXPECT_EQ(Rows(page->grdClusters()), EngineRows(ui.model, 1.2)) << "and reruns";
    EXPECT_EQ(ui.sink.Messages.size(), 1u) << "the not-applicable message belongs to the cluster page's options";

    window->tbsStats()->setCurrentIndex(7);
    QTest::mouseClick(Option("optPoolClusterAnalysisUsage_0"), Qt::LeftButton);
    window->cmdNextPool_Click();
    EXPECT_TRUE(Option("optPoolClusterAnalysisUsage_1")->isChecked()) << "a new pool starts under Random";
}

TEST_F(ClusterWindow, RadiusSpinnerStepsByTenthsWithinBounds) {
    SpinButtons* spinner = page->udClusterRadius();
    const struct {
        const char* typed;
        bool up;
        const char* shown;
    } steps[] = {{"7.9", true, "7.6"}, {"0.1", false, "0.4"}, {"1.25", false, "1.1"}, {"", true, "0.4"}};
    for (const auto& step : steps) {
        page->txtClusterRadius()->setText(step.typed);
        ClickSpinner(spinner, step.up);
        EXPECT_EQ(Radius(), step.shown) << step.typed;
        EXPECT_FALSE(page->tmrClusterRadius()->isActive()) << "released";
    }
    EXPECT_EQ(Rows(page->grdClusters()), EngineRows(ui.model, 0.4));
    EXPECT_TRUE(ui.sink.Messages.empty());
}

TEST_F(ClusterWindow, HoldingASpinnerButtonRepeatsEveryTick) {
    SpinButtons* spinner = page->udClusterRadius();
    QTimer* timer = page->tmrClusterRadius();
    EXPECT_EQ(timer->interval(), 150);

    const QPoint middle(spinner->width() / 2, spinner->height() / 2);
    QTest::mousePress(spinner, Qt::LeftButton, {}, middle);
    EXPECT_TRUE(timer->isActive()) << "half the height still counts as the upper button";
    for (int tick = 0; tick < 6; ++tick) {
        page->grdClusters()->SetTable({});
        page->tmrClusterRadius_Timer();
        EXPECT_EQ(Rows(page->grdClusters()), EngineRows(ui.model, (13 + tick) / 10.0)) << "tick " << tick;
    }
    EXPECT_EQ(Radius(), "1.8");
    QTest::mouseRelease(spinner, Qt::LeftButton, {}, middle);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(Radius(), "1.9") << "the release completes a click";
}

TEST_F(ClusterWindowWithoutThresholds, AHeldSpinnerStopsWhenARunHasSomethingToSay) {
    ASSERT_FALSE(ui.sink.Messages.empty()) << "entering the page read no threshold";
    const std::size_t before = ui.sink.Messages.size();
    SpinButtons* spinner = page->udClusterRadius();
    QTest::mousePress(spinner, Qt::LeftButton, {}, QPoint(spinner->width() / 2, 1));
    page->tmrClusterRadius_Timer();
    EXPECT_EQ(ui.sink.Messages.size(), before + 1);
    EXPECT_FALSE(page->tmrClusterRadius()->isActive()) << "no tick piles up behind the message box";
}

TEST_F(ClusterWindow, ANegativeRadiusIsRefusedAndAClearedOneIsZero) {
    page->txtClusterRadius()->setText("-0.5");
    EXPECT_TRUE(page->RadiusRefused());
    EXPECT_EQ(window->StatusText(), "The cluster radius must be 0 or more");
    EXPECT_EQ(Rows(page->grdClusters()), kBlankRow);

    page->txtClusterRadius()->clear();
    EXPECT_FALSE(page->RadiusRefused());
    std::set<std::int32_t> distinct(page->LastRun().MemberMaxWorkSet.begin(), page->LastRun().MemberMaxWorkSet.end());
    EXPECT_EQ(Rows(page->grdClusters()).size(), distinct.size()) << "every distinct working set its own cluster";
    EXPECT_TRUE(ui.sink.Messages.empty());
}

TEST_F(ClusterWindow, EachGridKeepsItsOwnSortDirection) {
    GridView* clusters = page->grdClusters();
    ClickHeading(clusters, 1);
    EXPECT_EQ(Headings(clusters), (QStringList{"Object", "Smallest Max WS (A)", "Largest Max WS"}));
    ClickHeading(clusters, 1);
    EXPECT_EQ(Headings(clusters), (QStringList{"Object", "Smallest Max WS (D)", "Largest Max WS"}));
    ClickHeading(clusters, 2);
    EXPECT_EQ(Headings(clusters), (QStringList{"Object", "Smallest Max WS", "Largest Max WS (A)"}));
    EXPECT_EQ(Rows(clusters).front()[0], "5");

    // A row click reads the cluster number from the row as sorted.
    ClickRow(clusters, 0);
    EXPECT_EQ(window->StatusText().right(12), "in Cluster 5");
    ClickHeading(page->grdClusterObjects(), 2);
    EXPECT_EQ(Headings(page->grdClusterObjects()), (QStringList{"Type", "Object", "Max Work Set (A)"}))
        << "the objects grid starts its own toggle";
}

// The number boxes themselves: SimGraphPageTest.
TEST_F(ClusterWindow, ANewPoolStartsAtItsFirstSimulation) {
    page->txtSimNo()->setText("2");
    EXPECT_EQ(page->cmbPoolSize()->count(), 0) << "BP1 has one simulation";
    window->SelectPoolFromGrid("BP2");
    EXPECT_EQ(page->txtSimNo()->text(), "1");
    EXPECT_EQ(page->lblSimFileName()->text(), SamplePath("SYSA_DB2P_20261130_BP2.sim"));
    EXPECT_EQ(page->cmbPoolSize()->count(), 16);
}

TEST_F(ClusterWindow, MemberFilesAreWrittenWholeOrNotAtAll) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto* createCluster = window->findChild<QPushButton*>("cmdClusterCreateFile");
    auto* createIndexes = window->findChild<QPushButton*>("cmdCreateFile");
    // (Which page shows which of the two buttons: WindowTest's Pages.)

    // Cluster 1 of BP1, its objects sorted by working set, largest first.
    ClickRow(page->grdClusters(), 0);
    ClickHeading(page->grdClusterObjects(), 2);
    ClickHeading(page->grdClusterObjects(), 2);
    const QString target = folder.filePath("members.kov");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("OLD.ONE\r\nOLD.TWO\r\nOLD.THREE\r\n") > 0);
    old.close();
    ui.nextSaveFile = folder.filePath("members.txt");
    QTest::mouseClick(createCluster, Qt::LeftButton);
    EXPECT_EQ(FileBytes(target), "PROD.IXCUST101_K1\r\nINVDB.TSPROMO97\r\n");
    EXPECT_EQ(window->StatusText(), "Cluster data file created");
    ASSERT_EQ(ui.saveQuestions.size(), 1u);
    EXPECT_EQ(ui.saveQuestions[0].Folder, SampleFolder());
    EXPECT_EQ(ui.saveQuestions[0].ProposedName, "Cluster.kov");
    EXPECT_EQ(ui.saveQuestions[0].Filters, (QStringList{"Cluster Files (*.kov)", "All Files (*.*)"}));

    // Cancelled: nothing is written and nothing is said.
    ClickRow(page->grdClusters(), 1);
    ui.nextSaveFile.clear();
    QTest::mouseClick(createCluster, Qt::LeftButton);
    EXPECT_EQ(FileBytes(target), "PROD.IXCUST101_K1\r\nINVDB.TSPROMO97\r\n");
    EXPECT_EQ(window->StatusText(), "2 Objects in Cluster 2");

    ui.nextSaveFile = folder.filePath("missing/members.kov");
    QTest::mouseClick(createCluster, Qt::LeftButton);
    ASSERT_EQ(ui.sink.Messages.size(), 1u);
    EXPECT_EQ(ui.sink.Messages[0].Title, "Create Cluster File");

    // AINDEX.KOV goes to the working folder: BP1's indexes, 36 characters each.
    const QString workingFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    window->tbsStats()->setCurrentIndex(6);
    QTest::mouseClick(createIndexes, Qt::LeftButton);
    QDir::setCurrent(workingFolder);
    const QList<QByteArray> lines = FileBytes(folder.filePath("AINDEX.KOV")).split('\n');
    ASSERT_GT(lines.size(), 2);
    EXPECT_TRUE(lines.back().isEmpty()) << "the last line ends too";
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(lines[i].size(), 37) << "36 characters and CR: " << lines[i].toStdString();
        EXPECT_TRUE(lines[i].startsWith("PROD.IX")) << lines[i].toStdString();
    }
}

}  // namespace
}  // namespace kov::test
