#include "widgets/GridView.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
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
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &GridView::SortByHeading);
    connect(this, &QTableView::clicked, this, &GridView::ChooseClickedRow);
    viewport()->installEventFilter(this);
    // The menu shows the shortcut; keyPressEvent carries it out.
    copy_->setShortcut(QKeySequence::Copy);
    connect(copy_, &QAction::triggered, this, &GridView::CopySelection);
    connect(saveCsv_, &QAction::triggered, this, &GridView::SaveAsCsvRequested);
}

void GridView::SortByHeading(int column) {
    model_->SortByColumn(column);
    UpdateFrozenColumns();
    if (model_->rowCount() > 0) selectRow(0);
    emit SortedByHeading();
}

void GridView::ChooseClickedRow(const QModelIndex& index) {
    // A click that adds to the selection keeps what the user had chosen.
    if (QGuiApplication::keyboardModifiers() == Qt::NoModifier) selectRow(index.row());
    emit RowChosen(index.row());
}

// A click on a row shown in part scrolls the row into view while the button
// is down, so the release lands on another row and the view reports no
// click: the row pressed is chosen, as the user meant it.
bool GridView::eventFilter(QObject* watched, QEvent* event) {
    const auto* view = qobject_cast<QAbstractItemView*>(watched->parent());
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (view == nullptr || (!press && !release)) return QTableView::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QModelIndex under = view->indexAt(mouse->position().toPoint());
    if (press) {
        pressScroll_ = scroll;
        pressed_ = mouse->button() == Qt::LeftButton ? under : QModelIndex();
    } else if (pressed_.isValid() && scroll != pressScroll_ && under != pressed_ &&
               mouse->modifiers() == Qt::NoModifier) {
        const int pressed = pressed_.row();
        // After the view has handled the release, which may select the row under it.
        QMetaObject::invokeMethod(
            this, [this, pressed] { ChooseClickedRow(model_->index(pressed, 0)); }, Qt::QueuedConnection);
    }
    return QTableView::eventFilter(watched, event);
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
    // The keyboard chooses a row as a click does: moving onto it, or Enter.
    const int before = currentIndex().row();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QTableView::keyPressEvent(event);
    const int after = currentIndex().row();
    if (after >= 0 && (enter || (after != before && event->modifiers() == Qt::NoModifier))) emit RowChosen(after);
}

void GridView::contextMenuEvent(QContextMenuEvent* event) {
    copy_->setEnabled(selectionModel()->hasSelection());
    QMenu::exec(ContextActions(), event->globalPos(), nullptr, this);
}

void GridView::ClearRows() {
    SetTable({model_->Table().Headings, {}});
}

// New content starts at its top left, as a new grid would.
void GridView::SetTable(StringTable table) {
    model_->SetTable(std::move(table));
    ApplyColumnWidths();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void GridView::FreezeColumns(int count) {
    frozenCount_ = count;
    frozen_ = new QTableView(this);
    frozen_->setObjectName(objectName() + "Frozen");
    frozen_->setModel(model_);
    frozen_->setSelectionModel(selectionModel());
    frozen_->setSelectionBehavior(selectionBehavior());
    frozen_->setSelectionMode(selectionMode());
    frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frozen_->setAlternatingRowColors(true);
    frozen_->setWordWrap(false);
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollMode(verticalScrollMode());
    frozen_->verticalHeader()->hide();
    frozen_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    frozen_->horizontalHeader()->setHighlightSections(false);
    frozen_->horizontalHeader()->setSectionsClickable(true);
    viewport()->stackUnder(frozen_);
    connect(frozen_->horizontalHeader(), &QHeaderView::sectionClicked, this, &GridView::SortByHeading);
    connect(frozen_, &QTableView::clicked, this, &GridView::ChooseClickedRow);
    frozen_->viewport()->installEventFilter(this);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (column >= frozenCount_) return;
        frozen_->setColumnWidth(column, size);
        PlaceFrozenColumns();
    });
    UpdateFrozenColumns();
}

void GridView::ShowAtLeastRows(int rows) {
    setMinimumHeight(horizontalHeader()->sizeHint().height() + rows * verticalHeader()->defaultSectionSize() +
                     horizontalScrollBar()->sizeHint().height() + 2 * frameWidth());
}

void GridView::UpdateFrozenColumns() {
    if (frozen_ == nullptr) return;
    for (int column = 0; column < model_->columnCount(); ++column) {
        frozen_->setColumnHidden(column, column >= frozenCount_);
        if (column < frozenCount_) frozen_->setColumnWidth(column, columnWidth(column));
    }
    frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    PlaceFrozenColumns();
}

// Over the left of the grid, below nothing but the frame, as tall as the
// rows' area and the heading.
void GridView::PlaceFrozenColumns() {
    if (frozen_ == nullptr) return;
    int width = 0;
    for (int column = 0; column < std::min(frozenCount_, model_->columnCount()); ++column) width += columnWidth(column);
    frozen_->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), width,
                         viewport()->height() + horizontalHeader()->height());
    frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void GridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    PlaceFrozenColumns();
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
    UpdateFrozenColumns();
}

QString GridView::Cell(int row, int column) const {
    return model_->data(model_->index(row, column), Qt::DisplayRole).toString();
}

}  // namespace kov
