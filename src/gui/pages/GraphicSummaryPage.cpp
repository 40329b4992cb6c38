#include "pages/GraphicSummaryPage.h"

#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "analysis/GraphicSummary.h"
#include "widgets/ChartWidget.h"

namespace kov {

GraphicSummaryPage::GraphicSummaryPage(QWidget* parent) : QWidget(parent), tabs_(new QTabWidget(this)) {
    tabs_->setObjectName("tbsGraphicSummary");
    for (const GraphicSummaryTab& page : GraphicSummaryTabs()) {
        auto* scroll = new QScrollArea(tabs_);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        auto* chart = new ChartWidget(page.ChartName.c_str(), scroll);
        scroll->setWidget(chart);
        charts_.push_back(chart);
        tabs_->addTab(scroll, QString::fromStdString(page.Caption));
        connect(chart, &ChartWidget::BarClicked, this, [this, chart](int bar) {
            const std::vector<ChartPoint>& points = chart->Shown().Points;
            if (bar >= 0 && static_cast<std::size_t>(bar) < points.size())
                emit PoolChosen(QString::fromStdString(points[static_cast<std::size_t>(bar)].Label));
        });
    }
    latest_.resize(charts_.size());
    drawn_.assign(charts_.size(), true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { DrawChosenTab(); });
}

void GraphicSummaryPage::ShowCharts(std::vector<ChartData> charts) {
    charts.resize(charts_.size());
    latest_ = std::move(charts);
    drawn_.assign(charts_.size(), false);
    DrawChosenTab();
}

void GraphicSummaryPage::DrawChosenTab() {
    const int chosen = tabs_->currentIndex();
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= charts_.size()) return;
    const auto page = static_cast<std::size_t>(chosen);
    if (drawn_[page]) return;
    charts_[page]->Show(latest_[page]);
    drawn_[page] = true;
}

}  // namespace kov
