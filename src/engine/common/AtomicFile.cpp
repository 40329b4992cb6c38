#include "common/AtomicFile.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace kov {

void WriteFileAtomically(const std::string& path, const std::function<void(std::ostream&)>& write) {
    const std::string temporary = path + ".kovtmp";
    try {
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            if (!out) throw std::runtime_error("cannot create '" + temporary + "'");
            write(out);
            out.flush();
            if (!out) throw std::runtime_error("cannot write '" + temporary + "' (disk full?)");
        }
        std::error_code ec;
        std::filesystem::rename(temporary, path, ec);
        if (ec) throw std::runtime_error("cannot replace '" + path + "': " + ec.message());
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw;
    }
}

}  // namespace kov
