#pragma once
// Page 1, "Graphic Summary": the tab strip tbsGraphicSummary with one bar
// chart of all pools per page, each in a scroll area, since a chart gives
// every pool a row a name high (sixty pools outgrow the page).

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

    // The eleven charts in page order. Only the chosen tab's chart is drawn
    // now, each other one when its tab is chosen: sixty pools in eleven
    // charts cost more than the rest of the window's fill.
    void ShowCharts(std::vector<ChartData> charts);

    QTabWidget* tbsGraphicSummary() const { return tabs_; }
    ChartWidget* Chart(int page) const { return charts_.at(static_cast<std::size_t>(page)); }
    // What a tab's chart shows, or will show once its tab is chosen.
    const ChartData& Shown(int page) const { return latest_.at(static_cast<std::size_t>(page)); }

signals:
    // A pool's bar (or its name) was clicked: the pool grid's "Pool" cell.
    void PoolChosen(const QString& poolName);

private:
    void DrawChosenTab();

    QTabWidget* tabs_;
    std::vector<ChartWidget*> charts_;
    std::vector<ChartData> latest_;
    std::vector<bool> drawn_;
};

}  // namespace kov
