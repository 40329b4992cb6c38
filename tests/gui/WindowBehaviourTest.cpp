// How the window behaves in a DBA's hands: the object views agree on one
// object, the keyboard reaches every page, names say what a thing is, and
// save dialogs start where the report is.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

#include "UiFixture.h"
#include "pages/GraphicSummaryPage.h"
#include "pages/ObjectInfoPage.h"
#include "pages/PoolInfoPage.h"
#include "pages/ReportInfoPage.h"
#include "pages/SimGraphPage.h"
#include "views/PageStatus.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"
#include "widgets/LabelPanel.h"

namespace kov::test {
namespace {

struct ObjectViews {
    UiHarness ui;
    std::unique_ptr<frmStatAnalysis> window = ui.StartWithSamples();
    ObjectInfoPage* page = window->ObjectInfo();

    ObjectViews() {
        window->SelectPoolFromGrid("BP1");
        window->tbsStats()->setCurrentIndex(PageObjectInfo);
    }
    QString ListPick() const {
        const QList<QTreeWidgetItem*> picked = page->lvObjects()->selectedItems();
        return picked.size() == 1 ? picked.front()->text(0) : QString("(%1 picked)").arg(picked.size());
    }
    QString GridPick() const {
        const QModelIndexList rows = page->grdObjectInfo()->selectionModel()->selectedRows();
        return rows.size() == 1 ? page->grdObjectInfo()->Cell(rows.front().row(), 1)
                                : QString("(%1 picked)").arg(rows.size());
    }
    QString PieObject() const { return QString::fromStdString(page->Chart()->Shown().Title); }
    QString CurrentName() const {
        return QString::fromStdString(ui.model.Objects(ui.model.CurrentObject).ObjectName.TrimmedString());
    }
    // List, grid and pie name the current object.
    void ExpectAllShowTheCurrentObject(const char* after) const {
        ASSERT_GT(ui.model.CurrentObject, 0) << after;
        EXPECT_EQ(ListPick(), CurrentName()) << after;
        EXPECT_EQ(GridPick(), CurrentName()) << after;
        EXPECT_EQ(PieObject(), CurrentName()) << after;
    }
};

TEST(ObjectViews, ListGridAndPieAlwaysShowTheSameObject) {
    ObjectViews v;
    v.ExpectAllShowTheCurrentObject("the first entry");
    EXPECT_EQ(v.page->Chart()->Shown().Subtitle, "Access Type");

    ClickRow(v.page->grdObjectInfo(), 3);
    v.ExpectAllShowTheCurrentObject("a grid row click");
    QTreeWidget* list = v.page->lvObjects();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(5)).center());
    v.ExpectAllShowTheCurrentObject("a list click");
    v.window->cmdNextPool_Click();
    v.ExpectAllShowTheCurrentObject("Next Pool");

    // Onto a pool without objects: nothing of the pool before stays.
    PoolRecord& empty = v.ui.model.Pools(v.ui.model.CurrentPool + 1);
    empty.FirstObject = empty.LastObject = 0;
    v.window->cmdNextPool_Click();
    EXPECT_EQ(v.ui.model.CurrentObject, 0);
    EXPECT_TRUE(v.page->Chart()->Shown().Points.empty());
    EXPECT_FALSE(v.page->Labels()->Value(0)->isVisible());
}

TEST(ObjectViews, AHeadingSortKeepsTheChosenObjectChosenAndInView) {
    ObjectViews v;
    GridView* grid = v.page->grdObjectInfo();
    const int last = grid->model()->rowCount() - 1;
    grid->scrollToBottom();
    ClickRow(grid, last);
    const int chosen = v.ui.model.CurrentObject;
    for (int column : {9, 1, 9}) {
        ClickHeading(grid, column);
        EXPECT_EQ(v.ui.model.CurrentObject, chosen) << column;
        v.ExpectAllShowTheCurrentObject("a heading sort");
        const QModelIndexList rows = grid->selectionModel()->selectedRows();
        ASSERT_EQ(rows.size(), 1);
        EXPECT_TRUE(grid->viewport()->rect().intersects(grid->visualRect(rows.front()))) << "scrolled into view";
    }
    // A click on the sorted grid takes the object of the row as shown.
    grid->scrollToTop();
    ClickRow(grid, 4);
    v.ExpectAllShowTheCurrentObject("a click after the sort");
    EXPECT_EQ(v.GridPick(), grid->Cell(4, 1));
    SaveScreenshot(*v.window, "object-info-after-heading-sort");
}

TEST(ObjectViews, TheObjectColumnStaysInViewWhenTheGridScrollsSideways) {
    ObjectViews v;
    GridView* grid = v.page->grdObjectInfo();
    v.window->resize(900, 700);
    QApplication::processEvents();
    QScrollBar* sideways = grid->horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0) << "the grid must be wider than its view for this test";
    sideways->setValue(sideways->maximum());
    QApplication::processEvents();
    // Whatever draws the frozen columns shows the object names at the left.
    auto* frozen = grid->findChild<QTableView*>("grdObjectInfoFrozen");
    ASSERT_NE(frozen, nullptr);
    EXPECT_TRUE(frozen->isVisibleTo(grid));
    EXPECT_FALSE(frozen->isColumnHidden(1));
    EXPECT_EQ(frozen->model()->data(frozen->model()->index(0, 1)).toString(), grid->Cell(0, 1));
    EXPECT_LE(frozen->geometry().left(), grid->viewport()->geometry().left());
}

using Keyboard = SamplesWindow;
TEST_F(Keyboard, ArrowsAndEnterInThePoolGridChooseThePool) {
    GridView* grid = window->ReportInfo()->grdPoolInfo();
    ClickRow(grid, 0);
    const auto poolOfRow = [&](int row) { return PoolNamed(ui.model, grid->Cell(row, 0).toStdString()); };
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(ui.model.CurrentPool, poolOfRow(1));
    EXPECT_TRUE(window->windowTitle().endsWith(grid->Cell(1, 0).trimmed()));
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(ui.model.CurrentPool, poolOfRow(2));
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(ui.model.CurrentPool, poolOfRow(1));
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

TEST_F(Keyboard, EscapeClosesTheDetailsPanels) {
    window->SelectPoolFromGrid("BP1");
    window->tbsStats()->setCurrentIndex(PageSimGraphAnalysis);
    SimGraphPage* sims = window->SimGraphs();
    sims->ShowSimObjectDetails(ui.model.Pools(ui.model.CurrentPool).FirstObject, "X");
    ASSERT_TRUE(sims->pnlSimAnalysisDetails()->isVisible());
    QTest::keyClick(sims->tbsSimGraphs(), Qt::Key_Escape);
    EXPECT_FALSE(sims->pnlSimAnalysisDetails()->isVisible());

    window->tbsStats()->setCurrentIndex(PagePoolInfo);
    emit window->PoolInfo()->Chart()->ObjectClicked(ui.model.Pools(ui.model.CurrentPool).FirstObject);
    QWidget* panel = window->findChild<QWidget*>("pnlPoolDetails");
    ASSERT_TRUE(panel->isVisible());
    QTest::keyClick(window->PoolInfo()->Chart(), Qt::Key_Escape);
    EXPECT_FALSE(panel->isVisible());
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
