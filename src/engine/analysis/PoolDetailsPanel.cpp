#include "analysis/PoolDetailsPanel.h"

#include "common/Formats.h"
#include "model/Figures.h"

namespace kov {

const std::array<std::string, 19>& PanelCaptions() {
    static const std::array<std::string, 19> captions = {
        "Total Get Pages",  "Get Page RidList",  "Get Page Rand",         "Get Page Seq",          "Pages Read Sync",
        "Pages Read Seqpr", "Pages Read Listpr", "Pages Read Dynpr",      "App Hit Ratio",         "System Hit Ratio",
        "Read IO Rate/sec", "Pages / Write",     "Avg Synch IO (ms)",     "Avg SP IO  (Seq Pref)", "Reads For Seqpr",
        "Reads For Dynpr",  "Reads For Listpr",  "Avg SP IO  (Dyn Pref)", "Avg SP IO  (List Pref)"};
    return captions;
}

bool ObjectDetails(const ReportModel& model, int object, ObjectDetailFigures& figures) {
    if (object == 0 || !model.Objects.Contains(object)) return false;
    const ActivityBlock& a = model.Objects(object).Activity;
    figures.Heading = model.Objects(object).ObjectName.Trimmed();
    const std::int32_t seconds = CollectionSeconds(model);
    const double pagesPerWrite =
        a.PagesWritten >= 1 && a.WriteIOs >= 1 ? static_cast<double>(a.PagesWritten) / a.WriteIOs : 0.0;
    const std::array<std::string, 19> values = {PlainInteger(a.GetPages),
                                                PlainInteger(a.GetPagesByAccess[2]),  // shown under "Get Page Rand"
                                                PlainInteger(a.GetPagesByAccess[1]),  // under "Get Page Seq"
                                                PlainInteger(a.GetPagesByAccess[3]),  // under "Get Page RidList"
                                                PlainInteger(a.PagesReadByType[1]),
                                                PlainInteger(a.PagesReadByType[2]),
                                                PlainInteger(a.PagesReadByType[3]),
                                                PlainInteger(a.PagesReadByType[4]),
                                                ShortestDecimal(a.AppHitRatio),
                                                ShortestDecimal(a.SysHitRatio),
                                                Grouped(PerSecond(a.ReadIOs, seconds), 2),
                                                Grouped(pagesPerWrite, 2),
                                                Grouped(a.AvgSyncIOTime, 0),
                                                Grouped(a.AvgSeqPrefIOTime, 0),
                                                Grouped(a.ReadIOsByType[2], 0),
                                                Grouped(a.ReadIOsByType[4], 0),
                                                Grouped(a.ReadIOsByType[3], 0),
                                                Grouped(a.AvgDynPrefIOTime, 0),
                                                Grouped(a.AvgListPrefIOTime, 0)};
    figures.Captions = PanelCaptions();
    for (std::size_t i = 0; i < values.size(); ++i) figures.Values[i] = "  " + values[i];
    return true;
}

}  // namespace kov
