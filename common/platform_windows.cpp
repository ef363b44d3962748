// Windows: the system's code page conversion, wide file names, Win32 files.
#include "common/platform.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <system_error>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>

namespace fs = std::filesystem;

namespace kj::platform {

namespace {

// GB18030 (54936) is what Linux converts with; older systems (and wine 8)
// know only its GBK part (936), which covers every character the frame files use.
UINT gbkCodePage()
{
    static const UINT cp = IsValidCodePage(54936) ? 54936 : 936;
    return cp;
}

bool inRange(unsigned char c, unsigned lo, unsigned hi) { return c >= lo && c <= hi; }

// Length of the GB18030 sequence that starts at s[i] going by its bytes'
// ranges alone, 0 when no sequence can start there.
std::size_t gbSequence(std::string_view s, std::size_t i)
{
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    if (b(0) < 0x80) return 1;
    if (!inRange(b(0), 0x81, 0xFE) || i + 1 >= s.size()) return 0;
    if (inRange(b(1), 0x40, 0x7E) || inRange(b(1), 0x80, 0xFE)) return 2;
    if (inRange(b(1), 0x30, 0x39) && i + 3 < s.size() && inRange(b(2), 0x81, 0xFE) && inRange(b(3), 0x30, 0x39))
        return 4;
    return 0;
}

// Length of the well-formed UTF-8 sequence at s[i], 0 when it is not one.
std::size_t utf8Sequence(std::string_view s, std::size_t i)
{
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char c = b(0);
    std::size_t n = c < 0x80 ? 1 : inRange(c, 0xC2, 0xDF) ? 2 : inRange(c, 0xE0, 0xEF) ? 3 : inRange(c, 0xF0, 0xF4) ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    unsigned lo = 0x80, hi = 0xBF;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
    if (n > 1 && !inRange(b(1), lo, hi)) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (!inRange(b(k), 0x80, 0xBF)) return 0;
    return n;
}

std::wstring toWide(UINT cp, DWORD flags, std::string_view s, bool& ok)
{
    ok = true;
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(cp, flags, s.data(), static_cast<int>(s.size()), nullptr, 0);
    if (n <= 0) {
        ok = false;
        return {};
    }
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(cp, flags, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

// Wide text to code page cp; ok is false when a character has no form there.
std::string fromWide(UINT cp, std::wstring_view w, bool& ok)
{
    ok = true;
    if (w.empty()) return {};
    DWORD flags = 0;
    BOOL usedDefault = FALSE;
    BOOL* used = nullptr;
    if (cp == 54936 || cp == CP_UTF8) {
        flags = WC_ERR_INVALID_CHARS;
    } else {
        flags = WC_NO_BEST_FIT_CHARS;
        used = &usedDefault;
    }
    const int wn = static_cast<int>(w.size());
    const int n = WideCharToMultiByte(cp, flags, w.data(), wn, nullptr, 0, nullptr, used);
    if (n <= 0 || usedDefault) {
        ok = false;
        return {};
    }
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(cp, flags, w.data(), wn, out.data(), n, nullptr, used);
    ok = !usedDefault;
    return out;
}

bool fitsInt(std::size_t n) { return n < (1u << 30); }

std::string reason(DWORD err, bool writing)
{
    switch (err) {
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD: return writing ? "没有写入权限" : "没有读取权限";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return "文件正被其他程序使用";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return "磁盘空间不足";
    case ERROR_FILE_NOT_FOUND: return "文件不存在";
    case ERROR_PATH_NOT_FOUND: return "文件夹不存在";
    case ERROR_WRITE_PROTECT: return "磁盘是只读的";
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY: return "文件名无效";
    case ERROR_FILENAME_EXCED_RANGE: return "文件名太长";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return "内存不足";
    case ERROR_TOO_MANY_OPEN_FILES: return "打开的文件太多";
    case ERROR_NOT_READY: return "磁盘没有准备好";
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT: return "磁盘读写错误";
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return "找不到网络路径";
    default: return "系统错误代码 " + std::to_string(err);
    }
}

std::string lastReason(bool writing) { return reason(GetLastError(), writing); }

// Why an existing path must not be written: a folder, or marked read-only.
std::string refuseWriting(const fs::path& path)
{
    const DWORD attr = GetFileAttributesW(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) return {};
    if (attr & FILE_ATTRIBUTE_DIRECTORY) return "是一个文件夹";
    if (attr & FILE_ATTRIBUTE_READONLY) return "文件是只读的";
    return {};
}

bool writeAll(HANDLE h, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

} // namespace

std::string gbkToUtf8(std::string_view bytes)
{
    const UINT cp = gbkCodePage();
    // Whole text at once when every byte is in place (0x80 and 0xFF are
    // bytes of no GB18030 character, though 936 reads 0x80 as the euro sign).
    if (fitsInt(bytes.size()) && bytes.find_first_of("\x80\xFF") == std::string_view::npos) {
        bool ok = false;
        const std::wstring w = toWide(cp, MB_ERR_INVALID_CHARS, bytes, ok);
        if (ok) {
            std::string out = fromWide(CP_UTF8, w, ok);
            if (ok) return out;
        }
    }
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = gbSequence(bytes, i);
        if (n == 1) {
            out += bytes[i++];
            continue;
        }
        bool ok = n > 0;
        std::wstring w;
        if (ok) w = toWide(cp, MB_ERR_INVALID_CHARS, bytes.substr(i, n), ok);
        std::string u;
        if (ok) u = fromWide(CP_UTF8, w, ok);
        if (ok) {
            out += u;
            i += n;
        } else {
            out += '?';
            ++i;
        }
    }
    return out;
}

std::string utf8ToGbk(std::string_view utf8)
{
    const UINT cp = gbkCodePage();
    if (fitsInt(utf8.size())) {
        bool ok = false;
        const std::wstring w = toWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, ok);
        if (ok) {
            std::string out = fromWide(cp, w, ok);
            if (ok) return out;
        }
    }
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = utf8Sequence(utf8, i);
        bool ok = n > 0;
        std::wstring w;
        if (ok) w = toWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.substr(i, n), ok);
        std::string g;
        if (ok) g = fromWide(cp, w, ok);
        if (ok) {
            out += g;
            i += n;
        } else {
            // As on Linux: the character (judged by its first byte) is skipped.
            const unsigned char c = static_cast<unsigned char>(utf8[i]);
            const std::size_t skip = n > 0 ? n : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            out += '?';
            i += std::min(skip, utf8.size() - i);
        }
    }
    return out;
}

