#pragma once
// kovgraph --monkey: a seeded random walk over what a user does with the
// window (files chosen, removed and reset, Next and Back, every page and
// sub-page, graph types, pool steps, grid rows and headings, bars, panels,
// the simulation number, options, the cluster radius, Compare with…), with
// the window's invariants checked after every action. Offscreen, with
// stand-in dialogs that never block, and the same walk for the same seed.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace kov::snapshot {

// Where an action is done: the file-selection screen, the analysis window,
// or the comparison dialog.
enum class MonkeyPlace { FileScreen, Window, Compare };

struct MonkeyAction {
    std::string Kind;          // "OpenStat", "MainTab", "RowClick", ...
    std::uint32_t Choice = 0;  // which of the things the action can reach (modulo their number)
    QStringList Files;         // the files the stand-in file dialog answers with
    MonkeyPlace Place = MonkeyPlace::Window;
    std::string Done;  // what it did, as read when it was done ("" when it could not be done)
};

struct MonkeyFault {
    int Invariant = 0;  // 1 foreign names, 2 fresh window differs, 3 repeated box or failure, 4 enabled state
    std::string Key;    // what makes two findings the same fault
    std::string Detail;
    int Step = 0;  // the action after which it was first seen (1-based)
    int Occurrences = 0;
    std::vector<MonkeyAction> Actions;  // from the start up to that action
    std::vector<MonkeyAction> Shrunk;   // a shorter sequence that still shows it (empty: not shrunk)
};

struct MonkeyOptions {
    std::string OutFile;
    int Steps = 1000;
    std::uint64_t Seed = 1;
    QStringList Files;
    QString AccDir;
    // A fresh window is compared after every page change and activation, and
    // after every CheckEvery-th action besides.
    int CheckEvery = 10;
    bool Shrink = false;
    int ShrinkReplays = 200;  // per fault
    // Instead of a walk: the actions of fault ReplayFault (1-based; its
    // shrunk list when it has one) of an earlier OUT.json, done again.
    std::string ReplayFile;
    int ReplayFault = 1;
};

struct MonkeyRun {
    int Actions = 0;
    std::vector<MonkeyFault> Faults;  // distinct, in the order first seen
    std::vector<MonkeyAction> Trail;  // every action done, with what it did
};

// Needs a QApplication.
MonkeyRun RunMonkey(const MonkeyOptions& options);

// Replays actions from a fresh window; the faults they show.
MonkeyRun ReplayMonkey(const MonkeyOptions& options, const std::vector<MonkeyAction>& actions);

// Cuts actions down (delta debugging, each try replayed from a fresh window)
// to a shorter sequence that still shows the fault called key; at most
// `replays` tries.
std::vector<MonkeyAction> ShrinkActions(const MonkeyOptions& options, std::vector<MonkeyAction> actions,
                                        const std::string& key, int replays);

// Delta debugging over the positions 0..count-1: the smaller list of them
// (in order) for which fails still holds, removing ever smaller chunks; at
// most `tries` calls of fails.
std::vector<std::size_t> DeltaDebug(std::size_t count,
                                    const std::function<bool(const std::vector<std::size_t>&)>& fails, int tries);

nlohmann::ordered_json MonkeyDocument(const MonkeyOptions& options, const MonkeyRun& run);
nlohmann::ordered_json ActionJson(const MonkeyAction& action);
std::optional<MonkeyAction> ActionFromJson(const nlohmann::ordered_json& action);

// --monkey OUT.json [--steps N] [--seed S] [--check-every K] [--shrink]
// [--replay EARLIER.json [--fault N]] [--acc-dir DIR] FILE...
std::optional<MonkeyOptions> ParseMonkeyArguments(const QStringList& arguments, std::string& error);
bool WantsMonkey(int argc, char** argv);
// Exit status 0 no fault, 1 faults found, 2 a command line that does not parse.
int RunMonkeyCommand(int argc, char** argv);

}  // namespace kov::snapshot
