#include "frmTitle.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kov {

frmTitle::frmTitle(QWidget* parent) : QDialog(parent), tmrTimer_(new QTimer(this)) {
    setObjectName("frmTitle");
    setWindowTitle("KOVGraph");
    auto* fraTitle = new QGroupBox(this);
    fraTitle->setObjectName("fraTitle");
    auto* product = new QLabel("KOVGraph", fraTitle);
    QFont big = product->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    product->setFont(big);
    auto* subtitle = new QLabel("Buffer pool analysis for DB2", fraTitle);
    auto* version = new QLabel("Version " KOVGRAPH_VERSION, fraTitle);
    auto* frameLayout = new QVBoxLayout(fraTitle);
    for (QLabel* label : {product, subtitle, version}) {
        label->setAlignment(Qt::AlignCenter);
        frameLayout->addWidget(label);
    }
    auto* cmdStart = new QPushButton("&Start", this);  // starts nothing: the timer does
    cmdStart->setObjectName("cmdStart");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraTitle);
    layout->addWidget(cmdStart, 0, Qt::AlignRight);

    tmrTimer_->setObjectName("tmrTimer");
    tmrTimer_->setInterval(2000);
    tmrTimer_->setSingleShot(true);
    tmrTimer_->setTimerType(Qt::PreciseTimer);
    connect(tmrTimer_, &QTimer::timeout, this, &frmTitle::tmrTimer_Timer);
    tmrTimer_->start();
}

void frmTitle::tmrTimer_Timer() {
    tmrTimer_->stop();
    QApplication::processEvents();
    accept();
}

}  // namespace kov
