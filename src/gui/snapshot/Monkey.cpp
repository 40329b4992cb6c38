#include "snapshot/Monkey.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>
#include <QtCharts/QBarSet>
#include <QtCharts/QHorizontalBarSeries>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <type_traits>

#include "AppServices.h"
#include "analysis/PoolDetails.h"
#include "common/AtomicFile.h"
#include "common/Message.h"
#include "frmCompareReports.h"
#include "frmSelectFiles.h"
#include "frmStatAnalysis.h"
#include "pages/ClusterPage.h"
#include "pages/GraphicSummaryPage.h"
#include "pages/ObjectInfoPage.h"
#include "pages/ReportInfoPage.h"
#include "readers/ReportLoading.h"
#include "snapshot/ShownPage.h"
#include "snapshot/WidgetReading.h"
#include "views/PageStatus.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"
#include "widgets/SpinButtons.h"

namespace kov::snapshot {

namespace {

// ---------------------------------------------------------------------------
// The names a report holds: its pools and objects, trimmed.

using NameSet = std::set<std::string>;

void AddName(NameSet& names, std::string_view name) {
    const std::string_view trimmed = TrimBlanks(name);
    if (!trimmed.empty()) names.insert(std::string(trimmed));
}

NameSet NamesOf(const ReportModel& model) {
    NameSet names;
    for (const PoolRecord& pool : model.Pools) AddName(names, pool.PoolName.Trimmed());
    for (const ObjectRecord& object : model.Objects) {
        AddName(names, object.PoolName.Trimmed());
        AddName(names, object.ObjectName.Trimmed());
    }
    for (const SimulationRecord& sim : model.Simulations) AddName(names, sim.PoolName.Trimmed());
    return names;
}

// Each file read alone as a statistics report: the names that could be
// shown, and which file brings which.
// Read once per run of the program: every replay of the shrinker asks again.
std::map<QString, NameSet> NamesOfFiles(const QStringList& files) {
    static std::map<QString, NameSet> read;
    std::map<QString, NameSet> names;
    for (const QString& file : files) {
        if (!read.contains(file)) read[file] = NamesOf(ReadReportSet(file.toStdString())->Model);
        names[file] = read[file];
    }
    return names;
}

// ---------------------------------------------------------------------------
// Where the actions come from: a seeded draw, or a recorded list.

class ActionSource {
public:
    virtual ~ActionSource() = default;
    // The next action to try in `place`; none when the walk is over.
    virtual std::optional<MonkeyAction> Next(MonkeyPlace place) = 0;
    // The action offered last could not be done here.
    virtual void Refused() {}
};

struct KindWeight {
    const char* Kind;
    int Weight;
};

constexpr KindWeight kScreenKinds[] = {{"OpenStat", 4}, {"OpenSims", 3}, {"Remove", 1},
                                       {"Reset", 1},    {"Next", 4},     {"CloseScreen", 1}};
constexpr KindWeight kWindowKinds[] = {{"Back", 2},     {"MainTab", 8},      {"SubTab", 4},   {"GraphType", 4},
                                       {"NextPool", 2}, {"PreviousPool", 1}, {"RowClick", 6}, {"Heading", 3},
                                       {"BarClick", 4}, {"ClosePanel", 2},   {"SimStep", 2},  {"RadiusStep", 1},
                                       {"Option", 3},   {"CompareWith", 1}};
constexpr KindWeight kCompareKinds[] = {{"CompareTab", 2}, {"CompareHeading", 2}, {"CloseCompare", 2}};

template <std::size_t N>
const char* DrawKind(const KindWeight (&kinds)[N], std::uint32_t draw) {
    int total = 0;
    for (const KindWeight& kind : kinds) total += kind.Weight;
    int at = static_cast<int>(draw % static_cast<std::uint32_t>(total));
    for (const KindWeight& kind : kinds) {
        if (at < kind.Weight) return kind.Kind;
        at -= kind.Weight;
    }
    return kinds[0].Kind;
}

// A 64-bit Mersenne twister read by modulo only, so a seed gives the same
// walk with any standard library.
class RandomSource : public ActionSource {
public:
    RandomSource(std::uint64_t seed, int steps, QStringList files)
        : rng_(seed), left_(steps), files_(std::move(files)) {}

    std::optional<MonkeyAction> Next(MonkeyPlace place) override {
        if (left_ <= 0) return std::nullopt;
        --left_;
        MonkeyAction action;
        action.Place = place;
        const auto draw = static_cast<std::uint32_t>(rng_());
        action.Kind = place == MonkeyPlace::FileScreen ? DrawKind(kScreenKinds, draw)
                      : place == MonkeyPlace::Window   ? DrawKind(kWindowKinds, draw)
                                                       : DrawKind(kCompareKinds, draw);
        action.Choice = static_cast<std::uint32_t>(rng_());
        if (action.Kind == "OpenStat" || action.Kind == "CompareWith") action.Files = {Pick()};
        if (action.Kind == "OpenSims") action.Files = SimulationChoice();
        return action;
    }
    void Refused() override { ++left_; }

private:
    QString Pick() { return files_.at(static_cast<qsizetype>(rng_() % static_cast<std::uint64_t>(files_.size()))); }

    // One to three files; mostly those named after the statistics report
    // chosen last, as a DBA picks a report's own simulations.
    QStringList SimulationChoice() {
        const int count = 1 + static_cast<int>(rng_() % 3);
        QStringList chosen;
        for (int i = 0; i < count; ++i) chosen << Pick();
        return chosen;
    }

