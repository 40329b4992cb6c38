#pragma once
// The one chart widget of the program: draws the engine's chart view data
// (pie, bar, line) with Qt Charts and reports a click on a bar with the
// object that bar stands for. Its context menu copies the chart as an image
// or saves it as a file. It formats and computes nothing itself.

#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>
#include <string>
#include <vector>

#include "views/ChartData.h"

class QGraphicsSimpleTextItem;
class QCategoryAxis;

namespace kov {

class ChartWidget : public QChartView {
    Q_OBJECT
public:
    explicit ChartWidget(const char* objectName, QWidget* parent = nullptr);
    void Show(const ChartData& shown);
    const ChartData& Shown() const { return data_; }
    // The bars' value labels as drawn, in point order.
    const std::vector<QGraphicsSimpleTextItem*>& ValueLabels() const { return valueLabels_; }
    // The bars' names beside the value axis as drawn, in point order.
    const std::vector<QGraphicsSimpleTextItem*>& BarNames() const { return barNames_; }

    // The context menu's entries: "Copy image" and "Save image as…".
    QList<QAction*> ContextActions() const { return {copyImage_, saveImage_}; }
    // Puts the chart on the clipboard, drawn at the widget's size.
    void CopyImage() const;

    // An engine text as rich text that shows it character for character.
    static QString PlainText(const std::string& text);

    // The bar whose category label lies under a point of the viewport; -1
    // where there is none. A click there chooses the bar, so a bar of no
    // length can be chosen too.
    int BarOfCategoryLabel(QPoint at) const;

    // What hovering a chart of several lines shows near a value position:
    // the nearest point of that series (its value and its report) or the
    // marker's text; empty where nothing is near.
    QString SeriesPointText(std::size_t series, QPointF value) const;
    QString MarkerText(double x) const;
    // The marker texts as drawn, in marker order.
    const std::vector<QGraphicsSimpleTextItem*>& MarkerLabels() const { return markerLabels_; }
    // The date labels drawn under a chart of several lines: the densest of
    // the chart's sets that stand apart at the plot's width.
    const std::vector<XMark>& TimeLabels() const;
    // The middle of a bar's category label, in viewport coordinates.
    QPoint CategoryLabelCentre(int bar) const;

signals:
    // A bar (or its category label) was clicked: the object index its hidden
    // series carries.
    void ObjectClicked(int object);
    // The same click by the bar's place in the points (0 = the first point).
    void BarClicked(int bar);
    // "Save image as…" was chosen: the window asks for the file and its size.
    void SaveImageRequested();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Build(QChart& qchart);
    void FitTitle(QChart& qchart, int chartWidth) const;
    void ShowNothingToPlot(QChart& qchart);
    void ShowPie(QChart& qchart);
    void ShowBars(QChart& qchart);
    void ShowLine(QChart& qchart);
    void SetValueRange(QValueAxis& axis) const;
    static void UseRoundTicks(QValueAxis& axis);
    int BarChartHeight(std::size_t bars) const;
    void ChooseBar(int bar);
    void ShowBarToolTip(bool hovering, int bar);
    void KeepRoomForValueLabels(QChart& qchart);
    void PlaceValueLabels(QChart& qchart, QAbstractSeries* series);
    void KeepRoomForBarNames(QChart& qchart, double chartWidth);
    void PlaceBarNames(QChart& qchart, QAbstractSeries* series);
    void ShowUnlessHidden(bool visible);
    void ShowNote(QChart& qchart);
    void ShowLineAgainstX(QChart& qchart);
    void LabelLinePoints(QChart& qchart, QAbstractSeries* series);
    void ShowSeries(QChart& qchart);
    QAbstractAxis* TimeAxis() const;
    static QPen SeriesLinePen(std::size_t series, std::size_t points);
    void FitTimeLabels(QCategoryAxis& axis, const QRectF& plot);
    void ShowMarkers(QChart& qchart, QAbstractAxis* x, QValueAxis* y);
    void ShowHoverText(const QString& text);
    ChartData data_;
    std::vector<QGraphicsSimpleTextItem*> valueLabels_;   // owned by the chart
    std::vector<QGraphicsSimpleTextItem*> barNames_;      // owned by the chart
    std::vector<QGraphicsSimpleTextItem*> markerLabels_;  // owned by the chart
    const std::vector<XMark>* timeLabels_ = nullptr;      // the date labels drawn, one of data_'s sets
    QAction* copyImage_;
    QAction* saveImage_;
};

}  // namespace kov
