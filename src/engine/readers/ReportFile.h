#pragma once
// Opening a report file: only a regular file is opened at all (a named pipe
// would wait for a writer, a device never end), and a file that cannot be
// opened is named with the reason the system gave.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kov {

struct OpenedReportFile {
    std::FILE* File = nullptr;
    std::int64_t Size = 0;
};

// Throws std::runtime_error "cannot open '<path>': <reason>" when the path
// names no regular file or the file cannot be read.
OpenedReportFile OpenReportFile(const std::string& path);

// The path as a message shows it: a path longer than 300 characters keeps its
// start and its file name, with "..." between.
std::string PathForMessage(std::string_view path);

}  // namespace kov
