// The trend window: its choosers redraw the chart and the grids, reading
// runs off the GUI thread and can be cancelled, and every grid and chart
// proposes a file name that says what it holds.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QtCharts/QCategoryAxis>
#include <atomic>
#include <fstream>
#include <limits>

#include "UiFixture.h"
#include "frmTrend.h"
#include "history/HistoryDatabase.h"
#include "pages/ReportInfoPage.h"
#include "readers/ReportLoading.h"
#include "sampledata/SampleGenerator.h"
#include "widgets/ChartWidget.h"

namespace kov::test {
namespace {

constexpr std::size_t kFigures = 14;
constexpr std::size_t kHitRatio = 3;

ReportStamp Stamp(const std::string& system, int hour) {
    const std::string hh = (hour < 10 ? "0" : "") + std::to_string(hour);
    return {"r" + hh + ".txt", system, "2026-12-03", hh + ":00:00", 3600};
}

PoolTrend Pool(const std::string& name, std::size_t reports, double hitRatio) {
    PoolTrend pool;
    pool.Name = name;
    pool.Figures.assign(kFigures, FigureSeries(reports));
    for (std::size_t i = 0; i < reports; ++i) {
        pool.Figures[kHitRatio][i] = hitRatio + static_cast<double>(i);
        pool.Figures[1][i] = 1000.0 * static_cast<double>(i + 1);
    }
    return pool;
}

// Two systems; the first with three pools over four hours and a size change
// of BP1 at the third report.
TrendResult TwoSystems() {
    TrendResult result;
    SystemTrend a{"SYSA/DB2P", {}, {Pool("BP0", 4, 90), Pool("BP1", 4, 80), Pool("BP2", 4, 70)}};
    for (int hour = 0; hour < 4; ++hour) a.Reports.push_back(Stamp(a.System, hour));
    a.Pools[1].Events = {{2, "VP size 40,000 -> 60,000"}};
    a.Pools[1].Advice[0] = {{"Increase the pool size", {0, 1}}};
    a.Pools[0].SyncReadIORises = {{"TS1", "T", 0, 3, 1, 3, 2}};
    SystemTrend b{"SYSB/DB2Q", {}, {Pool("BP1", 2, 60), Pool("BP7", 2, 50)}};
    for (int hour = 0; hour < 2; ++hour) b.Reports.push_back(Stamp(b.System, hour));
    result.Systems = {a, b};
    result.LeftOut = {{"broken.txt", {"The report ends before its header."}}};
    return result;
}

std::vector<std::string> Lines(const frmTrend& window) {
    std::vector<std::string> names;
    for (const ChartSeries& line : window.chartTrendFigure()->Shown().Series) names.push_back(line.Name);
    return names;
}

void Check(QListWidget* pools, const QString& name, bool checked) {
    const QList<QListWidgetItem*> found = pools->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    found.front()->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

TEST(TrendWindow, ChoosersRedrawTheChartAndTheGrids) {
    frmTrend window;
    window.ShowTrend(TwoSystems());
    window.show();
    EXPECT_EQ(window.chartTrendFigure()->Shown().Title, "Hit Ratio Over Time");
    EXPECT_EQ(Lines(window), (std::vector<std::string>{"BP0"}));
    EXPECT_EQ(window.grdTrendReports()->Model()->rowCount(), 4);
    EXPECT_EQ(window.grdTrendRises()->Model()->rowCount(), 1);

    struct Step {
        const char* Pool;
        bool Checked;
        std::vector<std::string> Lines;
        int AdviceRows;
        std::size_t Markers;
    };
    const Step steps[] = {
        {"BP1", true, {"BP0", "BP1"}, 1, 1},
        {"BP2", true, {"BP0", "BP1", "BP2"}, 1, 1},
        {"BP0", false, {"BP1", "BP2"}, 1, 1},
        {"BP1", false, {"BP2"}, 0, 0},
        {"BP2", false, {}, 0, 0},
    };
    for (const Step& step : steps) {
        Check(window.lstTrendPools(), step.Pool, step.Checked);
        EXPECT_EQ(Lines(window), step.Lines) << step.Pool;
        EXPECT_EQ(window.grdTrendAdvice()->Model()->rowCount(), step.AdviceRows) << step.Pool;
        EXPECT_EQ(window.grdTrendEvents()->Model()->rowCount(), static_cast<int>(step.Markers)) << step.Pool;
        EXPECT_EQ(window.chartTrendFigure()->MarkerLabels().size(), step.Markers) << step.Pool;
    }

    Check(window.lstTrendPools(), "BP1", true);
    window.cboTrendFigure()->setCurrentText("Get Pages/Sec");
    EXPECT_EQ(window.chartTrendFigure()->Shown().Title, "Get Pages/Sec Over Time");
    EXPECT_EQ(window.chartTrendFigure()->Shown().Series.at(0).Runs.at(0).at(2).Value, 3000.0);
}

TEST(TrendWindow, AnotherSystemKeepsTheChosenPoolsItHas) {
    frmTrend window;
    window.ShowTrend(TwoSystems());
    Check(window.lstTrendPools(), "BP1", true);
    Check(window.lstTrendPools(), "BP0", false);
    window.cboTrendSystem()->setCurrentIndex(1);
    EXPECT_EQ(window.ChosenPools(), (std::vector<std::string>{"BP1"}));
    EXPECT_EQ(window.grdTrendReports()->Model()->rowCount(), 2);
    EXPECT_TRUE(window.lblTrendSummary()->text().startsWith("SYSB/DB2Q: 2 reports"));
    // None of the chosen pools there: its first pool is shown.
    Check(window.lstTrendPools(), "BP1", false);
    window.cboTrendSystem()->setCurrentIndex(0);
    EXPECT_EQ(window.ChosenPools(), (std::vector<std::string>{"BP0"}));
}

TEST(TrendWindow, HoverNamesTheValueAndItsReport) {
    frmTrend window;
    window.ShowTrend(TwoSystems());
    const ChartWidget* chart = window.chartTrendFigure();
    EXPECT_EQ(chart->SeriesPointText(0, QPointF(1.2, 0)).toStdString(), "BP0: 91 %\n2026-12-03 01:00:00  r01.txt");
    EXPECT_EQ(chart->SeriesPointText(0, QPointF(9, 0)).toStdString(), "BP0: 93 %\n2026-12-03 03:00:00  r03.txt");
    EXPECT_TRUE(chart->SeriesPointText(5, QPointF(1, 0)).isEmpty());
}

// A month of hourly reports: the narrower the window, the fewer date labels
// under the chart, and never two that run into each other.
TEST(TrendWindow, DateLabelsThinOutAsTheWindowNarrows) {
    TrendResult month;
    SystemTrend system{"SYSA/DB2P", {}, {Pool("BP1", 720, 90)}};
    for (int i = 0; i < 720; ++i) {
        ReportStamp stamp = Stamp(system.System, i % 24);
        stamp.Date = "2026-12-" + std::string(i / 24 < 9 ? "0" : "") + std::to_string(i / 24 + 1);
        system.Reports.push_back(stamp);
    }
    month.Systems = {system};
    frmTrend window;
    window.ShowTrend(month);
    window.show();
    ChartWidget* chart = window.chartTrendFigure();
    std::size_t before = std::numeric_limits<std::size_t>::max();
    for (const int width : {1600, 1000, 700, 520}) {
        window.resize(width, 700);
        QTRY_COMPARE(chart->chart()->plotArea().width() > 0, true);
        QApplication::processEvents();
        auto* axis = qobject_cast<QCategoryAxis*>(chart->chart()->axes(Qt::Horizontal).value(0));
        ASSERT_NE(axis, nullptr);
        const QStringList drawn = axis->categoriesLabels();
        ASSERT_EQ(drawn.size(), static_cast<qsizetype>(chart->TimeLabels().size())) << width;
        EXPECT_GE(drawn.size(), 2) << width;
        EXPECT_LE(static_cast<std::size_t>(drawn.size()), before) << width;
        before = static_cast<std::size_t>(drawn.size());
        const QFontMetricsF metrics(axis->labelsFont());
        QAbstractSeries* line = chart->chart()->series().front();
        for (qsizetype i = 1; i < drawn.size(); ++i) {
            const double left = chart->chart()->mapToPosition(QPointF(axis->endValue(drawn[i - 1]), 0), line).x();
            const double right = chart->chart()->mapToPosition(QPointF(axis->endValue(drawn[i]), 0), line).x();
            EXPECT_GE(right - left, (metrics.horizontalAdvance(drawn[i - 1]) + metrics.horizontalAdvance(drawn[i])) / 2)
                << width << " " << drawn[i].toStdString();
        }
    }
    EXPECT_LT(before, 8u);
}

TEST(TrendWindow, OnlyReportsLeftOutShowTheirMessages) {
    frmTrend window;
    TrendResult none;
    none.LeftOut = {{"a.txt", {"first", "second"}}, {"b.txt", {"third"}}};
    window.ShowTrend(none);
    EXPECT_EQ(window.tbsTrend()->currentWidget(), window.LeftOutPage());
    EXPECT_EQ(window.grdTrendLeftOut()->Model()->rowCount(), 3);
    EXPECT_EQ(window.lblTrendSummary()->text(), "No report was read to its end. 2 files left out.");
    EXPECT_TRUE(window.chartTrendFigure()->Shown().Series.empty());
    // The chosen row's message is read whole under the grid, and a trend
    // without reports left out leaves no message behind.
    EXPECT_EQ(window.txtTrendLeftOutMessage()->toPlainText(), "first");
    emit window.grdTrendLeftOut()->RowChosen(2);
    EXPECT_EQ(window.txtTrendLeftOutMessage()->toPlainText(), "third");
    window.ShowTrend({});
    EXPECT_TRUE(window.txtTrendLeftOutMessage()->toPlainText().isEmpty());
}

TEST(TrendWindow, ReadsOffTheGuiThreadAndCanBeCancelled) {
    for (const bool cancel : {false, true}) {
        frmTrend window;
        window.show();
        QSignalSpy rejected(&window, &QDialog::rejected);
        std::atomic<bool> release = false;
        window.ReadInBackground("Reading 2 reports…", [&release](const std::stop_token& stop) {
            while (!release && !stop.stop_requested()) QThread::msleep(5);
            return TwoSystems();
        });
        EXPECT_TRUE(window.Reading());
        EXPECT_TRUE(window.pbTrendRead()->isVisible());
        EXPECT_FALSE(window.lstTrendPools()->isEnabled());
        // Cancelled, the read ends because it is told to stop, not released.
        if (cancel)
            QTest::mouseClick(window.cmdTrendCancel(), Qt::LeftButton);
        else
            release = true;
        EXPECT_EQ(rejected.count(), cancel ? 1 : 0);
        QTRY_VERIFY_WITH_TIMEOUT(!window.Reading(), 10000);
        EXPECT_EQ(window.Result().Systems.size(), cancel ? 0u : 2u) << cancel;
        EXPECT_TRUE(window.lstTrendPools()->isEnabled());
        EXPECT_FALSE(window.pbTrendRead()->isVisible());
    }
}

// The trend's own names: the system, the grid or figure and the chosen pools
// (the CSV and image writing itself is the main window's, tested there).
TEST(TrendWindow, SavedFilesSayWhatTheyHold) {
    UiHarness ui;
    SaveFolder folder([] { return QString("/reports"); });
    frmTrend window;
    ConnectTrendExports(window, ui.services, ui.sink, folder);
    window.ShowTrend(TwoSystems());
    Check(window.lstTrendPools(), "BP1", true);
    emit window.grdTrendRises()->SaveAsCsvRequested();
    ASSERT_EQ(ui.saveQuestions.size(), 1u);
    EXPECT_EQ(ui.saveQuestions.back().ProposedName, "trend-SYSA-DB2P-rising objects BP0 BP1.csv");
    window.cboTrendSystem()->setCurrentIndex(1);
    window.cboTrendFigure()->setCurrentText("Get Pages/Sec");
    emit window.chartTrendFigure()->SaveImageRequested();
    EXPECT_EQ(ui.saveQuestions.back().ProposedName, "trend-SYSB-DB2Q-Get Pages_Sec Over Time BP1.png");
}

// Six hourly reports of the sample system, written in reverse so that only
// their headers can order them, and a file that is no report.
QStringList SeriesWithABadFile(const QTemporaryDir& folder) {
    constexpr int kReports = 6;
    QStringList files;
    for (int r = kReports - 1; r >= 0; --r) {
        const SamplePlan plan = SeriesPlan(BundledSamplePlan(), r, kReports);
        files << WriteStatFile(GenerateReport(plan), folder.filePath(QString::fromStdString(SeriesFileName(plan))));
    }
    const QString bad = folder.filePath("notes.sta");
    std::ofstream(QFile::encodeName(bad).toStdString()) << "these are my notes, not a report\n";
    files.insert(2, bad);
    return files;
}

// "Trend…" on Report Info and on the file-selection screen: the chosen files
// read in the background, the bad one listed with its messages.
TEST(TrendWindow, EntryPointsReadTheChosenReports) {
    for (const bool fromFileSelection : {false, true}) {
        UiHarness ui;
        QTemporaryDir folder;
        const QStringList files = SeriesWithABadFile(folder);
        QStringList chosen = files;
        ui.services.ChooseTrendFiles = [&chosen](QWidget*) { return chosen; };
        ui.OnDialog<frmTrend>([&files, &folder, &ui](frmTrend& trend) {
            QTRY_VERIFY_WITH_TIMEOUT(!trend.Reading(), 60000);
            ASSERT_EQ(trend.Result().Systems.size(), 1u);
            const SystemTrend& system = trend.Result().Systems[0];
            ASSERT_EQ(system.Reports.size(), 6u);
            EXPECT_LT(system.Reports[0].Time, system.Reports[5].Time);  // by their headers, not their order here
            ASSERT_EQ(trend.grdTrendLeftOut()->Model()->rowCount(), 1);
            EXPECT_EQ(trend.grdTrendLeftOut()->Cell(0, 0), files[2]);
            EXPECT_FALSE(trend.grdTrendLeftOut()->Cell(0, 1).isEmpty());
            // The second pool grows at the middle report: its marker.
            trend.lstTrendPools()->item(1)->setCheckState(Qt::Checked);
            const ChartData& chart = trend.chartTrendFigure()->Shown();
            EXPECT_EQ(chart.Series.size(), 2u);
            ASSERT_FALSE(chart.Markers.empty());
            EXPECT_EQ(chart.Markers[0].X, 3.0);
            emit trend.chartTrendFigure()->SaveImageRequested();
            ASSERT_FALSE(ui.saveQuestions.empty());
            EXPECT_EQ(ui.saveQuestions.back().Folder, folder.path()) << "saved beside the trend's reports";
        });
        if (fromFileSelection) {
            ui.onFileSelection = [](frmSelectFiles& screen) {
                QTest::mouseClick(screen.cmdTrend(), Qt::LeftButton);
                screen.OpenStatisticsFile(SampleStat());
                screen.cmdNext_Click();
            };
            auto window = ui.Start();
        } else {
            auto window = ui.StartWithSamples();
            QTest::mouseClick(window->ReportInfo()->cmdTrend(), Qt::LeftButton);
            chosen.clear();  // the file dialog cancelled: nothing shown
            QTest::mouseClick(window->ReportInfo()->cmdTrend(), Qt::LeftButton);
        }
        EXPECT_EQ(ui.dialogsShown, 1) << fromFileSelection;
    }
}

// A history database chosen alone gives its stored trend; one that is no
// database, or one chosen beside reports, is listed with the reason.
TEST(TrendWindow, HistoryDatabaseIsReadAlone) {
    QTemporaryDir folder;
    QStringList reports = SeriesWithABadFile(folder);
    reports.removeAt(2);
    const QString database = folder.filePath("history.db");
    {
        HistoryDatabase history(QFile::encodeName(database).toStdString(), HistoryDatabase::Access::Write);
        for (const QString& file : reports) {
            ReportModel model;
            CollectingSink sink;
            ReportReader reader(model, sink);
            ASSERT_TRUE(OpenStatisticsReport(model, reader, QFile::encodeName(file).toStdString()));
            history.Add(SummarizeReport(model, QFile::encodeName(file).toStdString()));
        }
    }
    const QString notADatabase = folder.filePath("notes.sqlite");
    std::ofstream(QFile::encodeName(notADatabase).toStdString()) << "no database\n";
    struct Case {
        QStringList Chosen;
        std::size_t Reports;
        QString LeftOut;
    };
    const Case cases[] = {
        {{database}, 6, ""},
        {{notADatabase}, 0, notADatabase},
        {QStringList{database} + reports.mid(0, 2), 2, database},
    };
    for (const Case& c : cases) {
        UiHarness ui;
        ui.services.ChooseTrendFiles = [&c](QWidget*) { return c.Chosen; };
        std::size_t reportsShown = 99;
        QString leftOut;
        ui.OnDialog<frmTrend>([&](frmTrend& trend) {
            QTRY_VERIFY_WITH_TIMEOUT(!trend.Reading(), 60000);
            const SystemTrend* system = trend.ShownSystem();
            reportsShown = system ? system->Reports.size() : 0;
            if (trend.grdTrendLeftOut()->Model()->rowCount() > 0) leftOut = trend.grdTrendLeftOut()->Cell(0, 0);
        });
        SaveFolder saveFolder([] { return QString(); });
        ShowTrendOfChosenReports(nullptr, ui.services, ui.sink, saveFolder);
        EXPECT_EQ(reportsShown, c.Reports) << c.Chosen.join(' ').toStdString();
        EXPECT_EQ(leftOut, c.LeftOut) << c.Chosen.join(' ').toStdString();
    }
}

}  // namespace
}  // namespace kov::test
