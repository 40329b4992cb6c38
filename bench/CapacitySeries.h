#pragma once
// The hourly series of capacity reports the trend and history benchmarks
// read (kovgraph-make-samples --series N --capacity writes the same files):
// N reports of one system of 60 pools and 5000 objects, BP1 grown half-way.
// With KOVGRAPH_TREND_FOLDER the series is written there once and reused by
// later runs of either benchmark (a kept folder is for one N: the series
// grows BP1 half-way through its own length); without it, into a temporary
// folder that the caller removes.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "readers/ReportWriter.h"
#include "sampledata/SampleGenerator.h"

struct CapacitySeries {
    std::filesystem::path Folder;
    bool Kept = false;  // the folder outlives the run
    std::vector<std::string> Files;
    std::int64_t Bytes = 0;
};

// The number of reports an environment variable asks for, else `fallback`.
inline int ReportsWanted(const char* variable, int fallback) {
    const char* text = std::getenv(variable);
    const int count = text ? std::atoi(text) : fallback;
    return count > 1 ? count : fallback;
}

// The series' folder, its reports written where one is missing.
inline CapacitySeries WriteCapacitySeries(int count) {
    namespace fs = std::filesystem;
    CapacitySeries series;
    if (const char* kept = std::getenv("KOVGRAPH_TREND_FOLDER")) {
        series.Folder = kept;
        series.Kept = true;
        fs::create_directories(series.Folder);
    } else {
        std::string pattern = (fs::temp_directory_path() / "kovgraph-series-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder under " + fs::temp_directory_path().string());
        series.Folder = pattern;
    }
    const kov::SamplePlan base = kov::CapacitySeriesBase();
    for (int r = 0; r < count; ++r) {
        const kov::SamplePlan plan = kov::SeriesPlan(base, r, count);
        const fs::path path = series.Folder / kov::SeriesFileName(plan);
        if (!fs::exists(path)) {
            const kov::ReportModel model = kov::GenerateReport(plan);
            const fs::path partial = path.string() + ".part";
            {
                std::ofstream out(partial, std::ios::binary);
                kov::WriteStatReport(model, out);
                if (!out) throw std::runtime_error("cannot write " + partial.string());
            }
            fs::rename(partial, path);
        }
        series.Files.push_back(path.string());
        series.Bytes += static_cast<std::int64_t>(fs::file_size(path));
    }
    return series;
}
