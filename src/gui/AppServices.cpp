#include "AppServices.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace kov {

void PrepareOpenDialog(QFileDialog& dialog, ReportKind kind, const QString& folder) {
    const QString own =
        kind == ReportKind::Statistics ? QStringLiteral("Stat Files (*.sta)") : QStringLiteral(" Sim Files (*.sim)");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(kind == ReportKind::Statistics ? QFileDialog::ExistingFile : QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::ReadOnly);
    dialog.setNameFilters({QStringLiteral("All Files (*.*)"), QStringLiteral("Text Files (*.txt)"), own});
    // The dialog may tidy the filter texts (the sim filter's leading blank),
    // so the third is chosen as the dialog holds it, not by its text.
    dialog.selectNameFilter(dialog.nameFilters().value(2));
    if (!folder.isEmpty()) dialog.setDirectory(folder);
}

namespace {

// Qt's own file dialog opens small enough to cut the Size and Date
// columns; it opens wide enough for them, within the screen.
bool ExecRoomy(QFileDialog& dialog) {
    QSize room(900, 540);
    if (const QScreen* screen = dialog.screen()) room = room.boundedTo(screen->availableSize() * 9 / 10);
    dialog.resize(dialog.sizeHint().expandedTo(room));
    if (auto* details = dialog.findChild<QTreeView*>()) {
        QHeaderView& header = *details->header();
        header.setStretchLastSection(false);
        header.setSectionResizeMode(QHeaderView::ResizeToContents);
        header.setSectionResizeMode(0, QHeaderView::Stretch);
    }
    return dialog.exec() == QDialog::Accepted;
}

// Both report dialogs open where the user last chose a report.
QStringList ChooseReports(QWidget* parent, ReportKind kind, QString& lastFolder) {
    QFileDialog dialog(parent);
    PrepareOpenDialog(dialog, kind, lastFolder);
    if (!ExecRoomy(dialog)) return {};
    QStringList chosen = dialog.selectedFiles();
    if (!chosen.isEmpty()) lastFolder = QFileInfo(chosen.front()).absolutePath();
    return chosen;
}

}  // namespace

AppServices AppServices::Desktop(const QString& startFolder) {
    AppServices services;
    auto lastFolder = std::make_shared<QString>(startFolder);
    services.ChooseStatFile = [lastFolder](QWidget* parent) {
        return ChooseReports(parent, ReportKind::Statistics, *lastFolder).value(0);
    };
    services.ChooseSimFiles = [lastFolder](QWidget* parent) {
        return ChooseReports(parent, ReportKind::Simulation, *lastFolder);
    };
    // A trend takes many statistics reports at once, from the folder of the
    // reports chosen last.
    services.ChooseTrendFiles = [lastFolder](QWidget* parent) {
        QFileDialog dialog(parent);
        PrepareOpenDialog(dialog, ReportKind::Statistics, *lastFolder);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setNameFilters(dialog.nameFilters() << QStringLiteral("History Databases (*.db *.sqlite *.sqlite3)"));
        dialog.selectNameFilter(dialog.nameFilters().value(2));
        dialog.setWindowTitle(QStringLiteral("Trend: choose statistics reports or a history database"));
        if (!ExecRoomy(dialog)) return QStringList();
        QStringList chosen = dialog.selectedFiles();
        if (!chosen.isEmpty()) *lastFolder = QFileInfo(chosen.front()).absolutePath();
        return chosen;
    };
    services.ChooseSaveFile = [](QWidget* parent, const QString& folder, const QString& proposedName,
                                 const QStringList& filters) {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDirectory(folder);
        dialog.setNameFilters(filters);
        if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
        // A name typed without an extension takes the chosen filter's.
        const auto useSuffixOf = [&dialog](const QString& filter) {
            const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
            dialog.setDefaultSuffix(match.hasMatch() ? match.captured(1) : QString());
        };
        useSuffixOf(filters.value(0));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useSuffixOf);
        dialog.selectFile(proposedName);
        return ExecRoomy(dialog) ? dialog.selectedFiles().value(0) : QString();
    };
    services.ChoosePrinter = [](QPrinter& printer, QWidget* parent) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    // Modal to the analysis window only: an application-modal screen would also
    // block the tray icon, whose menu must open for the whole run.
    services.RunModal = [](QDialog& dialog) {
        dialog.setWindowModality(Qt::WindowModal);
        dialog.exec();
    };
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
