#include "frmCompareReports.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

#include "readers/ReportLoading.h"
#include "widgets/GridView.h"

namespace kov {

namespace {

// Colours the change cells of a row after its trend cell (the last column),
// which already says rise or fall in words and an arrow: the colour only
// makes them quicker to find.
class TrendColours : public QStyledItemDelegate {
public:
    TrendColours(int firstChangeColumn, QObject* parent)
        : QStyledItemDelegate(parent), firstChangeColumn_(firstChangeColumn) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() < firstChangeColumn_) return;
        const QString trend = index.siblingAtColumn(index.model()->columnCount() - 1).data().toString();
        if (trend.startsWith(QChar(0x25B2)))
            option->palette.setColor(QPalette::Text, QColor(0x1a, 0x7f, 0x37));
        else if (trend.startsWith(QChar(0x25BC)))
            option->palette.setColor(QPalette::Text, QColor(0xc6, 0x28, 0x28));
    }

private:
    int firstChangeColumn_;
};

GridView* CompareGrid(const char* name, StringTable table, QWidget* parent) {
    auto* grid = new GridView(name, 1100, parent);
    const int changeColumn = static_cast<int>(table.Headings.size()) - 3;
    grid->setItemDelegate(new TrendColours(changeColumn, grid));
    grid->SetTable(std::move(table));
    return grid;
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
      tabs_(new QTabWidget(this)),
      report_(CompareGrid("grdCompareReport", CompareTotalsGrid(comparison), this)),
      pools_(CompareGrid("grdComparePools", ComparePoolsGrid(comparison), this)),
      objects_(nullptr),
      warnings_(new QLabel(Warnings(comparison), this)) {
    setObjectName("frmCompareReports");
    setWindowTitle("Compare with " + QFileInfo(afterFile).fileName());
    const PoolComparison* pool = FindPoolComparison(comparison, poolName);
    objects_ = CompareGrid("grdCompareObjects", pool ? CompareObjectsGrid(*pool) : CompareObjectsGrid({}), this);

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
    tabs_->addTab(pools_, "Pools");
    const QString poolText = QString::fromStdString(std::string(TrimBlanks(poolName)));
    tabs_->addTab(objects_, pool                 ? "Objects of " + poolText
                            : poolText.isEmpty() ? QString("Objects")
                                                 : "Objects (" + poolText + " is in one report only)");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(files);
    layout->addWidget(warnings_);
    layout->addWidget(tabs_, 1);
    layout->addWidget(buttons);
    resize(1100, 700);
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

void CompareWithChosenReport(QWidget* parent, const ReportModel& loaded, const AppServices& services,
                             MessageSink& sink) {
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
    frmCompareReports dialog(CompareReports(loaded, after), QString::fromStdString(loaded.StatFileName), file, poolName,
                             parent);
    services.RunModal(dialog);
}

}  // namespace kov
