#include "widgets/ChartWidget.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGraphicsLayout>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QToolTip>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QPieLegendMarker>
#include <QtCharts/QPieSeries>
#include <QtCharts/QValueAxis>
#include <cmath>

#include "print/ChartImage.h"
#include "print/ChartPainter.h"
#include "views/AxisTicks.h"

namespace kov {

namespace {

constexpr int ValueLabelGap = 4;
// Room a bar chart keeps above and below its bars (titles, the value axis).
constexpr int BarChartFrame = 150;
constexpr int MinimumChartHeight = 320;
constexpr int TitlePadding = 10;  // each side of the title's text
// Qt Charts tells category labels apart by their text; a repeat is made
// distinct with zero-width spaces, which draw as nothing.
const QChar ZeroWidthSpace(0x200B);

// Free text on a chart (a bar's value or name, a point's value, a note):
// plain text, never markup, in the given colour.
QGraphicsSimpleTextItem* AddChartText(QGraphicsItem* parent, const QString& text, const QBrush& brush) {
    auto* item = new QGraphicsSimpleTextItem(text, parent);
    item->setBrush(brush);
    return item;
}

// Puts the text so that the point of its box that `alignment` names stands
// at `anchor`: Qt::AlignRight | Qt::AlignVCenter puts the middle of its
// right edge there.
void PlaceChartText(QGraphicsSimpleTextItem& text, QPointF anchor, Qt::Alignment alignment) {
    const QRectF box = text.boundingRect();
    if (alignment & Qt::AlignRight)
        anchor.rx() -= box.width();
    else if (alignment & Qt::AlignHCenter)
        anchor.rx() -= box.width() / 2;
    if (alignment & Qt::AlignBottom)
        anchor.ry() -= box.height();
    else if (alignment & Qt::AlignVCenter)
        anchor.ry() -= box.height() / 2;
    text.setPos(anchor);
}

// `line` broken into lines no wider than `width`: after its commas first, so
// it breaks where its sense does, and a part still too wide between its words.
QStringList BrokenToFit(const QString& line, const QFontMetrics& metrics, int width) {
    const auto fits = [&](const QString& text) { return metrics.horizontalAdvance(text) <= width; };
    if (fits(line)) return {line};
    QStringList parts = line.split(QStringLiteral(", "));
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) parts[i] += ',';
    QStringList lines;
    for (const QString& part : parts) {
        for (const QString& word : fits(part) ? QStringList{part} : part.split(' ')) {
            if (!lines.isEmpty() && fits(lines.back() + ' ' + word))
                lines.back() += ' ' + word;
            else
                lines.push_back(word);
        }
    }
    return lines;
}

QString EscapedKeepingBlanks(const QString& text) {
    const QString escaped = text.toHtmlEscaped();
    QString kept;
    kept.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size(); ++i)
        kept += (escaped[i] == ' ' && i > 0 && escaped[i - 1] == ' ') ? QStringLiteral("&nbsp;") : QString(escaped[i]);
    return kept;
}

}  // namespace

// Titles, axis labels and legends are drawn as rich text: the engine's texts
// are escaped, and every blank after a blank kept, so "Index < 95%" or two
// blanks in a name show exactly as written.
QString ChartWidget::PlainText(const std::string& text) {
    return EscapedKeepingBlanks(QString::fromStdString(text));
}

ChartWidget::ChartWidget(const char* objectName, QWidget* parent)
    : QChartView(parent),
      copyImage_(new QAction(QStringLiteral("Copy image"), this)),
      saveImage_(new QAction(QStringLiteral("Save image as…"), this)) {
    setObjectName(objectName);
    setRenderHint(QPainter::Antialiasing);
    setMinimumSize(420, MinimumChartHeight);
    connect(copyImage_, &QAction::triggered, this, &ChartWidget::CopyImage);
    connect(saveImage_, &QAction::triggered, this, &ChartWidget::SaveImageRequested);
}

void ChartWidget::CopyImage() const {
    QGuiApplication::clipboard()->setImage(ChartImage(data_, size()));
}

