#include "frmStatAnalysis.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <map>

#include "ExportDialogs.h"
#include "HelpText.h"
#include "TrayIcon.h"
#include "analysis/GeneralInfo.h"
#include "analysis/GraphicSummary.h"
#include "analysis/ObjectViews.h"
#include "analysis/PoolCharts.h"
#include "analysis/TuningRules.h"
#include "cluster/ClusterAnalysis.h"
#include "cluster/MemberFiles.h"
#include "frmAbout.h"
#include "frmCompareReports.h"
#include "frmSelectFiles.h"
#include "frmSizeAdvice.h"
#include "frmTitle.h"
#include "frmTrend.h"
#include "pages/ClusterPage.h"
#include "pages/ExpertTuningPage.h"
#include "pages/GraphicSummaryPage.h"
#include "pages/ObjectInfoPage.h"
#include "pages/PoolInfoPage.h"
#include "pages/ReportInfoPage.h"
#include "pages/ScanCostPage.h"
#include "pages/SimGraphPage.h"
#include "print/WindowPrinter.h"
#include "readers/ReportLoading.h"
#include "views/PageStatus.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"
#include "widgets/LabelPanel.h"
#include "widgets/ScreenFit.h"

namespace kov {

namespace {

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

// The page captions with the letter Alt chooses each page by; none is taken
// by a button below the pages (&Print, < &Back, &Finish, &Create File).
constexpr const char* kTabCaptions[] = {"&Report Info",        "&Graphic Summary",     "Pool &Info",
                                        "&Object Info",        "&Expert Tuning",       "&Scan Cost",
                                        "Si&m Graph Analysis", "Sim Cl&uster Analysis"};
constexpr const char* kChooseAPoolFirst = "Choose a pool in the pool grid first";
constexpr const char* kNoSimulationForPool = "No simulation report is loaded for this pool";
constexpr const char* kTrayTip = "KOVGraph is running";

// A page that needs more room than the window has scrolls instead of
// pushing the buttons below the pages off the screen (large scale factors).
QScrollArea* Scrolling(QWidget* page) {
    auto* area = new QScrollArea;
    area->setObjectName(page->objectName().isEmpty() ? QString("scroll") : page->objectName() + "Scroll");
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}

// The window's section of README.md, bundled with the program.
QString HelpText() {
    QString text = QString::fromUtf8(ReadmeText());
    const qsizetype start = text.indexOf("\n## The window");
    if (start < 0) return text;
    const qsizetype end = text.indexOf("\n## ", start + 1);
    return text.mid(start + 1, end < 0 ? -1 : end - start - 1);
}

}  // namespace

frmStatAnalysis::frmStatAnalysis(ReportModel& model, MessageSink& sink, AppState& state, AppServices services,
                                 QWidget* parent)
    : QMainWindow(parent),
      model_(model),
      sink_(sink),
      state_(state),
      services_(std::move(services)),
      saveFolder_([this] { return QFileInfo(QFile::decodeName(model_.StatFileName.c_str())).absolutePath(); }) {
    setObjectName("frmStatAnalysis");
    setWindowTitle(kProgramTitle);
    BuildWindow();
    ConnectExports(
        *this, services_, sink_, saveFolder_, [this] { return QFile::decodeName(model_.StatFileName.c_str()); },
        [this](const QWidget& source) { return ExportContentOf(source); });
    printer_ = std::make_unique<WindowPrinter>(services_.ChoosePrinter, this);
    tray_ = new TrayIcon(
        this, sink_, [this] { ShowAbout(); }, [this] { services_.EndProgram(); });
    qApp->installEventFilter(this);
}

frmStatAnalysis::~frmStatAnalysis() {
    qApp->removeEventFilter(this);
}

void frmStatAnalysis::BuildWindow() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tbsStats");
    reportInfo_ = new ReportInfoPage(tabs_);
    graphicSummary_ = new GraphicSummaryPage(tabs_);
    poolInfo_ = new PoolInfoPage(tabs_);
    objectInfo_ = new ObjectInfoPage(tabs_);
    expertTuning_ = new ExpertTuningPage(tabs_);
    scanCost_ = new ScanCostPage(tabs_);
    simGraphs_ = new SimGraphPage(model_, sink_, tabs_);
    cluster_ = new ClusterPage(model_, sink_, ThresholdFolder(QFile::encodeName(services_.ProgramFolder).toStdString()),
                               tabs_);
    QWidget* pages[] = {reportInfo_,   graphicSummary_, poolInfo_,  objectInfo_,
                        expertTuning_, scanCost_,       simGraphs_, cluster_};
    for (int page = 0; page < 8; ++page) tabs_->addTab(Scrolling(pages[page]), kTabCaptions[page]);

