#include "snapshot/WindowSnapshot.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtCharts/QBarSet>
#include <QtCharts/QHorizontalBarSeries>
#include <cmath>
#include <cstring>
#include <iostream>

#include "AppServices.h"
#include "common/AtomicFile.h"
#include "common/Message.h"
#include "frmSelectFiles.h"
#include "frmStatAnalysis.h"
#include "model/Records.h"
#include "model/UsageIntent.h"
#include "pages/ClusterPage.h"
#include "pages/DataChecksStrip.h"
#include "pages/ExpertTuningPage.h"
#include "pages/GraphicSummaryPage.h"
#include "pages/ObjectInfoPage.h"
#include "pages/PoolInfoPage.h"
#include "pages/ReportInfoPage.h"
#include "pages/ScanCostPage.h"
#include "pages/SimGraphPage.h"
#include "snapshot/ShownText.h"
#include "snapshot/WidgetReading.h"
#include "views/PageStatus.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"
#include "widgets/SpinButtons.h"

namespace kov::snapshot {

namespace {

template <typename T = QWidget>
T& Named(const QWidget& root, const char* name) {
    T* found = root.findChild<T*>(name);
    if (!found) throw std::logic_error(std::string("the window has no ") + name);
    return *found;
}

void PressKey(QWidget& widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

void ClickRow(GridView& grid, int row) {
    Click(*grid.viewport(), grid.visualRect(grid.model()->index(row, 0)).center());
}

void ClickUpperSpinner(SpinButtons& spinner) {
    Click(spinner, QPoint(spinner.width() / 2, 1));
}

json FirstColumn(const QAbstractItemModel& model) {
    json cells = json::array();
    for (int row = 0; row < model.rowCount(); ++row)
        cells.push_back(model.data(model.index(row, 0), Qt::DisplayRole).toString().toStdString());
    return cells;
}

// The advice lines with their explanations, which the list shows as tooltips.
json ExplainedLines(const QAbstractItemModel& model) {
    json lines = json::array();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row, 0);
        lines.push_back({{"text", model.data(index, Qt::DisplayRole).toString().toStdString()},
                         {"because", model.data(index, Qt::ToolTipRole).toString().toStdString()}});
    }
    return lines;
}

// A data-check line reads "Report: text" or "POOL [OBJECT]: text"; its
// tooltip names the check.
json DataCheckLines(const QAbstractItemModel& model) {
    json findings = json::array();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row, 0);
        const QString line = model.data(index, Qt::DisplayRole).toString();
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        const QString where = line.left(colon);
        const qsizetype blank = where.indexOf(' ');
        const bool report = where == QStringLiteral("Report");
        findings.push_back({{"check", model.data(index, Qt::ToolTipRole).toString().toStdString()},
                            {"pool", report ? json(nullptr) : json(where.left(blank).toStdString())},
                            {"object", report || blank < 0 ? json(nullptr) : json(where.mid(blank + 1).toStdString())},
                            {"text", line.mid(colon + 2).toStdString()}});
    }
    return findings;
}

// A shown figure as a JSON number (whole numbers without a fraction), or the
// text itself when it is no figure.
json ShownNumberOr(const QString& shown) {
    const auto number = ShownNumber(shown);
    if (number && std::nearbyint(*number) == *number && std::fabs(*number) < 1e15)
        return static_cast<long long>(*number);
    if (number) return *number;
    return shown.toStdString();
}

// The usage options of the tuning and cluster pages: name suffix, intent.
constexpr std::pair<const char*, UsageIntent> kIntentOptions[] = {{"0", UsageIntent::Sequential},
                                                                  {"1", UsageIntent::Random}};

// The values of both intents in the batch report's order, Random first.
json InIntentOrder(const json& byIntent) {
    json ordered = json::object();
    for (const UsageIntent intent : BothIntents) ordered[IntentKey(intent)] = byIntent[IntentKey(intent)];
    return ordered;
}

