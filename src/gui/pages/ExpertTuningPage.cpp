#include "pages/ExpertTuningPage.h"

#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov {

ExpertTuningPage::ExpertTuningPage(QWidget* parent)
    : QWidget(parent),
      lblAnalysis_(new QLabel(this)),
      lstBPAnalysis_(new QListWidget(this)),
      lblAdviceBecause_(new QLabel(this)),
      cmdCopyAdvice_(new QPushButton("&Copy", this)),
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

    lblAdviceBecause_->setObjectName("lblAdviceBecause");
    lblAdviceBecause_->setWordWrap(true);
    lblAdviceBecause_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblAdviceBecause_->setTextFormat(Qt::PlainText);
    lblAdviceBecause_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdCopyAdvice_->setObjectName("cmdCopyAdvice");
    cmdCopyAdvice_->setEnabled(false);
    auto* fraAdviceBecause = new QGroupBox("Why this advice", this);
    fraAdviceBecause->setObjectName("fraAdviceBecause");
    auto* because = new QHBoxLayout(fraAdviceBecause);
    because->addWidget(lblAdviceBecause_, 1);
    because->addWidget(cmdCopyAdvice_, 0, Qt::AlignTop);

    // Ctrl+C in the list copies as the button does.
    auto* copy = new QAction(lstBPAnalysis_);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    lstBPAnalysis_->addAction(copy);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(intentRow);
    layout->addWidget(lblAnalysis_);
    layout->addWidget(lstBPAnalysis_, 1);
    layout->addWidget(fraAdviceBecause);

    connect(sequential_, &QRadioButton::clicked, this, [this] { emit IntentChosen(UsageIntent::Sequential); });
    connect(random_, &QRadioButton::clicked, this, [this] { emit IntentChosen(UsageIntent::Random); });
    connect(lstBPAnalysis_, &QListWidget::currentRowChanged, this, &ExpertTuningPage::ShowExplanation);
    connect(cmdCopyAdvice_, &QPushButton::clicked, this, &ExpertTuningPage::CopySelectedAdvice);
    connect(copy, &QAction::triggered, this, &ExpertTuningPage::CopySelectedAdvice);
}

void ExpertTuningPage::ShowPoolAnalysis(const std::string& caption, std::vector<AdviceLine> advice) {
    lblAnalysis_->setText(QString::fromStdString(caption));
    advice_ = std::move(advice);
    lstBPAnalysis_->clear();
    for (const AdviceLine& line : advice_) {
        auto* item = new QListWidgetItem(QString::fromStdString(line.Text), lstBPAnalysis_);
        item->setToolTip(QString::fromStdString(line.Because));
    }
    ShowExplanation(lstBPAnalysis_->currentRow());
}

void ExpertTuningPage::ShowExplanation(int row) {
    const bool selected = row >= 0 && row < static_cast<int>(advice_.size());
    lblAdviceBecause_->setText(selected ? QString::fromStdString(advice_[static_cast<std::size_t>(row)].Because)
                                        : QString());
    cmdCopyAdvice_->setEnabled(selected);
}

void ExpertTuningPage::CopySelectedAdvice() {
    const int row = lstBPAnalysis_->currentRow();
    if (row < 0 || row >= static_cast<int>(advice_.size())) return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(CopiedAdvice(advice_[static_cast<std::size_t>(row)])));
}

void ExpertTuningPage::ShowIntent(UsageIntent intent) {
    (intent == UsageIntent::Sequential ? sequential_ : random_)->setChecked(true);
}

}  // namespace kov