    std::mt19937_64 rng_;
    int left_;
    QStringList files_;
};

class ListSource : public ActionSource {
public:
    explicit ListSource(const std::vector<MonkeyAction>& actions) : actions_(actions) {}
    std::optional<MonkeyAction> Next(MonkeyPlace place) override {
        while (next_ < actions_.size()) {
            const MonkeyAction& action = actions_[next_++];
            if (action.Place == place) return action;
        }
        return std::nullopt;
    }

private:
    const std::vector<MonkeyAction>& actions_;
    std::size_t next_ = 0;
};

// ---------------------------------------------------------------------------
// What a user can reach on a shown widget tree.

template <typename T>
std::vector<T*> Visible(const QWidget& root) {
    std::vector<T*> found;
    for (T* widget : root.findChildren<T*>())
        if (widget->isVisible()) found.push_back(widget);
    return found;
}

template <typename T>
T* Choose(const std::vector<T*>& among, std::uint32_t& choice) {
    if (among.empty()) return nullptr;
    T* chosen = among[choice % among.size()];
    choice /= static_cast<std::uint32_t>(among.size());
    return chosen;
}

// The object's name, or its class inside the nearest named parent.
std::string Name(const QObject& object) {
    if (!object.objectName().isEmpty()) return object.objectName().toStdString();
    const QObject* named = object.parent();
    while (named && named->objectName().isEmpty()) named = named->parent();
    return std::string(object.metaObject()->className()) + " in " + (named ? Name(*named) : std::string("?"));
}

bool ClickTab(QTabWidget& tabs, std::uint32_t choice, std::string& done) {
    std::vector<int> shown;
    for (int i = 0; i < tabs.count(); ++i)
        if (tabs.isTabVisible(i)) shown.push_back(i);
    if (shown.empty()) return false;
    const int tab = shown[choice % shown.size()];
    Click(*tabs.tabBar(), tabs.tabBar()->tabRect(tab).center());
    done = Name(tabs) + " \"" + tabs.tabText(tab).toStdString() + "\"" + (tabs.isTabEnabled(tab) ? "" : " (disabled)");
    return true;
}

bool ClickRowOf(QAbstractItemView& view, std::uint32_t choice, std::string& done) {
    QAbstractItemModel& model = *view.model();
    if (model.rowCount() == 0) return false;
    const int row = static_cast<int>(choice % static_cast<std::uint32_t>(model.rowCount()));
    const QModelIndex index = model.index(row, 0);
    view.scrollTo(index);
    Click(*view.viewport(), view.visualRect(index).center());
    done = Name(view) + " row " + std::to_string(row) + " \"" + index.data().toString().trimmed().toStdString() + "\"";
    return true;
}

QHeaderView* HeaderOf(QAbstractItemView& view) {
    if (auto* table = qobject_cast<QTableView*>(&view)) return table->horizontalHeader();
    if (auto* tree = qobject_cast<QTreeView*>(&view)) return tree->header();
    return nullptr;
}

bool ClickHeading(QAbstractItemView& view, int column) {
    QHeaderView* header = HeaderOf(view);
    if (!header || header->isHidden() || column >= header->count()) return false;
    if (view.model()->rowCount() > 0) view.scrollTo(view.model()->index(0, column));
    QApplication::processEvents();  // a page just shown lays its header out first
    const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    Click(*header->viewport(), centre);
    return true;
}

QHorizontalBarSeries* BarsOf(ChartWidget& chart) {
    if (chart.chart()->series().isEmpty()) return nullptr;
    auto* bars = qobject_cast<QHorizontalBarSeries*>(chart.chart()->series().front());
    if (!bars || bars->barSets().isEmpty() || bars->barSets().front()->count() == 0) return nullptr;
    return bars;
}

// The upper half of an up-down button steps up, the lower half down.
void ClickSpinner(SpinButtons& spinner, bool up) {
    Click(spinner, QPoint(spinner.width() / 2, up ? 1 : spinner.height() - 2));
}

void ChooseComboItem(QComboBox& combo, int item) {
    combo.setCurrentIndex(item);
    emit combo.activated(item);
}

// What the cluster analysis runs under: the intent (0 Sequential, 1 Random),
// the pool size's place in its list and the radius as typed.
struct ClusterSettings {
    int Intent = 0;
    int PoolSize = 0;
    QString Radius;
};

ClusterSettings ClusterSettingsOf(const ClusterPage& page) {
    return {page.RandomSelected() ? 1 : 0, page.cmbPoolSize()->currentIndex(), page.txtClusterRadius()->text()};
}

const char* PlaceName(MonkeyPlace place) {
    switch (place) {
        case MonkeyPlace::FileScreen:
            return "file screen";
        case MonkeyPlace::Compare:
            return "compare";
        case MonkeyPlace::Window:
            break;
    }
    return "window";
}

// ---------------------------------------------------------------------------
// The walk: a window with stand-in services, driven by a source of actions.

// The reports read since the last Reset, in the order they were opened: what
// a fresh window opens to stand in the same state.
struct OpenedFiles {
    QString Stat;
    std::vector<QStringList> Simulations;
};

constexpr const char* kPageNames[] = {"Report Info",   "Graphic Summary", "Pool Info",  "Object Info",
                                      "Expert Tuning", "Scan Cost",       "Sim Graphs", "Sim Cluster"};

class MonkeyWalk {
public:
    // With stopAt (a fault's key) the walk ends when that fault shows; a
    // fresh window is then compared only once the actions are done, since a
    // trail being shrunk ends where its fault was seen.
    MonkeyWalk(const MonkeyOptions& options, ActionSource& source, std::string stopAt = {})
        : options_(options),
          source_(source),
          stopAt_(std::move(stopAt)),
          freshAtEndOnly_(!stopAt_.empty()),
          names_(NamesOfFiles(options.Files)) {
        for (const auto& [file, names] : names_) everyName_.insert(names.begin(), names.end());
        services_ = Services(sink_, [this](QDialog& dialog) { RunDialog(dialog); });
        services_.ChooseStatFile = [this](QWidget*) { return pending_.Files.value(0); };
        services_.ChooseSimFiles = [this](QWidget*) { return pending_.Files; };
        window_ = std::make_unique<frmStatAnalysis>(model_, sink_, state_, services_);
        // A bar of the graphic summary names its pool: clicking it chooses that pool.
        QObject::connect(window_->GraphicSummary(), &GraphicSummaryPage::PoolChosen, window_.get(),
                         [this] { poolChosen_ = true; });
        QObject::connect(window_->tbsStats(), &QTabWidget::currentChanged, window_.get(),
                         [this] { simSteppedOnShownPage_ = false; });
        QObject::connect(window_->ReportInfo()->grdPoolInfo(), &GridView::SortedByHeading, window_.get(),
                         [this] { ++poolGridSortCount_; });
    }

    MonkeyRun Walk() {
        try {
            window_->Form_Load();
            window_->show();
            QApplication::processEvents();
            CheckDeferred();
            while (!Stopped() && DoNext(MonkeyPlace::Window)) {
            }
            if (freshAtEndOnly_ && !Stopped() && window_->isVisible())
                CompareWithFreshWindow(ReadShownWidgets(*window_));
        } catch (const std::exception& failure) {
            Fault(3, "3 failure", std::string("the walk failed: ") + failure.what());
        }
        window_->hide();
        run_.Trail = trail_;
        return run_;
    }

private:
    bool Stopped() const {
        return !stopAt_.empty() && std::any_of(run_.Faults.begin(), run_.Faults.end(),
                                               [&](const MonkeyFault& f) { return f.Key == stopAt_; });
    }

    AppServices Services(MessageSink&, std::function<void(QDialog&)> runModal) {
        AppServices services;
        services.ChooseSaveFile = [](QWidget*, const QString&, const QString&, const QStringList&) {
            return QString();
        };
        services.ChoosePrinter = [](QPrinter&, QWidget*) { return false; };
        services.EndProgram = [] {};
        services.ProgramFolder = options_.AccDir.isEmpty() ? QCoreApplication::applicationDirPath() : options_.AccDir;
        services.RunModal = std::move(runModal);
        return services;
    }

    void RunDialog(QDialog& dialog) {
        if (auto* screen = qobject_cast<frmSelectFiles*>(&dialog)) FileScreen(*screen);
        if (auto* compare = qobject_cast<frmCompareReports*>(&dialog)) Compare(*compare);
    }

    // One action: done where it can be, recorded, and the invariants checked.
    // It enters the trail before it is done, since Back and Compare with…
    // do the actions of the screen they open inside it.
    bool Do(const MonkeyAction& action) {
        const std::size_t mark = sink_.Messages.size();
        pending_ = action;
        const std::size_t at = trail_.size();
        trail_.push_back(action);
        ++run_.Actions;
        std::string done;
        if (!Perform(action, done)) {
            trail_.pop_back();
            --run_.Actions;
            source_.Refused();
            return false;
        }
        QApplication::processEvents();
        trail_[at].Done = done;
        if (deferredStep_ == 0)
            Check(action, mark);
        else if (window_->isVisible())
            CheckDeferred();
        return true;
    }

    // Actions are drawn until one can be done where the walk is; a place
    // where nothing can be done for long is a fault of its own.
    bool DoNext(MonkeyPlace place) {
        for (int refused = 0; refused < 500; ++refused) {
            auto action = source_.Next(place);
            if (!action) return false;
            if (Do(*action)) return true;
        }
        Fault(3, "3 stuck", std::string("nothing could be done on the ") + PlaceName(place) + " for 500 tries");
        return false;
    }

