// The chart widget draws exactly the points, texts and values the engine hands
// over: one bar per point whatever its label, titles and labels as plain text,
// value labels in the figure's own format, ticks on round numbers.

#include <gtest/gtest.h>

#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QtCharts/QAbstractBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QValueAxis>

#include "UiFixture.h"
#include "views/AxisTicks.h"
#include "widgets/ChartWidget.h"

namespace kov::test {
namespace {

ChartData Bars(std::vector<ChartPoint> points, std::string subtitle = "Lowest Pages/Write") {
    ChartData chart;
    chart.Kind = ChartKind::Bar;
    chart.Title = "Buffer Pool - BP0     ";
    chart.Subtitle = std::move(subtitle);
    chart.HasObjectSeries = true;
    chart.Points = std::move(points);
    double low = 0, high = 0;
    for (const ChartPoint& point : chart.Points) low = std::min(low, point.Value), high = std::max(high, point.Value);
    chart.Axis = AxisRange{low, high};
    return chart;
}

// A chart as a user sees it: shown at a real size, laid out.
struct ShownChart {
    ChartWidget widget{"ChartUnderTest"};
    explicit ShownChart(const ChartData& data) {
        widget.resize(700, 450);
        widget.Show(data);
        widget.show();
        QApplication::processEvents();
    }
    QStringList Categories() const {
        QStringList names;
        for (const QGraphicsSimpleTextItem* name : widget.BarNames()) names << name->text();
        return names;
    }
    QString TitleAsDrawn() const {
        for (QGraphicsItem* item : widget.scene()->items())
            if (auto* text = dynamic_cast<QGraphicsTextItem*>(item);
                text && text->toPlainText().startsWith("Buffer Pool"))
                return text->toPlainText();
        return {};
    }
    // Whether a free text of the chart reads `text` and is shown.
    bool ShowsText(const QString& text) const {
        for (QGraphicsItem* item : widget.scene()->items())
            if (auto* drawn = dynamic_cast<QGraphicsSimpleTextItem*>(item); drawn && drawn->text() == text)
                return drawn->isVisible();
        return false;
    }
};

TEST(ChartWidget, EveryPointIsItsOwnBarAndAClickNamesItsObject) {
    // "Lowest Pages/Write" with two shared values: equal labels must not merge.
    ShownChart shown(Bars({{"Duplicate Values", 2, 11, "2.00"},
                           {"Duplicate Values", 3, 12, "3.00"},
                           {"DB1.TS4", 4, 13, "4.00"},
                           {"", 0, 0, ""}}));
    const QStringList categories = shown.Categories();
    ASSERT_EQ(categories.size(), 4);
    QSignalSpy clicked(&shown.widget, &ChartWidget::ObjectClicked);
    for (int bar : {0, 1, 2}) {
        ClickBar(&shown.widget, bar);
        ASSERT_EQ(clicked.size(), 1) << "bar " << bar;
        EXPECT_EQ(clicked.takeFirst().at(0).toInt(), 11 + bar) << "bar " << bar;
    }
    for (int bar = 0; bar < 4; ++bar)
        EXPECT_EQ(categories[bar],
                  QString::fromStdString(shown.widget.Shown().Points[static_cast<std::size_t>(bar)].Label));
}

// A report whose pools were not read: its charts keep their titles and say
// so, with no axis whose 0 to 1 would read as figures.
TEST(ChartWidget, NothingToPlotShowsNoAxes) {
    for (const ChartKind kind : {ChartKind::Bar, ChartKind::Line}) {
        ChartData empty = Bars({});
        empty.Kind = kind;
        const ShownChart shown(empty);
        EXPECT_TRUE(shown.widget.chart()->axes().isEmpty());
        EXPECT_EQ(shown.TitleAsDrawn().left(11), "Buffer Pool");
        EXPECT_TRUE(shown.ShowsText("No values to plot"));
    }
}

// Each name stands beside the middle of its own bar, left of the plot and
// inside the chart; only a name the chart is too narrow for is cut short.
TEST(ChartWidget, BarNamesStandBesideTheirBars) {
    const std::string longName(40, 'N');
    const struct {
        int width;
        std::string name;
        bool cut;
    } cases[] = {{700, "DB1.TS4", false}, {700, longName, true}, {1600, longName, false}, {420, "BP32K1", false}};
    for (const auto& c : cases) {
        ShownChart shown(Bars({{"SHORT", 3, 1, "3"}, {c.name, 5, 2, "5"}, {"", 0, 0, ""}, {"X  Y", 4, 3, "4"}}));
        shown.widget.resize(c.width, 450);
        QApplication::processEvents();
        QChart& chart = *shown.widget.chart();
        const QRectF plot = chart.plotArea();
        const auto& names = shown.widget.BarNames();
        ASSERT_EQ(names.size(), 4u) << c.width;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const QRectF box = names[i]->mapRectToScene(names[i]->boundingRect());
            const double middle = chart.mapToPosition(QPointF(0, static_cast<double>(i)), chart.series().front()).y();
            EXPECT_NEAR(box.center().y(), middle, 1.0) << c.width << " bar " << i;
            EXPECT_LE(box.right(), plot.left()) << c.width << " bar " << i;
            EXPECT_GE(box.left(), chart.rect().left()) << c.width << " bar " << i;
        }
        const QString drawn = names[1]->text();
        EXPECT_EQ(drawn != QString::fromStdString(c.name), c.cut) << c.width << " " << drawn.toStdString();
        EXPECT_EQ(drawn.endsWith(QChar(0x2026)), c.cut) << drawn.toStdString();
        EXPECT_EQ(names[3]->text(), "X  Y");  // blanks kept as written
    }
}

// A long subtitle (a trend's system, span and report count) is broken into
// lines where the chart is too narrow for it, and joined again when the
// chart is widened: it is never cut short.
TEST(ChartWidget, ALongSubtitleIsBrokenIntoLinesToFitTheWidth) {
    const QString subtitle = "SYSA/DB2P, 720 reports from 2026-11-01 00:00:00 to 2026-11-30 23:00:00";
    ShownChart shown(Bars({{"A", 1, 1, "1"}}, subtitle.toStdString()));
    const struct {
        int width;
        bool broken;
    } cases[] = {{1200, false}, {420, true}, {900, false}};
    for (const auto& c : cases) {
        shown.widget.resize(c.width, 450);
        QApplication::processEvents();
        QStringList lines = shown.TitleAsDrawn().split('\n');
        ASSERT_GE(lines.size(), 2) << c.width;
        EXPECT_EQ(lines.size() > 2, c.broken) << c.width;
        const QFontMetrics metrics(shown.widget.chart()->titleFont());
        for (const QString& line : lines)
            EXPECT_LT(metrics.horizontalAdvance(line), shown.widget.width()) << line.toStdString();
        lines.removeFirst();
        EXPECT_EQ(lines.join(' ').toStdString(), subtitle.toStdString()) << c.width;
    }
}

TEST(ChartWidget, TitlesAndLabelsAreShownAsPlainText) {
    const struct {
        std::string subtitle;
        std::string label;
    } cases[] = {{"Index < 95% Sys. Hit Ratio", "A<B"}, {"Pages & Writes", "DB1.TS  1"}, {"<b>bold</b>", "&amp;"}};
    for (const auto& c : cases) {
        ShownChart shown(Bars({{c.label, 1, 1, "1"}, {"X", 2, 2, "2"}}, c.subtitle));
        EXPECT_EQ(shown.TitleAsDrawn(), QString::fromStdString("Buffer Pool - BP0     \n" + c.subtitle)) << c.subtitle;
        EXPECT_EQ(shown.Categories().value(0), QString::fromStdString(c.label));
    }
}

// Value labels stand past their bars' ends in the text colour, the longest
// bar's too (in the margin kept for it), never on a bar, never on each other,
// never outside the chart; with sixty bars as with three.
TEST(ChartWidget, ValueLabelsShowTheFigureAsWrittenAndStayReadable) {
    std::vector<ChartPoint> sixty;
    sixty.reserve(60);
    for (int i = 0; i < 60; ++i) sixty.push_back({"BP" + std::to_string(i), 1000.0 * i, 0, std::to_string(1000 * i)});
    for (const ChartData& data :
         {Bars({{"SMALL", 3, 1, "3"}, {"ZERO", 0, 2, "0"}, {"BIG", 1362870, 3, "1,362,870"}}), Bars(sixty)}) {
        ShownChart shown(data);
        const auto& labels = shown.widget.ValueLabels();
        ASSERT_EQ(labels.size(), data.Points.size());
        const QRectF chartArea = shown.widget.chart()->rect();
        QAbstractSeries* series = shown.widget.chart()->series().value(0);
        const QColor text = shown.widget.palette().color(QPalette::WindowText);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i]->text().toStdString(), data.Points[i].ValueText);
            const QRectF box = labels[i]->sceneBoundingRect();
            const QPointF end = shown.widget.chart()->mapToPosition(QPointF(data.Points[i].Value, double(i)), series);
            EXPECT_GE(box.left(), end.x()) << i << ": past the bar's end";
            EXPECT_LE(box.right(), chartArea.right()) << i;
            EXPECT_EQ(labels[i]->brush().color(), text) << i;
            if (i > 0) {
                EXPECT_LE(box.bottom(), labels[i - 1]->sceneBoundingRect().top() + 1) << i << ": no overlap";
            }
        }
        EXPECT_GE(shown.widget.minimumHeight(), static_cast<int>(data.Points.size()) * 16);
    }
}

