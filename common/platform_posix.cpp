// Linux (and other POSIX systems): iconv, byte-string file names, POSIX I/O.
#include "common/platform.h"

#include "common/failure.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace kj::platform {

namespace {

// Converts with iconv; see gbkToUtf8 for what happens to bad sequences.
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

std::string reason(int err, bool writing)
{
    switch (err) {
    case EACCES:
    case EPERM: return writing ? "没有写入权限" : "没有读取权限";
    case EISDIR: return "是一个文件夹";
    case ENOSPC: return "磁盘空间不足";
    case EDQUOT: return "磁盘配额已用完";
    case EROFS: return "磁盘是只读的";
    case ENOENT: return writing ? "文件夹不存在" : "文件不存在";
    case ENOTDIR: return "路径中有一项不是文件夹";
    case ENAMETOOLONG: return "文件名太长";
    case EFBIG: return "文件太大";
    case EIO: return "磁盘读写错误";
    case EMFILE:
    case ENFILE: return "打开的文件太多";
    case ENOMEM: return "内存不足";
    case ETXTBSY:
    case EBUSY: return "文件正在使用";
    case ELOOP: return "符号链接层数太多";
    case ENXIO:
    case ENODEV: return "不是普通文件";
    default: return "系统错误 " + std::to_string(err) + " (" + std::strerror(err) + ")";
    }
}

std::string lastReason(bool writing) { return reason(errno, writing); }

// Why path (when it exists) must not be written: not a regular file, or
// marked read-only (even for a user whom the system would let write it).
std::string refuseWriting(const fs::path& path, struct stat& st, bool& exists)
{
    exists = ::stat(path.c_str(), &st) == 0;
    if (!exists) return errno == ENOENT ? std::string() : lastReason(true);
    if (S_ISDIR(st.st_mode)) return reason(EISDIR, true);
    if (!S_ISREG(st.st_mode)) return "不是普通文件";
    if ((st.st_mode & 0222) == 0) return "文件是只读的";
    if (::access(path.c_str(), W_OK) != 0) return lastReason(true);
    return {};
}

bool writeAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(w);
    }
    return true;
}

} // namespace

std::string gbkToUtf8(std::string_view bytes) { return convert(bytes, "UTF-8", "GB18030", false); }
std::string utf8ToGbk(std::string_view utf8) { return convert(utf8, "GB18030", "UTF-8", true); }

fs::path pathFromUtf8(std::string_view utf8) { return fs::path(std::string(utf8)); }
std::string utf8FromPath(const fs::path& path) { return path.native(); }

std::string readFile(const fs::path& path, std::size_t limit, std::string& bytes)
{
    bytes.clear();
    // Non-blocking open: a FIFO without a writer must not hold the program.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return lastReason(false);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        std::string why = S_ISDIR(st.st_mode) ? reason(EISDIR, false) : "不是普通文件";
        ::close(fd);
        return why;
    }
    std::vector<char> buf(64 * 1024);
    std::string why;
    while (bytes.size() <= limit) {
        ssize_t r = ::read(fd, buf.data(), std::min(buf.size(), limit + 1 - bytes.size()));
        if (r < 0) {
            if (errno == EINTR) continue;
            why = lastReason(false);
            break;
        }
        if (r == 0) break;
        bytes.append(buf.data(), static_cast<std::size_t>(r));
    }
    ::close(fd);
    return why;
}

StagedFile::~StagedFile() { discard(); }

StagedFile::StagedFile(StagedFile&& other) noexcept
    : target_(std::move(other.target_)), temp_(std::move(other.temp_)), handle_(other.handle_)
{
    other.temp_.clear();
    other.handle_ = -1;
}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept
{
    if (this != &other) {
        discard();
        target_ = std::move(other.target_);
        temp_ = std::move(other.temp_);
        handle_ = other.handle_;
        other.temp_.clear();
        other.handle_ = -1;
    }
    return *this;
}