void ChartWidget::contextMenuEvent(QContextMenuEvent* event) {
    QMenu::exec(ContextActions(), event->globalPos(), nullptr, this);
}

void ChartWidget::Show(const ChartData& shown) {
    data_ = shown;
    valueLabels_.clear();
    barNames_.clear();
    markerLabels_.clear();
    timeLabels_ = nullptr;
    // Sized before the chart is handed over, so it is laid out once.
    setMinimumHeight(shown.Kind == ChartKind::Bar && !shown.Hidden ? BarChartHeight(shown.Points.size())
                                                                   : MinimumChartHeight);
    auto* qchart = new QChart;
    QFont titleFont = qchart->titleFont();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    titleFont.setBold(true);
    qchart->setTitleFont(titleFont);
    FitTitle(*qchart, width());
    ShowUnlessHidden(!shown.Hidden);
    if (!shown.Hidden) Build(*qchart);
    // Built in full before the view takes it, so the view lays it out once.
    // The view only releases the chart it showed before.
    QChart* previous = chart();
    setChart(qchart);
    delete previous;
}

// The title, then the subtitle, each broken into lines where it is wider
// than the chart: a trend's subtitle (system, span, reports) reads whole in
// a narrow window instead of ending in "...".
void ChartWidget::FitTitle(QChart& qchart, int chartWidth) const {
    // The title is laid out inside the chart's layout margins and its own
    // margins, and drawn as a text document with a margin of its own.
    const QMarginsF margins = qchart.margins();
    qreal left = 0, top = 0, right = 0, bottom = 0;
    if (qchart.layout() != nullptr) qchart.layout()->getContentsMargins(&left, &top, &right, &bottom);
    const int room = chartWidth - static_cast<int>(margins.left() + margins.right() + left + right) - 2 * TitlePadding;
    const QFontMetrics metrics(qchart.titleFont());
    QStringList lines;
    for (const std::string& text : {data_.Title, data_.Subtitle}) {
        if (text.empty()) continue;
        for (const QString& line : BrokenToFit(QString::fromStdString(text), metrics, room))
            lines.push_back(EscapedKeepingBlanks(line));
    }
    const QString title = lines.join(QStringLiteral("<br>"));
    if (qchart.title() != title) qchart.setTitle(title);
}

void ChartWidget::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    if (chart() != nullptr) FitTitle(*chart(), event->size().width());
}

void ChartWidget::Build(QChart& qchart) {
    if (data_.Kind != ChartKind::Pie && data_.Points.empty() && data_.Series.empty()) {
        ShowNothingToPlot(qchart);
        return;
    }
    switch (data_.Kind) {
        case ChartKind::Pie:
            ShowPie(qchart);
            break;
        case ChartKind::Bar:
            ShowBars(qchart);
            break;
        case ChartKind::Line:
            if (!data_.Series.empty())
                ShowSeries(qchart);
            else
                data_.XAxis || data_.Points.empty() ? ShowLineAgainstX(qchart) : ShowLine(qchart);
            break;
    }
    ShowNote(qchart);
}

// A chart with nothing to plot (a report whose pools were not read) keeps
// its title and says so, without axes whose 0 to 1 would read as figures.
void ChartWidget::ShowNothingToPlot(QChart& qchart) {
    if (data_.Kind == ChartKind::Bar) {
        auto* bars = new QHorizontalBarSeries;
        bars->append(new QBarSet(""));
        qchart.addSeries(bars);
    } else {
        qchart.addSeries(new QLineSeries);
    }
    qchart.legend()->setVisible(false);
    auto* text = AddChartText(&qchart, QStringLiteral("No values to plot"), palette().color(QPalette::PlaceholderText));
    QChart* plotted = &qchart;
    const auto place = [plotted, text] { PlaceChartText(*text, plotted->rect().center(), Qt::AlignCenter); };
    place();
    connect(plotted, &QChart::geometryChanged, plotted, place);
}