    cmdPrint_ = Button(this, "cmdPrint", "&Print");
    cmdBack_ = Button(this, "cmdBack", "< &Back");
    cmdFinish_ = Button(this, "cmdFinish", "&Finish");
    cmdCreateFile_ = Button(this, "cmdCreateFile", "&Create File - All Indexes");
    cmdClusterCreateFile_ = Button(this, "cmdClusterCreateFile", "Create Cluster File");
    cmdCreateFile_->hide();
    cmdClusterCreateFile_->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCreateFile_);
    buttons->addWidget(cmdClusterCreateFile_);
    buttons->addStretch();
    for (QPushButton* button : {cmdPrint_, cmdBack_, cmdFinish_}) buttons->addWidget(button);
    lblReadNotice_ = new QLabel(this);
    lblReadNotice_->setObjectName("lblReadNotice");
    lblReadNotice_->setTextFormat(Qt::PlainText);
    lblReadNotice_->setWordWrap(true);
    lblReadNotice_->setStyleSheet(
        "QLabel { background: #fff3c4; color: #5a4500; border: 1px solid #d8b640; padding: 4px; }");
    lblReadNotice_->hide();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(lblReadNotice_);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);
    setCentralWidget(central);

    statusBar()->setObjectName("sbStatus");
    statusPanel_ = new QLabel(this);
    statusPanel_->setObjectName("sbStatusPanel1");
    statusBar()->addWidget(statusPanel_, 1);
    resize(FittedToScreen(*this, QSize(1280, 820)));

    connect(tabs_, &QTabWidget::currentChanged, this, &frmStatAnalysis::tbsStats_Click);
    connect(cmdPrint_, &QPushButton::clicked, this, &frmStatAnalysis::cmdPrint_Click);
    connect(cmdBack_, &QPushButton::clicked, this, &frmStatAnalysis::cmdBack_Click);
    connect(cmdFinish_, &QPushButton::clicked, this, &frmStatAnalysis::cmdFinish_Click);
    connect(reportInfo_, &ReportInfoPage::PoolChosen, this, &frmStatAnalysis::SelectPoolFromGrid);
    connect(reportInfo_, &ReportInfoPage::FindingPoolChosen, this, &frmStatAnalysis::ShowPoolOfFinding);
    connect(graphicSummary_, &GraphicSummaryPage::PoolChosen, this,
            [this](const QString& poolName) { ShowPoolOfFinding(PoolNamed(model_, poolName.toStdString())); });
    connect(reportInfo_, &ReportInfoPage::CompareRequested, this,
            [this] { CompareWithChosenReport(this, model_, services_, sink_, saveFolder_); });
    connect(reportInfo_, &ReportInfoPage::SizeAdviceRequested, this, [this] { ShowSizeAdvice(1); });
    connect(reportInfo_, &ReportInfoPage::TrendRequested, this,
            [this] { ShowTrendOfChosenReports(this, services_, sink_, saveFolder_); });
    connect(simGraphs_, &SimGraphPage::SizeAdviceRequested, this, [this] { ShowSizeAdvice(model_.CurrentSimulation); });
    connect(poolInfo_->cmdNextPool(), &QPushButton::clicked, this, &frmStatAnalysis::cmdNextPool_Click);
    connect(poolInfo_->cmdPreviousPool(), &QPushButton::clicked, this, &frmStatAnalysis::cmdPreviousPool_Click);
    connect(poolInfo_, &PoolInfoPage::GraphTypeChosen, this, [this] { RefreshPoolCharts(); });
    connect(poolInfo_->Chart(), &ChartWidget::ObjectClicked, this, [this](int object) {
        ObjectDetailFigures figures;
        if (ObjectDetails(model_, object, figures)) poolInfo_->ShowObjectDetails(figures);
    });
    connect(objectInfo_, &ObjectInfoPage::ListItemChosen, this, &frmStatAnalysis::lvObjects_Click);
    connect(objectInfo_, &ObjectInfoPage::GridObjectChosen, this, &frmStatAnalysis::ChooseObjectFromGrid);
    connect(objectInfo_, &ObjectInfoPage::GraphTypeChosen, this, &frmStatAnalysis::ShowObjectDetails);
    connect(objectInfo_, &ObjectInfoPage::GridSorted, this, &frmStatAnalysis::ShowCurrentObjectInViews);
    connect(expertTuning_, &ExpertTuningPage::IntentChosen, this, &frmStatAnalysis::ChoosePoolUsageIntent);
    connect(cluster_, &ClusterPage::UsageOptionClicked, this, &frmStatAnalysis::optPoolClusterAnalysisUsage_Click);
    connect(cluster_, &ClusterPage::StatusTextChanged, statusPanel_, &QLabel::setText);
    connect(simGraphs_, &SimGraphPage::ImprovementOptionClicked, this, &frmStatAnalysis::optGreatestImprovement_Click);
    connect(simGraphs_, &SimGraphPage::SimulationStepClicked, this,
            [this](int direction) { updnSimNo_Click(0, direction); });
    connect(simGraphs_, &SimGraphPage::SimulationNumberChanged, this, [this] { txtSimNo_Change(0); });
    connect(cluster_, &ClusterPage::SimulationStepClicked, this,
            [this](int direction) { updnSimNo_Click(1, direction); });
    connect(cluster_, &ClusterPage::SimulationNumberChanged, this, [this] { txtSimNo_Change(1); });
    connect(cmdClusterCreateFile_, &QPushButton::clicked, this, &frmStatAnalysis::cmdClusterCreateFile_Click);
    connect(cmdCreateFile_, &QPushButton::clicked, this, &frmStatAnalysis::cmdCreateFile_Click);
}

