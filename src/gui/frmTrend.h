#pragma once
// "Trend…": many collection intervals of one system at a glance. The system,
// pool and figure choosers; the chosen figure of the chosen pools over time
// with the settings' changes marked; the advice timeline, the events, the
// objects that grew or fell most, the reports and the reports left out. The
// trend and every text are the engine's; the window renders them, and reads
// off the GUI thread so it stays responsive.

#include <QDialog>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "analysis/Trend.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTabWidget;

namespace kov {

struct AppServices;
class ChartWidget;
class GridView;
class MessageSink;
class SaveFolder;

class frmTrend : public QDialog {
    Q_OBJECT
public:
    explicit frmTrend(QWidget* parent = nullptr);
    // A read still under way is told to stop; it ends on its own thread.
    ~frmTrend() override;

    // Shows a trend: the first system, its first pool, the hit ratio.
    void ShowTrend(TrendResult result);
    // Runs `read` on a thread of its own, the window showing that it reads
    // (what, in `what`) and offering Cancel; the trend is shown when it ends.
    // Cancel, or closing the window, requests the stop `read` is handed.
    void ReadInBackground(const QString& what, std::function<TrendResult(std::stop_token)> read);
    bool Reading() const { return reading_; }

    const TrendResult& Result() const { return result_; }
    const SystemTrend* ShownSystem() const;
    // The pools checked in the list, in list order.
    std::vector<std::string> ChosenPools() const;
    // The start of every file name this window proposes: "trend-SYSA-DB2P".
    QString ExportBase() const;

    QComboBox* cboTrendSystem() const { return system_; }
    QListWidget* lstTrendPools() const { return pools_; }
    QComboBox* cboTrendFigure() const { return figure_; }
    ChartWidget* chartTrendFigure() const { return chart_; }
    QTabWidget* tbsTrend() const { return tabs_; }
    GridView* grdTrendEvents() const { return events_; }
    GridView* grdTrendAdvice() const { return advice_; }
    GridView* grdTrendRises() const { return rises_; }
    GridView* grdTrendFalls() const { return falls_; }
    GridView* grdTrendReports() const { return reports_; }
    GridView* grdTrendLeftOut() const { return leftOut_; }
    QPlainTextEdit* txtTrendLeftOutMessage() const { return leftOutMessage_; }
    QSplitter* LeftOutPage() const { return leftOutPage_; }
    QLabel* lblTrendSummary() const { return summary_; }
    QProgressBar* pbTrendRead() const { return progress_; }
    QPushButton* cmdTrendCancel() const { return cancel_; }

signals:
    // A trend was read (or handed over) and is shown.
    void TrendShown();

private:
    void ShowSystem(int index);
    void ShowLeftOutMessage(int row);
    void ShowChosen();
    void ShowReading(bool reading, const QString& what = {});

    TrendResult result_;
    bool reading_ = false;
    bool cancelled_ = false;
    std::stop_source stopReading_;
    QComboBox* system_;
    QListWidget* pools_;
    QComboBox* figure_;
    QLabel* summary_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QTabWidget* tabs_;
    ChartWidget* chart_;
    GridView* events_;
    GridView* advice_;
    GridView* rises_;
    GridView* falls_;
    GridView* reports_;
    GridView* leftOut_;
    QPlainTextEdit* leftOutMessage_;  // the chosen row's message, whole
    QSplitter* leftOutPage_;          // the grid over the message
};

// What each saved grid or chart of the trend window proposes as its name:
// "trend-SYSA-DB2P-advice BP1 BP2.csv", "trend-SYSA-DB2P-Hit Ratio Over Time
// BP1 BP2.png". The services, sink and folder must outlive the window.
void ConnectTrendExports(frmTrend& window, const AppServices& services, MessageSink& sink, SaveFolder& folder);

// A file named as a history database: *.db, *.sqlite, *.sqlite3.
bool IsHistoryDatabase(const QString& file);

// Asks for the statistics reports of a trend, or one history database, and
// shows the trend window while they are read (the reports on all cores).
// Nothing happens when the user cancels.
void ShowTrendOfChosenReports(QWidget* parent, const AppServices& services, MessageSink& sink, SaveFolder& folder);

}  // namespace kov
