#pragma once
// Load cases and their combinations. A frame may be analysed for up to three
// load cases, each a frame data file of its own: G, the dead load (with the
// columns' own weight), Q, the live load, and W, the wind from the left. A
// combination is a list of factor x case; the analysis is linear, so the
// wind from the right is W with a negative factor ("1.3G+1.5Q-0.9W"). A
// fourth case, E, the horizontal earthquake from the left, is not read from
// a file: the seismic calculation makes it from G and Q; -E is the
// earthquake from the right. An optional fifth case, W2, is the wind from
// the right with its own shape (suction and pressure differ from W): its
// loads are taken as given, pointing left, and never reversed; given, the
// built-in sets take +W2 where they take -W.
#include <array>
#include <string>
#include <vector>

namespace kj {

enum class LoadCaseKind { G = 0, Q = 1, W = 2, E = 3, W2 = 4 };
// The cases given as files, and every case, each in the order of listing.
inline constexpr std::array<LoadCaseKind, 4> kLoadCaseKinds{LoadCaseKind::G, LoadCaseKind::Q, LoadCaseKind::W,
                                                            LoadCaseKind::W2};
inline constexpr std::array<LoadCaseKind, 5> kAllCaseKinds{LoadCaseKind::G, LoadCaseKind::Q, LoadCaseKind::W,
                                                           LoadCaseKind::W2, LoadCaseKind::E};
// Which cases are given, by LoadCaseKind.
using GivenCases = std::array<bool, kAllCaseKinds.size()>;

// "G", "Q", "W", "W2", "E"
const char* caseLetter(LoadCaseKind kind);
// "恒载", "活载", "风载", "风载", "地震作用"
const char* caseTitle(LoadCaseKind kind);
// "G", "Q", "W" or "W2" (either case); throws Failure naming the text
// otherwise (the earthquake E is calculated, never given as a file).
LoadCaseKind caseKindOf(const std::string& text);

struct CombinationTerm {
    LoadCaseKind kind = LoadCaseKind::G;
    double factor = 0;
};

struct Combination {
    std::string name;                   // "1.3G+1.5Q-0.9W": terms in the order of kAllCaseKinds
    std::vector<CombinationTerm> terms; // in the order of kAllCaseKinds, each case once
    double factor(LoadCaseKind kind) const; // 0 when the case is not in it
    bool uses(LoadCaseKind kind) const { return factor(kind) != 0; }
};

// Reads a combination such as "1.3G+1.5Q+0.9W", "1.3g + 1.5q - 0.9w" or
// "G+Q" (factor 1). A term is an optional sign, an optional factor (digits
// with a decimal point; "*" may stand between factor and case) and the
// case letter. Only the wind W and the earthquake may take a negative factor
// (from the right); W2 is the wind from the right already. A factor of 1000 or more has no room in the report's
// columns and is refused. Throws Failure naming the text and what is wrong
// in it.
Combination parseCombination(const std::string& text);

// The name of a list of terms: factors with at least one decimal
// ("1.0G+1.05Q-1.5W").
std::string combinationName(const std::vector<CombinationTerm>& terms);

// The factors of the live load a built-in set leaves to the project: the
// adjustment factor for the design working life gamma_L (GB 50009-2012
// 3.2.5, Table 3.2.5: 1.0 for 50 years, 1.1 for 100 years) and the
// combination value psi_c of Q (GB 50009-2012 Table 5.1.1: 0.7, 0.9 for
// storage rooms, archives and the like).
struct LiveLoadFactors {
    double gammaL = 1.0;
    double psiC = 0.7;
};
// Refuses a gamma_L other than 1.0 or 1.1 and a psi_c other than 0.7 or 0.9.
void checkLiveLoadFactors(const LiveLoadFactors& f);
// Reads the texts of the two factors ("1.1", "0.9"); throws Failure naming
// the factor when a text is not one of the values allowed.
LiveLoadFactors parseLiveLoadFactors(const std::string& gammaL, const std::string& psiC);

// A built-in combination set: its key for the command line and the state
// file, its title for the report, and every combination it lists. The rows
// are written for gamma_L = 1.0 and psi_c = 0.7: Q with the factor gammaQ
// leads, Q with gammaQ x 0.7 accompanies.
struct CombinationSet {
    const char* key;   // "GB55001"
    const char* title; // "GB 55001-2021"
    std::vector<std::string> rows;
    double gammaQ = 1.5; // the partial factor of Q
    // The rows with the live-load factors given: a leading Q takes
    // gammaQ x gamma_L, an accompanying Q gammaQ x gamma_L x psi_c. With
    // secondWind (the case W2 given) a row's -fW becomes +fW2.
    std::vector<std::string> rowsWith(const LiveLoadFactors& f, bool secondWind = false) const;
};
const std::vector<CombinationSet>& builtInCombinationSets();
// The set of a key ("GB55001", "gb 55001-2021", "GB50009"...); throws
// Failure listing the keys when there is none.
const CombinationSet& combinationSet(const std::string& key);

// The combinations of a set that the given cases can form: a row is used
// when every case it names is given. With W2 given, -W rows are +W2 rows.
std::vector<Combination> combinationsFor(const CombinationSet& set, const GivenCases& given,
                                        const LiveLoadFactors& factors = {});

// Warnings on a list of combinations, one text each: a combination without
// the dead load G.
std::vector<std::string> combinationWarnings(const std::vector<Combination>& combinations);

// Refuses an empty list, and a combination naming a case that is not given.
void checkCombinationCases(const std::vector<Combination>& combinations, const GivenCases& given);
// The same for flags of the cases given as files only, G, Q and W (no
// earthquake): a template, so that a braced list still means GivenCases.
template <std::size_t N>
std::vector<Combination> combinationsFor(const CombinationSet& set, const std::array<bool, N>& given,
                                        const LiveLoadFactors& factors = {})
{
    static_assert(N == 3, "flags of G, Q and W");
    return combinationsFor(set, GivenCases{given[0], given[1], given[2], false, false}, factors);
}
template <std::size_t N>
void checkCombinationCases(const std::vector<Combination>& combinations, const std::array<bool, N>& given)
{
    static_assert(N == 3, "flags of G, Q and W");
    checkCombinationCases(combinations, GivenCases{given[0], given[1], given[2], false, false});
}

} // namespace kj