void frmStatAnalysis::Form_Load() {
    tray_->RemoveTrayIcon();
    QApplication::processEvents();
    tray_->AddTrayIcon(kTrayTip);
    QApplication::processEvents();

    frmTitle title(this);
    services_.RunModal(title);

    state_.QuitRequested = false;
    model_.StatFileName.clear();
    RunFileSelection();
    if (state_.QuitRequested) services_.EndProgram();

    tabs_->setTabVisible(PageSimGraphAnalysis, false);
    tabs_->setTabVisible(PageSimClusterAnalysis, false);
    DisablePoolPages();
}

// Until a pool is chosen in the pool grid, the pages of one pool wait for it.
void frmStatAnalysis::DisablePoolPages() {
    for (int page : {PagePoolInfo, PageObjectInfo, PageExpertTuning, PageSimGraphAnalysis, PageSimClusterAnalysis})
        EnablePage(page, false, kChooseAPoolFirst);
}

void frmStatAnalysis::EnablePage(int page, bool enabled, const char* whyNot) {
    tabs_->setTabEnabled(page, enabled);
    tabs_->setTabToolTip(page, enabled || whyNot == nullptr ? QString() : QString(whyNot));
}

void frmStatAnalysis::RunFileSelection() {
    frmSelectFiles selectFiles(model_, sink_, state_, services_, this);
    connect(&selectFiles, &frmSelectFiles::TrendRequested, this,
            [this, &selectFiles] { ShowTrendOfChosenReports(&selectFiles, services_, sink_, saveFolder_); });
    selectFiles.Preload(std::exchange(preload_, {}));
    services_.RunModal(selectFiles);
    if (const auto stop = selectFiles.StatsReadStop()) readStop_ = *stop;
}

void frmStatAnalysis::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) Form_Activate();
}

void frmStatAnalysis::Form_Activate() {
    const OncePerStepSink::Step step(sink_);
    for (int page : {PageSimGraphAnalysis, PageSimClusterAnalysis}) tabs_->setTabVisible(page, true);
    ShowReadNotice();
    reportInfo_->FillHeaderLabels(model_);
    reportInfo_->FillPoolGrid(model_);
    reportInfo_->FillTotals(model_, sink_);
    reportInfo_->cmdSizeAdvice()->setEnabled(model_.SimulationCount > 0);
    if (SkipNextRefill) {
        SkipNextRefill = false;
        return;
    }
    reportInfo_->FillDataChecks(model_);
    // The report now loaded starts as a new window would show it.
    DisablePoolPages();
    ClearPoolViews();
    poolInfo_->FillGraphTypeList(PoolGraphTypes());
    objectInfo_->FillGraphTypeList(ObjectGraphTypes());
    if (reportInfo_->PoolRowCount() >= 1) {
        model_.CurrentPool = 1;
        ShowPoolLabels();
        poolInfo_->SelectGraphType(0);
        RefreshPoolCharts();
    }
    FillObjectViews();
    lvObjects_Click();
    ShowObjectDetails();
    DrawGraphicSummary();
    RefreshPoolAnalysis();
    PopulateScanCostsForSystem();
    PopulateScanCostsForPool();
    if (tabs_->currentIndex() != PageReportInfo)
        tabs_->setCurrentIndex(PageReportInfo);
    else
        tbsStats_Click(PageReportInfo);
}

