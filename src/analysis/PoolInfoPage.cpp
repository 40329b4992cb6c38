#include "analysis/PoolInfoPage.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/ui/ChartWidget.h"
#include "analysis/ui/LabelPanel.h"

namespace kov {

PoolInfoPage::PoolInfoPage(QWidget* parent)
    : QWidget(parent),
      info_(new LabelPanel("Buffer Pool Info", "lblPoolCaption", "lblPoolInfo", 6, this)),
      threshold_(new LabelPanel("Threshold", "lblThresholdCaption", "lblThreshold", 4, this)),
      previous_(new QPushButton("Previous Pool", this)),
      next_(new QPushButton("Next Pool", this)),
      graphTypes_(new QComboBox(this)),
      chartLabels_(new LabelPanel("", "lblChartInfo", "lblChartData", 5, this)),
      chart_(new ChartWidget("ChartFX1BPool", this)) {
    graphTypes_->setObjectName("cboPoolGraphType");
    // The drop-down opens wider than the box so the longest type reads whole.
    graphTypes_->view()->setMinimumWidth(graphTypes_->fontMetrics().horizontalAdvance(QString(34, 'M')));
    previous_->setObjectName("cmdPreviousPool");
    next_->setObjectName("cmdNextPool");
    auto* side = new QVBoxLayout;
    side->addWidget(info_);
    side->addWidget(threshold_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(previous_);
    buttons->addWidget(next_);
    side->addLayout(buttons);
    side->addWidget(graphTypes_);
    side->addWidget(chartLabels_);
    side->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(side);
    layout->addWidget(chart_, 1);
    connect(graphTypes_, &QComboBox::activated, this, [this](int index) { emit GraphTypeChosen(index + 1); });
}

void PoolInfoPage::FillGraphTypeList(const std::vector<std::string>& types) {
    const QSignalBlocker quiet(graphTypes_);
    graphTypes_->clear();
    for (const std::string& type : types) graphTypes_->addItem(QString::fromStdString(type));
    graphTypes_->setCurrentIndex(-1);
}

void PoolInfoPage::SelectGraphType(int listIndex) { graphTypes_->setCurrentIndex(listIndex); }

int PoolInfoPage::GraphPosition() const { return graphTypes_->currentIndex() + 1; }

void PoolInfoPage::ShowChart(const ChartData& chart) {
    chartLabels_->Show(chart.SideLabels);
    for (std::size_t pair = 0; pair < chart.SideLabels.size() && pair < 5; ++pair) {
        chartLabels_->Caption(static_cast<int>(pair))->setVisible(!chart.IsSideLabelHidden(pair));
        chartLabels_->Value(static_cast<int>(pair))->setVisible(!chart.IsSideLabelHidden(pair));
    }
    chart_->Show(chart);
}

void PoolInfoPage::ShowPoolLabels(const PoolLabels& labels) {
    info_->Show(labels.Info);
    threshold_->Show(labels.Threshold);
}

}  // namespace kov
