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

QString ListHeader(QTreeWidget* list) {
    return list->headerItem()->text(0);
}

void ClickListHeader(QTreeWidget* list) {
    QHeaderView* header = list->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionSize(0) / 2, header->height() / 2));
}

void ClickListItem(QTreeWidget* list, int row) {
    QTreeWidgetItem* item = list->topLevelItem(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// The window on the samples with page 3 opened on a pool.
struct ObjectPage {
    UiHarness ui;
    std::unique_ptr<frmStatAnalysis> window = ui.StartWithSamples();
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

TEST(ObjectInfo, AListPickMakesTheLastEqualNameCurrentAndStartsAtAccessType) {
    ObjectPage p;
    p.Open("BP1");
    const PoolRecord& pool = p.Pool();
    // Give the third object the first one's name: either pick means the third.
    p.ui.model.Objects(pool.FirstObject + 2).ObjectName = p.ui.model.Objects(pool.FirstObject).ObjectName.Padded();
    p.window->FillObjectViews();
    p.page->cboObjectGraphType()->setCurrentIndex(2);
    ClickListItem(p.page->lvObjects(), 0);
    EXPECT_EQ(p.ui.model.CurrentObject, pool.FirstObject + 2);
    EXPECT_EQ(p.page->GraphType(), 1);
    const ObjectRecord& shown = p.ui.model.Objects(pool.FirstObject + 2);
    EXPECT_EQ(p.Value(0).toStdString(), "  " + std::to_string(shown.Activity.GetPagesByAccess[1]));
    EXPECT_EQ(p.page->Chart()->Shown().Title, Trimmed(shown));

    // An object the list does not hold (one of another pool) leaves it
    // without a picked item, and the chart keeps its titles.
    p.ui.model.CurrentObject = p.ui.model.Pools(1).FirstObject;
    p.window->ShowObjectDetails();
    EXPECT_TRUE(p.page->lvObjects()->selectedItems().isEmpty());
    EXPECT_EQ(p.page->Chart()->Shown().Title, Trimmed(shown)) << "without a selected item the titles stay";
}

TEST(ObjectInfo, ListHeaderAlternatesItsDirectionAndMarker) {
    ObjectPage p;
    p.Open("BP1");
    QTreeWidget* list = p.page->lvObjects();
    const auto names = [list] {
        std::vector<QString> texts;
        for (int row = 0; row < list->topLevelItemCount(); ++row) texts.push_back(list->topLevelItem(row)->text(0));
        return texts;
    };
    ClickListItem(list, 1);
    const QString picked = list->topLevelItem(1)->text(0);
    ClickListHeader(list);
    EXPECT_EQ(ListHeader(list), "Object (A)");
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->selectedItems().front()->text(0), picked) << "the pick survives the sort";
    const std::vector<QString> ascending = names();
    EXPECT_TRUE(std::is_sorted(ascending.begin(), ascending.end()));
    ClickListHeader(list);
    EXPECT_EQ(ListHeader(list), "Object (D)");
    const std::vector<QString> descending = names();
    EXPECT_TRUE(std::is_sorted(descending.rbegin(), descending.rend()));
    ClickListHeader(list);
    EXPECT_EQ(ListHeader(list), "Object (A)");
}

TEST(ObjectInfo, NextPoolShowsItsFirstObjectWhileAGridPickKeepsThePreviousOne) {
    ObjectPage p;
    p.Open("BP0");
    ClickListItem(p.page->lvObjects(), 1);
    const int picked = p.ui.model.CurrentObject;
    const QString pickedSeq = p.Value(0);

    p.window->SelectPoolFromGrid("BP1");
    EXPECT_EQ(p.ui.model.CurrentObject, picked);
    EXPECT_EQ(p.Value(0), pickedSeq);
    EXPECT_EQ(p.page->lvObjects()->topLevelItemCount(), p.Pool().LastObject - p.Pool().FirstObject + 1);

    QTest::mouseClick(p.window->PoolInfo()->cmdNextPool(), Qt::LeftButton);
    const PoolRecord& next = p.Pool();
    EXPECT_EQ(p.ui.model.CurrentObject, next.FirstObject);
    EXPECT_EQ(p.Value(0).toStdString(),
              "  " + std::to_string(p.ui.model.Objects(next.FirstObject).Activity.GetPagesByAccess[1]));
}

TEST(ObjectInfo, AZeroReadTotalSaysSoAndKeepsThePreviousChart) {
    ObjectPage p;
    p.Open("BP1");
    const PoolRecord& pool = p.Pool();
    ObjectRecord& idle = p.ui.model.Objects(pool.FirstObject + 1);
    idle.Activity.PagesReadByType = {};
    ClickListItem(p.page->lvObjects(), 0);
    p.page->cboObjectGraphType()->setCurrentIndex(1);
    p.window->ShowObjectDetails();
    const ChartData before = p.page->Chart()->Shown();
    const QString totalBefore = p.Value(4);
    ASSERT_EQ(before.Subtitle, "Pages Read");

    p.ui.model.CurrentObject = pool.FirstObject + 1;
    p.window->ShowObjectDetails();
    ASSERT_EQ(p.ui.sink.Messages.size(), 1u);
    EXPECT_EQ(p.ui.sink.Messages[0].Text, "Number Of Pages Read Is ZERO. Can not Graph ...");
    EXPECT_EQ(p.Value(0), "  0");
    EXPECT_EQ(p.Value(4), totalBefore);
    EXPECT_EQ(p.page->Chart()->Shown().Points, before.Points);
}

TEST(ObjectInfo, DoubleClickWidensTheGridOverTheChartAndBack) {
    ObjectPage p;
    p.Open("BP1");
    GridView* grid = p.page->grdObjectInfo();
    const int width = grid->width();
    const QPoint cell = grid->visualRect(grid->model()->index(0, 0)).center();
    const auto doubleClick = [grid, cell] {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QApplication::processEvents();
    };
    doubleClick();
    EXPECT_TRUE(p.page->IsGridWidened());
    EXPECT_GT(grid->width(), width);
    doubleClick();
    EXPECT_FALSE(p.page->IsGridWidened());
    EXPECT_EQ(grid->width(), width);
}

TEST(ObjectViews, ListGridAndPieAlwaysShowTheSameObject) {
    ObjectPage v;
    v.Open("BP1");
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
    ObjectPage v;
    v.Open("BP1");
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
    ObjectPage v;
    v.Open("BP1");
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

}  // namespace
}  // namespace kov::test
