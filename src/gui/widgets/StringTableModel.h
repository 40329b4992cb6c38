#pragma once
// The one table model behind every grid: engine-made text cells, with the
// grid's heading-click sort (shared direction toggle, (A)/(D) markers).

#include <QAbstractTableModel>

#include "views/GridSort.h"
#include "views/ViewData.h"

namespace kov {

class StringTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StringTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // New content in its original order; headings lose their marker, the
    // direction toggle carries on.
    void SetTable(StringTable table);
    // A heading click: toggles the direction and sorts by that column.
    void SortByColumn(int column);

    const StringTable& Table() const { return grid_.Table(); }
    // The cells with the number each reads as, for copying and saving.
    const SortableTable& Grid() const { return grid_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    SortableTable grid_;
    GridSortState sortState_;
};

}  // namespace kov
