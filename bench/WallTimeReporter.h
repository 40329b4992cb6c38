#pragma once
// The console output, keeping each benchmark's wall time (the median when
// repetitions give one, else the mean of its runs) so that a program can set
// its benchmarks against each other once they are done.

#include <benchmark/benchmark.h>

#include <map>
#include <numeric>
#include <string>
#include <vector>

class WallTimeReporter : public benchmark::ConsoleReporter {
public:
    using benchmark::ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const std::string& args = run.run_name.args;
            const std::string name = run.run_name.function_name + (args.empty() ? "" : "/" + args);
            const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median") medians_[name] = seconds;
            } else {
                runs_[name].push_back(seconds);
            }
        }
    }

protected:
    bool Seconds(const std::string& name, double& seconds) const {
        if (const auto m = medians_.find(name); m != medians_.end()) {
            seconds = m->second;
            return true;
        }
        const auto r = runs_.find(name);
        if (r == runs_.end() || r->second.empty()) return false;
        seconds = std::accumulate(r->second.begin(), r->second.end(), 0.0) / static_cast<double>(r->second.size());
        return true;
    }

    // "median" or "mean": which wall time Seconds gives.
    const char* Statistic() const { return medians_.empty() ? "mean" : "median"; }

private:
    std::map<std::string, double> medians_;
    std::map<std::string, std::vector<double>> runs_;
};
