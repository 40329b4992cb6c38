#pragma once
// Page 4, "Expert Tuning": the advice lines for the current pool under the
// pool usage intent chosen with optPoolAnalysisUsage.

#include <QWidget>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QRadioButton;

namespace kov {

class ExpertTuningPage : public QWidget {
    Q_OBJECT
public:
    explicit ExpertTuningPage(QWidget* parent = nullptr);
    void ShowPoolAnalysis(const std::string& caption, const std::vector<std::string>& advice);
    // Shows the intent without announcing a change.
    void ShowIntent(char intent);
    void Clear() { ShowPoolAnalysis("", {}); }

signals:
    // optPoolAnalysisUsage clicked: 'R' or 'S'.
    void IntentChosen(char intent);

private:
    QLabel* lblAnalysis_;
    QListWidget* lstBPAnalysis_;
    QRadioButton* sequential_;
    QRadioButton* random_;
};

}  // namespace kov
