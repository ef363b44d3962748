#pragma once
// All file reading and writing of the program. Files are written in GBK
// with CR LF line ends, as the older files are; reading accepts GBK (decoded
// as GB18030, its superset) and UTF-8, with CR LF, LF or no final line end.
#include "common/platform.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// The largest file the program reads: 1 MiB. The largest frame data file
// (10 storeys, 40 beams, 50 joints) is a few kilobytes; a load file grows by
// one short line per saved load string.
inline constexpr std::size_t kMaxTextFileBytes = 1 << 20;

// Whole content of a file, decoded to UTF-8, line ends as in the file.
// Throws Failure naming the slot when the file is missing or unreadable, is
// not a regular file (a FIFO or a device is never opened), is larger than
// kMaxTextFileBytes, or is UTF-16. A file too large is refused as "not a
// <kind> of this program".
std::string readTextFile(const std::filesystem::path& path, std::string_view shownName,
                         std::string_view kind = "数据文件");
bool fileExists(const std::filesystem::path& path);

// Replaces the whole file with the text (UTF-8 in, GBK on disk) through a
// temporary file in the same folder, written, synced and renamed over it, so
// that a failure never leaves a half-written file. A file marked read-only is
// refused and kept. Line ends are written as the text holds them. A failure
// names the file and the reason: "无法写入文件 \lpj-1.txt: 磁盘空间不足".
void replaceTextFile(const std::filesystem::path& path, std::string_view text,
                     std::string_view shownName);
// Replaces the whole file with the bytes as given (a UTF-8 file), in the
// same way.
void replaceFileBytes(const std::filesystem::path& path, std::string_view bytes,
                      std::string_view shownName);
// Appends the text (GBK on disk) to the end of the file, creating it. When
// the append fails, the file is cut back to its length before.
void appendTextFile(const std::filesystem::path& path, std::string_view text,
                    std::string_view shownName);

// A slot name the user typed, as a result message names the file: the name
// itself for a file of the working folder, else the whole path, so that an
// output written elsewhere is seen where it went.
std::string shownOutputName(std::string_view slotName);

// The path of a file named inside a file (a load-case state file, a project
// file): it must name a file of the working folder, so a name with "..",
// a drive or an absolute path is refused with a Failure naming the entry
// ("荷载工况状态文件 \zhgk-1.txt 第 2 行"), and so is a name that leads out
// of the folder through a symbolic link (of the file or of a folder on the
// way). A name without a leading backslash is taken from the working folder too.
std::filesystem::path entryPath(std::string_view slotName, std::string_view entry);
// The check alone.
void refuseNameOutsideFolder(std::string_view slotName, std::string_view entry);

// The file a write to path reaches: a symbolic link is followed (also a
// chain of them, relative ones from their own folder), so that a report
// kept as a link is written through it and the link stays.
std::filesystem::path followLinks(const std::filesystem::path& path);

// The bytes of an existing file as they are (no decoding), up to limit
// bytes; a missing file gives "". Throws Failure naming shownName when it
// cannot be read or is larger.
std::string readFileBytes(const std::filesystem::path& path, std::size_t limit, std::string_view shownName);

// Files put in place together: each is first written whole to a temporary
// file beside it (platform::kTempPrefix), then commit renames them over
// their targets one after the other, in the order they were added. Until
// commit, no target is touched; the destructor removes whatever was not put
// in place. Targets that are symbolic links are written through the link.
class FileSet {
public:
    // Adds a text file (UTF-8 in, GBK on disk) or bytes as given. Throws
    // Failure "无法写入文件 <shownName>: <reason>".
    void addText(const std::filesystem::path& path, std::string_view text, std::string_view shownName);
    void addBytes(const std::filesystem::path& path, std::string_view bytes, std::string_view shownName);
    // Adds an empty temporary file for a writer that opens files by name;
    // returns its path. seal() makes what the writer wrote durable.
    std::filesystem::path reserve(const std::filesystem::path& path, std::string_view shownName);
    void seal();
    // Renames every file into place, in order. Throws Failure naming the
    // first file that could not be put in place; the files after it are removed.
    void commit();
    void discard();
    // The files written and not yet put in place: (temporary file, target),
    // in the order of the renames.
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> staged() const;

private:
    struct Entry {
        std::string shownName;
        platform::StagedFile file;
    };
    std::vector<Entry> files_;
};

// File names are UTF-8 inside the program: these turn them into paths and
// back (wide on Windows; the same bytes on Linux).
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

// Encoding between the program's UTF-8 and the files' bytes.
std::string decodeFileBytes(std::string_view bytes);
std::string encodeGbk(std::string_view utf8);

} // namespace kj
