#pragma once
// What differs between Linux and Windows, behind one small interface: code
// page conversion, file names, the three ways a file is touched, the local
// time and the program's arguments. One implementation per system
// (platform_posix.cpp, platform_windows.cpp); nothing else in the program
// includes a system header. Failures come back as a short Chinese reason
// ("没有写入权限"), empty on success; callers add the file's name.
#include <cstddef>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace kj::platform {

// GBK (read as GB18030) to UTF-8 and back. A sequence that cannot be
// converted becomes '?' and the conversion goes on one byte further (one
// character further from UTF-8).
std::string gbkToUtf8(std::string_view bytes);
std::string utf8ToGbk(std::string_view utf8);

// File names are UTF-8 inside the program; on Windows they are wide.
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

// Reads a regular file whole into bytes, but no more than limit + 1 bytes.
// Anything else (a FIFO, a device) is refused without waiting on it.
std::string readFile(const std::filesystem::path& path, std::size_t limit, std::string& bytes);
// Writes bytes to a new file beside path, syncs it and renames it over path:
// path then holds either all of bytes or what it held before. A file marked
// read-only or not writable for us is left alone.
std::string replaceFile(const std::filesystem::path& path, std::string_view bytes);
// Appends bytes to path (created when missing); when that fails, the file is
// cut back to its length before.
std::string appendFile(const std::filesystem::path& path, std::string_view bytes);
// Renames from over to (an existing to is replaced) in one step; both lie in
// one folder. A symbolic link from is renamed itself, not followed.
std::string renameOver(const std::filesystem::path& from, const std::filesystem::path& to);

// Every temporary file the program writes begins with this prefix, so that
// one left by a killed program is known for what it is; a few characters
// follow it (never the target's name, which may be as long as a name can be).
inline constexpr const char* kTempPrefix = ".kjpj-tmp-";

// A file written under a temporary name beside its target and held by this
// process until it is put in place (commit) or removed (discard); the
// destructor discards it. While held, no other run takes it for a leftover.
class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile();
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&& other) noexcept;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Writes bytes to a new temporary file beside target and syncs it. A
    // target marked read-only or not writable for us is refused. Returns the
    // reason of a failure, empty on success.
    std::string write(const std::filesystem::path& target, std::string_view bytes);
    // Makes an empty temporary file beside target for another writer to
    // fill through path(); sync() then makes its content durable.
    std::string reserve(const std::filesystem::path& target);
    std::string sync();
    // Renames the temporary file over the target in one step.
    std::string commit();
    void discard();

    const std::filesystem::path& path() const { return temp_; }
    const std::filesystem::path& target() const { return target_; }
    bool active() const { return !temp_.empty(); }

private:
    std::string open(const std::filesystem::path& target);
    std::filesystem::path target_, temp_;
    long long handle_ = -1;
};

// Removes the temporary files (kTempPrefix) of folder dir that no live
// process holds: what a killed run left behind.
void removeStaleTemporaries(const std::filesystem::path& dir);

// An exclusive lock on a folder, held while the object lives (a lock file
// ".kjpj-lock" in the folder, locked with flock or LockFileEx; the lock goes
// with the process, also when it is killed).
class FolderLock {
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    // Waits up to waitMs for the lock: Taken, or Busy when another process
    // still holds it. A lock file that is a symbolic link (or another
    // reparse point) is not followed and not used: IsLink. A folder where the
    // lock file cannot be made (read-only) is not locked, and the call
    // gives Taken: nothing can be written there anyway.
    enum class Result { Taken, Busy, IsLink };
    Result acquire(const std::filesystem::path& dir, int waitMs);

private:
    long long handle_ = -1;
};
inline constexpr const char* kFolderLockName = ".kjpj-lock";

// Broken-down local time of t.
std::tm localTime(std::time_t t);

// Points argv at the program's arguments in UTF-8 and lets the console show
// UTF-8 messages (Windows: from the wide command line; Linux: unchanged).
void useUtf8Arguments(int& argc, char**& argv);

} // namespace kj::platform
