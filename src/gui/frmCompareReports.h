#pragma once
// "Compare with…": the loaded report (before) against a second statistics
// report (after), as three sortable grids: the report totals, every pool's
// figures, and the objects of the pool the window shows; beside the pools'
// grid a chart of the chosen figure before and after, per pool. The
// comparison is the engine's CompareReports; the dialog only renders it.

#include <QDialog>
#include <string>

#include "AppServices.h"
#include "analysis/CompareReports.h"
#include "common/Message.h"
#include "model/ReportModel.h"

class QLabel;
class QTabWidget;

namespace kov {

class SaveFolder;

class ChartWidget;
class GridView;

class frmCompareReports : public QDialog {
    Q_OBJECT
public:
    // poolName: the window's current pool, whose objects the third grid shows.
    frmCompareReports(const ReportComparison& comparison, const QString& beforeFile, const QString& afterFile,
                      const std::string& poolName, QWidget* parent = nullptr);

    GridView* grdCompareReport() const { return report_; }
    GridView* grdComparePools() const { return pools_; }
    GridView* grdCompareObjects() const { return objects_; }
    QTabWidget* tbsCompare() const { return tabs_; }
    QLabel* lblCompareWarnings() const { return warnings_; }
    ChartWidget* chartCompareFigure() const { return chart_; }

    // Charts the figure of a row of the pools' grid (as it is now sorted).
    void ChartFigureOfPoolsRow(int row);

private:
    ReportComparison comparison_;  // the chart is drawn from it after construction
    QTabWidget* tabs_;
    GridView* report_;
    GridView* pools_;
    GridView* objects_;
    QLabel* warnings_;
    ChartWidget* chart_;
};

// Asks for a second statistics report and reads it (its messages go to the
// sink, as on the file-selection screen); a report not read to its end is
// said so and not compared. Otherwise shows the comparison with the loaded
// report as the before interval, its saved files named after the after report
// and opening where the window's do. Nothing happens when the user cancels.
void CompareWithChosenReport(QWidget* parent, const ReportModel& loaded, const AppServices& services, MessageSink& sink,
                             SaveFolder& folder);

}  // namespace kov