// The value axis is the engine's: its span (opened below the smallest bar,
// so that bar has a length) and round ticks counted from 0.
TEST(ChartWidget, ValueAxisIsTheEnginesSpanWithRoundTicks) {
    for (const auto& [a, b] : {std::pair{12.0, 12.0}, {200.0, 900.0}, {2438.0, 700.0}}) {
        ChartData data = Bars({{"A", a, 1, "a"}, {"B", b, 2, "b"}});
        data.Axis = AxisRange{std::min(a, b), std::max(a, b)};  // as the analysis fixes it
        ShownChart shown(data);
        auto* axis = qobject_cast<QValueAxis*>(shown.widget.chart()->axes(Qt::Horizontal).value(0));
        ASSERT_NE(axis, nullptr);
        const auto [low, high] = ValueAxisSpan(data);
        EXPECT_DOUBLE_EQ(axis->min(), low) << a << " " << b;
        EXPECT_DOUBLE_EQ(axis->max(), high) << a << " " << b;
        EXPECT_EQ(axis->tickType(), QValueAxis::TicksDynamic);
        EXPECT_DOUBLE_EQ(axis->tickAnchor(), 0);
        EXPECT_DOUBLE_EQ(axis->tickInterval(), RoundTickStep(high - low)) << a << " " << b;
    }
}

