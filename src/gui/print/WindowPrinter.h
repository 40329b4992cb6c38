#pragma once
// The analysis window's printer: the printer dialog on the window's first
// print only, then every later print goes straight to the printer chosen.

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "analysis/PrintPages.h"

class QPrinter;
class QWidget;

namespace kov {

class WindowPrinter {
public:
    using ChoosePrinter = std::function<bool(QPrinter& printer, QWidget* parent)>;
    WindowPrinter(ChoosePrinter choose, QWidget* parent);
    ~WindowPrinter();

    // Prints the pages. Returns false when there is no page or the dialog
    // was cancelled (nothing printed, the dialog comes again next time); throws std::runtime_error
    // when the printer cannot take the pages.
    bool Print(const std::vector<PrintedPage>& pages);
    bool PrinterChosen() const { return printerChosen_; }

private:
    ChoosePrinter choose_;
    QWidget* parent_;
    std::unique_ptr<QPrinter> printer_;
    bool printerChosen_ = false;
};

}  // namespace kov
