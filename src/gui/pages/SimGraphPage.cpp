#include "pages/SimGraphPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/Formats.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"
#include "widgets/SpinButtons.h"

namespace kov {

namespace {

constexpr const char* kSubTabCaptions[] = {"Largest Max WorkSet", "Smallest Max WorkSet", "Optimal Pool Sizes",
                                           "Largest Improvement Objects"};
constexpr const char* kChartNames[] = {"chartLImprove", "chartSImprove", "chartOptPoolSize", "chartObjLargestImp"};

}  // namespace

SimGraphPage::SimGraphPage(ReportModel& model, MessageSink& sink, QWidget* parent)
    : QWidget(parent), model_(model), sink_(sink) {
    BuildPage();
    BuildDetailsPanel();
    ShowSimDetailColumns();
}

void SimGraphPage::BuildPage() {
    auto* simNum = new QLabel("Sim#", this);
    simNum->setObjectName("lblSimNum_0");
    txtSimNo_ = new QLineEdit("1", this);
    txtSimNo_->setObjectName("txtSimNo_0");
    txtSimNo_->setMaximumWidth(fontMetrics().horizontalAdvance("000000"));
    updnSimNo_ = new SpinButtons("updnSimNo_0", this);
    lblSimFileName_ = new QLabel(this);
    lblSimFileName_->setObjectName("lblSimFileName_0");
    lblSimFileName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const char* optionTexts[] = {kSysHitRatioOption, kIORateOption};
    auto* inputs = new QHBoxLayout;
    inputs->addWidget(simNum);
    inputs->addWidget(txtSimNo_);
    inputs->addWidget(updnSimNo_);
    inputs->addWidget(lblSimFileName_, 1);
    for (int option = 0; option < 2; ++option) {
        options_[option] = new QRadioButton(optionTexts[option], this);
        options_[option]->setObjectName(QString("optGreatestImprovement_%1").arg(option));
        inputs->addWidget(options_[option]);
        connect(options_[option], &QRadioButton::clicked, this,
                [this, option] { emit ImprovementOptionClicked(option); });
    }
    options_[0]->setChecked(true);
    cmdSizeAdvice_ = new QPushButton("Size Advice\u2026", this);
    cmdSizeAdvice_->setObjectName("cmdSizeAdvice_0");
    cmdSizeAdvice_->setToolTip("How big each simulated pool should be within a memory budget");
    inputs->addWidget(cmdSizeAdvice_);
    connect(cmdSizeAdvice_, &QPushButton::clicked, this, &SimGraphPage::SizeAdviceRequested);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tbsSimGraphs");
    for (int tab = 0; tab < 4; ++tab) {
        charts_[tab] = new ChartWidget(kChartNames[tab], tabs_);
        tabs_->addTab(charts_[tab], kSubTabCaptions[tab]);
        connect(charts_[tab], &ChartWidget::ObjectClicked, this,
                [this, tab](int object) { ChartPointClicked(static_cast<SubTab>(tab), object); });
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addWidget(tabs_, 1);

    connect(tabs_, &QTabWidget::currentChanged, this, &SimGraphPage::tbsSimGraphs_Click);
    connect(txtSimNo_, &QLineEdit::textChanged, this, &SimGraphPage::SimulationNumberChanged);
    connect(updnSimNo_, &SpinButtons::Clicked, this, &SimGraphPage::SimulationStepClicked);
}

void SimGraphPage::BuildDetailsPanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName("pnlSimAnalysisDetails");
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    panel_ = panel;
    lblSimObjName_ = new QLabel(panel_);
    lblSimObjName_->setObjectName("lblSimObjName");
    QFont bold = lblSimObjName_->font();
    bold.setBold(true);
    lblSimObjName_->setFont(bold);
    lvSimObjectDetails_ = new GridView("lvSimObjectDetails", {1440, 725}, panel_);
    lvSimObjectDetails_->setSortingEnabled(false);
    lvSimObjectDetails_->horizontalHeader()->setSectionsClickable(false);
    lvSimObjectDetails_->verticalHeader()->hide();
    lvSimObjectDetails_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    cmdClose_ = new QPushButton("&Close", panel_);
    cmdClose_->setObjectName("cmdClose");
    auto* layout = new QVBoxLayout(panel_);
    layout->addWidget(lblSimObjName_);
    layout->addWidget(lvSimObjectDetails_);
    layout->addWidget(cmdClose_, 0, Qt::AlignRight);
    connect(cmdClose_, &QPushButton::clicked, this, &SimGraphPage::cmdClose_Click);
    panel_->hide();
}

void SimGraphPage::EnterPage() {
    tabs_->setCurrentIndex(OptimalPoolSizes);
    ChartLargestWorkSets();
    ChartSmallestWorkSets();
}

void SimGraphPage::ShowChart(SubTab tab, const ChartData& chart) {
    latest_[tab] = chart;
    drawn_[tab] = false;
    if (tabs_->currentIndex() == tab) DrawChosenChart();
    for (const Message& message : chart.Messages) sink_.Show(message);
}

void SimGraphPage::DrawChosenChart() {
    const int tab = tabs_->currentIndex();
    if (tab < 0 || drawn_[tab]) return;
    charts_[tab]->Show(latest_[tab]);
    drawn_[tab] = true;
}

void SimGraphPage::ChartLargestWorkSets() {
    ShowChart(LargestWorkSet, kov::ChartLargestWorkSets(model_, Pool(), Slot()));
}

void SimGraphPage::ChartSmallestWorkSets() {
    ShowChart(SmallestWorkSet, kov::ChartSmallestWorkSets(model_, Pool(), Slot()));
}

void SimGraphPage::DrawImprovementCharts(int option) {
    const auto charts = GreatestImprovementCharts(model_, Pool(), Slot(), option);
    if (!charts) return;
    ShowChart(OptimalPoolSizes, charts->PoolSize);
    ShowChart(LargestImprovement, charts->Improvement);
}

int SimGraphPage::SelectedImprovementOption() const {
    return options_[1]->isChecked() ? 1 : 0;
}

void SimGraphPage::SelectImprovementOption(int option) {
    options_[option]->setChecked(true);
    emit ImprovementOptionClicked(option);
}

void SimGraphPage::Clear() {
    panel_->hide();
    panelFilled_ = false;
    lblSimObjName_->clear();
    {
        const QSignalBlocker quiet(tabs_);
        tabs_->setCurrentIndex(LargestWorkSet);
    }
    options_[0]->setChecked(true);
    for (int tab = 0; tab < 4; ++tab) {
        latest_[tab] = {};
        charts_[tab]->Show({});
        drawn_[tab] = true;
    }
    ShowSimulationNumber(1);
    lblSimFileName_->clear();
    ShowSimDetailColumns();
}

// The list keeps its five rows; a new simulation only changes its columns.
void SimGraphPage::ShowSimDetailColumns() {
    StringTable table{SimDetailHeadings(model_, Pool(), Slot()), {}};
    for (const std::string& text : SimDetailRowTexts()) table.Rows.push_back({text});
    lvSimObjectDetails_->SetTable(std::move(table));
}

void SimGraphPage::ShowSimObjectDetails(int object, const QString& name) {
    panel_->show();
    panel_->raise();
    const SimObjectDetails details = kov::ShowSimObjectDetails(model_, Pool(), Slot(), object, name.toStdString());
    lblSimObjName_->setText(QString::fromStdString(details.Caption));
    if (!details.Rows.empty())
        lvSimObjectDetails_->SetTable({lvSimObjectDetails_->Model()->Table().Headings, details.Rows});
    panelFilled_ = true;
    PlacePanel();
}

// The hidden series gives the object; its bar's label gives the name.
void SimGraphPage::ChartPointClicked(SubTab tab, int object) {
    for (const ChartPoint& point : charts_[tab]->Shown().Points) {
        if (point.Object != object) continue;
        ShowSimObjectDetails(object, QString::fromStdString(point.Label));
        return;
    }
}

void SimGraphPage::cmdClose_Click() {
    panel_->hide();
}

// Another sub-tab shows the panel again with what it last showed.
void SimGraphPage::tbsSimGraphs_Click() {
    DrawChosenChart();
    if (!panelFilled_) return;
    panel_->show();
    panel_->raise();
    PlacePanel();
}

void SimGraphPage::ShowSimulationNumber(int s) {
    const QSignalBlocker quiet(txtSimNo_);
    txtSimNo_->setText(QString::fromStdString(PlainInteger(s)));
}

void SimGraphPage::ShowFileName(const QString& path) {
    lblSimFileName_->setText(path);
}

// Along the bottom of the charts, as wide as its columns need (a scroll bar
// below them when the page is narrower) and tall enough for all five rows.
void SimGraphPage::PlacePanel() {
    GridView* list = lvSimObjectDetails_;
    const QRect area = tabs_->geometry();
    const int margins = panel_->layout()->contentsMargins().left() + panel_->layout()->contentsMargins().right();
    const int columns = list->horizontalHeader()->length() + 2 * list->frameWidth();
    const int width = std::min(std::max(columns + margins, panel_->sizeHint().width()), area.width());
    const bool scrolls = columns + margins > width;
    list->setFixedHeight(list->horizontalHeader()->sizeHint().height() + list->verticalHeader()->length() +
                         2 * list->frameWidth() + (scrolls ? list->horizontalScrollBar()->sizeHint().height() : 0));
    const int height = panel_->sizeHint().height();
    panel_->setGeometry(area.x() + (area.width() - width) / 2, area.bottom() - height - 8, width, height);
}

void SimGraphPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (panel_->isVisible()) PlacePanel();
}

}  // namespace kov
