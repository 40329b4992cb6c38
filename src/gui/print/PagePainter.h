#pragma once
// Lays a printed page out on an 8 x 11 inch sheet: the title centred at
// 0.2 inch, the subtitles at 0.6 and 0.85, the caption/value row from 1.15,
// the caption-value pairs from 1.55, then the chart or the text lines.

#include <vector>

#include "analysis/PrintPages.h"

class QPagedPaintDevice;
class QPainter;

namespace kov {

// The sheet in twips.
inline constexpr double kPageWidthTwips = 8 * 1440;
inline constexpr double kPageHeightTwips = 11 * 1440;

// Sets the device up for the sheet: its size, no margins, full page.
void SetUpSheet(QPagedPaintDevice& device);

// Draws one page; the painter's device is a sheet set up as above.
void PaintPage(QPainter& painter, const PrintedPage& page);

// Prints the pages one after another; false when the device cannot be
// painted on (a printer or file that does not open).
bool PrintPages(QPagedPaintDevice& device, const std::vector<PrintedPage>& pages);

}  // namespace kov
