#include "model/ReportModel.h"

#include <cctype>
#include <cmath>

namespace kov {

PoolSimRecord& PoolRecord::SimSlot(int slot) {
    if (slot < 1 || slot > MaxSimulations)
        throw CapacityError("simulation slot " + std::to_string(slot) + " does not exist: a pool has at most " +
                            std::to_string(MaxSimulations) + " simulation slots");
    if (static_cast<std::size_t>(slot) > Sims.size()) Sims.resize(static_cast<std::size_t>(slot));
    return Sims[static_cast<std::size_t>(slot - 1)];
}

void ReportModel::ClearLoadedData() {
    SysInfo = SystemInfo{};
    Pools.Clear();
    Objects.Clear();
    Simulations.Clear();
    SimulationCount = 0;
    CurrentPool = 0;
    CurrentObject = 0;
    CurrentSimulation = 0;
    StatsLoaded = false;
    SimulationsLoaded = false;
    ObjectCountersRead = ActivityCounters::All();
}

int ReportModel::FindPool(std::string_view simPoolName6) const {
    const FixedText<6> wanted(simPoolName6);
    for (int p = 1; p <= PoolCount(); ++p)
        if (Pools(p).PoolName.Padded().find(wanted.Padded()) != std::string_view::npos) return p;
    return 0;
}

namespace {
// The leading whole number of a text, as a report's hh, mm or ss part is read:
// blanks skipped, then an optional sign and digits; nothing readable is 0.
double LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    double value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}
}  // namespace

std::int32_t ElapsedSeconds(std::string_view hhmmss) {
    const auto part = [&](std::size_t start, std::size_t length) {
        return start < hhmmss.size() ? LeadingInteger(hhmmss.substr(start, length)) : 0.0;
    };
    const std::size_t lastStart = hhmmss.size() >= 2 ? hhmmss.size() - 2 : 0;
    const double seconds = part(0, 2) * 3600 + part(3, 2) * 60 + part(lastStart, 2);
    return static_cast<std::int32_t>(std::nearbyint(seconds));
}

}  // namespace kov
