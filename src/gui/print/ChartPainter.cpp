#include "print/ChartPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

#include "print/PaperFonts.h"
#include "views/AxisTicks.h"

namespace kov {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Fills that stay apart on a black-and-white printer, darkest first.
constexpr std::array<Qt::BrushStyle, 8> kFills = {Qt::Dense3Pattern, Qt::BDiagPattern,    Qt::Dense6Pattern,
                                                  Qt::CrossPattern,  Qt::FDiagPattern,    Qt::Dense4Pattern,
                                                  Qt::HorPattern,    Qt::DiagCrossPattern};

// Colours that stay apart for colour-blind readers too.
constexpr std::array<QRgb, 8> kColours = {0x0072B2, 0xE69F00, 0x009E73, 0xCC79A7,
                                          0x56B4E9, 0xD55E00, 0xF0E442, 0x999999};

QBrush Fill(std::size_t i, ChartFills fills) {
    if (fills == ChartFills::Colours) return QBrush(QColor(kColours[i % kColours.size()]));
    return QBrush(Qt::black, kFills[i % kFills.size()]);
}

// Titles at the top of the box, a title too wide for it broken between
// words as the window breaks it; returns the room left for the plot.
QRectF PaintTitles(QPainter& painter, const ChartData& chart, const QRectF& box) {
    double y = box.top();
    for (const auto& [text, font] : {std::pair{chart.Title, PaperFont(PaperText::ChartTitle)},
                                     std::pair{chart.Subtitle, PaperFont(PaperText::Label)}}) {
        if (text.empty()) continue;
        painter.setFont(font);
        const double lineHeight = QFontMetricsF(font).height();
        const QRectF room(box.left(), y, box.width(), box.bottom() - y);
        const QRectF needed =
            painter.boundingRect(room, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, Text(text));
        const double lines = std::max(1.0, std::round(needed.height() / lineHeight));
        const double height = lineHeight * (lines + 0.2);
        painter.drawText(QRectF(box.left(), y, box.width(), height), Qt::AlignCenter | Qt::TextWordWrap, Text(text));
        y += height;
    }
    return QRectF(box.left(), y + 120, box.width(), box.bottom() - y - 120);
}

// The room tick labels need beside (width) or under (height) the plot.
QSizeF TickLabelRoom(const AxisTicks& ticks, const QFont& font) {
    const QFontMetricsF metrics(font);
    double width = 0;
    for (double value : ticks.Values)
        width = std::max(width, metrics.horizontalAdvance(Text(TickText(value, ticks.Decimals))));
    return {width + 60, metrics.height() * 1.3};
}

// The plot's frame and its value gridlines on the axis's round ticks, each
// tick named outside the frame: under it for bars, left of it for lines.
void PaintValueGrid(QPainter& painter, const QRectF& plot, const AxisTicks& ticks, double low, double high,
                    Qt::Orientation values) {
    painter.setFont(PaperFont(PaperText::Small));
    const double labelHeight = QFontMetricsF(painter.font()).height() * 1.3;
    for (double value : ticks.Values) {
        const double share = (value - low) / (high - low);
        const QString text = Text(TickText(value, ticks.Decimals));
        painter.setPen(QPen(Qt::gray, 6, Qt::DotLine));
        if (values == Qt::Horizontal) {
            const double x = plot.left() + share * plot.width();
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            painter.setPen(Qt::black);
            painter.drawText(QRectF(x - 600, plot.bottom() + 20, 1200, labelHeight), Qt::AlignHCenter | Qt::AlignTop,
                             text);
        } else {
            const double y = plot.bottom() - share * plot.height();
            painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            painter.setPen(Qt::black);
            painter.drawText(QRectF(plot.left() - 2400, y - labelHeight / 2, 2340, labelHeight),
                             Qt::AlignRight | Qt::AlignVCenter, text);
        }
    }
    painter.setPen(QPen(Qt::black, 10));
    painter.drawRect(plot);
}

// The room a value axis's title takes under the plot (nothing without one).
double AxisUnitRoom(const ChartData& chart) {
    return chart.ValueUnit.empty() && chart.XUnit.empty() ? 0
                                                          : QFontMetricsF(PaperFont(PaperText::Small)).height() * 1.3;
}

// An axis's title (the figure's unit) centred along it: under the plot for a
// horizontal axis, turned upright left of it for a vertical one.
void PaintAxisUnit(QPainter& painter, const std::string& unit, const QRectF& room, Qt::Orientation along) {
    if (unit.empty()) return;
    painter.save();
    painter.setFont(PaperFont(PaperText::Small));
    painter.setPen(Qt::black);
    if (along == Qt::Horizontal) {
        painter.drawText(room, Qt::AlignCenter, Text(unit));
    } else {
        painter.translate(room.center());
        painter.rotate(-90);
        painter.drawText(QRectF(-room.height() / 2, -room.width() / 2, room.height(), room.width()), Qt::AlignCenter,
                         Text(unit));
    }
    painter.restore();
}

// Horizontal bars as on the screen: the first point at the bottom, each bar
// named on its left and its value written at its end.
void PaintBars(QPainter& painter, const ChartData& chart, const QRectF& area, ChartFills fills) {
    const std::size_t count = chart.Points.size();
    if (count == 0) return;
    const double unitHeight = AxisUnitRoom(chart);
    const double slot = (area.height() - TickLabelRoom({}, PaperFont(PaperText::Small)).height() - unitHeight) /
                        static_cast<double>(count);
    QFont font = PaperFont(PaperText::Small);
    font.setPixelSize(std::clamp(static_cast<int>(slot * 0.7), 60, font.pixelSize()));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    double labelWidth = 0, valueWidth = 0;
    for (const ChartPoint& point : chart.Points) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(Text(point.Label)));
        valueWidth = std::max(valueWidth, metrics.horizontalAdvance(Text(point.ValueText)));
    }
    labelWidth = std::min(labelWidth + 80, area.width() * 0.35);
    // Plain variables: the lambdas below capture them (clang 14 cannot capture a structured binding).
    const auto [lowEnd, highEnd] = ValueAxisSpan(chart);
    const double low = lowEnd, high = highEnd;
    const AxisTicks ticks = TicksBetween(low, high);
    const double tickHeight = TickLabelRoom(ticks, PaperFont(PaperText::Small)).height();
    const QRectF plot(area.left() + labelWidth, area.top(), area.width() - labelWidth - valueWidth - 80,
                      area.height() - tickHeight - unitHeight);
    PaintValueGrid(painter, plot, ticks, low, high, Qt::Horizontal);
    PaintAxisUnit(painter, chart.ValueUnit, QRectF(plot.left(), plot.bottom() + tickHeight, plot.width(), unitHeight),
                  Qt::Horizontal);
    painter.setFont(font);
    const auto xOf = [&](double value) { return plot.left() + (value - low) / (high - low) * plot.width(); };
    // Bars grow from zero, or from the axis end nearest to it.
    const double base = std::clamp(0.0, low, high);
    painter.setPen(QPen(Qt::black, 8));
    painter.drawLine(QPointF(xOf(base), plot.top()), QPointF(xOf(base), plot.bottom()));
    for (std::size_t i = 0; i < count; ++i) {
        const ChartPoint& point = chart.Points[i];
        const double top = plot.bottom() - slot * static_cast<double>(i + 1);
        const double value = std::clamp(point.Value, low, high);
        const QRectF bar =
            QRectF(QPointF(xOf(base), top + slot * 0.15), QPointF(xOf(value), top + slot * 0.85)).normalized();
        painter.setBrush(Fill(0, fills));
        painter.drawRect(bar);
        painter.drawText(QRectF(area.left(), top, labelWidth - 60, slot), Qt::AlignRight | Qt::AlignVCenter,
                         metrics.elidedText(Text(point.Label), Qt::ElideRight, labelWidth - 60));
        if (!point.ValueText.empty())
            painter.drawText(QRectF(bar.right() + 40, top, valueWidth + 40, slot), Qt::AlignLeft | Qt::AlignVCenter,
                             Text(point.ValueText));
    }
    painter.setBrush(Qt::NoBrush);
}

