#include "frmTrend.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "AppServices.h"
#include "ExportDialogs.h"
#include "analysis/TrendViews.h"
#include "history/HistoryDatabase.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"
#include "widgets/ScreenFit.h"

namespace kov {

namespace {

// The figure a DBA follows first.
const char* const kFirstFigure = "Hit Ratio";

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

frmTrend::frmTrend(QWidget* parent)
    : QDialog(parent),
      system_(new QComboBox(this)),
      pools_(new QListWidget(this)),
      figure_(new QComboBox(this)),
      summary_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      cancel_(new QPushButton("Cancel", this)),
      tabs_(new QTabWidget(this)),
      chart_(new ChartWidget("chartTrendFigure", this)),
      events_(new GridView("grdTrendEvents", {800, 2000, 800, 5000}, this)),
      advice_(new GridView("grdTrendAdvice", {800, 700, 6000, 2000, 2000, 900}, this)),
      rises_(new GridView("grdTrendRises", {800, 600, 1600, 2000, 2000, 1800, 1800, 1200}, this)),
      falls_(new GridView("grdTrendFalls", {800, 600, 1600, 2000, 2000, 1800, 1800, 1200}, this)),
      reports_(new GridView("grdTrendReports", {900, 1300, 1100, 1300, 6000}, this)),
      leftOut_(new GridView("grdTrendLeftOut", {4000, 8000}, this)),
      leftOutMessage_(new QPlainTextEdit(this)),
      leftOutPage_(new QSplitter(Qt::Vertical, this)) {
    setObjectName("frmTrend");
    setWindowTitle("Trend");
    system_->setObjectName("cboTrendSystem");
    system_->setAccessibleName("System");
    pools_->setObjectName("lstTrendPools");
    pools_->setAccessibleName("Pools shown");
    // The longest pool name, its check box and the scroll bar always fit,
    // however narrow the window or large the scale.
    const int longestName = fontMetrics().horizontalAdvance("BP32K999");
    pools_->setMinimumWidth(longestName + 4 * fontMetrics().height());
    pools_->setMaximumWidth(longestName * 2 + 4 * fontMetrics().height());
    figure_->setObjectName("cboTrendFigure");
    figure_->setAccessibleName("Figure");
    for (const std::string& name : TrendFigureNames()) figure_->addItem(Text(name));
    figure_->setCurrentText(kFirstFigure);
    summary_->setObjectName("lblTrendSummary");
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setWordWrap(true);
    progress_->setObjectName("pbTrendRead");
    cancel_->setObjectName("cmdTrendCancel");
    tabs_->setObjectName("tbsTrend");
    leftOutMessage_->setObjectName("txtTrendLeftOutMessage");
    leftOutMessage_->setAccessibleName("Message");
    leftOutMessage_->setReadOnly(true);

    auto* systemLabel = new QLabel("&System:", this);
    systemLabel->setBuddy(system_);
    auto* figureLabel = new QLabel("&Figure:", this);
    figureLabel->setBuddy(figure_);
    auto* poolsLabel = new QLabel("&Pools:", this);
    poolsLabel->setBuddy(pools_);
    auto* choosers = new QHBoxLayout;
    choosers->addWidget(systemLabel);
    choosers->addWidget(system_, 1);
    choosers->addWidget(figureLabel);
    choosers->addWidget(figure_);
    choosers->addStretch(1);
    auto* readingRow = new QHBoxLayout;
    readingRow->addWidget(progress_, 1);
    readingRow->addWidget(cancel_);

    tabs_->addTab(chart_, "Chart");
    tabs_->addTab(events_, "Events");
    tabs_->addTab(advice_, "Advice");
    tabs_->addTab(rises_, "Rising Objects");
    tabs_->addTab(falls_, "Falling Objects");
    tabs_->addTab(reports_, "Reports");
    // A reader's message is long (an error's description, line, field and
    // column): the chosen row's is shown whole under the grid.
    leftOutPage_->addWidget(leftOut_);
    leftOutPage_->addWidget(leftOutMessage_);
    leftOutPage_->setStretchFactor(0, 2);
    leftOutPage_->setStretchFactor(1, 1);
    tabs_->addTab(leftOutPage_, "Left Out");
    auto* poolColumn = new QWidget(this);
    auto* poolLayout = new QVBoxLayout(poolColumn);
    poolLayout->setContentsMargins(0, 0, 0, 0);
    poolLayout->addWidget(poolsLabel);
    poolLayout->addWidget(pools_, 1);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(poolColumn);
    split->addWidget(tabs_);
    split->setStretchFactor(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choosers);
    layout->addWidget(summary_);
    layout->addLayout(readingRow);
    layout->addWidget(split, 1);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(system_, &QComboBox::currentIndexChanged, this, &frmTrend::ShowSystem);
    connect(figure_, &QComboBox::currentIndexChanged, this, &frmTrend::ShowChosen);
    connect(pools_, &QListWidget::itemChanged, this, &frmTrend::ShowChosen);
    connect(leftOut_, &GridView::RowChosen, this, &frmTrend::ShowLeftOutMessage);
    // Cancel stops the reading after the reports under way; what was read is dropped.
    connect(cancel_, &QPushButton::clicked, this, [this] {
        cancelled_ = true;
        stopReading_.request_stop();
        reject();
    });
    ShowReading(false);
    resize(FittedToScreen(*this, QSize(1300, 820)));  // room for a month of reports
}

frmTrend::~frmTrend() {
    stopReading_.request_stop();
}

void frmTrend::ShowReading(bool reading, const QString& what) {
    reading_ = reading;
    progress_->setRange(0, reading ? 0 : 1);  // no share of the work is known: a busy bar
    progress_->setFormat(what);
    progress_->setTextVisible(reading);
    progress_->setVisible(reading);
    cancel_->setVisible(reading);
    if (reading) summary_->setText(what);
    for (QWidget* chooser :
         {static_cast<QWidget*>(system_), static_cast<QWidget*>(pools_), static_cast<QWidget*>(figure_)})
        chooser->setEnabled(!reading);
}

void frmTrend::ReadInBackground(const QString& what, std::function<TrendResult(std::stop_token)> read) {
    ShowReading(true, what);
    auto result = std::make_shared<TrendResult>();
    QThread* thread = QThread::create([read = std::move(read), result, stop = stopReading_.get_token()] {
        try {
            *result = read(stop);
        } catch (const std::exception& failure) {
            result->LeftOut.push_back({"", {std::string("The reports could not be read: ") + failure.what()}});
        }
    });
    connect(thread, &QThread::finished, this, [this, result] {
        ShowReading(false);
        if (!cancelled_) ShowTrend(std::move(*result));
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void frmTrend::ShowTrend(TrendResult result) {
    result_ = std::move(result);
    {
        const QSignalBlocker quiet(system_);
        system_->clear();
        for (const SystemTrend& system : result_.Systems) system_->addItem(Text(system.System));
    }
    leftOut_->SetTable(LeftOutGrid(result_.LeftOut));
    ShowLeftOutMessage(0);
    tabs_->setTabText(tabs_->indexOf(leftOutPage_), result_.LeftOut.empty() ? "Left Out" : "Left Out (!)");
    ShowSystem(result_.Systems.empty() ? -1 : 0);
    // Nothing to draw: the reports left out are what there is to see.
    if (result_.Systems.empty() && !result_.LeftOut.empty()) tabs_->setCurrentWidget(leftOutPage_);
    emit TrendShown();
}

// Row `row` of the Left Out grid as it is sorted now; nothing when it has none.
void frmTrend::ShowLeftOutMessage(int row) {
    const bool exists = row >= 0 && row < leftOut_->Model()->rowCount();
    leftOutMessage_->setPlainText(exists ? Text(LeftOutDetail(leftOut_->Cell(row, 1).toStdString())) : QString());
}

const SystemTrend* frmTrend::ShownSystem() const {
    const int index = system_->currentIndex();
    return index >= 0 && index < static_cast<int>(result_.Systems.size())
               ? &result_.Systems[static_cast<std::size_t>(index)]
               : nullptr;
}

// The pools of a system, the first one checked; a pool checked before that
// the system also has stays checked.
void frmTrend::ShowSystem(int) {
    const std::vector<std::string> before = ChosenPools();
    const SystemTrend* system = ShownSystem();
    {
        const QSignalBlocker quiet(pools_);
        pools_->clear();
        if (system)
            for (const PoolTrend& pool : system->Pools) {
                auto* item = new QListWidgetItem(Text(pool.Name), pools_);
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
                const bool kept = std::find(before.begin(), before.end(), pool.Name) != before.end();
                item->setCheckState(kept ? Qt::Checked : Qt::Unchecked);
            }
        if (ChosenPools().empty() && pools_->count() > 0) pools_->item(0)->setCheckState(Qt::Checked);
    }
    summary_->setText(Text(TrendSummary(result_, system)));
    reports_->SetTable(system ? TrendReportsGrid(*system) : StringTable{});
    ShowChosen();
}

std::vector<std::string> frmTrend::ChosenPools() const {
    std::vector<std::string> chosen;
    for (int row = 0; row < pools_->count(); ++row)
        if (pools_->item(row)->checkState() == Qt::Checked) chosen.push_back(pools_->item(row)->text().toStdString());
    return chosen;
}

void frmTrend::ShowChosen() {
    const SystemTrend* system = ShownSystem();
    if (!system) {
        chart_->Show({});
        for (GridView* grid : {events_, advice_, rises_, falls_}) grid->ClearRows();
        return;
    }
    const std::vector<std::string> pools = ChosenPools();
    chart_->Show(TrendFigureChart(*system, static_cast<std::size_t>(std::max(0, figure_->currentIndex())), pools));
    events_->SetTable(TrendEventsGrid(*system, pools));
    advice_->SetTable(TrendAdviceGrid(*system, pools));
    rises_->SetTable(TrendDriftGrid(*system, pools, Drift::Rises));
    falls_->SetTable(TrendDriftGrid(*system, pools, Drift::Falls));
}

QString frmTrend::ExportBase() const {
    const SystemTrend* system = ShownSystem();
    QString name = "trend" + (system ? "-" + Text(system->System) : QString());
    // The file name's base ends at its last dot, and a slash is a folder.
    for (QChar& c : name)
        if (c == '/' || c == '.') c = '-';
    return name;
}

void ConnectTrendExports(frmTrend& window, const AppServices& services, MessageSink& sink, SaveFolder& folder) {
    const auto pools = [&window] {
        QStringList names;
        for (const std::string& pool : window.ChosenPools()) names << Text(pool);
        return names.join(' ');
    };
    const auto content = [&window, pools](const QWidget& source) -> QString {
        if (const auto* chart = qobject_cast<const ChartWidget*>(&source))
            return Text(chart->Shown().Title) + " " + pools();
        if (&source == window.grdTrendReports()) return "reports";
        if (&source == window.grdTrendLeftOut()) return "left out";
        const QString what = &source == window.grdTrendEvents()   ? "events"
                             : &source == window.grdTrendAdvice() ? "advice"
                             : &source == window.grdTrendRises()  ? "rising objects"
                                                                  : "falling objects";
        return what + " " + pools();
    };
    // ProposedFileName keeps the base name of a path: the base is one.
    ConnectExports(
        window, services, sink, folder, [&window] { return window.ExportBase(); }, content);
}

bool IsHistoryDatabase(const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    return suffix == "db" || suffix == "sqlite" || suffix == "sqlite3";
}

namespace {

std::string Native(const QString& file) {
    return QFile::encodeName(file).toStdString();
}

// A database that cannot be read is listed as a report left out is.
TrendResult TrendOfDatabase(const std::string& path, const std::stop_token& stop) {
    try {
        return TrendFromHistory(path, {}, {}, stop);
    } catch (const std::exception& failure) {
        TrendResult refused;
        refused.LeftOut.push_back({path, {failure.what()}});
        return refused;
    }
}

// Reports chosen beside a database are not mixed into its trend, nor it into theirs.
TrendResult TrendOfReports(const std::vector<std::string>& files, const std::vector<std::string>& databases,
                           const std::stop_token& stop) {
    TrendResult result = TrendFromFiles(files, {}, 0, stop);
    for (const std::string& database : databases)
        result.LeftOut.push_back({database, {"A history database is opened alone, without statistics reports."}});
    return result;
}

}  // namespace

void ShowTrendOfChosenReports(QWidget* parent, const AppServices& services, MessageSink& sink, SaveFolder& folder) {
    const QStringList chosen = services.ChooseTrendFiles ? services.ChooseTrendFiles(parent) : QStringList();
    if (chosen.isEmpty()) return;
    frmTrend window(parent);
    // Its grids and charts are saved beside the reports (or database) it shows.
    SaveFolder trendFolder = folder.Beside(QFileInfo(chosen.front()).absolutePath());
    ConnectTrendExports(window, services, sink, trendFolder);
    if (chosen.size() == 1 && IsHistoryDatabase(chosen.front())) {
        window.ReadInBackground(
            "Reading the history database " + chosen.front() + "\u2026",
            [path = Native(chosen.front())](const std::stop_token& stop) { return TrendOfDatabase(path, stop); });
    } else {
        std::vector<std::string> files, databases;
        for (const QString& file : chosen) (IsHistoryDatabase(file) ? databases : files).push_back(Native(file));
        window.ReadInBackground(Text(TrendReadingText(files.size())), [files, databases](const std::stop_token& stop) {
            return TrendOfReports(files, databases, stop);
        });
    }
    services.RunModal(window);
}

}  // namespace kov