    bool Perform(const MonkeyAction& action, std::string& done) {
        switch (action.Place) {
            case MonkeyPlace::FileScreen:
                return PerformOnScreen(action, done);
            case MonkeyPlace::Compare:
                return PerformOnCompare(action, done);
            case MonkeyPlace::Window:
                break;
        }
        return PerformOnWindow(action, done);
    }

    // -- the file-selection screen ------------------------------------------

    void FileScreen(frmSelectFiles& screen) {
        screen_ = &screen;
        screen.show();
        QApplication::processEvents();
        leftScreen_ = false;
        while (!leftScreen_ && !Stopped() && DoNext(MonkeyPlace::FileScreen)) {
        }
        if (!leftScreen_) {  // the walk ends here: leave as a user would
            MonkeyAction leave{
                ButtonEnabled(screen, "cmdNext") ? "Next" : "CloseScreen", 0, {}, MonkeyPlace::FileScreen};
            Do(leave);
        }
        screen.hide();
        screen_ = nullptr;
    }

    static bool ButtonEnabled(const QWidget& root, const char* name) {
        const auto* button = root.findChild<QPushButton*>(name);
        return button && button->isEnabled();
    }

    bool PressScreenButton(const char* name, std::string& done) {
        if (!ButtonEnabled(*screen_, name)) return false;
        screen_->findChild<QPushButton*>(name)->click();
        done = name;
        return true;
    }

    bool PerformOnScreen(const MonkeyAction& action, std::string& done) {
        if (!screen_) return false;
        const std::string& kind = action.Kind;
        if (kind == "OpenStat" && !action.Files.isEmpty() && PressScreenButton("cmdSelectStatFile", done)) {
            opened_ = {action.Files.front(), {}};
            done += " " + action.Files.front().toStdString();
            return true;
        }
        if (kind == "OpenSims" && !action.Files.isEmpty() && PressScreenButton("cmdSelectSimFile", done)) {
            opened_.Simulations.push_back(action.Files);
            done += " " + action.Files.join(' ').toStdString();
            return true;
        }
        if (kind == "Remove") return PressScreenButton("btnRemove", done);
        if (kind == "Reset" && PressScreenButton("cmdReset", done)) {
            opened_ = {};
            return true;
        }
        if (kind == "Next" && PressScreenButton("cmdNext", done)) return LeaveScreen();
        if (kind == "CloseScreen") {
            screen_->close();
            done = "the screen closed by its frame";
            return LeaveScreen();
        }
        return false;
    }

    // The window's checks wait until it is shown again.
    bool LeaveScreen() {
        leftScreen_ = true;
        poolChosen_ = false;
        poolGridClicksBefore_ += static_cast<int>(poolGridSorts_.size());
        poolGridSorts_.clear();
        clusterPick_.reset();
        deferredStep_ = run_.Actions + 1;
        deferredMark_ = sink_.Messages.size();
        return true;
    }

    // -- the comparison dialog -----------------------------------------------

    void Compare(frmCompareReports& dialog) {
        compare_ = &dialog;
        dialog.show();
        QApplication::processEvents();
        closedCompare_ = false;
        while (!closedCompare_ && !Stopped() && DoNext(MonkeyPlace::Compare)) {
        }
        if (!closedCompare_) Do(MonkeyAction{"CloseCompare", 0, {}, MonkeyPlace::Compare});
        dialog.hide();
        compare_ = nullptr;
    }

    bool PerformOnCompare(const MonkeyAction& action, std::string& done) {
        if (!compare_) return false;
        std::uint32_t choice = action.Choice;
        if (action.Kind == "CompareTab") return ClickTab(*compare_->tbsCompare(), choice, done);
        if (action.Kind == "CompareHeading") {
            auto* grid = Choose(Visible<GridView>(*compare_), choice);
            if (!grid || grid->model()->columnCount() == 0) return false;
            const int column = static_cast<int>(choice % static_cast<std::uint32_t>(grid->model()->columnCount()));
            done = Name(*grid) + " heading " + std::to_string(column);
            return ClickHeading(*grid, column);
        }
        if (action.Kind == "CloseCompare") {
            compare_->close();
            closedCompare_ = true;
            done = "closed";
            return true;
        }
        return false;
    }

    // -- the analysis window -------------------------------------------------

    bool PerformOnWindow(const MonkeyAction& action, std::string& done) {
        if (!window_->isVisible()) return false;
        const std::string& kind = action.Kind;
        std::uint32_t choice = action.Choice;
        QWidget& window = *window_;
        if (kind == "Back") {
            done = "Back";
            window_->findChild<QPushButton*>("cmdBack")->click();
            return true;
        }
        if (kind == "MainTab") return ClickTab(*window_->tbsStats(), choice, done);
        if (kind == "SubTab") {
            std::vector<QTabWidget*> inner;
            for (QTabWidget* tabs : Visible<QTabWidget>(window))
                if (tabs != window_->tbsStats()) inner.push_back(tabs);
            QTabWidget* tabs = Choose(inner, choice);
            return tabs && ClickTab(*tabs, choice, done);
        }
        if (kind == "GraphType") {
            std::vector<QComboBox*> lists;
            for (QComboBox* combo : Visible<QComboBox>(window))
                if (combo->isEnabled() && combo->count() > 0) lists.push_back(combo);
            QComboBox* combo = Choose(lists, choice);
            if (!combo) return false;
            const int item = static_cast<int>(choice % static_cast<std::uint32_t>(combo->count()));
            ChooseComboItem(*combo, item);
            done = Name(*combo) + " \"" + combo->itemText(item).toStdString() + "\"";
            return true;
        }
        if (kind == "NextPool" || kind == "PreviousPool") {
            auto* button = window.findChild<QPushButton*>(kind == "NextPool" ? "cmdNextPool" : "cmdPreviousPool");
            if (!button || !button->isVisible() || !button->isEnabled()) return false;
            button->click();
            poolChosen_ = true;
            done = kind;
            return true;
        }
        if (kind == "RowClick") {
            std::vector<QAbstractItemView*> views;  // a heading row is the Heading action's
            for (QAbstractItemView* view : Visible<QAbstractItemView>(window))
                if (!qobject_cast<QHeaderView*>(view)) views.push_back(view);
            QAbstractItemView* view = Choose(views, choice);
            if (!view || !ClickRowOf(*view, choice, done)) return false;
            NotePoolChoice(*view, done);
            if (view->objectName() == "grdClusters") NoteClusterPick(*view);
            return true;
        }
        if (kind == "Heading") {
            std::vector<QAbstractItemView*> views;
            for (QAbstractItemView* view : Visible<QAbstractItemView>(window))
                if (!qobject_cast<QHeaderView*>(view) && HeaderOf(*view) && !HeaderOf(*view)->isHidden() &&
                    view->model()->columnCount() > 0)
                    views.push_back(view);
            QAbstractItemView* view = Choose(views, choice);
            if (!view) return false;
            const int column = static_cast<int>(choice % static_cast<std::uint32_t>(view->model()->columnCount()));
            done = Name(*view) + " heading " + std::to_string(column);
            const int sortsBefore = poolGridSortCount_;
            if (!ClickHeading(*view, column)) return false;
            // The frozen view hides every heading but the pool's: a click
            // there on another column sorts nothing.
            if (poolGridSortCount_ != sortsBefore) poolGridSorts_.emplace_back(view->objectName(), column);
            return true;
        }
        if (kind == "BarClick") {
            std::vector<ChartWidget*> charts;
            for (ChartWidget* chart : Visible<ChartWidget>(window))
                if (BarsOf(*chart)) charts.push_back(chart);
            ChartWidget* chart = Choose(charts, choice);
            if (!chart) return false;
            const int bar =
                static_cast<int>(choice % static_cast<std::uint32_t>(BarsOf(*chart)->barSets().front()->count()));
            Click(*chart->viewport(), BarClickPoint(*chart, bar));
            done = Name(*chart) + " bar " + std::to_string(bar);
            return true;
        }
        if (kind == "ClosePanel") {
            std::vector<QPushButton*> closers;
            for (QPushButton* button : Visible<QPushButton>(window))
                if (button->objectName() == "cmdClose" || button->objectName() == "cmdClosePoolDetails")
                    closers.push_back(button);
            QPushButton* button = Choose(closers, choice);
            if (!button) return false;
            button->click();
            done = Name(*button);
            return true;
        }
        if (kind == "SimStep" || kind == "RadiusStep") {
            std::vector<SpinButtons*> spinners;
            for (SpinButtons* spinner : Visible<SpinButtons>(window))
                if (spinner->isEnabled() &&
                    spinner->objectName().startsWith(kind == "SimStep" ? "updnSimNo" : "udClusterRadius"))
                    spinners.push_back(spinner);
            SpinButtons* spinner = Choose(spinners, choice);
            if (!spinner) return false;
            const bool up = choice % 2 == 0;
            const QString simulation = window_->Cluster()->txtSimNo()->text();
            ClickSpinner(*spinner, up);
            // A step at either end writes nothing, so nothing runs.
            if (kind == "SimStep" && window_->Cluster()->txtSimNo()->text() != simulation)
                simSteppedOnShownPage_ = true;
            done = Name(*spinner) + (up ? " up" : " down");
            return true;
        }
        if (kind == "Option") {
            std::vector<QRadioButton*> options;
            for (QRadioButton* option : Visible<QRadioButton>(window))
                if (option->isEnabled()) options.push_back(option);
            QRadioButton* option = Choose(options, choice);
            if (!option) return false;
            option->click();
            done = Name(*option);
            return true;
        }
        if (kind == "CompareWith") {
            auto* button = window.findChild<QPushButton*>("cmdCompareWith");
            if (action.Files.isEmpty() || !button || !button->isVisible() || !button->isEnabled()) return false;
            compareFile_ = action.Files.front();
            done = "Compare with " + compareFile_.toStdString();
            button->click();
            return true;
        }
        return false;
    }