// A chart that is a tab's page is shown by its tab strip: shown here while
// another tab is in front, it would be drawn over that tab's page.
void ChartWidget::ShowUnlessHidden(bool visible) {
    const auto* stack = qobject_cast<const QStackedWidget*>(parentWidget());
    if (visible && stack != nullptr && stack->currentWidget() != this) return;
    setVisible(visible);
}

// The chart's note stands under the plot, in the text colour.
void ChartWidget::ShowNote(QChart& qchart) {
    if (data_.Note.empty()) return;
    auto* note = AddChartText(&qchart, QString::fromStdString(data_.Note), palette().color(QPalette::WindowText));
    QMargins margins = qchart.margins();
    margins.setBottom(margins.bottom() + static_cast<int>(note->boundingRect().height()) + 4 * ValueLabelGap);
    qchart.setMargins(margins);
    const auto place = [&qchart, note] {
        const QRectF area = qchart.rect();
        PlaceChartText(*note, QPointF(area.left() + 16, area.bottom() - 4 * ValueLabelGap),
                       Qt::AlignLeft | Qt::AlignBottom);
    };
    place();
    connect(&qchart, &QChart::geometryChanged, &qchart, place);
}

// A slice of nothing is left out of the legend; a figure the engine writes
// beside a slice (a counter that cannot be a share) follows its legend text.
void ChartWidget::ShowPie(QChart& qchart) {
    auto* series = new QPieSeries;
    for (const ChartPoint& point : data_.Points) series->append(PlainText(point.Label), point.Value);
    qchart.addSeries(series);
    qchart.legend()->setAlignment(Qt::AlignRight);
    qchart.legend()->setVisible(true);
    const QList<QLegendMarker*> markers = qchart.legend()->markers(series);
    for (qsizetype i = 0; i < markers.size() && i < static_cast<qsizetype>(data_.Points.size()); ++i) {
        const ChartPoint& point = data_.Points[static_cast<std::size_t>(i)];
        if (point.Value == 0) markers[i]->setVisible(false);
        if (!point.ValueText.empty())
            markers[i]->setLabel(PlainText(point.Label) + "&nbsp;&nbsp;" + PlainText(point.ValueText));
    }
}

// Horizontal bars keep long object names readable; the first point is drawn
// at the bottom, so the list's top entry (the last point) stands on top.
// Every point is its own bar at its own place, even where two labels read
// the same ("Duplicate Values"), so values and clicks stay with their object.
// The bars stand on a plain axis of places and their names are drawn beside
// it: Qt Charts' category axis lays out every name as a rich-text document,
// several times a layout, most of the time a summary of 60 pools took to fill.
void ChartWidget::ShowBars(QChart& qchart) {
    auto* values = new QBarSet("");
    for (const ChartPoint& point : data_.Points) *values << point.Value;
    auto* series = new QHorizontalBarSeries;
    series->append(values);
    qchart.addSeries(series);
    qchart.legend()->setVisible(false);
    auto* places = new QValueAxis;
    places->setRange(-0.5, static_cast<double>(std::max<std::size_t>(data_.Points.size(), 1)) - 0.5);
    places->setLabelsVisible(false);
    places->setGridLineVisible(false);
    places->setTickCount(2);
    qchart.addAxis(places, Qt::AlignLeft);
    series->attachAxis(places);
    auto* valueAxis = new QValueAxis;
    SetValueRange(*valueAxis);
    valueAxis->setTitleText(PlainText(data_.ValueUnit));
    qchart.addAxis(valueAxis, Qt::AlignBottom);
    series->attachAxis(valueAxis);
    connect(values, &QBarSet::clicked, this, &ChartWidget::ChooseBar);
    connect(values, &QBarSet::hovered, this, &ChartWidget::ShowBarToolTip);
    for (const ChartPoint& point : data_.Points) {
        auto* label =
            AddChartText(&qchart, QString::fromStdString(point.ValueText), palette().color(QPalette::WindowText));
        label->setZValue(1000);  // above the bars
        valueLabels_.push_back(label);
        auto* name = AddChartText(&qchart, QString::fromStdString(point.Label), valueAxis->labelsBrush());
        name->setFont(valueAxis->labelsFont());
        barNames_.push_back(name);
    }
    KeepRoomForValueLabels(qchart);
    KeepRoomForBarNames(qchart, width());
    connect(&qchart, &QChart::geometryChanged, this,
            [this, &qchart] { KeepRoomForBarNames(qchart, qchart.rect().width()); });
    connect(&qchart, &QChart::plotAreaChanged, this, [this, &qchart, series] {
        PlaceValueLabels(qchart, series);
        PlaceBarNames(qchart, series);
    });
}

