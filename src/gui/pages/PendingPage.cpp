#include "pages/PendingPage.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kov {

PendingPage::PendingPage(const QString& what, QWidget* parent) : QWidget(parent) {
    auto* label = new QLabel(what + " is not part of this build yet.", this);
    label->setObjectName("lblPending");
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
}

}  // namespace kov
