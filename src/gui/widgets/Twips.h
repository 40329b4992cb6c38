#pragma once
// Sizes on the DBA's screens are given in twips (1/1440 inch).

#include <QWidget>

namespace kov {

inline int TwipsToPixels(const QWidget* widget, int twips) {
    return twips * widget->logicalDpiX() / 1440;
}

}  // namespace kov
