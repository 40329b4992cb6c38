#include "ExportDialogs.h"

#include <QDialogButtonBox>
#include <QDir>
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

// The folder of the last file saved, where the next dialog opens.
using LastFolder = std::shared_ptr<QString>;

QString AskFile(const AppServices& services, QWidget& from, const LastFolder& folder, const QString& proposed,
                const QStringList& filters) {
    if (!services.ChooseSaveFile) return {};
    QString chosen = services.ChooseSaveFile(&from, *folder, proposed, filters);
    if (!chosen.isEmpty()) *folder = QFileInfo(chosen).absolutePath();
    return chosen;
}

void WriteOrSay(const QString& path, std::string_view bytes, const char* title, MessageSink& sink) {
    try {
        WriteFileAtomically(QFile::encodeName(path).toStdString(),
                            [bytes](std::ostream& out) { out.write(bytes.data(), std::streamsize(bytes.size())); });
    } catch (const std::exception& failure) {
        sink.Show({title, "'" + path.toStdString() + "' was not saved: " + failure.what(), MessageIcon::Exclamation});
    }
}

void SaveGridAsCsv(GridView& grid, const AppServices& services, const LastFolder& folder, MessageSink& sink) {
    const QString path = AskFile(services, grid, folder, grid.objectName() + ".csv",
                                 {QStringLiteral("CSV Files (*.csv)"), QStringLiteral("All Files (*.*)")});
    if (!path.isEmpty()) WriteOrSay(path, CsvText(grid.Model()->Grid()), "Save as CSV", sink);
}

// An SVG file is written as SVG, any other name as PNG.
void SaveChartImage(ChartWidget& chart, const AppServices& services, const LastFolder& folder, MessageSink& sink) {
    const QString path = AskFile(services, chart, folder, chart.objectName() + ".png",
                                 {QStringLiteral("PNG Image (*.png)"), QStringLiteral("SVG Image (*.svg)")});
    if (path.isEmpty()) return;
    ImageSizeDialog dialog(chart.size(), &chart);
    if (services.RunModal) services.RunModal(dialog);
    if (dialog.result() != QDialog::Accepted) return;
    const ImageFormat format =
        path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) ? ImageFormat::Svg : ImageFormat::Png;
    const QByteArray bytes = ChartImageFile(chart.Shown(), dialog.ChosenSize(), format);
    WriteOrSay(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), "Save Image", sink);
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

void ConnectExports(QWidget& window, const AppServices& services, MessageSink& sink) {
    auto folder = std::make_shared<QString>(QDir::currentPath());
    for (GridView* grid : window.findChildren<GridView*>())
        QObject::connect(grid, &GridView::SaveAsCsvRequested, grid,
                         [grid, &services, folder, &sink] { SaveGridAsCsv(*grid, services, folder, sink); });
    for (ChartWidget* chart : window.findChildren<ChartWidget*>())
        QObject::connect(chart, &ChartWidget::SaveImageRequested, chart,
                         [chart, &services, folder, &sink] { SaveChartImage(*chart, services, folder, sink); });
}

}  // namespace kov