// The window, its model and desktop stand-ins that never block: the file
// dialogs answer with the files of the set being read.
class WindowWalk {
public:
    explicit WindowWalk(const SnapshotOptions& options) {
        if (options.First) sets_.push_back(*options.First);
        sets_.push_back(options.Files);
        services_.ChooseStatFile = [this](QWidget*) { return sets_.at(read_).StatFile; };
        services_.ChooseSimFiles = [this](QWidget*) { return sets_.at(read_).SimFiles; };
        services_.ChooseSaveFile = [](QWidget*, const QString&, const QString&, const QStringList&) {
            return QString();
        };
        services_.ChoosePrinter = [](QPrinter&, QWidget*) { return false; };
        services_.EndProgram = [] {};
        services_.ProgramFolder = options.AccDir.isEmpty() ? QCoreApplication::applicationDirPath() : options.AccDir;
        services_.RunModal = [this](QDialog& dialog) {
            if (auto* screen = qobject_cast<frmSelectFiles*>(&dialog)) ChooseFiles(*screen);
        };
        window_ = std::make_unique<frmStatAnalysis>(model_, sink_, state_, services_);
    }

    Snapshot Take() {
        window_->Form_Load();
        window_->show();
        if (sets_.size() > 1) {
            // The first report walked exactly as the second will be, its
            // panels opened, so what it left behind shows in the second.
            ReadWindow();
            Named<QPushButton>(*window_, "cmdBack").click();
        }
        Snapshot snapshot;
        snapshot.Document = ReadWindow();
        snapshot.StatsRead = model_.StatsLoaded;
        window_->hide();
        return snapshot;
    }

private:
    // The file-selection screen: Reset when it comes back, the statistics
    // report and the simulation reports through their Open buttons, Next.
    void ChooseFiles(frmSelectFiles& screen) {
        screen.show();
        if (read_ > 0) Named<QPushButton>(screen, "cmdReset").click();
        Named<QPushButton>(screen, "cmdSelectStatFile").click();
        if (!sets_.at(read_).SimFiles.isEmpty()) Named<QPushButton>(screen, "cmdSelectSimFile").click();
        statFileShown_ = LabelText(screen, "lblStatFile");
        Named<QPushButton>(screen, "cmdNext").click();
        screen.hide();
        ++read_;
    }

    bool ChoosePage(int page) {
        QTabWidget* tabs = window_->tbsStats();
        if (!tabs->isTabEnabled(page) || !tabs->isTabVisible(page)) return false;
        tabs->tabBar()->setCurrentIndex(page);
        return true;
    }

    // Page after page in tab order: the report-wide pages, then for each pool
    // from the first (a click on its grid row) to the last (Next Pool) every
    // page that follows the pool.
    json ReadWindow() {
        json document = {{"statsFile", statFileShown_}};
        const QWidget& info = *window_->ReportInfo();
        json header = LabelPairs(info, "lblSystemCaption", "lblSystem", 4);
        header.update(LabelPairs(info, "lblCollectionCaption", "lblCollection", 3));
        document["header"] = header;
        document["totals"] = LabelPairs(info, "lblTotalCaption", "lblTotal", 7);
        GridView& poolGrid = *window_->ReportInfo()->grdPoolInfo();
        document["poolGrid"] = Grid(*poolGrid.model());
        document["dataChecks"] = DataCheckLines(*window_->ReportInfo()->DataChecks()->lstDataChecks()->model());
        document["scanCost"] = json::object();  // read with the first pool's
        document["graphicSummary"] = GraphicSummary();
        json pools = json::array();
        if (PoolCount(poolGrid) > 0) {
            ChoosePage(PageReportInfo);
            ClickRow(poolGrid, 0);
            for (int p = 1; p <= PoolCount(poolGrid); ++p) {
                if (p > 1) window_->PoolInfo()->cmdNextPool()->click();
                pools.push_back(Pool(p == 1 ? &document["scanCost"] : nullptr));
            }
        } else if (ChoosePage(PageScanCost)) {
            document["scanCost"] = SystemScanCost();
        }
        document["pools"] = pools;
        return document;
    }

