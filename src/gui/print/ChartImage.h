#pragma once
// A chart as a picture of its own: painted from the chart's view data at the
// size asked, by the same drawing as the printed page (never a grab of the
// screen) in colour, one pixel being a 96th of an inch.

#include <QByteArray>
#include <QImage>
#include <QSize>

#include "views/ChartData.h"

namespace kov {

enum class ImageFormat { Png, Svg };

QImage ChartImage(const ChartData& chart, QSize size);
// The file's bytes in that format.
QByteArray ChartImageFile(const ChartData& chart, QSize size, ImageFormat format);

}  // namespace kov
