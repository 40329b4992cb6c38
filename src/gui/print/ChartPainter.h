#pragma once
// Charts on paper: the chart view data the screen shows, drawn with QPainter
// in black and white (bars and slices told apart by fill patterns, not by
// colour), so a printed chart says what the screen says.

#include <QRectF>

#include "views/ChartData.h"

class QPainter;

namespace kov {

// Draws the chart's titles and plot inside `box`; coordinates are the
// painter's (the page painter works in twips).
void PaintChart(QPainter& painter, const ChartData& chart, const QRectF& box);

}  // namespace kov
