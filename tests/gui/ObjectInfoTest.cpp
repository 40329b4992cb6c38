// Page 3: the object list and grid, the current object they choose (list,
// grid and pie always agree on it), and the breakdown labels and pie.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <algorithm>

#include "UiFixture.h"
#include "pages/ObjectInfoPage.h"
#include "pages/PoolInfoPage.h"
#include "widgets/ChartWidget.h"
#include "widgets/LabelPanel.h"

namespace kov::test {
namespace {

std::string Trimmed(const ObjectRecord& object) {
    return std::string(object.ObjectName.Trimmed());
}

void ClickListItem(QTreeWidget* list, int row) {
    QTreeWidgetItem* item = list->topLevelItem(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// The window on the samples, where Open shows page 3 on a pool.
class ObjectPage : public SamplesWindow {
protected:
    ObjectInfoPage* page = window->ObjectInfo();

    void Open(const char* pool) {
        window->SelectPoolFromGrid(pool);
        window->tbsStats()->setCurrentIndex(3);
    }
    const PoolRecord& Pool() const { return ui.model.Pools(ui.model.CurrentPool); }
    QString Value(int row) const { return page->Labels()->Value(row)->text(); }
    QString ListPick() const {
        const QList<QTreeWidgetItem*> picked = page->lvObjects()->selectedItems();
        return picked.size() == 1 ? picked.front()->text(0) : QString("(%1 picked)").arg(picked.size());
    }
    QString GridPick() const {
        const QModelIndexList rows = page->grdObjectInfo()->selectionModel()->selectedRows();
        return rows.size() == 1 ? page->grdObjectInfo()->Cell(rows.front().row(), 1)
                                : QString("(%1 picked)").arg(rows.size());
    }
    // List, grid and pie name the current object.
    void ExpectAllShowTheCurrentObject(const char* after) const {
        ASSERT_GT(ui.model.CurrentObject, 0) << after;
        const QString current = QString::fromStdString(Trimmed(ui.model.Objects(ui.model.CurrentObject)));
        EXPECT_EQ(ListPick(), current) << after;
        EXPECT_EQ(GridPick(), current) << after;
        EXPECT_EQ(QString::fromStdString(page->Chart()->Shown().Title), current) << after;
    }
};
using ObjectInfo = ObjectPage;
using ObjectViews = ObjectPage;

TEST_F(ObjectInfo, AListPickMakesTheLastEqualNameCurrentAndStartsAtAccessType) {
    Open("BP1");
    const PoolRecord& pool = Pool();
    // Give the third object the first one's name: either pick means the third.
    ui.model.Objects(pool.FirstObject + 2).ObjectName = ui.model.Objects(pool.FirstObject).ObjectName.Padded();
    window->FillObjectViews();
    page->cboObjectGraphType()->setCurrentIndex(2);
    ClickListItem(page->lvObjects(), 0);
    EXPECT_EQ(ui.model.CurrentObject, pool.FirstObject + 2);
    EXPECT_EQ(page->GraphType(), 1);
    const ObjectRecord& shown = ui.model.Objects(pool.FirstObject + 2);
    EXPECT_EQ(Value(0).toStdString(), "  " + std::to_string(shown.Activity.GetPagesByAccess[1]));
    EXPECT_EQ(page->Chart()->Shown().Title, Trimmed(shown));

    // An object the list does not hold (one of another pool) leaves it
    // without a picked item, and the chart keeps its titles.
    ui.model.CurrentObject = ui.model.Pools(1).FirstObject;
    window->ShowObjectDetails();
    EXPECT_TRUE(page->lvObjects()->selectedItems().isEmpty());
    EXPECT_EQ(page->Chart()->Shown().Title, Trimmed(shown)) << "without a selected item the titles stay";
}

TEST_F(ObjectInfo, ListHeaderAlternatesItsDirectionAndMarker) {
    Open("BP1");
    QTreeWidget* list = page->lvObjects();
    ClickListItem(list, 1);
    const QString picked = list->topLevelItem(1)->text(0);
    for (const bool ascending : {true, false, true}) {
        QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {},
                          QPoint(list->header()->sectionSize(0) / 2, list->header()->height() / 2));
        EXPECT_EQ(list->headerItem()->text(0), ascending ? "Object (A)" : "Object (D)");
        ASSERT_EQ(list->selectedItems().size(), 1);
        EXPECT_EQ(list->selectedItems().front()->text(0), picked) << "the pick survives the sort";
        std::vector<QString> names;
        for (int row = 0; row < list->topLevelItemCount(); ++row) names.push_back(list->topLevelItem(row)->text(0));
        if (!ascending) std::reverse(names.begin(), names.end());
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << ascending;
    }
}

TEST_F(ObjectInfo, NextPoolShowsItsFirstObjectWhileAGridPickKeepsThePreviousOne) {
    Open("BP0");
    ClickListItem(page->lvObjects(), 1);
    const int picked = ui.model.CurrentObject;
    const QString pickedSeq = Value(0);

    window->SelectPoolFromGrid("BP1");
    EXPECT_EQ(ui.model.CurrentObject, picked);
    EXPECT_EQ(Value(0), pickedSeq);
    EXPECT_EQ(page->lvObjects()->topLevelItemCount(), Pool().LastObject - Pool().FirstObject + 1);

    QTest::mouseClick(window->PoolInfo()->cmdNextPool(), Qt::LeftButton);
    const PoolRecord& next = Pool();
    EXPECT_EQ(ui.model.CurrentObject, next.FirstObject);
    EXPECT_EQ(Value(0).toStdString(),
              "  " + std::to_string(ui.model.Objects(next.FirstObject).Activity.GetPagesByAccess[1]));
}

TEST_F(ObjectInfo, AZeroReadTotalSaysSoAndKeepsThePreviousChart) {
    Open("BP1");
    const PoolRecord& pool = Pool();
    ObjectRecord& idle = ui.model.Objects(pool.FirstObject + 1);
    idle.Activity.PagesReadByType = {};
    ClickListItem(page->lvObjects(), 0);
    page->cboObjectGraphType()->setCurrentIndex(1);
    window->ShowObjectDetails();
    const ChartData before = page->Chart()->Shown();
    const QString totalBefore = Value(4);
    ASSERT_EQ(before.Subtitle, "Pages Read");

    ui.model.CurrentObject = pool.FirstObject + 1;
    window->ShowObjectDetails();
    ASSERT_EQ(ui.sink.Messages.size(), 1u);
    EXPECT_EQ(ui.sink.Messages[0].Text, "Number Of Pages Read Is ZERO. Can not Graph ...");
    EXPECT_EQ(Value(0), "  0");
    EXPECT_EQ(Value(4), totalBefore);
    EXPECT_EQ(page->Chart()->Shown().Points, before.Points);
}

TEST_F(ObjectInfo, DoubleClickWidensTheGridOverTheChartAndBack) {
    Open("BP1");
    GridView* grid = page->grdObjectInfo();
    const int width = grid->width();
    const QPoint cell = grid->visualRect(grid->model()->index(0, 0)).center();
    const auto doubleClick = [grid, cell] {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QApplication::processEvents();
    };
    doubleClick();
    EXPECT_TRUE(page->IsGridWidened());
    EXPECT_GT(grid->width(), width);
    doubleClick();
    EXPECT_FALSE(page->IsGridWidened());
    EXPECT_EQ(grid->width(), width);
}

TEST_F(ObjectViews, ListGridAndPieAlwaysShowTheSameObject) {
    Open("BP1");
    ExpectAllShowTheCurrentObject("the first entry");
    EXPECT_EQ(page->Chart()->Shown().Subtitle, "Access Type");

    ClickRow(page->grdObjectInfo(), 3);
    ExpectAllShowTheCurrentObject("a grid row click");
    ClickListItem(page->lvObjects(), 5);
    ExpectAllShowTheCurrentObject("a list click");
    window->cmdNextPool_Click();
    ExpectAllShowTheCurrentObject("Next Pool");

    // Onto a pool without objects: nothing of the pool before stays.
    PoolRecord& empty = ui.model.Pools(ui.model.CurrentPool + 1);
    empty.FirstObject = empty.LastObject = 0;
    window->cmdNextPool_Click();
    EXPECT_EQ(ui.model.CurrentObject, 0);
    EXPECT_TRUE(page->Chart()->Shown().Points.empty());
    EXPECT_FALSE(page->Labels()->Value(0)->isVisible());
}

TEST_F(ObjectViews, AHeadingSortKeepsTheChosenObjectChosenAndInView) {
    Open("BP1");
    GridView* grid = page->grdObjectInfo();
    const int last = grid->model()->rowCount() - 1;
    grid->scrollToBottom();
    ClickRow(grid, last);
    const int chosen = ui.model.CurrentObject;
    for (int column : {9, 1, 9}) {
        ClickHeading(grid, column);
        EXPECT_EQ(ui.model.CurrentObject, chosen) << column;
        ExpectAllShowTheCurrentObject("a heading sort");
        const QModelIndexList rows = grid->selectionModel()->selectedRows();
        ASSERT_EQ(rows.size(), 1);
        EXPECT_TRUE(grid->viewport()->rect().intersects(grid->visualRect(rows.front()))) << "scrolled into view";
    }
    // A click on the sorted grid takes the object of the row as shown.
    grid->scrollToTop();
    ClickRow(grid, 4);
    ExpectAllShowTheCurrentObject("a click after the sort");
    EXPECT_EQ(GridPick(), grid->Cell(4, 1));
    SaveScreenshot(*window, "object-info-after-heading-sort");
}

TEST_F(ObjectViews, TheObjectColumnStaysInViewWhenTheGridScrollsSideways) {
    Open("BP1");
    GridView* grid = page->grdObjectInfo();
    window->resize(900, 700);
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

}  // namespace
}  // namespace kov::test
