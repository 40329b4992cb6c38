#pragma once
// Page 7, "Sim Cluster Analysis": the current pool's objects grouped by their
// maximum working set at one simulated pool size. Four inputs rerun the
// analysis at once: the pool usage intent, the pool size, the cluster radius
// (typed or stepped by a tenth, repeating while a spinner button is held)
// and the simulation number. The grids show the clusters and, for the
// cluster clicked, its members.

#include <QWidget>
#include <string>
#include <vector>

#include "cluster/ClusterAnalysis.h"
#include "common/Message.h"
#include "model/ReportModel.h"
#include "model/UsageIntent.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimer;

namespace kov {

class GridView;
class SpinButtons;

class ClusterPage : public QWidget {
    Q_OBJECT
public:
    // accFolder holds the threshold files Rand.acc and Seq.acc.
    ClusterPage(ReportModel& model, MessageSink& sink, std::string accFolder, QWidget* parent = nullptr);

    // The page switch: the first pool size, then a run with the typed radius.
    void EnterPage();
    // A run with the typed radius: -1 when fewer than three objects qualify,
    // else the number of clusters (0 when a negative radius was refused).
    int RunClusterAnalysis();
    void ShowClusterObjects(int m);

    // Shown without running anything: the shared intent, a new pool's sizes
    // and its simulation number, the simulation's file name.
    void ShowIntent(UsageIntent intent);
    void FillPoolSizes(const std::vector<std::string>& sizes);
    void ShowSimulationNumber(int s);
    // No pool: no pool sizes, no simulation, empty grids.
    void Clear();
    void ShowFileName(const QString& path);
    bool RandomSelected() const;

    // Event handlers.
    void cmbPoolSize_Click();
    void txtClusterRadius_Change();
    void udClusterRadius_Click(int direction);
    void udClusterRadius_Press(int direction);
    void udClusterRadius_Release();
    void tmrClusterRadius_Timer();

    GridView* grdClusters() const { return grdClusters_; }
    GridView* grdClusterObjects() const { return grdClusterObjects_; }
    // The usage intent's option: 0 Sequential, 1 Random.
    QRadioButton* optPoolClusterAnalysisUsage(int index) const { return index == 1 ? random_ : sequential_; }
    QLineEdit* txtClusterRadius() const { return txtClusterRadius_; }
    QComboBox* cmbPoolSize() const { return cmbPoolSize_; }
    SpinButtons* udClusterRadius() const { return udClusterRadius_; }
    QTimer* tmrClusterRadius() const { return tmrClusterRadius_; }
    QLineEdit* txtSimNo() const { return txtSimNo_; }
    SpinButtons* updnSimNo() const { return updnSimNo_; }
    QLabel* lblSimFileName() const { return lblSimFileName_; }
    const ClusterRun& LastRun() const { return run_; }
    bool RadiusRefused() const { return radiusRefused_; }

signals:
    // optPoolClusterAnalysisUsage clicked (0 Sequential, 1 Random); the window
    // shares the intent with the tuning page and reruns the analysis.
    void UsageOptionClicked(int index);
    void StatusTextChanged(const QString& text);
    // The simulation number box was edited, or its spinner clicked: the
    // window runs the change for both simulation pages.
    void SimulationNumberChanged();
    void SimulationStepClicked(int direction);

private:
    // Passes messages on and counts them, so that a held spinner stops
    // repeating once a run has had something to say.
    class CountingSink : public MessageSink {
    public:
        explicit CountingSink(MessageSink& inner) : inner_(inner) {}
        void Show(const Message& message) override {
            ++Shown;
            inner_.Show(message);
        }
        int Shown = 0;

    private:
        MessageSink& inner_;
    };

    void BuildPage();
    void EmptyGrids();
    // Marks the radius box while its text is refused (empty: accepted).
    void ShowRadiusRefusal(const std::string& refusal);
    void WriteRadius(const std::string& text);

    ReportModel& model_;
    CountingSink sink_;
    std::string accFolder_;
    ClusterRun run_;
    int radiusDirection_ = 0;
    bool radiusHeld_ = false;
    bool radiusRefused_ = false;

    QRadioButton* sequential_ = nullptr;
    QRadioButton* random_ = nullptr;
    QComboBox* cmbPoolSize_ = nullptr;
    QLineEdit* txtClusterRadius_ = nullptr;
    SpinButtons* udClusterRadius_ = nullptr;
    QTimer* tmrClusterRadius_ = nullptr;
    QLineEdit* txtSimNo_ = nullptr;
    SpinButtons* updnSimNo_ = nullptr;
    QLabel* lblSimFileName_ = nullptr;
    GridView* grdClusters_ = nullptr;
    GridView* grdClusterObjects_ = nullptr;
};

}  // namespace kov
