#include "frmSizeAdvice.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"
#include "widgets/ScreenFit.h"

namespace kov {

namespace {

// Budgets are typed in MB with two decimals; a pool set larger than any
// machine's memory is still accepted.
constexpr double kLargestBudgetMB = 1e9;

const PoolSizeAdvice* FindAdvice(const SizeAdvice& advice, const std::string& name) {
    for (const PoolSizeAdvice& pool : advice.Pools)
        if (pool.Curve.Name == name) return &pool;
    return nullptr;
}

}  // namespace

frmSizeAdvice::frmSizeAdvice(const ReportModel& model, int slot, QWidget* parent)
    : QDialog(parent),
      budget_(new QDoubleSpinBox(this)),
      totals_(new QLabel(this)),
      grid_(new GridView("grdSizeAdvice", {700, 900, 1300, 1500, 1100, 1500, 1100, 1700, 2100}, this)),
      chart_(new ChartWidget("chartSizeCurve", this)),
      because_(new QLabel(this)) {
    setObjectName("frmSizeAdvice");
    setWindowTitle("Size Advice");
    CollectSizeCurves(model, slot, curves_, skipped_);

    budget_->setObjectName("txtBudgetMB");
    budget_->setRange(0, kLargestBudgetMB);
    budget_->setDecimals(2);
    budget_->setSuffix(" MB");
    budget_->setGroupSeparatorShown(true);
    budget_->setKeyboardTracking(true);  // recompute as the budget is typed
    budget_->setAccessibleName("Memory budget in MB");
    auto* budgetLabel = new QLabel("&Budget for the simulated pools:", this);
    budgetLabel->setBuddy(budget_);
    auto* current = new QPushButton("&Current memory", this);
    current->setObjectName("cmdCurrentBudget");
    current->setToolTip("Set the budget to what the simulated pools take now (a re-balance)");

    totals_->setObjectName("lblSizeAdviceTotals");
    totals_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    because_->setObjectName("lblSizeAdviceBecause");
    because_->setWordWrap(true);
    because_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    because_->setMinimumHeight(because_->fontMetrics().height() * 3);

    auto* budgetRow = new QHBoxLayout;
    budgetRow->addWidget(budgetLabel);
    budgetRow->addWidget(budget_);
    budgetRow->addWidget(current);
    budgetRow->addStretch(1);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(grid_);
    splitter->addWidget(chart_);
    splitter->setStretchFactor(1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(budgetRow);
    layout->addWidget(totals_);
    layout->addWidget(splitter, 1);
    layout->addWidget(because_);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(budget_, &QDoubleSpinBox::valueChanged, this, [this](double mb) { Recompute(mb); });
    connect(current, &QPushButton::clicked, this, [this] { Recompute(std::nullopt); });
    connect(grid_, &GridView::RowChosen, this, [this](int row) { ShowPool(grid_->Cell(row, 0).toStdString()); });
    // A sort keeps the pool on show chosen.
    connect(grid_, &GridView::SortedByHeading, this, &frmSizeAdvice::SelectShownPool);
    Recompute(std::nullopt);
    resize(FittedToScreen(*this, QSize(1200, 760)));
}

void frmSizeAdvice::Recompute(std::optional<double> budgetMB) {
    advice_ = AdviseSizes(curves_, skipped_, budgetMB);
    if (!budgetMB) {
        // The box shows the current total without asking for a new advice:
        // its two decimals may round the exact total down.
        const QSignalBlocker quiet(budget_);
        budget_->setValue(advice_.CurrentMB);
    }
    totals_->setText(TotalsText());
    grid_->SetTable(SizeAdviceGrid(advice_));
    if (advice_.Pools.empty()) {
        shownPool_.clear();
        chart_->Show({});
        because_->clear();
        return;
    }
    if (!FindAdvice(advice_, shownPool_)) shownPool_ = advice_.Pools.front().Curve.Name;
    SelectShownPool();
    ShowPool(shownPool_);
}

void frmSizeAdvice::SelectShownPool() {
    for (int row = 0; row < grid_->Model()->rowCount(); ++row)
        if (grid_->Cell(row, 0).toStdString() == shownPool_) {
            grid_->selectRow(row);
            grid_->scrollTo(grid_->Model()->index(row, 0));
        }
}

void frmSizeAdvice::ShowPool(const std::string& name) {
    const PoolSizeAdvice* pool = FindAdvice(advice_, name);
    if (!pool) return;
    shownPool_ = name;
    chart_->Show(SizeCurveChart(*pool));
    because_->setText(QString::fromStdString(pool->Because));
}

QString frmSizeAdvice::TotalsText() const {
    QStringList lines;
    for (const std::string& line : SizeAdviceSummary(advice_)) lines << QString::fromStdString(line);
    for (const SkippedPool& pool : advice_.Skipped)
        lines << QString::fromStdString(pool.Name + " is left out: " + pool.Reason);
    return lines.join("\n");
}

}  // namespace kov
