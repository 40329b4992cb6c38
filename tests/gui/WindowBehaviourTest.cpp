// How the window behaves in a DBA's hands: the keyboard reaches every page
// and every page fits a small screen, and a click chooses the row it lands on.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "UiFixture.h"
#include "pages/GraphicSummaryPage.h"
#include "pages/PoolInfoPage.h"
#include "pages/ReportInfoPage.h"
#include "views/PageStatus.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"

namespace kov::test {
namespace {

// At a large scale factor the pool grid shows a row or two: a click on the
// row cut at its bottom scrolls it into view under the pressed button.
TEST(PoolGrid, AClickOnARowShownInPartChoosesThatRow) {
    for (const char* viewName : {"grdPoolInfo", "grdPoolInfoFrozen"}) {
        SCOPED_TRACE(viewName);
        UiHarness ui;
        auto window = ui.StartWithSamples();
        GridView* grid = window->ReportInfo()->grdPoolInfo();
        QApplication::processEvents();
        grid->setFixedHeight(grid->height() - grid->viewport()->height() + grid->rowHeight(0) * 3 / 2);
        QApplication::processEvents();
        auto* view = grid->objectName() == viewName ? grid : grid->findChild<QTableView*>(viewName);
        ASSERT_NE(view, nullptr);
        const QPoint cut(view->visualRect(view->model()->index(0, 0)).center().x(), view->viewport()->height() - 2);
        const int pressed = view->indexAt(cut).row();
        ASSERT_EQ(pressed, 1) << "the second row must be shown in part for this test";
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cut);
        QApplication::processEvents();
        EXPECT_EQ(ui.model.CurrentPool, PoolNamed(ui.model, grid->Cell(pressed, 0).toStdString()));
        EXPECT_TRUE(window->windowTitle().endsWith(grid->Cell(pressed, 0).trimmed()));
        EXPECT_EQ(grid->currentIndex().row(), pressed);
        EXPECT_EQ(grid->selectionModel()->selectedRows().size(), 1);
    }
}

using Keyboard = SamplesWindow;
TEST_F(Keyboard, ArrowsAndEnterInThePoolGridChooseThePool) {
    GridView* grid = window->ReportInfo()->grdPoolInfo();
    ClickRow(grid, 0);
    for (const auto& [key, row] :
         {std::pair{Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_Return, 2}, {Qt::Key_Up, 1}}) {
        QTest::keyClick(grid, key);
        EXPECT_EQ(ui.model.CurrentPool, PoolNamed(ui.model, grid->Cell(row, 0).toStdString())) << key;
        EXPECT_TRUE(window->windowTitle().endsWith(grid->Cell(row, 0).trimmed())) << key;
    }
}

TEST_F(Keyboard, CtrlTabAndCtrlPageKeysMoveBetweenTheMainPagesFromAnywhere) {
    window->SelectPoolFromGrid("BP1");
    QTabWidget* tabs = window->tbsStats();
    tabs->setCurrentIndex(PageGraphicSummary);
    QWidget* inside = window->GraphicSummary()->tbsGraphicSummary()->tabBar();
    const int subTab = window->GraphicSummary()->tbsGraphicSummary()->currentIndex();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int page;
    } steps[] = {{Qt::Key_Tab, Qt::ControlModifier, PagePoolInfo},
                 {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, PageGraphicSummary},
                 {Qt::Key_PageDown, Qt::ControlModifier, PagePoolInfo},
                 {Qt::Key_PageUp, Qt::ControlModifier, PageGraphicSummary}};
    for (const auto& step : steps) {
        QWidget* from = tabs->currentIndex() == PageGraphicSummary ? inside : window->PoolInfo()->cmdNextPool();
        QTest::keyClick(from, step.key, step.modifiers);
        EXPECT_EQ(tabs->currentIndex(), step.page) << step.key;
    }
    EXPECT_EQ(window->GraphicSummary()->tbsGraphicSummary()->currentIndex(), subTab) << "the sub-tabs stay";
}

TEST_F(Keyboard, MainTabsHaveMnemonicsAndDisabledPagesSayWhy) {
    QTabWidget* tabs = window->tbsStats();
    QStringList letters;
    for (int page = 0; page < tabs->count(); ++page) {
        const QString text = tabs->tabText(page);
        const qsizetype amp = text.indexOf('&');
        ASSERT_GE(amp, 0) << text.toStdString();
        letters << text.mid(amp + 1, 1).toLower();
    }
    letters.removeDuplicates();
    EXPECT_EQ(letters.size(), tabs->count()) << "each page its own letter";
    EXPECT_FALSE(tabs->isTabEnabled(PagePoolInfo));
    EXPECT_EQ(tabs->tabToolTip(PagePoolInfo), "Choose a pool in the pool grid first");
    window->SelectPoolFromGrid("BP1");
    EXPECT_EQ(tabs->tabToolTip(PagePoolInfo), "");
}

TEST_F(Keyboard, F1OpensTheHelp) {
    QTest::keyClick(window->ReportInfo()->grdPoolInfo(), Qt::Key_F1);
    auto* help = window->findChild<QDialog*>("dlgHelp");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->findChild<QWidget*>("txtHelp") != nullptr);
}

using HighDpi = SamplesWindow;
TEST_F(HighDpi, TheWindowFitsAScreenOfHalfTheSize) {
    window->SelectPoolFromGrid("BP1");
    // 1600 x 1000 at scale factor 2, less a title bar and a panel.
    const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
    EXPECT_LE(least.width(), 800);
    EXPECT_LE(least.height(), 440);
}

}  // namespace
}  // namespace kov::test
