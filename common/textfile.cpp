#include "common/textfile.h"

#include "common/failure.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iconv.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
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

// Converts with iconv; a sequence that cannot be converted becomes '?' and
// the conversion goes on one byte (or one character) further.
std::string convert(std::string_view in, const char* to, const char* from, bool fromUtf8)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw Failure(std::string("无法进行字符编码转换: ") + from + " -> " + to);
    std::string out;
    std::vector<char> buf(4096);
    char* inp = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    while (inLeft > 0) {
        char* outp = buf.data();
        std::size_t outLeft = buf.size();
        std::size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
        out.append(buf.data(), static_cast<std::size_t>(outp - buf.data()));
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: skip the offending character.
            std::size_t skip = 1;
            if (fromUtf8) {
                unsigned char c = static_cast<unsigned char>(*inp);
                skip = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
                skip = std::min(skip, inLeft);
            }
            inp += skip;
            inLeft -= skip;
            out += '?';
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
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
// (an exact match first), or name itself when there is none.
fs::path matchCase(const fs::path& dir, const fs::path& name)
{
    std::error_code ec;
    fs::path exact = dir.empty() ? name : dir / name;
    if (fs::exists(exact, ec)) return exact;
    std::string want = lower(name.string());
    std::vector<std::string> found;
    fs::path scan = dir.empty() ? fs::path(".") : dir;
    for (fs::directory_iterator it(scan, ec), end; !ec && it != end; it.increment(ec)) {
        std::string n = it->path().filename().string();
        if (lower(n) == want) found.push_back(n);
    }
    if (found.empty()) return exact;
    std::sort(found.begin(), found.end());
    return dir.empty() ? fs::path(found.front()) : dir / found.front();
}

std::string errnoText() { return std::strerror(errno); }

} // namespace

std::string decodeFileBytes(std::string_view bytes)
{
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (validUtf8(bytes)) return std::string(bytes);
    return convert(bytes, "UTF-8", "GB18030", false);
}

std::string encodeGbk(std::string_view utf8)
{
    bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return std::string(utf8);
    return convert(utf8, "GB18030", "UTF-8", true);
}

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
        rel = k == std::string::npos ? fs::path() : fs::path(name.substr(k));
        base = root;
    } else if (name[0] == '/') {
        rel = fs::path(name).relative_path();
        base = "/";
    } else {
        rel = fs::path(name);
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

std::string readTextFile(const fs::path& path, std::string_view shownName)
{
    std::error_code ec;
    if (!fs::exists(path, ec)) throw Failure("找不到文件 " + std::string(shownName));
    if (fs::is_directory(path, ec)) throw Failure("无法读取文件 " + std::string(shownName) + ": 这是一个文件夹");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure("无法读取文件 " + std::string(shownName) + ": " + errnoText());
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) throw Failure("无法读取文件 " + std::string(shownName));
    return decodeFileBytes(ss.str());
}

void replaceTextFile(const fs::path& path, std::string_view text, std::string_view shownName)
{
    replaceFileBytes(path, encodeGbk(text), shownName);
}

void replaceFileBytes(const fs::path& path, std::string_view bytes, std::string_view shownName)
{
    fs::path dir = path.parent_path();
    std::string tmpl = ((dir.empty() ? fs::path(".") : dir) / ("." + path.filename().string() + ".XXXXXX")).string();
    std::vector<char> tmp(tmpl.begin(), tmpl.end());
    tmp.push_back('\0');
    int fd = mkstemp(tmp.data());
    if (fd < 0) throw Failure("无法写入文件 " + std::string(shownName) + ": " + errnoText());
    struct stat st;
    mode_t mode = 0644;
    if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;
    fchmod(fd, mode);
    std::size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
        ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(w);
    }
    std::string why = ok ? std::string() : errnoText();
    if (::close(fd) != 0 && ok) { ok = false; why = errnoText(); }
    if (ok && std::rename(tmp.data(), path.c_str()) != 0) { ok = false; why = errnoText(); }
    if (!ok) {
        std::remove(tmp.data());
        throw Failure("无法写入文件 " + std::string(shownName) + ": " + why);
    }
}

void appendTextFile(const fs::path& path, std::string_view text, std::string_view shownName)
{
    std::string bytes = encodeGbk(text);
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) throw Failure("无法写入文件 " + std::string(shownName) + ": " + errnoText());
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) throw Failure("无法写入文件 " + std::string(shownName));
}

} // namespace kj
