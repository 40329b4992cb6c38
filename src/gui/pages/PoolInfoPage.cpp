#include "pages/PoolInfoPage.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/ChartWidget.h"
#include "widgets/LabelPanel.h"
#include "widgets/WideningComboBox.h"

namespace kov {

PoolInfoPage::PoolInfoPage(QWidget* parent)
    : QWidget(parent),
      info_(new LabelPanel("Buffer Pool Info", "lblPoolCaption", "lblPoolInfo", 6, this)),
      threshold_(new LabelPanel("Threshold", "lblThresholdCaption", "lblThreshold", 4, this)),
      previous_(new QPushButton("Previous Pool", this)),
      next_(new QPushButton("Next Pool", this)),
      graphTypes_(new WideningComboBox(this)),
      chartLabels_(new LabelPanel("", "lblChartInfo", "lblChartData", 5, this)),
      chart_(new ChartWidget("chart1BPool", this)),
      panel_(new QFrame(this)) {
    BuildDetailsPanel();
    graphTypes_->setObjectName("cboPoolGraphType");
    previous_->setObjectName("cmdPreviousPool");
    next_->setObjectName("cmdNextPool");
    auto* side = new QVBoxLayout;
    side->addWidget(info_);
    side->addWidget(threshold_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(previous_);
    buttons->addWidget(next_);
    side->addLayout(buttons);
    side->addWidget(graphTypes_);
    side->addWidget(chartLabels_);
    side->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(side);
    layout->addWidget(chart_, 1);
    connect(graphTypes_, &QComboBox::activated, this, [this](int index) { emit GraphTypeChosen(index + 1); });
}

// Three framed columns (ratios, pages read, getpages), each caption above its
// value, and the I/O times in a row below. In the getpages column the value
// under a caption is not always the label of the same index.
void PoolInfoPage::BuildDetailsPanel() {
    panel_->setObjectName("pnlPoolDetails");
    static_cast<QFrame*>(panel_)->setFrameShape(QFrame::Panel);
    static_cast<QFrame*>(panel_)->setFrameShadow(QFrame::Raised);
    panel_->setAutoFillBackground(true);
    for (std::size_t i = 0; i < 19; ++i) {
        panelCaptions_[i] = new QLabel(QString::fromStdString(PanelCaptions()[i]), panel_);
        panelCaptions_[i]->setObjectName(QString("lblPanelLabel_%1").arg(i));
        panelValues_[i] = new QLabel(panel_);
        panelValues_[i]->setObjectName(QString("lblPanelData_%1").arg(i));
        panelValues_[i]->setFrameShape(QFrame::StyledPanel);
        panelValues_[i]->setFrameShadow(QFrame::Sunken);
    }
    const auto column = [this](const char* title, std::initializer_list<std::pair<int, int>> pairs) {
        auto* frame = new QGroupBox(title, panel_);
        auto* layout = new QVBoxLayout(frame);
        for (const auto& [caption, value] : pairs) {
            layout->addWidget(panelCaptions_[static_cast<std::size_t>(caption)]);
            layout->addWidget(panelValues_[static_cast<std::size_t>(value)]);
        }
        return frame;
    };
    auto* columns = new QHBoxLayout;
    columns->addWidget(column("Ratios", {{8, 8}, {9, 9}, {10, 10}, {11, 11}, {14, 14}}));
    columns->addWidget(column("Pages Read", {{4, 4}, {5, 5}, {6, 6}, {7, 7}, {15, 15}}));
    columns->addWidget(column("Get Pages", {{0, 0}, {2, 1}, {3, 2}, {1, 3}, {16, 16}}));
    auto* bottom = new QGridLayout;
    int place = 0;
    for (int index : {12, 13, 17, 18}) {
        bottom->addWidget(panelCaptions_[static_cast<std::size_t>(index)], 0, place);
        bottom->addWidget(panelValues_[static_cast<std::size_t>(index)], 1, place++);
    }
    auto* close = new QPushButton("&Close", panel_);
    close->setObjectName("cmdClosePoolDetails");
    connect(close, &QPushButton::clicked, this, &PoolInfoPage::HidePoolDetails);
    panelHeading_ = new QLabel(panel_);
    panelHeading_->setObjectName("lblPanelHeading");
    panelHeading_->setTextFormat(Qt::PlainText);
    QFont bold = panelHeading_->font();
    bold.setBold(true);
    panelHeading_->setFont(bold);
    auto* layout = new QVBoxLayout(panel_);
    layout->addWidget(panelHeading_);
    layout->addLayout(columns);
    layout->addLayout(bottom);
    layout->addWidget(close, 0, Qt::AlignRight);
    panel_->hide();
}

void PoolInfoPage::ShowObjectDetails(const ObjectDetailFigures& figures) {
    panelHeading_->setText(QString::fromStdString(figures.Heading));
    for (std::size_t i = 0; i < 19; ++i) panelValues_[i]->setText(QString::fromStdString(figures.Values[i]));
    PlacePanel();
    panel_->show();
    panel_->raise();
}

void PoolInfoPage::HidePoolDetails() {
    panel_->hide();
}

void PoolInfoPage::PlacePanel() {
    const QSize size = panel_->sizeHint();
    const QRect area = chart_->geometry();
    panel_->setGeometry(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2,
                        size.width(), size.height());
}

void PoolInfoPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (panel_->isVisible()) PlacePanel();
}

void PoolInfoPage::FillGraphTypeList(const std::vector<std::string>& types) {
    const QSignalBlocker quiet(graphTypes_);
    graphTypes_->clear();
    for (const std::string& type : types) graphTypes_->addItem(QString::fromStdString(type));
    graphTypes_->setCurrentIndex(-1);
}

void PoolInfoPage::SelectGraphType(int listIndex) {
    graphTypes_->setCurrentIndex(listIndex);
}

int PoolInfoPage::GraphPosition() const {
    return graphTypes_->currentIndex() + 1;
}

void PoolInfoPage::ShowChart(const ChartData& chart) {
    chartLabels_->Show(chart.SideLabels);
    for (std::size_t pair = 0; pair < chart.SideLabels.size() && pair < 5; ++pair)
        chartLabels_->SetRowVisible(static_cast<int>(pair), !chart.IsSideLabelHidden(pair));
    chart_->Show(chart);
}

void PoolInfoPage::Clear() {
    HidePoolDetails();
    ShowPoolLabels({});
    ShowChart({});
}

void PoolInfoPage::ShowPoolLabels(const PoolLabels& labels) {
    info_->Show(labels.Info);
    threshold_->Show(labels.Threshold);
}

}  // namespace kov
