#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cluster/MemberFiles.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

StringTable ObjectsGrid(Rows rows) {
    return {{"Type", "Object", "Max Work Set"}, std::move(rows)};
}

// Pool BP1 after a pool of one index, so only BP1's objects may be written.
ReportModel PoolOf(const std::vector<std::pair<const char*, const char*>>& typeAndName) {
    ReportModel model;
    const auto add = [&](PoolRecord& pool, const char* type, const char* name) {
        const int o = model.Objects.Add();
        model.Objects(o).ObjectType = type;
        model.Objects(o).ObjectName = name;
        model.Objects(o).LongName = std::string(name) + ".LONG";
        if (pool.FirstObject == 0) pool.FirstObject = static_cast<std::int16_t>(o);
        pool.LastObject = static_cast<std::int16_t>(o);
    };
    add(model.Pools(model.Pools.Add()), "I", "OTHER.IX");
    PoolRecord& pool = model.Pools(model.Pools.Add());
    for (const auto& [type, name] : typeAndName) add(pool, type, name);
    model.CurrentPool = 2;
    return model;
}

TEST(MemberFiles, ClusterFileNameAndFilter) {
    const struct {
        const char* chosen;
        const char* path;
    } cases[] = {{"/home/dba/Cluster.kov", "/home/dba/Cluster.kov"},
                 {"/home/dba/bp1", "/home/dba/bp1.kov"},
                 {"/home/dba/bp1.txt", "/home/dba/bp1.kov"},
                 {"/home/dba/set.1/c.txt", "/home/dba/set.kov"},
                 {"a.b.c", "a.kov"}};
    for (const auto& c : cases) EXPECT_EQ(ClusterFilePath(c.chosen), c.path) << c.chosen;
    EXPECT_EQ(DialogFilters(kClusterFileFilter),
              (std::vector<std::string>{"Cluster Files (*.kov)", "All Files (*.*)"}));
}

TEST(MemberFiles, ClusterFileLinesFollowTheGridAsShown) {
    const StringTable grid = ObjectsGrid({{"T", "DB1.TS1", "900"},
                                          {"I", " DB1.IX1 ", "800"},
                                          {"T", "DSNDB06.SYSDBASE", "700"},
                                          {"T", "dsndb06.sysuser", "600"},
                                          {"U", "DB1.UTIL", "500"},
                                          {" * ", "DB1.MARK", "400"},
                                          {"I", "DB1.IX2", "300"}});
    EXPECT_EQ(ClusterFileLines(grid), (std::vector<std::string>{"DB1.TS1", "DB1.IX1", "dsndb06.sysuser", "DB1.IX2"}));
    EXPECT_EQ(ClusterFileLines(ObjectsGrid({{"", "", ""}})), (std::vector<std::string>{""}))
        << "the blank row passes every test";
    EXPECT_EQ(ClusterFileLines(ObjectsGrid({})), std::nullopt);
}

TEST(MemberFiles, IndexExcludeLinesAreTheLongNamesOfThePoolsIndexes) {
    const ReportModel model = PoolOf({{"T", "DB1.TS1"},
                                      {"I", "DB1.IX1"},
                                      {"I", "DSNDB06.IX"},
                                      {"I", "dsnDB06.ix2"},
                                      {"i", "DB1.LOWER"},
                                      {"I", "DB1.IX2"}});
    const std::vector<std::string> lines = IndexExcludeLines(model);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "DB1.IX1.LONG" + std::string(24, ' ')) << "36 characters, not trimmed";
    EXPECT_EQ(lines[1].substr(0, 12), "DB1.IX2.LONG");
}

TEST(MemberFiles, ExportsReplaceWholeFilesAndSayWhatHappened) {
    test::TempFolder folder;
    const std::string existing = folder.Path("bp1.kov");
    std::ofstream(existing, std::ios::binary) << "OLD.MEMBER\r\nOLD.TWO\r\n";
    const StringTable grid = ObjectsGrid({{"T", "DB1.TS1", "9"}, {"I", "DB1.IX1", "8"}});

    const ClusterFileExport written = ExportClusterFile(folder.Path("bp1.txt"), grid);
    EXPECT_EQ(written.Path, existing);
    EXPECT_EQ(written.StatusText, "Cluster data file created");
    EXPECT_FALSE(written.Failure);
    EXPECT_EQ(ReadBytes(existing), "DB1.TS1\r\nDB1.IX1\r\n");

    const ClusterFileExport cancelled = ExportClusterFile("", grid);
    EXPECT_TRUE(cancelled.Path.empty());
    EXPECT_TRUE(cancelled.StatusText.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path("")), {}), 1) << "nothing written";

    const ClusterFileExport failed = ExportClusterFile(folder.Path("no/such/folder/c.kov"), grid);
    ASSERT_TRUE(failed.Failure);
    EXPECT_EQ(failed.Failure->Title, "Create Cluster File");
    EXPECT_NE(failed.Failure->Text.find("no/such/folder/c.kov"), std::string::npos) << failed.Failure->Text;
    EXPECT_TRUE(failed.StatusText.empty());

    const ReportModel withIndex = PoolOf({{"I", "DB1.IX1"}});
    EXPECT_EQ(ExportIndexExcludeFile(withIndex, folder.Path("")),
              (Message{"All Index Exclude Objects", "File <AINDEX.KOV> created.", MessageIcon::Information}));
    const std::string aindex = folder.Path("AINDEX.KOV");
    EXPECT_EQ(ReadBytes(aindex), "DB1.IX1.LONG" + std::string(24, ' ') + "\r\n");

    const ReportModel withoutIndex = PoolOf({{"T", "DB1.TS1"}});
    EXPECT_EQ(ExportIndexExcludeFile(withoutIndex, folder.Path("")),
              (Message{"No Exclude Members", "File Not Created", MessageIcon::Information}));
    EXPECT_EQ(ReadBytes(aindex), "DB1.IX1.LONG" + std::string(24, ' ') + "\r\n") << "the earlier file stays";

    const Message unwritable = ExportIndexExcludeFile(withIndex, folder.Path("missing"));
    EXPECT_EQ(unwritable.Icon, MessageIcon::Critical);
    EXPECT_EQ(unwritable.Text.rfind("File <AINDEX.KOV> not created: ", 0), 0u) << unwritable.Text;
}

}  // namespace
}  // namespace kov