// The names stand left of the plot: the chart keeps a margin as wide as the
// widest, but at most a third of its width, so the bars keep their room.
void ChartWidget::KeepRoomForBarNames(QChart& qchart, double chartWidth) {
    qreal widest = 0;
    for (std::size_t i = 0; i < barNames_.size() && i < data_.Points.size(); ++i) {
        const QFontMetricsF metrics(barNames_[i]->font());
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(data_.Points[i].Label)));
    }
    QMargins margins = qchart.margins();
    margins.setLeft(static_cast<int>(std::ceil(std::min(widest, chartWidth / 3))) + 2 * ValueLabelGap);
    if (margins != qchart.margins()) qchart.setMargins(margins);
}

// Each name right-aligned beside its bar's middle, cut short with an
// ellipsis only where the chart is too narrow to hold it.
void ChartWidget::PlaceBarNames(QChart& qchart, QAbstractSeries* series) {
    const QRectF plot = qchart.plotArea();
    const double room = plot.left() - qchart.rect().left() - 2 * ValueLabelGap;
    for (std::size_t i = 0; i < barNames_.size() && i < data_.Points.size(); ++i) {
        QGraphicsSimpleTextItem* name = barNames_[i];
        const QString full = QString::fromStdString(data_.Points[i].Label);
        const QFontMetricsF metrics(name->font());
        name->setText(metrics.horizontalAdvance(full) <= room ? full : metrics.elidedText(full, Qt::ElideRight, room));
        const double middle = qchart.mapToPosition(QPointF(0, static_cast<double>(i)), series).y();
        PlaceChartText(*name, QPointF(plot.left() - ValueLabelGap, middle), Qt::AlignRight | Qt::AlignVCenter);
    }
}

// Every bar gets a row two labels high, however many there are, so names
// and value labels never run into their neighbours: a chart of many bars
// grows (its page scrolls) rather than squeeze them.
int ChartWidget::BarChartHeight(std::size_t bars) const {
    const int row = 2 * fontMetrics().height();
    return std::max(MinimumChartHeight, BarChartFrame + row * static_cast<int>(bars));
}

void ChartWidget::ChooseBar(int bar) {
    if (bar < 0 || bar >= static_cast<int>(data_.Points.size())) return;
    emit ObjectClicked(data_.Points[static_cast<std::size_t>(bar)].Object);
    emit BarClicked(bar);
}

// Hovering a bar names it and its value, however narrow the bar.
void ChartWidget::ShowBarToolTip(bool hovering, int bar) {
    if (!hovering || bar < 0 || bar >= static_cast<int>(data_.Points.size())) {
        setToolTip({});
        QToolTip::hideText();
        return;
    }
    const ChartPoint& point = data_.Points[static_cast<std::size_t>(bar)];
    QString text = QString::fromStdString(point.Label);
    if (!point.ValueText.empty()) text += (text.isEmpty() ? "" : ": ") + QString::fromStdString(point.ValueText);
    if (!data_.ValueUnit.empty()) text += " " + QString::fromStdString(data_.ValueUnit);
    setToolTip(text);
    QToolTip::showText(QCursor::pos(), text, this);
}

// Value labels stand past their bars' ends, the longest bar's too: the
// chart keeps a margin on the right as wide as the widest label.
void ChartWidget::KeepRoomForValueLabels(QChart& qchart) {
    qreal widest = 0;
    for (const QGraphicsSimpleTextItem* label : valueLabels_) widest = std::max(widest, label->boundingRect().width());
    QMargins margins = qchart.margins();
    margins.setRight(std::max(margins.right(), static_cast<int>(std::ceil(widest)) + 2 * ValueLabelGap));
    qchart.setMargins(margins);
}

