#pragma once
// Grid set-up shared by every page: a QTableView over a StringTableModel
// with whole-row selection and heading-click sorting.

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

signals:
    // A data row was clicked (0-based row of the grid as it is now sorted).
    void RowChosen(int row);
    // A heading click sorted the grid and made its first row current.
    void SortedByHeading();

private:
    void ApplyColumnWidths();
    StringTableModel* model_;
    std::vector<int> columnTwips_;
};

}  // namespace kov