    void NoteClusterPick(const QAbstractItemView& grid) {
        const QModelIndex current = grid.currentIndex();
        if (!current.isValid()) return;
        clusterPick_ = ClusterPick{grid.model()->index(current.row(), 0).data().toInt(),
                                   ClusterSettingsOf(*window_->Cluster()), window_->StatusText()};
    }

    // A click on a pool row (or a finding that names a pool) chooses a pool,
    // which opens the pool pages.
    void NotePoolChoice(const QAbstractItemView& view, const std::string& done) {
        // The grid's frozen Pool column chooses as the grid does.
        if (view.objectName().startsWith("grdPoolInfo")) poolChosen_ = true;
        if (view.objectName() == "lstDataChecks" && done.find("\"Report:") == std::string::npos) poolChosen_ = true;
    }

    // -- the invariants ------------------------------------------------------

    void Fault(int invariant, const std::string& key, const std::string& detail) {
        for (MonkeyFault& fault : run_.Faults)
            if (fault.Key == key) {
                ++fault.Occurrences;
                return;
            }
        MonkeyFault fault;
        fault.Invariant = invariant;
        fault.Key = key;
        fault.Detail = detail;
        fault.Step = run_.Actions;
        fault.Occurrences = 1;
        fault.Actions = trail_;
        // Said at once, so that a walk ended by a crash still names what it found.
        if (stopAt_.empty())
            std::cout << "fault (invariant " << invariant << ", step " << fault.Step << "): " << detail << std::endl;
        run_.Faults.push_back(std::move(fault));
    }

    void CheckDeferred() {
        if (deferredStep_ == 0) return;
        deferredStep_ = 0;
        Check(trail_.empty() ? MonkeyAction{} : trail_.back(), deferredMark_, true);
    }

    // A file-selection action reads each chosen file with its own messages;
    // an activation (deferred to the window's showing) and a window action
    // show a box once.
    void Check(const MonkeyAction& action, std::size_t messageMark, bool activation = false) {
        if (action.Place != MonkeyPlace::FileScreen || activation) CheckMessages(messageMark);
        if (action.Place == MonkeyPlace::FileScreen && screen_ && screen_->isVisible()) {
            CheckScreenButtons();
            return;
        }
        if (action.Place == MonkeyPlace::Compare && compare_) {
            NameSet allowed = NamesOf(model_);
            const NameSet& after = names_[compareFile_];
            allowed.insert(after.begin(), after.end());
            CheckNames(ReadShownWidgets(*compare_), allowed, "compare ");
            return;
        }
        if (!window_->isVisible()) return;  // Back: the file-selection screen is up
        const json reading = ReadShownWidgets(*window_);
        CheckNames(reading, NamesOf(model_), "");
        CheckEnabledPages();
        const bool pageChange =
            action.Kind == "MainTab" || action.Kind == "SubTab" || action.Place != MonkeyPlace::Window;
        if (!freshAtEndOnly_ && (pageChange || ++sinceFresh_ >= options_.CheckEvery)) {
            sinceFresh_ = 0;
            CompareWithFreshWindow(reading);
        }
    }

    // One action shows a given box once, however many views raise it.
    void CheckMessages(std::size_t mark) {
        std::map<std::pair<std::string, std::string>, int> seen;
        for (std::size_t i = mark; i < sink_.Messages.size(); ++i) {
            const Message& message = sink_.Messages[i];
            if (++seen[{message.Title, message.Text}] == 2)
                Fault(3, "3 repeated box \"" + message.Title + "\"",
                      "the box \"" + message.Title + "\" / \"" + message.Text.substr(0, 200) +
                          "\" was shown more than once by one action");
        }
    }

    void CheckNames(const json& reading, const NameSet& loaded, const std::string& where) {
        for (const json& entry : reading) {
            for (const std::string& word : ShownWords(json::array({entry}))) {
                if (!everyName_.contains(word) || loaded.contains(word)) continue;
                const std::string widget = entry["widget"].get<std::string>();
                std::string key = "1 ";
                key.append(where).append(widget);
                std::string detail = widget;
                detail.append(" shows \"").append(word).append("\", which no loaded report holds");
                Fault(1, key, detail);
            }
        }
    }

    // The pool pages open once a pool is chosen in this activation; the
    // simulation pages too when that pool was simulated.
    void CheckEnabledPages() {
        QTabWidget& tabs = *window_->tbsStats();
        const bool pool = poolChosen_ && model_.Pools.Contains(model_.CurrentPool);
        const bool simulated = pool && FindSimulationForPool(model_, model_.CurrentPool).Found;
        const std::pair<int, bool> expected[] = {{PageReportInfo, true},
                                                 {PagePoolInfo, pool},
                                                 {PageObjectInfo, pool},
                                                 {PageExpertTuning, pool},
                                                 {PageSimGraphAnalysis, simulated},
                                                 {PageSimClusterAnalysis, simulated}};
        for (const auto& [page, enabled] : expected) {
            if (tabs.isTabEnabled(page) == enabled) continue;
            const std::string name = kPageNames[page];
            Fault(4, "4 page " + name + (enabled ? " disabled" : " enabled"),
                  name + " is " + (enabled ? "disabled" : "enabled") + " although " +
                      (pool ? "the pool " + std::string(model_.Pools(model_.CurrentPool).PoolName.Trimmed()) +
                                  (simulated ? " was chosen and simulated" : " was chosen and not simulated")
                            : "no pool of the loaded report was chosen since it was opened"));
        }
    }

