// kovgraph-report [--json] [--intent R|S] [--radius R] [--acc-dir DIR] STATFILE [SIMFILE...]

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <iostream>

#include "report/BatchReport.h"

int main(int argc, char** argv) {
    kov::BatchOptions options;
    std::string intent = "R";
    CLI::App app{"KOVGraph batch report: the analysis of DB2 buffer-pool statistics and simulation reports"};
    app.add_flag("--json", options.Json, "print the analysis as a JSON document");
    app.add_option("--intent", intent, "pool usage intent for the cluster default: R (random) or S (sequential)")
        ->check(CLI::IsMember({"R", "S"}));
    const CLI::Validator radiusCheck(
        [](std::string& text) -> std::string {
            double value = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (error != std::errc() || end != text.data() + text.size() || !(value >= 0) || std::isinf(value))
                return "the radius must be a number of 0 or more, not '" + text + "'";
            return {};
        },
        "NUMBER>=0");
    app.add_option("--radius", options.Radius, "cluster radius (default 1.2)")->check(radiusCheck);
    app.add_option("--acc-dir", options.AccDir, "folder holding Rand.acc and Seq.acc (default: the program's folder)");
    app.add_option("STATFILE", options.StatFile, "statistics report or consolidated data file")->required();
    app.add_option("SIMFILE", options.SimFiles, "simulation reports, read in the order given");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        std::cerr << "kovgraph-report: " << error.what() << "\n" << "Run with --help for usage.\n";
        return 2;
    }
    options.Intent = intent.front();
    if (options.AccDir.empty()) {
        std::error_code ec;
        const auto self = std::filesystem::canonical("/proc/self/exe", ec);
        options.AccDir = ec ? std::string(".") : self.parent_path().string();
    }
    try {
        return kov::RunBatchReport(options, std::cout);
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph-report: " << failure.what() << "\n";
        return 1;
    }
}
