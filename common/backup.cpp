#include "common/backup.h"

#include "common/failure.h"
#include "common/platform.h"

#include <string>
#include <system_error>

namespace kj {

namespace {

// Reports run long; a copy is kept of any file up to this size.
constexpr std::size_t kLargestKeptFile = std::size_t{1} << 30;

} // namespace

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
    // Through the file module, so that the copy is whole or not made, on
    // every system alike.
    std::string bytes;
    std::string why = platform::readFile(path, kLargestKeptFile, bytes);
    if (why.empty()) why = platform::replaceFile(backupPath(path), bytes);
    if (!why.empty()) {
        const std::string shown(shownName);
        throw Failure("未能把 " + shown + " 原有的内容保留为 " + shown + ".bak (" + why + "), " + shown + " 没有改动");
    }
}

} // namespace kj
