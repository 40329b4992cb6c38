#pragma once
// Page 4, "Expert Tuning": the advice lines for the current pool under the
// pool usage intent chosen with optPoolAnalysisUsage. Each line carries the
// figures behind it: as its tooltip, and in the panel under the list while it
// is selected, from where Copy takes line and explanation together.

#include <QWidget>
#include <string>
#include <vector>

#include "analysis/TuningRules.h"
#include "model/UsageIntent.h"

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace kov {

class ExpertTuningPage : public QWidget {
    Q_OBJECT
public:
    explicit ExpertTuningPage(QWidget* parent = nullptr);
    void ShowPoolAnalysis(const std::string& caption, std::vector<AdviceLine> advice);
    // Shows the intent without announcing a change.
    void ShowIntent(UsageIntent intent);
    void Clear() { ShowPoolAnalysis("", {}); }

    QListWidget* lstBPAnalysis() const { return lstBPAnalysis_; }
    QLabel* lblAdviceBecause() const { return lblAdviceBecause_; }
    QPushButton* cmdCopyAdvice() const { return cmdCopyAdvice_; }
    // Puts the selected line and its explanation on the clipboard.
    void CopySelectedAdvice();

signals:
    // optPoolAnalysisUsage clicked.
    void IntentChosen(UsageIntent intent);

private:
    void ShowExplanation(int row);

    QLabel* lblAnalysis_;
    QListWidget* lstBPAnalysis_;
    QLabel* lblAdviceBecause_;
    QPushButton* cmdCopyAdvice_;
    QRadioButton* sequential_;
    QRadioButton* random_;
    std::vector<AdviceLine> advice_;
};

}  // namespace kov
