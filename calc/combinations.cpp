#include "calc/combinations.h"

#include "common/failure.h"
#include "common/text.h"
#include "common/numbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace kj {

// The built-in combination sets, every combination written out. Each row is
// used when every case it names is given; a variable load that would act
// favourably is left out (factor 0), which is why the rows without Q or W
// are listed too. The wind W blows from the left; -W is the wind from the
// right. Basic combinations for the persistent design situation, design
// working life 50 years (gamma_L = 1.0).
//
// GB 55001-2021, 2.4.6: Sd = gG G + gQ1 Q1 + sum gQj psi_cj Qj, each variable
// load leading in turn. Factors (Table 3.1.13): gG = 1.3, or 1.0 where the
// dead load is favourable; gQ = 1.5. Combination values psi_c = 0.7 for the
// live load and 0.6 for the wind (as GB 50009-2012 Table 5.1.1 and 8.1.4),
// so an accompanying Q takes 1.5 x 0.7 = 1.05 and an accompanying W
// 1.5 x 0.6 = 0.9. There is no combination governed by the dead load.
//
// GB 50009-2012, 3.2.3 with the factors of 3.2.4: governed by a variable
// load (3.2.3-1) gG = 1.2, or 1.0 where favourable, gQ = 1.4, accompanying
// loads with psi_c (Q 1.4 x 0.7 = 0.98, W 1.4 x 0.6 = 0.84); governed by the
// dead load (3.2.3-2) gG = 1.35 with every variable load at its combination
// value, the wind included (more combinations can only widen the envelope).
//
// The rows are written for a working life of 50 years and psi_c = 0.7 of
// Q; other values of gamma_L and psi_c of Q change the factors of Q only
// (rowsWith). gamma_L does not touch the wind, whose return period already
// follows the working life (GB 50009-2012 3.2.5 note).
const std::vector<CombinationSet>& builtInCombinationSets()
{
    static const std::vector<CombinationSet> sets{
        {"GB55001",
         "GB 55001-2021",
         {
             "1.3G+1.5Q",          // Q leading
             "1.3G+1.5Q+0.9W",     // Q leading, W accompanying
             "1.3G+1.5Q-0.9W",     //   wind from the right
             "1.3G+1.05Q+1.5W",    // W leading, Q accompanying
             "1.3G+1.05Q-1.5W",
             "1.3G+1.5W",          // W leading, Q favourable
             "1.3G-1.5W",
             "1.3G",               // Q and W favourable
             "1.0G+1.5Q",          // the same with the dead load favourable
             "1.0G+1.5Q+0.9W",
             "1.0G+1.5Q-0.9W",
             "1.0G+1.05Q+1.5W",
             "1.0G+1.05Q-1.5W",
             "1.0G+1.5W",
             "1.0G-1.5W",
             "1.0G",
         },
         1.5},
        {"GB50009",
         "GB 50009-2012",
         {
             "1.2G+1.4Q",          // 3.2.3-1, Q leading
             "1.2G+1.4Q+0.84W",    //   W accompanying
             "1.2G+1.4Q-0.84W",
             "1.2G+0.98Q+1.4W",    // 3.2.3-1, W leading, Q accompanying
             "1.2G+0.98Q-1.4W",
             "1.2G+1.4W",          // W leading, Q favourable
             "1.2G-1.4W",
             "1.35G+0.98Q",        // 3.2.3-2, governed by the dead load
             "1.35G+0.98Q+0.84W",
             "1.35G+0.98Q-0.84W",
             "1.35G+0.84W",
             "1.35G-0.84W",
             "1.35G",
             "1.0G+1.4Q",          // 3.2.3-1 with the dead load favourable
             "1.0G+1.4Q+0.84W",
             "1.0G+1.4Q-0.84W",
             "1.0G+0.98Q+1.4W",
             "1.0G+0.98Q-1.4W",
             "1.0G+1.4W",
             "1.0G-1.4W",
             "1.0G",
         },
         1.4},
    };
    return sets;
}

const char* caseLetter(LoadCaseKind kind)
{
    switch (kind) {
    case LoadCaseKind::G: return "G";
    case LoadCaseKind::Q: return "Q";
    case LoadCaseKind::W: return "W";
    case LoadCaseKind::W2: return "W2";
    case LoadCaseKind::E: return "E";
    }
    return "?";
}

const char* caseTitle(LoadCaseKind kind)
{
    switch (kind) {
    case LoadCaseKind::G: return "恒载";
    case LoadCaseKind::Q: return "活载";
    case LoadCaseKind::W: return "风载";
    case LoadCaseKind::W2: return "风载";
    case LoadCaseKind::E: return "地震作用";
    }
    return "";
}

