#pragma once

#include <QDialog>

#include "AppServices.h"

namespace kov {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(AppState& state, QWidget* parent = nullptr);

private:
    void cmdOkay_Click();
    AppState& state_;
};

}  // namespace kov
