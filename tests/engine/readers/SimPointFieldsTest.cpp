// The figures of each size point of the simulation pool and object lines:
// which column each member is written to, and that both ways the reader
// converts an object line (straight through, or field by field after a bad
// field) fill the same members. Writer and reader share one member table, so
// the round trip alone would not see a member put at another detail's column.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "readers/ReportWriter.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

using ::testing::EndsWith;

// Detail d of point k carries d, then k: each member at each point its own value.
std::int32_t Whole(int d, int k) {
    return 1000 * d + k;
}
double Real(int d, int k) {
    return 1000 * d + k + 0.5;
}

// Details 4 to 6 are kept for objects only.
template <typename Slot>
void MarkDetails(Slot& slot, int points) {
    for (int k = 1; k <= points; ++k) {
        const auto p = static_cast<std::size_t>(k);
        slot.Detail1[p] = Whole(1, k);
        slot.Detail2[p] = Whole(2, k);
        slot.Detail3[p] = Real(3, k);
        if constexpr (std::is_same_v<Slot, SimObjectRecord>) {
            slot.Detail4[p] = Whole(4, k);
            slot.Detail5[p] = Whole(5, k);
            slot.Detail6[p] = Real(6, k);
        }
        slot.Detail7[p] = Real(7, k);
        slot.Detail8[p] = Real(8, k);
    }
}

// Whole and real figures side by side, for one comparison per point.
template <typename... Figure>
std::vector<double> Figures(Figure... figure) {
    return {static_cast<double>(figure)...};
}

std::string Column(const std::string& line, int start, int width) {
    return line.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(width));
}

TEST(SimPointFields, EachDetailOfEachPointIsWrittenAtItsColumns) {
    SimObjectRecord object;
    MarkDetails(object, 2);
    PoolSimRecord pool;
    MarkDetails(pool, 2);
    const std::string objectLine = SimObjectLine(object, 2);
    const std::string poolLine = SimPoolLine(pool, 2);
    // Two points: group 1 (details 1-5) of each point, then group 2 (6-8).
    const struct {
        int start, width;
        const char* object;
        const char* pool;  // details 4 to 6 are not kept for the pool
    } cases[] = {
        {65, 10, "1001", "1001"},     {75, 10, "2001", "2001"},     {85, 6, "3001.5", "3001.5"},
        {91, 10, "4001", "0"},        {101, 10, "5001", "0"},       {111, 10, "1002", "1002"},
        {121, 10, "2002", "2002"},    {131, 6, "3002.5", "3002.5"}, {137, 10, "4002", "0"},
        {147, 10, "5002", "0"},       {157, 10, "6001.5", "0"},     {167, 10, "7001.5", "7001.5"},
        {177, 6, "8001.5", "8001.5"}, {183, 10, "6002.5", "0"},     {193, 10, "7002.5", "7002.5"},
        {203, 6, "8002.5", "8002.5"},
    };
    ASSERT_EQ(objectLine.size(), 208u);
    ASSERT_EQ(poolLine.size(), 208u);
    for (const auto& c : cases) {
        const auto padded = [&](const char* text) { return std::string(c.width - std::strlen(text), ' ') + text; };
        EXPECT_EQ(Column(objectLine, c.start, c.width), padded(c.object)) << "object line, column " << c.start;
        EXPECT_EQ(Column(poolLine, c.start, c.width), padded(c.pool)) << "pool line, column " << c.start;
    }
}

TEST(SimPointReading, BothConversionsOfAnObjectLineFillTheSameMembers) {
    // BP1 simulated at 16 points; its pool line and first object line carry
    // the marked values (lines 2 and 3 of the file, 0-based).
    constexpr int kPoints = 16;
    ReportModel source = GenerateReport(test::SmallPlan());
    AddSimulation(source, 3, kPoints, 11);
    MarkDetails(source.Pools(3).Sim(1), kPoints);
    MarkDetails(source.Objects(source.Pools(3).FirstObject).Sim(1), kPoints);
    test::TempFolder folder;
    const std::string statPath = test::WriteLines(folder.Path("report.sta"), test::StatLines(source));
    // The last column of the line spoiled: the line is read again field by
    // field, and every field before the bad one keeps its value.
    constexpr int kLastColumn = 1211;
    const struct {
        const char* what;
        bool spoiled;
    } cases[] = {{"sound line", false}, {"bad last field", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines = test::SimLines(source, 1);
        if (c.spoiled) lines[3] = test::Overwrite(lines[3], kLastColumn, "   abc");
        test::Session s;
        ASSERT_TRUE(s.OpenStats(statPath));
        s.AddSim(test::WriteLines(folder.Path("bp1.sim"), lines));
        if (c.spoiled) {
            ASSERT_EQ(s.Sink.Messages.size(), 1u);
            EXPECT_THAT(s.Sink.Messages[0].Text, EndsWith(test::FieldErrorTail(4, 133, kLastColumn)));
        } else {
            EXPECT_TRUE(s.Sink.Messages.empty());
        }
        const PoolSimRecord& pool = s.Model.Pools(3).Sim(1);
        const SimObjectRecord& object = s.Model.Objects(s.Model.Pools(3).FirstObject).Sim(1);
        for (int k = 1; k <= kPoints; ++k) {
            SCOPED_TRACE("point " + std::to_string(k));
            const auto p = static_cast<std::size_t>(k);
            const bool spoiledHere = c.spoiled && k == kPoints;
            EXPECT_EQ(Figures(object.Detail1[p], object.Detail2[p], object.Detail3[p], object.Detail4[p],
                              object.Detail5[p], object.Detail6[p], object.Detail7[p], object.Detail8[p]),
                      Figures(Whole(1, k), Whole(2, k), Real(3, k), Whole(4, k), Whole(5, k), Real(6, k), Real(7, k),
                              spoiledHere ? 0 : Real(8, k)));
            EXPECT_EQ(Figures(pool.Detail1[p], pool.Detail2[p], pool.Detail3[p], pool.Detail7[p], pool.Detail8[p]),
                      Figures(Whole(1, k), Whole(2, k), Real(3, k), Real(7, k), Real(8, k)));
        }
    }
}

}  // namespace
}  // namespace kov
