#pragma once
// The command-line parse the programs share: CLI11's parse and the program's
// own checks of how options combine, --help and --version answered on
// standard output, and a command line that does not parse named on standard
// error with exit status 2.

#include <CLI/CLI.hpp>
#include <functional>
#include <iostream>
#include <optional>
#include <string>

namespace kov {

// The exit status to end with at once, or nullopt when the program runs on.
// `check` throws a CLI::ParseError (a ValidationError, a RequiredError) for
// what the options alone cannot judge; `helpCommand` is what the error line
// tells the user to run for usage ("--help").
inline std::optional<int> ParseCommandLine(CLI::App& app, int argc, char** argv, const std::string& program,
                                           const std::string& helpCommand, const std::function<void()>& check = {}) {
    try {
        app.parse(argc, argv);
        if (check) check();
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::CallForVersion&) {
        std::cout << app.version() << "\n";
        return 0;
    } catch (const CLI::ParseError& error) {
        std::cerr << program << ": " << error.what() << "\n"
                  << "Run with " << helpCommand << " for usage.\n";
        return 2;
    }
    return std::nullopt;
}

}  // namespace kov
