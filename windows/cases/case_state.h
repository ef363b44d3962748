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
//     "风载W2","\KJ-1W2.txt"      (only with the right wind W2)
//     "地震","7.5","II","1","","0.7"  (only with seismic design: intensity, site,
//                                  group, grade or "" by the table, psi_T)
//     "角柱","1"                  (only after "地震", when the outer columns are corner columns)
//     "1.3G+1.65Q"
//     ...
// A file without the optional lines reads as before: no W2, no earthquake.
#include "calc/seismic_action.h"

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
    std::string W2{}; // the wind from the right with its own shape; empty = none
    // The earthquake as the lists hold it; no intensity = no seismic design.
    SeismicTexts seismic{};
};

// The set of the user's own combinations, as the window's list names it.
inline constexpr const char* kOwnCombinations = "自定义";

std::string formatCaseState(const CaseWindowState& state);
// Reads a state file's text; throws Failure naming the file and the item
// when it is not one.
CaseWindowState parseCaseState(const std::string& text, const std::string& fileName);

} // namespace kj
