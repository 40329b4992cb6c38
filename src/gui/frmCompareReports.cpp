#include "frmCompareReports.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ExportDialogs.h"
#include "readers/ReportLoading.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"
#include "widgets/ScreenFit.h"

namespace kov {

namespace {

const QColor kBetterColour(0x1a, 0x7f, 0x37);
const QColor kWorseColour(0xc6, 0x28, 0x28);

// Colours the change cells of a row (change, change %, trend, verdict) after
// its verdict cell (the last column), which already says better or worse in
// words, as the trend's arrow says the direction: the colour only makes them
// quicker to find.
class VerdictColours : public QStyledItemDelegate {
public:
    VerdictColours(int firstChangeColumn, QObject* parent)
        : QStyledItemDelegate(parent), firstChangeColumn_(firstChangeColumn) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() < firstChangeColumn_) return;
        const QString verdict = index.siblingAtColumn(index.model()->columnCount() - 1).data().toString();
        if (verdict == VerdictText(Verdict::Better))
            option->palette.setColor(QPalette::Text, kBetterColour);
        else if (verdict == VerdictText(Verdict::Worse))
            option->palette.setColor(QPalette::Text, kWorseColour);
    }

private:
    int firstChangeColumn_;
};

GridView* CompareGrid(const char* name, StringTable table, QWidget* parent) {
    auto* grid = new GridView(name, 1100, parent);
    const int changeColumn = static_cast<int>(table.Headings.size()) - 4;
    grid->setItemDelegate(new VerdictColours(changeColumn, grid));
    grid->SetTable(std::move(table));
    return grid;
}

QLabel* ColourLegend(QWidget* parent) {
    auto* legend = new QLabel(QString("<span style='color:%1'>&#9632; better</span>&nbsp;&nbsp;"
                                      "<span style='color:%2'>&#9632; worse</span>&nbsp;&nbsp;"
                                      "for each figure (a higher hit ratio, residency or pages per write; fewer "
                                      "I/Os, pages read or write I/Os); sizes, buffers and workload are neither. "
                                      "&#9650; rise and &#9660; fall give the direction.")
                                  .arg(kBetterColour.name(), kWorseColour.name()),
                              parent);
    legend->setObjectName("lblCompareLegend");
    legend->setWordWrap(true);
    return legend;
}

QString Warnings(const ReportComparison& comparison) {
    QStringList lines;
    for (const std::string& warning : comparison.Warnings) lines << QString::fromStdString(warning);
    return lines.join("\n");
}

}  // namespace

frmCompareReports::frmCompareReports(const ReportComparison& comparison, const QString& beforeFile,
                                     const QString& afterFile, const std::string& poolName, QWidget* parent)
    : QDialog(parent),
      comparison_(comparison),
      tabs_(new QTabWidget(this)),
      report_(CompareGrid("grdCompareReport", CompareTotalsGrid(comparison, VerdictColumn::With), this)),
      pools_(CompareGrid("grdComparePools", ComparePoolsGrid(comparison, VerdictColumn::With), this)),
      objects_(nullptr),
      warnings_(new QLabel(Warnings(comparison), this)),
      chart_(new ChartWidget("chartCompareFigure", this)) {
    setObjectName("frmCompareReports");
    setWindowTitle("Compare with " + QFileInfo(afterFile).fileName());
    const PoolComparison* pool = FindPoolComparison(comparison, poolName);
    objects_ = CompareGrid("grdCompareObjects",
                           CompareObjectsGrid(pool ? *pool : PoolComparison{}, VerdictColumn::With), this);

    auto* files = new QLabel("Before: " + beforeFile + "\nAfter: " + afterFile +
                                 "\nCounts are compared per second of each report's elapsed time (…/Sec).",
                             this);
    files->setObjectName("lblCompareFiles");
    files->setTextInteractionFlags(Qt::TextSelectableByMouse);
    warnings_->setObjectName("lblCompareWarnings");
    warnings_->setStyleSheet("color: #8a5a00; font-weight: bold");
    warnings_->setVisible(!comparison.Warnings.empty());

    tabs_->setObjectName("tbsCompare");
    tabs_->addTab(report_, "Report");
    auto* chartScroll = new QScrollArea(this);
    chartScroll->setWidgetResizable(true);
    chartScroll->setWidget(chart_);
    auto* poolsAndChart = new QSplitter(Qt::Horizontal, this);
    poolsAndChart->addWidget(pools_);
    poolsAndChart->addWidget(chartScroll);
    poolsAndChart->setStretchFactor(0, 3);
    poolsAndChart->setStretchFactor(1, 2);
    poolsAndChart->setSizes({740, 520});  // the grid's columns, and room for the chart's names and values
    tabs_->addTab(poolsAndChart, "Pools");
    connect(pools_, &GridView::RowChosen, this, &frmCompareReports::ChartFigureOfPoolsRow);
    ChartFigureOfPoolsRow(0);
    const QString poolText = QString::fromStdString(std::string(TrimBlanks(poolName)));
    tabs_->addTab(objects_, pool                 ? "Objects of " + poolText
                            : poolText.isEmpty() ? QString("Objects")
                                                 : "Objects (" + poolText + " is in one report only)");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(files);
    layout->addWidget(warnings_);
    layout->addWidget(ColourLegend(this));
    layout->addWidget(tabs_, 1);
    layout->addWidget(buttons);
    resize(FittedToScreen(*this, QSize(1300, 800)));
}

void frmCompareReports::ChartFigureOfPoolsRow(int row) {
    if (row < 0 || row >= pools_->Model()->rowCount()) return chart_->Show(CompareFigureChart(comparison_, ""));
    chart_->Show(CompareFigureChart(comparison_, pools_->Cell(row, 1).toStdString()));
}

namespace {

// A file that cannot be opened is no simulation report: reading it says why.
bool IsSimulationReport(const QString& file) {
    try {
        return IdentifyReport(QFile::encodeName(file).toStdString()) == ReportFileKind::Simulation;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

void CompareWithChosenReport(QWidget* parent, const ReportModel& loaded, const AppServices& services, MessageSink& sink,
                             SaveFolder& folder) {
    const QString file = services.ChooseStatFile(parent);
    if (file.isEmpty()) return;
    // A simulation report holds no interval to compare: said before it is read.
    if (IsSimulationReport(file)) {
        sink.Show(
            {"Compare with",
             "The report " + file.toStdString() + " is a simulation report; a statistics report is needed to compare.",
             MessageIcon::Exclamation});
        return;
    }
    ReportModel after;
    ReportReader reader(after, sink);
    if (!OpenStatisticsReport(after, reader, QFile::encodeName(file).toStdString())) {
        sink.Show({"Compare with",
                   "The report " + file.toStdString() + " was not read to its end, so it is not compared.",
                   MessageIcon::Exclamation});
        return;
    }
    const std::string poolName =
        loaded.Pools.Contains(loaded.CurrentPool) ? loaded.Pools(loaded.CurrentPool).PoolName.TrimmedString() : "";
    const ReportComparison comparison = CompareReports(loaded, after);
    frmCompareReports dialog(comparison, QString::fromStdString(loaded.StatFileName), file, poolName, parent);
    // Saved files say which comparison they hold; a chart its figure.
    ConnectExports(
        dialog, services, sink, folder, [file] { return QString(file); },
        [](const QWidget& source) {
            if (const auto* chart = qobject_cast<const ChartWidget*>(&source))
                return QString::fromStdString(chart->Shown().Title);
            return source.objectName().replace("grdCompare", "compare-").toLower();
        });
    services.RunModal(dialog);
}

}  // namespace kov
