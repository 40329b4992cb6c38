#include "pages/ObjectInfoPage.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"
#include "widgets/LabelPanel.h"

namespace kov {

namespace {

// A small square in the type's colour with its letter, so table spaces and
// indexes tell apart at a glance in a long list.
QIcon TypeIcon(ObjectIcon icon) {
    struct Look {
        QColor Fill;
        const char* Letter;
    };
    const Look look = [icon] {
        switch (icon) {
            case ObjectIcon::TableSpace:
                return Look{QColor(46, 110, 180), "T"};
            case ObjectIcon::Index:
                return Look{QColor(60, 150, 80), "I"};
            case ObjectIcon::D:
                return Look{QColor(190, 120, 30), "D"};
            default:
                return Look{QColor(130, 130, 130), "?"};
        }
    }();
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(look.Fill);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, look.Letter);
    return QIcon(pixmap);
}

const QIcon& IconFor(ObjectIcon icon) {
    static const std::array<QIcon, 4> icons{TypeIcon(ObjectIcon::TableSpace), TypeIcon(ObjectIcon::Index),
                                            TypeIcon(ObjectIcon::D), TypeIcon(ObjectIcon::Other)};
    return icons[static_cast<std::size_t>(icon)];
}

constexpr const char* kListHeading = "Object";
constexpr int kItemPosition = Qt::UserRole;  // the item's place in table order

// Grid columns in twips: type, object name, then the eleven counters.
std::vector<int> ObjectGridTwips() {
    return {600, 2600, 1150};
}

}  // namespace

ObjectInfoPage::ObjectInfoPage(QWidget* parent)
    : QWidget(parent),
      list_(new QTreeWidget(this)),
      grid_(new GridView("grdObjectInfo", ObjectGridTwips(), this)),
      graphTypes_(new QComboBox(this)),
      labels_(new LabelPanel("", "lblObjectInfo", "lblObjectData", 5, this)),
      chart_(new ChartWidget("chartObject", this)),
      chartArea_(new QWidget(this)) {
    list_->setObjectName("lvObjects");
    list_->setColumnCount(1);
    list_->setHeaderLabels({kListHeading});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setMouseTracking(true);
    list_->header()->setSectionsClickable(true);
    list_->setMinimumWidth(240);
    // Type and name stay in view while the counters scroll by; the grid is
    // never narrower than they and two counters.
    grid_->FreezeColumns(2);
    grid_->setMinimumWidth(380);
    graphTypes_->setObjectName("cboObjectGraphType");
    chartArea_->setFixedWidth(430);
    auto* chartLayout = new QVBoxLayout(chartArea_);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addWidget(chart_);

    auto* side = new QVBoxLayout;
    side->addWidget(list_, 1);
    side->addWidget(graphTypes_);
    side->addWidget(labels_);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(side);
    layout->addWidget(grid_, 1);
    layout->addWidget(chartArea_);

    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { emit ListItemChosen(); });
    connect(list_, &QTreeWidget::itemEntered, this,
            [this](QTreeWidgetItem* item) { list_->setToolTip(item ? item->text(0) : QString()); });
    connect(list_->header(), &QHeaderView::sectionClicked, this, &ObjectInfoPage::SortList);
    connect(grid_, &GridView::RowChosen, this, [this](int row) { emit GridObjectChosen(grid_->Cell(row, 1)); });
    connect(grid_, &GridView::SortedByHeading, this, &ObjectInfoPage::GridSorted);
    connect(grid_, &QTableView::doubleClicked, this, &ObjectInfoPage::ToggleGridWidth);
    connect(graphTypes_, &QComboBox::activated, this, [this] { emit GraphTypeChosen(); });
}

void ObjectInfoPage::FillGraphTypeList(const std::vector<std::string>& types) {
    const QSignalBlocker quiet(graphTypes_);
    graphTypes_->clear();
    for (const std::string& type : types) graphTypes_->addItem(QString::fromStdString(type));
    graphTypes_->setCurrentIndex(types.empty() ? -1 : 0);
}

void ObjectInfoPage::SelectFirstGraphType() {
    const QSignalBlocker quiet(graphTypes_);
    if (graphTypes_->count() > 0) graphTypes_->setCurrentIndex(0);
}

int ObjectInfoPage::GraphType() const {
    return graphTypes_->currentIndex() + 1;
}

