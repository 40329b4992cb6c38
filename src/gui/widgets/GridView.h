#pragma once
// Grid set-up shared by every page: a QTableView over a StringTableModel
// with whole-row selection, heading-click sorting, and the copy and CSV
// export every grid offers (Ctrl+C and the context menu).

#include <QPersistentModelIndex>
#include <QTableView>

#include "widgets/StringTableModel.h"

namespace kov {

class GridView : public QTableView {
    Q_OBJECT
public:
    GridView(const char* objectName, int columnTwips, QWidget* parent = nullptr);
    // Column widths in twips, one per column; columns beyond the list take the last.
    GridView(const char* objectName, std::vector<int> columnTwips, QWidget* parent = nullptr);

    StringTableModel* Model() const { return model_; }
    void SetTable(StringTable table);
    // No rows; the heading row stays.
    void ClearRows();
    // Cell text of a data row (0-based), for the row a click selected.
    QString Cell(int row, int column) const;
    // The first `count` columns stay in view when the grid scrolls sideways
    // (drawn by a second view over the grid's left edge, "<name>Frozen").
    void FreezeColumns(int count);
    // The grid is never squeezed below the heading and this many rows: where
    // the page cannot give it room, the page scrolls instead.
    void ShowAtLeastRows(int rows);

    // The selected cells under their headings as tab-separated text.
    QString SelectionText() const;
    // Puts SelectionText on the clipboard (Ctrl+C, "Copy").
    void CopySelection() const;
    // The context menu's entries: "Copy" and "Save as CSV…".
    QList<QAction*> ContextActions() const { return {copy_, saveCsv_}; }

signals:
    // A data row was clicked, or reached with the arrow keys, or Enter was
    // pressed on it (0-based row of the grid as it is now sorted).
    void RowChosen(int row);
    // A heading click sorted the grid and made its first row current.
    void SortedByHeading();
    // "Save as CSV…" was chosen: the window asks for the file and writes it.
    void SaveAsCsvRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SortByHeading(int column);
    void ChooseClickedRow(const QModelIndex& index);
    void ApplyColumnWidths();
    void UpdateFrozenColumns();
    void PlaceFrozenColumns();
    StringTableModel* model_;
    std::vector<int> columnTwips_;
    QAction* copy_;
    QAction* saveCsv_;
    QTableView* frozen_ = nullptr;
    int frozenCount_ = 0;
    // Where the grid was scrolled at a press, and the cell pressed: a press
    // on a cell shown in part scrolls it into view, and the release then
    // falls on another cell.
    QPoint pressScroll_;
    QPersistentModelIndex pressed_;
};

}  // namespace kov