// Nothing of an earlier report may outlive it: every pool-dependent view is
// emptied before the report now loaded fills it (or leaves it empty).
void frmStatAnalysis::ClearPoolViews() {
    model_.CurrentPool = 0;
    model_.CurrentObject = 0;
    objectViewsPool_ = -1;
    poolInfo_->Clear();
    objectInfo_->Clear();
    expertTuning_->Clear();
    scanCost_->Clear();
    cluster_->Clear();
    simGraphs_->Clear();
    graphicSummary_->tbsGraphicSummary()->setCurrentIndex(0);
    clusterPoolSizes_.clear();
    ShowPoolLabels();
}

void frmStatAnalysis::ShowReadNotice() {
    const std::string notice = UnfinishedReadNotice(model_, readStop_);
    lblReadNotice_->setText(QString::fromStdString(notice));
    lblReadNotice_->setVisible(!notice.empty());
}

void frmStatAnalysis::tbsStats_Click(int page) {
    const OncePerStepSink::Step step(sink_);
    poolInfo_->HidePoolDetails();
    cmdCreateFile_->hide();
    cmdClusterCreateFile_->hide();
    if (page == PageObjectInfo) {
        if (objectViewsPool_ != model_.CurrentPool) FillObjectViews();
        // The first entry shows the pool's first object, picked in list and grid.
        if (model_.CurrentObject == 0) {
            model_.CurrentObject = FirstObjectOf(model_, model_.CurrentPool);
            ShowObjectDetails();
        }
        lvObjects_Click();
    }
    if (page == PageGraphicSummary) DrawGraphicSummary();
    if (page == PageSimGraphAnalysis) {
        simGraphs_->EnterPage();
        cmdCreateFile_->show();
        simGraphs_->SelectImprovementOption(0);
    }
    if (page == PageSimClusterAnalysis) cluster_->EnterPage();
    ApplyPageChrome(page);
}

void frmStatAnalysis::ApplyPageChrome(int page) {
    const PageChrome chrome = PageChromeFor(page);
    if (!chrome.Changes) return;
    cmdPrint_->setVisible(chrome.PrintVisible);
    statusPanel_->setText(QString::fromStdString(chrome.StatusText));
    if (chrome.ClusterFileButton) cmdClusterCreateFile_->show();
}

QString frmStatAnalysis::StatusText() const {
    return statusPanel_->text();
}

void frmStatAnalysis::cmdBack_Click() {
    model_.CurrentPool = 0;
    model_.CurrentObject = 0;
    model_.SimulationsLoaded = false;
    state_.QuitRequested = false;
    hide();
    RunFileSelection();
    if (state_.QuitRequested)
        services_.EndProgram();
    else
        show();
}

void frmStatAnalysis::cmdFinish_Click() {
    tray_->RemoveTrayIcon();
    state_.QuitRequested = true;
    services_.EndProgram();
}

void frmStatAnalysis::closeEvent(QCloseEvent* event) {
    tray_->RemoveTrayIcon();
    state_.QuitRequested = true;
    event->accept();
    services_.EndProgram();
}

// The size advice of simulation slot s, over this window like the compare.
void frmStatAnalysis::ShowSizeAdvice(int slot) {
    frmSizeAdvice dialog(model_, slot, this);
    ConnectExports(
        dialog, services_, sink_, saveFolder_, [this] { return QFile::decodeName(model_.StatFileName.c_str()); },
        [](const QWidget& source) {
            const auto* chart = qobject_cast<const ChartWidget*>(&source);
            return chart ? QString::fromStdString(chart->Shown().Title) : QStringLiteral("size-advice");
        });
    services_.RunModal(dialog);
}

void frmStatAnalysis::ShowPoolLabels() {
    const PoolLabels labels = CurrentPoolLabels(model_);
    poolInfo_->ShowPoolLabels(labels);
    setWindowTitle(QString::fromStdString(labels.WindowTitle));
    simGraphs_->ShowSimDetailColumns();
}

void frmStatAnalysis::SelectPoolFromGrid(const QString& poolName) {
    SelectPool(PoolNamed(model_, poolName.toStdString()));
}

void frmStatAnalysis::ShowPoolOfFinding(int p) {
    if (!model_.Pools.Contains(p)) return;
    SelectPool(p);
    tabs_->setCurrentIndex(PagePoolInfo);
}

// Pool p (0: the current pool stays) on every pool page, which a first
// choice also opens.
void frmStatAnalysis::SelectPool(int p) {
    const OncePerStepSink::Step step(sink_);
    if (p != 0) model_.CurrentPool = p;
    // The empty row of a report without pools chooses nothing.
    if (!model_.Pools.Contains(model_.CurrentPool)) return;
    for (int page = PageGraphicSummary; page <= PageScanCost; ++page) EnablePage(page, true);
    AfterPoolChange();
}

