#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <new>
#include <string>
#include <utility>

#include "model/ReportModel.h"
#include "readers/ReportWriter.h"

namespace kov {
namespace {

TEST(ElapsedSeconds, ReadsEachPartAsALeadingNumber) {
    const struct {
        const char* text;
        std::int32_t seconds;
    } cases[] = {
        {"01:02:03", 3723}, {"00:00:00", 0},          {"01:00:00", 3600}, {"23:59:59", 86399}, {"", 0},
        {"xx:yy:zz", 0},    {"10:00", 36000 + 0 + 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ElapsedSeconds(c.text), c.seconds) << c.text;
}

TEST(FindPool, MatchesTheBlankPaddedNameSoBP1IsNotBP10) {
    ReportModel model;
    for (const char* name : {"BP10", "BP1", "BP32K", "BP8K0"}) model.Pools(model.Pools.Add()).PoolName = name;
    const struct {
        const char* simPool;
        int pool;
    } cases[] = {{"BP1", 2}, {"BP10", 1}, {"BP32K", 3}, {"BP8K0", 4}, {"BP2", 0}, {"bp1", 0}};
    for (const auto& c : cases) EXPECT_EQ(model.FindPool(c.simPool), c.pool) << c.simPool;
}

TEST(OneBasedTable, RefusesEntriesBeyondItsCapacity) {
    OneBasedTable<int> table(2, "pool");
    EXPECT_EQ(table.Add(), 1);
    EXPECT_EQ(table.Add(), 2);
    EXPECT_THROW(table.Add(), CapacityError);
    EXPECT_THROW(table(0), CapacityError);
    EXPECT_THROW(table(3), CapacityError);
    // Growing past the capacity is refused even from a table not yet full,
    // and leaves the entries as they were.
    OneBasedTable<int> growing(3, "simulation");
    EXPECT_THROW(growing.GrowTo(5), CapacityError);
    EXPECT_EQ(growing.Count(), 0);
}

TEST(OneBasedTable, EntriesStayWhereTheyAreAsTheTableGrows) {
    OneBasedTable<ObjectRecord> objects(MaxObjects, "object");
    const ObjectRecord* first = &objects(objects.Add());
    objects(1).ObjectName = "OBJ1";
    objects(1).Activity.GetPages = 1;
    objects(1).Sims.emplace_back().SimulationNo = 7;
    while (objects.Count() < MaxObjects) {
        const int o = objects.Add();
        objects(o).Activity.GetPages = o;
    }
    EXPECT_EQ(&objects(1), first);
    EXPECT_EQ(objects(1).ObjectName.Trimmed(), "OBJ1");
    EXPECT_EQ(objects(1).Sim(1).SimulationNo, 7);
    EXPECT_THROW(objects.Add(), CapacityError);

    // Range-for crosses the blocks in order.
    int expected = 1;
    for (const ObjectRecord& object : objects) {
        EXPECT_EQ(object.Activity.GetPages, expected++);
    }
    EXPECT_EQ(expected, MaxObjects + 1);
}

// Clearing empties every table and index, and gives the memory back.
// A table makes its records by default-initialization, so a member without
// an initializer of its own would hold whatever the memory held before: a
// record made over memory of all zeros and one made over all ones must
// write the same line as a value-initialized one.
template <typename Record, typename WriteLine>
std::string LineOfRecordMadeOver(unsigned char fill, WriteLine writeLine) {
    alignas(Record) unsigned char memory[sizeof(Record)];
    std::memset(memory, fill, sizeof memory);
    Record* record = ::new (memory) Record;
    std::string line = writeLine(*record);
    record->~Record();
    return line;
}

template <typename Record, typename WriteLine>
void ExpectEveryMemberInitialized(const char* name, WriteLine writeLine) {
    const std::string expected = writeLine(Record{});
    EXPECT_EQ(LineOfRecordMadeOver<Record>(0x00, writeLine), expected) << name;
    EXPECT_EQ(LineOfRecordMadeOver<Record>(0xFF, writeLine), expected) << name;
}

TEST(OneBasedTable, RecordsNeedNoZeroingFirst) {
    ExpectEveryMemberInitialized<PoolRecord>("a pool", [](const PoolRecord& r) { return PoolLine(r); });
    ExpectEveryMemberInitialized<ObjectRecord>("an object", [](const ObjectRecord& r) { return ObjectLine(r); });
    // A header line is written for 1 to 16 size points; all of them, here.
    ExpectEveryMemberInitialized<SimulationRecord>("a simulation", [](const SimulationRecord& r) {
        SimulationRecord allPoints = r;
        allPoints.SizeCount = MaxSizes;
        return SimHeaderLine(allPoints);
    });
}

TEST(ReportModel, CopiesAreDeepAndClearingEmptiesItWhole) {
    const std::size_t chunksBefore = BlockPool::ForThisThread().ChunksHeld();
    ReportModel model;
    model.Pools.Add();
    model.SimulationCount = 3;
    model.CurrentPool = model.CurrentObject = 1;
    model.StatsLoaded = model.SimulationsLoaded = true;
    model.SysInfo.System = "SYSA";
    for (int o = 1; o <= 300; ++o) {
        ObjectRecord& object = model.Objects(model.Objects.Add());
        object.ObjectName = "OBJ" + std::to_string(o);
        object.Sims.emplace_back().SimulationNo = static_cast<std::int16_t>(o);
    }
    model.Simulations.GrowTo(3);
    model.Simulations(3).FileName = "third.sim";

    ReportModel copy = model;
    copy.Objects(300).ObjectName = "CHANGED";
    copy.Objects(300).Sim(1).SimulationNo = 0;
    EXPECT_EQ(model.Objects(300).ObjectName.Trimmed(), "OBJ300");
    EXPECT_EQ(model.Objects(300).Sim(1).SimulationNo, 300);
    EXPECT_EQ(copy.Objects(299).ObjectName.Trimmed(), "OBJ299");
    EXPECT_EQ(copy.Simulations(3).FileName, "third.sim");

    ReportModel moved = std::move(copy);
    EXPECT_EQ(moved.ObjectCount(), 300);
    EXPECT_EQ(moved.Objects(300).ObjectName.Trimmed(), "CHANGED");
    copy = model;  // a moved-from model can be assigned again
    EXPECT_EQ(copy.Objects(1).Sim(1).SimulationNo, 1);

    model.ClearLoadedData();
    EXPECT_EQ(model.PoolCount() + model.ObjectCount() + model.Simulations.Count(), 0);
    EXPECT_EQ(model.SimulationCount + model.CurrentPool + model.CurrentObject, 0);
    EXPECT_FALSE(model.StatsLoaded || model.SimulationsLoaded);
    EXPECT_TRUE(model.SysInfo.System.IsBlank());
    copy.ClearLoadedData();
    moved.ClearLoadedData();
    EXPECT_EQ(BlockPool::ForThisThread().ChunksHeld(), chunksBefore);
    model.Objects.GrowTo(2);
    EXPECT_EQ(model.ObjectCount(), 2);
    EXPECT_TRUE(model.Objects(2).ObjectName.IsBlank());
}

}  // namespace
}  // namespace kov
