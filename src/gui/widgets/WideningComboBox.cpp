#include "widgets/WideningComboBox.h"

#include <QAbstractItemView>
#include <QScreen>
#include <algorithm>

namespace kov {

// Three times as wide, right edge under the box's right edge, top under the
// box; moved right (and narrowed only if it must) so that it never leaves the
// window or the screen.
void WideningComboBox::showPopup() {
    QComboBox::showPopup();
    QWidget* popup = view()->window();
    if (popup == window()) return;
    const QPoint below = mapToGlobal(QPoint(width(), height()));
    const QRect screenArea = screen() ? screen()->availableGeometry() : window()->frameGeometry();
    const QRect across = window()->frameGeometry().intersected(screenArea);
    const int wide = std::min(3 * width(), across.width());
    QRect area(below.x() - wide, below.y(), wide, popup->height());
    if (area.left() < across.left()) area.moveLeft(across.left());
    if (area.right() > across.right()) area.moveRight(across.right());
    if (area.bottom() > screenArea.bottom()) area.moveBottom(screenArea.bottom());
    popup->setGeometry(area);
}

}  // namespace kov
