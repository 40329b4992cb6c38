// Reading what the writer wrote gives back the model, field by field: the
// fixtures, the benchmark data and the bundled samples all rely on it.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "readers/ReportLoading.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

std::vector<double> Counters(ActivityBlock block) {
    std::vector<double> values;
    for (int p = 1; p <= ActivityPositions; ++p) {
        const ActivityFieldRef field = ActivityField(block, p);
        values.push_back(field.Real != nullptr ? *field.Real : *field.Integer);
    }
    return values;
}

// Field by field; tuples keep the failure output pointing at the record.
void ExpectSameModel(const ReportModel& expected, const ReportModel& actual) {
    {
        const SystemInfo& e = expected.SysInfo;
        const SystemInfo& a = actual.SysInfo;
        EXPECT_EQ(std::tie(a.RecordTag, a.HeaderText21, a.HeaderText29, a.System, a.SubSystem, a.CollectionDate,
                           a.CollectionTime, a.DB2Version, a.ElapsedTime, a.DSGroup),
                  std::tie(e.RecordTag, e.HeaderText21, e.HeaderText29, e.System, e.SubSystem, e.CollectionDate,
                           e.CollectionTime, e.DB2Version, e.ElapsedTime, e.DSGroup));
        EXPECT_EQ(std::tie(a.PoolsReported, a.HeaderValue72, a.HeaderValue82, a.HeaderValue92, a.HeaderValue102,
                           a.HeaderValue112, a.HeaderValue122, a.HeaderValue132),
                  std::tie(e.PoolsReported, e.HeaderValue72, e.HeaderValue82, e.HeaderValue92, e.HeaderValue102,
                           e.HeaderValue112, e.HeaderValue122, e.HeaderValue132));
    }
    ASSERT_EQ(actual.PoolCount(), expected.PoolCount());
    ASSERT_EQ(actual.ObjectCount(), expected.ObjectCount());
    ASSERT_EQ(actual.SimulationCount, expected.SimulationCount);

    for (int p = 1; p <= expected.PoolCount(); ++p) {
        const PoolRecord& e = expected.Pools(p);
        const PoolRecord& a = actual.Pools(p);
        EXPECT_EQ(std::tie(a.RecordTag, a.PoolName, a.CastOut, a.DataSpace, a.PoolMgt),
                  std::tie(e.RecordTag, e.PoolName, e.CastOut, e.DataSpace, e.PoolMgt))
            << "pool " << p;
        EXPECT_EQ(std::tie(a.PoolValue29, a.VPSize, a.HPSize, a.VPSEQT, a.HPSEQT, a.DWQT, a.VDWQT, a.FirstObject,
                           a.LastObject, a.SimCount),
                  std::tie(e.PoolValue29, e.VPSize, e.HPSize, e.VPSEQT, e.HPSEQT, e.DWQT, e.VDWQT, e.FirstObject,
                           e.LastObject, e.SimCount))
            << "pool " << p;
        EXPECT_EQ(Counters(a.Activity), Counters(e.Activity)) << "pool " << p;
        for (int k = 1; k <= std::min(a.SimCount, e.SimCount); ++k) {
            const PoolSimRecord& es = e.Sim(k);
            const PoolSimRecord& as = a.Sim(k);
            EXPECT_EQ(
                std::tie(as.SimulationNo, as.SimPoolSize, as.Detail1, as.Detail2, as.Detail3, as.Detail7, as.Detail8),
                std::tie(es.SimulationNo, es.SimPoolSize, es.Detail1, es.Detail2, es.Detail3, es.Detail7, es.Detail8))
                << "pool " << p << " slot " << k;
        }
    }
    for (int o = 1; o <= expected.ObjectCount(); ++o) {
        const ObjectRecord& e = expected.Objects(o);
        const ObjectRecord& a = actual.Objects(o);
        EXPECT_EQ(std::tie(a.RecordTag, a.PoolName, a.ObjectType, a.ObjectName, a.LongName),
                  std::tie(e.RecordTag, e.PoolName, e.ObjectType, e.ObjectName, e.LongName))
            << "object " << o;
        EXPECT_EQ(Counters(a.Activity), Counters(e.Activity)) << "object " << o;
        ASSERT_EQ(a.SimCount(), e.SimCount()) << "object " << o;
        for (int k = 1; k <= e.SimCount(); ++k) {
            const SimObjectRecord& es = e.Sim(k);
            const SimObjectRecord& as = a.Sim(k);
            EXPECT_EQ(
                std::tie(as.SimulationNo, as.RecordTag, as.IncludeFlag, as.ObjectName, as.SimValue49, as.SimValue59),
                std::tie(es.SimulationNo, es.RecordTag, es.IncludeFlag, es.ObjectName, es.SimValue49, es.SimValue59))
                << "object " << o << " slot " << k;
            EXPECT_EQ(std::tie(as.Detail1, as.Detail2, as.Detail3, as.Detail4, as.Detail5, as.Detail6, as.Detail7,
                               as.Detail8),
                      std::tie(es.Detail1, es.Detail2, es.Detail3, es.Detail4, es.Detail5, es.Detail6, es.Detail7,
                               es.Detail8))
                << "object " << o << " slot " << k;
        }
    }
    for (int k = 1; k <= expected.SimulationCount; ++k) {
        const SimulationRecord& e = expected.Simulations(k);
        const SimulationRecord& a = actual.Simulations(k);
        EXPECT_EQ(std::tie(a.RecordTag, a.SimText21, a.SimText25, a.CollectionDate, a.CollectionTime, a.DB2Version,
                           a.PoolName, a.SizeCount, a.SimValue62, a.SimValue68, a.SimVPSize, a.SimHPSize, a.SizeLabel),
                  std::tie(e.RecordTag, e.SimText21, e.SimText25, e.CollectionDate, e.CollectionTime, e.DB2Version,
                           e.PoolName, e.SizeCount, e.SimValue62, e.SimValue68, e.SimVPSize, e.SimHPSize, e.SizeLabel))
            << "simulation " << k;
    }
}