    // Next, Reset and the simulation Open button follow whether a statistics
    // report is chosen.
    void CheckScreenButtons() {
        const bool chosen = !model_.StatFileName.empty();
        for (const char* name : {"cmdNext", "cmdReset", "cmdSelectSimFile"})
            if (ButtonEnabled(*screen_, name) != chosen)
                Fault(4, std::string("4 screen ") + name,
                      std::string(name) + (chosen ? " is disabled although" : " is enabled although no") +
                          " statistics report is chosen");
    }

    // -- the fresh window ----------------------------------------------------

    void CompareWithFreshWindow(const json& walked) {
        FreshWindow fresh(*this);
        const int page = window_->tbsStats()->currentIndex();
        // Each widget that differs is a fault of its own: a stale tab strip
        // must not hide a stale panel further down.
        for (const std::string& difference :
             Differences(Comparable(walked, page), Comparable(ReadShownWidgets(*fresh.Window), page))) {
            const std::string widget = difference.substr(0, difference.find_first_of(" .["));
            Fault(2, "2 " + widget, std::string(kPageNames[std::clamp(page, 0, 7)]) + ": " + difference);
        }
    }

    // What a fresh window can be brought to show. A page that leaves the
    // status text and the Print button as the page before it left them shows
    // what the road to it chose. A sort keeps rows that tie in the order the
    // earlier sorts left them, so a sorted grid is compared by its sorted
    // column in order and its rows as a set. Widgets are paired by name: a
    // page that moves its charts between sub-pages changes the order in
    // which they were made, not what they show.
    static json Comparable(const json& reading, int page) {
        const bool keepsChrome = !PageChromeFor(page).Changes;
        std::vector<json> kept;
        for (json entry : reading) {
            if (keepsChrome && (entry["widget"] == "sbStatusPanel1" || entry["widget"] == "cmdPrint")) continue;
            WithoutTieOrder(entry["shows"]);
            kept.push_back(std::move(entry));
        }
        std::stable_sort(kept.begin(), kept.end(),
                         [](const json& a, const json& b) { return a["widget"] < b["widget"]; });
        return kept;
    }

    static void WithoutTieOrder(json& shown) {
        if (!shown.is_object() || !shown.contains("headings") || !shown.contains("rows")) return;
        const json& headings = shown["headings"];
        for (std::size_t column = 0; column < headings.size(); ++column) {
            const std::string heading = headings[column].get<std::string>();
            if (!heading.ends_with(" (A)") && !heading.ends_with(" (D)")) continue;
            json sortedColumn = json::array();
            for (const json& row : shown["rows"])
                if (column < row.size()) sortedColumn.push_back(row[column]);
            std::vector<json> rows(shown["rows"].begin(), shown["rows"].end());
            std::sort(rows.begin(), rows.end());
            shown["rows"] = rows;
            shown["sortedColumn"] = std::move(sortedColumn);
            return;
        }
    }

    // A window opened on the same files, brought to the same pool, object,
    // simulation, graph types, sort orders, options, page and sub-page, and
    // panel as the walked window, through its own controls.
    struct FreshWindow {
        ReportModel Model;
        CollectingSink Sink;
        AppState State;
        AppServices Services;
        std::unique_ptr<frmStatAnalysis> Window;

        explicit FreshWindow(MonkeyWalk& walk) {
            const OpenedFiles opened = walk.opened_;
            Services = walk.Services(Sink, [opened](QDialog& dialog) {
                auto* screen = qobject_cast<frmSelectFiles*>(&dialog);
                if (!screen) return;
                screen->show();
                if (!opened.Stat.isEmpty()) screen->OpenStatisticsFile(opened.Stat);
                for (const QStringList& files : opened.Simulations) screen->OpenSimulationFiles(files);
                screen->accept();
            });
            Window = std::make_unique<frmStatAnalysis>(Model, Sink, State, Services);
            Window->resize(walk.window_->size());
            Window->Form_Load();
            Window->show();
            QApplication::processEvents();
            Follow(walk);
        }
        ~FreshWindow() { Window->hide(); }

        void Follow(const MonkeyWalk& walk) {
            frmStatAnalysis& walked = *walk.window_;
            const ReportModel& walkedModel = walk.model_;
            const bool poolChosen = walk.poolChosen_;
            if (walk.poolGridClicksBefore_ % 2 == 1) TurnPoolGridDirection();
            ReplayPoolGridSorts(walk.poolGridSorts_);
            if (poolChosen) FollowObjectOfAnotherPool(walked, walkedModel);
            if (poolChosen && walkedModel.Pools.Contains(walkedModel.CurrentPool))
                Window->ShowPoolOfFinding(walkedModel.CurrentPool);
            else if (poolChosen)
                ClickRow(*Window->ReportInfo()->grdPoolInfo(), 0);
            if (walkedModel.Objects.Contains(walkedModel.CurrentObject) &&
                Model.CurrentObject != walkedModel.CurrentObject)
                ChooseObject(walkedModel, walkedModel.CurrentObject);
            if (!walk.simSteppedOnShownPage_) FollowSimulation(walkedModel, poolChosen);
            // Sorts and lists are chosen on their own pages, as the user chose
            // them: sorts again after the lists, since a list can refill a
            // grid and a sort can start a list again. Then the page the walked
            // window shows and its options.
            FollowSorts(walked);
            FollowCombos(walked);
            FollowSorts(walked);
            Window->tbsStats()->setCurrentIndex(walked.tbsStats()->currentIndex());
            if (walk.simSteppedOnShownPage_) FollowSimulationOnThePage(walked, walkedModel, poolChosen);
            // Entering a page can start its lists again (the object breakdown,
            // the cluster pool size): the shown page's lists once more.
            FollowCombos(walked, Window->tbsStats()->currentIndex());
            FollowInnerTabs(walked);
            FollowOptions(walked);
            FollowTypedRadius(walked);
            FollowPickedRow(walked, "lstBPAnalysis");
            FollowPickedRow(walked, "grdClusters");
            FollowClusterPickBeforeRerun(walk);
            FollowPanel(walked, "pnlSimAnalysisDetails", "lblSimObjName");
            FollowPanel(walked, "pnlPoolDetails", "lblPanelHeading");
            QApplication::processEvents();
        }

        // The simulation number is stepped on the simulation pages, which
        // open with a chosen pool.
        void FollowSimulation(const ReportModel& walkedModel, bool poolChosen) {
            for (int step = 0;
                 poolChosen && step < MaxSimulations && Model.CurrentSimulation < walkedModel.CurrentSimulation; ++step)
                Window->updnSimNo_Click(0, 1);
        }

        // Stepped on the page shown, as the walk stepped it last; where the
        // number needs no step, a step away and back writes the status.
        void FollowSimulationOnThePage(frmStatAnalysis& walked, const ReportModel& walkedModel, bool poolChosen) {
            const int before = Model.CurrentSimulation;
            FollowSimulation(walkedModel, poolChosen);
            if (Model.CurrentSimulation != before || Window->StatusText() == walked.StatusText()) return;
            const int away = Model.CurrentSimulation > 1 ? -1 : 1;
            Window->updnSimNo_Click(0, away);
            if (Model.CurrentSimulation != before) Window->updnSimNo_Click(0, -away);
        }

        // A click turns the direction and the window's next activation
        // refills the grid in table order, as a reload after a sort does.
        void TurnPoolGridDirection() {
            auto* grid = Window->findChild<QAbstractItemView*>("grdPoolInfo");
            if (!grid || !ShowPageOf(*grid)) return;
            ClickHeading(*grid, 0);
            Window->hide();
            Window->show();
            QApplication::processEvents();
        }

