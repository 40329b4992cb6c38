#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "analysis/TuningRules.h"
#include "support/ModelBuilder.h"

namespace kov {
namespace {

// A report of `pools` pools; pool 1 (BP1 unless named) is the one evaluated
// and holds the given objects (name, type, sequential/random/RID get pages).
struct PlannedObject {
    const char* name;
    const char* type;
    std::int32_t seq, rand, rid;
};

ReportModel Report(int pools, const std::vector<PlannedObject>& objects, const char* firstPool = "BP1") {
    ReportModel model;
    for (int p = 1; p <= pools; ++p) {
        PoolRecord& pool = test::AddPool(model, p == 1 ? firstPool : "BP" + std::to_string(p + 1));
        pool.VPSize = 1000;
        pool.VPSEQT = 20;
        pool.VDWQT = 0;
        if (p > 1) continue;
        for (const PlannedObject& planned : objects) {
            ObjectRecord& object = test::AddObject(model, planned.name, planned.type);
            object.Activity.GetPagesByAccess = {0, planned.seq, planned.rand, planned.rid};
        }
    }
    return model;
}

std::vector<int> Fired(const std::vector<std::string>& advice) {
    std::vector<int> rules;
    rules.reserve(advice.size());
    for (const std::string& line : advice) rules.push_back(std::stoi(line.substr(9)));
    return rules;
}

constexpr UsageIntent R = UsageIntent::Random, S = UsageIntent::Sequential;

std::vector<int> Evaluate(const ReportModel& model, UsageIntent intent = R) {
    return Fired(EvaluatePoolRules(model, 1, intent));
}

// The rules of those a test looks at that fire, in the order they fire.
std::vector<int> Among(const std::vector<int>& fired, std::initializer_list<int> watched) {
    std::vector<int> rules;
    for (int rule : fired)
        if (std::find(watched.begin(), watched.end(), rule) != watched.end()) rules.push_back(rule);
    return rules;
}

// A table read at random, and sort work read mostly in sequence.
const PlannedObject kTable{"DB.TS1", "T", 0, 9, 0}, kSortWork{"DSNDB07.DSN4K01", "T", 9, 1, 0};

TEST(EvaluatePoolRules, PoolCountBoundaries) {
    const std::pair<int, std::vector<int>> cases[] = {{1, {9}}, {5, {9}}, {6, {}}, {12, {}}, {13, {12}}};
    for (const auto& [pools, expected] : cases)
        EXPECT_EQ(Among(Evaluate(Report(pools, {{"DB.TS1", "T", 0, 10, 0}})), {9, 12}), expected) << pools;
}

TEST(EvaluatePoolRules, ObjectMixAndSortWorkPlacement) {
    const struct {
        const char* what;
        ReportModel model;
        std::vector<int> expected;  // rules 3, 4, 5, 6, 8 that fire
    } cases[] = {
        {"tables and indexes", Report(8, {{"DB.TS1", "T", 0, 10, 0}, {"DB.IX1", "I", 0, 10, 0}}), {3}},
        {"catalog only, mixed", Report(8, {{"DSNDB06.SYSA", "T", 0, 1, 0}, {"DSNDB06.IXA", "I", 0, 1, 0}}), {}},
        {"random indexes", Report(8, {{"DB.IX1", "I", 1, 10, 0}}), {4}},
        {"a scanned index", Report(8, {{"DB.IX1", "I", 95, 5, 0}, {"DB.IX2", "I", 0, 10, 0}}), {}},
        {"idle index", Report(8, {{"DB.IX1", "I", 0, 0, 0}}), {4}},
        {"sort work shared", Report(8, {kSortWork, {"DB.TS1", "T", 0, 5, 0}}), {5, 8}},
        {"sort work shared in BP0", Report(8, {kSortWork, {"DB.TS1", "T", 0, 5, 0}}, "BP0"), {5}},
        {"sort work alone", Report(8, {kSortWork}), {}},
        {"no objects", Report(8, {}), {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Among(Evaluate(c.model), {3, 4, 5, 6, 8}), c.expected) << c.what;
}

// "DSN" may stand anywhere in the 27 characters of a name, more than once,
// and a database after it is cut where the name is.
TEST(EvaluatePoolRules, DatabasesAreFoundWhereverTheNameMentionsThem) {
    const struct {
        const char* name;
        bool sortWork;  // DSNDB07
        bool system;    // DSNDB06 or DSNRLST
    } cases[] = {
        {"DSNDB07.DSN4K01", true, false},
        {"XDSNDB07", true, false},
        {"PAYROLL.TS.DSNDB07", true, false},
        {"DSNDSNDB07", true, false},
        {"AAAAAAAAAAAAAAAAAAAADSNDB07", true, false},    // the name's last 7 characters
        {"AAAAAAAAAAAAAAAAAAAAADSNDB07", false, false},  // cut to "DSNDB0"
        {"DSNDB7.X", false, false},
        {"dsndb07.x", false, false},
        {"DB.TS1", false, false},
        {"DSNDB06.SYSDBASE", false, true},
        {"Q.DSNRLST", false, true},
        {"DSNDB06.DSNDB07", true, true},
        {"DSN", false, false},
    };
    const std::vector<int> none, sortWorkShared{5, 8}, notAllSystem{3};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Sort work beside a table: rules 5 and 8.
        EXPECT_EQ(Among(Evaluate(Report(8, {{c.name, "T", 9, 1, 0}, kTable})), {5, 8}),
                  c.sortWork ? sortWorkShared : none);
        // A table beside a catalog index: rule 3 unless both are system objects.
        EXPECT_EQ(Among(Evaluate(Report(8, {{c.name, "T", 0, 9, 0}, {"DSNDB06.IXA", "I", 0, 9, 0}})), {3}),
                  c.system ? none : notAllSystem);
    }
}

TEST(EvaluatePoolRules, IntentThresholds) {
    const struct {
        UsageIntent intent;
        std::int32_t vpseqt, hpSize, hpseqt;
        bool sortWorkOnly;
        std::vector<int> expected;  // rules 10, 18, 20, 21, 22
    } cases[] = {
        {R, 25, 0, 0, false, {}},    {R, 26, 0, 0, false, {10}},   {R, 20, 3000, 5, false, {18}},
        {R, 20, 3000, 0, false, {}}, {S, 89, 0, 0, true, {21}},    {S, 89, 0, 0, false, {}},
        {S, 90, 0, 0, false, {20}},  {S, 90, 3000, 0, true, {22}}, {S, 95, 0, 0, true, {}},
    };
    for (const auto& c : cases) {
        ReportModel model = Report(8, {c.sortWorkOnly ? kSortWork : kTable});
        PoolRecord& pool = model.Pools(1);
        pool.VPSEQT = c.vpseqt;
        pool.HPSize = c.hpSize;
        pool.HPSEQT = c.hpseqt;
        EXPECT_EQ(Among(Evaluate(model, c.intent), {10, 18, 20, 21, 22}), c.expected)
            << IntentLetter(c.intent) << " VPSEQT " << c.vpseqt;
    }
}

TEST(EvaluatePoolRules, IoTimeBoundariesAreStrict) {
    const struct {
        std::int32_t sync, seq, list, dyn;
        std::vector<int> expected;
    } cases[] = {{16, 60, 80, 60, {}}, {17, 61, 81, 61, {31, 32, 34, 36}}, {30, 0, 0, 0, {31}}, {31, 0, 0, 0, {30}}};
    for (const auto& c : cases) {
        ReportModel model = Report(8, {kTable});
        ActivityBlock& a = model.Pools(1).Activity;
        a.AvgSyncIOTime = c.sync;
        a.AvgSeqPrefIOTime = c.seq;
        a.AvgListPrefIOTime = c.list;
        a.AvgDynPrefIOTime = c.dyn;
        EXPECT_EQ(Evaluate(model), c.expected) << c.sync;
    }
}

TEST(EvaluatePoolRules, VerticalDeferredWriteSuggestion) {
    const struct {
        std::int32_t pagesWritten, writeIOs, vpSize;
        double vdwqt;
        bool sortWorkOnly;
        const char* expected;  // the rule 24 line's suffix, or nullptr when it does not fire
    } cases[] = {
        {125, 1, 1000, 20, false, "  12%"},      // p = 12.5 goes down
        {12510, 100, 1000, 20, false, "  13%"},  // p = 12.51 goes up
        {125, 1, 1000, 12, false, nullptr},      // VDWQT not above the suggestion
        {125, 0, 1000, 5, false, "  0%"},        // no write I/Os: 0 pages per write
        {125, 1, 0, 50, false, nullptr},         // no VP size: no suggestion
        {125, 1, 1000, 50, true, nullptr},       // pool dedicated to sort work
    };
    for (const auto& c : cases) {
        ReportModel model = Report(8, {c.sortWorkOnly ? kSortWork : kTable});
        PoolRecord& pool = model.Pools(1);
        pool.Activity.PagesWritten = c.pagesWritten;
        pool.Activity.WriteIOs = c.writeIOs;
        pool.VPSize = c.vpSize;
        pool.VDWQT = c.vdwqt;
        std::vector<std::string> rule24;
        for (const std::string& line : EvaluatePoolRules(model, 1, R))
            if (line.find("Rule # 24") != std::string::npos) rule24.push_back(line);
        std::vector<std::string> expected;
        if (c.expected) expected.push_back(RuleTexts()[24] + c.expected);
        EXPECT_EQ(rule24, expected) << c.pagesWritten << "/" << c.writeIOs;
    }
}

TEST(EvaluatePoolRules, HiperpoolRules) {
    const struct {
        std::int32_t vp, hp, hpseqt, seq, rand;
        std::vector<int> expected;  // rules 37, 38
    } cases[] = {{1000, 1500, 0, 0, 1, {37}},  {1000, 2000, 0, 0, 1, {}},    {1000, 2000, 50, 60, 40, {38}},
                 {1000, 2000, 49, 60, 40, {}}, {1000, 2000, 50, 70, 30, {}}, {1000, 2000, 50, 0, 0, {}},
                 {1000, 0, 80, 0, 100, {}}};
    for (const auto& c : cases) {
        ReportModel model = Report(8, {kTable});
        PoolRecord& pool = model.Pools(1);
        pool.VPSize = c.vp;
        pool.HPSize = c.hp;
        pool.HPSEQT = c.hpseqt;
        pool.Activity.GetPagesByAccess = {0, c.seq, c.rand, 0};
        EXPECT_EQ(Among(Evaluate(model, S), {37, 38}), c.expected) << c.hp << " " << c.hpseqt;
    }
}

TEST(AnalysisCaption, NamesThePoolAsStored) {
    EXPECT_EQ(AnalysisCaption(Report(5, {}), 1), "Buffer Pool Stat Analysis - BP1     ");
}

// For each rule the figures and bound it names, at the edge where it starts
// to fire (where it stops is EvaluatePoolRules' tests' concern). The rules
// the samples fire (3, 4, 10, 18, 20, 24, 37, 38) are explained in the golden
// files; here the others and the edges of rule 24's arithmetic.
TEST(ExplainPoolRules, NamesTheFiguresComparedAndTheBound) {
    const std::vector<PlannedObject> table{kTable}, sortWork{kSortWork}, shared{kSortWork, kTable};
    std::vector<PlannedObject> many{{"DSNDB07.WORK2", "T", 0, 0, 0}, {"DSNDB07.WORK1", "T", 0, 0, 0}};
    for (const char* name : {"DB.TS12", "DB.TS11", "DB.TS10", "DB.TS09", "DB.TS08", "DB.TS07", "DB.TS06", "DB.TS05",
                             "DB.TS04", "DB.TS03", "DB.TS02", "DB.TS01"})
        many.push_back({name, "T", 0, 0, 0});
    const struct {
        int pools;
        std::vector<PlannedObject> objects;
        std::function<void(PoolRecord&)> set;
        UsageIntent intent;
        int rule;
        const char* because;
    } cases[] = {
        {5, table, nullptr, R, 9, "the report holds 5 pools, fewer than 6"},
        {13, table, nullptr, R, 12, "the report holds 13 pools, more than 12"},
        {8, shared, nullptr, R, 5, "1 DSNDB07 object (DSNDB07.DSN4K01) and 1 other object (DB.TS1) share this pool"},
        // Object lists name the first ten in name order, then how many more.
        {8, many, nullptr, R, 5,
         "2 DSNDB07 objects (DSNDB07.WORK1, DSNDB07.WORK2) and 12 other objects (DB.TS01, DB.TS02, DB.TS03, "
         "DB.TS04, DB.TS05, DB.TS06, DB.TS07, DB.TS08, DB.TS09, DB.TS10 and 2 more) share this pool"},
        {8, sortWork, [](PoolRecord& p) { p.HPSize = 3000; }, R, 6,
         "1 DSNDB07 object is in this pool and HP size is 3,000, above 0"},
        {8, shared, nullptr, R, 8,
         "1 DSNDB07 object (DSNDB07.DSN4K01) and 1 other object (DB.TS1) share this pool; the pool name BP1 does "
         "not contain BP0"},
        {8, sortWork, [](PoolRecord& p) { p.VPSEQT = 89; }, S, 21,
         "VPSEQT is 89 %, below 90 %, and this pool holds only DSNDB07 objects (1 object)"},
        {8, sortWork, [](PoolRecord& p) { p.VPSEQT = 90, p.HPSize = 3000; }, S, 22,
         "VPSEQT is 90 %, 90 % or more; this pool holds only DSNDB07 objects (1 object) and HP size is 3,000"},
        {8, table, [](PoolRecord& p) { p.Activity.AvgSyncIOTime = 31; }, R, 30,
         "average synchronous I/O 31 ms, above 30 ms"},
        {8, table, [](PoolRecord& p) { p.Activity.AvgSyncIOTime = 30; }, R, 31,
         "average synchronous I/O 30 ms, above 16 ms and not above 30 ms"},
        {8, table, [](PoolRecord& p) { p.Activity.AvgSeqPrefIOTime = 61; }, R, 32,
         "average sequential prefetch I/O 61 ms, above 60 ms"},
        {8, table, [](PoolRecord& p) { p.Activity.AvgListPrefIOTime = 81; }, R, 34,
         "average list prefetch I/O 81 ms, above 80 ms"},
        {8, table, [](PoolRecord& p) { p.Activity.AvgDynPrefIOTime = 61; }, R, 36,
         "average dynamic prefetch I/O 61 ms, above 60 ms"},
        {8, table, [](PoolRecord& p) { p.Activity.PagesWritten = 12501, p.Activity.WriteIOs = 100, p.VDWQT = 20; }, R,
         24,
         "pages per write 125.01 / VP size 1,000 \u00d7 100 = 12.500999 %, rounds to 13 %; VDWQT is 20 %, above that"},
        {8, table, [](PoolRecord& p) { p.Activity.PagesWritten = 9, p.VDWQT = 5; }, R, 24,
         "pages per write 0 (no write I/Os) / VP size 1,000 \u00d7 100 = 0.00 %, rounds to 0 %; VDWQT is 5 %, above "
         "that"},
        {8, table, [](PoolRecord& p) { p.Activity.PagesWritten = -250, p.Activity.WriteIOs = 1, p.VDWQT = 5; }, R, 24,
         "pages per write -250.00 / VP size 1,000 \u00d7 100 = -25.00 %, rounds to -25 %, taken as 0 %; VDWQT is 5 %, "
         "above that"},
    };
    for (const auto& c : cases) {
        ReportModel model = Report(c.pools, c.objects);
        if (c.set) c.set(model.Pools(1));
        std::vector<std::string> because;
        for (const AdviceLine& line : ExplainPoolRules(model, 1, c.intent))
            if (line.Rule == c.rule) because.push_back(line.Because);
        EXPECT_EQ(because, std::vector<std::string>{c.because}) << "rule " << c.rule;
    }
}

}  // namespace
}  // namespace kov
