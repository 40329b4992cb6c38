#include "frmSelectFiles.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "readers/ReportLoading.h"

namespace kov {

namespace {

constexpr int kMaxSimulationFilesPerSelection = 25;

QLabel* PathLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(420);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

frmSelectFiles::frmSelectFiles(ReportModel& model, MessageSink& sink, AppState& state, const AppServices& services,
                               QWidget* parent)
    : QDialog(parent),
      model_(model),
      sink_(sink),
      state_(state),
      services_(services),
      reader_(model, sink, [this](int percent) { ShowProgress(percent); }) {
    setObjectName("frmSelectFiles");
    setWindowTitle("KOVGraph");
    BuildControls();
}

void frmSelectFiles::BuildControls() {
    auto* lblInfo0 = new QLabel("Select Statistics File", this);
    lblInfo0->setObjectName("lblInfo_0");
    auto* lblInfo1 = new QLabel("Select Simulation File", this);
    lblInfo1->setObjectName("lblInfo_1");
    lblStatFile_ = PathLabel(this, "lblStatFile");
    lblSimFile_ = PathLabel(this, "lblSimFile");
    imgStat_ = new QLabel(this);
    imgStat_->setObjectName("imgStat");
    ImgSim_ = new QLabel(this);
    ImgSim_->setObjectName("ImgSim");
    SetImage(imgStat_, statImage_, 1);
    SetImage(ImgSim_, simImage_, 1);
    cmdSelectStatFile_ = Button(this, "cmdSelectStatFile", "&Open");
    cmdSelectSimFile_ = Button(this, "cmdSelectSimFile", "O&pen");
    cmdSelectSimFile_->setEnabled(false);

    fraSelectFiles_ = new QGroupBox("Simulation files read", this);
    fraSelectFiles_->setObjectName("fraSelectFiles");
    cboFiles_ = new QComboBox(fraSelectFiles_);
    cboFiles_->setObjectName("cboFiles");
    cboFiles_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboFiles_->setMinimumContentsLength(48);
    btnRemove_ = Button(fraSelectFiles_, "btnRemove", "Remove");
    auto* listRow = new QHBoxLayout(fraSelectFiles_);
    listRow->addWidget(cboFiles_, 1);
    listRow->addWidget(btnRemove_);

    cmdNext_ = Button(this, "cmdNext", "&Next");
    cmdReset_ = Button(this, "cmdReset", "&Reset");
    cmdQuit_ = Button(this, "cmdQuit", "&Cancel");
    cmdTrend_ = Button(this, "cmdTrend", "&Trend\u2026");
    cmdTrend_->setToolTip("Figures, advice and objects over many statistics reports");
    cmdNext_->setEnabled(false);
    cmdReset_->setEnabled(false);
    pbFileRead_ = new QProgressBar(this);
    pbFileRead_->setObjectName("pbFileRead");
    pbFileRead_->setRange(0, 100);
    pbFileRead_->setValue(0);
    pbFileRead_->setVisible(false);

    sbStatus_ = new QStatusBar(this);
    sbStatus_->setObjectName("sbStatus");
    sbStatus_->setSizeGripEnabled(false);
    auto* capsPanel = new QLabel(this);
    auto* timePanel = new QLabel(this);
    sbStatus_->addPermanentWidget(capsPanel);
    sbStatus_->addPermanentWidget(timePanel);
    auto* clock = new QTimer(this);
    const auto tick = [timePanel] { timePanel->setText(QTime::currentTime().toString("HH:mm")); };
    connect(clock, &QTimer::timeout, this, tick);
    tick();
    clock->start(15000);

    auto* grid = new QGridLayout;
    grid->addWidget(lblInfo0, 0, 0, 1, 3);
    grid->addWidget(imgStat_, 1, 0);
    grid->addWidget(lblStatFile_, 1, 1);
    grid->addWidget(cmdSelectStatFile_, 1, 2);
    grid->addWidget(lblInfo1, 2, 0, 1, 3);
    grid->addWidget(ImgSim_, 3, 0);
    grid->addWidget(lblSimFile_, 3, 1);
    grid->addWidget(cmdSelectSimFile_, 3, 2);
    grid->addWidget(fraSelectFiles_, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdTrend_);
    buttons->addWidget(pbFileRead_, 1);
    buttons->addStretch();
    for (QPushButton* button : {cmdNext_, cmdReset_, cmdQuit_}) buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->addWidget(sbStatus_);

    connect(cmdSelectStatFile_, &QPushButton::clicked, this, &frmSelectFiles::cmdSelectStatFile_Click);
    connect(cmdSelectSimFile_, &QPushButton::clicked, this, &frmSelectFiles::cmdSelectSimFile_Click);
    connect(btnRemove_, &QPushButton::clicked, this, &frmSelectFiles::btnRemove_Click);
    connect(cmdReset_, &QPushButton::clicked, this, &frmSelectFiles::cmdReset_Click);
    connect(cmdNext_, &QPushButton::clicked, this, &frmSelectFiles::cmdNext_Click);
    connect(cmdQuit_, &QPushButton::clicked, this, &frmSelectFiles::cmdQuit_Click);
    connect(cmdTrend_, &QPushButton::clicked, this, &frmSelectFiles::TrendRequested);
}

void frmSelectFiles::SetImage(QLabel* label, int& current, int image) {
    current = image;
    const QStyle::StandardPixmap pixmap = image == 2 ? QStyle::SP_DialogApplyButton : QStyle::SP_FileIcon;
    label->setPixmap(style()->standardIcon(pixmap).pixmap(24, 24));
    label->setToolTip(image == 2 ? "Loaded" : "Nothing loaded");
}

void frmSelectFiles::ShowProgress(int percent) {
    pbFileRead_->setVisible(true);
    pbFileRead_->setValue(percent);
    QApplication::processEvents();
}

void frmSelectFiles::Preload(const QStringList& files) {
    preload_ = files;
}

void frmSelectFiles::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Form_Activate();
    if (!preload_.isEmpty()) {
        const QStringList files = std::exchange(preload_, {});
        // Let the screen paint before the first read shows its progress.
        QTimer::singleShot(0, this, [this, files] {
            OpenStatisticsFile(files.front());
            if (files.size() > 1) OpenSimulationFiles(files.mid(1));
        });
    }
}

// Returning from the About box re-activates the screen; that activation must
// not rebuild the list.
bool frmSelectFiles::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && state_.AboutReturn) state_.AboutReturn = false;
    return QDialog::event(event);
}