        // The pool grid's heading clicks, in the order the walk clicked them.
        void ReplayPoolGridSorts(const std::vector<std::pair<QString, int>>& sorts) {
            for (const auto& [name, column] : sorts) {
                auto* view = Window->findChild<QAbstractItemView*>(name);
                if (view && ShowPageOf(*view)) ClickHeading(*view, column);
                QApplication::processEvents();
            }
        }

        // A pick in the pool grid keeps the object chosen in the pool shown
        // before: the fresh window chooses that object in its own pool first.
        void FollowObjectOfAnotherPool(frmStatAnalysis& walked, const ReportModel& walkedModel) {
            const int object = walkedModel.CurrentObject;
            if (!walkedModel.Objects.Contains(object) || !walkedModel.Pools.Contains(walkedModel.CurrentPool) ||
                PoolObjects(walkedModel, walkedModel.Pools(walkedModel.CurrentPool)).Holds(object))
                return;
            for (int p = 1; p <= walkedModel.PoolCount(); ++p) {
                if (!PoolObjects(walkedModel, walkedModel.Pools(p)).Holds(object)) continue;
                // A pie without titles was never shown with its object picked
                // in the list: Next Pool chose the pool's first object.
                if (walked.ObjectInfo()->Chart()->Shown().Title.empty() && FirstObjectOf(walkedModel, p) == object)
                    MoveOntoPool(walkedModel, p);
                if (Model.CurrentObject == object) return;
                Window->ShowPoolOfFinding(p);
                ChooseObject(walkedModel, object);
                FollowPieSubtitle(walked);
                return;
            }
        }

        // The pie keeps the titles it was last drawn with while its object
        // was picked in the list: its graph type is chosen while picked.
        void FollowPieSubtitle(frmStatAnalysis& walked) {
            const QString subtitle = QString::fromStdString(walked.ObjectInfo()->Chart()->Shown().Subtitle);
            auto* types = Window->findChild<QComboBox*>("cboObjectGraphType");
            const int type = types ? types->findText(subtitle) : -1;
            if (type >= 0 && type != types->currentIndex()) ChooseComboItem(*types, type);
        }

        // Next Pool from the pool before p, or Previous Pool from the one after.
        void MoveOntoPool(const ReportModel& walkedModel, int p) {
            for (const bool forward : {true, false}) {
                const int from = forward ? PreviousPool(walkedModel, p) : NextPool(walkedModel, p);
                if (from == p || !walkedModel.Pools.Contains(from)) continue;
                Window->ShowPoolOfFinding(from);
                if (forward)
                    Window->cmdNextPool_Click();
                else
                    Window->cmdPreviousPool_Click();
                if (Model.CurrentPool == p) return;
            }
        }

        // An object is picked where the user picks it: in the object grid,
        // on its page, which fills its list and grid when shown.
        void ChooseObject(const ReportModel& walkedModel, int object) {
            QTabWidget& tabs = *Window->tbsStats();
            if (tabs.isTabEnabled(PageObjectInfo)) tabs.setCurrentIndex(PageObjectInfo);
            Window->ChooseObjectFromGrid(
                QString::fromStdString(std::string(walkedModel.Objects(object).ObjectName.Trimmed())));
        }

        static void ClickRow(GridView& grid, int row) {
            if (grid.model()->rowCount() > row)
                Click(*grid.viewport(), grid.visualRect(grid.model()->index(row, 0)).center());
        }

        // Widgets of the two windows paired by name: Qt makes some parts
        // (a list's popup, a header) only when first used, so order alone
        // would pair a grid with another.
        template <typename T>
        static std::vector<std::pair<T*, T*>> Pairs(const QWidget& walked, const QWidget& fresh) {
            std::vector<std::pair<T*, T*>> pairs;
            for (T* from : walked.findChildren<T*>()) {
                if (from->objectName().isEmpty() || qobject_cast<QHeaderView*>(from)) continue;
                if (T* to = fresh.findChild<T*>(from->objectName())) pairs.emplace_back(from, to);
            }
            return pairs;
        }

        // onPage: only the lists of that page (-1: every page).
        void FollowCombos(frmStatAnalysis& walked, int onPage = -1) {
            QTabWidget& tabs = *Window->tbsStats();
            for (auto [from, to] : Pairs<QComboBox>(walked, *Window))
                if (to->currentIndex() != from->currentIndex() && from->currentIndex() < to->count() &&
                    from->currentIndex() >= 0 && (onPage < 0 || tabs.widget(onPage)->isAncestorOf(to)) &&
                    ShowPageOf(*to))
                    ChooseComboItem(*to, from->currentIndex());
        }

        // A heading marked " (A)" or " (D)" is clicked until the fresh grid's
        // heading reads the same. A page fills its grids when it is shown, so
        // the fresh grid's page is shown before its headings are read.
        // The heading's click is handed on as the header hands it on: where a
        // grid keeps columns frozen at its left, a narrower window can have
        // the clicked heading scrolled beneath them.
        void FollowSorts(frmStatAnalysis& walked) {
            for (auto [from, to] : Pairs<QAbstractItemView>(walked, *Window)) {
                QHeaderView* header = HeaderOf(*to);
                if (header == nullptr || header->isHidden()) continue;
                const int column = SortedColumn(*from->model());
                if (column < 0 || !ShowPageOf(*to)) continue;
                QApplication::processEvents();
                const QString heading = from->model()->headerData(column, Qt::Horizontal).toString();
                for (int click = 0; click < 3 && column < to->model()->columnCount() &&
                                    to->model()->headerData(column, Qt::Horizontal).toString() != heading;
                     ++click) {
                    emit header->sectionClicked(column);
                    QApplication::processEvents();
                }
            }
        }

        static int SortedColumn(const QAbstractItemModel& model) {
            for (int column = 0; column < model.columnCount(); ++column) {
                const QString heading = model.headerData(column, Qt::Horizontal).toString();
                if (heading.endsWith(" (A)") || heading.endsWith(" (D)")) return column;
            }
            return -1;
        }

        // A heading is clicked where the user sees it: on its page, which
        // must be open to the user (false when it is not).
        bool ShowPageOf(QWidget& widget) {
            QTabWidget& tabs = *Window->tbsStats();
            for (int page = 0; page < tabs.count(); ++page) {
                if (!tabs.widget(page)->isAncestorOf(&widget)) continue;
                if (!tabs.isTabEnabled(page)) return false;
                tabs.setCurrentIndex(page);
            }
            return true;
        }

        // A list whose picked row shows more (an advice line's reasons, a
        // cluster's members) has the same row picked.
        void FollowPickedRow(frmStatAnalysis& walked, const char* name) {
            auto* from = walked.findChild<QAbstractItemView*>(name);
            auto* to = Window->findChild<QAbstractItemView*>(name);
            if (!from || !to || !from->isVisible() || !from->currentIndex().isValid()) return;
            const int row = from->currentIndex().row();
            if (row >= to->model()->rowCount() || to->currentIndex().row() == row) return;
            const QModelIndex index = to->model()->index(row, 0);
            to->scrollTo(index);
            Click(*to->viewport(), to->visualRect(index).center());
        }

