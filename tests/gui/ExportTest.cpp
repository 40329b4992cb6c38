// Copy and export in the window: every grid's Ctrl+C, "Copy" and "Save as
// CSV…", every chart's "Copy image" and "Save image as…".

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "UiFixture.h"
#include "pages/ReportInfoPage.h"
#include "support/CsvReader.h"
#include "views/CsvTable.h"
#include "views/GridSort.h"
#include "views/PageStatus.h"
#include "widgets/ChartWidget.h"

namespace kov::test {
namespace {

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    for (const QString& field : QString::fromStdString(line).split(separator)) fields.push_back(field.toStdString());
    return fields;
}

void ExpectFieldsAreRow(const std::vector<std::string>& fields, GridView* grid, int row) {
    std::vector<std::string> cells;
    for (int c = 0; c < grid->model()->columnCount(); ++c) cells.push_back(grid->Cell(row, c).toStdString());
    EXPECT_EQ(fields.size(), cells.size()) << "row " << row;
    ExpectFieldsAreCells(fields, cells);
}

std::vector<std::string> ClipboardLines() {
    std::vector<std::string> lines = Split(QGuiApplication::clipboard()->text().toStdString(), '\n');
    EXPECT_EQ(lines.back(), "") << "every line ends in a line feed";
    lines.pop_back();
    return lines;
}

QString ActionTexts(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* action : actions) texts << action->text();
    return texts.join('|');
}

// Pixels that are not white: something was drawn.
int InkedPixels(const QImage& image) {
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) inked += image.pixelColor(x, y).lightness() < 200;
    return inked;
}

using GridExport = SamplesWindow;
TEST_F(GridExport, EveryGridOffersCopyAndSaveAsCsv) {
    ASSERT_FALSE(window->findChildren<GridView*>().isEmpty());
    for (GridView* grid : window->findChildren<GridView*>())
        EXPECT_EQ(ActionTexts(grid->ContextActions()), "Copy|Save as CSV…") << grid->objectName().toStdString();
    for (ChartWidget* chart : window->findChildren<ChartWidget*>())
        EXPECT_EQ(ActionTexts(chart->ContextActions()), "Copy image|Save image as…")
            << chart->objectName().toStdString();
}

TEST_F(GridExport, CopyPutsTheSelectedRowsUnderTheirHeadingsOnTheClipboard) {
    GridView* grid = window->ReportInfo()->grdPoolInfo();
    ASSERT_GE(grid->model()->rowCount(), 3);
    ClickHeading(grid, 2);  // sorted: the copy follows the order shown, without the marker
    ASSERT_TRUE(Heading(grid, 2).endsWith(" (A)"));

    ClickRow(grid, 2);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      grid->visualRect(grid->model()->index(0, 0)).center());
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    std::vector<std::string> lines = ClipboardLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(Split(lines[0], '\t'), grid->Model()->Grid().PlainHeadings());
    ExpectFieldsAreRow(Split(lines[1], '\t'), grid, 0);
    ExpectFieldsAreRow(Split(lines[2], '\t'), grid, 2);

    // The menu's "Copy" after a plain click takes that row alone.
    QGuiApplication::clipboard()->clear();
    ClickRow(grid, 1);
    grid->ContextActions()[0]->trigger();
    lines = ClipboardLines();
    ASSERT_EQ(lines.size(), 2u);
    ExpectFieldsAreRow(Split(lines[1], '\t'), grid, 1);
}

