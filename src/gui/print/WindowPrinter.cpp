#include "print/WindowPrinter.h"

#include <QPrinter>
#include <stdexcept>

#include "print/PagePainter.h"

namespace kov {

WindowPrinter::WindowPrinter(ChoosePrinter choose, QWidget* parent)
    : choose_(std::move(choose)), parent_(parent), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    printer_->setFullPage(true);
    SetUpSheet(*printer_);
}

WindowPrinter::~WindowPrinter() = default;

bool WindowPrinter::Print(const std::vector<PrintedPage>& pages) {
    if (pages.empty()) return false;
    if (!printerChosen_) {
        if (!choose_ || !choose_(*printer_, parent_)) return false;
        printerChosen_ = true;
    }
    if (!PrintPages(*printer_, pages)) {
        const QString where =
            printer_->outputFileName().isEmpty() ? printer_->printerName() : printer_->outputFileName();
        throw std::runtime_error("The page could not be printed on " + where.toStdString());
    }
    return true;
}

}  // namespace kov
