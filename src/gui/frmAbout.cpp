#include "frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kov {

frmAbout::frmAbout(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("frmAbout");
    setWindowTitle("About KOVGraph");
    auto* layout = new QVBoxLayout(this);
    auto* product = new QLabel("<b>KOVGraph</b> " KOVGRAPH_VERSION "<br>Buffer pool analysis for DB2", this);
    layout->addWidget(product);
    layout->addWidget(new QLabel("International Support, please call your Distributor", this));
    layout->addWidget(new QLabel("Technical support: contact your KOVGraph support team", this));
    auto* cmdOkay = new QPushButton("&Ok", this);
    cmdOkay->setObjectName("cmdOkay");
    cmdOkay->setDefault(true);
    layout->addWidget(cmdOkay, 0, Qt::AlignRight);
    connect(cmdOkay, &QPushButton::clicked, this, &frmAbout::cmdOkay_Click);
}

void frmAbout::cmdOkay_Click() {
    state_.AboutReturn = true;
    accept();
}

}  // namespace kov