// The fixed order in which every pool-dependent view follows a change of
// the current pool.
void frmStatAnalysis::AfterPoolChange() {
    model_.CurrentSimulation = 1;
    const SimulationMatch match = FindSimulationForPool(model_, model_.CurrentPool);
    ShowPoolLabels();
    FillObjectViews();
    RefreshPoolCharts();
    RefreshPoolAnalysis();
    PopulateScanCostsForPool();
    clusterPoolSizes_ = PoolSizeList(model_, model_.CurrentPool, match);
    cluster_->FillPoolSizes(clusterPoolSizes_);
    cluster_->ShowSimulationNumber(model_.CurrentSimulation);
    simGraphs_->ShowSimulationNumber(model_.CurrentSimulation);
    if (match.Found) optGreatestImprovement_Click(0);
    EnablePage(PageSimGraphAnalysis, match.Found, kNoSimulationForPool);
    EnablePage(PageSimClusterAnalysis, match.Found, kNoSimulationForPool);
}

void frmStatAnalysis::cmdNextPool_Click() {
    MovePool(NextPool, "Display Next Pool");
}

void frmStatAnalysis::cmdPreviousPool_Click() {
    MovePool(PreviousPool, "Display Previous Pool");
}

// Next and Previous stop at the first failure and say so; the pool keeps
// its new value and the views refreshed before the failure stay.
void frmStatAnalysis::MovePool(int (*step)(const ReportModel&, int), const char* failureTitle) {
    const OncePerStepSink::Step oneStep(sink_);
    try {
        model_.CurrentPool = step(model_, model_.CurrentPool);
        model_.CurrentObject = FirstObjectOf(model_, model_.CurrentPool);
        ShowObjectDetails();
        AfterPoolChange();
    } catch (const std::exception& failure) {
        sink_.Show({failureTitle, failure.what(), MessageIcon::Information});
    }
}

// The details panel belongs to the bar clicked on the chart now replaced.
void frmStatAnalysis::RefreshPoolCharts() {
    const OncePerStepSink::Step step(sink_);
    poolInfo_->HidePoolDetails();
    const int position = poolInfo_->GraphPosition();
    if (position < 1 || !model_.Pools.Contains(model_.CurrentPool)) return;
    const ChartData chart = PoolChart(model_, model_.CurrentPool, position);
    for (const Message& message : chart.Messages) sink_.Show(message);
    poolInfo_->ShowChart(chart);
}

void frmStatAnalysis::RefreshPoolAnalysis() {
    ShowIntentOnBothPages(UsageIntent::Random);
    ShowPoolAnalysis();
}

void frmStatAnalysis::ShowIntentOnBothPages(UsageIntent intent) {
    model_.PoolUsageIntent = intent;
    expertTuning_->ShowIntent(intent);
    cluster_->ShowIntent(intent);
}

void frmStatAnalysis::ChoosePoolUsageIntent(UsageIntent intent) {
    ShowIntentOnBothPages(intent);
    ShowPoolAnalysis();
    if (tabs_->isTabEnabled(PageSimClusterAnalysis)) cluster_->RunClusterAnalysis();
}

void frmStatAnalysis::optPoolClusterAnalysisUsage_Click(int index) {
    ShowIntentOnBothPages(index == 1 ? UsageIntent::Random : UsageIntent::Sequential);
    ShowPoolAnalysis();
    if (tabs_->isTabEnabled(PageSimClusterAnalysis) && cluster_->RunClusterAnalysis() < 0)
        sink_.Show({"Cluster Analysis", kClusterNotApplicable, MessageIcon::Critical});
}

void frmStatAnalysis::ShowSimulationFileName() {
    const QString path =
        QString::fromStdString(SimulationFileName(model_, model_.CurrentPool, model_.CurrentSimulation));
    simGraphs_->ShowFileName(path);
    cluster_->ShowFileName(path);
}

void frmStatAnalysis::optGreatestImprovement_Click(int index) {
    ShowSimulationFileName();
    simGraphs_->DrawImprovementCharts(index);
}

QLineEdit* frmStatAnalysis::SimNoBox(int box) const {
    return box == 0 ? simGraphs_->txtSimNo() : cluster_->txtSimNo();
}

// Each box whose text the step changes runs the change; the first already
// brings the other box along, so the second write finds it unchanged.
void frmStatAnalysis::updnSimNo_Click(int box, int direction) {
    const int simCount = model_.Pools.Contains(model_.CurrentPool) ? model_.Pools(model_.CurrentPool).SimCount : 1;
    const QString step =
        QString::fromStdString(StepSimulationNumber(SimNoBox(box)->text().toStdString(), direction, simCount));
    for (int written : {0, 1}) SimNoBox(written)->setText(step);
}

