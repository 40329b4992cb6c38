#pragma once
// "Save as CSV…" of every grid and "Save image as…" of every chart: the file
// (and an image's size) asked through the desktop services, the file written
// whole before it replaces an old one, a failure shown with its reason.

#include <QDialog>
#include <QSize>

class QSpinBox;

namespace kov {

struct AppServices;
class MessageSink;

// Width × height in pixels of a saved chart, proposed at the chart's size.
class ImageSizeDialog : public QDialog {
    Q_OBJECT
public:
    explicit ImageSizeDialog(QSize proposed, QWidget* parent = nullptr);
    QSize ChosenSize() const;
    void SetSize(QSize size);

private:
    QSpinBox* width_;
    QSpinBox* height_;
};

// Connects the save requests of every grid and chart under `window`; the
// services and the sink must outlive it.
void ConnectExports(QWidget& window, const AppServices& services, MessageSink& sink);

}  // namespace kov
