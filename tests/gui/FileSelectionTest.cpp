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

struct Controls {
    bool simOpen, next, reset;
    int statImage, simImage, listed;
};

Controls Read(frmSelectFiles& screen) {
    const auto enabled = [&](const char* name) { return screen.findChild<QPushButton*>(name)->isEnabled(); };
    return {enabled("cmdSelectSimFile"), enabled("cmdNext"), enabled("cmdReset"),
            screen.StatImage(),          screen.SimImage(),  screen.findChild<QComboBox*>("cboFiles")->count()};
}

void ExpectState(frmSelectFiles& screen, const Controls& expected, const char* when) {
    const Controls c = Read(screen);
    EXPECT_EQ(c.simOpen, expected.simOpen) << when;
    EXPECT_EQ(c.next, expected.next) << when;
    EXPECT_EQ(c.reset, expected.reset) << when;
    EXPECT_EQ(c.statImage, expected.statImage) << when;
    EXPECT_EQ(c.simImage, expected.simImage) << when;
    EXPECT_EQ(c.listed, expected.listed) << when;
}

TEST(FileSelection, ControlsFollowTheReads) {
    UiHarness ui;
    frmSelectFiles screen(ui.model, ui.sink, ui.state, ui.services);
    screen.show();
    ExpectState(screen, {false, false, false, 1, 1, 0}, "first start");

    ui.nextStatFile = SampleStat();
    screen.findChild<QPushButton*>("cmdSelectStatFile")->click();
    ExpectState(screen, {true, true, true, 2, 1, 0}, "statistics read");
    EXPECT_EQ(screen.findChild<QLabel*>("lblStatFile")->text(), SampleStat());

    ui.nextSimFiles = SampleSims();
    screen.findChild<QPushButton*>("cmdSelectSimFile")->click();
    ExpectState(screen, {true, true, true, 2, 2, 3}, "simulations read");
    EXPECT_EQ(screen.findChild<QComboBox*>("cboFiles")->currentIndex(), 0);

    screen.findChild<QPushButton*>("btnRemove")->click();
    EXPECT_EQ(screen.findChild<QComboBox*>("cboFiles")->count(), 2);
    EXPECT_EQ(ui.model.SimulationCount, 3) << "removing an entry keeps the simulation loaded";

    screen.findChild<QPushButton*>("cmdReset")->click();
    ExpectState(screen, {false, false, false, 1, 1, 0}, "after reset");
    EXPECT_EQ(ui.model.PoolCount(), 0);
    EXPECT_TRUE(ui.sink.Messages.empty());
}

TEST(FileSelection, CancelledDialogsChangeNothingAndSayNothing) {
    UiHarness ui;
    frmSelectFiles screen(ui.model, ui.sink, ui.state, ui.services);
    screen.show();
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

TEST(FileSelection, AConsolidatedFileFillsTheListAndAtMost25FilesAreTakenAtOnce) {
    UiHarness ui;
    frmSelectFiles screen(ui.model, ui.sink, ui.state, ui.services);
    screen.show();
    screen.OpenStatisticsFile(SamplePath("SYSA_DB2P_20261130_consolidated.txt"));
    EXPECT_EQ(screen.findChild<QComboBox*>("cboFiles")->count(), 3);
    EXPECT_EQ(screen.SimImage(), 2);

    screen.OpenStatisticsFile(SampleStat());
    EXPECT_EQ(screen.findChild<QComboBox*>("cboFiles")->count(), 0) << "a new statistics report starts an empty list";
    QStringList thirty;
    for (int i = 0; i < 30; ++i) thirty << SampleSims()[i % 3];
    screen.OpenSimulationFiles(thirty);
    EXPECT_EQ(ui.model.SimulationCount, 25);
}

TEST(FileSelection, AnUnreadableStatisticsFileIsReportedAndNextStaysPossible) {
    UiHarness ui;
    frmSelectFiles screen(ui.model, ui.sink, ui.state, ui.services);
    screen.show();
    screen.OpenStatisticsFile(SamplePath("Rand.acc"));
    ASSERT_EQ(ui.sink.Messages.size(), 1u);
    EXPECT_EQ(ui.sink.Messages[0].Title, "File IO");
    EXPECT_FALSE(ui.model.StatsLoaded);
    EXPECT_TRUE(screen.findChild<QPushButton*>("cmdNext")->isEnabled());
}

TEST(FileSelection, PreloadedFilesAreReadWhenTheScreenAppears) {
    UiHarness ui;
    frmSelectFiles screen(ui.model, ui.sink, ui.state, ui.services);
    screen.Preload(QStringList{SampleStat()} + SampleSims());
    screen.show();
    QApplication::processEvents();
    EXPECT_TRUE(ui.model.StatsLoaded);
    EXPECT_EQ(ui.model.SimulationCount, 3);
    EXPECT_EQ(screen.findChild<QComboBox*>("cboFiles")->count(), 3);
}

TEST(FileSelection, ReturningFromAboutKeepsTheList) {
    UiHarness ui;
    frmSelectFiles screen(ui.model, ui.sink, ui.state, ui.services);
    screen.show();
    screen.OpenStatisticsFile(SampleStat());
    screen.OpenSimulationFiles(SampleSims());
    screen.hide();
    frmAbout about(ui.state);  // its OK tells the screen the About box is what closed
    about.show();
    about.findChild<QPushButton*>("cmdOkay")->click();
    EXPECT_FALSE(about.isVisible());
    screen.show();  // the activation after the About box
    EXPECT_EQ(screen.findChild<QComboBox*>("cboFiles")->count(), 3);
    EXPECT_FALSE(ui.state.AboutReturn);
}

}  // namespace
}  // namespace kov::test
