#pragma once
// An up-down spinner beside a text box: two stacked arrow buttons. A press
// reports its direction from its height (the upper half steps up), so a
// held button can repeat; a press released on the same half is a click.

#include <QWidget>

namespace kov {

class SpinButtons : public QWidget {
    Q_OBJECT
public:
    SpinButtons(const char* objectName, QWidget* parent = nullptr);

    // +1 for a press at or above half the height (as an integer), else -1.
    int DirectionAt(int y) const { return y <= height() / 2 ? +1 : -1; }
    QSize sizeHint() const override;

signals:
    void Pressed(int direction);
    void Released();
    void Clicked(int direction);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int held_ = 0;  // direction of the button held down, 0 when none
};

}  // namespace kov