// Both pages show the number typed in either box. A number outside the
// pool's simulations shows empty pages.
void frmStatAnalysis::txtSimNo_Change(int box) {
    const OncePerStepSink::Step step(sink_);
    const QString typed = SimNoBox(box)->text();
    {
        QLineEdit* other = SimNoBox(1 - box);
        const QSignalBlocker quiet(other);
        other->setText(typed);
    }
    if (const auto s = WholeNumberOf(typed.toStdString())) model_.CurrentSimulation = *s;
    ShowSimulationFileName();
    cluster_->FillPoolSizes(SimulationPoolSizes(model_, model_.CurrentPool, model_.CurrentSimulation));
    simGraphs_->ShowSimDetailColumns();
    optGreatestImprovement_Click(simGraphs_->SelectedImprovementOption());
    optPoolClusterAnalysisUsage_Click(cluster_->RandomSelected() ? 1 : 0);
    cluster_->ShowClusterObjects(1);
}

// A cancelled dialog writes nothing; a file that cannot be written says why
// and leaves any earlier file as it was.
void frmStatAnalysis::cmdClusterCreateFile_Click() {
    QStringList filters;
    for (const std::string& filter : DialogFilters(kClusterFileFilter)) filters << QString::fromStdString(filter);
    const QString chosen = services_.ChooseSaveFile
                               ? services_.ChooseSaveFile(this, saveFolder_.Start(), kClusterFileProposal, filters)
                               : QString();
    saveFolder_.Chosen(chosen);
    const ClusterFileExport result =
        ExportClusterFile(QFile::encodeName(chosen).toStdString(), cluster_->grdClusterObjects()->Model()->Table());
    if (result.Failure)
        sink_.Show(*result.Failure);
    else if (!result.StatusText.empty())
        statusPanel_->setText(QString::fromStdString(result.StatusText));
}

// AINDEX.KOV goes to the current working directory.
void frmStatAnalysis::cmdCreateFile_Click() {
    sink_.Show(ExportIndexExcludeFile(model_, model_.CurrentPool, ""));
}

void frmStatAnalysis::ShowPoolAnalysis() {
    expertTuning_->ShowPoolAnalysis(AnalysisCaption(model_, model_.CurrentPool),
                                    ExplainPoolRules(model_, model_.CurrentPool, model_.PoolUsageIntent));
}

// A pool of 5000 objects costs the list and grid more than the rest of a
// pool change together, so they are filled while their page is shown and
// otherwise when it is next entered; nobody sees the difference.
void frmStatAnalysis::FillObjectViews() {
    if (tabs_->currentIndex() != PageObjectInfo) {
        objectViewsPool_ = -1;
        return;
    }
    objectInfo_->FillObjectViews(ObjectListItems(model_, model_.CurrentPool), ObjectGrid(model_, model_.CurrentPool));
    objectViewsPool_ = model_.CurrentPool;
    ShowCurrentObjectInViews();
}

// List, grid and pie show one object: the current one, when the pool shown
// holds it.
void frmStatAnalysis::ShowCurrentObjectInViews() {
    if (objectViewsPool_ != model_.CurrentPool || !model_.Objects.Contains(model_.CurrentObject)) return;
    objectInfo_->ShowCurrentObject(
        QString::fromStdString(model_.Objects(model_.CurrentObject).ObjectName.TrimmedString()));
}

// A list pick also starts the breakdown again at the access type.
void frmStatAnalysis::lvObjects_Click() {
    const std::optional<QString> item = objectInfo_->SelectedListItem();
    if (!item) return;
    if (const int object = FindObjectByName(model_, model_.CurrentPool, item->toStdString()))
        model_.CurrentObject = object;
    objectInfo_->SelectFirstGraphType();
    ShowObjectDetails();
}

void frmStatAnalysis::ChooseObjectFromGrid(const QString& name) {
    if (const int object = FindObjectByName(model_, model_.CurrentPool, name.toStdString()))
        model_.CurrentObject = object;
    ShowObjectDetails();
}

void frmStatAnalysis::ShowObjectDetails() {
    const OncePerStepSink::Step step(sink_);
    // A pool without objects has no current object: nothing of the pool
    // shown before may stay in the pie.
    if (!model_.Objects.Contains(model_.CurrentObject)) {
        objectInfo_->ShowNoObject();
        return;
    }
    const auto breakdown = ObjectBreakdownFor(model_, model_.CurrentObject, objectInfo_->GraphType());
    if (!breakdown) return;
    ShowCurrentObjectInViews();
    objectInfo_->ShowBreakdown(*breakdown);
    for (const Message& message : breakdown->Messages) sink_.Show(message);
}

