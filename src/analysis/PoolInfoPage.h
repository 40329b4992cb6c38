#pragma once
// Page 2, "Pool Info": the current pool's sizes and thresholds, and the
// buttons that move to the next and previous pool. The activity chart area
// below them is filled by the pool chart view.

#include <QWidget>

#include "analysis/PoolDetails.h"

class QLabel;
class QPushButton;

namespace kov {

class LabelPanel;

class PoolInfoPage : public QWidget {
    Q_OBJECT
public:
    explicit PoolInfoPage(QWidget* parent = nullptr);
    void ShowPoolLabels(const PoolLabels& labels);
    QPushButton* cmdNextPool() const { return next_; }
    QPushButton* cmdPreviousPool() const { return previous_; }

private:
    LabelPanel* info_;
    LabelPanel* threshold_;
    QPushButton* previous_;
    QPushButton* next_;
};

}  // namespace kov
