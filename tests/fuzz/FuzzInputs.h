#pragma once
// One fuzz input read the way each fuzz target reads it. Shared by the
// targets and by the regression test that replays every input that ever found
// a fault (and the seed corpus) in the ordinary test suite.
//
// Every function returns normally whatever the bytes are; anything else (a
// crash, a sanitizer report, an exception escaping a reader) is the fault.
// Each returns whether the input was read as good (loaded, or a number).
// Whatever a report input left in the model is then checked and advised on
// as the window does (data checks, explained advice).

#include <string_view>

namespace kov::fuzz {

// The bytes as a statistics report chosen on the file-selection screen (a
// consolidated file when its first line says so).
bool ReadStatisticsInput(std::string_view bytes);

// The first byte picks one of the loaded statistics reports of
// StatisticsReportCount(); the rest is read as a simulation report for it.
bool ReadSimulationInput(std::string_view bytes);
int StatisticsReportCount();

// The bytes after a consolidated-file marker line, so every input reaches the
// consolidated reader.
bool ReadConsolidatedInput(std::string_view bytes);

// The first byte picks the number kind and the decimal separator; the rest is
// the field. A number that comes back must fit its kind.
bool ParseNumberInput(std::string_view bytes);

}  // namespace kov::fuzz
