// The chart widget draws exactly the points, texts and values the engine hands
// over: one bar per point whatever its label, titles and labels as plain text,
// value labels in the figure's own format, ticks on round numbers.

#include <gtest/gtest.h>

#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QValueAxis>

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
        for (QAbstractAxis* axis : widget.chart()->axes(Qt::Vertical))
            if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis)) return categories->categories();
        return {};
    }
    QValueAxis* ValueAxis() const { return qobject_cast<QValueAxis*>(widget.chart()->axes(Qt::Horizontal).value(0)); }
    QString TitleAsDrawn() const {
        for (QGraphicsItem* item : widget.scene()->items())
            if (auto* text = dynamic_cast<QGraphicsTextItem*>(item);
                text && text->toPlainText().startsWith("Buffer Pool"))
                return text->toPlainText();
        return {};
    }
    // A real click in the middle of bar `index` (0 = bottom).
    void ClickBar(int index, double value) {
        QAbstractSeries* series = widget.chart()->series().value(0);
        const QPointF scene = widget.chart()->mapToPosition(QPointF(value / 2, index), series);
        QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, widget.mapFromScene(scene));
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
        shown.ClickBar(bar, shown.widget.Shown().Points[static_cast<std::size_t>(bar)].Value);
        ASSERT_EQ(clicked.size(), 1) << "bar " << bar;
        EXPECT_EQ(clicked.takeFirst().at(0).toInt(), 11 + bar) << "bar " << bar;
    }
    for (int bar = 0; bar < 4; ++bar) {
        QTextDocument drawn;
        drawn.setHtml(categories[bar]);
        EXPECT_EQ(drawn.toPlainText().remove(QChar(0x200B)),
                  QString::fromStdString(shown.widget.Shown().Points[static_cast<std::size_t>(bar)].Label));
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
        QTextDocument drawn;
        drawn.setHtml(shown.Categories().value(0));
        EXPECT_EQ(drawn.toPlainText().replace(QChar(0xA0), ' '), QString::fromStdString(c.label));
    }
}

TEST(ChartWidget, ValueLabelsShowTheFigureAsWrittenAndStayReadable) {
    // One bar far longer than the others: the short ones keep their labels
    // outside the bar, in the text colour; none leaves the plot area.
    ShownChart shown(Bars({{"SMALL", 3, 1, "3"}, {"ZERO", 0, 2, "0"}, {"BIG", 1362870, 3, "1,362,870"}}));
    const auto& labels = shown.widget.ValueLabels();
    ASSERT_EQ(labels.size(), 3u);
    const QRectF plot = shown.widget.chart()->plotArea();
    const QColor text = shown.widget.palette().color(QPalette::WindowText);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(labels[i]->text().toStdString(), shown.widget.Shown().Points[i].ValueText);
        const QRectF box = labels[i]->sceneBoundingRect();
        EXPECT_GE(box.left(), plot.left() - 1) << i;
        EXPECT_LE(box.right(), plot.right() + 1) << i;
    }
    EXPECT_EQ(labels[0]->brush().color(), text) << "a short bar's label stands beside it";
    EXPECT_EQ(labels[1]->brush().color(), text);
}

TEST(ChartWidget, ValueAxisTicksFallOnRoundNumbersFromZero) {
    ShownChart shown(Bars({{"A", 2438, 1, "2,438"}, {"B", 700, 2, "700"}}));
    QValueAxis* axis = shown.ValueAxis();
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(axis->tickType(), QValueAxis::TicksDynamic);
    EXPECT_DOUBLE_EQ(axis->tickAnchor(), 0);
    EXPECT_DOUBLE_EQ(axis->tickInterval(), 500);
    EXPECT_DOUBLE_EQ(axis->min(), 0) << "exactly the range the analysis fixes";
    EXPECT_DOUBLE_EQ(axis->max(), 2438);
}

}  // namespace
}  // namespace kov::test
