#pragma once
// What the analysis window's status bar and print button show for each page.

#include <optional>
#include <string>

namespace kov {

enum AnalysisPage {
    PageReportInfo = 0,
    PageGraphicSummary = 1,
    PagePoolInfo = 2,
    PageObjectInfo = 3,
    PageExpertTuning = 4,
    PageScanCost = 5,
    PageSimGraphAnalysis = 6,
    PageSimClusterAnalysis = 7,
    PageCount = 8
};

const char* PageCaption(int page);

struct PageChrome {
    bool Changes = true;  // the scan-cost page leaves both as they were
    bool PrintVisible = true;
    std::string StatusText;
    bool ClusterFileButton = false;
};
PageChrome PageChromeFor(int page);

}  // namespace kov
