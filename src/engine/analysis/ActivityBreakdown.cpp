#include "analysis/ActivityBreakdown.h"

#include <algorithm>
#include <cmath>

#include "common/FixedText.h"
#include "common/Formats.h"

namespace kov {

const BreakdownGroups& GroupsOf(Breakdown kind) {
    static const BreakdownGroups access{{"Seq ", "Rnd ", "RID "}, {"Seq. Access", "Rnd. Access", "RID List"}, nullptr};
    static const BreakdownGroups pages{{"Sync ", "SPref ", "LPref ", "DPref "},
                                       {"Sync. Pages", "SPref. Pages", "LPref. Pages", "DPref. Pages"},
                                       "Number Of Pages Read Is ZERO. Can not Graph ..."};
    static const BreakdownGroups ios{{"Sync ", "SPref ", "LPref ", "DPref "},
                                     {"Sync. I/Os", "SPref. I/Os", "LPref. I/Os", "DPref. I/Os"},
                                     "Number Of Start IOs Is ZERO. Can not Graph ..."};
    switch (kind) {
        case Breakdown::Access:
            return access;
        case Breakdown::PagesRead:
            return pages;
        default:
            return ios;
    }
}

std::string PieLegend(std::string_view prefix, double share) {
    return std::string(TrimBlanks(std::string(prefix) + "(" + Percent(share) + ")"));
}

void MarkNegativeCounters(ChartData& pie) {
    const auto negative = [](const ChartPoint& point) { return point.Value < 0; };
    if (std::none_of(pie.Points.begin(), pie.Points.end(), negative)) return;
    for (ChartPoint& point : pie.Points) point.ValueText = PlainInteger(std::llround(point.Value));
    pie.Note = "Negative counters cannot be drawn as a share.";
}

}  // namespace kov
