#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/TuningRules.h"

namespace kov {
namespace {

// A report of `pools` pools; pool 1 is the one evaluated and holds the
// given objects (name, type, sequential/random/RID get pages).
struct PlannedObject {
    const char* name;
    const char* type;
    std::int32_t seq, rand, rid;
};

ReportModel Report(int pools, std::initializer_list<PlannedObject> objects) {
    ReportModel model;
    for (int p = 1; p <= pools; ++p) {
        PoolRecord& pool = model.Pools(model.Pools.Add());
        pool.PoolName = p == 1 ? "BP1" : "BP" + std::to_string(p + 1);
        pool.VPSize = 1000;
        pool.VPSEQT = 20;
        pool.VDWQT = 0;
    }
    for (const PlannedObject& planned : objects) {
        const int o = model.Objects.Add();
        ObjectRecord& object = model.Objects(o);
        object.ObjectName = planned.name;
        object.ObjectType = planned.type;
        object.Activity.GetPagesByAccess = {0, planned.seq, planned.rand, planned.rid};
        if (model.Pools(1).FirstObject == 0) model.Pools(1).FirstObject = static_cast<std::int16_t>(o);
        model.Pools(1).LastObject = static_cast<std::int16_t>(o);
    }
    return model;
}

std::vector<int> Fired(const std::vector<std::string>& advice) {
    std::vector<int> rules;
    for (const std::string& line : advice) rules.push_back(std::stoi(line.substr(9)));
    return rules;
}

std::vector<int> Evaluate(const ReportModel& model, char intent = 'R') {
    return Fired(EvaluatePoolRules(model, 1, intent));
}

bool Has(const std::vector<int>& rules, int rule) {
    return std::find(rules.begin(), rules.end(), rule) != rules.end();
}

TEST(RuleTexts, AreTheStoredTextsWithTwoLeadingBlanks) {
    ASSERT_EQ(RuleTexts().size(), 39u);
    for (int rule = 1; rule <= RuleCount; ++rule)
        EXPECT_EQ(RuleTexts()[static_cast<std::size_t>(rule)].rfind("  Rule # " + std::to_string(rule) + " - ", 0), 0u);
    EXPECT_EQ(RuleTexts()[13], "  Rule # 13 - ");
    EXPECT_EQ(RuleTexts()[22], "  Rule # 22 - Evaluate the HP benefit for dedicated a pool dedicated to DSNDB07");
}

TEST(EvaluatePoolRules, PoolCountBoundaries) {
    const struct {
        int pools;
        bool rule9, rule12;
    } cases[] = {{1, true, false}, {5, true, false}, {6, false, false}, {12, false, false}, {13, false, true}};
    for (const auto& c : cases) {
        const auto rules = Evaluate(Report(c.pools, {{"DB.TS1", "T", 0, 10, 0}}));
        EXPECT_EQ(Has(rules, 9), c.rule9) << c.pools;
        EXPECT_EQ(Has(rules, 12), c.rule12) << c.pools;
    }
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
        {"sort work shared", Report(8, {{"DSNDB07.DSN4K01", "T", 9, 1, 0}, {"DB.TS1", "T", 0, 5, 0}}), {5, 8}},
        {"sort work alone", Report(8, {{"DSNDB07.DSN4K01", "T", 9, 1, 0}}), {}},
        {"no objects", Report(8, {}), {}},
    };
    for (const auto& c : cases) {
        std::vector<int> objectRules;
        for (int rule : Evaluate(c.model))
            if (rule == 3 || rule == 4 || rule == 5 || rule == 6 || rule == 8) objectRules.push_back(rule);
        EXPECT_EQ(objectRules, c.expected) << c.what;
    }
}

TEST(EvaluatePoolRules, SharedSortWorkInBP0AddsRule5ButNot8) {
    ReportModel model = Report(8, {{"DSNDB07.DSN4K01", "T", 9, 1, 0}, {"DB.TS1", "T", 0, 5, 0}});
    model.Pools(1).PoolName = "BP0";
    const auto rules = Evaluate(model);
    EXPECT_TRUE(Has(rules, 5));
    EXPECT_FALSE(Has(rules, 8));
}

TEST(EvaluatePoolRules, IntentThresholds) {
    const struct {
        char intent;
        std::int32_t vpseqt, hpSize, hpseqt;
        bool sortWorkOnly;
        std::vector<int> expected;  // rules 10, 18, 20, 21, 22
    } cases[] = {
        {'R', 25, 0, 0, false, {}},    {'R', 26, 0, 0, false, {10}},   {'R', 20, 3000, 5, false, {18}},
        {'R', 20, 3000, 0, false, {}}, {'S', 89, 0, 0, true, {21}},    {'S', 89, 0, 0, false, {}},
        {'S', 90, 0, 0, false, {20}},  {'S', 90, 3000, 0, true, {22}}, {'S', 95, 0, 0, true, {}},
    };
    for (const auto& c : cases) {
        ReportModel model = Report(8, {c.sortWorkOnly ? PlannedObject{"DSNDB07.DSN4K01", "T", 9, 1, 0}
                                                      : PlannedObject{"DB.TS1", "T", 0, 9, 0}});
        PoolRecord& pool = model.Pools(1);
        pool.VPSEQT = c.vpseqt;
        pool.HPSize = c.hpSize;
        pool.HPSEQT = c.hpseqt;
        std::vector<int> intentRules;
        for (int rule : Evaluate(model, c.intent))
            if (rule == 10 || rule == 18 || rule == 20 || rule == 21 || rule == 22) intentRules.push_back(rule);
        EXPECT_EQ(intentRules, c.expected) << c.intent << " VPSEQT " << c.vpseqt;
    }
}

TEST(EvaluatePoolRules, IoTimeBoundariesAreStrict) {
    const struct {
        std::int32_t sync, seq, list, dyn;
        std::vector<int> expected;
    } cases[] = {{16, 60, 80, 60, {}}, {17, 61, 81, 61, {31, 32, 34, 36}}, {30, 0, 0, 0, {31}}, {31, 0, 0, 0, {30}}};
    for (const auto& c : cases) {
        ReportModel model = Report(8, {{"DB.TS1", "T", 0, 9, 0}});
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
        ReportModel model = Report(8, {c.sortWorkOnly ? PlannedObject{"DSNDB07.DSN4K01", "T", 9, 1, 0}
                                                      : PlannedObject{"DB.TS1", "T", 0, 9, 0}});
        PoolRecord& pool = model.Pools(1);
        pool.Activity.PagesWritten = c.pagesWritten;
        pool.Activity.WriteIOs = c.writeIOs;
        pool.VPSize = c.vpSize;
        pool.VDWQT = c.vdwqt;
        const auto advice = EvaluatePoolRules(model, 1, 'R');
        const auto line = std::find_if(advice.begin(), advice.end(), [](const std::string& text) {
            return text.find("Rule # 24") != std::string::npos;
        });
        if (c.expected == nullptr) {
            EXPECT_EQ(line, advice.end()) << c.pagesWritten << "/" << c.writeIOs;
        } else {
            ASSERT_NE(line, advice.end()) << c.pagesWritten << "/" << c.writeIOs;
            EXPECT_EQ(*line, RuleTexts()[24] + c.expected);
        }
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
        ReportModel model = Report(8, {{"DB.TS1", "T", 0, 9, 0}});
        PoolRecord& pool = model.Pools(1);
        pool.VPSize = c.vp;
        pool.HPSize = c.hp;
        pool.HPSEQT = c.hpseqt;
        pool.Activity.GetPagesByAccess = {0, c.seq, c.rand, 0};
        std::vector<int> hpRules;
        for (int rule : Evaluate(model, 'S'))
            if (rule == 37 || rule == 38) hpRules.push_back(rule);
        EXPECT_EQ(hpRules, c.expected) << c.hp << " " << c.hpseqt;
    }
}

TEST(EvaluatePoolRules, SwitchingIntentKeepsTheOtherLinesInOrder) {
    ReportModel model = Report(5, {{"DB.TS1", "T", 0, 10, 0}, {"DB.IX1", "I", 0, 10, 0}});
    model.Pools(1).VPSEQT = 50;
    model.Pools(1).HPSize = 3000;
    model.Pools(1).HPSEQT = 10;
    model.Pools(1).Activity.AvgSyncIOTime = 20;
    EXPECT_EQ(Evaluate(model, 'R'), (std::vector<int>{9, 3, 10, 18, 31}));
    EXPECT_EQ(Evaluate(model, 'S'), (std::vector<int>{9, 3, 31}));
    EXPECT_EQ(AnalysisCaption(model, 1), "Buffer Pool Stat Analysis - BP1     ");
}

}  // namespace
}  // namespace kov
