#pragma once
// The "Data checks" strip of the Report Info page: how many findings the
// checks made on the loaded reports, and, opened, the list of them. Choosing
// a finding names its pool, which the window then shows.

#include <QFrame>
#include <vector>

#include "analysis/DataChecks.h"

class QListWidget;
class QToolButton;

namespace kov {

class DataChecksStrip : public QFrame {
    Q_OBJECT
public:
    explicit DataChecksStrip(QWidget* parent = nullptr);
    // Shows the count; the list stays closed until the strip is clicked.
    void ShowFindings(const std::vector<DataFinding>& findings);

    QToolButton* cmdDataChecks() const { return button_; }
    QListWidget* lstDataChecks() const { return list_; }

signals:
    // A finding about pool p was chosen.
    void PoolChosen(int p);

private:
    void FitListToFindings();

    QToolButton* button_;
    QListWidget* list_;
};

}  // namespace kov
