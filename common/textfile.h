#pragma once
// All file reading and writing of the program. Files are written in GBK
// with CR LF line ends, as the older files are; reading accepts GBK (decoded
// as GB18030, its superset) and UTF-8, with CR LF, LF or no final line end.
#include <filesystem>
#include <string>
#include <string_view>

namespace kj {

// Maps a file slot name ("\KJ-1.txt", "lpj-1.txt", "sub\a.txt") to a path.
// A leading backslash means the program's working folder (root); other names
// are relative to the current folder. Backslashes become path separators. A
// name that matches an existing entry of its folder in all but letter case
// is that entry, so "\lpj-1.txt" and "\Lpj-1.txt" are one file.
std::filesystem::path slotPath(std::string_view slotName,
                               const std::filesystem::path& root);

// The folder slot names with a leading backslash resolve against. It is the
// current folder when the program starts unless set otherwise.
const std::filesystem::path& workingRoot();
void setWorkingRoot(const std::filesystem::path& root);
// slotPath against workingRoot().
std::filesystem::path slotPath(std::string_view slotName);

// Whole content of a file, decoded to UTF-8, line ends as in the file.
// Throws Failure naming the slot when the file is missing or unreadable.
std::string readTextFile(const std::filesystem::path& path, std::string_view shownName);
bool fileExists(const std::filesystem::path& path);

// Replaces the whole file with the text (UTF-8 in, GBK on disk) through a
// temporary file in the same folder and a rename, so that a failure never
// leaves a half-written file. Line ends are written as the text holds them.
void replaceTextFile(const std::filesystem::path& path, std::string_view text,
                     std::string_view shownName);
// Replaces the whole file with the bytes as given (a UTF-8 file), in the
// same way.
void replaceFileBytes(const std::filesystem::path& path, std::string_view bytes,
                      std::string_view shownName);
// Appends the text (GBK on disk) to the end of the file, creating it.
void appendTextFile(const std::filesystem::path& path, std::string_view text,
                    std::string_view shownName);

// Encoding between the program's UTF-8 and the files' bytes.
std::string decodeFileBytes(std::string_view bytes);
std::string encodeGbk(std::string_view utf8);

} // namespace kj
