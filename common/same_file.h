#pragma once
// Whether two file slots name one file, so that no output of a run can
// overwrite its input or another of its outputs.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kj {

// True when both paths are, or would be once written, the same file: two
// existing entries are the same file when they are one inode (a hard or
// symbolic link included). When either does not exist yet, the folders must
// be the same and the names equal but for letter case, since a slot name
// that differs from an existing file only in letter case resolves to it.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Throws Failure "<later> 与<earlier> 是同一个文件" for the first pair of
// the list that is one file. Each entry is the name shown to the user
// (kind and slot name, such as "计算书 \zemowj1.txt") and the resolved path.
void refuseSameFiles(const std::vector<std::pair<std::string, std::filesystem::path>>& files);

} // namespace kj
