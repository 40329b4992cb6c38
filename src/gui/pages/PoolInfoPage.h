#pragma once
// Page 2, "Pool Info": the current pool's sizes and thresholds, and the
// buttons that move to the next and previous pool. The activity chart area
// below them is filled by the pool chart view.

#include <QWidget>

#include "analysis/PoolDetails.h"
#include "analysis/PoolDetailsPanel.h"
#include "views/ChartData.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace kov {

class ChartWidget;
class LabelPanel;

class PoolInfoPage : public QWidget {
    Q_OBJECT
public:
    explicit PoolInfoPage(QWidget* parent = nullptr);
    void ShowPoolLabels(const PoolLabels& labels);
    // No pool: labels, chart and details panel empty.
    void Clear();
    QPushButton* cmdNextPool() const { return next_; }
    QPushButton* cmdPreviousPool() const { return previous_; }

    // The 24 graph types, refilled at every activation.
    void FillGraphTypeList(const std::vector<std::string>& types);
    void SelectGraphType(int listIndex);
    // 1..24, or 0 when nothing is selected.
    int GraphPosition() const;
    void ShowChart(const ChartData& chart);
    ChartWidget* Chart() const { return chart_; }

    // The details panel of one object (a clicked bar), over the chart.
    void ShowObjectDetails(const ObjectDetailFigures& figures);
    void HidePoolDetails();
    QWidget* pnlPoolDetails() const { return panel_; }

signals:
    void GraphTypeChosen(int position);

private:
    LabelPanel* info_;
    LabelPanel* threshold_;
    QPushButton* previous_;
    QPushButton* next_;
    QComboBox* graphTypes_;
    LabelPanel* chartLabels_;
    ChartWidget* chart_;
    QWidget* panel_;
    QLabel* panelHeading_ = nullptr;
    std::array<QLabel*, 19> panelCaptions_{};
    std::array<QLabel*, 19> panelValues_{};

    void BuildDetailsPanel();
    void resizeEvent(QResizeEvent* event) override;
    void PlacePanel();
};

}  // namespace kov
