#pragma once
// The file-selection screen: one statistics report and any number of
// simulation reports are chosen and read here.

#include <QDialog>
#include <QStringList>
#include <optional>

#include "AppServices.h"
#include "common/Message.h"
#include "model/ReportModel.h"
#include "readers/ReportReader.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace kov {

class frmSelectFiles : public QDialog {
    Q_OBJECT
public:
    frmSelectFiles(ReportModel& model, MessageSink& sink, AppState& state, const AppServices& services,
                   QWidget* parent = nullptr);

    // Reads files as if they had been chosen in the file dialogs: the first
    // as the statistics report, the rest as simulation reports.
    void Preload(const QStringList& files);

    void OpenStatisticsFile(const QString& path);
    void OpenSimulationFiles(const QStringList& paths);
    // Where the statistics report opened on this visit stopped being read
    // (empty when it was read to its end); nothing when none was opened here.
    std::optional<ReportReader::ReadStop> StatsReadStop() const {
        return statsOpened_ ? std::optional(reader_.StatsStop) : std::nullopt;
    }

    // The picture shown for the statistics and the simulations: 1 nothing
    // loaded, 2 loaded.
    int StatImage() const { return statImage_; }
    int SimImage() const { return simImage_; }

    void cmdSelectStatFile_Click();
    void cmdSelectSimFile_Click();
    void btnRemove_Click();
    void cmdReset_Click();
    void cmdNext_Click();
    void cmdQuit_Click();
    QPushButton* cmdTrend() const { return cmdTrend_; }

signals:
    // "Trend…" was clicked: many statistics reports are to be followed over time.
    void TrendRequested();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Form_Activate();
    void SetImage(QLabel* label, int& current, int image);
    void AddListEntry(const QString& name);
    void ListLoadedSimulations();
    void ShowProgress(int percent);

    ReportModel& model_;
    MessageSink& sink_;
    AppState& state_;
    const AppServices& services_;
    ReportReader reader_;
    QStringList preload_;
    bool statsOpened_ = false;
    int statImage_ = 1;
    int simImage_ = 1;

    QLabel* lblStatFile_ = nullptr;
    QLabel* lblSimFile_ = nullptr;
    QLabel* imgStat_ = nullptr;
    QLabel* ImgSim_ = nullptr;
    QPushButton* cmdSelectStatFile_ = nullptr;
    QPushButton* cmdSelectSimFile_ = nullptr;
    QGroupBox* fraSelectFiles_ = nullptr;
    QComboBox* cboFiles_ = nullptr;
    QPushButton* btnRemove_ = nullptr;
    QPushButton* cmdNext_ = nullptr;
    QPushButton* cmdReset_ = nullptr;
    QPushButton* cmdQuit_ = nullptr;
    QPushButton* cmdTrend_ = nullptr;
    QProgressBar* pbFileRead_ = nullptr;
    QStatusBar* sbStatus_ = nullptr;
};

}  // namespace kov
