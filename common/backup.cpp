#include "common/backup.h"

#include "common/failure.h"
#include "common/platform.h"

#include <string>
#include <system_error>

namespace kj {

namespace {

// Reports run long; a copy is kept of any file up to this size.
constexpr std::size_t kLargestKeptFile = std::size_t{1} << 30;

// The longest name of a file: 255 bytes (Linux) or UTF-16 units (Windows).
constexpr std::size_t kLongestName = 255;

// A unit of a name that is not the first of its character: a UTF-8
// continuation byte, or the low half of a UTF-16 surrogate pair.
template <class Unit>
bool continuesCharacter(Unit u)
{
    if constexpr (sizeof(Unit) == 1) return (static_cast<unsigned char>(u) & 0xC0) == 0x80;
    else return u >= 0xDC00 && u <= 0xDFFF;
}

} // namespace

std::filesystem::path backupPath(const std::filesystem::path& path)
{
    // A name within 4 of the file system's longest gives up its last
    // characters (whole ones) to ".bak".
    auto name = path.filename().native();
    using Unit = decltype(name)::value_type;
    if (name.size() > kLongestName - 4) {
        std::size_t cut = kLongestName - 4;
        while (cut > 0 && continuesCharacter(name[cut])) --cut;
        name.resize(cut);
    }
    name += Unit('.');
    name += Unit('b');
    name += Unit('a');
    name += Unit('k');
    return path.parent_path() / name;
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