fs::path pathFromUtf8(std::string_view utf8)
{
    try {
        return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
    } catch (const std::exception&) {
        bool ok = false;
        return fs::path(toWide(CP_UTF8, 0, utf8, ok)); // broken bytes become U+FFFD
    }
}

std::string utf8FromPath(const fs::path& path)
{
    try {
        const std::u8string u = path.u8string();
        return std::string(u.begin(), u.end());
    } catch (const std::exception&) {
        const std::wstring& w = path.native();
        const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
        std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
        if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
        return out;
    }
}

std::string readFile(const fs::path& path, std::size_t limit, std::string& bytes)
{
    bytes.clear();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lastReason(false);
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return "不是普通文件";
    }
    std::vector<char> buf(64 * 1024);
    std::string why;
    while (bytes.size() <= limit) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min(buf.size(), limit + 1 - bytes.size()));
        if (!ReadFile(h, buf.data(), want, &got, nullptr)) {
            why = lastReason(false);
            break;
        }
        if (got == 0) break;
        bytes.append(buf.data(), got);
    }
    CloseHandle(h);
    return why;
}

// A staged file is written through a handle that shares nothing, so that
// no other process can remove it while it is written; the handle is closed
// just before the rename. removeStaleTemporaries removes what it can delete:
// a file still open elsewhere refuses to be deleted.
namespace {

HANDLE asHandle(long long h) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(h)); }
long long fromHandle(HANDLE h) { return static_cast<long long>(reinterpret_cast<intptr_t>(h)); }

} // namespace

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
    if (std::string why = refuseWriting(target); !why.empty()) return why;
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(L".");
    static unsigned counter = 0;
    const std::wstring prefix = pathFromUtf8(kTempPrefix).native();
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t tag[40];
        std::swprintf(tag, 40, L"%lx.%x", GetCurrentProcessId(), counter++);
        // Short whatever the target's name, so that any name the file
        // system takes can be written through it.
        const fs::path tmp = dir / (prefix + tag);
        HANDLE h = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            target_ = target;
            temp_ = tmp;
            handle_ = fromHandle(h);
            return {};
        }
        if (GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return lastReason(true);
}

