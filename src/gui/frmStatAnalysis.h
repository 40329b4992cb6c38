#pragma once
// The analysis window: eight pages over the loaded report, the buttons
// below them and the status bar. It runs the start-up road (title screen,
// file selection), refills every view when it is shown, and keeps the
// current pool that the pool-dependent views follow.

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AppServices.h"
#include "ExportDialogs.h"
#include "OncePerStepSink.h"
#include "analysis/PoolDetails.h"
#include "analysis/PrintPages.h"
#include "common/Message.h"
#include "model/ReportModel.h"
#include "model/UsageIntent.h"
#include "readers/ReportReader.h"

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QKeyEvent;
class QTabWidget;

namespace kov {

class ClusterPage;
class ExpertTuningPage;
class GraphicSummaryPage;
class ObjectInfoPage;
class PoolInfoPage;
class ScanCostPage;
class SimGraphPage;
class ReportInfoPage;
class TrayIcon;
class WindowPrinter;

class frmStatAnalysis : public QMainWindow {
    Q_OBJECT
public:
    frmStatAnalysis(ReportModel& model, MessageSink& sink, AppState& state, AppServices services,
                    QWidget* parent = nullptr);
    ~frmStatAnalysis() override;

    // Files named on the command line, read on the file-selection screen as
    // if chosen there.
    void SetPreloadFiles(const QStringList& files) { preload_ = files; }

    // Start-up: tray icon, title screen, file selection; then the window is
    // ready to be shown (showing it activates it).
    void Form_Load();
    void Form_Activate();
    void tbsStats_Click(int page);
    void cmdBack_Click();
    void cmdFinish_Click();
    void SelectPoolFromGrid(const QString& poolName);
    // A data-check finding chosen: its pool becomes current and Pool Info shows it.
    void ShowPoolOfFinding(int p);
    void cmdNextPool_Click();
    void cmdPreviousPool_Click();
    // Tuning advice for the current pool, always starting again under Random.
    void RefreshPoolAnalysis();
    // Redraws the pool chart of the selected graph type for the current pool.
    void RefreshPoolCharts();
    // The usage intent chosen on the tuning page; the cluster page follows.
    void ChoosePoolUsageIntent(UsageIntent intent);
    // Object views: refill for the current pool; a pick in the list or grid
    // makes its object current; the labels and pie follow the current object.
    void FillObjectViews();
    void lvObjects_Click();
    void ChooseObjectFromGrid(const QString& name);
    void ShowObjectDetails();
    // The usage intent chosen on the cluster page (0 Sequential, 1 Random):
    // the tuning page follows, and the analysis says when it does not apply.
    void optPoolClusterAnalysisUsage_Click(int index);
    void cmdClusterCreateFile_Click();
    void cmdCreateFile_Click();
    // The measure of the simulation page's pool-size and improvement charts
    // (0 "Sys Hit Ratio", 1 "I/O Rate"); both file-name labels follow.
    void optGreatestImprovement_Click(int index);
    // The simulation number, on page 6 (box 0) or page 7 (box 1): a spinner
    // step writes both boxes; a change refreshes both simulation pages.
    void updnSimNo_Click(int box, int direction);
    void txtSimNo_Change(int box);
    void PopulateScanCostsForSystem();
    void PopulateScanCostsForPool();
    void RefreshScanCosts();
    // The eleven all-pools charts from the pool grid as it is now sorted.
    void DrawGraphicSummary();

    QTabWidget* tbsStats() const { return tabs_; }
    ReportInfoPage* ReportInfo() const { return reportInfo_; }
    GraphicSummaryPage* GraphicSummary() const { return graphicSummary_; }
    PoolInfoPage* PoolInfo() const { return poolInfo_; }
    ObjectInfoPage* ObjectInfo() const { return objectInfo_; }
    ExpertTuningPage* ExpertTuning() const { return expertTuning_; }
    ScanCostPage* ScanCost() const { return scanCost_; }
    ClusterPage* Cluster() const { return cluster_; }
    SimGraphPage* SimGraphs() const { return simGraphs_; }
    TrayIcon* Tray() const { return tray_; }
    QString StatusText() const;
    // The notice over the pages while the loaded statistics report was not
    // read to its end (hidden otherwise).
    QLabel* lblReadNotice() const { return lblReadNotice_; }
    // The short help of F1 (made on its first use).
    void ShowHelp();
    // The cluster page's list of simulated pool sizes for the current pool.
    const std::vector<std::string>& ClusterPoolSizes() const { return clusterPoolSizes_; }

    // Prints the page shown (nothing for Expert Tuning and Scan Cost); the
    // printer dialog comes on the window's first print only.
    void cmdPrint_Click();
    // The printed pages of a page as it is shown now; none when it has none.
    std::vector<PrintedPage> PrintoutOfPage(int page) const;
    bool PrinterChosen() const;

    // Set while printing: an activation meanwhile refreshes only the report
    // labels and the pool grid.
    bool SkipNextRefill = false;

protected:
    // The window's keys work wherever the focus is, inside a page's own tabs
    // too: Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn, Ctrl+PgUp, Escape, F1.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void BuildWindow();
    void RunFileSelection();
    void ShowPoolLabels();
    void ShowSizeAdvice(int slot);
    void ClearPoolViews();
    void SelectPool(int p);
    void AfterPoolChange();
    void MovePool(int (*step)(const ReportModel&, int), const char* failureTitle);
    void ApplyPageChrome(int page);
    // A page's tab enabled or not; a disabled one says in its tooltip why.
    void EnablePage(int page, bool enabled, const char* whyNot = nullptr);
    void DisablePoolPages();
    void StepPage(int direction);
    bool HandleWindowKey(const QKeyEvent& key);
    bool CloseDetailsPanel();
    void ShowReadNotice();
    void ShowCurrentObjectInViews();
    QString ExportContentOf(const QWidget& source) const;
    std::vector<PrintedPage> ClusterPrintout() const;
    void ShowAbout();
    void ShowPoolAnalysis();
    void ShowIntentOnBothPages(UsageIntent intent);
    QLineEdit* SimNoBox(int box) const;
    void ShowSimulationFileName();
    template <typename Fill>
    void ScanCostStep(Fill&& fill);

    ReportModel& model_;
    OncePerStepSink sink_;
    AppState& state_;
    AppServices services_;
    QStringList preload_;
    int objectViewsPool_ = -1;  // the pool the object list and grid show; -1 none or stale
    std::vector<std::string> clusterPoolSizes_;
    std::unique_ptr<WindowPrinter> printer_;
    SaveFolder saveFolder_;
    ReportReader::ReadStop readStop_;  // where the loaded statistics report stopped being read

    QTabWidget* tabs_ = nullptr;
    ReportInfoPage* reportInfo_ = nullptr;
    GraphicSummaryPage* graphicSummary_ = nullptr;
    PoolInfoPage* poolInfo_ = nullptr;
    ObjectInfoPage* objectInfo_ = nullptr;
    ExpertTuningPage* expertTuning_ = nullptr;
    ScanCostPage* scanCost_ = nullptr;
    SimGraphPage* simGraphs_ = nullptr;
    ClusterPage* cluster_ = nullptr;
    QPushButton* cmdPrint_ = nullptr;
    QPushButton* cmdBack_ = nullptr;
    QPushButton* cmdFinish_ = nullptr;
    QPushButton* cmdCreateFile_ = nullptr;
    QPushButton* cmdClusterCreateFile_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    QLabel* lblReadNotice_ = nullptr;
    QDialog* help_ = nullptr;
    TrayIcon* tray_ = nullptr;
};

}  // namespace kov
