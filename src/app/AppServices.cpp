#include "app/AppServices.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <cstdio>
#include <cstdlib>

namespace kov {

AppServices AppServices::Desktop() {
    AppServices services;
    services.ChooseStatFile = [](QWidget* parent) {
        QString selected = QStringLiteral("Stat Files (*.sta)");
        return QFileDialog::getOpenFileName(parent, QString(), QString(),
                                            QStringLiteral("All Files (*.*);;Text Files (*.txt);;Stat Files (*.sta)"),
                                            &selected, QFileDialog::ReadOnly);
    };
    services.ChooseSimFiles = [](QWidget* parent) {
        QString selected = QStringLiteral(" Sim Files (*.sim)");
        return QFileDialog::getOpenFileNames(parent, QString(), QString(),
                                             QStringLiteral("All Files (*.*);;Text Files (*.txt);; Sim Files (*.sim)"),
                                             &selected, QFileDialog::ReadOnly);
    };
    services.RunModal = [](QDialog& dialog) { dialog.exec(); };
    services.EndProgram = [] {
        // The program keeps no state between runs and every file it writes is
        // complete before it is renamed into place, so ending at once loses nothing.
        std::fflush(nullptr);
        std::exit(0);
    };
    return services;
}

}  // namespace kov