        // The walk picked a cluster and then ran the analysis again: the
        // fresh window picks it under the settings of the pick, then runs
        // again under the walk's settings, which its option click does.
        void FollowClusterPickBeforeRerun(const MonkeyWalk& walk) {
            const auto& pick = walk.clusterPick_;
            frmStatAnalysis& walked = *walk.window_;
            ClusterPage& page = *Window->Cluster();
            if (!pick || walked.StatusText() != pick->Status || Window->StatusText() == pick->Status ||
                !page.isVisible())
                return;
            const auto apply = [&page](const ClusterSettings& settings) {
                QComboBox& sizes = *page.cmbPoolSize();
                if (settings.PoolSize >= 0 && settings.PoolSize < sizes.count() &&
                    sizes.currentIndex() != settings.PoolSize)
                    ChooseComboItem(sizes, settings.PoolSize);
                page.txtClusterRadius()->setText(settings.Radius);
                page.optPoolClusterAnalysisUsage(settings.Intent)->click();
                QApplication::processEvents();
            };
            apply(pick->Settings);
            auto* grid = page.findChild<QAbstractItemView*>("grdClusters");
            for (int row = 0; row < grid->model()->rowCount(); ++row)
                if (grid->model()->index(row, 0).data().toInt() == pick->Cluster) {
                    grid->scrollTo(grid->model()->index(row, 0));
                    Click(*grid->viewport(), grid->visualRect(grid->model()->index(row, 0)).center());
                    break;
                }
            apply(ClusterSettingsOf(*walked.Cluster()));
        }

        void FollowInnerTabs(frmStatAnalysis& walked) {
            for (auto [from, to] : Pairs<QTabWidget>(walked, *Window))
                if (from != walked.tbsStats() && to->currentIndex() != from->currentIndex())
                    to->setCurrentIndex(from->currentIndex());
        }

        // The cluster radius stays as stepped or typed until another report
        // is loaded: the fresh window has it typed.
        void FollowTypedRadius(frmStatAnalysis& walked) {
            auto* from = walked.findChild<QLineEdit*>("txtClusterRadius");
            auto* to = Window->findChild<QLineEdit*>("txtClusterRadius");
            if (from && to && from->text() != to->text()) to->setText(from->text());
        }

        void FollowOptions(frmStatAnalysis& walked) {
            for (auto [from, to] : Pairs<QRadioButton>(walked, *Window))
                if (from->isChecked() && !to->isChecked() && to->isVisible() && to->isEnabled()) to->click();
        }

        // An open details panel is opened in the fresh window by the bar that
        // opens it on the same object: on the shown chart, else on a chart of
        // another sub-page (the panel stays open as the user turns sub-pages),
        // whose sub-page is then turned back. The bar's object is handed on as
        // its click hands it on: a press on a chart whose series was just
        // replaced can meet Qt Charts' items half gone, which a user's click,
        // an event turn later, never does.
        void FollowPanel(frmStatAnalysis& walked, const char* panelName, const char* captionName) {
            auto* from = walked.findChild<QWidget*>(panelName);
            auto* to = Window->findChild<QWidget*>(panelName);
            if (!from || !to || !from->isVisible() || to->isVisible()) return;
            const QString caption = QString::fromStdString(LabelText(*from, captionName));
            const auto opened = [&] {
                return to->isVisible() && QString::fromStdString(LabelText(*to, captionName)) == caption;
            };
            QApplication::processEvents();
            if (OpenFromShownCharts(opened)) return;
            for (QTabWidget* tabs : Visible<QTabWidget>(*Window)) {
                if (tabs == Window->tbsStats()) continue;
                for (int tab = 0; tab < tabs->count() && !opened(); ++tab) {
                    tabs->setCurrentIndex(tab);
                    QApplication::processEvents();
                    OpenFromShownCharts(opened);
                }
            }
            FollowInnerTabs(walked);
        }

        template <typename Opened>
        bool OpenFromShownCharts(const Opened& opened) {
            for (ChartWidget* chart : Visible<ChartWidget>(*Window)) {
                const json points = Chart(*chart).value("points", json::array());
                for (const json& point : points) {
                    if (!point.contains("object") || point["object"].get<int>() == 0) continue;
                    emit chart->ObjectClicked(point["object"].get<int>());
                    QApplication::processEvents();
                    if (opened()) return true;
                }
            }
            return false;
        }
    };

    const MonkeyOptions& options_;
    ActionSource& source_;
    std::string stopAt_;
    bool freshAtEndOnly_;
    std::map<QString, NameSet> names_;
    NameSet everyName_;

    ReportModel model_;
    CollectingSink sink_;
    AppState state_;
    AppServices services_;
    std::unique_ptr<frmStatAnalysis> window_;

