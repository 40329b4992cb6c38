#include "widgets/StringTableModel.h"

namespace kov {

void StringTableModel::SetTable(StringTable table) {
    beginResetModel();
    table_ = std::move(table);
    headingTable_ = table_.Headings;
    endResetModel();
}

void StringTableModel::SortByColumn(int column) {
    if (column < 0 || column >= columnCount()) return;
    const bool ascending = sortState_.Toggle();
    beginResetModel();
    SortTable(table_, headingTable_, column, ascending);
    endResetModel();
}

int StringTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.Rows.size());
}

int StringTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.Headings.size());
}

QVariant StringTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const auto& row = table_.Rows[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<std::size_t>(index.column());
    const std::string empty;
    const std::string& cell = column < row.size() ? row[column] : empty;
    if (role == Qt::DisplayRole) return QString::fromStdString(cell);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter | (CellNumber(cell) ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}

QVariant StringTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= columnCount()) return {};
    return QString::fromStdString(table_.Headings[static_cast<std::size_t>(section)]);
}

}  // namespace kov
