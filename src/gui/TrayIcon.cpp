#include "TrayIcon.h"

#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QWidget>

namespace kov {

namespace {

struct Launcher {
    QString Program;
    QStringList Arguments;
};

Launcher FirstInstalled(const QList<Launcher>& candidates) {
    for (const Launcher& candidate : candidates) {
        const QString path = QStandardPaths::findExecutable(candidate.Program);
        if (!path.isEmpty()) return {path, candidate.Arguments};
    }
    return {};
}

Launcher TextEditor() {
    return FirstInstalled({{"gnome-text-editor", {}},
                           {"gedit", {}},
                           {"kate", {}},
                           {"mousepad", {}},
                           {"xed", {}},
                           {"pluma", {}},
                           {"leafpad", {}},
                           {"featherpad", {}}});
}
Launcher Calculator() {
    return FirstInstalled({{"gnome-calculator", {}},
                           {"kcalc", {}},
                           {"galculator", {}},
                           {"qalculate-gtk", {}},
                           {"mate-calc", {}},
                           {"xcalc", {}}});
}
Launcher SettingsPanel() {
    return FirstInstalled({{"gnome-control-center", {}},
                           {"systemsettings", {}},
                           {"xfce4-settings-manager", {}},
                           {"mate-control-center", {}},
                           {"lxqt-config", {}}});
}
Launcher PrinterSettings() {
    return FirstInstalled(
        {{"system-config-printer", {}}, {"gnome-control-center", {"printers"}}, {"kde-add-printer", {}}});
}

// A tool that is missing or fails to start is not worth a message.
void Start(const Launcher& launcher) {
    if (!launcher.Program.isEmpty()) QProcess::startDetached(launcher.Program, launcher.Arguments);
}

}  // namespace

QString FindTextEditor() {
    return TextEditor().Program;
}
QString FindCalculator() {
    return Calculator().Program;
}
QString FindSettingsPanel() {
    return SettingsPanel().Program;
}
QString FindPrinterSettings() {
    return PrinterSettings().Program;
}

TrayIcon::TrayIcon(QWidget* window, std::function<void()> showAbout, std::function<void()> endProgram)
    : QObject(window),
      window_(window),
      showAbout_(std::move(showAbout)),
      endProgram_(std::move(endProgram)),
      menu_(new QMenu("&Utilities", window)) {
    menu_->setObjectName("mnuUtilities");
    const char* const captions[] = {"&Notepad", "C&alculator", "C&ontrol Panel", "-", "&Printers",
                                    "&About",   "-",           "Restore",        "-", "&Quit"};
    for (int index = 0; index < 10; ++index) {
        QAction* action = QString(captions[index]) == "-" ? menu_->addSeparator() : menu_->addAction(captions[index]);
        action->setObjectName(QString("mnuUtil_%1").arg(index));
        connect(action, &QAction::triggered, this, [this, index] { mnuUtil_Click(index); });
    }
}

TrayIcon::~TrayIcon() {
    RemoveTrayIcon();
}

void TrayIcon::AddTrayIcon(const QString& tip) {
    RemoveTrayIcon();
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    icon_ = new QSystemTrayIcon(window_->style()->standardIcon(QStyle::SP_ComputerIcon), this);
    icon_->setToolTip(tip);
    icon_->setContextMenu(menu_);
    icon_->show();
}

void TrayIcon::RemoveTrayIcon() {
    if (icon_ == nullptr) return;
    icon_->hide();
    icon_->deleteLater();
    icon_ = nullptr;
}

bool TrayIcon::IsShown() const {
    return icon_ != nullptr && icon_->isVisible();
}

void TrayIcon::mnuUtil_Click(int index) {
    switch (index) {
        case 0:
            Start(TextEditor());
            break;
        case 1:
            Start(Calculator());
            break;
        case 2:
            Start(SettingsPanel());
            break;
        case 4:
            Start(PrinterSettings());
            break;
        case 5:
            showAbout_();
            break;
        case 7:
            window_->setWindowState(window_->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
            break;
        case 9:
            endProgram_();
            break;
        default:
            break;
    }
}

}  // namespace kov
