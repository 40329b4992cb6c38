#include "views/PageStatus.h"

namespace kov {

const char* PageCaption(int page) {
    static const char* const captions[PageCount] = {"Report Info",        "Graphic Summary",     "Pool Info",
                                                    "Object Info",        "Expert Tuning",       "Scan Cost",
                                                    "Sim Graph Analysis", "Sim Cluster Analysis"};
    return page >= 0 && page < PageCount ? captions[page] : "";
}

PageChrome PageChromeFor(int page) {
    switch (page) {
        case PageReportInfo:
            return {true, true, "General Buffer Pool Report Information", false};
        case PageGraphicSummary:
            return {true, true, "General Buffer Pool Report Graphic Summary", false};
        case PagePoolInfo:
            return {true, true, "Buffer Pool details", false};
        case PageObjectInfo:
            return {true, true, "Object details", false};
        case PageExpertTuning:
            return {true, false, "Buffer Pool Statistical Analysis", false};
        case PageSimGraphAnalysis:
            return {true, true, "Simulation Graphs", false};
        case PageSimClusterAnalysis:
            return {true, true, "Cluster Analysis details", true};
        default:
            return {false, false, "", false};
    }
}

}  // namespace kov
