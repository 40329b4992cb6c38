#pragma once
// Charts on paper: the chart view data the screen shows, drawn with QPainter
// in black and white (bars and slices told apart by fill patterns, not by
// colour), so a printed chart says what the screen says.

#include <QColor>
#include <QRectF>
#include <cstddef>

#include "views/ChartData.h"

class QPainter;

namespace kov {

// How slices and bars are told apart: on paper by black-and-white fill
// patterns; in a chart image by solid colours, which every image and SVG
// reader shows (many SVG readers draw no patterns).
enum class ChartFills { Patterns, Colours };

// Draws the chart's titles and plot inside `box`; coordinates are the
// painter's (the page painter works in twips).
void PaintChart(QPainter& painter, const ChartData& chart, const QRectF& box, ChartFills fills = ChartFills::Patterns);

// The colour of the i-th line of a chart of several lines, the same on the
// screen and in images, apart for colour-blind readers too.
QColor SeriesColour(std::size_t i);
// How many series the colours tell apart: a legend past that is left out.
std::size_t SeriesColourCount();

}  // namespace kov
