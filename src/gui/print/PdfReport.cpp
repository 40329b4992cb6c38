#include "print/PdfReport.h"

#include <QBuffer>
#include <QPdfWriter>
#include <ostream>
#include <stdexcept>

#include "analysis/PrintBook.h"
#include "common/AtomicFile.h"
#include "print/PagePainter.h"
#include "readers/ReportLoading.h"

namespace kov {

namespace {

struct ReadPages {
    std::vector<PrintedPage> Pages;
    std::vector<Message> Messages;
    bool StatsRead = false;
};

// The model (over 100 MB of simulation results at full capacity) lives only
// while the pages are made, so it is gone before they are drawn.
ReadPages ReadAndCompose(const PdfReportOptions& options) {
    const auto set = ReadReportSet(options.StatFile, options.SimFiles);
    ReadPages read;
    read.StatsRead = set->StatsRead;
    PrintBookOptions book;
    book.AccDir = options.AccDir;
    read.Pages = WholeAnalysisPages(set->Model, book, set->Sink);
    read.Messages = std::move(set->Sink.Messages);
    return read;
}

QByteArray PdfOf(const std::vector<PrintedPage>& pages, const std::string& statFile) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator("KOVGraph");
        writer.setTitle(QString::fromStdString("Buffer pool analysis of " + statFile));
        SetUpSheet(writer);
        if (!PrintPages(writer, pages)) throw std::runtime_error("the pages could not be composed");
    }
    return bytes;
}

}  // namespace

int WritePdfReport(const PdfReportOptions& options, std::ostream& messages) {
    const ReadPages read = ReadAndCompose(options);
    for (const Message& m : read.Messages)
        messages << "Message [" << m.Title << "] (" << IconName(m.Icon) << "): " << m.Text << "\n";
    const QByteArray pdf = PdfOf(read.Pages, options.StatFile);
    WriteFileAtomically(options.OutFile, [&](std::ostream& out) { out.write(pdf.constData(), pdf.size()); });
    return read.StatsRead ? 0 : 1;
}

}  // namespace kov
