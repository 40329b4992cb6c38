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
struct ClusterWindow {
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

// The clusters the engine finds for BP1 with the page's inputs.
std::vector<std::vector<std::string>> EngineRows(const ReportModel& model, double radius, int sizePoint = 1) {
    CollectingSink sink;
    const ClusterQuery query{model.CurrentPool, model.CurrentSimulation, sizePoint, model.PoolUsageIntent, radius};
    return FillClusterGrid(RunClusterAnalysis(model, KOVGRAPH_SAMPLES, query, sink)).Rows;
}
const std::vector<std::vector<std::string>> kBlankRow{{"", "", ""}};

const Message kNotApplicable{"Cluster Analysis", kClusterNotApplicable, MessageIcon::Critical};

TEST(ClusterPage, EnteringThePageRunsWithTheTypedRadius) {
    ClusterWindow w;
    EXPECT_EQ(w.Radius(), "1.2");
    EXPECT_EQ(w.Rows(w.page->grdClusters()), EngineRows(w.ui.model, 1.2));
    EXPECT_EQ(w.Rows(w.page->grdClusterObjects()), kBlankRow) << "members appear once a cluster is clicked";
    EXPECT_EQ(w.window->StatusText(), "Cluster Analysis details");
    EXPECT_TRUE(w.ui.sink.Messages.empty());

    ClickRow(w.page->grdClusters(), 1);
    EXPECT_EQ(w.Rows(w.page->grdClusterObjects()).at(0), (std::vector<std::string>{"T", "HRDB.TSORDER40", "1189"}));
    EXPECT_EQ(w.window->StatusText(), "2 Objects in Cluster 2");

    // Another size point reruns at once, quietly.
    w.page->cmbPoolSize()->setCurrentIndex(3);
    emit w.page->cmbPoolSize()->activated(3);
    EXPECT_EQ(w.Rows(w.page->grdClusters()), EngineRows(w.ui.model, 1.2, 4));
    EXPECT_EQ(w.Rows(w.page->grdClusterObjects()), kBlankRow);
}

TEST(ClusterPage, TheUsageIntentIsOneSettingOfBothPages) {
    ClusterWindow w;
    QTest::mouseClick(w.Option("optPoolClusterAnalysisUsage_0"), Qt::LeftButton);
    EXPECT_EQ(w.ui.model.PoolUsageIntent, UsageIntent::Sequential);
    EXPECT_TRUE(w.Option("optPoolAnalysisUsage_0")->isChecked()) << "the tuning page follows";
    EXPECT_EQ(w.ui.sink.Messages, std::vector<Message>{kNotApplicable}) << "BP1 is read randomly";
    EXPECT_EQ(w.Rows(w.page->grdClusters()), kBlankRow);

    w.window->tbsStats()->setCurrentIndex(4);
    QTest::mouseClick(w.Option("optPoolAnalysisUsage_1"), Qt::LeftButton);
    EXPECT_EQ(w.ui.model.PoolUsageIntent, UsageIntent::Random);
    EXPECT_TRUE(w.Option("optPoolClusterAnalysisUsage_1")->isChecked()) << "the cluster page follows";
    EXPECT_EQ(w.Rows(w.page->grdClusters()), EngineRows(w.ui.model, 1.2)) << "and reruns";
    EXPECT_EQ(w.ui.sink.Messages.size(), 1u) << "the not-applicable message belongs to the cluster page's options";

    w.window->tbsStats()->setCurrentIndex(7);
    QTest::mouseClick(w.Option("optPoolClusterAnalysisUsage_0"), Qt::LeftButton);
    w.window->cmdNextPool_Click();
    EXPECT_TRUE(w.Option("optPoolClusterAnalysisUsage_1")->isChecked()) << "a new pool starts under Random";
}

TEST(ClusterPage, RadiusSpinnerStepsByTenthsWithinBounds) {
    ClusterWindow w;
    SpinButtons* spinner = w.page->udClusterRadius();
    const struct {
        const char* typed;
        bool up;
        const char* shown;
    } steps[] = {{"7.9", true, "7.6"}, {"0.1", false, "0.4"}, {"1.25", false, "1.1"}, {"", true, "0.4"}};
    for (const auto& step : steps) {
        w.page->txtClusterRadius()->setText(step.typed);
        ClickSpinner(spinner, step.up);
        EXPECT_EQ(w.Radius(), step.shown) << step.typed;
        EXPECT_FALSE(w.page->tmrClusterRadius()->isActive()) << "released";
    }
    EXPECT_EQ(w.Rows(w.page->grdClusters()), EngineRows(w.ui.model, 0.4));
    EXPECT_TRUE(w.ui.sink.Messages.empty());
}

TEST(ClusterPage, HoldingASpinnerButtonRepeatsEveryTick) {
    ClusterWindow w;
    SpinButtons* spinner = w.page->udClusterRadius();
    QTimer* timer = w.page->tmrClusterRadius();
    EXPECT_EQ(timer->interval(), 150);

    const QPoint middle(spinner->width() / 2, spinner->height() / 2);
    QTest::mousePress(spinner, Qt::LeftButton, {}, middle);
    EXPECT_TRUE(timer->isActive()) << "half the height still counts as the upper button";
    for (int tick = 0; tick < 6; ++tick) {
        w.page->grdClusters()->SetTable({});
        w.page->tmrClusterRadius_Timer();
        EXPECT_EQ(w.Rows(w.page->grdClusters()), EngineRows(w.ui.model, (13 + tick) / 10.0)) << "tick " << tick;
    }
    EXPECT_EQ(w.Radius(), "1.8");
    QTest::mouseRelease(spinner, Qt::LeftButton, {}, middle);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(w.Radius(), "1.9") << "the release completes a click";
}

TEST(ClusterPage, AHeldSpinnerStopsWhenARunHasSomethingToSay) {
    ClusterWindow w(QDir::tempPath() + "/kovgraph-no-thresholds-here");
    ASSERT_FALSE(w.ui.sink.Messages.empty()) << "entering the page read no threshold";
    const std::size_t before = w.ui.sink.Messages.size();
    SpinButtons* spinner = w.page->udClusterRadius();
    QTest::mousePress(spinner, Qt::LeftButton, {}, QPoint(spinner->width() / 2, 1));
    w.page->tmrClusterRadius_Timer();
    EXPECT_EQ(w.ui.sink.Messages.size(), before + 1);
    EXPECT_FALSE(w.page->tmrClusterRadius()->isActive()) << "no tick piles up behind the message box";
}

TEST(ClusterPage, ANegativeRadiusIsRefusedAndAClearedOneIsZero) {
    ClusterWindow w;
    w.page->txtClusterRadius()->setText("-0.5");
    EXPECT_TRUE(w.page->RadiusRefused());
    EXPECT_EQ(w.window->StatusText(), "The cluster radius must be 0 or more");
    EXPECT_EQ(w.Rows(w.page->grdClusters()), kBlankRow);

    w.page->txtClusterRadius()->clear();
    EXPECT_FALSE(w.page->RadiusRefused());
    std::set<std::int32_t> distinct(w.page->LastRun().MemberMaxWorkSet.begin(),
                                    w.page->LastRun().MemberMaxWorkSet.end());
    EXPECT_EQ(w.Rows(w.page->grdClusters()).size(), distinct.size()) << "every distinct working set its own cluster";
    EXPECT_TRUE(w.ui.sink.Messages.empty());
}

TEST(ClusterPage, EachGridKeepsItsOwnSortDirection) {
    ClusterWindow w;
    GridView* clusters = w.page->grdClusters();
    ClickHeading(clusters, 1);
    EXPECT_EQ(Headings(clusters), (QStringList{"Object", "Smallest Max WS (A)", "Largest Max WS"}));
    ClickHeading(clusters, 1);
    EXPECT_EQ(Headings(clusters), (QStringList{"Object", "Smallest Max WS (D)", "Largest Max WS"}));
    ClickHeading(clusters, 2);
    EXPECT_EQ(Headings(clusters), (QStringList{"Object", "Smallest Max WS", "Largest Max WS (A)"}));
    EXPECT_EQ(w.Rows(clusters).front()[0], "5");

    // A row click reads the cluster number from the row as sorted.
    ClickRow(clusters, 0);
    EXPECT_EQ(w.window->StatusText().right(12), "in Cluster 5");
    ClickHeading(w.page->grdClusterObjects(), 2);
    EXPECT_EQ(Headings(w.page->grdClusterObjects()), (QStringList{"Type", "Object", "Max Work Set (A)"}))
        << "the objects grid starts its own toggle";
}

// The number boxes themselves: SimGraphPageTest.
TEST(ClusterPage, ANewPoolStartsAtItsFirstSimulation) {
    ClusterWindow w;
    w.page->txtSimNo()->setText("2");
    EXPECT_EQ(w.page->cmbPoolSize()->count(), 0) << "BP1 has one simulation";
    w.window->SelectPoolFromGrid("BP2");
    EXPECT_EQ(w.page->txtSimNo()->text(), "1");
    EXPECT_EQ(w.page->lblSimFileName()->text(), SamplePath("SYSA_DB2P_20261130_BP2.sim"));
    EXPECT_EQ(w.page->cmbPoolSize()->count(), 16);
}

TEST(ClusterPage, MemberFilesAreWrittenWholeOrNotAtAll) {
    ClusterWindow w;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto* createCluster = w.window->findChild<QPushButton*>("cmdClusterCreateFile");
    auto* createIndexes = w.window->findChild<QPushButton*>("cmdCreateFile");
    ASSERT_TRUE(createCluster->isVisibleTo(w.window.get()));
    EXPECT_FALSE(createIndexes->isVisibleTo(w.window.get())) << "the index exclude file belongs to page 6";

    // Cluster 1 of BP1, its objects sorted by working set, largest first.
    ClickRow(w.page->grdClusters(), 0);
    ClickHeading(w.page->grdClusterObjects(), 2);
    ClickHeading(w.page->grdClusterObjects(), 2);
    const QString target = folder.filePath("members.kov");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("OLD.ONE\r\nOLD.TWO\r\nOLD.THREE\r\n") > 0);
    old.close();
    w.ui.nextSaveFile = folder.filePath("members.txt");
    QTest::mouseClick(createCluster, Qt::LeftButton);
    EXPECT_EQ(FileBytes(target), "PROD.IXCUST101_K1\r\nINVDB.TSPROMO97\r\n");
    EXPECT_EQ(w.window->StatusText(), "Cluster data file created");
    ASSERT_EQ(w.ui.saveQuestions.size(), 1u);
    EXPECT_EQ(w.ui.saveQuestions[0].Folder, SampleFolder());
    EXPECT_EQ(w.ui.saveQuestions[0].ProposedName, "Cluster.kov");
    EXPECT_EQ(w.ui.saveQuestions[0].Filters, (QStringList{"Cluster Files (*.kov)", "All Files (*.*)"}));

    // Cancelled: nothing is written and nothing is said.
    ClickRow(w.page->grdClusters(), 1);
    w.ui.nextSaveFile.clear();
    QTest::mouseClick(createCluster, Qt::LeftButton);
    EXPECT_EQ(FileBytes(target), "PROD.IXCUST101_K1\r\nINVDB.TSPROMO97\r\n");
    EXPECT_EQ(w.window->StatusText(), "2 Objects in Cluster 2");

    w.ui.nextSaveFile = folder.filePath("missing/members.kov");
    QTest::mouseClick(createCluster, Qt::LeftButton);
    ASSERT_EQ(w.ui.sink.Messages.size(), 1u);
    EXPECT_EQ(w.ui.sink.Messages[0].Title, "Create Cluster File");

    // AINDEX.KOV goes to the working folder: BP1's indexes, 36 characters each.
    const QString workingFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    w.window->tbsStats()->setCurrentIndex(6);
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
