#pragma once
// The one chart widget of the program: draws the engine's chart view data
// (pie, bar, line) with Qt Charts and reports a click on a bar with the
// object that bar stands for. It formats and computes nothing itself.

#include <QtCharts/QChartView>

#include "views/ChartData.h"

namespace kov {

class ChartWidget : public QChartView {
    Q_OBJECT
public:
    explicit ChartWidget(const char* objectName, QWidget* parent = nullptr);
    void Show(const ChartData& shown);
    const ChartData& Shown() const { return data_; }

signals:
    // A bar was clicked: the object index its hidden series carries.
    void ObjectClicked(int object);

private:
    void ShowPie();
    void ShowBars();
    void ShowLine();
    ChartData data_;
};

}  // namespace kov