    static int PoolCount(const GridView& grid) {
        int count = 0;
        for (int row = 0; row < grid.model()->rowCount(); ++row)
            if (!grid.Cell(row, 0).trimmed().isEmpty()) ++count;
        return count;
    }

    // The report's list, filled when the first pool became current.
    json SystemScanCost() {
        const QWidget& page = *window_->ScanCost();
        return {{"collectionTime", LabelText(page, "lblScanCostData_0")},
                {"systemCost", LabelText(page, "lblScanCostData_1")},
                {"rows", GridRows(*window_->ScanCost()->grdScanCost()->model())}};
    }

    json GraphicSummary() {
        json charts = json::array();
        if (!ChoosePage(PageGraphicSummary)) return charts;
        GraphicSummaryPage& page = *window_->GraphicSummary();
        for (int tab = 0; tab < page.tbsGraphicSummary()->count(); ++tab) {
            page.tbsGraphicSummary()->tabBar()->setCurrentIndex(tab);
            charts.push_back(Chart(*page.Chart(tab)));
        }
        return charts;
    }

    // The current pool on every page that follows it; the Scan Cost page's
    // report-wide part too when asked for.
    json Pool(json* systemScanCost) {
        ChoosePage(PagePoolInfo);
        const QWidget& page = *window_->PoolInfo();
        json info = LabelPairs(page, "lblPoolCaption", "lblPoolInfo", 6);
        info.update(LabelPairs(page, "lblThresholdCaption", "lblThreshold", 4));
        const std::string name = info.contains("Name") ? TrimmedText(info["Name"]) : "";
        json charts = PoolCharts();
        const json objectGrid =
            ChoosePage(PageObjectInfo) ? Grid(*window_->ObjectInfo()->grdObjectInfo()->model()) : json();
        const auto [tuning, tuningExplained] = Tuning();
        json scanCost = json::object();
        if (ChoosePage(PageScanCost)) {
            scanCost = PoolScanCost();
            if (systemScanCost) *systemScanCost = SystemScanCost();
        }
        json simulations = Simulations();
        ChoosePage(PagePoolInfo);
        return {{"name", name},         {"info", info},
                {"tuning", tuning},     {"tuningExplained", tuningExplained},
                {"scanCost", scanCost}, {"objectGrid", objectGrid},
                {"charts", charts},     {"simulations", simulations}};
    }

    static std::string TrimmedText(const json& text) {
        return QString::fromStdString(text.get<std::string>()).trimmed().toStdString();
    }

    // Every graph type of the drop-down, chosen with the keyboard.
    json PoolCharts() {
        json charts = json::object();
        auto& types = Named<QComboBox>(*window_->PoolInfo(), "cboPoolGraphType");
        const QWidget& page = *window_->PoolInfo();
        PressKey(types, Qt::Key_Home);
        for (int type = 0; type < types.count(); ++type) {
            if (type > 0) PressKey(types, Qt::Key_Down);
            json chart = Chart(*window_->PoolInfo()->Chart());
            json labels = LabelPairs(page, "lblChartInfo", "lblChartData", 5);
            if (!labels.empty()) chart["labels"] = labels;
            charts[types.currentText().toStdString()] = chart;
        }
        return charts;
    }

    // Sequential first, so the page is left at Random as the next pool finds it.
    // The advice lines, and the same lines with their explanations.
    std::pair<json, json> Tuning() {
        json tuning = json::object();
        json explained = json::object();
        if (!ChoosePage(PageExpertTuning)) return {tuning, explained};
        const QWidget& page = *window_->ExpertTuning();
        const auto& list = Named<QAbstractItemView>(page, "lstBPAnalysis");
        for (const auto& [option, intent] : kIntentOptions) {
            Named<QAbstractButton>(page, (std::string("optPoolAnalysisUsage_") + option).c_str()).click();
            tuning[IntentKey(intent)] = FirstColumn(*list.model());
            explained[IntentKey(intent)] = ExplainedLines(*list.model());
        }
        return {InIntentOrder(tuning), InIntentOrder(explained)};
    }

