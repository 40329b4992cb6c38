#include "pages/ReportInfoPage.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/DataChecks.h"
#include "analysis/GeneralInfo.h"
#include "pages/DataChecksStrip.h"
#include "widgets/GridView.h"
#include "widgets/LabelPanel.h"

namespace kov {

ReportInfoPage::ReportInfoPage(QWidget* parent)
    : QWidget(parent),
      systemInfo_(new LabelPanel("System Info", "lblSystemCaption", "lblSystem", 4, this)),
      collection_(new LabelPanel("Collection", "lblCollectionCaption", "lblCollection", 3, this)),
      totals_(new LabelPanel("Totals", "lblTotalCaption", "lblTotal", 7, this)),
      dataChecks_(new DataChecksStrip(this)),
      grid_(new GridView("grdPoolInfo", 1250, this)),
      compareWith_(new QPushButton("Compare with\u2026", this)),
      sizeAdvice_(new QPushButton("Size Advice\u2026", this)),
      trend_(new QPushButton("Trend\u2026", this)) {
    compareWith_->setObjectName("cmdCompareWith");
    sizeAdvice_->setObjectName("cmdSizeAdvice");
    sizeAdvice_->setToolTip("How big each simulated pool should be within a memory budget");
    sizeAdvice_->setEnabled(false);
    trend_->setObjectName("cmdTrend");
    trend_->setToolTip("Figures, advice and objects over many statistics reports");
    // The pool's name stays in view while its figures scroll by.
    grid_->FreezeColumns(1);
    grid_->ShowAtLeastRows(6);
    auto* labels = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(systemInfo_);
    left->addWidget(collection_);
    left->addStretch();
    labels->addLayout(left);
    labels->addWidget(totals_, 0, Qt::AlignTop);
    labels->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(compareWith_);
    buttons->addWidget(sizeAdvice_);
    buttons->addWidget(trend_);
    buttons->addStretch();
    labels->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(labels);
    layout->addWidget(dataChecks_);
    layout->addWidget(grid_, 1);
    connect(compareWith_, &QPushButton::clicked, this, &ReportInfoPage::CompareRequested);
    connect(sizeAdvice_, &QPushButton::clicked, this, &ReportInfoPage::SizeAdviceRequested);
    connect(trend_, &QPushButton::clicked, this, &ReportInfoPage::TrendRequested);
    connect(grid_, &GridView::RowChosen, this, [this](int row) { emit PoolChosen(grid_->Cell(row, 0)); });
    connect(dataChecks_, &DataChecksStrip::PoolChosen, this, &ReportInfoPage::FindingPoolChosen);
}

void ReportInfoPage::FillHeaderLabels(const ReportModel& model) {
    const std::vector<LabelPair> labels = HeaderLabels(model.SysInfo);
    systemInfo_->Show({labels.begin(), labels.begin() + 4});
    collection_->Show({labels.begin() + 4, labels.end()});
}

void ReportInfoPage::FillPoolGrid(const ReportModel& model) {
    grid_->SetTable(PoolGrid(model));
}

void ReportInfoPage::FillTotals(const ReportModel& model, MessageSink& sink) {
    totals_->Show(Totals(model, sink));
}

void ReportInfoPage::FillDataChecks(const ReportModel& model) {
    dataChecks_->ShowFindings(RunDataChecks(model));
}

int ReportInfoPage::PoolRowCount() const {
    return grid_->Model()->rowCount();
}

}  // namespace kov
