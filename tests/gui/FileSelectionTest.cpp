// The file-selection screen's states and actions.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "UiFixture.h"
#include "frmAbout.h"

namespace kov::test {
namespace {

// Whether the simulation, Next and Reset buttons can be pressed, the two
// images and the number of files listed.
struct Controls {
    bool buttons;
    int statImage, simImage, listed;
};

void ExpectState(frmSelectFiles& screen, const Controls& expected, const char* when) {
    for (const char* button : {"cmdSelectSimFile", "cmdNext", "cmdReset"})
        EXPECT_EQ(screen.findChild<QPushButton*>(button)->isEnabled(), expected.buttons) << when << ": " << button;
    EXPECT_EQ(screen.StatImage(), expected.statImage) << when;
    EXPECT_EQ(screen.SimImage(), expected.simImage) << when;
    EXPECT_EQ(screen.findChild<QComboBox*>("cboFiles")->count(), expected.listed) << when;
}

// The screen shown on an empty model, as at the program's start.
class FileSelection : public ::testing::Test {
protected:
    FileSelection() { screen.show(); }
    int Listed() const { return screen.findChild<QComboBox*>("cboFiles")->count(); }

    UiHarness ui;
    frmSelectFiles screen{ui.model, ui.sink, ui.state, ui.services};
};

TEST_F(FileSelection, ControlsFollowTheReads) {
    ExpectState(screen, {false, 1, 1, 0}, "first start");

    ui.nextStatFile = SampleStat();
    screen.findChild<QPushButton*>("cmdSelectStatFile")->click();
    ExpectState(screen, {true, 2, 1, 0}, "statistics read");
    EXPECT_EQ(screen.findChild<QLabel*>("lblStatFile")->text(), SampleStat());

    ui.nextSimFiles = SampleSims();
    screen.findChild<QPushButton*>("cmdSelectSimFile")->click();
    ExpectState(screen, {true, 2, 2, 3}, "simulations read");
    EXPECT_EQ(screen.findChild<QComboBox*>("cboFiles")->currentIndex(), 0);

    screen.findChild<QPushButton*>("btnRemove")->click();
    EXPECT_EQ(Listed(), 2);
    EXPECT_EQ(ui.model.SimulationCount, 3) << "removing an entry keeps the simulation loaded";

    screen.findChild<QPushButton*>("cmdReset")->click();
    ExpectState(screen, {false, 1, 1, 0}, "after reset");
    EXPECT_EQ(ui.model.PoolCount(), 0);
    EXPECT_TRUE(ui.sink.Messages.empty());
}

TEST_F(FileSelection, CancelledDialogsChangeNothingAndSayNothing) {
    screen.OpenStatisticsFile(SampleStat());
    ui.nextSimFiles.clear();
    screen.cmdSelectSimFile_Click();
    ui.nextStatFile.clear();
    screen.cmdSelectStatFile_Click();
    EXPECT_TRUE(ui.sink.Messages.empty());
    EXPECT_TRUE(ui.model.StatsLoaded) << "the loaded report stays";
    EXPECT_TRUE(screen.findChild<QLabel*>("lblStatFile")->text().isEmpty());
    EXPECT_FALSE(screen.findChild<QPushButton*>("cmdSelectSimFile")->isEnabled());
}

TEST_F(FileSelection, AConsolidatedFileFillsTheListAndAtMost25FilesAreTakenAtOnce) {
    screen.OpenStatisticsFile(SamplePath("SYSA_DB2P_20261130_consolidated.txt"));
    EXPECT_EQ(Listed(), 3);
    EXPECT_EQ(screen.SimImage(), 2);

    screen.OpenStatisticsFile(SampleStat());
    EXPECT_EQ(Listed(), 0) << "a new statistics report starts an empty list";
    QStringList thirty;
    for (int i = 0; i < 30; ++i) thirty << SampleSims()[i % 3];
    screen.OpenSimulationFiles(thirty);
    EXPECT_EQ(ui.model.SimulationCount, 25);
}

TEST_F(FileSelection, AnUnreadableStatisticsFileIsReportedAndNextStaysPossible) {
    screen.OpenStatisticsFile(SamplePath("Rand.acc"));
    ASSERT_EQ(ui.sink.Messages.size(), 1u);
    EXPECT_EQ(ui.sink.Messages[0].Title, "File IO");
    EXPECT_FALSE(ui.model.StatsLoaded);
    EXPECT_TRUE(screen.findChild<QPushButton*>("cmdNext")->isEnabled());
}

TEST_F(FileSelection, PreloadedFilesAreReadWhenTheScreenAppears) {
    screen.hide();
    screen.Preload(QStringList{SampleStat()} + SampleSims());
    screen.show();
    QApplication::processEvents();
    EXPECT_TRUE(ui.model.StatsLoaded);
    EXPECT_EQ(ui.model.SimulationCount, 3);
    EXPECT_EQ(Listed(), 3);
}

TEST_F(FileSelection, ReturningFromAboutKeepsTheList) {
    screen.OpenStatisticsFile(SampleStat());
    screen.OpenSimulationFiles(SampleSims());
    screen.hide();
    frmAbout about(ui.state);  // its OK tells the screen the About box is what closed
    about.show();
    about.findChild<QPushButton*>("cmdOkay")->click();
    EXPECT_FALSE(about.isVisible());
    screen.show();  // the activation after the About box
    EXPECT_EQ(Listed(), 3);
    EXPECT_FALSE(ui.state.AboutReturn);
}

}  // namespace
}  // namespace kov::test