// The bars' names stand left of the plot area, one band per bar.
int ChartWidget::BarOfCategoryLabel(QPoint at) const {
    QChart* shown = chart();
    if (data_.Kind != ChartKind::Bar || shown->series().isEmpty() || data_.Points.empty()) return -1;
    const QPointF inChart = shown->mapFromScene(mapToScene(at));
    const QRectF plot = shown->plotArea();
    if (inChart.x() >= plot.left() || inChart.x() < shown->rect().left() || inChart.y() < plot.top() ||
        inChart.y() > plot.bottom())
        return -1;
    const double place = shown->mapToValue(QPointF(plot.left(), inChart.y()), shown->series().front()).y();
    const long bar = std::lround(place);
    return bar >= 0 && bar < static_cast<long>(data_.Points.size()) ? static_cast<int>(bar) : -1;
}

QPoint ChartWidget::CategoryLabelCentre(int bar) const {
    QChart* shown = chart();
    if (shown->series().isEmpty()) return {};
    const QRectF plot = shown->plotArea();
    const double y = shown->mapToPosition(QPointF(0, bar), shown->series().front()).y();
    return mapFromScene(shown->mapToScene(QPointF(plot.left() - 20, y)));
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
    QChartView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    if (const int bar = BarOfCategoryLabel(event->position().toPoint()); bar >= 0) ChooseBar(bar);
}

// The value axis spans the range the analysis fixes, opened below its
// smallest value (ValueAxisSpan), or the points and 0 where it fixes none,
// with ticks on round numbers inside it.
void ChartWidget::SetValueRange(QValueAxis& axis) const {
    const auto [low, high] = ValueAxisSpan(data_);
    axis.setRange(low, high);
    UseRoundTicks(axis);
}

// Ticks on round numbers from 0, inside the axis's range.
void ChartWidget::UseRoundTicks(QValueAxis& axis) {
    const double step = RoundTickStep(axis.max() - axis.min());
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0);
    axis.setTickInterval(step);
    axis.setLabelFormat(QStringLiteral("%.%1f").arg(TickDecimals(step)));
}

// A value label stands just past its bar's end (right of a bar growing
// right, left of one growing left), in the text colour, so it reads on short
// and empty bars alike and never on a bar; the margin kept for the labels
// holds the longest bar's.
void ChartWidget::PlaceValueLabels(QChart& qchart, QAbstractSeries* series) {
    const QRectF plot = qchart.plotArea();
    const auto [low, high] = ValueAxisSpan(data_);
    const double base = qchart.mapToPosition(QPointF(std::clamp(0.0, low, high), 0), series).x();
    for (std::size_t i = 0; i < valueLabels_.size() && i < data_.Points.size(); ++i) {
        QGraphicsSimpleTextItem& label = *valueLabels_[i];
        const QPointF end = qchart.mapToPosition(QPointF(data_.Points[i].Value, static_cast<double>(i)), series);
        if (end.x() >= base) {
            PlaceChartText(label, QPointF(end.x() + ValueLabelGap, end.y()), Qt::AlignLeft | Qt::AlignVCenter);
        } else {
            PlaceChartText(label, QPointF(end.x() - ValueLabelGap, end.y()), Qt::AlignRight | Qt::AlignVCenter);
            label.setX(std::max(plot.left(), label.x()));
        }
    }
}

void ChartWidget::ShowLine(QChart& qchart) {
    auto* series = new QLineSeries;
    for (std::size_t i = 0; i < data_.Points.size(); ++i) series->append(static_cast<double>(i), data_.Points[i].Value);
    qchart.addSeries(series);
    qchart.createDefaultAxes();
    qchart.legend()->setVisible(false);
    for (QAbstractAxis* axis : qchart.axes(Qt::Vertical)) axis->setTitleText(PlainText(data_.ValueUnit));
}

}  // namespace kov