    // A pool whose cost the window could not compute shows none.
    json PoolScanCost() {
        const QWidget& page = *window_->ScanCost();
        const std::string cost = LabelText(page, "lblScanCostData_2");
        if (cost.empty()) return json::object();
        return {{"caption", LabelText(page, "lblInfoScanCost_2")},
                {"cost", cost},
                {"rows", GridRows(*window_->ScanCost()->grdScanCostPool()->model())}};
    }

    // Slot after slot through the cluster page's spinner until it stops at
    // the pool's last; each slot as the simulation graph page looks when
    // entered with its number.
    json Simulations() {
        json slotList = json::array();
        if (!ChoosePage(PageSimGraphAnalysis)) return slotList;
        for (int step = 1; step <= MaxSimulations; ++step) {
            json slot = SimGraphSlot();
            ChoosePage(PageSimClusterAnalysis);
            ClusterPage& cluster = *window_->Cluster();
            json sizes = json::array();
            for (int i = 0; i < cluster.cmbPoolSize()->count(); ++i)
                sizes.push_back(ShownNumberOr(cluster.cmbPoolSize()->itemText(i)));
            slot["sizes"] = sizes;
            slot["clusters"] = Clusters();
            slotList.push_back(slot);
            const QString before = cluster.txtSimNo()->text();
            ClickUpperSpinner(*cluster.updnSimNo());
            if (cluster.txtSimNo()->text() == before) break;
            ChoosePage(PageSimGraphAnalysis);
        }
        return slotList;
    }

    json SimGraphSlot() {
        SimGraphPage& page = *window_->SimGraphs();
        QTabWidget& tabs = *page.tbsSimGraphs();
        const auto chartOf = [&](SimGraphPage::SubTab tab) {
            tabs.tabBar()->setCurrentIndex(tab);
            return Chart(*page.Chart(tab));
        };
        json slot = {{"slot", ShownNumberOr(page.txtSimNo()->text())},
                     {"fileName", page.lblSimFileName()->text().toStdString()}};
        json charts = json::object();
        charts["Largest Max WorkSet"] = chartOf(SimGraphPage::LargestWorkSet);
        charts["Smallest Max WorkSet"] = chartOf(SimGraphPage::SmallestWorkSet);
        charts["Pool Size Versus System Hit Ratio"] = chartOf(SimGraphPage::OptimalPoolSizes);
        const json hitRatioGain = chartOf(SimGraphPage::LargestImprovement);
        page.optGreatestImprovement(1)->click();
        charts["Pool Size Versus Read IO Rate"] = chartOf(SimGraphPage::OptimalPoolSizes);
        charts["Objects With Largest Percentage Improvement"] = hitRatioGain;
        charts["Objects With Largest I/O Rate Reduction"] = chartOf(SimGraphPage::LargestImprovement);
        slot["charts"] = charts;
        slot["objectDetails"] = DetailsOfLargestWorkSet(page);
        return slot;
    }

    // The details panel as a click on the last bar of the largest working
    // sets (or its label, where the bar has no length) opens it; null when
    // that chart has no bar.
    json DetailsOfLargestWorkSet(SimGraphPage& page) {
        page.tbsSimGraphs()->tabBar()->setCurrentIndex(SimGraphPage::LargestWorkSet);
        page.cmdClose()->click();
        ChartWidget& chart = *page.Chart(SimGraphPage::LargestWorkSet);
        auto* bars = chart.chart()->series().isEmpty()
                         ? nullptr
                         : qobject_cast<QHorizontalBarSeries*>(chart.chart()->series().front());
        if (!bars || bars->barSets().isEmpty() || bars->barSets().front()->count() == 0) return nullptr;
        Click(*chart.viewport(), BarClickPoint(chart, bars->barSets().front()->count() - 1));
        if (page.pnlSimAnalysisDetails()->isHidden()) return nullptr;
        const json list = Grid(*page.lvSimObjectDetails()->model());
        return {{"caption", page.lblSimObjName()->text().toStdString()},
                {"headings", list["headings"]},
                {"rows", list["rows"]}};
    }

