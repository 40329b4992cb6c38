#pragma once
// Page 6, "Sim Graph Analysis": four charts of the current pool's current
// simulation on the sub-tabs of tbsSimGraphs (largest and smallest working
// sets, pool size against hit ratio or read I/O rate, the objects that gain
// most), the measure options, the simulation number box shared with the
// cluster page, and the details panel of a clicked object.

#include <QWidget>

#include "analysis/SimGraphs.h"
#include "common/Message.h"
#include "model/ReportModel.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kov {

class ChartWidget;
class GridView;
class SpinButtons;

class SimGraphPage : public QWidget {
    Q_OBJECT
public:
    enum SubTab { LargestWorkSet = 0, SmallestWorkSet = 1, OptimalPoolSizes = 2, LargestImprovement = 3 };

    SimGraphPage(ReportModel& model, MessageSink& sink, QWidget* parent = nullptr);

    // The page switch: the pool-size sub-tab, then both working-set charts.
    // The window then selects the first measure option.
    void EnterPage();
    void ChartLargestWorkSets();
    void ChartSmallestWorkSets();
    // The pool-size and improvement charts of measure option 0 or 1.
    void DrawImprovementCharts(int option);
    // The option now selected (0 "Sys Hit Ratio", 1 "I/O Rate"), and
    // selecting one as the page switch does, which runs its click.
    int SelectedImprovementOption() const;
    void SelectImprovementOption(int option);

    // No report shown: the page as a new window has it, the details panel
    // closed and forgotten, the first sub-tab and measure chosen.
    void Clear();

    void ShowSimDetailColumns();
    void ShowSimObjectDetails(int object, const QString& name);
    void cmdClose_Click();
    void tbsSimGraphs_Click();

    // Shown without running the change: a new pool's number, the file name.
    void ShowSimulationNumber(int s);
    void ShowFileName(const QString& path);

    QTabWidget* tbsSimGraphs() const { return tabs_; }
    ChartWidget* Chart(SubTab tab) const { return charts_[tab]; }
    // What a sub-tab's chart shows, or will show once its sub-tab is chosen.
    const ChartData& Shown(SubTab tab) const { return latest_[tab]; }
    QRadioButton* optGreatestImprovement(int option) const { return options_[option]; }
    QLineEdit* txtSimNo() const { return txtSimNo_; }
    SpinButtons* updnSimNo() const { return updnSimNo_; }
    QLabel* lblSimFileName() const { return lblSimFileName_; }
    QWidget* pnlSimAnalysisDetails() const { return panel_; }
    QLabel* lblSimObjName() const { return lblSimObjName_; }
    GridView* lvSimObjectDetails() const { return lvSimObjectDetails_; }
    QPushButton* cmdClose() const { return cmdClose_; }
    QPushButton* cmdSizeAdvice() const { return cmdSizeAdvice_; }

signals:
    void ImprovementOptionClicked(int option);
    // The number box was edited (by typing or by a spinner step).
    void SimulationNumberChanged();
    void SimulationStepClicked(int direction);
    // "Size Advice…" was clicked: the advice for the simulation number shown.
    void SizeAdviceRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildPage();
    void BuildDetailsPanel();
    void PlacePanel();
    void ShowChart(SubTab tab, const ChartData& chart);
    void DrawChosenChart();
    void ChartPointClicked(SubTab tab, int object);
    int Pool() const { return model_.CurrentPool; }
    int Slot() const { return model_.CurrentSimulation; }

    ReportModel& model_;
    MessageSink& sink_;
    bool panelFilled_ = false;
    // Only the chosen sub-tab's chart is drawn at once; the others when
    // their sub-tab is chosen, which keeps entering the page within a frame.
    ChartData latest_[4];
    bool drawn_[4] = {true, true, true, true};

    QTabWidget* tabs_ = nullptr;
    ChartWidget* charts_[4] = {};
    QRadioButton* options_[2] = {};
    QLineEdit* txtSimNo_ = nullptr;
    SpinButtons* updnSimNo_ = nullptr;
    QLabel* lblSimFileName_ = nullptr;
    QWidget* panel_ = nullptr;
    QLabel* lblSimObjName_ = nullptr;
    GridView* lvSimObjectDetails_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    QPushButton* cmdSizeAdvice_ = nullptr;
};

}  // namespace kov
