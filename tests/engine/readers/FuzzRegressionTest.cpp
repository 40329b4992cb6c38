// Every input that ever made a fuzz target fail, and the fuzzers' seed
// corpus, read again in the ordinary suite (under the sanitizers in
// scripts/test), the way the fuzz target reads it.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "fuzz/FuzzInputs.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

namespace fs = std::filesystem;

TEST(FuzzRegression, SeedsAreGoodInputsAndFoundFaultsStayFixed) {
    const struct {
        const char* target;
        std::function<bool(std::string_view)> read;
    } targets[] = {
        {"statistics", fuzz::ReadStatisticsInput},
        {"simulation", fuzz::ReadSimulationInput},
        {"consolidated", fuzz::ReadConsolidatedInput},
        {"numberfield", fuzz::ParseNumberInput},
    };
    const fs::path fuzzFolder = KOVGRAPH_FUZZ_FOLDER;
    for (const auto& t : targets) {
        SCOPED_TRACE(t.target);
        int seeds = 0;
        for (const auto& seed : fs::directory_iterator(fuzzFolder / "corpus" / t.target)) {
            // The seeds are good reports, so fuzzing starts from the deep paths.
            EXPECT_TRUE(t.read(test::ReadWhole(seed.path().string()))) << seed.path();
            ++seeds;
        }
        EXPECT_GE(seeds, 2);
        const fs::path found = fuzzFolder / "regressions" / t.target;
        if (!fs::is_directory(found)) continue;
        for (const auto& input : fs::directory_iterator(found)) {
            SCOPED_TRACE(input.path().string());
            t.read(test::ReadWhole(input.path().string()));  // returns, whatever it read
        }
    }
}

}  // namespace
}  // namespace kov
