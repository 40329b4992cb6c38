#include "model/ReportModel.h"

#include <cctype>
#include <cmath>

namespace kov {

ActivityFieldRef ActivityField(ActivityBlock& b, int position) {
    if (position >= 3 && position <= 5) return {&b.GetPagesByAccess[static_cast<std::size_t>(position - 2)], nullptr};
    if (position >= 13 && position <= 16) return {&b.PagesReadByType[static_cast<std::size_t>(position - 12)], nullptr};
    if (position >= 18 && position <= 21) return {&b.ReadIOsByType[static_cast<std::size_t>(position - 17)], nullptr};
    switch (position) {
        case 1: return {&b.GetPages, nullptr};
        case 2: return {&b.Activity02, nullptr};
        case 6: return {&b.Activity06, nullptr};
        case 7: return {&b.Activity07, nullptr};
        case 8: return {&b.Activity08, nullptr};
        case 9: return {nullptr, &b.AppHitRatio};
        case 10: return {nullptr, &b.SysHitRatio};
        case 11: return {nullptr, &b.Activity11};
        case 12: return {&b.PagesRead, nullptr};
        case 17: return {&b.ReadIOs, nullptr};
        case 22: return {&b.AvgSyncIOTime, nullptr};
        case 23: return {&b.MaxSyncIOTime, nullptr};
        case 24: return {&b.AvgSeqPrefIOTime, nullptr};
        case 25: return {&b.Activity25, nullptr};
        case 26: return {&b.AvgListPrefIOTime, nullptr};
        case 27: return {&b.Activity27, nullptr};
        case 28: return {&b.AvgDynPrefIOTime, nullptr};
        case 29: return {&b.Activity29, nullptr};
        case 30: return {&b.Updates, nullptr};
        case 31: return {&b.PagesWritten, nullptr};
        case 32: return {&b.Activity32, nullptr};
        case 33: return {&b.Activity33, nullptr};
        case 34: return {&b.WriteIOs, nullptr};
        case 35: return {&b.Activity35, nullptr};
        case 36: return {&b.Activity36, nullptr};
        case 37: return {&b.Activity37, nullptr};
        case 38: return {&b.Activity38, nullptr};
        case 39: return {&b.Activity39, nullptr};
        case 40: return {&b.Activity40, nullptr};
        default: break;
    }
    throw std::out_of_range("activity position " + std::to_string(position) + " does not exist");
}

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
}

int ReportModel::FindPool(std::string_view simPoolName6) {
    const FixedText<6> wanted(simPoolName6);
    CurrentPool = 0;
    for (int p = 1; p <= PoolCount(); ++p) {
        if (Pools(p).PoolName.Padded().find(wanted.Padded()) != std::string_view::npos) {
            CurrentPool = p;
            break;
        }
    }
    return CurrentPool;
}

namespace {
// The leading number of a text, as a report's hh, mm or ss part is read:
// blanks skipped, then an optional sign and digits; nothing readable is 0.
double LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    double value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}
}  // namespace

std::int32_t ElapsedSeconds(std::string_view hhmmss) {
    const auto part = [&](std::size_t start, std::size_t length) {
        return start < hhmmss.size() ? LeadingNumber(hhmmss.substr(start, length)) : 0.0;
    };
    const std::size_t lastStart = hhmmss.size() >= 2 ? hhmmss.size() - 2 : 0;
    const double seconds = part(0, 2) * 3600 + part(3, 2) * 60 + part(lastStart, 2);
    return static_cast<std::int32_t>(std::nearbyint(seconds));
}

}  // namespace kov
