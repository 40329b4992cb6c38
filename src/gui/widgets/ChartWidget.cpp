#include "widgets/ChartWidget.h"

#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QLineSeries>
#include <QtCharts/QPieSeries>
#include <QtCharts/QValueAxis>

namespace kov {

ChartWidget::ChartWidget(const char* objectName, QWidget* parent) : QChartView(parent) {
    setObjectName(objectName);
    setRenderHint(QPainter::Antialiasing);
    setMinimumSize(420, 320);
}

void ChartWidget::Show(const ChartData& shown) {
    data_ = shown;
    auto* qchart = new QChart;
    qchart->setTitle(QString::fromStdString(shown.Title) + "<br>" + QString::fromStdString(shown.Subtitle));
    QFont titleFont = qchart->titleFont();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    titleFont.setBold(true);
    qchart->setTitleFont(titleFont);
    // The view takes the new chart and only releases the previous one.
    QChart* previous = chart();
    setChart(qchart);
    delete previous;
    setVisible(!shown.Hidden);
    if (shown.Hidden) return;
    switch (shown.Kind) {
        case ChartKind::Pie: ShowPie(); break;
        case ChartKind::Bar: ShowBars(); break;
        case ChartKind::Line: ShowLine(); break;
    }
}

void ChartWidget::ShowPie() {
    auto* series = new QPieSeries;
    for (const ChartPoint& point : data_.Points) series->append(QString::fromStdString(point.Label), point.Value);
    chart()->addSeries(series);
    chart()->legend()->setAlignment(Qt::AlignRight);
    chart()->legend()->setVisible(true);
}

// Horizontal bars keep long object names readable; the first point is drawn
// at the bottom, so the list's top entry (the last point) stands on top.
void ChartWidget::ShowBars() {
    auto* values = new QBarSet("");
    QStringList labels;
    for (const ChartPoint& point : data_.Points) {
        *values << point.Value;
        labels << QString::fromStdString(point.Label);
    }
    auto* series = new QHorizontalBarSeries;
    series->append(values);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    chart()->addSeries(series);
    chart()->legend()->setVisible(false);
    auto* categories = new QBarCategoryAxis;
    categories->append(labels);
    chart()->addAxis(categories, Qt::AlignLeft);
    series->attachAxis(categories);
    auto* axis = new QValueAxis;
    if (data_.Axis) {
        axis->setRange(std::min(0.0, data_.Axis->Min), data_.Axis->Max * 1.1);
    }
    chart()->addAxis(axis, Qt::AlignBottom);
    series->attachAxis(axis);
    if (!data_.Axis) axis->applyNiceNumbers();
    connect(values, &QBarSet::clicked, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(data_.Points.size()))
            emit ObjectClicked(data_.Points[static_cast<std::size_t>(index)].Object);
    });
}

void ChartWidget::ShowLine() {
    auto* series = new QLineSeries;
    for (std::size_t i = 0; i < data_.Points.size(); ++i) series->append(static_cast<double>(i), data_.Points[i].Value);
    chart()->addSeries(series);
    chart()->createDefaultAxes();
    chart()->legend()->setVisible(false);
}

}  // namespace kov