std::string StagedFile::open(const fs::path& target)
{
    discard();
    struct stat st;
    bool exists = false;
    if (std::string why = refuseWriting(target, st, exists); !why.empty()) return why;
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (int attempt = 0; attempt < 10; ++attempt) {
        // Short whatever the target's name, so that any name the file
        // system takes can be written through it.
        std::string tmp = (dir / (std::string(kTempPrefix) + "XXXXXX")).native();
        int fd = ::mkstemp(tmp.data());
        if (fd < 0) return lastReason(true);
        // Held from here on. A run cleaning the folder may have taken the
        // fresh file for a leftover between mkstemp and flock: then the name
        // no longer leads to this file, and another one is made.
        struct stat mine {}, named {};
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &mine) != 0 || ::lstat(tmp.c_str(), &named) != 0 ||
            mine.st_ino != named.st_ino || mine.st_dev != named.st_dev) {
            ::close(fd);
            continue;
        }
        ::fchmod(fd, exists ? st.st_mode & 07777 : 0644);
        target_ = target;
        temp_ = tmp;
        handle_ = fd;
        return {};
    }
    return "无法建立临时文件";
}

std::string StagedFile::write(const fs::path& target, std::string_view bytes)
{
    if (std::string why = open(target); !why.empty()) return why;
    if (!writeAll(static_cast<int>(handle_), bytes)) {
        std::string why = lastReason(true);
        discard();
        return why;
    }
    return sync();
}

std::string StagedFile::reserve(const fs::path& target) { return open(target); }

std::string StagedFile::sync()
{
    if (::fsync(static_cast<int>(handle_)) != 0) {
        std::string why = lastReason(true);
        discard();
        return why;
    }
    return {};
}

std::string StagedFile::commit()
{
    if (!active()) return "临时文件已不存在";
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
        std::string why = lastReason(true);
        discard();
        return why;
    }
    ::close(static_cast<int>(handle_)); // the lock goes with the last descriptor
    handle_ = -1;
    temp_.clear();
    return {};
}

void StagedFile::discard()
{
    if (!temp_.empty()) ::unlink(temp_.c_str());
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    temp_.clear();
    handle_ = -1;
}

std::string replaceFile(const fs::path& path, std::string_view bytes)
{
    StagedFile file;
    if (std::string why = file.write(path, bytes); !why.empty()) return why;
    return file.commit();
}

void removeStaleTemporaries(const fs::path& dir)
{
    std::error_code ec;
    const std::string prefix = kTempPrefix;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().native();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string path = it->path().native();
        int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat mine {}, named {};
        // Free to lock means no live process holds it; it must still be the
        // file of that name when it is removed.
        if (::fstat(fd, &mine) == 0 && S_ISREG(mine.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::lstat(path.c_str(), &named) == 0 && mine.st_ino == named.st_ino && mine.st_dev == named.st_dev)
            ::unlink(path.c_str());
        ::close(fd);
    }
}

FolderLock::~FolderLock()
{
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

FolderLock::Result FolderLock::acquire(const fs::path& dir, int waitMs)
{
    if (handle_ >= 0) return Result::Taken;
    const fs::path file = dir / kFolderLockName;
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0 && errno == ELOOP) return Result::IsLink; // O_NOFOLLOW met a symbolic link
    if (fd < 0) fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ELOOP ? Result::IsLink : Result::Taken;
    for (int waited = 0;; waited += 50) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            handle_ = fd;
            return Result::Taken;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(fd); // a file system without locks: nothing to wait for
            return Result::Taken;
        }
        if (waited >= waitMs) break;
        ::usleep(50 * 1000);
    }
    ::close(fd);
    return Result::Busy;
}

std::string renameOver(const fs::path& from, const fs::path& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0 ? std::string() : lastReason(true);
}

std::string appendFile(const fs::path& path, std::string_view bytes)
{
    struct stat st;
    bool exists = false;
    if (std::string why = refuseWriting(path, st, exists); !why.empty()) return why;
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return lastReason(true);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return "不是普通文件";
    }
    const off_t before = st.st_size;
    bool ok = writeAll(fd, bytes);
    std::string why = ok ? std::string() : lastReason(true);
    if (!ok) {
        // Nothing of a failed append stays: the file ends where it ended.
        (void)::ftruncate(fd, before);
        ::close(fd);
        return why;
    }
    if (::close(fd) != 0) {
        why = lastReason(true);
        (void)::truncate(path.c_str(), before);
        return why;
    }
    return {};
}

std::tm localTime(std::time_t t)
{
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

void useUtf8Arguments(int&, char**&) {}

} // namespace kj::platform
