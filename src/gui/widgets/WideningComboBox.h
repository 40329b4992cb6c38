#pragma once
// A drop-down list whose open list is three times as wide as the box and
// keeps its right edge under the box's right edge, so long graph type names
// read whole while the closed box stays narrow beside the buttons.

#include <QComboBox>

namespace kov {

class WideningComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;
};

}  // namespace kov