namespace kov {

// A line through points with explicit x values (simulated pool sizes), both
// axes over the ranges the analysis fixed (a range of one value widened, so a
// flat line still has an axis to stand on); a line without points
// (a simulation the pool does not have) gets plain axes.
void ChartWidget::ShowLineAgainstX(QChart& qchart) {
    auto* series = new QLineSeries;
    for (const ChartPoint& point : data_.Points) series->append(point.X.value_or(0), point.Value);
    series->setPointsVisible(true);
    qchart.addSeries(series);
    qchart.legend()->setVisible(false);
    // Pool sizes are whole buffers; rates and ratios need a few digits.
    const auto axisOver = [](const std::optional<AxisRange>& range, const char* tickFormat) {
        auto* axis = new QValueAxis;
        axis->setLabelFormat(tickFormat);
        if (range) {
            const auto [low, high] = DrawnSpan(range->Min, range->Max);
            axis->setRange(low, high);
        }
        return axis;
    };
    QValueAxis* x = axisOver(data_.XAxis, "%.0f");
    // Evenly spaced sizes (the usual simulation) then get a tick each.
    if (data_.Points.size() >= 2 && data_.Points.size() <= 16) x->setTickCount(static_cast<int>(data_.Points.size()));
    QValueAxis* y = axisOver(data_.Axis, "%.6g");
    UseRoundTicks(*y);
    x->setTitleText(PlainText(data_.XUnit));
    y->setTitleText(PlainText(data_.ValueUnit));
    qchart.addAxis(x, Qt::AlignBottom);
    qchart.addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    LabelLinePoints(qchart, series);
}

// A point's value text stands just above it, as on paper: the figure at each
// simulated size, or which point is the current and the recommended one.
void ChartWidget::LabelLinePoints(QChart& qchart, QAbstractSeries* series) {
    std::vector<std::pair<QGraphicsSimpleTextItem*, QPointF>> labels;
    for (const ChartPoint& point : data_.Points) {
        if (point.ValueText.empty()) continue;
        auto* label =
            AddChartText(&qchart, QString::fromStdString(point.ValueText), palette().color(QPalette::WindowText));
        label->setZValue(1000);
        labels.emplace_back(label, QPointF(point.X.value_or(0), point.Value));
    }
    connect(&qchart, &QChart::plotAreaChanged, this, [&qchart, series, labels] {
        for (const auto& [label, value] : labels) {
            const QPointF at = qchart.mapToPosition(value, series);
            PlaceChartText(*label, QPointF(at.x(), at.y() - ValueLabelGap), Qt::AlignHCenter | Qt::AlignBottom);
        }
    });
}

}  // namespace kov

