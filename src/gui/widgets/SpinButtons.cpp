#include "widgets/SpinButtons.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace kov {

SpinButtons::SpinButtons(const char* objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize SpinButtons::sizeHint() const {
    const int height = fontMetrics().height() + 10;
    return {height * 2 / 3 + 4, height};
}

void SpinButtons::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i) {
        const int direction = i == 0 ? +1 : -1;
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = halves[i];
        button.state |= held_ == direction ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawControl(QStyle::CE_PushButtonBevel, &button, &painter, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = halves[i].adjusted(3, 2, -3, -2);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow, &painter,
                               this);
    }
}

void SpinButtons::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) return QWidget::mousePressEvent(event);
    held_ = DirectionAt(event->position().toPoint().y());
    update();
    emit Pressed(held_);
}

void SpinButtons::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || held_ == 0) return QWidget::mouseReleaseEvent(event);
    const int direction = std::exchange(held_, 0);
    update();
    emit Released();
    const QPoint at = event->position().toPoint();
    if (rect().contains(at) && DirectionAt(at.y()) == direction) emit Clicked(direction);
}

}  // namespace kov