TEST_F(GridExport, SaveAsCsvWritesTheWholeGridAsShownOrSaysWhyNot) {
    window->tbsStats()->setCurrentIndex(PageObjectInfo);  // the object grid is filled when its page shows
    GridView* grid = window->findChild<GridView*>("grdObjectInfo");
    ASSERT_GE(grid->model()->rowCount(), 2);
    ClickHeading(grid, 3);
    QTemporaryDir folder;
    ui.nextSaveFile = folder.filePath("objects.csv");
    grid->ContextActions()[1]->trigger();

    ASSERT_EQ(ui.saveQuestions.size(), 1u);
    EXPECT_EQ(ui.saveQuestions[0].ProposedName, "SYSA_DB2P_20261130-BP0-objects.csv");
    EXPECT_EQ(ui.saveQuestions[0].Filters.value(0), "CSV Files (*.csv)");
    EXPECT_EQ(ui.saveQuestions[0].Folder, SampleFolder()) << "the reports' folder, until another is chosen";
    // The CSV text itself is read back in the engine's tests.
    EXPECT_EQ(FileBytes(ui.nextSaveFile).toStdString(), CsvText(grid->Model()->Grid()));
    EXPECT_TRUE(ui.sink.Messages.empty());

    ui.nextSaveFile = folder.filePath("no-such-folder/objects.csv");
    grid->ContextActions()[1]->trigger();
    EXPECT_EQ(ui.saveQuestions[1].Folder, QFileInfo(folder.path()).absoluteFilePath());
    ASSERT_EQ(ui.sink.Messages.size(), 1u);
    EXPECT_EQ(ui.sink.Messages[0].Title, "Save as CSV");
    EXPECT_EQ(ui.sink.Messages[0].Icon, MessageIcon::Exclamation);
    EXPECT_NE(ui.sink.Messages[0].Text.find("no-such-folder/objects.csv"), std::string::npos);

    ui.nextSaveFile.clear();  // cancelled: nothing written, nothing said
    grid->ContextActions()[1]->trigger();
    EXPECT_EQ(ui.sink.Messages.size(), 1u);
}

// The samples' pool chart, shown on its page.
class ChartExport : public SamplesWindow {
protected:
    ChartWidget* chart = nullptr;
    QTemporaryDir folder;

    ChartExport() {
        window->tbsStats()->setCurrentIndex(PagePoolInfo);
        chart = window->findChild<ChartWidget*>("chart1BPool");
    }
    // "Save image as…" answered with this file and size.
    void Save(const QString& name, QSize size) {
        ui.nextSaveFile = name.isEmpty() ? QString() : folder.filePath(name);
        ui.nextImageSize = size;
        chart->ContextActions()[1]->trigger();
    }
};

TEST_F(ChartExport, CopyImageAndSaveImageDrawTheChart) {
    ASSERT_FALSE(chart->Shown().Points.empty());
    chart->ContextActions()[0]->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), chart->size());
    EXPECT_GT(InkedPixels(copied), 500);

    Save("chart.svg", QSize(900, 600));
    ASSERT_EQ(ui.saveQuestions.size(), 1u);
    EXPECT_EQ(ui.saveQuestions[0].ProposedName, "SYSA_DB2P_20261130-BP0-Access Type.png");
    EXPECT_EQ(ui.saveQuestions[0].Filters, (QStringList{"PNG Image (*.png)", "SVG Image (*.svg)"}));
    EXPECT_EQ(ui.proposedImageSize, chart->size());
    QSvgRenderer svg(folder.filePath("chart.svg"));
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(0, 0, 900, 600));
    QImage drawn(svg.viewBox().size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    svg.render(&painter);
    painter.end();
    EXPECT_GT(InkedPixels(drawn), 1000);
    EXPECT_TRUE(FileBytes(folder.filePath("chart.svg"))
                    .contains(QString::fromStdString(chart->Shown().Title).toHtmlEscaped().toUtf8()))
        << "the title is text in the SVG, not pixels";

    // A bar chart, larger than the screen shows it.
    auto* graphTypes = window->findChild<QComboBox*>("cboPoolGraphType");
    graphTypes->setCurrentIndex(graphTypes->findText("Top Get Pages"));
    emit graphTypes->activated(graphTypes->currentIndex());
    ASSERT_EQ(chart->Shown().Kind, ChartKind::Bar);
    Save("chart.png", QSize(1600, 1000));
    const QImage png(folder.filePath("chart.png"));
    EXPECT_EQ(png.size(), QSize(1600, 1000));
    EXPECT_GT(InkedPixels(png), 2000);
    EXPECT_TRUE(ui.sink.Messages.empty());

    Save("cancelled.png", QSize());  // the size dialog cancelled
    EXPECT_FALSE(QFile::exists(folder.filePath("cancelled.png")));
    Save("no-such-folder/chart.png", QSize(100, 100));
    ASSERT_EQ(ui.sink.Messages.size(), 1u);
    EXPECT_EQ(ui.sink.Messages[0].Title, "Save Image");
}

}  // namespace
}  // namespace kov::test