// A pie on the left, its legend (fill and label) on the right.
void PaintPie(QPainter& painter, const ChartData& chart, const QRectF& area, ChartFills fills) {
    double total = 0;
    for (const ChartPoint& point : chart.Points) total += std::max(point.Value, 0.0);
    const double noteRoom = chart.Note.empty() ? 0 : QFontMetricsF(PaperFont(PaperText::Label)).height() * 1.6;
    const double diameter = std::min(area.width() * 0.55, area.height() - noteRoom);
    const QRectF circle(area.left(), area.top() + (area.height() - noteRoom - diameter) / 2, diameter, diameter);
    painter.setPen(QPen(Qt::black, 10));
    double start = 90 * 16;
    for (std::size_t i = 0; i < chart.Points.size() && total > 0; ++i) {
        const double span = std::max(chart.Points[i].Value, 0.0) / total * 360 * 16;
        painter.setBrush(Fill(i, fills));
        painter.drawPie(circle, static_cast<int>(std::lround(start)), -static_cast<int>(std::lround(span)));
        start -= span;
    }
    if (total <= 0) painter.drawEllipse(circle);
    const QFont font = PaperFont(PaperText::Label);
    painter.setFont(font);
    const double line = QFontMetricsF(font).height() * 1.5;
    // A slice of nothing has no place in the legend; a counter that cannot
    // be a share is written after its legend text.
    double y = circle.top();
    for (std::size_t i = 0; i < chart.Points.size(); ++i) {
        const ChartPoint& point = chart.Points[i];
        if (point.Value == 0) continue;
        const QRectF swatch(circle.right() + 360, y, line * 0.8, line * 0.8);
        painter.setBrush(Fill(i, fills));
        painter.drawRect(swatch);
        const QString text = point.ValueText.empty() ? Text(point.Label) : Text(point.Label + "  " + point.ValueText);
        painter.drawText(QRectF(swatch.right() + 120, y, area.right() - swatch.right() - 120, line * 0.8),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
        y += line;
    }
    if (!chart.Note.empty())
        painter.drawText(QRectF(area.left(), area.bottom() - line, area.width(), line),
                         Qt::AlignLeft | Qt::AlignVCenter, Text(chart.Note));
    painter.setBrush(Qt::NoBrush);
}

// Points joined in order over their x values (or their places), each labelled
// below the plot.
void PaintLine(QPainter& painter, const ChartData& chart, const QRectF& area) {
    const std::size_t count = chart.Points.size();
    if (count == 0) return;
    const QFont font = PaperFont(PaperText::Small);
    painter.setFont(font);
    const double labelHeight = QFontMetricsF(font).height() * 1.4;
    const auto [lowEnd, highEnd] = ValueAxisSpan(chart);
    double low = lowEnd, high = highEnd;
    const AxisTicks ticks = TicksBetween(low, high);
    const double unitRoom = AxisUnitRoom(chart);
    const double tickWidth = TickLabelRoom(ticks, font).width() + unitRoom;
    const QRectF plot(area.left() + tickWidth, area.top(), area.width() - tickWidth - 240,
                      area.height() - labelHeight - unitRoom);
    PaintValueGrid(painter, plot, ticks, low, high, Qt::Vertical);
    PaintAxisUnit(painter, chart.ValueUnit, QRectF(area.left(), plot.top(), unitRoom, plot.height()), Qt::Vertical);
    PaintAxisUnit(painter, chart.XUnit, QRectF(plot.left(), plot.bottom() + labelHeight, plot.width(), unitRoom),
                  Qt::Horizontal);
    painter.setFont(font);
    const auto xValue = [&](std::size_t i) { return chart.Points[i].X.value_or(static_cast<double>(i)); };
    double xLow = chart.XAxis ? chart.XAxis->Min : xValue(0), xHigh = chart.XAxis ? chart.XAxis->Max : xValue(0);
    if (!chart.XAxis)
        for (std::size_t i = 0; i < count; ++i) xLow = std::min(xLow, xValue(i)), xHigh = std::max(xHigh, xValue(i));
    std::tie(xLow, xHigh) = DrawnSpan(xLow, xHigh);
    const auto at = [&](std::size_t i) {
        return QPointF(plot.left() + (xValue(i) - xLow) / (xHigh - xLow) * plot.width(),
                       plot.bottom() - (chart.Points[i].Value - low) / (high - low) * plot.height());
    };
    QPainterPath path(at(0));
    for (std::size_t i = 1; i < count; ++i) path.lineTo(at(i));
    painter.setPen(QPen(Qt::black, 24));
    painter.drawPath(path);
    painter.setBrush(Qt::black);
    const double every = std::ceil(static_cast<double>(count) / 16);  // at most 16 labels under the plot
    for (std::size_t i = 0; i < count; ++i) {
        const QPointF point = at(i);
        painter.drawEllipse(point, 40, 40);
        if (!chart.Points[i].ValueText.empty())
            painter.drawText(QRectF(point.x() - 600, point.y() - 260, 1200, 200), Qt::AlignCenter,
                             Text(chart.Points[i].ValueText));
        if (i % static_cast<std::size_t>(every) == 0)
            painter.drawText(QRectF(point.x() - 600, plot.bottom() + 40, 1200, labelHeight),
                             Qt::AlignHCenter | Qt::AlignTop, Text(chart.Points[i].Label));
    }
    painter.setBrush(Qt::NoBrush);
}

// A line for each series: colours in images, dash patterns on paper.
QPen SeriesPen(std::size_t i, ChartFills fills) {
    constexpr std::array<Qt::PenStyle, 4> kDashes = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine};
    if (fills == ChartFills::Colours) return QPen(SeriesColour(i), 24);
    return QPen(Qt::black, 24, kDashes[i % kDashes.size()]);
}

