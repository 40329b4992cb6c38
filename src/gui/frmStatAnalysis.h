#pragma once
// The analysis window: eight pages over the loaded report, the buttons
// below them and the status bar. It runs the start-up road (title screen,
// file selection), refills every view when it is shown, and keeps the
// current pool that the pool-dependent views follow.

#include <QMainWindow>
#include <QStringList>
#include <string>
#include <vector>

#include "analysis/PoolDetails.h"
#include "AppServices.h"
#include "common/Message.h"
#include "model/ReportModel.h"

class QLabel;
class QPushButton;
class QTabWidget;

namespace kov {

class ClusterPage;
class ExpertTuningPage;
class ObjectInfoPage;
class PoolInfoPage;
class ScanCostPage;
class ReportInfoPage;
class TrayIcon;

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
    void cmdNextPool_Click();
    void cmdPreviousPool_Click();
    // Tuning advice for the current pool, always starting again under Random.
    void RefreshPoolAnalysis();
    // Redraws the pool chart of the selected graph type for the current pool.
    void RefreshPoolCharts();
    // The usage intent chosen on the tuning page; the cluster page follows.
    void ChoosePoolUsageIntent(char intent);
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
    void PopulateScanCostsForSystem();
    void PopulateScanCostsForPool();
    void RefreshScanCosts();

    QTabWidget* tbsStats() const { return tabs_; }
    ReportInfoPage* ReportInfo() const { return reportInfo_; }
    PoolInfoPage* PoolInfo() const { return poolInfo_; }
    ObjectInfoPage* ObjectInfo() const { return objectInfo_; }
    ExpertTuningPage* ExpertTuning() const { return expertTuning_; }
    ScanCostPage* ScanCost() const { return scanCost_; }
    ClusterPage* Cluster() const { return cluster_; }
    TrayIcon* Tray() const { return tray_; }
    QString StatusText() const;
    // The cluster page's list of simulated pool sizes for the current pool.
    const std::vector<std::string>& ClusterPoolSizes() const { return clusterPoolSizes_; }

    // Set by printing: the next activation refreshes only the report labels
    // and the pool grid.
    bool SkipNextRefill = false;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void BuildWindow();
    void RunFileSelection();
    void ShowPoolLabels();
    void AfterPoolChange();
    void MovePool(int (*step)(const ReportModel&, int), const char* failureTitle);
    void ApplyPageChrome(int page);
    void ShowAbout();
    void ShowPoolAnalysis();
    void ShowIntentOnBothPages(char intent);
    template <typename Fill>
    void ScanCostStep(Fill&& fill);

    ReportModel& model_;
    MessageSink& sink_;
    AppState& state_;
    AppServices services_;
    QStringList preload_;
    std::vector<std::string> clusterPoolSizes_;

    QTabWidget* tabs_ = nullptr;
    ReportInfoPage* reportInfo_ = nullptr;
    PoolInfoPage* poolInfo_ = nullptr;
    ObjectInfoPage* objectInfo_ = nullptr;
    ExpertTuningPage* expertTuning_ = nullptr;
    ScanCostPage* scanCost_ = nullptr;
    ClusterPage* cluster_ = nullptr;
    QPushButton* cmdPrint_ = nullptr;
    QPushButton* cmdBack_ = nullptr;
    QPushButton* cmdFinish_ = nullptr;
    QPushButton* cmdCreateFile_ = nullptr;
    QPushButton* cmdClusterCreateFile_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    TrayIcon* tray_ = nullptr;
};

}  // namespace kov
