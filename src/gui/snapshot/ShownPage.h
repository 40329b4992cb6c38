#pragma once
// Everything a window shows at this moment, read from its visible widgets in
// the order they were made: label and box texts, buttons with their enabled
// and checked states, tab strips, grids as displayed, charts as drawn. Two
// windows on the same reports in the same state read the same, so the monkey
// compares a window that was walked with one freshly opened.

#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

class QWidget;

namespace kov::snapshot {

using json = nlohmann::ordered_json;

// One entry per visible widget that shows something, under root (root's own
// title included); a widget's inner parts (a grid's scroll bars, a chart's
// scene) belong to the widget.
json ReadShownWidgets(const QWidget& root);

// Where two readings first differ: the widget's name and the value each
// shows; empty when they are equal.
std::string FirstDifference(const json& walked, const json& fresh);
// Every difference, one per widget, in reading order, up to the first place
// where the two readings show different widgets.
std::vector<std::string> Differences(const json& walked, const json& fresh);

// The words of every text in a reading that could be a pool or object name:
// split at blanks and the punctuation names never hold.
std::set<std::string> ShownWords(const json& reading);

}  // namespace kov::snapshot
