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

// Broken-down local time of t.
std::tm localTime(std::time_t t);

// Points argv at the program's arguments in UTF-8 and lets the console show
// UTF-8 messages (Windows: from the wide command line; Linux: unchanged).
void useUtf8Arguments(int& argc, char**& argv);

} // namespace kj::platform