// A failure is shown with its description alone and the fill goes on.
template <typename Fill>
void frmStatAnalysis::ScanCostStep(Fill&& fill) {
    try {
        fill();
    } catch (const std::exception& failure) {
        sink_.Show({"", failure.what(), MessageIcon::Information});
    }
}

void frmStatAnalysis::PopulateScanCostsForSystem() {
    ScanCostStep([this] {
        if (const auto cost = kov::PopulateScanCostsForSystem(model_, model_.CurrentPool)) scanCost_->ShowSystem(*cost);
    });
}

void frmStatAnalysis::PopulateScanCostsForPool() {
    ScanCostStep([this] {
        if (const auto cost = kov::PopulateScanCostsForPool(model_, model_.CurrentPool)) scanCost_->ShowPool(*cost);
    });
}

void frmStatAnalysis::RefreshScanCosts() {
    PopulateScanCostsForSystem();
    PopulateScanCostsForPool();
}

void frmStatAnalysis::DrawGraphicSummary() {
    const OncePerStepSink::Step step(sink_);
    const std::vector<ChartData> charts = kov::DrawGraphicSummary(reportInfo_->grdPoolInfo()->Model()->Grid());
    graphicSummary_->ShowCharts(charts);
    for (const ChartData& chart : charts)
        for (const Message& message : chart.Messages) sink_.Show(message);
}

// A page that cannot be printed says why under its own title; the print is
// abandoned and the window goes on.
void frmStatAnalysis::cmdPrint_Click() {
    const int page = tabs_->currentIndex();
    SkipNextRefill = true;
    try {
        printer_->Print(PrintoutOfPage(page));
    } catch (const std::exception& failure) {
        sink_.Show({PrintFailureTitle(page), failure.what(), MessageIcon::Information});
    }
    // No activation follows a print here, so the flag must not outlive it and
    // swallow the refill after Back.
    SkipNextRefill = false;
}

bool frmStatAnalysis::PrinterChosen() const {
    return printer_->PrinterChosen();
}

std::vector<PrintedPage> frmStatAnalysis::PrintoutOfPage(int page) const {
    const SystemInfo& info = model_.SysInfo;
    const bool hasPool = model_.Pools.Contains(model_.CurrentPool);
    const std::string poolName = hasPool ? model_.Pools(model_.CurrentPool).PoolName.PaddedString() : "";
    switch (page) {
        case PageReportInfo: {
            CollectingSink shownBefore;  // the totals' messages were shown when the page was filled
            return ReportSummaryPages(HeaderLabels(info), Totals(model_, shownBefore),
                                      reportInfo_->grdPoolInfo()->Model()->Table());
        }
        case PageGraphicSummary: {
            const int shown = graphicSummary_->tbsGraphicSummary()->currentIndex();
            if (shown < 0 || shown >= kPrintableGraphicSummaryPages) return {};
            return {GraphicSummaryPrintPage(info, graphicSummary_->Shown(shown))};
        }
        case PagePoolInfo:
            if (!hasPool) return {};
            return {PoolPrintPage(info, poolName, poolInfo_->Chart()->Shown())};
        case PageObjectInfo:
            if (!hasPool) return {};
            return {
                ObjectPrintPage(info, poolName, objectInfo_->Labels()->ShownPairs(), objectInfo_->Chart()->Shown())};
        case PageSimGraphAnalysis: {
            const int shown = simGraphs_->tbsSimGraphs()->currentIndex();
            if (!hasPool || shown < 0) return {};
            return {SimGraphPrintPage(info, poolName, simGraphs_->Shown(static_cast<SimGraphPage::SubTab>(shown)))};
        }
        case PageSimClusterAnalysis:
            return ClusterPrintout();
        default:
            return {};
    }
}

// The cluster in the current row of the cluster grid heads every page; an
// empty grid prints nothing.
std::vector<PrintedPage> frmStatAnalysis::ClusterPrintout() const {
    if (!model_.Pools.Contains(model_.CurrentPool)) return {};
    const StringTable& clusters = cluster_->grdClusters()->Model()->Table();
    const auto row = static_cast<std::size_t>(std::max(0, cluster_->grdClusters()->currentIndex().row()));
    if (row >= clusters.Rows.size() || clusters.Rows[row].empty() || clusters.Rows[row][0].empty()) return {};
    const ClusterPrintHeading heading =
        ClusterHeadingOf(model_.Pools(model_.CurrentPool), clusters.Rows[row], model_.PoolUsageIntent,
                         cluster_->cmbPoolSize()->currentText().toStdString());
    return ClusterPrintPages(model_.SysInfo, heading, cluster_->grdClusterObjects()->Model()->Table());
}

