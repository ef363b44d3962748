#include "common/backup.h"

#include "common/failure.h"

#include <string>
#include <system_error>

namespace kj {

std::filesystem::path backupPath(const std::filesystem::path& path)
{
    std::filesystem::path bak = path;
    bak += ".bak";
    return bak;
}

void keepBackup(const std::filesystem::path& path, std::string_view shownName)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return;
    const auto size = fs::file_size(path, ec);
    if (ec || size == 0) return;
    const fs::path bak = backupPath(path);
    fs::copy_file(path, bak, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        const std::string shown(shownName);
        throw Failure("未能把 " + shown + " 原有的内容保留为 " + shown + ".bak (" + ec.message() + "), " + shown +
                      " 没有改动");
    }
}

} // namespace kj
