#pragma once
// The notification-area icon and its launcher menu mnuUtilities. Where the
// desktop has no notification area the program runs without the icon; the
// menu still exists for the window.

#include <QObject>
#include <QString>
#include <functional>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace kov {

// The platform's program for each launcher item: the first of a list of
// known equivalents that is installed, or empty when none is.
QString FindTextEditor();
QString FindCalculator();
QString FindSettingsPanel();
QString FindPrinterSettings();

class TrayIcon : public QObject {
    Q_OBJECT
public:
    TrayIcon(QWidget* window, std::function<void()> showAbout, std::function<void()> endProgram);
    ~TrayIcon() override;

    void AddTrayIcon(const QString& tip);
    void RemoveTrayIcon();
    bool IsShown() const;
    QMenu* mnuUtilities() const { return menu_; }

    // Item index as in the menu (separators included); separators do nothing.
    void mnuUtil_Click(int index);

private:
    QWidget* window_;
    std::function<void()> showAbout_;
    std::function<void()> endProgram_;
    QMenu* menu_;
    QSystemTrayIcon* icon_ = nullptr;
};

}  // namespace kov
