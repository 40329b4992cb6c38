#include "widgets/StringTableModel.h"

namespace kov {

void StringTableModel::SetTable(StringTable table) {
    beginResetModel();
    grid_ = SortableTable(std::move(table));
    endResetModel();
}

void StringTableModel::SortByColumn(int column) {
    if (column < 0 || column >= columnCount()) return;
    const bool ascending = sortState_.Toggle();
    beginResetModel();
    grid_.SortBy(column, ascending);
    endResetModel();
}

int StringTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Table().Rows.size());
}

int StringTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Table().Headings.size());
}

QVariant StringTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    const auto& cells = Table().Rows[row];
    if (role == Qt::DisplayRole) return column < cells.size() ? QString::fromStdString(cells[column]) : QString();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter | (grid_.IsNumber(row, column) ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}

QVariant StringTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= columnCount()) return {};
    return QString::fromStdString(Table().Headings[static_cast<std::size_t>(section)]);
}

}  // namespace kov
