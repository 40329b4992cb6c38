// "Size Advice…" from the Report Info page: the budget box recomputes as it
// is typed, the grid, curve and explanation follow the chosen pool.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>

#include "UiFixture.h"
#include "frmSizeAdvice.h"
#include "pages/ReportInfoPage.h"
#include "widgets/ChartWidget.h"

namespace kov::test {
namespace {

void TypeBudget(frmSizeAdvice& dialog, const QString& text) {
    QDoubleSpinBox* box = dialog.txtBudgetMB();
    box->selectAll();
    QTest::keyClicks(box, text);
    QApplication::processEvents();
}

TEST(SizeAdviceDialog, RecomputesAsTheBudgetIsTypedAndFollowsTheChosenPool) {
    UiHarness ui;
    ui.OnDialog<frmSizeAdvice>([](frmSizeAdvice& dialog) {
        GridView* grid = dialog.grdSizeAdvice();
        ASSERT_EQ(grid->Model()->rowCount(), 3);
        // The samples are balanced for the memory they have: every pool stays.
        for (int row = 0; row < 3; ++row) EXPECT_EQ(Cell(grid, row, 2), Cell(grid, row, 3)) << row;
        EXPECT_EQ(dialog.chartSizeCurve()->Shown().Title, "BP0 Read I/O Rate Versus Memory (MB)");
        SaveScreenshot(dialog, "size-advice-default");

        TypeBudget(dialog, "1562.5");
        EXPECT_EQ(Cell(grid, 1, 0), "BP1");
        EXPECT_EQ(Cell(grid, 1, 3), "200,000");
        EXPECT_TRUE(dialog.lblSizeAdviceTotals()->text().contains("781.2 MB now and 1,562.5 MB as recommended"));

        ClickRow(grid, 2);
        EXPECT_EQ(dialog.chartSizeCurve()->Shown().Title, "BP2 Read I/O Rate Versus Memory (MB)");
        EXPECT_TRUE(dialog.lblSizeAdviceBecause()->text().startsWith("BP2 80,000 \u2192 160,000 buffers"));
        SaveScreenshot(dialog, "size-advice-doubled");
        // Sorting keeps the chosen pool on show.
        ClickHeading(grid, 6);
        EXPECT_EQ(dialog.chartSizeCurve()->Shown().Title, "BP2 Read I/O Rate Versus Memory (MB)");

        TypeBudget(dialog, "10");
        EXPECT_TRUE(dialog.lblSizeAdviceTotals()->text().contains("No choice of simulated sizes fits the budget"));
        EXPECT_EQ(dialog.chartSizeCurve()->Shown().Title, "BP2 Read I/O Rate Versus Memory (MB)");
    });
    auto window = ui.StartWithSamples();
    ASSERT_TRUE(window->ReportInfo()->cmdSizeAdvice()->isEnabled());
    QTest::mouseClick(window->ReportInfo()->cmdSizeAdvice(), Qt::LeftButton);
    EXPECT_EQ(ui.dialogsShown, 1);
    EXPECT_TRUE(ui.sink.Messages.empty());
}

TEST(SizeAdviceDialog, DisabledWithoutSimulations) {
    UiHarness ui;
    EXPECT_FALSE(ui.StartWith(SampleStat())->ReportInfo()->cmdSizeAdvice()->isEnabled());
}

}  // namespace
}  // namespace kov::test
