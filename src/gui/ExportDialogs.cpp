#include "ExportDialogs.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QSpinBox>
#include <memory>
#include <string_view>

#include "AppServices.h"
#include "common/AtomicFile.h"
#include "common/Message.h"
#include "print/ChartImage.h"
#include "views/CsvTable.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"

namespace kov {

namespace {

constexpr int kLeastSide = 16;
constexpr int kLargestSide = 10000;

// What every save request needs to ask for its file.
struct SaveContext {
    const AppServices& Services;
    MessageSink& Sink;
    SaveFolder& Folder;
    std::function<QString()> ReportPath;
    ExportContent Content;

    QString Ask(QWidget& from, const QString& extension, const QStringList& filters) const {
        if (!Services.ChooseSaveFile) return {};
        const QString proposed = ProposedFileName(ReportPath(), Content(from), extension);
        QString chosen = Services.ChooseSaveFile(&from, Folder.Start(), proposed, filters);
        Folder.Chosen(chosen);
        return chosen;
    }
};

void WriteOrSay(const QString& path, std::string_view bytes, const char* title, MessageSink& sink) {
    try {
        WriteFileAtomically(QFile::encodeName(path).toStdString(),
                            [bytes](std::ostream& out) { out.write(bytes.data(), std::streamsize(bytes.size())); });
    } catch (const std::exception& failure) {
        sink.Show({title, "'" + path.toStdString() + "' was not saved: " + failure.what(), MessageIcon::Exclamation});
    }
}

void SaveGridAsCsv(GridView& grid, const SaveContext& context) {
    const QString path =
        context.Ask(grid, "csv", {QStringLiteral("CSV Files (*.csv)"), QStringLiteral("All Files (*.*)")});
    if (!path.isEmpty()) WriteOrSay(path, CsvText(grid.Model()->Grid()), "Save as CSV", context.Sink);
}

// An SVG file is written as SVG, any other name as PNG.
void SaveChartImage(ChartWidget& chart, const SaveContext& context) {
    const QString path =
        context.Ask(chart, "png", {QStringLiteral("PNG Image (*.png)"), QStringLiteral("SVG Image (*.svg)")});
    if (path.isEmpty()) return;
    ImageSizeDialog dialog(chart.size(), &chart);
    if (context.Services.RunModal) context.Services.RunModal(dialog);
    if (dialog.result() != QDialog::Accepted) return;
    const ImageFormat format =
        path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) ? ImageFormat::Svg : ImageFormat::Png;
    const QByteArray bytes = ChartImageFile(chart.Shown(), dialog.ChosenSize(), format);
    WriteOrSay(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), "Save Image",
               context.Sink);
}

}  // namespace

ImageSizeDialog::ImageSizeDialog(QSize proposed, QWidget* parent)
    : QDialog(parent), width_(new QSpinBox(this)), height_(new QSpinBox(this)) {
    setObjectName("dlgImageSize");
    setWindowTitle(QStringLiteral("Image Size"));
    for (QSpinBox* side : {width_, height_}) {
        side->setRange(kLeastSide, kLargestSide);
        side->setSuffix(QStringLiteral(" px"));
    }
    width_->setObjectName("txtImageWidth");
    height_->setObjectName("txtImageHeight");
    SetSize(proposed);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Width:"), width_);
    layout->addRow(QStringLiteral("Height:"), height_);
    layout->addRow(buttons);
}

QSize ImageSizeDialog::ChosenSize() const {
    return {width_->value(), height_->value()};
}

void ImageSizeDialog::SetSize(QSize size) {
    width_->setValue(size.width());
    height_->setValue(size.height());
}

void SaveFolder::Chosen(const QString& file) {
    if (!file.isEmpty()) *chosen_ = QFileInfo(file).absolutePath();
}

SaveFolder SaveFolder::Beside(const QString& folder) const {
    SaveFolder beside([folder] { return folder; });
    beside.chosen_ = chosen_;
    return beside;
}

QString ProposedFileName(const QString& reportPath, const QString& content, const QString& extension) {
    QString base = QFileInfo(reportPath).completeBaseName();
    if (base.isEmpty()) base = QStringLiteral("KOVGraph");
    QString name = base + "-" + content.trimmed() + "." + extension;
    for (QChar& c : name)
        if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c)) c = '_';
    return name;
}

void ConnectExports(QWidget& window, const AppServices& services, MessageSink& sink, SaveFolder& folder,
                    std::function<QString()> reportPath, ExportContent content) {
    auto context =
        std::make_shared<SaveContext>(SaveContext{services, sink, folder, std::move(reportPath), std::move(content)});
    for (GridView* grid : window.findChildren<GridView*>())
        QObject::connect(grid, &GridView::SaveAsCsvRequested, grid,
                         [grid, context] { SaveGridAsCsv(*grid, *context); });
    for (ChartWidget* chart : window.findChildren<ChartWidget*>())
        QObject::connect(chart, &ChartWidget::SaveImageRequested, chart,
                         [chart, context] { SaveChartImage(*chart, *context); });
}

}  // namespace kov
