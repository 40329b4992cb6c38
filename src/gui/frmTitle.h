#pragma once
// The title screen: shown for two seconds while the program starts.

#include <QDialog>

class QTimer;

namespace kov {

class frmTitle : public QDialog {
    Q_OBJECT
public:
    explicit frmTitle(QWidget* parent = nullptr);

private:
    void tmrTimer_Timer();
    QTimer* tmrTimer_;
};

}  // namespace kov
