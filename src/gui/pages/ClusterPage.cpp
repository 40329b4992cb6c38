#include "pages/ClusterPage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "common/Formats.h"
#include "widgets/GridView.h"
#include "widgets/SpinButtons.h"

namespace kov {

namespace {

constexpr const char* kInitialRadius = "1.2";

QLabel* Caption(const char* text, QWidget* parent, const char* name = nullptr) {
    auto* label = new QLabel(text, parent);
    if (name) label->setObjectName(name);
    return label;
}

}  // namespace

ClusterPage::ClusterPage(ReportModel& model, MessageSink& sink, std::string accFolder, QWidget* parent)
    : QWidget(parent), model_(model), sink_(sink), accFolder_(std::move(accFolder)) {
    BuildPage();
    EmptyGrids();
}

void ClusterPage::BuildPage() {
    auto* usage = new QGroupBox(this);
    usage->setObjectName("fraPoolClusterAnalysisUsage");
    sequential_ = new QRadioButton("Sequential", usage);
    sequential_->setObjectName("optPoolClusterAnalysisUsage_0");
    random_ = new QRadioButton("Random", usage);
    random_->setObjectName("optPoolClusterAnalysisUsage_1");
    random_->setChecked(true);
    auto* usageLayout = new QVBoxLayout(usage);
    usageLayout->addWidget(sequential_);
    usageLayout->addWidget(random_);

    cmbPoolSize_ = new QComboBox(this);
    cmbPoolSize_->setObjectName("cmbPoolSize");
    cmbPoolSize_->setMinimumContentsLength(8);
    txtClusterRadius_ = new QLineEdit(kInitialRadius, this);
    txtClusterRadius_->setObjectName("txtClusterRadius");
    txtClusterRadius_->setMaximumWidth(fontMetrics().horizontalAdvance("00000000"));
    udClusterRadius_ = new SpinButtons("udClusterRadius", this);
    tmrClusterRadius_ = new QTimer(this);
    tmrClusterRadius_->setObjectName("tmrClusterRadius");
    tmrClusterRadius_->setInterval(150);
    txtSimNo_ = new QLineEdit("1", this);
    txtSimNo_->setObjectName("txtSimNo_1");
    txtSimNo_->setMaximumWidth(fontMetrics().horizontalAdvance("000000"));
    updnSimNo_ = new SpinButtons("updnSimNo_1", this);
    lblSimFileName_ = Caption("", this, "lblSimFileName_1");
    lblSimFileName_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* inputs = new QHBoxLayout;
    inputs->addWidget(Caption("Pool Usage Intent", this));
    inputs->addWidget(usage);
    inputs->addSpacing(16);
    inputs->addWidget(Caption("Pool Size", this));
    inputs->addWidget(cmbPoolSize_);
    inputs->addSpacing(16);
    inputs->addWidget(Caption("Cluster Radius", this));
    inputs->addWidget(txtClusterRadius_);
    inputs->addWidget(udClusterRadius_);
    inputs->addSpacing(16);
    inputs->addWidget(Caption("Sim #", this, "lblSimNum_1"));
    inputs->addWidget(txtSimNo_);
    inputs->addWidget(updnSimNo_);
    inputs->addWidget(lblSimFileName_, 1);

    grdClusters_ = new GridView("grdClusters", {900, 1700, 1700}, this);
    grdClusterObjects_ = new GridView("grdClusterObjects", {700, 3600, 1500}, this);
    auto* info = new QGroupBox("Cluster Info", this);
    info->setObjectName("fraClusterInfo");
    auto* clusters = new QVBoxLayout;
    clusters->addWidget(Caption("Clusters", info));
    clusters->addWidget(grdClusters_, 1);
    auto* objects = new QVBoxLayout;
    objects->addWidget(Caption("Objects", info));
    objects->addWidget(grdClusterObjects_, 1);
    auto* infoLayout = new QHBoxLayout(info);
    infoLayout->addLayout(clusters, 2);
    infoLayout->addLayout(objects, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addWidget(info, 1);

    connect(sequential_, &QRadioButton::clicked, this, [this] { emit UsageOptionClicked(0); });
    connect(random_, &QRadioButton::clicked, this, [this] { emit UsageOptionClicked(1); });
    connect(cmbPoolSize_, &QComboBox::activated, this, [this] { cmbPoolSize_Click(); });
    connect(txtClusterRadius_, &QLineEdit::textChanged, this, [this] { txtClusterRadius_Change(); });
    connect(udClusterRadius_, &SpinButtons::Clicked, this, &ClusterPage::udClusterRadius_Click);
    connect(udClusterRadius_, &SpinButtons::Pressed, this, &ClusterPage::udClusterRadius_Press);
    connect(udClusterRadius_, &SpinButtons::Released, this, &ClusterPage::udClusterRadius_Release);
    connect(tmrClusterRadius_, &QTimer::timeout, this, &ClusterPage::tmrClusterRadius_Timer);
    connect(updnSimNo_, &SpinButtons::Clicked, this, &ClusterPage::SimulationStepClicked);
    connect(txtSimNo_, &QLineEdit::textChanged, this, &ClusterPage::SimulationNumberChanged);
    connect(grdClusters_, &GridView::RowChosen, this, [this](int row) {
        ShowClusterObjects(WholeNumberOf(grdClusters_->Cell(row, 0).toStdString()).value_or(0));
    });
}

void ClusterPage::EmptyGrids() {
    grdClusters_->SetTable(EmptyClusterGrid(ClusterGridHeadings()));
    grdClusterObjects_->SetTable(EmptyClusterGrid(ClusterObjectGridHeadings()));
}

void ClusterPage::EnterPage() {
    if (cmbPoolSize_->count() > 0) {
        const QSignalBlocker quiet(cmbPoolSize_);
        cmbPoolSize_->setCurrentIndex(0);
    }
    RunClusterAnalysis();
}

int ClusterPage::RunClusterAnalysis() {
    EmptyGrids();
    if (cmbPoolSize_->currentIndex() < 0 && cmbPoolSize_->count() > 0) {
        const QSignalBlocker quiet(cmbPoolSize_);
        cmbPoolSize_->setCurrentIndex(0);
    }
    const ClusterRadius radius = ReadClusterRadius(txtClusterRadius_->text().toStdString(), RadiusText::Typed);
    ShowRadiusRefusal(radius.Refusal);
    if (!radius.Refusal.empty()) {
        run_ = {};
        return 0;
    }
    const ClusterQuery query{model_.CurrentPool, model_.CurrentSimulation, cmbPoolSize_->currentIndex() + 1,
                             model_.PoolUsageIntent, radius.Radius};
    run_ = kov::RunClusterAnalysis(model_, accFolder_, query, sink_);
    if (run_.Result > 0) grdClusters_->SetTable(FillClusterGrid(run_));
    return run_.Result;
}

void ClusterPage::ShowRadiusRefusal(const std::string& refusal) {
    const bool refused = !refusal.empty();
    const QString text = QString::fromStdString(refusal);
    if (refused != radiusRefused_) {
        radiusRefused_ = refused;
        txtClusterRadius_->setStyleSheet(refused ? "QLineEdit { background: #ffd6d6; color: #a00000; }" : "");
    }
    txtClusterRadius_->setToolTip(text);
    if (refused) emit StatusTextChanged(text);
}

void ClusterPage::ShowClusterObjects(int m) {
    const auto shown = kov::ShowClusterObjects(model_, run_, m);
    if (!shown) return;
    grdClusterObjects_->SetTable(shown->Grid);
    emit StatusTextChanged(QString::fromStdString(shown->StatusText));
}

void ClusterPage::ShowIntent(UsageIntent intent) {
    (intent == UsageIntent::Sequential ? sequential_ : random_)->setChecked(true);
}

void ClusterPage::FillPoolSizes(const std::vector<std::string>& sizes) {
    const QSignalBlocker quiet(cmbPoolSize_);
    cmbPoolSize_->clear();
    for (const std::string& size : sizes) cmbPoolSize_->addItem(QString::fromStdString(size));
    if (!sizes.empty()) cmbPoolSize_->setCurrentIndex(0);
}

bool ClusterPage::RandomSelected() const {
    return random_->isChecked();
}

void ClusterPage::ShowFileName(const QString& path) {
    lblSimFileName_->setText(path);
}

void ClusterPage::ShowSimulationNumber(int s) {
    const QSignalBlocker quiet(txtSimNo_);
    txtSimNo_->setText(QString::fromStdString(PlainInteger(s)));
    lblSimFileName_->setText(QString::fromStdString(SimulationFileName(model_, model_.CurrentPool, s)));
}

// A new report starts from the radius a new window proposes.
void ClusterPage::Clear() {
    FillPoolSizes({});
    {
        const QSignalBlocker quiet(txtSimNo_);
        txtSimNo_->clear();
    }
    {
        const QSignalBlocker quiet(txtClusterRadius_);
        txtClusterRadius_->setText(kInitialRadius);
    }
    ShowRadiusRefusal({});
    lblSimFileName_->clear();
    EmptyGrids();
}

void ClusterPage::cmbPoolSize_Click() {
    RunClusterAnalysis();
}

void ClusterPage::txtClusterRadius_Change() {
    RunClusterAnalysis();
}

void ClusterPage::WriteRadius(const std::string& text) {
    txtClusterRadius_->setText(QString::fromStdString(text));
}

void ClusterPage::udClusterRadius_Click(int direction) {
    WriteRadius(StepRadiusText(txtClusterRadius_->text().toStdString(), direction));
}

void ClusterPage::udClusterRadius_Press(int direction) {
    radiusDirection_ = direction;
    radiusHeld_ = true;
    tmrClusterRadius_->start();
}

void ClusterPage::udClusterRadius_Release() {
    radiusHeld_ = false;
    tmrClusterRadius_->stop();
}

// One step per tick. The timer rests while the step's run is under way, so a
// message box opened by the run cannot let ticks pile up behind it, and it
// stays stopped once a run had something to say: the hold was interrupted.
void ClusterPage::tmrClusterRadius_Timer() {
    tmrClusterRadius_->stop();
    const int shownBefore = sink_.Shown;
    WriteRadius(StepRadiusText(txtClusterRadius_->text().toStdString(), radiusDirection_));
    if (radiusHeld_ && sink_.Shown == shownBefore) tmrClusterRadius_->start();
}

}  // namespace kov
