#pragma once
// A framed block of caption labels with their value labels beside them.

#include <QGroupBox>
#include <vector>

#include "views/ViewData.h"

class QLabel;

namespace kov {

class LabelPanel : public QGroupBox {
    Q_OBJECT
public:
    // Value labels are named valuePrefix + "_" + index, captions captionPrefix + "_" + index.
    LabelPanel(const QString& title, const char* captionPrefix, const char* valuePrefix, int rows,
               QWidget* parent = nullptr);
    void Show(const std::vector<LabelPair>& labels);
    // Writes rows 0..labels.size()-1 and leaves the rows after them as they are.
    void Update(const std::vector<LabelPair>& labels);
    void SetRowVisible(int row, bool visible);
    // The pairs the panel shows, hidden rows left out: what a printed page copies.
    std::vector<LabelPair> ShownPairs() const;
    QLabel* Caption(int row) const { return captions_.at(static_cast<std::size_t>(row)); }
    QLabel* Value(int row) const { return values_.at(static_cast<std::size_t>(row)); }

private:
    std::vector<QLabel*> captions_;
    std::vector<QLabel*> values_;
};

}  // namespace kov
