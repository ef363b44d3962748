#pragma once
// The programs of the external command menu. Each entry names its classic
// program first and then the programs that stand in for it on this desktop,
// in the order they are tried.
#include <string>
#include <vector>

namespace kj {

// The menu's prompt, lines joined by CR LF.
std::string externalCommandPrompt();

// Programs for a menu answer: 1 text editor, 2 and 3 command window,
// 5 calculator. Empty for any other answer.
std::vector<std::string> externalCommandPrograms(int answer);

// What the entry is, for a message when none of its programs starts.
std::string externalCommandName(int answer);

} // namespace kj
