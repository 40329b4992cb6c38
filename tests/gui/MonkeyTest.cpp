// The window monkey: its shrinker, its trail format, its command line, that a
// seed gives one walk, that a walk over a sound window finds nothing and that
// a cluster pick is followed through the reruns after it.
// The long walk itself is the Monkey2000 test (tests/monkey).

#include <gtest/gtest.h>

#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <set>

#include "UiFixture.h"
#include "pages/ReportInfoPage.h"
#include "snapshot/Monkey.h"
#include "views/PageStatus.h"

namespace kov::test {
namespace {

using snapshot::MonkeyAction;
using snapshot::MonkeyOptions;
using snapshot::MonkeyPlace;

TEST(MonkeyShrinker, KeepsExactlyThePositionsTheFailureNeeds) {
    const struct {
        std::size_t count;
        std::vector<std::size_t> needed;
    } cases[] = {{1, {0}}, {10, {3}}, {10, {0, 9}}, {40, {5, 6, 7}}, {64, {1, 17, 33, 62}}, {200, {150}}};
    for (const auto& c : cases) {
        int calls = 0;
        const auto fails = [&](const std::vector<std::size_t>& kept) {
            ++calls;
            return std::all_of(c.needed.begin(), c.needed.end(),
                               [&](std::size_t i) { return std::find(kept.begin(), kept.end(), i) != kept.end(); });
        };
        EXPECT_EQ(snapshot::DeltaDebug(c.count, fails, 10000), c.needed) << c.count;
        EXPECT_LT(calls, 1000) << c.count;
    }
}

TEST(MonkeyShrinker, StopsAfterItsTriesWithWhatItHasCut) {
    int calls = 0;
    const auto fails = [&](const std::vector<std::size_t>& kept) {
        ++calls;
        return std::find(kept.begin(), kept.end(), std::size_t{77}) != kept.end();
    };
    const auto kept = snapshot::DeltaDebug(100, fails, 3);
    EXPECT_EQ(calls, 3);
    EXPECT_LT(kept.size(), 100u);
    EXPECT_NE(std::find(kept.begin(), kept.end(), std::size_t{77}), kept.end());
}

TEST(MonkeyTrail, AnActionReadsBackAsItWasWritten) {
    const MonkeyAction actions[] = {
        {"OpenSims", 4000000000u, {"a.sim", "b c.sim"}, MonkeyPlace::FileScreen, "cmdSelectSimFile a.sim"},
        {"MainTab", 7, {}, MonkeyPlace::Window, ""},
        {"CloseCompare", 0, {}, MonkeyPlace::Compare, "closed"},
    };
    for (const MonkeyAction& action : actions) {
        const auto back = snapshot::ActionFromJson(snapshot::ActionJson(action));
        ASSERT_TRUE(back) << action.Kind;
        EXPECT_EQ(back->Kind, action.Kind);
        EXPECT_EQ(back->Choice, action.Choice);
        EXPECT_EQ(back->Files, action.Files);
        EXPECT_EQ(back->Place, action.Place);
    }
    EXPECT_FALSE(snapshot::ActionFromJson({{"choice", 1}}));
}

TEST(MonkeyCommandLine, RefusesWhatItCannotRun) {
    const QStringList refused[] = {
        {"--monkey", "out.json"},                            // no file
        {"--monkey", "out.json", "--steps", "0", "a.sta"},   // no step
        {"--monkey", "out.json", "--steps", "-5", "a.sta"},  // negative
        {"--monkey", "out.json", "--seed", "x", "a.sta"},
        {"--monkey", "out.json", "--check-every", "0", "a.sta"},
        {"--monkey", "out.json", "--fault", "0", "a.sta"},
        {"--monkey", "out.json", "--wobble", "a.sta"},
        {"a.sta", "--monkey"},
    };
    for (const QStringList& arguments : refused) {
        std::string error;
        EXPECT_FALSE(snapshot::ParseMonkeyArguments(arguments, error)) << arguments.join(' ').toStdString();
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    const auto options = snapshot::ParseMonkeyArguments(
        {"--monkey", "out.json", "--steps", "30", "--seed", "18446744073709551615", "--shrink", "a.sta", "b.sim"},
        error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->Steps, 30);
    EXPECT_EQ(options->Seed, 18446744073709551615u);
    EXPECT_TRUE(options->Shrink);
    EXPECT_EQ(options->Files, QStringList({"a.sta", "b.sim"}));
}

MonkeyOptions SampleWalk(std::uint64_t seed, int steps) {
    MonkeyOptions options;
    options.Seed = seed;
    options.Steps = steps;
    options.AccDir = SampleFolder();
    options.Files = QStringList{SampleStat()} + SampleSims();
    return options;
}

// Every action of a walk with what it did (the rows, tabs and files it met).
std::vector<std::string> WalkOf(const MonkeyOptions& options) {
    std::vector<std::string> walk;
    for (const MonkeyAction& action : snapshot::RunMonkey(options).Trail)
        walk.push_back(snapshot::ActionJson(action).dump());
    return walk;
}

TEST(MonkeyWalk, ASeedGivesOneWalk) {
    const std::vector<std::string> walk = WalkOf(SampleWalk(11, 12));
    EXPECT_EQ(WalkOf(SampleWalk(11, 12)), walk);
    EXPECT_NE(WalkOf(SampleWalk(12, 12)), walk);
    EXPECT_GE(walk.size(), 12u);
    EXPECT_LE(walk.size(), 13u);  // a walk that ends on the file screen leaves it
}

// Samples read, Next, then Graphic Summary and Scan Cost: nothing here is
// stale, so every invariant holds, the fresh window's included.
TEST(MonkeyWalk, FindsNothingOnASoundRoad) {
    const MonkeyOptions options = SampleWalk(1, 1);
    const std::vector<MonkeyAction> road = {
        {"OpenStat", 0, {SampleStat()}, MonkeyPlace::FileScreen, ""},
        {"OpenSims", 0, SampleSims(), MonkeyPlace::FileScreen, ""},
        {"Next", 0, {}, MonkeyPlace::FileScreen, ""},
        {"MainTab", PageGraphicSummary, {}, MonkeyPlace::Window, ""},
        {"MainTab", PageScanCost, {}, MonkeyPlace::Window, ""},
        {"MainTab", PageReportInfo, {}, MonkeyPlace::Window, ""},
    };
    const auto run = snapshot::ReplayMonkey(options, road);
    EXPECT_EQ(run.Actions, 6);
    for (const auto& fault : run.Faults) ADD_FAILURE() << fault.Detail;
}

// A cluster picked, then the radius stepped and the intent changed: the
// reruns empty the grids but keep the pick's status, which the fresh window
// reaches only by picking under the pick's settings, then taking the walk's.
TEST(MonkeyWalk, FollowsAClusterPickThroughTheRerunsAfterIt) {
    MonkeyOptions options = SampleWalk(1, 1);
    options.CheckEvery = 1;
    const std::vector<MonkeyAction> road = {
        {"OpenStat", 0, {SampleStat()}, MonkeyPlace::FileScreen, ""},
        {"OpenSims", 0, SampleSims(), MonkeyPlace::FileScreen, ""},
        {"Next", 0, {}, MonkeyPlace::FileScreen, ""},
        {"RowClick", 2, {}, MonkeyPlace::Window, ""},
        {"MainTab", PageSimClusterAnalysis, {}, MonkeyPlace::Window, ""},
        {"RowClick", 2, {}, MonkeyPlace::Window, ""},
        {"RadiusStep", 0, {}, MonkeyPlace::Window, ""},
        {"RadiusStep", 0, {}, MonkeyPlace::Window, ""},
        {"Option", 0, {}, MonkeyPlace::Window, ""},
    };
    const auto run = snapshot::ReplayMonkey(options, road);
    ASSERT_EQ(run.Trail.size(), road.size());
    const std::vector<std::pair<std::size_t, std::string>> done = {
        {3, "grdPoolInfo row 1 \"BP1\""}, {5, "grdClusters row 1 \"2\""}, {8, "optPoolClusterAnalysisUsage_0"}};
    for (const auto& [step, text] : done) EXPECT_EQ(run.Trail[step].Done, text) << step;
    for (const auto& fault : run.Faults) ADD_FAILURE() << fault.Detail;
}

// Found by the monkey (shrunk: an empty statistics report, Next): every
// all-pools chart raised the same plotting box.
TEST(MonkeyFindings, AnEmptyReportRaisesNoPlottingBox) {
    QTemporaryDir folder;
    const QString empty = folder.filePath("empty.sta");
    QFile(empty).open(QIODevice::WriteOnly);
    UiHarness ui;
    ui.onFileSelection = [&](frmSelectFiles& screen) {
        screen.OpenStatisticsFile(empty);
        screen.cmdNext_Click();
    };
    const auto window = ui.Start();
    for (const Message& message : ui.sink.Messages) EXPECT_NE(message.Title, "Graphics Summary") << message.Text;
}

// Found by the monkey (shrunk: the samples, Next, a pool row clicked, Back,
// Next): the pool pages stayed enabled after the activation although no pool
// was chosen since.
TEST(MonkeyFindings, BackAndNextCloseThePoolPagesUntilAPoolIsChosen) {
    UiHarness ui;
    const auto window = ui.StartWithSamples();
    ClickRow(window->ReportInfo()->grdPoolInfo(), 1);
    ASSERT_TRUE(window->tbsStats()->isTabEnabled(PagePoolInfo));
    ui.onFileSelection = [](frmSelectFiles& screen) { screen.cmdNext_Click(); };
    window->cmdBack_Click();
    for (int page : {PagePoolInfo, PageObjectInfo, PageExpertTuning, PageSimGraphAnalysis, PageSimClusterAnalysis})
        EXPECT_FALSE(window->tbsStats()->isTabEnabled(page)) << page;
}

}  // namespace
}  // namespace kov::test