// A click on a bar's name chooses the bar, so a bar of no length can be
// chosen too; hovering a bar names it with its value and unit.
TEST(ChartWidget, ABarsNameChoosesItAndHoverNamesIt) {
    ChartData data = Bars({{"DB1.ZERO", 0, 21, "0"}, {"DB1.TS2", 40, 22, "40"}, {"DB1.TS3", 90, 23, "90"}});
    data.Axis = AxisRange{0, 90, false};
    data.ValueUnit = "ms";
    ShownChart shown(data);
    QSignalSpy objects(&shown.widget, &ChartWidget::ObjectClicked);
    QSignalSpy bars(&shown.widget, &ChartWidget::BarClicked);
    for (int bar : {0, 2}) {
        const QPoint label = shown.widget.CategoryLabelCentre(bar);
        EXPECT_EQ(shown.widget.BarOfCategoryLabel(label), bar);
        QTest::mouseClick(shown.widget.viewport(), Qt::LeftButton, {}, label);
        ASSERT_EQ(objects.size(), 1) << bar;
        EXPECT_EQ(objects.takeFirst().at(0).toInt(), 21 + bar);
        EXPECT_EQ(bars.takeFirst().at(0).toInt(), bar);
    }
    QTest::mouseClick(shown.widget.viewport(), Qt::LeftButton, {}, QPoint(2, 2));  // the title's corner
    EXPECT_TRUE(objects.isEmpty());
    auto* series = qobject_cast<QAbstractBarSeries*>(shown.widget.chart()->series().value(0));
    ASSERT_NE(series, nullptr);
    emit series->barSets().front()->hovered(true, 1);
    EXPECT_EQ(shown.widget.toolTip(), "DB1.TS2: 40 ms");
    emit series->barSets().front()->hovered(false, 1);
    EXPECT_TRUE(shown.widget.toolTip().isEmpty());
}

// A slice of nothing is left out of the legend; a pie of negative counters
// writes each counter as it is and says why it cannot show shares.
TEST(ChartWidget, PieLegendLeavesOutEmptySlicesAndNamesNegativeCounters) {
    ChartData pie;
    pie.Kind = ChartKind::Pie;
    pie.Points = {
        {"Sync (120.0%)", -7175, 0, "-7175"}, {"SPref (0.0%)", 0, 0, "0"}, {"LPref (-20.0%)", 1196, 0, "1196"}};
    pie.Note = "Negative counters cannot be drawn as a share.";
    ShownChart shown(pie);
    const QList<QLegendMarker*> markers = shown.widget.chart()->legend()->markers();
    ASSERT_EQ(markers.size(), 3);
    EXPECT_TRUE(markers[0]->isVisible());
    EXPECT_FALSE(markers[1]->isVisible());
    QTextDocument drawn;
    drawn.setHtml(markers[0]->label());
    EXPECT_EQ(drawn.toPlainText().replace(QChar(0xA0), ' '), "Sync (120.0%)  -7175");
    EXPECT_TRUE(shown.ShowsText(QString::fromStdString(pie.Note)));
}

}  // namespace
}  // namespace kov::test