// The series' names under the plot, each after a stretch of its line.
void PaintSeriesLegend(QPainter& painter, const ChartData& chart, const QRectF& room, ChartFills fills) {
    double x = room.left();
    const QFontMetricsF metrics(painter.font());
    for (std::size_t i = 0; i < chart.Series.size(); ++i) {
        const QString name = Text(chart.Series[i].Name);
        painter.setPen(SeriesPen(i, fills));
        painter.drawLine(QPointF(x, room.center().y()), QPointF(x + 360, room.center().y()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x + 420, room.top(), metrics.horizontalAdvance(name) + 60, room.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
        x += 420 + metrics.horizontalAdvance(name) + 360;
    }
}

// Several lines over x values (a figure over the reports): each series'
// runs joined, a dashed marker line with its text at each marked x, the x
// labels under the plot and the series named under them.
void PaintSeries(QPainter& painter, const ChartData& chart, const QRectF& area, ChartFills fills) {
    const QFont font = PaperFont(PaperText::Small);
    painter.setFont(font);
    const double labelHeight = QFontMetricsF(font).height() * 1.4;
    const auto span = ValueAxisSpan(chart);
    // Plain names, not a structured binding: the lambda below captures them.
    const double low = span.first, high = span.second;
    const AxisTicks ticks = TicksBetween(low, high);
    const double unitRoom = AxisUnitRoom(chart);
    // The first and last date labels are centred on the plot's edges.
    const QFontMetricsF labelMetrics(font);
    double halfLabel = 0;
    for (const std::vector<XMark>& labels : chart.XLabelSets)
        for (const XMark& label : labels)
            halfLabel = std::max(halfLabel, labelMetrics.horizontalAdvance(Text(label.Text)) / 2 + 60);
    const double tickWidth = std::max(TickLabelRoom(ticks, font).width() + unitRoom, halfLabel);
    const QRectF plot(area.left() + tickWidth, area.top(), area.width() - tickWidth - halfLabel,
                      area.height() - 3 * labelHeight - unitRoom);
    PaintValueGrid(painter, plot, ticks, low, high, Qt::Vertical);
    PaintAxisUnit(painter, chart.ValueUnit, QRectF(area.left(), plot.top(), unitRoom, plot.height()), Qt::Vertical);
    const auto xSpan = chart.XAxis ? DrawnSpan(chart.XAxis->Min, chart.XAxis->Max) : DrawnSpan(0, 0);
    // Plain names, not a structured binding: the lambda below captures them.
    const double xLow = xSpan.first, xHigh = xSpan.second;
    const auto at = [&](double x, double value) {
        return QPointF(plot.left() + (x - xLow) / (xHigh - xLow) * plot.width(),
                       plot.bottom() - (value - low) / (high - low) * plot.height());
    };
    painter.setFont(font);
    painter.setPen(Qt::black);
    const std::vector<XMark>& dates = FittingXLabels(
        chart, [&](double x) { return at(x, low).x(); },
        [&](const std::string& text) { return labelMetrics.horizontalAdvance(Text(text)); },
        labelMetrics.horizontalAdvance(QLatin1Char('M')) * 2);
    for (const XMark& label : dates) {
        const double x = at(label.X, low).x();
        painter.drawText(QRectF(x - halfLabel, plot.bottom() + 40, 2 * halfLabel, labelHeight),
                         Qt::AlignHCenter | Qt::AlignTop, Text(label.Text));
    }
    for (std::size_t i = 0; i < chart.Series.size(); ++i)
        for (const std::vector<ChartPoint>& run : chart.Series[i].Runs) {
            if (run.empty()) continue;
            QPainterPath path(at(run[0].X.value_or(0), run[0].Value));
            for (const ChartPoint& point : run) path.lineTo(at(point.X.value_or(0), point.Value));
            painter.setPen(SeriesPen(i, fills));
            painter.drawPath(path);
            if (run.size() == 1) painter.drawEllipse(path.currentPosition(), 30, 30);
        }
    // Marker texts at the top of the plot, where the value axis leaves room
    // above the lines for two rows.
    const QFontMetricsF metrics(font);
    std::vector<double> lines, widths;
    for (const XMark& marker : chart.Markers) {
        const double x = at(marker.X, low).x();
        painter.setPen(QPen(Qt::darkGray, 12, Qt::DashLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        lines.push_back(x);
        widths.push_back(metrics.horizontalAdvance(Text(marker.Text)) + 40);
    }
    const std::vector<MarkerTextPlace> placed = PlaceMarkerTexts(lines, widths, plot.left(), plot.right(), 40, 2);
    painter.setPen(Qt::black);
    for (std::size_t k = 0; k < placed.size(); ++k) {
        const QString text = metrics.elidedText(Text(chart.Markers[k].Text), Qt::ElideRight, placed[k].Width - 40);
        painter.drawText(
            QRectF(placed[k].Left, plot.top() + 20 + placed[k].Row * labelHeight, placed[k].Width, labelHeight),
            Qt::AlignLeft | Qt::AlignTop, text);
    }
    PaintAxisUnit(painter, chart.XUnit, QRectF(plot.left(), plot.bottom() + labelHeight, plot.width(), unitRoom),
                  Qt::Horizontal);
    painter.setFont(font);
    if (chart.Series.size() <= SeriesColourCount())
        PaintSeriesLegend(painter, chart,
                          QRectF(plot.left(), plot.bottom() + labelHeight + unitRoom, plot.width(), labelHeight),
                          fills);
}

}  // namespace

QColor SeriesColour(std::size_t i) {
    return QColor(kColours[i % kColours.size()]);
}

std::size_t SeriesColourCount() {
    return kColours.size();
}

void PaintChart(QPainter& painter, const ChartData& chart, const QRectF& box, ChartFills fills) {
    if (chart.Hidden) return;
    painter.save();
    const QRectF area = PaintTitles(painter, chart, box);
    switch (chart.Kind) {
        case ChartKind::Bar:
            PaintBars(painter, chart, area, fills);
            break;
        case ChartKind::Pie:
            PaintPie(painter, chart, area, fills);
            break;
        case ChartKind::Line:
            chart.Series.empty() ? PaintLine(painter, chart, area) : PaintSeries(painter, chart, area, fills);
            break;
    }
    painter.restore();
}

}  // namespace kov
