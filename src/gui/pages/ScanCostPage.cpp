#include "pages/ScanCostPage.h"

#include <QLabel>
#include <QVBoxLayout>

#include "widgets/GridView.h"
#include "widgets/LabelPanel.h"

namespace kov {

ScanCostPage::ScanCostPage(QWidget* parent)
    : QWidget(parent),
      labels_(new LabelPanel("Sequential access cost", "lblInfoScanCost", "lblScanCostData", 3, this)),
      system_(new GridView("grdScanCost", {2000, 1750, 1750, 1750}, this)),
      pool_(new GridView("grdScanCostPool", {2000, 1750, 1750, 1750}, this)) {
    labels_->Show(InitialScanCostLabels());
    labels_->setMaximumWidth(560);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labels_);
    layout->addWidget(new QLabel("Objects with the most sequential get pages in the report", this));
    layout->addWidget(system_, 1);
    layout->addWidget(new QLabel("Objects with the most sequential get pages in the pool", this));
    layout->addWidget(pool_, 1);
}

void ScanCostPage::Clear() {
    labels_->Show(InitialScanCostLabels());
    // As a new page: the headings come with the first list a report fills.
    system_->SetTable({});
    pool_->SetTable({});
}

void ScanCostPage::ShowSystem(const SystemScanCost& cost) {
    labels_->Value(1)->setText(QString::fromStdString(cost.SystemCost));
    system_->SetTable(cost.List);
}

void ScanCostPage::ShowPool(const PoolScanCost& cost) {
    labels_->Value(0)->setText(QString::fromStdString(cost.CollectionTime));
    labels_->Caption(2)->setText(QString::fromStdString(cost.Caption));
    labels_->Value(2)->setText(QString::fromStdString(cost.PoolCost));
    pool_->SetTable(cost.List);
}

}  // namespace kov
