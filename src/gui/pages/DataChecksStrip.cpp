#include "pages/DataChecksStrip.h"

#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kov {

namespace {

constexpr int kPoolRole = Qt::UserRole;
constexpr int kMostListHeight = 160;

// Amber while there is something to read, plain otherwise.
constexpr const char* kFindingsStyle =
    "#fraDataChecks[findings=\"true\"] { background: #fff3cd; border: 1px solid #d9a400; border-radius: 3px; }";

}  // namespace

DataChecksStrip::DataChecksStrip(QWidget* parent)
    : QFrame(parent), button_(new QToolButton(this)), list_(new QListWidget(this)) {
    setObjectName("fraDataChecks");
    setStyleSheet(kFindingsStyle);
    button_->setObjectName("cmdDataChecks");
    button_->setCheckable(true);
    button_->setAutoRaise(true);
    button_->setArrowType(Qt::RightArrow);
    button_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    list_->setObjectName("lstDataChecks");
    // A damaged capacity report gives a finding per object: one line each,
    // of one height, keeps thousands cheap to lay out.
    list_->setUniformItemSizes(true);
    list_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(button_);
    layout->addWidget(list_);
    connect(button_, &QToolButton::toggled, this, [this](bool open) {
        button_->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        list_->setVisible(open);
    });
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int p = item->data(kPoolRole).toInt();
        if (p > 0) emit PoolChosen(p);
    });
    ShowFindings({});
}

void DataChecksStrip::ShowFindings(const std::vector<DataFinding>& findings) {
    list_->clear();
    for (const DataFinding& finding : findings) {
        auto* item = new QListWidgetItem(QString::fromStdString(FindingLine(finding)), list_);
        item->setData(kPoolRole, finding.Pool);
        item->setToolTip(QString::fromStdString(finding.Check));
    }
    const bool any = !findings.empty();
    button_->setText(QString::fromStdString(DataChecksCaption(findings.size())));
    button_->setChecked(false);
    button_->setEnabled(any);
    FitListToFindings();
    setProperty("findings", any);
    style()->unpolish(this);
    style()->polish(this);
}

// As tall as the findings, up to a few lines; a longer list scrolls.
void DataChecksStrip::FitListToFindings() {
    const int rows = list_->count() == 0 ? 0 : list_->count() * list_->sizeHintForRow(0);
    list_->setFixedHeight(std::min(kMostListHeight, rows + 2 * list_->frameWidth()));
}

}  // namespace kov
