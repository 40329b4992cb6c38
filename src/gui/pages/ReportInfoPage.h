#pragma once
// Page 0, "Report Info": system and collection labels, the seven totals, the
// "Data checks" strip and the pool grid grdPoolInfo.

#include <QWidget>

class QPushButton;

#include "common/Message.h"
#include "model/ReportModel.h"

namespace kov {

class DataChecksStrip;
class GridView;
class LabelPanel;

class ReportInfoPage : public QWidget {
    Q_OBJECT
public:
    explicit ReportInfoPage(QWidget* parent = nullptr);

    void FillHeaderLabels(const ReportModel& model);
    void FillPoolGrid(const ReportModel& model);
    void FillTotals(const ReportModel& model, MessageSink& sink);
    void FillDataChecks(const ReportModel& model);

    GridView* grdPoolInfo() const { return grid_; }
    DataChecksStrip* DataChecks() const { return dataChecks_; }
    QPushButton* cmdCompareWith() const { return compareWith_; }
    // Enabled while simulation reports are loaded.
    QPushButton* cmdSizeAdvice() const { return sizeAdvice_; }
    QPushButton* cmdTrend() const { return trend_; }
    // Data rows of the grid (a report without pools still shows one).
    int PoolRowCount() const;

signals:
    // A pool row was clicked: the pool name of its first column.
    void PoolChosen(const QString& poolName);
    // A data-check finding about pool p was chosen.
    void FindingPoolChosen(int p);
    // "Compare with…" was clicked.
    void CompareRequested();
    // "Size Advice…" was clicked.
    void SizeAdviceRequested();
    // "Trend…" was clicked.
    void TrendRequested();

private:
    LabelPanel* systemInfo_;
    LabelPanel* collection_;
    LabelPanel* totals_;
    DataChecksStrip* dataChecks_;
    GridView* grid_;
    QPushButton* compareWith_;
    QPushButton* sizeAdvice_;
    QPushButton* trend_;
};

}  // namespace kov
