#include "print/PagePainter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

#include "print/ChartPainter.h"
#include "print/PaperFonts.h"

namespace kov {

namespace {

constexpr double kInch = 1440;
constexpr double kMargin = 0.3 * kInch;
constexpr double kLeft = kMargin, kRight = kPageWidthTwips - kMargin;
constexpr double kBottom = kPageHeightTwips - 0.4 * kInch;
constexpr double kSupWidth = 1.5 * kInch;     // each lblSupInfo / lblSupData label
constexpr double kSupPitch = 0.15 * kInch;    // caption to value
constexpr double kSupRowPitch = 0.4 * kInch;  // one caption/value row to the next
// Many pools (up to 60 bars of a summary chart) move closer together, so the
// chart below keeps room for its bars.
constexpr double kCompactSupWidth = 1.05 * kInch;
constexpr double kCompactSupRowPitch = 0.32 * kInch;
constexpr std::size_t kFullSupRows = 3;
constexpr double kDetailPitch = 0.2 * kInch;  // one MyInfo/MyData pair to the next
constexpr double kDetailValueLeft = kLeft + 2.2 * kInch;
constexpr double kLinePitch = 0.18 * kInch;
constexpr double kMaxLineColumn = 2.4 * kInch;  // a name and its type stay side by side

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// A line of text centred on the sheet, its font shrunk until it fits.
void PaintCentred(QPainter& painter, const std::string& text, PaperText kind, double top) {
    if (text.empty()) return;
    QFont font = PaperFont(kind);
    while (QFontMetricsF(font).horizontalAdvance(Text(text)) > kRight - kLeft && font.pixelSize() > 80)
        font.setPixelSize(font.pixelSize() - 10);
    painter.setFont(font);
    painter.drawText(QRectF(kLeft, top, kRight - kLeft, QFontMetricsF(font).height() * 1.3),
                     Qt::AlignHCenter | Qt::AlignTop, Text(text));
}

// The caption/value row, as many labels a row as the sheet holds; returns
// the first free place below it.
double PaintSupLabels(QPainter& painter, const std::vector<LabelPair>& labels, double top) {
    const auto fullPerRow = static_cast<std::size_t>((kRight - kLeft) / kSupWidth);
    const bool compact = labels.size() > fullPerRow * kFullSupRows;
    const double width = compact ? kCompactSupWidth : kSupWidth;
    const double rowPitch = compact ? kCompactSupRowPitch : kSupRowPitch;
    const int perRow = static_cast<int>((kRight - kLeft) / width);
    const QFont font = PaperFont(PaperText::Small);
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const double x = kLeft + width * static_cast<double>(static_cast<int>(i) % perRow);
        const int row = static_cast<int>(i) / perRow;
        const double y = top + rowPitch * static_cast<double>(row);
        painter.drawText(QRectF(x, y, width - 60, kSupPitch), Qt::AlignLeft | Qt::AlignTop,
                         metrics.elidedText(Text(labels[i].Caption), Qt::ElideRight, width - 60));
        painter.drawText(QRectF(x, y + kSupPitch, width - 60, kSupPitch), Qt::AlignLeft | Qt::AlignTop,
                         metrics.elidedText(Text(labels[i].Value), Qt::ElideRight, width - 60));
    }
    const auto rows = (labels.size() + static_cast<std::size_t>(perRow) - 1) / static_cast<std::size_t>(perRow);
    return top + rowPitch * static_cast<double>(rows);
}

double PaintDetails(QPainter& painter, const std::vector<LabelPair>& details, double top) {
    painter.setFont(PaperFont(PaperText::Label));
    for (const LabelPair& pair : details) {
        painter.drawText(QRectF(kLeft, top, kDetailValueLeft - kLeft, kDetailPitch), Qt::AlignLeft | Qt::AlignVCenter,
                         Text(pair.Caption));
        painter.drawText(QRectF(kDetailValueLeft, top, kRight - kDetailValueLeft, kDetailPitch),
                         Qt::AlignLeft | Qt::AlignVCenter, Text(pair.Value));
        top += kDetailPitch;
    }
    return top;
}

// Lines in equal columns (at most 2.4 inches) under their headings; the first column reads from
// the left, the others end at their column's right edge.
double PaintLines(QPainter& painter, const PrintedPage& page, double top) {
    const std::size_t columns = std::max<std::size_t>(page.LineHeadings.size(), 1);
    const double width = std::min((kRight - kLeft) / static_cast<double>(columns), kMaxLineColumn);
    const auto paintRow = [&](const std::vector<std::string>& cells, double y) {
        for (std::size_t c = 0; c < cells.size() && c < columns; ++c) {
            const QRectF cell(kLeft + width * static_cast<double>(c), y, width - 80, kLinePitch);
            painter.drawText(cell, (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, Text(cells[c]));
        }
    };
    QFont heading = PaperFont(PaperText::Small);
    heading.setBold(true);
    painter.setFont(heading);
    paintRow(page.LineHeadings, top);
    top += kLinePitch;
    painter.setPen(QPen(Qt::black, 8));
    painter.drawLine(QPointF(kLeft, top), QPointF(kRight, top));
    painter.setFont(PaperFont(PaperText::Small));
    for (const std::vector<std::string>& line : page.Lines) {
        paintRow(line, top + 20);
        top += kLinePitch;
    }
    return top;
}

}  // namespace

void SetUpSheet(QPagedPaintDevice& device) {
    device.setPageSize(QPageSize(QSizeF(8, 11), QPageSize::Inch, "8 x 11 in"));
    device.setPageMargins(QMarginsF(0, 0, 0, 0));
}

void PaintPage(QPainter& painter, const PrintedPage& page) {
    painter.save();
    const QPaintDevice* device = painter.device();
    painter.scale(device->width() / kPageWidthTwips, device->height() / kPageHeightTwips);
    painter.setPen(Qt::black);
    PaintCentred(painter, page.Title, PaperText::Title, 0.2 * kInch);
    PaintCentred(painter, page.SubTitle, PaperText::SubTitle, 0.6 * kInch);
    PaintCentred(painter, page.SubTitle1, PaperText::SubTitle, 0.85 * kInch);
    double top = 1.15 * kInch;
    top = PaintSupLabels(painter, page.SupLabels, top);
    top = std::max(top, 1.55 * kInch);
    top = PaintDetails(painter, page.Details, top) + kDetailPitch;
    if (!page.LineHeadings.empty()) top = PaintLines(painter, page, top) + kDetailPitch;
    if (page.Chart) PaintChart(painter, *page.Chart, QRectF(kLeft, top, kRight - kLeft, kBottom - top));
    painter.restore();
}

bool PrintPages(QPagedPaintDevice& device, const std::vector<PrintedPage>& pages) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) device.newPage();
        PaintPage(painter, pages[i]);
    }
    return painter.end();
}

}  // namespace kov
