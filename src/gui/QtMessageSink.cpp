#include "QtMessageSink.h"

#include <QApplication>
#include <QMessageBox>

namespace kov {

namespace {
QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}
}  // namespace

void QtMessageSink::Show(const Message& message) {
    QMessageBox box(ToQtIcon(message.Icon), QString::fromStdString(message.Title), QString::fromStdString(message.Text),
                    QMessageBox::Ok, parent_);
    box.exec();
}

void QtMessageSink::Beep() {
    QApplication::beep();
}

}  // namespace kov
