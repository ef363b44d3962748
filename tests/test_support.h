#pragma once
// Helpers shared by the core tests: raw bytes of files, a temporary folder of
// one test's own, and the few things only some systems can do (a FIFO, a
// small file system that fills up). Every system call of the tests is here.
#include "common/failure.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/mount.h>
#endif

namespace kjtest {

inline std::string bytesOf(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void writeBytes(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

// Whether the folder's listing holds exactly this name, letter case
// included, also where the system ignores letter case.
// Every file of a folder (hidden ones too) by name with its bytes: two
// snapshots are equal when nothing in the folder was written, made or removed.
inline std::map<std::string, std::string> folderSnapshot(const std::filesystem::path& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        files[e.path().filename().string()] = e.is_regular_file() ? bytesOf(e.path()) : "(not a file)";
    return files;
}

inline bool hasEntry(const std::filesystem::path& dir, const std::string& name)
{
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().filename() == name) return true;
    return false;
}

inline int processId()
{
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

#ifdef KJ_EXAMPLES_DIR
// Copies of example files ("KJ-1.txt") into the folder dir.
inline void copyExamples(const std::filesystem::path& dir, std::initializer_list<const char*> names)
{
    for (const char* name : names) std::filesystem::copy_file(std::filesystem::path(KJ_EXAMPLES_DIR) / name, dir / name);
}
#endif

// The message of the kj::Failure that f throws, or "no failure".
template <class F>
std::string failureOf(F&& f)
{
    try {
        f();
    } catch (const kj::Failure& e) {
        return e.what();
    }
    return "no failure";
}

// A fresh folder under the system's temporary folder, removed at the end.
struct TempDir {
    std::filesystem::path path;
    explicit TempDir(const std::string& tag = "kjtest")
    {
        // The clock as well as the process: wine gives processes the same
        // numbers from one run to the next.
        static int counter = 0;
        static const auto started = std::chrono::steady_clock::now().time_since_epoch().count();
        path = std::filesystem::temp_directory_path() /
               (tag + "-" + std::to_string(processId()) + "-" + std::to_string(started % 1000000007) + "-" +
                std::to_string(counter++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir()
    {
        std::error_code ec;
        // Read-only marks would stop the removal on Windows.
        for (const auto& e : std::filesystem::recursive_directory_iterator(path, ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
};

// A FIFO at p; false where the system has none.
inline bool makeFifo(const std::filesystem::path& p)
{
#ifdef _WIN32
    (void)p;
    return false;
#else
    return ::mkfifo(p.c_str(), 0600) == 0;
#endif
}

// A device that reads as endless bytes, or an empty path where there is none.
inline std::filesystem::path endlessDevice()
{
#ifdef _WIN32
    return {};
#else
    return "/dev/zero";
#endif
}

// Whether taking the write permission from a folder stops us writing in it
// (not for root, and not on Windows, where a folder's read-only mark is no bar).
inline bool folderPermissionsBind()
{
#ifdef _WIN32
    return false;
#else
    return ::geteuid() != 0;
#endif
}

// A file system of the given size mounted on the empty folder dir, unmounted
// at the end; mounted() is false where we may not mount one.
class SmallDisk {
public:
    SmallDisk(const std::filesystem::path& dir, std::size_t kib) : dir_(dir)
    {
#ifdef __linux__
        const std::string size = "size=" + std::to_string(kib) + "k";
        mounted_ = ::mount("tmpfs", dir.c_str(), "tmpfs", 0, size.c_str()) == 0;
#else
        (void)kib;
#endif
    }
    ~SmallDisk()
    {
#ifdef __linux__
        if (mounted_) ::umount(dir_.c_str());
#endif
    }
    bool mounted() const { return mounted_; }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

private:
    std::filesystem::path dir_;
    bool mounted_ = false;
};

} // namespace kjtest
