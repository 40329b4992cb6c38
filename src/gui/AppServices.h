#pragma once
// What the window and its dialogs need from the desktop, gathered so that a
// test can stand in for each: file dialogs, showing a modal dialog, and the
// end of the program.

#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QFileDialog;
class QPrinter;
class QWidget;

namespace kov {

// The two flags the start-up road shares between its screens.
struct AppState {
    bool QuitRequested = false;  // set by Finish and by closing the window
    bool AboutReturn = false;    // the About box was closed with Ok
};

struct AppServices {
    // A statistics report chosen by the user; empty when cancelled.
    std::function<QString(QWidget* parent)> ChooseStatFile;
    // Simulation reports chosen by the user (several at once); empty when cancelled.
    std::function<QStringList(QWidget* parent)> ChooseSimFiles;
    // The statistics reports of a trend (several at once) or a history
    // database; empty when cancelled.
    std::function<QStringList(QWidget* parent)> ChooseTrendFiles;
    // A file name to save to, asked in `folder` with `proposedName` filled in
    // and the first of `filters` chosen; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& folder, const QString& proposedName,
                          const QStringList& filters)>
        ChooseSaveFile;
    // The printer dialog: sets the printer up as the user chose; false when
    // the user cancelled.
    std::function<bool(QPrinter& printer, QWidget* parent)> ChoosePrinter;
    // Shows a dialog modally and returns when it closes.
    std::function<void(QDialog& dialog)> RunModal;
    // Ends the process at once.
    std::function<void()> EndProgram;

    // The program's own folder: the threshold files Rand.acc and Seq.acc and
    // the save dialog's starting folder.
    QString ProgramFolder;

    // The real desktop: QFileDialog, exec(), std::exit, the executable's folder.
    // startFolder: where the open dialogs start until the user chooses a report.
    static AppServices Desktop(const QString& startFolder = {});
};

// The report file dialogs: filters "All Files (*.*)", "Text Files (*.txt)"
// and the report's own (" Sim Files (*.sim)"), the third preselected, opened
// in `folder` (the folder of the last file chosen, or the working folder).
enum class ReportKind { Statistics, Simulation };
void PrepareOpenDialog(QFileDialog& dialog, ReportKind kind, const QString& folder);

}  // namespace kov