void frmSelectFiles::Form_Activate() {
    if (state_.AboutReturn) {
        state_.AboutReturn = false;
        return;
    }
    lblStatFile_->setText(QString::fromStdString(model_.StatFileName));
    lblSimFile_->clear();
    cboFiles_->clear();
    cmdNext_->setEnabled(false);
    cmdReset_->setEnabled(false);
    SetImage(ImgSim_, simImage_, 1);
    if (model_.StatFileName.empty()) return;
    cmdSelectSimFile_->setEnabled(true);
    cmdNext_->setEnabled(true);
    cmdReset_->setEnabled(true);
    cmdNext_->setFocus();
    SetImage(imgStat_, statImage_, 2);
    ListLoadedSimulations();
}

// One entry per loaded simulation (a consolidated file's included), the
// first selected.
void frmSelectFiles::ListLoadedSimulations() {
    for (const SimulationRecord& sim : model_.Simulations)
        if (!TrimBlanks(sim.FileName).empty()) AddListEntry(QString::fromStdString(sim.FileName));
    if (cboFiles_->count() > 0) {
        cboFiles_->setCurrentIndex(0);
        SetImage(ImgSim_, simImage_, 2);
    }
}

void frmSelectFiles::AddListEntry(const QString& name) {
    // One entry per file: choosing a file again adds no second line.
    if (cboFiles_->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0) cboFiles_->addItem(name);
}

void frmSelectFiles::cmdSelectStatFile_Click() {
    lblStatFile_->clear();
    lblSimFile_->clear();
    cmdSelectSimFile_->setEnabled(false);
    const QString path = services_.ChooseStatFile(this);
    if (path.isEmpty()) return;  // cancelled
    OpenStatisticsFile(path);
}

void frmSelectFiles::OpenStatisticsFile(const QString& path) {
    lblStatFile_->setText(path.trimmed());
    cboFiles_->clear();
    OpenStatisticsReport(model_, reader_, path.trimmed().toStdString());
    statsOpened_ = true;
    pbFileRead_->setVisible(false);
    ListLoadedSimulations();  // a consolidated file brings its simulations along
    SetImage(imgStat_, statImage_, 2);
    cmdSelectSimFile_->setEnabled(true);
    cmdNext_->setEnabled(true);
    cmdReset_->setEnabled(true);
    cmdNext_->setFocus();
}

void frmSelectFiles::cmdSelectSimFile_Click() {
    const QStringList paths = services_.ChooseSimFiles(this);
    if (paths.isEmpty()) return;  // cancelled
    OpenSimulationFiles(paths);
}

void frmSelectFiles::OpenSimulationFiles(const QStringList& paths) {
    for (const QString& path : paths.mid(0, kMaxSimulationFilesPerSelection)) {
        AddListEntry(path);
        reader_.AddSimulationFile(path.toStdString());
    }
    pbFileRead_->setVisible(false);
    if (reader_.FileError) return;
    cboFiles_->setCurrentIndex(0);
    cmdNext_->setEnabled(false);
    QApplication::processEvents();
    cmdNext_->setEnabled(true);
    QApplication::processEvents();
    SetImage(ImgSim_, simImage_, 2);
    cmdReset_->setEnabled(true);
    cmdNext_->setFocus();
}

void frmSelectFiles::btnRemove_Click() {
    // Only the list entry goes; the simulation stays loaded.
    if (cboFiles_->currentIndex() >= 0) cboFiles_->removeItem(cboFiles_->currentIndex());
    if (cboFiles_->count() > 0) cboFiles_->setCurrentIndex(0);
}

void frmSelectFiles::cmdReset_Click() {
    model_.ClearLoadedData();
    model_.StatFileName.clear();
    lblStatFile_->clear();
    lblSimFile_->clear();
    cmdNext_->setEnabled(false);
    cmdReset_->setEnabled(false);
    cmdSelectSimFile_->setEnabled(false);
    cmdSelectStatFile_->setFocus();
    SetImage(imgStat_, statImage_, 1);
    SetImage(ImgSim_, simImage_, 1);
    cboFiles_->clear();
}

void frmSelectFiles::cmdNext_Click() {
    QApplication::processEvents();
    accept();
}

void frmSelectFiles::cmdQuit_Click() {
    services_.EndProgram();
}

// Closing the screen by its frame goes on to the analysis, like Next.
void frmSelectFiles::closeEvent(QCloseEvent* event) {
    event->accept();
    accept();
}

}  // namespace kov
