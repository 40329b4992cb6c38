#include <gtest/gtest.h>

#include "analysis/PoolDetailsPanel.h"

namespace kov {
namespace {

TEST(ObjectDetails, ValuesStandUnderTheirCaptionsWithTheirFormats) {
    ReportModel model;
    model.SysInfo.ElapsedTime = "01:00:00";
    ActivityBlock& a = model.Objects(model.Objects.Add()).Activity;
    a.GetPages = 1000;
    a.GetPagesByAccess = {0, 600, 300, 100};
    a.PagesReadByType = {0, 11, 22, 33, 44};
    a.ReadIOs = 7200;
    a.ReadIOsByType = {0, 1, 2500, 3, 1000};
    a.AppHitRatio = 97.5;
    a.SysHitRatio = 96.25;
    a.AvgSyncIOTime = 12;
    a.AvgListPrefIOTime = 1234;
    a.PagesWritten = 50;  // no write I/Os: pages per write reads 0

    ObjectDetailFigures f;
    ASSERT_TRUE(ObjectDetails(model, 1, f));
    const struct {
        std::size_t index;
        const char* caption;
        const char* value;
    } expected[] = {
        {1, "Get Page RidList", "  300"},          {3, "Get Page Seq", "  100"},    {9, "System Hit Ratio", "  96.25"},
        {10, "Read IO Rate/sec", "  2.00"},        {11, "Pages / Write", "  0.00"}, {14, "Reads For Seqpr", "  2,500"},
        {18, "Avg SP IO  (List Pref)", "  1,234"},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(f.Captions[e.index], e.caption) << e.index;
        EXPECT_EQ(f.Values[e.index], e.value) << e.index;
    }
    // Value label 1 is the random get pages although caption 1 reads "RidList":
    // on the panel it stands under "Get Page Rand".
    EXPECT_FALSE(ObjectDetails(model, 0, f));
    EXPECT_FALSE(ObjectDetails(model, 2, f));
}

}  // namespace
}  // namespace kov
