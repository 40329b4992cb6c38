#pragma once
// Files the analyser writes replace the old file only once the new content is
// complete: written beside it under a temporary name, flushed, then renamed.

#include <functional>
#include <ostream>
#include <string>

namespace kov {

// Throws std::runtime_error naming the file when it cannot be written; the
// old file is then untouched and no temporary file is left behind.
void WriteFileAtomically(const std::string& path, const std::function<void(std::ostream&)>& write);

}  // namespace kov
