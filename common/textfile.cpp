#include "common/textfile.h"

#include "common/failure.h"
#include "common/platform.h"
#include "common/text.h"

#include <algorithm>
#include <vector>

namespace fs = std::filesystem;

namespace kj {

namespace {

bool validUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t n;
        if (c < 0x80) n = 1;
        else if (c >= 0xC2 && c <= 0xDF) n = 2;
        else if (c >= 0xE0 && c <= 0xEF) n = 3;
        else if (c >= 0xF0 && c <= 0xF4) n = 4;
        else return false;
        if (i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// UTF-16 shows itself by its byte order mark or, without one, by the zero
// high bytes of its ASCII characters: zeros in at least a quarter of the
// even or of the odd positions. No GBK or UTF-8 text has a zero byte.
bool looksUtf16(std::string_view b)
{
    if (b.size() >= 2 && (b.substr(0, 2) == "\xFF\xFE" || b.substr(0, 2) == "\xFE\xFF")) return true;
    std::size_t zeros[2] = {0, 0};
    for (std::size_t i = 0; i < b.size(); ++i)
        if (b[i] == '\0') ++zeros[i % 2];
    const std::size_t odd = b.size() / 2, even = b.size() - odd;
    return (zeros[0] > zeros[1] && zeros[0] * 4 >= even) || (zeros[1] > zeros[0] && zeros[1] * 4 >= odd && odd > 0);
}

std::string lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

fs::path& rootStorage()
{
    static fs::path root = fs::current_path();
    return root;
}

// The entry of folder dir whose name equals name in all but letter case
// (the exact name first), or name itself when there is none. The folder's
// listing decides even where the system ignores letter case (Windows), so
// that a name is spelt the same on every system.
fs::path matchCase(const fs::path& dir, const fs::path& name)
{
    fs::path exact = dir.empty() ? name : dir / name;
    const std::string want = platform::utf8FromPath(name);
    const std::string wantLower = lower(want);
    std::vector<std::string> found;
    std::error_code ec;
    fs::path scan = dir.empty() ? fs::path(".") : dir;
    for (fs::directory_iterator it(scan, ec), end; !ec && it != end; it.increment(ec)) {
        std::string n = platform::utf8FromPath(it->path().filename());
        if (n == want) return exact;
        if (lower(n) == wantLower) found.push_back(n);
    }
    if (found.empty()) return exact;
    std::sort(found.begin(), found.end());
    fs::path entry = platform::pathFromUtf8(found.front());
    return dir.empty() ? entry : dir / entry;
}

std::string fileFailure(std::string_view verb, std::string_view shownName, const std::string& why)
{
    return std::string(verb) + " " + std::string(shownName) + ": " + why;
}

} // namespace

std::string decodeFileBytes(std::string_view bytes)
{
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (validUtf8(bytes)) return std::string(bytes);
    return platform::gbkToUtf8(bytes);
}

std::string encodeGbk(std::string_view utf8)
{
    bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return std::string(utf8);
    return platform::utf8ToGbk(utf8);
}

fs::path pathFromUtf8(std::string_view utf8) { return platform::pathFromUtf8(utf8); }
std::string utf8FromPath(const fs::path& path) { return platform::utf8FromPath(path); }

const fs::path& workingRoot() { return rootStorage(); }
void setWorkingRoot(const fs::path& root) { rootStorage() = root; }

fs::path slotPath(std::string_view slotName, const fs::path& root)
{
    std::string name(slotName);
    if (name.find_first_not_of(" \t") == std::string::npos) throw Failure("未给出文件名");
    bool fromRoot = !name.empty() && name[0] == '\\';
    std::replace(name.begin(), name.end(), '\\', '/');
    fs::path rel;
    fs::path base;
    if (fromRoot) {
        std::size_t k = name.find_first_not_of('/');
        rel = k == std::string::npos ? fs::path() : platform::pathFromUtf8(name.substr(k));
        base = root;
    } else {
        // An absolute name ("/data/a.txt", "C:/data/a.txt") keeps its root.
        const fs::path whole = platform::pathFromUtf8(name);
        base = whole.root_path();
        rel = whole.relative_path();
    }
    fs::path out = base;
    for (const auto& part : rel) {
        if (part.empty()) continue;
        if (part == "." || part == "..") { out = out.empty() ? part : out / part; continue; }
        out = matchCase(out, part);
    }
    return out;
}

fs::path slotPath(std::string_view slotName) { return slotPath(slotName, workingRoot()); }

bool fileExists(const fs::path& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::string readTextFile(const fs::path& path, std::string_view shownName, std::string_view kind)
{
    const std::string_view verb = "无法读取文件";
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (!fs::exists(st)) throw Failure("找不到文件 " + std::string(shownName));
    if (fs::is_directory(st)) throw Failure(fileFailure(verb, shownName, "这是一个文件夹"));
    // A FIFO or a device is refused before it is opened: it could block or never end.
    if (!fs::is_regular_file(st)) throw Failure(fileFailure(verb, shownName, "不是普通文件"));
    const std::string tooLarge = "文件大于 1 MB, 不是本程序的" + std::string(kind);
    if (fs::file_size(path, ec) > kMaxTextFileBytes && !ec) throw Failure(fileFailure(verb, shownName, tooLarge));
    std::string bytes;
    if (std::string why = platform::readFile(path, kMaxTextFileBytes, bytes); !why.empty())
        throw Failure(fileFailure(verb, shownName, why));
    if (bytes.size() > kMaxTextFileBytes) throw Failure(fileFailure(verb, shownName, tooLarge));
    if (looksUtf16(bytes)) throw Failure(fileFailure(verb, shownName, "文件是 UTF-16 编码, 请另存为 GBK 或 UTF-8"));
    return decodeFileBytes(bytes);
}

void replaceTextFile(const fs::path& path, std::string_view text, std::string_view shownName)
{
    replaceFileBytes(path, encodeGbk(text), shownName);
}

void replaceFileBytes(const fs::path& path, std::string_view bytes, std::string_view shownName)
{
    if (std::string why = platform::replaceFile(path, bytes); !why.empty())
        throw Failure(fileFailure("无法写入文件", shownName, why));
}

namespace {

// Whether path, every symbolic link on the way resolved, lies in the working
// folder (itself resolved).
bool resolvesInsideWorkingFolder(const fs::path& path)
{
    std::error_code ec;
    const fs::path target = fs::weakly_canonical(fs::absolute(followLinks(path), ec), ec);
    const fs::path root = fs::weakly_canonical(fs::absolute(workingRoot(), ec), ec);
    const fs::path rel = target.lexically_relative(root);
    return !rel.empty() && !rel.is_absolute() && *rel.begin() != "..";
}

} // namespace

std::string shownOutputName(std::string_view slotName)
{
    if (resolvesInsideWorkingFolder(slotPath(slotName))) return std::string(slotName);
    std::error_code ec;
    return platform::utf8FromPath(fs::absolute(slotPath(slotName), ec).lexically_normal());
}

void refuseNameOutsideFolder(std::string_view slotName, std::string_view entry)
{
    std::string name(slotName);
    const std::size_t first = name.find_first_not_of(' ');
    bool outside = first != std::string::npos && name[first] == '/'; // an absolute path
    std::replace(name.begin(), name.end(), '/', '\\');
    outside = outside || (first != std::string::npos && name.compare(first, 2, "\\\\") == 0); // a network path
    outside = outside || name.find(':') != std::string::npos;                                   // a drive
    // A part of only dots and blanks with two dots or more climbs out
    // (Windows drops the trailing dots and blanks of a name part).
    for (std::size_t start = 0; start <= name.size() && !outside;) {
        std::size_t end = name.find('\\', start);
        if (end == std::string::npos) end = name.size();
        const std::string part = name.substr(start, end - start);
        if (part.find_first_not_of(". ") == std::string::npos && std::count(part.begin(), part.end(), '.') >= 2)
            outside = true;
        start = end + 1;
    }
    if (outside)
        throw Failure(std::string(entry) + " 的文件名 " + quoteForMessage(slotName) +
                      " 不在工作文件夹中: 文件中记下的文件名不能含 \"..\"、盘符或绝对路径");
    // A name of the folder may still be a symbolic link (or pass through a
    // linked folder) to a file elsewhere.
    std::string rooted(slotName.substr(first == std::string::npos ? slotName.size() : first));
    if (!rooted.empty() && rooted[0] != '\\' && rooted[0] != '/') rooted.insert(0, "\\");
    if (!rooted.empty() && !resolvesInsideWorkingFolder(slotPath(rooted)))
        throw Failure(std::string(entry) + " 的文件名 " + quoteForMessage(slotName) +
                      " 经符号链接指向工作文件夹之外: 文件中记下的文件名只能指工作文件夹中的文件");
}

fs::path entryPath(std::string_view slotName, std::string_view entry)
{
    refuseNameOutsideFolder(slotName, entry);
    std::string name(slotName);
    if (name.empty() || (name[0] != '\\' && name[0] != '/')) name.insert(0, "\\");
    return slotPath(name);
}

fs::path followLinks(const fs::path& path)
{
    fs::path p = path;
    std::error_code ec;
    for (int depth = 0; depth < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++depth) {
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) break;
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    return p;
}

std::string readFileBytes(const fs::path& path, std::size_t limit, std::string_view shownName)
{
    std::error_code ec;
    if (!fs::exists(fs::status(path, ec))) return {};
    std::string bytes;
    if (std::string why = platform::readFile(path, limit, bytes); !why.empty())
        throw Failure(fileFailure("无法读取文件", shownName, why));
    if (bytes.size() > limit) throw Failure(fileFailure("无法读取文件", shownName, "文件太大"));
    return bytes;
}

void FileSet::addText(const fs::path& path, std::string_view text, std::string_view shownName)
{
    addBytes(path, encodeGbk(text), shownName);
}

void FileSet::addBytes(const fs::path& path, std::string_view bytes, std::string_view shownName)
{
    Entry e{std::string(shownName), {}};
    if (std::string why = e.file.write(followLinks(path), bytes); !why.empty())
        throw Failure(fileFailure("无法写入文件", shownName, why));
    files_.push_back(std::move(e));
}

fs::path FileSet::reserve(const fs::path& path, std::string_view shownName)
{
    Entry e{std::string(shownName), {}};
    if (std::string why = e.file.reserve(followLinks(path)); !why.empty())
        throw Failure(fileFailure("无法写入文件", shownName, why));
    files_.push_back(std::move(e));
    return files_.back().file.path();
}

void FileSet::seal()
{
    for (Entry& e : files_)
        if (std::string why = e.file.sync(); !why.empty()) {
            const std::string name = e.shownName;
            discard();
            throw Failure(fileFailure("无法写入文件", name, why));
        }
}

void FileSet::commit()
{
    for (Entry& e : files_)
        if (std::string why = e.file.commit(); !why.empty()) {
            const std::string name = e.shownName;
            discard();
            throw Failure(fileFailure("无法写入文件", name, why));
        }
    files_.clear();
}

std::vector<std::pair<fs::path, fs::path>> FileSet::staged() const
{
    std::vector<std::pair<fs::path, fs::path>> out;
    for (const Entry& e : files_)
        if (e.file.active()) out.push_back({e.file.path(), e.file.target()});
    return out;
}

void FileSet::discard()
{
    for (Entry& e : files_) e.file.discard();
    files_.clear();
}

void appendTextFile(const fs::path& path, std::string_view text, std::string_view shownName)
{
    if (std::string why = platform::appendFile(path, encodeGbk(text)); !why.empty())
        throw Failure(fileFailure("无法写入文件", shownName, why));
}

} // namespace kj
