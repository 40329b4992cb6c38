#include "print/ChartImage.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include "print/ChartPainter.h"

namespace kov {

namespace {

// The chart painter works in twips, 15 to a pixel at 96 dots per inch.
constexpr double kTwipsPerPixel = 15;
constexpr double kMarginPixels = 8;

void PaintOn(QPaintDevice& device, const ChartData& chart, QSize size) {
    QPainter painter(&device);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    painter.scale(1 / kTwipsPerPixel, 1 / kTwipsPerPixel);
    const double margin = kMarginPixels * kTwipsPerPixel;
    PaintChart(
        painter, chart,
        QRectF(margin, margin, size.width() * kTwipsPerPixel - 2 * margin, size.height() * kTwipsPerPixel - 2 * margin),
        ChartFills::Colours);
}

}  // namespace

QImage ChartImage(const ChartData& chart, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(3780);  // 96 dots per inch
    image.setDotsPerMeterY(3780);
    PaintOn(image, chart, size);
    return image;
}

QByteArray ChartImageFile(const ChartData& chart, QSize size, ImageFormat format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == ImageFormat::Png) {
        ChartImage(chart, size).save(&buffer, "PNG");
        return bytes;
    }
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(96);
    svg.setTitle(QString::fromStdString(chart.Title));
    PaintOn(svg, chart, size);
    return bytes;
}

}  // namespace kov
