#include "analysis/ui/GridView.h"

#include <QHeaderView>

#include "analysis/ui/Twips.h"

namespace kov {

GridView::GridView(const char* objectName, int columnTwips, QWidget* parent)
    : QTableView(parent), model_(new StringTableModel(this)), columnTwips_(columnTwips) {
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
    });
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
        selectRow(index.row());
        emit RowChosen(index.row());
    });
}

void GridView::SetTable(StringTable table) {
    model_->SetTable(std::move(table));
    ApplyColumnWidths();
}

void GridView::ApplyColumnWidths() {
    const int width = TwipsToPixels(this, columnTwips_);
    for (int column = 0; column < model_->columnCount(); ++column) {
        // Headings are never cut: a column is at least as wide as its caption.
        const int heading = fontMetrics().horizontalAdvance(model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() + " (A)") + 12;
        setColumnWidth(column, std::max(width, heading));
    }
}

QString GridView::Cell(int row, int column) const { return model_->data(model_->index(row, column), Qt::DisplayRole).toString(); }

}  // namespace kov
