#pragma once
// The previous content of a file a user action replaces or empties, kept as
// NAME.bak beside it (one generation: an older .bak is replaced).
#include <filesystem>
#include <string_view>

namespace kj {

// The name the kept copy of a file takes: "KJ-1.txt" -> "KJ-1.txt.bak"; a
// name too long for the four more characters is cut short before ".bak".
std::filesystem::path backupPath(const std::filesystem::path& path);

// Copies an existing, non-empty file to backupPath(path) before it is
// replaced. A missing or empty file keeps nothing (an empty file would only
// overwrite a useful older copy). Throws Failure naming shownName when the
// copy cannot be written; the file itself is then untouched.
void keepBackup(const std::filesystem::path& path, std::string_view shownName);

} // namespace kj
