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

// Runs the window on the samples; `inspect` sees each size-advice dialog shown.
struct SizeAdviceHarness {
    UiHarness ui;
    int dialogsShown = 0;
    std::function<void(frmSizeAdvice&)> inspect = [](frmSizeAdvice&) {};
    std::unique_ptr<frmStatAnalysis> window;

    SizeAdviceHarness() {
        const auto otherDialogs = ui.services.RunModal;
        ui.services.RunModal = [this, otherDialogs](QDialog& dialog) {
            if (auto* advice = qobject_cast<frmSizeAdvice*>(&dialog)) {
                ++dialogsShown;
                advice->show();
                QApplication::processEvents();
                inspect(*advice);
                advice->hide();
                return;
            }
            otherDialogs(dialog);
        };
    }
};

void TypeBudget(frmSizeAdvice& dialog, const QString& text) {
    QDoubleSpinBox* box = dialog.txtBudgetMB();
    box->selectAll();
    QTest::keyClicks(box, text);
    QApplication::processEvents();
}

TEST(SizeAdviceDialog, RecomputesAsTheBudgetIsTypedAndFollowsTheChosenPool) {
    SizeAdviceHarness h;
    h.window = h.ui.StartWithSamples();
    ASSERT_TRUE(h.window->ReportInfo()->cmdSizeAdvice()->isEnabled());
    h.inspect = [](frmSizeAdvice& dialog) {
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
    };
    QTest::mouseClick(h.window->ReportInfo()->cmdSizeAdvice(), Qt::LeftButton);
    EXPECT_EQ(h.dialogsShown, 1);
    EXPECT_TRUE(h.ui.sink.Messages.empty());
}

TEST(SizeAdviceDialog, DisabledWithoutSimulations) {
    SizeAdviceHarness h;
    h.window = h.ui.StartWith(SampleStat());
    EXPECT_FALSE(h.window->ReportInfo()->cmdSizeAdvice()->isEnabled());
}

}  // namespace
}  // namespace kov::test
