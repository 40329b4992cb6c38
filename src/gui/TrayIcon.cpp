#include "TrayIcon.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTemporaryFile>
#include <QWidget>

namespace kov {

namespace {

// The desktop tools that stand in for one launcher item, in the order they
// are tried, and what is opened when none of them is installed.
struct UtilityTools {
    const char* What;  // "text editor", for the message
    QStringList Programs;
    std::optional<UtilityLaunch> Otherwise;
};

std::optional<UtilityTools> ToolsFor(int index) {
    switch (index) {
        case 0:  // a graphical editor; a terminal editor would need a terminal
            return UtilityTools{
                "text editor",
                {"gedit", "gnome-text-editor", "kate", "kwrite", "mousepad", "xed", "pluma", "leafpad", "featherpad"},
                UtilityLaunch{"xdg-open", {}, true}};
        case 1:
            return UtilityTools{
                "calculator", {"gnome-calculator", "kcalc", "galculator", "qalculate-gtk", "mate-calc", "xcalc"}, {}};
        case 2:
            return UtilityTools{"settings panel",
                                {"gnome-control-center", "systemsettings", "xfce4-settings-manager",
                                 "mate-control-center", "lxqt-config"},
                                {}};
        case 4:  // the printing system's own page when no printer tool is installed
            return UtilityTools{
                "printer tool", {"system-config-printer"}, UtilityLaunch{"xdg-open", {"http://localhost:631/"}, false}};
        default:
            return std::nullopt;
    }
}

// An empty text file for the editor the desktop opens text files with.
QString NewTextFile() {
    QTemporaryFile file(QDir::tempPath() + "/KOVGraph-XXXXXX.txt");
    file.setAutoRemove(false);
    return file.open() ? file.fileName() : QString();
}

}  // namespace

QString FindOnPath(const QStringList& programs, const QString& searchPath) {
    const QStringList folders = searchPath.split(':', Qt::SkipEmptyParts);
    for (const QString& program : programs)
        for (const QString& folder : folders) {
            const QFileInfo file(QDir(folder).filePath(program));
            if (file.isFile() && file.isExecutable()) return file.absoluteFilePath();
        }
    return {};
}

std::optional<UtilityLaunch> FindUtility(int index, const QString& searchPath) {
    const std::optional<UtilityTools> tools = ToolsFor(index);
    if (!tools) return std::nullopt;
    if (const QString found = FindOnPath(tools->Programs, searchPath); !found.isEmpty())
        return UtilityLaunch{found, {}, false};
    if (!tools->Otherwise) return std::nullopt;
    const QString opener = FindOnPath({tools->Otherwise->Program}, searchPath);
    if (opener.isEmpty()) return std::nullopt;
    UtilityLaunch launch = *tools->Otherwise;
    launch.Program = opener;
    return launch;
}

Message UtilityNotFound(int index) {
    const std::optional<UtilityTools> tools = ToolsFor(index);
    if (!tools) return {};
    std::string text = std::string("No ") + tools->What + " was found on this desktop. Looked on PATH for " +
                       tools->Programs.join(", ").toStdString();
    if (tools->Otherwise) text += ", and for " + tools->Otherwise->Program.toStdString();
    return {"Utilities", text + ".", MessageIcon::Information};
}

TrayIcon::TrayIcon(QWidget* window, MessageSink& sink, std::function<void()> showAbout,
                   std::function<void()> endProgram)
    : QObject(window),
      window_(window),
      sink_(sink),
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
    tip_ = tip;
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

void TrayIcon::StartUtility(int index) {
    std::optional<UtilityLaunch> launch = FindUtility(index, qEnvironmentVariable("PATH"));
    if (launch && launch->OpensNewTextFile) {
        const QString file = NewTextFile();
        if (file.isEmpty())
            launch.reset();
        else
            launch->Arguments << file;
    }
    if (!launch || !QProcess::startDetached(launch->Program, launch->Arguments)) sink_.Show(UtilityNotFound(index));
}

void TrayIcon::mnuUtil_Click(int index) {
    switch (index) {
        case 0:
        case 1:
        case 2:
        case 4:
            StartUtility(index);
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
