#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/ObjectViews.h"
#include "support/ModelBuilder.h"

namespace kov {
namespace {

struct ObjectPlan {
    const char* Type;
    const char* Name;
    std::array<std::int32_t, 3> Access;
    std::array<std::int32_t, 4> Pages;
    std::array<std::int32_t, 4> IOs;
};

// Pool BP0 holds the given objects; a pool BP1 with one object follows, so a
// view that strays outside its pool shows up. BP2 has no objects.
ReportModel PoolOf(const std::vector<ObjectPlan>& objects) {
    ReportModel model;
    test::AddPool(model, "BP0");
    for (const ObjectPlan& given : objects) {
        ObjectRecord& object = test::AddObject(model, given.Name, given.Type);
        for (std::size_t i = 0; i < 3; ++i) object.Activity.GetPagesByAccess[i + 1] = given.Access[i];
        for (std::size_t i = 0; i < 4; ++i) object.Activity.PagesReadByType[i + 1] = given.Pages[i];
        for (std::size_t i = 0; i < 4; ++i) object.Activity.ReadIOsByType[i + 1] = given.IOs[i];
    }
    test::AddPool(model, "BP1");
    test::AddObject(model, "ELSEWHERE", "T");
    test::AddPool(model, "BP2");
    return model;
}

const std::vector<ObjectPlan> ThreeObjects{
    {"T", " DB1.TS1  ", {100, 2000, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}},
    {"I", "DB1.IX1", {1, 2, 3}, {10, 0, 0, 30}, {1, 0, 0, 3}},
    {"X", "DB1.ODD", {0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
};

TEST(ObjectViews, EmptyPoolsUnknownPoolsObjectsOrGraphTypesGiveNothing) {
    const ReportModel model = PoolOf(ThreeObjects);
    for (int p : {3, 0, 9}) {
        EXPECT_TRUE(ObjectListItems(model, p).empty()) << p;
        const StringTable grid = ObjectGrid(model, p);
        EXPECT_EQ(grid.Headings.size(), 13u) << p;
        EXPECT_TRUE(grid.Rows.empty()) << p;
    }
    for (const auto& [object, graphType] : {std::pair{0, 1}, {99, 1}, {1, 0}, {1, 4}})
        EXPECT_FALSE(ObjectBreakdownFor(model, object, graphType)) << object << "/" << graphType;
}

TEST(ObjectViews, ANameFindsTheLastEqualObjectOfThePoolOnly) {
    const ReportModel model =
        PoolOf({{"T", "SAME", {}, {}, {}}, {"I", "OTHER", {}, {}, {}}, {"I", " SAME", {}, {}, {}}});
    EXPECT_EQ(FindObjectByName(model, 1, "SAME"), 3);
    EXPECT_EQ(FindObjectByName(model, 1, "OTHER"), 2);
    EXPECT_EQ(FindObjectByName(model, 1, "ELSEWHERE"), 0);
    EXPECT_EQ(FindObjectByName(model, 2, "ELSEWHERE"), 4);
    EXPECT_EQ(FindObjectByName(model, 3, "SAME"), 0);
}

TEST(ObjectViews, AZeroTotalKeepsTheChartAndStopsBeforeTheTotalOfReads) {
    const ReportModel model = PoolOf(ThreeObjects);
    const struct {
        int graphType;
        const char* message;  // nullptr: none
        LabelPair last;       // the total, or the last count where the labels stop before it
    } cases[] = {
        {1, nullptr, {"Total", "  0"}},
        {2, "Number Of Pages Read Is ZERO. Can not Graph ...", {"DPref. Pages", "  0"}},
        {3, "Number Of Start IOs Is ZERO. Can not Graph ...", {"DPref. I/Os", "  0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.graphType);
        const auto shown = ObjectBreakdownFor(model, 3, c.graphType);
        ASSERT_TRUE(shown);
        EXPECT_FALSE(shown->Chart);
        EXPECT_EQ(shown->Labels.size(), 4u);
        EXPECT_EQ(shown->Labels.back(), c.last);
        std::vector<Message> messages;
        if (c.message) messages.push_back({"", c.message, MessageIcon::None});
        EXPECT_EQ(shown->Messages, messages);
    }
}

}  // namespace
}  // namespace kov
