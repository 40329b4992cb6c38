// The Expert Tuning and Scan Cost pages in the window.

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "UiFixture.h"
#include "analysis/TuningRules.h"
#include "pages/ExpertTuningPage.h"
#include "pages/ScanCostPage.h"
#include "widgets/GridView.h"

namespace kov::test {
namespace {

QStringList AdviceShown(frmStatAnalysis& window) {
    QStringList lines;
    auto* list = window.findChild<QListWidget*>("lstBPAnalysis");
    for (int row = 0; row < list->count(); ++row) lines << list->item(row)->text();
    return lines;
}

QStringList Expected(const ReportModel& model, char intent) {
    QStringList lines;
    for (const std::string& line : EvaluatePoolRules(model, model.CurrentPool, intent))
        lines << QString::fromStdString(line);
    return lines;
}

TEST(ExpertTuning, TheIntentToggleReevaluatesAndAPoolChangeReturnsToRandom) {
    UiHarness ui;
    auto window = ui.StartWithSamples();
    window->SelectPoolFromGrid("BP1");
    window->tbsStats()->setCurrentIndex(4);
    auto* sequential = window->findChild<QRadioButton*>("optPoolAnalysisUsage_0");
    auto* random = window->findChild<QRadioButton*>("optPoolAnalysisUsage_1");
    EXPECT_TRUE(random->isChecked());
    EXPECT_EQ(window->findChild<QLabel*>("lblAnalysis")->text(), "Buffer Pool Stat Analysis - BP1     ");
    EXPECT_EQ(AdviceShown(*window), Expected(ui.model, 'R'));

    QTest::mouseClick(sequential, Qt::LeftButton);
    EXPECT_EQ(ui.model.PoolUsageIntent, 'S');
    EXPECT_EQ(AdviceShown(*window), Expected(ui.model, 'S'));
    EXPECT_NE(Expected(ui.model, 'S'), Expected(ui.model, 'R')) << "BP1's thresholds differ by intent";

    window->cmdNextPool_Click();
    EXPECT_EQ(ui.model.PoolUsageIntent, 'R');
    EXPECT_TRUE(random->isChecked());
    EXPECT_EQ(window->findChild<QLabel*>("lblAnalysis")->text(), "Buffer Pool Stat Analysis - BP2     ");
    EXPECT_EQ(AdviceShown(*window), Expected(ui.model, 'R'));
}

TEST(ScanCost, ThePageFollowsTheCurrentPool) {
    UiHarness ui;
    auto window = ui.StartWithSamples();
    ScanCostPage* page = window->ScanCost();
    EXPECT_EQ(page->grdScanCost()->model()->rowCount(), 20);
    EXPECT_EQ(window->findChild<QLabel*>("lblScanCostData_0")->text(), "3,600.000");
    EXPECT_EQ(window->findChild<QLabel*>("lblInfoScanCost_2")->text(), "BP0      CPU Seconds Cost = ");

    window->SelectPoolFromGrid("BP7");
    EXPECT_EQ(window->findChild<QLabel*>("lblInfoScanCost_2")->text(), "BP7      CPU Seconds Cost = ");
    EXPECT_EQ(page->grdScanCostPool()->model()->rowCount(), 12) << "BP7 holds 12 work files";
    EXPECT_EQ(page->grdScanCostPool()->Cell(0, 1).trimmed(), "BP7");
}

TEST(ScanCost, DoubleClickOnTheWindowRefreshesBothLists) {
    UiHarness ui;
    auto window = ui.StartWithSamples();
    window->ScanCost()->grdScanCost()->SetTable({});
    QTest::mouseDClick(window.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(window->ScanCost()->grdScanCost()->model()->rowCount(), 20);
}

}  // namespace
}  // namespace kov::test
