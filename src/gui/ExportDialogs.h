#pragma once
// "Save as CSV…" of every grid and "Save image as…" of every chart: the file
// (and an image's size) asked through the desktop services, the file written
// whole before it replaces an old one, a failure shown with its reason.

#include <QDialog>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

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

// Where every save dialog of a run opens: the folder last chosen in this
// run, else the folder of the report loaded now.
class SaveFolder {
public:
    explicit SaveFolder(std::function<QString()> reportFolder)
        : reportFolder_(std::move(reportFolder)), chosen_(std::make_shared<QString>()) {}
    QString Start() const { return chosen_->isEmpty() ? reportFolder_() : *chosen_; }
    // A file the user chose (empty: the dialog was cancelled).
    void Chosen(const QString& file);
    // For a window of other reports (a trend's): the same run's last choice,
    // else `folder`, theirs. A choice made there holds for the run.
    SaveFolder Beside(const QString& folder) const;

private:
    std::function<QString()> reportFolder_;
    std::shared_ptr<QString> chosen_;
};

// The name a save dialog proposes: the report file's base name, "-", what
// the file holds ("pools", "BP1-Top Get Pages") and the extension. A
// character no file name may hold is written as "_".
QString ProposedFileName(const QString& reportPath, const QString& content, const QString& extension);

// What the file saved from a grid or chart holds, in the DBA's words.
using ExportContent = std::function<QString(const QWidget& source)>;

// Connects the save requests of every grid and chart under `window`; the
// services, the sink and the folder must outlive it.
void ConnectExports(QWidget& window, const AppServices& services, MessageSink& sink, SaveFolder& folder,
                    std::function<QString()> reportPath, ExportContent content);

}  // namespace kov