std::string StagedFile::write(const fs::path& target, std::string_view bytes)
{
    if (std::string why = open(target); !why.empty()) return why;
    if (!writeAll(asHandle(handle_), bytes)) {
        std::string why = lastReason(true);
        discard();
        return why;
    }
    return sync();
}

std::string StagedFile::reserve(const fs::path& target)
{
    if (std::string why = open(target); !why.empty()) return why;
    // Another writer opens the file by its name.
    CloseHandle(asHandle(handle_));
    handle_ = -1;
    return {};
}

std::string StagedFile::sync()
{
    if (handle_ >= 0 && !FlushFileBuffers(asHandle(handle_))) {
        std::string why = lastReason(true);
        discard();
        return why;
    }
    return {};
}

std::string StagedFile::commit()
{
    if (!active()) return "临时文件已不存在";
    if (handle_ >= 0 && !CloseHandle(asHandle(handle_))) {
        handle_ = -1;
        std::string why = lastReason(true);
        discard();
        return why;
    }
    handle_ = -1;
    if (!MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        std::string why = lastReason(true);
        discard();
        return why;
    }
    temp_.clear();
    return {};
}

void StagedFile::discard()
{
    if (handle_ >= 0) CloseHandle(asHandle(handle_));
    if (!temp_.empty()) DeleteFileW(temp_.c_str());
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
    const std::wstring prefix = pathFromUtf8(kTempPrefix).native();
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::wstring name = it->path().filename().native();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        if (!it->is_regular_file(ec)) continue;
        DeleteFileW(it->path().c_str()); // refused while a live process holds it open
    }
}

FolderLock::~FolderLock()
{
    if (handle_ >= 0) CloseHandle(asHandle(handle_));
}

FolderLock::Result FolderLock::acquire(const fs::path& dir, int waitMs)
{
    if (handle_ >= 0) return Result::Taken;
    const fs::path file = dir / pathFromUtf8(kFolderLockName);
    // The link itself is opened, never what it points to.
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return Result::Taken; // a read-only folder: nothing can be written there
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(h, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        CloseHandle(h);
        return Result::IsLink;
    }
    for (int waited = 0;; waited += 50) {
        OVERLAPPED ov{};
        if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov)) {
            handle_ = fromHandle(h);
            return Result::Taken;
        }
        const DWORD err = GetLastError();
        if (err != ERROR_LOCK_VIOLATION && err != ERROR_IO_PENDING) {
            CloseHandle(h);
            return Result::Taken;
        }
        if (waited >= waitMs) break;
        Sleep(50);
    }
    CloseHandle(h);
    return Result::Busy;
}

std::string renameOver(const fs::path& from, const fs::path& to)
{
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return lastReason(true);
    return {};
}

std::string appendFile(const fs::path& path, std::string_view bytes)
{
    if (std::string why = refuseWriting(path); !why.empty()) return why;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return lastReason(true);
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return "不是普通文件";
    }
    LARGE_INTEGER before{}, zero{};
    bool ok = GetFileSizeEx(h, &before) && SetFilePointerEx(h, zero, nullptr, FILE_END) && writeAll(h, bytes);
    std::string why = ok ? std::string() : lastReason(true);
    if (!ok) {
        // Nothing of a failed append stays: the file ends where it ended.
        SetFilePointerEx(h, before, nullptr, FILE_BEGIN);
        SetEndOfFile(h);
    }
    if (!CloseHandle(h) && ok) why = lastReason(true);
    return why;
}

std::tm localTime(std::time_t t)
{
    std::tm local{};
    localtime_s(&local, &t);
    return local;
}

void useUtf8Arguments(int& argc, char**& argv)
{
    SetConsoleOutputCP(CP_UTF8);
    int n = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!wide) return;
    static std::vector<std::string> texts;
    static std::vector<char*> pointers;
    texts.clear();
    for (int i = 0; i < n; ++i) {
        const int len = static_cast<int>(std::wcslen(wide[i]));
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], len, nullptr, 0, nullptr, nullptr);
        std::string s(static_cast<std::size_t>(std::max(size, 0)), '\0');
        if (size > 0) WideCharToMultiByte(CP_UTF8, 0, wide[i], len, s.data(), size, nullptr, nullptr);
        texts.push_back(std::move(s));
    }
    LocalFree(wide);
    pointers.clear();
    for (std::string& s : texts) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    argc = n;
    argv = pointers.data();
}

} // namespace kj::platform