namespace {

// A factor worked out from others, kept to six decimals so that 1.5 x 0.7
// is written 1.05.
double tidyFactor(double f) { return std::round(f * 1e6) / 1e6; }

} // namespace

void checkLiveLoadFactors(const LiveLoadFactors& f)
{
    if (f.gammaL != 1.0 && f.gammaL != 1.1)
        throw Failure("活荷载设计使用年限调整系数 γL 应为 1.0 (50 年) 或 1.1 (100 年), 不是 " + shortestDecimal(f.gammaL));
    if (f.psiC != 0.7 && f.psiC != 0.9)
        throw Failure("活荷载组合值系数 ψc 应为 0.7 或 0.9 (书库、档案库、储藏室等), 不是 " + shortestDecimal(f.psiC));
}

LiveLoadFactors parseLiveLoadFactors(const std::string& gammaL, const std::string& psiC)
{
    auto value = [](const std::string& text, const char* what) {
        const double v = numberValue(text);
        if (text.find_first_not_of(" 0123456789.") != std::string::npos || !std::isfinite(v))
            throw Failure(std::string(what) + "应为数, 不是 \"" + text + "\"");
        return v;
    };
    LiveLoadFactors f;
    if (!gammaL.empty()) f.gammaL = value(gammaL, "活荷载设计使用年限调整系数 γL ");
    if (!psiC.empty()) f.psiC = value(psiC, "活荷载组合值系数 ψc ");
    checkLiveLoadFactors(f);
    return f;
}

std::vector<std::string> CombinationSet::rowsWith(const LiveLoadFactors& f, bool secondWind) const
{
    checkLiveLoadFactors(f);
    std::vector<std::string> out;
    for (const std::string& row : rows) {
        Combination c = parseCombination(row);
        for (CombinationTerm& t : c.terms) {
            if (t.kind == LoadCaseKind::Q)
                t.factor = tidyFactor(t.factor < gammaQ ? gammaQ * f.gammaL * f.psiC : gammaQ * f.gammaL);
            // The wind from the right: its own case, as given, when there is one.
            if (secondWind && t.kind == LoadCaseKind::W && t.factor < 0) t = {LoadCaseKind::W2, -t.factor};
        }
        out.push_back(combinationName(c.terms));
    }
    return out;
}

namespace {

// The place of a case in the order of listing.
std::size_t caseRank(LoadCaseKind kind)
{
    return static_cast<std::size_t>(std::find(kAllCaseKinds.begin(), kAllCaseKinds.end(), kind) - kAllCaseKinds.begin());
}

bool caseOfLetter(char c, LoadCaseKind& kind)
{
    switch (std::toupper(static_cast<unsigned char>(c))) {
    case 'G': kind = LoadCaseKind::G; return true;
    case 'Q': kind = LoadCaseKind::Q; return true;
    case 'W': kind = LoadCaseKind::W; return true;
    case 'E': kind = LoadCaseKind::E; return true;
    default: return false;
    }
}

// A factor with at least one decimal: 1 -> "1.0", 1.05 -> "1.05".
std::string factorText(double f)
{
    std::string s = shortestDecimal(f);
    if (s.find('.') == std::string::npos && s.find('e') == std::string::npos) s += ".0";
    return s;
}

std::string normalisedKey(const std::string& key)
{
    std::string k;
    for (char c : key)
        if (c != ' ') k += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::size_t dash = k.find('-');
    return dash == std::string::npos ? k : k.substr(0, dash);
}

} // namespace

LoadCaseKind caseKindOf(const std::string& text)
{
    LoadCaseKind kind;
    if (text.size() == 1 && caseOfLetter(text[0], kind) && kind != LoadCaseKind::E) return kind;
    if (text.size() == 2 && (text[0] == 'W' || text[0] == 'w') && text[1] == '2') return LoadCaseKind::W2;
    throw Failure("荷载工况应为 G (恒载)、Q (活载)、W (风载, 左风) 或 W2 (风载, 右风), 不是 " + quoteForMessage(text));
}

double Combination::factor(LoadCaseKind kind) const
{
    for (const CombinationTerm& t : terms)
        if (t.kind == kind) return t.factor;
    return 0;
}

std::string combinationName(const std::vector<CombinationTerm>& terms)
{
    std::string name;
    for (const CombinationTerm& t : terms) {
        if (t.factor < 0) name += "-";
        else if (!name.empty()) name += "+";
        name += factorText(std::fabs(t.factor));
        name += caseLetter(t.kind);
    }
    return name;
}

