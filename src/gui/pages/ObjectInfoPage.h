#pragma once
// Page 3, "Object Info": the current pool's objects as a list (one icon per
// object type) and as a grid of their read activity, and the current
// object's breakdown in five label pairs and a pie.

#include <QWidget>
#include <optional>

#include "analysis/ObjectViews.h"
#include "views/GridSort.h"

class QComboBox;
class QTreeWidget;

namespace kov {

class ChartWidget;
class GridView;
class LabelPanel;

class ObjectInfoPage : public QWidget {
    Q_OBJECT
public:
    explicit ObjectInfoPage(QWidget* parent = nullptr);

    // The three graph types, showing the first.
    void FillGraphTypeList(const std::vector<std::string>& types);
    void SelectFirstGraphType();
    // 1..3, or 0 while none is chosen.
    int GraphType() const;

    // The pool's objects in table order; a previous sort of the grid is not
    // kept, the labels and the chart are left as they are.
    void FillObjectViews(const std::vector<ObjectListItem>& items, StringTable grid);
    // Text of the list's selected item, if one is selected.
    std::optional<QString> SelectedListItem() const;
    // The list and the grid pick the object of that name (the last one of
    // the name, as a pick makes it current) and scroll it into view; they
    // pick nothing when the pool shown has no such object.
    void ShowCurrentObject(const QString& name);
    void ShowBreakdown(const ObjectBreakdown& breakdown);
    // No object chosen: no empty value boxes and no axes, an empty pie.
    void ShowNoObject();
    // No pool: list, grid rows, labels and chart empty.
    void Clear();

    QTreeWidget* lvObjects() const { return list_; }
    GridView* grdObjectInfo() const { return grid_; }
    QComboBox* cboObjectGraphType() const { return graphTypes_; }
    ChartWidget* Chart() const { return chart_; }
    LabelPanel* Labels() const { return labels_; }
    // Double-clicking the grid widens it over the chart and back.
    void ToggleGridWidth();
    bool IsGridWidened() const;

signals:
    // The user picked a list item or a grid row; the text names the object.
    void ListItemChosen();
    void GridObjectChosen(const QString& name);
    // A heading click sorted the grid: the current object is picked again.
    void GridSorted();
    void GraphTypeChosen();

private:
    void SortList();

    std::vector<ObjectListItem> items_;  // the list's items in table order
    GridSortState listSort_;
    QTreeWidget* list_;
    GridView* grid_;
    QComboBox* graphTypes_;
    LabelPanel* labels_;
    ChartWidget* chart_;
    QWidget* chartArea_;
};

}  // namespace kov
