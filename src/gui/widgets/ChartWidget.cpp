#include "widgets/ChartWidget.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGraphicsSimpleTextItem>
#include <QGuiApplication>
#include <QMenu>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QLineSeries>
#include <QtCharts/QPieSeries>
#include <QtCharts/QValueAxis>
#include <cmath>

#include "print/ChartImage.h"
#include "views/AxisTicks.h"

namespace kov {

namespace {

constexpr int ValueLabelGap = 4;
// Qt Charts tells category labels apart by their text; a repeat is made
// distinct with zero-width spaces, which draw as nothing.
const QChar ZeroWidthSpace(0x200B);

}  // namespace

// Titles, axis labels and legends are drawn as rich text: the engine's texts
// are escaped, and every blank after a blank kept, so "Index < 95%" or two
// blanks in a name show exactly as written.
QString ChartWidget::PlainText(const std::string& text) {
    const QString escaped = QString::fromStdString(text).toHtmlEscaped();
    QString kept;
    kept.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size(); ++i)
        kept += (escaped[i] == ' ' && i > 0 && escaped[i - 1] == ' ') ? QStringLiteral("&nbsp;") : QString(escaped[i]);
    return kept;
}

ChartWidget::ChartWidget(const char* objectName, QWidget* parent)
    : QChartView(parent),
      copyImage_(new QAction(QStringLiteral("Copy image"), this)),
      saveImage_(new QAction(QStringLiteral("Save image as…"), this)) {
    setObjectName(objectName);
    setRenderHint(QPainter::Antialiasing);
    setMinimumSize(420, 320);
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
    auto* qchart = new QChart;
    QString title = PlainText(shown.Title);
    if (!shown.Subtitle.empty()) title += "<br>" + PlainText(shown.Subtitle);
    qchart->setTitle(title);
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
        case ChartKind::Pie:
            ShowPie();
            break;
        case ChartKind::Bar:
            ShowBars();
            break;
        case ChartKind::Line:
            shown.XAxis || shown.Points.empty() ? ShowLineAgainstX() : ShowLine();
            break;
    }
}

void ChartWidget::ShowPie() {
    auto* series = new QPieSeries;
    for (const ChartPoint& point : data_.Points) series->append(PlainText(point.Label), point.Value);
    chart()->addSeries(series);
    chart()->legend()->setAlignment(Qt::AlignRight);
    chart()->legend()->setVisible(true);
}

// Horizontal bars keep long object names readable; the first point is drawn
// at the bottom, so the list's top entry (the last point) stands on top.
// Every point is its own bar with its own category, even where two labels
// read the same ("Duplicate Values"), so values and clicks stay with their
// object.
void ChartWidget::ShowBars() {
    auto* values = new QBarSet("");
    QStringList categories;
    for (const ChartPoint& point : data_.Points) {
        *values << point.Value;
        QString category = PlainText(point.Label);
        while (categories.contains(category)) category += ZeroWidthSpace;
        categories << category;
    }
    auto* series = new QHorizontalBarSeries;
    series->append(values);
    chart()->addSeries(series);
    chart()->legend()->setVisible(false);
    auto* categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(categories);
    chart()->addAxis(categoryAxis, Qt::AlignLeft);
    series->attachAxis(categoryAxis);
    auto* valueAxis = new QValueAxis;
    SetValueRange(*valueAxis);
    chart()->addAxis(valueAxis, Qt::AlignBottom);
    series->attachAxis(valueAxis);
    connect(values, &QBarSet::clicked, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(data_.Points.size()))
            emit ObjectClicked(data_.Points[static_cast<std::size_t>(index)].Object);
    });
    for (const ChartPoint& point : data_.Points) {
        auto* label = new QGraphicsSimpleTextItem(QString::fromStdString(point.ValueText), chart());
        label->setZValue(1000);  // above the bars: a label placed inside its bar must not be covered by it
        valueLabels_.push_back(label);
    }
    connect(chart(), &QChart::plotAreaChanged, this, [this, series] { PlaceValueLabels(series); });
}

