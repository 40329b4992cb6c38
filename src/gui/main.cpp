// kovgraph [STATFILE [SIMFILE...]]: the analysis window. Files named on the
// command line are read on the file-selection screen as if chosen there.

#include <QApplication>

#include "frmStatAnalysis.h"
#include "AppServices.h"
#include "QtMessageSink.h"
#include "model/ReportModel.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("KOVGraph");
    QApplication::setApplicationVersion(KOVGRAPH_VERSION);
    // The program ends through Finish, Cancel, Quit or closing the window,
    // never because the file-selection screen closed while the window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);

    kov::ReportModel model;
    kov::QtMessageSink sink;
    kov::AppState state;
    kov::frmStatAnalysis window(model, sink, state, kov::AppServices::Desktop());
    sink.SetParent(&window);
    window.SetPreloadFiles(QApplication::arguments().mid(1));
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
