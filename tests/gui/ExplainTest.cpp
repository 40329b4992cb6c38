// The reasons behind the advice on the Expert Tuning page, and the "Data
// checks" strip of the Report Info page.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "UiFixture.h"
#include "analysis/TuningRules.h"
#include "pages/DataChecksStrip.h"
#include "pages/ExpertTuningPage.h"
#include "pages/ReportInfoPage.h"
#include "sampledata/SampleGenerator.h"
#include "views/PageStatus.h"

namespace kov::test {
namespace {

using ExplainedAdvice = SamplesWindow;
TEST_F(ExplainedAdvice, EachLineShowsWhyAsTooltipAndInThePanelAndCopiesBoth) {
    window->SelectPoolFromGrid("BP1");
    window->tbsStats()->setCurrentIndex(PageExpertTuning);
    ExpertTuningPage* page = window->ExpertTuning();
    QListWidget* list = page->lstBPAnalysis();
    const std::vector<AdviceLine> advice = ExplainPoolRules(ui.model, ui.model.CurrentPool, UsageIntent::Random);
    ASSERT_GE(advice.size(), 2u);
    ASSERT_EQ(list->count(), static_cast<int>(advice.size()));  // each line's tooltip: the window snapshot test
    EXPECT_EQ(page->lblAdviceBecause()->text(), "");
    EXPECT_FALSE(page->cmdCopyAdvice()->isEnabled()) << "nothing selected, nothing to copy";

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(page->lblAdviceBecause()->text().toStdString(), advice[1].Because);
    ASSERT_TRUE(page->cmdCopyAdvice()->isEnabled());
    QApplication::clipboard()->clear();
    page->cmdCopyAdvice()->click();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), advice[1].Text + "\n" + advice[1].Because);

    // The other intent re-evaluates (BP1's thresholds differ by intent) and
    // empties the panel until a line is chosen again.
    QTest::mouseClick(window->findChild<QRadioButton*>("optPoolAnalysisUsage_0"), Qt::LeftButton);
    std::vector<std::string> shown, random, sequential;
    for (int row = 0; row < list->count(); ++row) shown.push_back(list->item(row)->text().toStdString());
    for (const AdviceLine& line : advice) random.push_back(line.Text);
    for (const AdviceLine& line : ExplainPoolRules(ui.model, ui.model.CurrentPool, UsageIntent::Sequential))
        sequential.push_back(line.Text);
    EXPECT_EQ(shown, sequential);
    EXPECT_NE(sequential, random);
    EXPECT_EQ(page->lblAdviceBecause()->text(), "");
    EXPECT_FALSE(page->cmdCopyAdvice()->isEnabled());
}

// Two pools; XP8's first object claims a hit ratio above 100 and the report
// has no elapsed time: two findings, one of them about XP8.
QString SpoiledReport(const QTemporaryDir& folder) {
    SamplePlan plan;
    plan.ElapsedTime = "00:00:00";
    plan.Pools = {{"XP7", PoolUse::Data, 5, 1000, 0}, {"XP8", PoolUse::Index, 3, 2000, 0}};
    ReportModel model = GenerateReport(plan);
    model.Objects(6).Activity.SysHitRatio = 101;
    return WriteStatFile(model, folder.filePath("spoiled.sta"));
}

TEST(DataChecksStrip, CountsTheFindingsAndEachTakesYouToItsPool) {
    QTemporaryDir folder;
    UiHarness ui;
    auto window = ui.StartWith(SpoiledReport(folder));

    DataChecksStrip* strip = window->ReportInfo()->DataChecks();
    QToolButton* button = strip->cmdDataChecks();
    QListWidget* list = strip->lstDataChecks();
    EXPECT_EQ(button->text(), "Data checks: 2 findings");
    EXPECT_FALSE(list->isVisible()) << "closed until clicked";
    button->click();
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->count(), 2);  // the pool and object lines: the window snapshot test
    EXPECT_TRUE(list->item(0)->text().startsWith("Report: ")) << list->item(0)->text().toStdString();

    // The report's own finding names no pool: nothing moves.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(window->tbsStats()->currentIndex(), PageReportInfo);
    EXPECT_EQ(ui.model.CurrentPool, 1);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(ui.model.CurrentPool, 2);
    EXPECT_EQ(window->tbsStats()->currentIndex(), PagePoolInfo);
    EXPECT_EQ(window->findChild<QLabel*>("lblPoolInfo_0")->text().trimmed(), "XP8");

    // Back to a sound report: the strip says so and closes.
    ui.onFileSelection = ChooseReports({SampleStat(), {}}, true);
    window->cmdBack_Click();
    EXPECT_EQ(button->text(), "Data checks: no findings");
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(ui.sink.Messages.empty());
}

}  // namespace
}  // namespace kov::test
