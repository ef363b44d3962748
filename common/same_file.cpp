#include "common/same_file.h"

#include "common/failure.h"

#include <system_error>

namespace fs = std::filesystem;

namespace kj {

namespace {

std::string lowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Absolute, with "." and ".." and symbolic links of the existing part
// resolved, and no trailing separator.
fs::path normalised(const fs::path& p)
{
    std::error_code ec;
    fs::path n = fs::weakly_canonical(fs::absolute(p, ec), ec);
    if (ec) n = fs::absolute(p, ec).lexically_normal();
    if (!n.has_filename() && n.has_relative_path()) n = n.parent_path();
    return n;
}

bool sameNormalised(const fs::path& a, const fs::path& b)
{
    std::error_code ea, eb;
    const bool aExists = fs::exists(a, ea);
    const bool bExists = fs::exists(b, eb);
    if (aExists && bExists) {
        std::error_code ec;
        return fs::equivalent(a, b, ec);
    }
    if (a == b) return true;
    if (!a.has_relative_path() || !b.has_relative_path()) return false; // one is a root folder
    return lowerAscii(a.filename().string()) == lowerAscii(b.filename().string()) &&
           sameNormalised(a.parent_path(), b.parent_path());
}

} // namespace

bool sameFile(const fs::path& a, const fs::path& b) { return sameNormalised(normalised(a), normalised(b)); }

void refuseSameFiles(const std::vector<std::pair<std::string, fs::path>>& files)
{
    for (std::size_t j = 1; j < files.size(); ++j)
        for (std::size_t i = 0; i < j; ++i)
            if (sameFile(files[i].second, files[j].second))
                throw Failure(files[j].first + " 与" + files[i].first + " 是同一个文件");
}

} // namespace kj
