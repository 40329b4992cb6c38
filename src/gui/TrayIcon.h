#pragma once
// The notification-area icon and its launcher menu mnuUtilities. Where the
// desktop has no notification area the program runs without the icon; the
// menu still exists for the window.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "common/Message.h"

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace kov {

// The first of `programs` that is an executable file in one of the folders
// of `searchPath` (separated by ':', as PATH), as a full path; empty when
// none is.
QString FindOnPath(const QStringList& programs, const QString& searchPath);

// A desktop tool that stands in for a launcher item on this desktop.
struct UtilityLaunch {
    QString Program;
    QStringList Arguments;
    bool OpensNewTextFile = false;  // an empty text file is to be made and added as the last argument
};

// What launcher item `index` (0 "Notepad", 1 "Calculator", 2 "Control
// Panel", 4 "Printers") starts when `searchPath` is the PATH; nothing when
// no tool for it is installed.
std::optional<UtilityLaunch> FindUtility(int index, const QString& searchPath);
// The message for an item whose tool was not found: it names what was looked for.
Message UtilityNotFound(int index);

class TrayIcon : public QObject {
    Q_OBJECT
public:
    TrayIcon(QWidget* window, MessageSink& sink, std::function<void()> showAbout, std::function<void()> endProgram);
    ~TrayIcon() override;

    void AddTrayIcon(const QString& tip);
    void RemoveTrayIcon();
    bool IsShown() const;
    // The tooltip the icon was added with, kept where no tray shows it.
    QString ToolTip() const { return tip_; }
    QMenu* mnuUtilities() const { return menu_; }

    // Item index as in the menu (separators included); separators do nothing.
    void mnuUtil_Click(int index);

private:
    void StartUtility(int index);

    QWidget* window_;
    MessageSink& sink_;
    std::function<void()> showAbout_;
    std::function<void()> endProgram_;
    QMenu* menu_;
    QSystemTrayIcon* icon_ = nullptr;
    QString tip_;
};

}  // namespace kov
