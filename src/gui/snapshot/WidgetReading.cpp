#include "snapshot/WidgetReading.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QMouseEvent>
#include <QtCharts/QBarSet>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QPieSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>

#include "snapshot/ShownText.h"
#include "views/AxisTicks.h"
#include "widgets/ChartWidget.h"

namespace kov::snapshot {

namespace {

bool HiddenOnPurpose(const QWidget& widget) {
    return widget.testAttribute(Qt::WA_WState_ExplicitShowHide) && widget.isHidden();
}

json Range(const QValueAxis& axis) {
    return {{"min", axis.min()}, {"max", axis.max()}};
}

QValueAxis* ValueAxis(QAbstractSeries& series, Qt::Orientation orientation) {
    for (QAbstractAxis* axis : series.attachedAxes())
        if (axis->orientation() == orientation)
            if (auto* values = qobject_cast<QValueAxis*>(axis)) return values;
    return nullptr;
}

// A slice's value as drawn, or, where its legend writes a figure after the
// slice's text (a counter below 0, which a slice cannot draw), that figure.
json PiePoints(QChart& chart, QPieSeries& series) {
    json points = json::array();
    const QList<QLegendMarker*> markers = chart.legend()->markers(&series);
    for (qsizetype i = 0; i < series.slices().size(); ++i) {
        const QPieSlice* slice = series.slices()[i];
        const std::string label = DrawnText(slice->label());
        double value = slice->value();
        if (i < markers.size()) {
            const std::string legend = DrawnText(markers[i]->label());
            if (legend.size() > label.size() && legend.compare(0, label.size(), label) == 0)
                value = ShownNumber(QString::fromStdString(legend.substr(label.size()))).value_or(value);
        }
        points.push_back({{"label", label}, {"value", value}});
    }
    return points;
}

// The object each bar stands for, in bar order. Read from what the chart
// shows, not by clicking: a click on an object's bar opens its details, and
// reading a window must not change it.
std::vector<int> ObjectsOfBars(const ChartWidget& view, const QBarSet& bars) {
    std::vector<int> objects(static_cast<std::size_t>(bars.count()), 0);
    if (!view.Shown().HasObjectSeries) return objects;
    const auto& points = view.Shown().Points;
    for (std::size_t i = 0; i < objects.size() && i < points.size(); ++i) objects[i] = points[i].Object;
    return objects;
}

// A bar's value as its value label shows it; the bar's own length where the
// label is blank.
json BarPoints(ChartWidget& view, QHorizontalBarSeries& series, json& document) {
    json points = json::array();
    if (series.barSets().isEmpty()) return points;
    QBarSet& bars = *series.barSets().front();
    const auto& names = view.BarNames();
    const std::vector<int> objects = ObjectsOfBars(view, bars);
    const bool carriesObjects = std::any_of(objects.begin(), objects.end(), [](int object) { return object != 0; });
    const auto& valueLabels = view.ValueLabels();
    for (int i = 0; i < bars.count(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        const std::optional<double> shown =
            at < valueLabels.size() ? ShownNumber(valueLabels[at]->text()) : std::nullopt;
        // The name in full, as the chart holds it: a narrow chart shows it cut short.
        json point = {{"label", at < names.size() ? view.Shown().Points[at].Label : std::string()},
                      {"value", shown.value_or(bars.at(i))}};
        if (carriesObjects) point["object"] = objects[at];
        points.push_back(point);
    }
    if (const QValueAxis* axis = ValueAxis(series, Qt::Horizontal)) document["axis"] = Range(*axis);
    return points;
}

// Points drawn as markers stand at explicit x values (pool sizes).
json LinePoints(QLineSeries& series, json& document) {
    json points = json::array();
    for (const QPointF& at : series.points()) {
        json point = {{"value", at.y()}};
        if (series.pointsVisible()) point["x"] = at.x();
        points.push_back(point);
    }
    if (const QValueAxis* axis = ValueAxis(series, Qt::Vertical)) document["axis"] = Range(*axis);
    if (const QValueAxis* axis = ValueAxis(series, Qt::Horizontal); axis && series.pointsVisible())
        document["xAxis"] = Range(*axis);
    return points;
}

}  // namespace

std::string LabelText(const QWidget& root, const QString& name) {
    const auto* label = root.findChild<QLabel*>(name);
    return label ? label->text().toStdString() : std::string();
}

json LabelPairs(const QWidget& root, const QString& captionPrefix, const QString& valuePrefix, int rows) {
    json pairs = json::object();
    for (int row = 0; row < rows; ++row) {
        const auto* caption = root.findChild<QLabel*>(QString("%1_%2").arg(captionPrefix).arg(row));
        const auto* value = root.findChild<QLabel*>(QString("%1_%2").arg(valuePrefix).arg(row));
        if (!caption || !value || HiddenOnPurpose(*caption) || caption->text().isEmpty()) continue;
        pairs[caption->text().toStdString()] = value->text().toStdString();
    }
    return pairs;
}

json GridRows(const QAbstractItemModel& model) {
    json rows = json::array();
    for (int row = 0; row < model.rowCount(); ++row) {
        json cells = json::array();
        for (int column = 0; column < model.columnCount(); ++column)
            cells.push_back(model.data(model.index(row, column), Qt::DisplayRole).toString().toStdString());
        rows.push_back(cells);
    }
    return rows;
}

json Grid(const QAbstractItemModel& model) {
    json headings = json::array();
    for (int column = 0; column < model.columnCount(); ++column)
        headings.push_back(model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().toStdString());
    return {{"headings", headings}, {"rows", GridRows(model)}};
}

json Chart(ChartWidget& view) {
    QChart* chart = view.chart();
    const auto [title, subtitle] = DrawnTitles(chart->title());
    json document = json::object();
    QAbstractSeries* series = chart->series().isEmpty() ? nullptr : chart->series().front();
    if (auto* pie = qobject_cast<QPieSeries*>(series)) {
        document = {{"kind", "pie"}, {"title", title}, {"subtitle", subtitle}};
        document["points"] = PiePoints(*chart, *pie);
    } else if (auto* bars = qobject_cast<QHorizontalBarSeries*>(series)) {
        document = {{"kind", "bar"}, {"title", title}, {"subtitle", subtitle}};
        document["points"] = BarPoints(view, *bars, document);
    } else if (auto* line = qobject_cast<QLineSeries*>(series)) {
        document = {{"kind", "line"}, {"title", title}, {"subtitle", subtitle}};
        document["points"] = LinePoints(*line, document);
    } else {
        document = {{"title", title}, {"subtitle", subtitle}, {"points", json::array()}};
    }
    if (HiddenOnPurpose(view)) document["hidden"] = true;
    return document;
}

void Click(QWidget& widget, QPoint at) {
    const QPointF global = widget.mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

QPoint BarClickPoint(ChartWidget& view, int index) {
    QChart* chart = view.chart();
    auto* series = qobject_cast<QHorizontalBarSeries*>(chart->series().isEmpty() ? nullptr : chart->series().front());
    if (!series || series->barSets().isEmpty()) return {};
    const auto [low, high] = ValueAxisSpan(view.Shown());
    const QPointF base = chart->mapToPosition(QPointF(std::clamp(0.0, low, high), index), series);
    const QPointF end = chart->mapToPosition(QPointF(series->barSets().front()->at(index), index), series);
    if (std::abs(end.x() - base.x()) < 2) return view.CategoryLabelCentre(index);
    return view.mapFromScene(chart->mapToScene((base + end) / 2));
}

}  // namespace kov::snapshot
