#pragma once
// "Size Advice": how big each simulated pool should be within a memory
// budget. The allocation grid, a budget box that recomputes as it is typed,
// the chosen pool's curve of read I/O rate against memory with its current
// and recommended points marked, and that pool's explanation. The advice is
// the engine's AdviseSizes; the dialog only renders it.

#include <QDialog>
#include <vector>

#include "analysis/SizeAdvice.h"
#include "model/ReportModel.h"

class QDoubleSpinBox;
class QLabel;

namespace kov {

class ChartWidget;
class GridView;

class frmSizeAdvice : public QDialog {
    Q_OBJECT
public:
    // slot: the simulation slot whose curves are read (the simulation graph
    // page's number, or 1).
    frmSizeAdvice(const ReportModel& model, int slot, QWidget* parent = nullptr);

    QDoubleSpinBox* txtBudgetMB() const { return budget_; }
    GridView* grdSizeAdvice() const { return grid_; }
    ChartWidget* chartSizeCurve() const { return chart_; }
    QLabel* lblSizeAdviceBecause() const { return because_; }
    QLabel* lblSizeAdviceTotals() const { return totals_; }
    const SizeAdvice& Advice() const { return advice_; }

    // Recomputes for a budget; none means what the pools take now.
    void Recompute(std::optional<double> budgetMB);

private:
    void ShowPool(const std::string& name);
    void SelectShownPool();
    QString TotalsText() const;

    std::vector<PoolSizeCurve> curves_;
    std::vector<SkippedPool> skipped_;
    SizeAdvice advice_;
    std::string shownPool_;
    QDoubleSpinBox* budget_;
    QLabel* totals_;
    GridView* grid_;
    ChartWidget* chart_;
    QLabel* because_;
};

}  // namespace kov