// Four simulations: BP1 twice (16 and 12 points), BP0 (8), BP2 without objects.
ReportModel GeneratedModel() {
    ReportModel model = GenerateReport(test::SmallPlan());
    SystemInfo& s = model.SysInfo;  // each its own value, so two swapped columns show
    std::tie(s.HeaderValue82, s.HeaderValue92, s.HeaderValue102, s.HeaderValue112, s.HeaderValue122, s.HeaderValue132) =
        std::make_tuple(82, 92, 102, 112, 122, 132);
    AddSimulation(model, 3, 16, 31);
    AddSimulation(model, 1, 8, 32);
    AddSimulation(model, 4, 8, 33);
    AddSimulation(model, 3, 12, 34);
    return model;
}

TEST(RoundTrip, SeparateFilesReadBackAsWritten) {
    // A non-USA report is read with "," decimals; the "." of text past the
    // first counter column (the DB2 version, long names) turns into "," too.
    for (const std::string environment : {"USA", "GER"}) {
        SCOPED_TRACE(environment);
        ReportModel expected = GeneratedModel();
        const WriteOptions options{environment};
        test::TempFolder folder;
        test::Session s;
        ASSERT_TRUE(s.OpenStats(test::WriteLines(folder.Path("r.sta"), test::StatLines(expected, options))));
        for (int k = 1; k <= expected.SimulationCount; ++k) {
            const std::string path = folder.Path(std::to_string(k) + ".sim");
            ASSERT_TRUE(s.AddSim(test::WriteLines(path, test::SimLines(expected, k, options))));
            EXPECT_EQ(s.Model.Simulations(k).FileName, path);
        }
        EXPECT_TRUE(s.Sink.Messages.empty());
        if (environment != "USA") {
            const auto comma = [](auto& text) {
                std::string value(text.Padded());
                std::replace(value.begin(), value.end(), '.', ',');
                text = value;
            };
            comma(expected.SysInfo.DB2Version);
            for (ObjectRecord& o : expected.Objects) comma(o.LongName);
        }
        ExpectSameModel(expected, s.Model);
    }
}

TEST(RoundTrip, AConsolidatedFileReadsBackAsWritten) {
    const ReportModel expected = GeneratedModel();
    test::TempFolder folder;
    test::Session s;
    ASSERT_TRUE(s.OpenStats(test::WriteLines(folder.Path("all.txt"), test::ConsolidatedLines(expected))));
    EXPECT_TRUE(s.Sink.Messages.empty());
    ExpectSameModel(expected, s.Model);
}

TEST(ReportWriter, RefusesValuesThatDoNotFitTheirColumns) {
    ReportModel model = GeneratedModel();
    model.Pools(1).VPSEQT = 1234567;  // six columns
    EXPECT_THROW(PoolLine(model.Pools(1)), std::invalid_argument);
    model.Objects(1).Activity.AppHitRatio = 99.12345;  // six columns
    EXPECT_THROW(ObjectLine(model.Objects(1)), std::invalid_argument);
}

}  // namespace
}  // namespace kov