void ObjectInfoPage::FillObjectViews(const std::vector<ObjectListItem>& items, StringTable grid) {
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
        items_ = items;
        QList<QTreeWidgetItem*> rows;
        rows.reserve(static_cast<qsizetype>(items.size()));
        for (std::size_t i = 0; i < items.size(); ++i) {
            auto* row = new QTreeWidgetItem(QStringList{QString::fromStdString(items[i].Name)});
            row->setIcon(0, IconFor(items[i].Icon));
            row->setData(0, kItemPosition, static_cast<qulonglong>(i));
            rows.push_back(row);
        }
        list_->addTopLevelItems(rows);
        list_->headerItem()->setText(0, kListHeading);
        list_->scrollToTop();
    }
    grid_->SetTable(std::move(grid));
}

void ObjectInfoPage::ShowCurrentObject(const QString& name) {
    {
        const QSignalBlocker quiet(list_);
        list_->clearSelection();
        QTreeWidgetItem* picked = nullptr;
        qulonglong pickedPosition = 0;
        for (int row = 0; row < list_->topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = list_->topLevelItem(row);
            const qulonglong position = item->data(0, kItemPosition).toULongLong();
            if (item->text(0) == name && (picked == nullptr || position > pickedPosition)) {
                picked = item;
                pickedPosition = position;
            }
        }
        if (picked != nullptr) {
            list_->setCurrentItem(picked);
            picked->setSelected(true);
            list_->scrollToItem(picked);
        }
    }
    grid_->clearSelection();
    for (int row = grid_->Model()->rowCount() - 1; row >= 0; --row) {
        if (grid_->Cell(row, 1) != name) continue;
        grid_->selectRow(row);
        // Into view downwards only: the name column is frozen, the counters
        // stay where the DBA scrolled them.
        const int sideways = grid_->horizontalScrollBar()->value();
        grid_->scrollTo(grid_->Model()->index(row, 1));
        grid_->horizontalScrollBar()->setValue(sideways);
        break;
    }
}

std::optional<QString> ObjectInfoPage::SelectedListItem() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return selected.front()->text(0);
}

// The labels are written first; the chart follows only when the breakdown
// has one. Without a selected list item the chart keeps its titles.
void ObjectInfoPage::ShowBreakdown(const ObjectBreakdown& breakdown) {
    labels_->Update(breakdown.Labels);
    for (int row = 0; row < 4; ++row) labels_->SetRowVisible(row, true);
    labels_->SetRowVisible(4, !breakdown.HideLastLabel);
    if (!breakdown.Chart) return;
    ChartData chart = *breakdown.Chart;
    if (!SelectedListItem()) {
        chart.Title = chart_->Shown().Title;
        chart.Subtitle = chart_->Shown().Subtitle;
    }
    chart_->Show(chart);
}

void ObjectInfoPage::Clear() {
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
    }
    list_->headerItem()->setText(0, kListHeading);
    grid_->ClearRows();
    ShowNoObject();
}

void ObjectInfoPage::ShowNoObject() {
    labels_->Show({});
    for (int row = 0; row < 5; ++row) labels_->SetRowVisible(row, false);
    ChartData none;
    none.Kind = ChartKind::Pie;
    chart_->Show(none);
}

// The grid takes the chart's place: widened by the chart's width, covering it.
void ObjectInfoPage::ToggleGridWidth() {
    chartArea_->setVisible(chartArea_->isHidden());
}

bool ObjectInfoPage::IsGridWidened() const {
    return chartArea_->isHidden();
}

// The list sorts as the grids do; the selected item stays selected.
void ObjectInfoPage::SortList() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ascending = listSort_.Toggle();
    QTreeWidgetItem* current = list_->currentItem();
    const QList<QTreeWidgetItem*> picked = list_->selectedItems();
    {
        const QSignalBlocker quiet(list_);
        std::vector<QTreeWidgetItem*> byPosition(items_.size());
        for (QTreeWidgetItem* row : list_->invisibleRootItem()->takeChildren())
            byPosition[row->data(0, kItemPosition).toULongLong()] = row;
        QList<QTreeWidgetItem*> sorted;
        sorted.reserve(static_cast<qsizetype>(items_.size()));
        for (std::size_t i : ObjectListOrder(items_, ascending)) sorted.push_back(byPosition[i]);
        list_->addTopLevelItems(sorted);
        if (current != nullptr) list_->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
        for (QTreeWidgetItem* item : picked) item->setSelected(true);
    }
    list_->headerItem()->setText(0, QString::fromStdString(SortedHeading(kListHeading, ascending)));
    QApplication::restoreOverrideCursor();
}

}  // namespace kov
