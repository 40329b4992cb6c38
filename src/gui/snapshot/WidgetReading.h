#pragma once
// Reads what the window's widgets display: label texts, a view's model as
// displayed, a chart as drawn by Qt Charts. Nothing here looks at the view
// data a page was handed, so a fault in the last step (a label, a merged bar,
// a title read as markup) shows up in what is read.

#include <QPoint>
#include <nlohmann/json.hpp>
#include <string>

class QAbstractItemModel;
class QWidget;

namespace kov {
class ChartWidget;
}

namespace kov::snapshot {

using json = nlohmann::ordered_json;

// The caption/value label pairs named captionPrefix_i and valuePrefix_i
// under root, as {caption: value}; rows hidden on purpose or without a
// caption are left out.
json LabelPairs(const QWidget& root, const QString& captionPrefix, const QString& valuePrefix, int rows);
// The text of the label called name under root ("" when there is none).
std::string LabelText(const QWidget& root, const QString& name);

// A grid as displayed: {"headings": [...], "rows": [[...], ...]}.
json Grid(const QAbstractItemModel& model);
json GridRows(const QAbstractItemModel& model);

// A chart as drawn: kind, titles, one point per slice, bar or line point
// with its label and value, the objects its bars report when clicked, the
// axis ranges as set; a hidden chart as "hidden" without points.
json Chart(ChartWidget& view);

// A left-button click at a point of a widget, as the mouse gives it.
void Click(QWidget& widget, QPoint at);
// Where a click chooses bar `index` of a bar chart, in the chart view's
// viewport: the bar's middle, or its category label where the bar has no
// length to click (a value of 0 on an axis from 0).
QPoint BarClickPoint(ChartWidget& view, int index);

}  // namespace kov::snapshot
