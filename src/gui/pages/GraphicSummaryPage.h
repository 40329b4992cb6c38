#pragma once
// Page 1, "Graphic Summary": the tab strip tbsGraphicSummary with one bar
// chart of all pools per page.

#include <QWidget>
#include <vector>

#include "views/ChartData.h"

class QTabWidget;

namespace kov {

class ChartWidget;

class GraphicSummaryPage : public QWidget {
    Q_OBJECT
public:
    explicit GraphicSummaryPage(QWidget* parent = nullptr);

    // The eleven charts in page order.
    void ShowCharts(const std::vector<ChartData>& charts);

    QTabWidget* tbsGraphicSummary() const { return tabs_; }
    ChartWidget* Chart(int page) const { return charts_.at(static_cast<std::size_t>(page)); }

private:
    QTabWidget* tabs_;
    std::vector<ChartWidget*> charts_;
};

}  // namespace kov
