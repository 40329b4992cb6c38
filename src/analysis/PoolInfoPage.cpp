#include "analysis/PoolInfoPage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/ui/LabelPanel.h"

namespace kov {

PoolInfoPage::PoolInfoPage(QWidget* parent)
    : QWidget(parent),
      info_(new LabelPanel("Buffer Pool Info", "lblPoolCaption", "lblPoolInfo", 6, this)),
      threshold_(new LabelPanel("Threshold", "lblThresholdCaption", "lblThreshold", 4, this)),
      previous_(new QPushButton("Previous Pool", this)),
      next_(new QPushButton("Next Pool", this)) {
    previous_->setObjectName("cmdPreviousPool");
    next_->setObjectName("cmdNextPool");
    auto* side = new QVBoxLayout;
    side->addWidget(info_);
    side->addWidget(threshold_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(previous_);
    buttons->addWidget(next_);
    side->addLayout(buttons);
    side->addStretch();
    auto* chartArea = new QLabel(
        "The pool activity charts and top object lists are not part of this build yet.", this);
    chartArea->setObjectName("lblPoolChartPending");
    chartArea->setAlignment(Qt::AlignCenter);
    chartArea->setWordWrap(true);
    chartArea->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(side);
    layout->addWidget(chartArea, 1);
}

void PoolInfoPage::ShowPoolLabels(const PoolLabels& labels) {
    info_->Show(labels.Info);
    threshold_->Show(labels.Threshold);
}

}  // namespace kov
