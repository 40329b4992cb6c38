#pragma once
// The fonts of the printed pages. Pages are drawn in twips, so font sizes
// are given in twips too (20 twips to the point).

#include <QFont>

namespace kov {

enum class PaperText { Title, SubTitle, ChartTitle, Label, Small };

inline QFont PaperFont(PaperText text) {
    QFont font("DejaVu Sans");
    font.setStyleHint(QFont::SansSerif);
    // Without shaping "ff" and "fi" stay letters rather than ligatures, so
    // the words of a PDF can be searched and copied.
    font.setStyleStrategy(QFont::PreferNoShaping);
    switch (text) {
        case PaperText::Title:
            font.setPixelSize(16 * 20);
            font.setBold(true);
            break;
        case PaperText::SubTitle:
            font.setPixelSize(9 * 20);
            break;
        case PaperText::ChartTitle:
            font.setPixelSize(11 * 20);
            font.setBold(true);
            break;
        case PaperText::Label:
            font.setPixelSize(9 * 20);
            break;
        case PaperText::Small:
            font.setPixelSize(8 * 20);
            break;
    }
    return font;
}

}  // namespace kov