    MonkeyAction pending_;
    OpenedFiles opened_;
    QString compareFile_;
    frmSelectFiles* screen_ = nullptr;
    frmCompareReports* compare_ = nullptr;
    bool leftScreen_ = false;
    bool closedCompare_ = false;
    bool poolChosen_ = false;
    // Stepping the simulation number writes the cluster count into the
    // status bar until the page changes.
    bool simSteppedOnShownPage_ = false;
    // A cluster pick writes the status bar, and a rerun of the analysis after
    // it (intent, pool size, radius) empties the grids but keeps that text.
    struct ClusterPick {
        int Cluster = 0;
        ClusterSettings Settings;
        QString Status;
    };
    std::optional<ClusterPick> clusterPick_;
    // The pool grid's heading clicks since the report was loaded: ties keep
    // the order the sorts before left them, and the graphic summary follows it.
    std::vector<std::pair<QString, int>> poolGridSorts_;
    // The grid's sort direction is one toggle that lives as long as the
    // window: the clicks before the report was loaded still turn it.
    int poolGridClicksBefore_ = 0;
    int poolGridSortCount_ = 0;
    int deferredStep_ = 0;
    std::size_t deferredMark_ = 0;
    int sinceFresh_ = 0;
    std::vector<MonkeyAction> trail_;
    MonkeyRun run_;
};

}  // namespace

MonkeyRun RunMonkey(const MonkeyOptions& options) {
    RandomSource source(options.Seed, options.Steps, options.Files);
    MonkeyWalk walk(options, source);
    MonkeyRun run = walk.Walk();
    if (options.Shrink)
        for (MonkeyFault& fault : run.Faults)
            fault.Shrunk = ShrinkActions(options, fault.Actions, fault.Key, options.ShrinkReplays);
    return run;
}

MonkeyRun ReplayMonkey(const MonkeyOptions& options, const std::vector<MonkeyAction>& actions) {
    ListSource source(actions);
    MonkeyWalk walk(options, source);
    return walk.Walk();
}

namespace {

bool Shows(const MonkeyOptions& options, const std::vector<MonkeyAction>& actions, const std::string& key) {
    ListSource source(actions);
    MonkeyWalk walk(options, source, key);
    const MonkeyRun run = walk.Walk();
    return std::any_of(run.Faults.begin(), run.Faults.end(), [&](const MonkeyFault& f) { return f.Key == key; });
}

}  // namespace

std::vector<std::size_t> DeltaDebug(std::size_t count,
                                    const std::function<bool(const std::vector<std::size_t>&)>& fails, int tries) {
    std::vector<std::size_t> kept(count);
    for (std::size_t i = 0; i < count; ++i) kept[i] = i;
    std::size_t chunks = 2;
    while (kept.size() >= 2 && tries > 0) {
        const std::size_t size = (kept.size() + chunks - 1) / chunks;
        bool cut = false;
        for (std::size_t start = 0; start < kept.size() && tries > 0; start += size) {
            std::vector<std::size_t> rest(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(start));
            rest.insert(rest.end(), kept.begin() + static_cast<std::ptrdiff_t>(std::min(kept.size(), start + size)),
                        kept.end());
            --tries;
            if (!rest.empty() && fails(rest)) {
                kept = std::move(rest);
                chunks = std::max<std::size_t>(chunks - 1, 2);
                cut = true;
                break;
            }
        }
        if (cut) continue;
        if (size == 1) break;
        chunks = std::min(kept.size(), chunks * 2);
    }
    return kept;
}

// Each try is replayed from a fresh window.
std::vector<MonkeyAction> ShrinkActions(const MonkeyOptions& options, std::vector<MonkeyAction> actions,
                                        const std::string& key, int replays) {
    const auto pick = [&](const std::vector<std::size_t>& indexes) {
        std::vector<MonkeyAction> picked;
        picked.reserve(indexes.size());
        for (std::size_t i : indexes) picked.push_back(actions[i]);
        return picked;
    };
    return pick(DeltaDebug(
        actions.size(), [&](const std::vector<std::size_t>& indexes) { return Shows(options, pick(indexes), key); },
        replays));
}

nlohmann::ordered_json ActionJson(const MonkeyAction& action) {
    nlohmann::ordered_json shown = {{"place", PlaceName(action.Place)}, {"do", action.Kind}, {"choice", action.Choice}};
    if (!action.Files.isEmpty()) {
        nlohmann::ordered_json files = nlohmann::ordered_json::array();
        for (const QString& file : action.Files) files.push_back(file.toStdString());
        shown["files"] = files;
    }
    if (!action.Done.empty()) shown["done"] = action.Done;
    return shown;
}

std::optional<MonkeyAction> ActionFromJson(const nlohmann::ordered_json& shown) {
    if (!shown.is_object() || !shown.contains("do") || !shown.contains("place")) return std::nullopt;
    MonkeyAction action;
    action.Kind = shown["do"].get<std::string>();
    action.Choice = shown.value("choice", 0U);
    const std::string place = shown["place"].get<std::string>();
    action.Place = place == "file screen" ? MonkeyPlace::FileScreen
                   : place == "compare"   ? MonkeyPlace::Compare
                                          : MonkeyPlace::Window;
    if (shown.contains("files"))
        for (const auto& file : shown["files"]) action.Files << QString::fromStdString(file.get<std::string>());
    return action;
}

nlohmann::ordered_json MonkeyDocument(const MonkeyOptions& options, const MonkeyRun& run) {
    using ordered = nlohmann::ordered_json;
    const auto list = [](const std::vector<MonkeyAction>& actions) {
        ordered shown = ordered::array();
        for (const MonkeyAction& action : actions) shown.push_back(ActionJson(action));
        return shown;
    };
    ordered files = ordered::array();
    for (const QString& file : options.Files) files.push_back(file.toStdString());
    ordered faults = ordered::array();
    for (const MonkeyFault& fault : run.Faults) {
        ordered shown = {{"invariant", fault.Invariant},
                         {"key", fault.Key},
                         {"detail", fault.Detail},
                         {"step", fault.Step},
                         {"seen", fault.Occurrences}};
        if (!fault.Shrunk.empty()) shown["shrunk"] = list(fault.Shrunk);
        shown["actions"] = list(fault.Actions);
        faults.push_back(shown);
    }
    return {{"seed", options.Seed},
            {"steps", options.Steps},
            {"files", files},
            {"actions", run.Actions},
            {"faults", faults}};
}

std::optional<MonkeyOptions> ParseMonkeyArguments(const QStringList& arguments, std::string& error) {
    MonkeyOptions options;
    const auto number = [&](const QString& text, auto& into) {
        bool ok = false;
        const qulonglong value = text.toULongLong(&ok);
        if (ok) into = static_cast<std::remove_reference_t<decltype(into)>>(value);
        return ok;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        bool ok = true;
        if (argument == "--monkey" && hasValue)
            options.OutFile = arguments[++i].toStdString();
        else if (argument == "--steps" && hasValue)
            ok = number(arguments[++i], options.Steps) && options.Steps > 0;
        else if (argument == "--seed" && hasValue)
            ok = number(arguments[++i], options.Seed);
        else if (argument == "--check-every" && hasValue)
            ok = number(arguments[++i], options.CheckEvery) && options.CheckEvery > 0;
        else if (argument == "--acc-dir" && hasValue)
            options.AccDir = arguments[++i];
        else if (argument == "--shrink")
            options.Shrink = true;
        else if (argument == "--replay" && hasValue)
            options.ReplayFile = arguments[++i].toStdString();
        else if (argument == "--fault" && hasValue)
            ok = number(arguments[++i], options.ReplayFault) && options.ReplayFault > 0;
        else if (argument.startsWith("--"))
            ok = false;
        else
            options.Files << argument;
        if (!ok) {
            error = "unknown, incomplete or wrong option " + argument.toStdString();
            return std::nullopt;
        }
    }
    if (options.OutFile.empty() || options.Files.isEmpty()) {
        error =
            "usage: kovgraph --monkey OUT.json [--steps N] [--seed S] [--check-every K] [--shrink] "
            "[--replay EARLIER.json [--fault N]] [--acc-dir DIR] FILE...";
        return std::nullopt;
    }
    return options;
}

bool WantsMonkey(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--monkey") == 0) return true;
    return false;
}

// The trail of one fault of an earlier run, done again (and shrunk when asked).
static MonkeyRun ReplayFault(const MonkeyOptions& options) {
    std::ifstream in(options.ReplayFile);
    const auto document = nlohmann::ordered_json::parse(in, nullptr, false);
    if (document.is_discarded() || !document.contains("faults") ||
        document["faults"].size() < static_cast<std::size_t>(options.ReplayFault))
        throw std::runtime_error(options.ReplayFile + " holds no fault " + std::to_string(options.ReplayFault));
    const auto& fault = document["faults"][static_cast<std::size_t>(options.ReplayFault - 1)];
    std::vector<MonkeyAction> actions;
    for (const auto& shown : fault.contains("shrunk") ? fault["shrunk"] : fault["actions"])
        if (auto action = ActionFromJson(shown)) actions.push_back(*action);
    MonkeyRun run = ReplayMonkey(options, actions);
    const std::string key = fault["key"].get<std::string>();
    if (options.Shrink)
        for (MonkeyFault& found : run.Faults)
            if (found.Key == key) found.Shrunk = ShrinkActions(options, found.Actions, key, options.ShrinkReplays);
    return run;
}

// The offscreen platform says at every shown dialog that it cannot pass size
// hints on; thousands of actions would bury the faults under it.
static void DropPlatformChatter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains("propagateSizeHints")) return;
    std::cerr << qFormatLogMessage(type, context, text).toStdString() << "\n";
}

int RunMonkeyCommand(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(DropPlatformChatter);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    std::string error;
    const auto options = ParseMonkeyArguments(QApplication::arguments().mid(1), error);
    if (!options) {
        std::cerr << "kovgraph: " << error << "\n";
        return 2;
    }
    MonkeyRun run;
    try {
        run = options->ReplayFile.empty() ? RunMonkey(*options) : ReplayFault(*options);
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph: " << failure.what() << "\n";
        return 2;
    }
    for (const MonkeyFault& fault : run.Faults)
        std::cout << "seen " << fault.Occurrences << " times: " << fault.Key
                  << (fault.Shrunk.empty() ? "" : ", shrunk to " + std::to_string(fault.Shrunk.size()) + " actions")
                  << "\n";
    WriteFileAtomically(options->OutFile, [&](std::ostream& out) {
        out << MonkeyDocument(*options, run).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
            << "\n";
    });
    std::cout << run.Actions << " actions, " << run.Faults.size() << " faults" << std::endl;
    return run.Faults.empty() ? 0 : 1;
}

}  // namespace kov::snapshot
