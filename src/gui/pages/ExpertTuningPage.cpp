#include "pages/ExpertTuningPage.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov {

ExpertTuningPage::ExpertTuningPage(QWidget* parent)
    : QWidget(parent),
      lblAnalysis_(new QLabel(this)),
      lstBPAnalysis_(new QListWidget(this)),
      sequential_(new QRadioButton("Sequential")),
      random_(new QRadioButton("Random")) {
    lblAnalysis_->setObjectName("lblAnalysis");
    QFont bold = lblAnalysis_->font();
    bold.setBold(true);
    lblAnalysis_->setFont(bold);
    lstBPAnalysis_->setObjectName("lstBPAnalysis");
    lstBPAnalysis_->setSelectionMode(QAbstractItemView::SingleSelection);
    sequential_->setObjectName("optPoolAnalysisUsage_0");
    random_->setObjectName("optPoolAnalysisUsage_1");
    random_->setChecked(true);

    auto* fraPoolIntentUsage = new QGroupBox(this);
    fraPoolIntentUsage->setObjectName("fraPoolIntentUsage");
    auto* options = new QVBoxLayout(fraPoolIntentUsage);
    options->addWidget(sequential_);
    options->addWidget(random_);
    auto* intentRow = new QHBoxLayout;
    intentRow->addWidget(new QLabel("Pool Usage Intent", this));
    intentRow->addWidget(fraPoolIntentUsage);
    intentRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(intentRow);
    layout->addWidget(lblAnalysis_);
    layout->addWidget(lstBPAnalysis_, 1);

    connect(sequential_, &QRadioButton::clicked, this, [this] { emit IntentChosen('S'); });
    connect(random_, &QRadioButton::clicked, this, [this] { emit IntentChosen('R'); });
}

void ExpertTuningPage::ShowPoolAnalysis(const std::string& caption, const std::vector<std::string>& advice) {
    lblAnalysis_->setText(QString::fromStdString(caption));
    lstBPAnalysis_->clear();
    for (const std::string& line : advice) lstBPAnalysis_->addItem(QString::fromStdString(line));
}

void ExpertTuningPage::ShowIntent(char intent) {
    (intent == 'S' ? sequential_ : random_)->setChecked(true);
}

}  // namespace kov