namespace kov {

namespace {

// Qt Charts tells category labels apart by their text.
QString Distinct(QString text, const QStringList& taken) {
    while (taken.contains(text)) text += ZeroWidthSpace;
    return text;
}

}  // namespace

// The x axis of a chart of several lines: the engine's labels (dates) at
// their places (FitTimeLabels chooses them), or plain numbers where it gives none.
QAbstractAxis* ChartWidget::TimeAxis() const {
    const auto [low, high] = data_.XAxis ? DrawnSpan(data_.XAxis->Min, data_.XAxis->Max) : DrawnSpan(0, 0);
    // Room beyond the first and last report for half a date label each:
    // Qt Charts hides a label that would stand out of its axis.
    const double pad = (high - low) * 0.05;
    if (data_.XLabelSets.empty()) {
        auto* axis = new QValueAxis;
        axis->setRange(low - pad, high + pad);
        return axis;
    }
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setRange(low - pad, high + pad);
    // Each label ends a category. The first category starts outside the
    // axis: the unnamed start would hide the first label next to it.
    axis->setStartValue(low - pad - (high - low));
    // FitTimeLabels keeps the labels apart; elided they would lose the date.
    axis->setTruncateLabels(false);
    return axis;
}

const std::vector<XMark>& ChartWidget::TimeLabels() const {
    static const std::vector<XMark> none;
    return timeLabels_ ? *timeLabels_ : none;
}

// The densest set of date labels that stand apart at the plot's width, a
// blank of a wide letter between neighbours; chosen again as the plot
// changes width, so a narrow window shows fewer labels, never overprinted ones.
void ChartWidget::FitTimeLabels(QCategoryAxis& axis, const QRectF& plot) {
    const QFontMetricsF metrics(axis.labelsFont());
    const double span = axis.max() - axis.min();
    const std::vector<XMark>& fitting = FittingXLabels(
        data_, [&](double x) { return plot.left() + (x - axis.min()) / span * plot.width(); },
        [&](const std::string& text) { return metrics.horizontalAdvance(QString::fromStdString(text)); },
        metrics.horizontalAdvance(QLatin1Char('M')) * 2);
    if (&fitting == timeLabels_) return;
    timeLabels_ = &fitting;
    for (const QString& label : axis.categoriesLabels()) axis.remove(label);
    QStringList taken;
    for (const XMark& label : fitting) {
        const QString text = Distinct(QString::fromStdString(label.Text), taken);
        taken << text;
        axis.append(text, label.X);
    }
}

// Lines two pixels wide read best, but the painter strokes a wide line as an
// outline, point by point: a month of hourly reports of 60 pools took 0.4 s
// to draw that way. Past a few pools' worth of points the lines are one
// pixel wide, which the painter draws directly (a third of the time).
QPen ChartWidget::SeriesLinePen(std::size_t series, std::size_t points) {
    constexpr std::size_t MostWidePoints = 3000;  // four pools over a month of hourly reports
    QPen pen(SeriesColour(series), points <= MostWidePoints ? 2 : 1);
    pen.setCosmetic(points > MostWidePoints);
    return pen;
}

// One colour a series, every run of it in that colour and only its first
// run named in the legend; hovering a line names the nearest report.
void ChartWidget::ShowSeries(QChart& qchart) {
    QAbstractAxis* x = TimeAxis();
    auto* y = new QValueAxis;
    SetValueRange(*y);
    x->setTitleText(PlainText(data_.XUnit));
    y->setTitleText(PlainText(data_.ValueUnit));
    qchart.addAxis(x, Qt::AlignBottom);
    qchart.addAxis(y, Qt::AlignLeft);
    if (auto* dates = qobject_cast<QCategoryAxis*>(x)) {
        FitTimeLabels(*dates, qchart.plotArea());
        connect(&qchart, &QChart::plotAreaChanged, dates,
                [this, dates](const QRectF& plot) { FitTimeLabels(*dates, plot); });
    }
    std::size_t points = 0;
    for (const ChartSeries& series : data_.Series)
        for (const std::vector<ChartPoint>& run : series.Runs) points += run.size();
    for (std::size_t i = 0; i < data_.Series.size(); ++i) {
        bool named = false;
        for (const std::vector<ChartPoint>& run : data_.Series[i].Runs) {
            auto* line = new QLineSeries;
            line->setName(PlainText(data_.Series[i].Name));
            line->setPen(SeriesLinePen(i, points));
            line->setPointsVisible(run.size() == 1);
            QList<QPointF> places;
            places.reserve(static_cast<qsizetype>(run.size()));
            for (const ChartPoint& point : run) places.append(QPointF(point.X.value_or(0), point.Value));
            line->append(places);
            qchart.addSeries(line);
            line->attachAxis(x);
            line->attachAxis(y);
            qchart.legend()->markers(line).front()->setVisible(!named);
            named = true;
            connect(line, &QLineSeries::hovered, this, [this, i](const QPointF& at, bool hovering) {
                ShowHoverText(hovering ? SeriesPointText(i, at) : QString());
            });
        }
    }
    ShowMarkers(qchart, x, y);
    // Past the colours a legend names lines it cannot tell apart (and has
    // no room for their names): hovering names a line instead.
    qchart.legend()->setVisible(data_.Series.size() <= SeriesColourCount());
    qchart.legend()->setAlignment(Qt::AlignBottom);
}

// A dashed line across the plot at each marked report, its text along the
// top, rows taking turns so that neighbouring texts do not overprint.
void ChartWidget::ShowMarkers(QChart& qchart, QAbstractAxis* x, QValueAxis* y) {
    std::vector<double> places;
    std::vector<QString> texts;
    for (const XMark& marker : data_.Markers) {
        auto* line = new QLineSeries;
        line->setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DashLine));
        line->append(marker.X, y->min());
        line->append(marker.X, y->max());
        qchart.addSeries(line);
        line->attachAxis(x);
        line->attachAxis(y);
        qchart.legend()->markers(line).front()->setVisible(false);
        const double place = marker.X;
        connect(line, &QLineSeries::hovered, this, [this, place](const QPointF&, bool hovering) {
            ShowHoverText(hovering ? MarkerText(place) : QString());
        });
        // On a backing of the paper colour, so the text reads where it
        // stands over a line (a short plot leaves little room above them).
        auto* backing = new QGraphicsRectItem(&qchart);
        backing->setZValue(1000);
        backing->setPen(Qt::NoPen);
        QColor paper = palette().color(QPalette::Base);
        paper.setAlpha(210);
        backing->setBrush(paper);
        texts.push_back(QString::fromStdString(marker.Text));
        auto* label = AddChartText(backing, texts.back(), palette().color(QPalette::WindowText));
        backing->setRect(label->boundingRect().adjusted(-2, 0, 2, 0));
        markerLabels_.push_back(label);
        places.push_back(marker.X);
    }
    if (places.empty()) return;
    // The texts and their widths stay while the plot changes size: taken once here,
    // only placed again on each change of the plot area.
    const QFontMetricsF metrics(markerLabels_.front()->font());
    std::vector<double> widths;
    widths.reserve(texts.size());
    for (const QString& text : texts) widths.push_back(metrics.horizontalAdvance(text) + 4);
    const int row = fontMetrics().height();
    QAbstractSeries* anchor = qchart.series().front();
    connect(&qchart, &QChart::plotAreaChanged, this,
            [this, &qchart, places, texts, widths, metrics, anchor, row](const QRectF& plot) {
                std::vector<double> lines;
                lines.reserve(places.size());
                for (const double place : places) lines.push_back(qchart.mapToPosition(QPointF(place, 0), anchor).x());
                const std::vector<MarkerTextPlace> placed =
                    PlaceMarkerTexts(lines, widths, plot.left(), plot.right(), 3, 2);
                for (std::size_t k = 0; k < placed.size(); ++k) {
                    QGraphicsSimpleTextItem* label = markerLabels_[k];
                    label->setText(placed[k].Width >= widths[k]
                                       ? texts[k]
                                       : metrics.elidedText(texts[k], Qt::ElideRight, placed[k].Width - 4));
                    auto* backing = static_cast<QGraphicsRectItem*>(label->parentItem());
                    backing->setRect(label->boundingRect().adjusted(-2, 0, 2, 0));
                    backing->setPos(placed[k].Left + 2, plot.top() + 2 + placed[k].Row * row);
                }
            });
}

void ChartWidget::ShowHoverText(const QString& text) {
    setToolTip(text);
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(QCursor::pos(), text, this);
}

QString ChartWidget::SeriesPointText(std::size_t series, QPointF value) const {
    if (series >= data_.Series.size()) return {};
    const ChartPoint* nearest = nullptr;
    for (const std::vector<ChartPoint>& run : data_.Series[series].Runs)
        for (const ChartPoint& point : run)
            if (!nearest || std::abs(point.X.value_or(0) - value.x()) < std::abs(nearest->X.value_or(0) - value.x()))
                nearest = &point;
    if (!nearest) return {};
    QString text = QString::fromStdString(data_.Series[series].Name + ": " + nearest->ValueText);
    if (!data_.ValueUnit.empty()) text += " " + QString::fromStdString(data_.ValueUnit);
    return text + "\n" + QString::fromStdString(nearest->Label);
}

QString ChartWidget::MarkerText(double x) const {
    for (const XMark& marker : data_.Markers)
        if (marker.X == x) return QString::fromStdString(marker.Text);
    return {};
}

}  // namespace kov
