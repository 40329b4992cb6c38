#pragma once
// A window under test: real widgets, a recording message sink, and desktop
// services that never block (no modal loops, no file dialogs, no exit).

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include "AppServices.h"
#include "ExportDialogs.h"
#include "common/Message.h"
#include "frmSelectFiles.h"
#include "frmStatAnalysis.h"
#include "model/ReportModel.h"
#include "readers/ReportWriter.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"
#include "widgets/SpinButtons.h"

namespace kov::test {

inline QString SamplePath(const char* name) {
    return QString(KOVGRAPH_SAMPLES) + "/" + name;
}
inline QString SampleStat() {
    return SamplePath("SYSA_DB2P_20261130.sta");
}
inline QStringList SampleSims() {
    return {SamplePath("SYSA_DB2P_20261130_BP0.sim"), SamplePath("SYSA_DB2P_20261130_BP1.sim"),
            SamplePath("SYSA_DB2P_20261130_BP2.sim")};
}
// The samples' folder, which holds the bundled threshold files too.
inline QString SampleFolder() {
    return SamplePath("").chopped(1);
}

// A statistics report and the simulation reports read with it.
struct ReportSet {
    QString Stat;
    QStringList Sims;
};
inline ReportSet SampleSet() {
    return {SampleStat(), SampleSims()};
}

// The text of a PDF, one entry per page, as pdftotext gives it back (with
// layout: each word where it stands on the page).
inline QStringList PdfPages(const QString& path, bool layout = false) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", layout ? QStringList{"-layout", path, "-"} : QStringList{path, "-"});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0) return {"<pdftotext failed on " + path + ">"};
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

// The file's bytes; none when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The model written as a statistics report at path; gives the path.
inline QString WriteStatFile(const ReportModel& model, const QString& path) {
    std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary);
    WriteStatReport(model, out);
    return path;
}

// The file selection as the DBA walks it: Reset first (on a return there),
// the reports opened, then Next.
inline std::function<void(frmSelectFiles&)> ChooseReports(const ReportSet& set, bool resetFirst = false) {
    return [set, resetFirst](frmSelectFiles& screen) {
        if (resetFirst) screen.cmdReset_Click();
        screen.OpenStatisticsFile(set.Stat);
        if (!set.Sims.isEmpty()) screen.OpenSimulationFiles(set.Sims);
        screen.cmdNext_Click();
    };
}

// Grabs the widget; with KOVGRAPH_SCREENSHOTS naming a folder, saves it there as name.png.
void SaveScreenshot(QWidget& widget, const QString& name);

// A grid's headings as its model holds them, sort marker included.
inline QStringList Headings(GridView* grid) {
    QStringList headings;
    for (const std::string& heading : grid->Model()->Table().Headings) headings << QString::fromStdString(heading);
    return headings;
}

inline QString Heading(GridView* grid, int column) {
    return grid->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

inline void ClickHeading(GridView* grid, int column) {
    QHeaderView* header = grid->horizontalHeader();
    const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
}

inline void ClickRow(GridView* grid, int row) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 0)).center());
}

inline std::string Cell(GridView* grid, int row, int column) {
    return grid->Cell(row, column).toStdString();
}

// A real click in the middle of a bar chart's bar `index` (0 = bottom).
inline void ClickBar(ChartWidget* view, int index) {
    QChart* chart = view->chart();
    const double value = view->Shown().Points[static_cast<std::size_t>(index)].Value;
    const QPointF inChart = chart->mapToPosition(QPointF(value / 2, index), chart->series().front());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(chart->mapToScene(inChart)));
}

// A click on the spinner's upper or lower button.
inline void ClickSpinner(SpinButtons* spinner, bool upper) {
    QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(spinner->width() / 2, upper ? 1 : spinner->height() - 2));
}

struct UiHarness {
    ReportModel model;
    CollectingSink sink;
    AppState state;
    AppServices services;
    int endProgramCalls = 0;
    QString nextStatFile;
    QStringList nextSimFiles;
    // The save dialog: what it was asked, and the name it returns (empty: cancelled).
    struct SaveQuestion {
        QString Folder, ProposedName;
        QStringList Filters;
    };
    std::vector<SaveQuestion> saveQuestions;
    QString nextSaveFile;
    // The image size dialog: the size it proposed, and the size given (invalid: cancelled).
    QSize proposedImageSize;
    QSize nextImageSize;
    // What the user does on the file-selection screen each time it is shown.
    std::function<void(frmSelectFiles&)> onFileSelection = [](frmSelectFiles& screen) { screen.cmdNext_Click(); };
    // How many dialogs OnDialog has seen shown.
    int dialogsShown = 0;

    UiHarness() {
        services.ChooseStatFile = [this](QWidget*) { return nextStatFile; };
        services.ChooseSimFiles = [this](QWidget*) { return nextSimFiles; };
        services.EndProgram = [this] { ++endProgramCalls; };
        services.ChooseSaveFile = [this](QWidget*, const QString& folder, const QString& proposedName,
                                         const QStringList& filters) {
            saveQuestions.push_back({folder, proposedName, filters});
            return nextSaveFile;
        };
        // The bundled threshold files (50 % for both intents).
        services.ProgramFolder = SampleFolder();
        services.RunModal = [this](QDialog& dialog) {
            if (auto* screen = qobject_cast<frmSelectFiles*>(&dialog)) {
                screen->show();
                onFileSelection(*screen);
                screen->hide();
            } else if (auto* size = qobject_cast<ImageSizeDialog*>(&dialog)) {
                proposedImageSize = size->ChosenSize();
                size->SetSize(nextImageSize);
                nextImageSize.isValid() ? size->accept() : size->reject();
            }
        };
    }

    // Each dialog of this kind the window runs is shown, handed to inspect and
    // counted; the other dialogs are answered as before. The window takes its
    // services when it starts, so this comes first.
    template <class Dialog>
    void OnDialog(std::function<void(Dialog&)> inspect) {
        services.RunModal = [this, inspect, others = services.RunModal](QDialog& dialog) {
            auto* shown = qobject_cast<Dialog*>(&dialog);
            if (!shown) return others(dialog);
            ++dialogsShown;
            shown->show();
            QApplication::processEvents();
            inspect(*shown);
            shown->hide();
        };
    }

    // The window after the start-up road with these reports read, shown.
    std::unique_ptr<frmStatAnalysis> StartWith(const QString& stat, const QStringList& sims = {}) {
        onFileSelection = ChooseReports({stat, sims});
        return Start();
    }
    std::unique_ptr<frmStatAnalysis> StartWithSamples() { return StartWith(SampleStat(), SampleSims()); }

    // The window after the start-up road as onFileSelection walks it, shown.
    std::unique_ptr<frmStatAnalysis> Start() {
        auto window = std::make_unique<frmStatAnalysis>(model, sink, state, services);
        window->Form_Load();
        window->show();
        return window;
    }
};

// A test of the window on the samples; each suite names it with an alias.
class SamplesWindow : public ::testing::Test {
protected:
    UiHarness ui;
    std::unique_ptr<frmStatAnalysis> window = ui.StartWithSamples();
};

}  // namespace kov::test
