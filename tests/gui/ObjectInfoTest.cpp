// Page 3: the object list and grid, the current object they choose, and the
// breakdown labels and pie that follow it.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
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

}  // namespace
}  // namespace kov::test
