#include "AppServices.h"

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
    services.ChooseSaveFile = [](QWidget* parent, const QString& folder, const QString& proposedName,
                                 const QStringList& filters) {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDirectory(folder);
        dialog.setNameFilters(filters);
        if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
        dialog.setDefaultSuffix(QStringLiteral("kov"));
        dialog.selectFile(proposedName);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    services.RunModal = [](QDialog& dialog) { dialog.exec(); };
    services.ProgramFolder = QCoreApplication::applicationDirPath();
    services.EndProgram = [] {
        // The program keeps no state between runs and every file it writes is
        // complete before it is renamed into place, so ending at once loses nothing.
        std::fflush(nullptr);
        std::exit(0);
    };
    return services;
}

}  // namespace kov