Combination parseCombination(const std::string& text)
{
    const std::string where = "荷载组合 " + quoteForMessage(text) + " ";
    auto fail = [&](std::size_t pos, const std::string& why) {
        throw Failure(where + "无法识别: 第 " + std::to_string(pos + 1) + " 个字符处" + why +
                      " (应写成 1.3G+1.5Q+0.9W 的形式, 右风写 -W)");
    };
    Combination c;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    };
    skipBlanks();
    if (i == text.size()) throw Failure("荷载组合为空");
    while (true) {
        skipBlanks();
        double sign = 1;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            sign = text[i] == '-' ? -1 : 1;
            ++i;
            skipBlanks();
        } else if (!c.terms.empty()) {
            fail(i, "缺少 + 或 -");
        }
        // The factor: digits with at most one decimal point; none means 1.
        const std::size_t start = i;
        while (i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.')) ++i;
        double factor = 1;
        if (i > start) {
            const std::string digits = text.substr(start, i - start);
            if (std::count(digits.begin(), digits.end(), '.') > 1 || digits == ".") fail(start, "系数 \"" + digits + "\" 不是数");
            factor = numberValue(digits);
            skipBlanks();
            if (i < text.size() && text[i] == '*') {
                ++i;
                skipBlanks();
            }
        }
        LoadCaseKind kind;
        if (i >= text.size()) fail(i, "缺少工况 G、Q、W 或 E");
        if (!caseOfLetter(text[i], kind)) fail(i, "应为工况 G、Q、W 或 E");
        ++i;
        if (kind == LoadCaseKind::W && i < text.size() && text[i] == '2') {
            kind = LoadCaseKind::W2;
            ++i;
        }
        if (!(factor > 0) || !std::isfinite(factor)) throw Failure(where + "中 " + caseLetter(kind) + " 的系数应大于 0");
        if (factor >= 1000)
            throw Failure(where + "中 " + caseLetter(kind) + " 的系数 " + shortestDecimal(factor) +
                          " 超过三位整数, 计算书的栏目写不下");
        if (sign < 0 && kind == LoadCaseKind::W2)
            throw Failure(where + "中 W2 取了负号: W2 是右风工况, 其荷载按所给方向计入, 不可反号 (左风用 W)");
        if (sign < 0 && kind != LoadCaseKind::W && kind != LoadCaseKind::E)
            throw Failure(where + "中 " + caseLetter(kind) + " 取了负号: 只有风载 W 可取负号 (-W 为右风), 以及地震作用 E (-E 为右向地震)");
        if (c.uses(kind)) throw Failure(where + "中工况 " + caseLetter(kind) + " 出现了两次");
        c.terms.push_back({kind, sign * factor});
        skipBlanks();
        if (i == text.size()) break;
    }
    std::sort(c.terms.begin(), c.terms.end(),
              [](const CombinationTerm& a, const CombinationTerm& b) { return caseRank(a.kind) < caseRank(b.kind); });
    c.name = combinationName(c.terms);
    return c;
}

const CombinationSet& combinationSet(const std::string& key)
{
    const std::string k = normalisedKey(key);
    std::string known;
    for (const CombinationSet& s : builtInCombinationSets()) {
        if (k == s.key) return s;
        known += (known.empty() ? "" : ", ") + std::string(s.key);
    }
    throw Failure("没有名为 " + quoteForMessage(key) + " 的荷载组合规范 (可选 " + known + ")");
}

std::vector<Combination> combinationsFor(const CombinationSet& set, const GivenCases& given,
                                        const LiveLoadFactors& factors)
{
    std::vector<Combination> out;
    for (const std::string& row : set.rowsWith(factors, given[static_cast<std::size_t>(LoadCaseKind::W2)])) {
        Combination c = parseCombination(row);
        bool usable = true;
        for (const CombinationTerm& t : c.terms) usable = usable && given[static_cast<std::size_t>(t.kind)];
        if (usable) out.push_back(std::move(c));
    }
    return out;
}

std::vector<std::string> combinationWarnings(const std::vector<Combination>& combinations)
{
    std::vector<std::string> out;
    for (const Combination& c : combinations)
        if (!c.uses(LoadCaseKind::G))
            out.push_back("荷载组合 " + c.name + " 中没有恒载 G: 梁柱自重和恒载都未计入这一组合");
    return out;
}

void checkCombinationCases(const std::vector<Combination>& combinations, const GivenCases& given)
{
    if (combinations.empty()) throw Failure("没有可用的荷载组合: 所给的工况组不成所选规范的任何组合");
    for (const Combination& c : combinations)
        for (const CombinationTerm& t : c.terms)
            if (!given[static_cast<std::size_t>(t.kind)])
                throw Failure("荷载组合 " + c.name + " 用到了" + caseTitle(t.kind) + " " + caseLetter(t.kind) +
                              (t.kind == LoadCaseKind::E ? ", 但没有给出抗震参数 (设防烈度、场地类别、设计地震分组)"
                                                         : ", 但没有给出它的数据文件"));
}

} // namespace kj
