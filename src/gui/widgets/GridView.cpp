#include "widgets/GridView.h"

#include <QHeaderView>

#include "views/GridSort.h"
#include "widgets/Twips.h"

namespace kov {

GridView::GridView(const char* objectName, int columnTwips, QWidget* parent)
    : GridView(objectName, std::vector<int>{columnTwips}, parent) {}

GridView::GridView(const char* objectName, std::vector<int> columnTwips, QWidget* parent)
    : QTableView(parent), model_(new StringTableModel(this)), columnTwips_(std::move(columnTwips)) {
    setObjectName(objectName);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        model_->SortByColumn(column);
        if (model_->rowCount() > 0) selectRow(0);
        emit SortedByHeading();
    });
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
        selectRow(index.row());
        emit RowChosen(index.row());
    });
}

void GridView::ClearRows() {
    SetTable({model_->Table().Headings, {}});
}

void GridView::SetTable(StringTable table) {
    model_->SetTable(std::move(table));
    ApplyColumnWidths();
}

void GridView::ApplyColumnWidths() {
    // The twips width is the least a column gets; headings and the first rows'
    // cells are never cut, so object names stay readable.
    constexpr int kRowsMeasured = 100;
    const QFontMetrics metrics = fontMetrics();
    for (int column = 0; column < model_->columnCount(); ++column) {
        const auto entry = std::min<std::size_t>(static_cast<std::size_t>(column), columnTwips_.size() - 1);
        int width = TwipsToPixels(this, columnTwips_[entry]);
        const QString heading = QString::fromStdString(
            SortedHeading(model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(), true));
        width = std::max(width, metrics.horizontalAdvance(heading) + 12);
        for (int row = 0; row < std::min(kRowsMeasured, model_->rowCount()); ++row)
            width = std::max(width, metrics.horizontalAdvance(Cell(row, column)) + 12);
        setColumnWidth(column, width);
    }
}

QString GridView::Cell(int row, int column) const {
    return model_->data(model_->index(row, column), Qt::DisplayRole).toString();
}

}  // namespace kov