    // Both intents, Sequential first as on the tuning page.
    json Clusters() {
        ClusterPage& page = *window_->Cluster();
        json clusters = {
            {"defaultIntent", IntentKey(page.RandomSelected() ? UsageIntent::Random : UsageIntent::Sequential)},
            {"radius", ShownNumberOr(page.txtClusterRadius()->text())},
            {"sizePoint", page.cmbPoolSize()->currentIndex() + 1}};
        json byIntent = json::object();
        for (const auto& [option, intent] : kIntentOptions) {
            Named<QAbstractButton>(page, (std::string("optPoolClusterAnalysisUsage_") + option).c_str()).click();
            byIntent[IntentKey(intent)] = ClusterGrids(page);
        }
        for (const UsageIntent intent : BothIntents) clusters[IntentKey(intent)] = byIntent[IntentKey(intent)];
        return clusters;
    }

    // A grid whose one row is blank says the analysis does not apply (-1).
    static json ClusterGrids(ClusterPage& page) {
        GridView& grid = *page.grdClusters();
        const json rows = GridRows(*grid.model());
        json members = json::object();
        int result = 0;
        for (int row = 0; row < grid.model()->rowCount(); ++row) {
            const QString number = grid.Cell(row, 0).trimmed();
            if (number.isEmpty()) continue;
            ++result;
            ClickRow(grid, row);
            members[number.toStdString()] = GridRows(*page.grdClusterObjects()->model());
        }
        return {{"result", result > 0 ? result : -1}, {"rows", rows}, {"members", members}};
    }

    std::vector<ReportFiles> sets_;
    std::size_t read_ = 0;
    std::string statFileShown_;
    ReportModel model_;
    CollectingSink sink_;
    AppState state_;
    AppServices services_;
    std::unique_ptr<frmStatAnalysis> window_;
};

}  // namespace

Snapshot TakeSnapshot(const SnapshotOptions& options) {
    WindowWalk walk(options);
    return walk.Take();
}

std::optional<SnapshotOptions> ParseSnapshotArguments(const QStringList& arguments, std::string& error) {
    SnapshotOptions options;
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--snapshot" && hasValue) {
            options.OutFile = arguments[++i].toStdString();
        } else if (argument == "--acc-dir" && hasValue) {
            options.AccDir = arguments[++i];
        } else if (argument == "--first") {
            ReportFiles first;
            QStringList named;
            while (++i < arguments.size() && arguments[i] != "--") named << arguments[i];
            if (i >= arguments.size() || named.isEmpty()) {
                error = "--first needs a statistics report and ends with --";
                return std::nullopt;
            }
            first.StatFile = named.front();
            first.SimFiles = named.mid(1);
            options.First = first;
        } else if (argument.startsWith("--")) {
            error = "unknown or incomplete option " + argument.toStdString();
            return std::nullopt;
        } else {
            files << argument;
        }
    }
    if (options.OutFile.empty() || files.isEmpty()) {
        error =
            "usage: kovgraph --snapshot OUT.json [--acc-dir DIR] [--first STATFILE [SIMFILE...] --] STATFILE "
            "[SIMFILE...]";
        return std::nullopt;
    }
    options.Files = {files.front(), files.mid(1)};
    return options;
}

bool WantsSnapshot(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--snapshot") == 0) return true;
    return false;
}

int RunSnapshotCommand(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    std::string error;
    const auto options = ParseSnapshotArguments(QApplication::arguments().mid(1), error);
    if (!options) {
        std::cerr << "kovgraph: " << error << "\n";
        return 2;
    }
    try {
        const Snapshot snapshot = TakeSnapshot(*options);
        WriteFileAtomically(options->OutFile, [&](std::ostream& out) {
            out << snapshot.Document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
        });
        return snapshot.StatsRead ? 0 : 1;
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph: " << failure.what() << "\n";
        return 1;
    }
}

}  // namespace kov::snapshot
