#include "pages/GraphicSummaryPage.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "analysis/GraphicSummary.h"
#include "widgets/ChartWidget.h"

namespace kov {

GraphicSummaryPage::GraphicSummaryPage(QWidget* parent) : QWidget(parent), tabs_(new QTabWidget(this)) {
    tabs_->setObjectName("tbsGraphicSummary");
    for (const GraphicSummaryTab& page : GraphicSummaryTabs()) {
        auto* chart = new ChartWidget(page.ChartName.c_str(), tabs_);
        charts_.push_back(chart);
        tabs_->addTab(chart, QString::fromStdString(page.Caption));
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
