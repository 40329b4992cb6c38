#pragma once
// Page 5, "Scan Cost": the CPU cost of sequential get pages for the report
// and the current pool, with the objects that scan most.

#include <QWidget>

#include "analysis/ScanCost.h"

namespace kov {

class GridView;
class LabelPanel;

class ScanCostPage : public QWidget {
    Q_OBJECT
public:
    explicit ScanCostPage(QWidget* parent = nullptr);
    void ShowSystem(const SystemScanCost& cost);
    void ShowPool(const PoolScanCost& cost);
    // No report: the captions alone, no figures, no rows.
    void Clear();
    GridView* grdScanCost() const { return system_; }
    GridView* grdScanCostPool() const { return pool_; }

private:
    LabelPanel* labels_;
    GridView* system_;
    GridView* pool_;
};

}  // namespace kov
