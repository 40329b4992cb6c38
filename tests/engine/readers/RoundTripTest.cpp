// Reading what the writer wrote gives back the model, field by field: the
// fixtures, the benchmark data and the bundled samples all rely on it.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "readers/ReportLoading.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

// Writing the model read back gives the very lines it was read from: every
// stored field made the trip. The ranges and slots the reader derives are
// compared besides.
void ExpectSameModel(const ReportModel& expected, const ReportModel& actual, const WriteOptions& options = {}) {
    ASSERT_EQ(actual.PoolCount(), expected.PoolCount());
    ASSERT_EQ(actual.ObjectCount(), expected.ObjectCount());
    ASSERT_EQ(actual.SimulationCount, expected.SimulationCount);
    EXPECT_EQ(test::StatLines(actual, options), test::StatLines(expected, options));
    for (int k = 1; k <= expected.SimulationCount; ++k)
        EXPECT_EQ(test::SimLines(actual, k, options), test::SimLines(expected, k, options)) << "simulation " << k;
    for (int p = 1; p <= expected.PoolCount(); ++p) {
        const PoolRecord& e = expected.Pools(p);
        const PoolRecord& a = actual.Pools(p);
        EXPECT_EQ(std::tie(a.FirstObject, a.LastObject, a.SimCount), std::tie(e.FirstObject, e.LastObject, e.SimCount))
            << "pool " << p;
    }
    for (int o = 1; o <= expected.ObjectCount(); ++o)
        EXPECT_EQ(actual.Objects(o).SimCount(), expected.Objects(o).SimCount()) << "object " << o;
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
        ExpectSameModel(expected, s.Model, options);
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
