#include "widgets/WideningComboBox.h"

#include <QAbstractItemView>
#include <QScreen>

namespace kov {

void WideningComboBox::showPopup() {
    QComboBox::showPopup();
    QWidget* popup = view()->window();
    if (popup == window()) return;
    const int wide = 3 * width();
    const QPoint rightEdge = mapToGlobal(QPoint(width(), 0));
    QRect area(rightEdge.x() - wide, popup->y(), wide, popup->height());
    if (const QScreen* shown = screen()) {
        const QRect available = shown->availableGeometry();
        if (area.left() < available.left()) area.moveLeft(available.left());
    }
    popup->setGeometry(area);
}

}  // namespace kov