// The value axis spans exactly the range the analysis fixes (the smallest to
// the largest plotted value), or the points and 0 where it fixes none, with
// ticks on round numbers inside it. Where a bar's value label finds no room
// past the bar's end, it goes inside the bar.
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

// A value label stands just past its bar's end, in the text colour, so it
// reads on short and empty bars alike; where that would leave the plot area it
// goes inside the bar's end in white.
void ChartWidget::PlaceValueLabels(QAbstractSeries* series) {
    const QRectF plot = chart()->plotArea();
    for (std::size_t i = 0; i < valueLabels_.size() && i < data_.Points.size(); ++i) {
        QGraphicsSimpleTextItem* label = valueLabels_[i];
        const QPointF end = chart()->mapToPosition(QPointF(data_.Points[i].Value, static_cast<double>(i)), series);
        const QRectF box = label->boundingRect();
        QPointF at(end.x() + ValueLabelGap, end.y() - box.height() / 2);
        QColor colour = palette().color(QPalette::WindowText);
        if (at.x() + box.width() > plot.right()) {
            at.setX(end.x() - ValueLabelGap - box.width());
            colour = Qt::white;
        }
        label->setBrush(colour);
        label->setPos(at);
    }
}

void ChartWidget::ShowLine() {
    auto* series = new QLineSeries;
    for (std::size_t i = 0; i < data_.Points.size(); ++i) series->append(static_cast<double>(i), data_.Points[i].Value);
    chart()->addSeries(series);
    chart()->createDefaultAxes();
    chart()->legend()->setVisible(false);
}

}  // namespace kov

namespace kov {

// A line through points with explicit x values (simulated pool sizes), both
// axes over the ranges the analysis fixed. A range of one value is widened a
// little, so a flat line still has an axis to stand on; a line without points
// (a simulation the pool does not have) gets plain axes.
void ChartWidget::ShowLineAgainstX() {
    auto* series = new QLineSeries;
    for (const ChartPoint& point : data_.Points) series->append(point.X.value_or(0), point.Value);
    series->setPointsVisible(true);
    chart()->addSeries(series);
    chart()->legend()->setVisible(false);
    // Pool sizes are whole buffers; rates and ratios need a few digits.
    const auto axisOver = [](const std::optional<AxisRange>& range, const char* tickFormat) {
        auto* axis = new QValueAxis;
        axis->setLabelFormat(tickFormat);
        if (range) {
            const double pad = range->Max > range->Min ? 0 : std::max(1.0, std::abs(range->Max) * 0.05);
            axis->setRange(range->Min - pad, range->Max + pad);
        }
        return axis;
    };
    QValueAxis* x = axisOver(data_.XAxis, "%.0f");
    // Evenly spaced sizes (the usual simulation) then get a tick each.
    if (data_.Points.size() >= 2 && data_.Points.size() <= 16) x->setTickCount(static_cast<int>(data_.Points.size()));
    QValueAxis* y = axisOver(data_.Axis, "%.6g");
    UseRoundTicks(*y);
    chart()->addAxis(x, Qt::AlignBottom);
    chart()->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    LabelLinePoints(series);
}

// A point's value text stands just above it, as on paper: the figure at each
// simulated size, or which point is the current and the recommended one.
void ChartWidget::LabelLinePoints(QAbstractSeries* series) {
    std::vector<std::pair<QGraphicsSimpleTextItem*, QPointF>> labels;
    for (const ChartPoint& point : data_.Points) {
        if (point.ValueText.empty()) continue;
        auto* label = new QGraphicsSimpleTextItem(QString::fromStdString(point.ValueText), chart());
        label->setZValue(1000);
        label->setBrush(palette().color(QPalette::WindowText));
        labels.emplace_back(label, QPointF(point.X.value_or(0), point.Value));
    }
    connect(chart(), &QChart::plotAreaChanged, this, [this, series, labels] {
        for (const auto& [label, value] : labels) {
            const QPointF at = chart()->mapToPosition(value, series);
            const QRectF box = label->boundingRect();
            label->setPos(at.x() - box.width() / 2, at.y() - box.height() - ValueLabelGap);
        }
    });
}

}  // namespace kov