void frmStatAnalysis::mouseDoubleClickEvent(QMouseEvent* event) {
    RefreshScanCosts();
    QMainWindow::mouseDoubleClickEvent(event);
}

// What a saved grid or chart holds: the report-wide ones by their meaning or
// title, the others with the pool they show first.
QString frmStatAnalysis::ExportContentOf(const QWidget& source) const {
    static const std::map<QString, std::pair<bool, const char*>> grids = {
        {"grdPoolInfo", {false, "pools"}},
        {"grdScanCost", {false, "scan-cost"}},
        {"grdObjectInfo", {true, "objects"}},
        {"grdScanCostPool", {true, "scan-cost"}},
        {"grdClusters", {true, "clusters"}},
        {"grdClusterObjects", {true, "cluster-members"}},
        {"lvSimObjectDetails", {true, "simulated-object"}}};
    const QString pool = model_.Pools.Contains(model_.CurrentPool)
                             ? QString::fromStdString(model_.Pools(model_.CurrentPool).PoolName.TrimmedString())
                             : QString();
    const auto named = [&pool](bool ofPool, const QString& what) {
        return ofPool && !pool.isEmpty() ? pool + "-" + what : what;
    };
    if (const auto grid = grids.find(source.objectName()); grid != grids.end())
        return named(grid->second.first, grid->second.second);
    // The pool chart by the graph type chosen for it, as the list names it.
    if (&source == poolInfo_->Chart() && poolInfo_->GraphPosition() >= 1)
        return named(true, QString::fromStdString(PoolGraphTypes().at(poolInfo_->GraphPosition() - 1)));
    if (const auto* chart = qobject_cast<const ChartWidget*>(&source)) {
        const QString title = QString::fromStdString(chart->Shown().Title);
        return named(!graphicSummary_->isAncestorOf(chart), title.isEmpty() ? QString("chart") : title);
    }
    return "export";
}

bool frmStatAnalysis::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) return QMainWindow::eventFilter(watched, event);
    return HandleWindowKey(*static_cast<QKeyEvent*>(event)) || QMainWindow::eventFilter(watched, event);
}

bool frmStatAnalysis::HandleWindowKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = modifiers == Qt::ControlModifier;
    const bool ctrlShift = modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    if ((ctrl && (key.key() == Qt::Key_Tab || key.key() == Qt::Key_PageDown))) {
        StepPage(1);
        return true;
    }
    if ((ctrlShift && (key.key() == Qt::Key_Backtab || key.key() == Qt::Key_Tab)) ||
        (ctrl && key.key() == Qt::Key_PageUp)) {
        StepPage(-1);
        return true;
    }
    if (modifiers == Qt::NoModifier && key.key() == Qt::Key_Escape) return CloseDetailsPanel();
    if (modifiers == Qt::NoModifier && key.key() == Qt::Key_F1) {
        ShowHelp();
        return true;
    }
    return false;
}

// The next page that can be chosen, round the end.
void frmStatAnalysis::StepPage(int direction) {
    const int count = tabs_->count();
    for (int page = tabs_->currentIndex(), tried = 0; tried < count; ++tried) {
        page = (page + direction + count) % count;
        if (tabs_->isTabEnabled(page) && tabs_->isTabVisible(page)) {
            tabs_->setCurrentIndex(page);
            return;
        }
    }
}

bool frmStatAnalysis::CloseDetailsPanel() {
    if (simGraphs_->pnlSimAnalysisDetails()->isVisible()) {
        simGraphs_->cmdClose_Click();
        return true;
    }
    if (poolInfo_->pnlPoolDetails()->isVisible()) {
        poolInfo_->HidePoolDetails();
        return true;
    }
    return false;
}

void frmStatAnalysis::ShowHelp() {
    if (help_ == nullptr) {
        help_ = new QDialog(this);
        help_->setObjectName("dlgHelp");
        help_->setWindowTitle("KOVGraph Help");
        auto* text = new QTextBrowser(help_);
        text->setObjectName("txtHelp");
        text->setMarkdown(HelpText());
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, help_);
        connect(buttons, &QDialogButtonBox::rejected, help_, &QDialog::hide);
        auto* layout = new QVBoxLayout(help_);
        layout->addWidget(text);
        layout->addWidget(buttons);
        help_->resize(QSize(720, 640).boundedTo(size()));
    }
    help_->show();
    help_->raise();
}

void frmStatAnalysis::ShowAbout() {
    frmAbout about(state_, this);
    services_.RunModal(about);
}

}  // namespace kov
