#pragma once
// The state of the window "荷载工况组合" as a small text file (GBK, CR LF,
// quoted items): the file slots of the three load cases, the combination
// set and the combinations of its table.
//
//     "G","\KJ-1.txt"
//     "Q","\KJ-1Q.txt"
//     "W","\KJ-1W.txt"
//     "组合","GB 55001-2021"
//     "活载","1.1","0.9","1"      (only when not 1.0, 0.7, 0: gamma_L, psi_c, patterns)
//     "1.3G+1.65Q"
//     ...
#include <string>
#include <vector>

namespace kj {

// The window's state as its boxes hold it. An empty slot has no case.
struct CaseWindowState {
    std::string G, Q, W;
    std::string set;               // "GB 55001-2021", "GB 50009-2012" or kOwnCombinations
    std::vector<std::string> rows; // the combinations of the table, as typed
    // The live load: gamma_L and psi_c of a built-in set, and patterns.
    std::string gammaL = "1.0", psiC = "0.7";
    bool patterns = false;
};

// The set of the user's own combinations, as the window's list names it.
inline constexpr const char* kOwnCombinations = "自定义";

std::string formatCaseState(const CaseWindowState& state);
// Reads a state file's text; throws Failure naming the file and the item
// when it is not one.
CaseWindowState parseCaseState(const std::string& text, const std::string& fileName);

} // namespace kj
