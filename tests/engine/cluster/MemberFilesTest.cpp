#include <gtest/gtest.h>

#include "cluster/MemberFiles.h"
#include "support/ModelBuilder.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

using Rows = std::vector<std::vector<std::string>>;

StringTable ObjectsGrid(Rows rows) {
    return {{"Type", "Object", "Max Work Set"}, std::move(rows)};
}

// Pool BP1 after a pool of one index, so only BP1's objects may be written.
ReportModel PoolOf(const std::vector<std::pair<const char*, const char*>>& typeAndName) {
    ReportModel model;
    test::AddPool(model, "BP0");
    test::AddObject(model, "OTHER.IX", "I").LongName = "OTHER.IX.LONG";
    test::AddPool(model, "BP1");
    for (const auto& [type, name] : typeAndName)
        test::AddObject(model, name, type).LongName = std::string(name) + ".LONG";
    return model;
}

TEST(MemberFiles, ClusterFileNameCutsAtTheFirstDot) {
    const struct {
        const char* chosen;
        const char* path;
    } cases[] = {{"/home/dba/bp1", "/home/dba/bp1.kov"}, {"/home/dba/set.1/c.txt", "/home/dba/set.kov"}};
    for (const auto& c : cases) EXPECT_EQ(ClusterFilePath(c.chosen), c.path) << c.chosen;
}

TEST(MemberFiles, ClusterFileLinesFollowTheGridAsShown) {
    const StringTable grid = ObjectsGrid({{"T", "DB1.TS1", "9"},
                                          {"I", " DB1.IX1 ", "8"},
                                          {"T", "DSNDB06.SYSDBASE", "7"},
                                          {"T", "dsndb06.sysuser", "6"},
                                          {"U", "DB1.UTIL", "5"},
                                          {" * ", "DB1.M", "4"}});
    EXPECT_EQ(ClusterFileLines(grid), (std::vector<std::string>{"DB1.TS1", "DB1.IX1", "dsndb06.sysuser"}));
    EXPECT_EQ(ClusterFileLines(ObjectsGrid({{"", "", ""}})), (std::vector<std::string>{""}))
        << "the blank row passes every test";
    EXPECT_EQ(ClusterFileLines(ObjectsGrid({})), std::nullopt);
}

TEST(MemberFiles, IndexExcludeLinesAreTheLongNamesOfThePoolsIndexes) {
    const ReportModel model =
        PoolOf({{"T", "DB1.TS1"}, {"I", "DB1.IX1"}, {"I", "DSNDB06.IX"}, {"I", "dsnDB06.ix2"}, {"i", "DB1.LOWER"}});
    EXPECT_EQ(IndexExcludeLines(model, 2), std::vector<std::string>{"DB1.IX1.LONG" + std::string(24, ' ')})
        << "36 characters, not trimmed";
}

// Writing a cluster file whole, or cancelling it, is read back through the window.
TEST(MemberFiles, ExportsSayWhatHappened) {
    test::TempFolder folder;
    const StringTable grid = ObjectsGrid({{"T", "DB1.TS1", "9"}});
    const ClusterFileExport failed = ExportClusterFile(folder.Path("no/such/folder/c.kov"), grid);
    ASSERT_TRUE(failed.Failure);
    EXPECT_NE(failed.Failure->Text.find("no/such/folder/c.kov"), std::string::npos) << failed.Failure->Text;
    EXPECT_TRUE(failed.StatusText.empty());

    const ReportModel withIndex = PoolOf({{"I", "DB1.IX1"}});
    EXPECT_EQ(ExportIndexExcludeFile(withIndex, 2, folder.Path("")),
              (Message{"All Index Exclude Objects", "File <AINDEX.KOV> created.", MessageIcon::Information}));
    const std::string line = "DB1.IX1.LONG" + std::string(24, ' ') + "\r\n";
    EXPECT_EQ(test::ReadWhole(folder.Path("AINDEX.KOV")), line);
    EXPECT_EQ(ExportIndexExcludeFile(PoolOf({{"T", "DB1.TS1"}}), 2, folder.Path("")),
              (Message{"No Exclude Members", "File Not Created", MessageIcon::Information}));
    EXPECT_EQ(test::ReadWhole(folder.Path("AINDEX.KOV")), line) << "the earlier file stays";

    const Message unwritable = ExportIndexExcludeFile(withIndex, 2, folder.Path("missing"));
    EXPECT_EQ(unwritable.Icon, MessageIcon::Critical);
    EXPECT_EQ(unwritable.Text.rfind("File <AINDEX.KOV> not created: ", 0), 0u) << unwritable.Text;
}

}  // namespace
}  // namespace kov
