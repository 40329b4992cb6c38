#include "widgets/GridView.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <set>

#include "views/CsvTable.h"
#include "views/GridSort.h"
#include "widgets/Twips.h"

namespace kov {

GridView::GridView(const char* objectName, int columnTwips, QWidget* parent)
    : GridView(objectName, std::vector<int>{columnTwips}, parent) {}

GridView::GridView(const char* objectName, std::vector<int> columnTwips, QWidget* parent)
    : QTableView(parent),
      model_(new StringTableModel(this)),
      columnTwips_(std::move(columnTwips)),
      copy_(new QAction(QStringLiteral("Copy"), this)),
      saveCsv_(new QAction(QStringLiteral("Save as CSV…"), this)) {
    setObjectName(objectName);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // Several rows may be chosen (Shift, Ctrl, Ctrl+A) for a copy; a click
    // still chooses the row it lands on.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
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
        // A click that adds to the selection keeps what the user had chosen.
        if (QGuiApplication::keyboardModifiers() == Qt::NoModifier) selectRow(index.row());
        emit RowChosen(index.row());
    });
    // The menu shows the shortcut; keyPressEvent carries it out.
    copy_->setShortcut(QKeySequence::Copy);
    connect(copy_, &QAction::triggered, this, &GridView::CopySelection);
    connect(saveCsv_, &QAction::triggered, this, &GridView::SaveAsCsvRequested);
}

QString GridView::SelectionText() const {
    std::set<std::size_t> rows, columns;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        rows.insert(static_cast<std::size_t>(index.row()));
        columns.insert(static_cast<std::size_t>(index.column()));
    }
    return QString::fromStdString(
        TabSeparatedText(model_->Grid(), {rows.begin(), rows.end()}, {columns.begin(), columns.end()}));
}

void GridView::CopySelection() const {
    QGuiApplication::clipboard()->setText(SelectionText());
}

void GridView::keyPressEvent(QKeyEvent* event) {
    // The view's own copy would take the current cell alone.
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::contextMenuEvent(QContextMenuEvent* event) {
    copy_->setEnabled(selectionModel()->hasSelection());
    QMenu::exec(ContextActions(), event->globalPos(), nullptr, this);
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
