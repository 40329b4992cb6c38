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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
}

void GraphicSummaryPage::ShowCharts(const std::vector<ChartData>& charts) {
    for (std::size_t i = 0; i < charts.size() && i < charts_.size(); ++i) charts_[i]->Show(charts[i]);
}

}  // namespace kov
