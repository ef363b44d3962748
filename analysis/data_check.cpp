#include "analysis/data_check.h"

#include "common/items.h"
#include "common/numbers.h"
#include "common/text.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace kj {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isDigitChar(const std::string& c) { return c.size() == 1 && isDigit(c[0]); }
// Every quote of file text is clipped and its control characters escaped.
std::string quoted(const std::string& s) { return quoteForMessage(s); }
std::string num(double x) { return shortestDecimal(x); }
std::string str(std::size_t n) { return std::to_string(n); }

std::string_view trimmed(std::string_view t)
{
    std::size_t a = 0, b = t.size();
    while (a < b && isBlank(t[a])) ++a;
    while (b > a && isBlank(t[b - 1])) --b;
    return t.substr(a, b - a);
}

// Length of the leading number of t (sign, digits, decimal point, exponent)
// without skipping blanks; 0 when t does not start with one.
std::size_t numberLength(std::string_view t)
{
    std::size_t i = 0;
    bool digits = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    while (i < t.size() && isDigit(t[i])) ++i, digits = true;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i])) ++i, digits = true;
    }
    if (!digits) return 0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
        std::size_t k = j;
        while (k < t.size() && isDigit(t[k])) ++k;
        if (k > j) i = k;
    }
    return i;
}

// Why a numeric field does not read cleanly, with the value it is read as;
// nothing when it holds one number (blanks around it, or only blanks).
std::optional<std::string> numberProblem(const std::string& field)
{
    const std::string_view t = trimmed(field);
    if (t.empty()) return std::nullopt;
    const std::size_t n = numberLength(t);
    if (n == t.size()) return std::nullopt;
    const std::string value = num(numberValue(field));
    if (n == 0) return "不是数, 读作 " + value;
    std::string squeezed;
    for (char c : t)
        if (!isBlank(c)) squeezed += c;
    if (numberLength(squeezed) == squeezed.size()) return "数字中间有空格, 读作 " + value;
    return quoted(std::string(trimmed(t.substr(n)))) + " 不是数的一部分, 读作 " + value;
}

// A header count or code: one number, and a whole one.
std::optional<std::string> wholeNumberProblem(const std::string& item)
{
    if (auto p = numberProblem(item)) return p;
    const double v = numberValue(item);
    if (v != roundHalfEven(v)) return "不是整数, 读作 " + num(roundHalfEven(v));
    return std::nullopt;
}

// "第 11-15 个字符 \"0.00P\"": a field of an item by its character positions.
std::string span(std::size_t first, std::size_t count, const std::string& text)
{
    std::string where = count == 1 ? "第 " + str(first) + " 个字符"
                                   : "第 " + str(first) + "-" + str(first + count - 1) + " 个字符";
    return "(" + where + " " + quoted(text) + ")";
}

struct Problem {
    std::string field;
    std::string problem;
};

// The first field of a span-load item that does not read cleanly. The walk
// through the entries is the reader's own (frame_model.cpp).
std::optional<Problem> spanLoadProblem(const std::vector<std::string>& items, int beam)
{
    const std::string& t = items[static_cast<std::size_t>(beam - 1)];
    const std::size_t len = charCount(t);
    const int NB = static_cast<int>(items.size());
    if (len == 0) return Problem{"荷载项", "为空, 该梁按无荷载计算; 无荷载的梁应写 0"};
    if (len == 1) {
        if (t == "0") return std::nullopt;
        return Problem{"荷载项 " + quoted(t), "只有一个字符, 该梁按无荷载计算; 无荷载的梁应写 0"};
    }
    if (len == 2) {
        if (!isDigitChar(charAt(t, 1)) || !isDigitChar(charAt(t, 2)))
            return Problem{"引用的梁号 " + quoted(t), "不是两位数字, 读作第 " + str(static_cast<std::size_t>(std::max(0, indexValue(t)))) + " 号梁"};
        const int k = indexValue(t);
        if (k < 1 || k > NB) return std::nullopt; // the model refuses it with its own message
        if (k == beam) return Problem{"引用的梁号 " + quoted(t), "引用了本梁自己, 该梁按无荷载计算"};
        const std::string& target = items[static_cast<std::size_t>(k - 1)];
        if (k > beam && charCount(target) == 2)
            return Problem{"引用的梁号 " + quoted(t), "所引用的第 " + str(static_cast<std::size_t>(k)) + " 号梁的荷载项 " +
                                                          quoted(target) + " 也是引用, 该梁按无荷载计算"};
        return std::nullopt;
    }

    const std::string first = charAt(t, 1);
    if (!isDigitChar(first))
        return Problem{"荷载个数 " + span(1, 1, first), "不是数字, 该梁按无荷载计算"};
    const int n = first[0] - '0';
    if (n == 0)
        return Problem{"荷载个数 " + span(1, 1, first), "为 0, 其后的 " + str(len - 1) + " 个字符不被读取, 该梁按无荷载计算"};
    if (n > kMaxLoadEntries) return std::nullopt; // the model refuses it
    const bool mirror = charAt(t, len) == "A";
    const bool shortItem = len < 7;
    const std::size_t end = len - (mirror ? 1 : 0); // characters the entries may take
    const std::string shifted = "; 前面的字段可能多写或少写了字符, 其后的荷载都已错位";

    std::size_t p = 2;
    for (int k = 1; k <= n; ++k) {
        std::string s = charSlice(t, p, 9);
        if (charAt(s, 6) == "P" || charAt(s, 1) == "*") s = charSlice(s, 1, 6);
        if (charAt(s, 3) == "P") s = charSlice(s, 1, 3);
        const std::size_t ls = charCount(s);
        const std::string entry = "第 " + str(static_cast<std::size_t>(k)) + " 个荷载";
        const std::string later = k > 1 ? shifted : std::string();
        if (ls == 0)
            return Problem{entry, "不存在: 荷载串只有 " + str(len) + " 个字符, 不够 " + str(static_cast<std::size_t>(n)) +
                                      " 个荷载 (荷载串的长度与荷载个数不符)"};

        enum Kind { Distributed, Force, RepeatedLoad, RepeatedForce, ShortForce } kind = Distributed;
        std::size_t width = 9;
        if (charAt(s, 1) == "*") {
            kind = charAt(s, 3) == "P" ? RepeatedForce : RepeatedLoad;
            width = kind == RepeatedForce ? 3 : 6;
        } else if (charAt(s, 6) == "P") {
            kind = Force;
            width = 6;
        } else if (charAt(s, 3) == "P") {
            kind = ShortForce;
            width = 3;
        }
        if (!shortItem && ls < width)
            return Problem{entry + " " + span(p, ls, s), "只有 " + str(ls) + " 个字符, 应有 " + str(width) +
                                                             " 个 (荷载串的长度与荷载个数不符)" + later};

        const auto field = [&](const char* name, std::size_t from, std::size_t count) -> std::optional<Problem> {
            const std::string f = charSlice(s, from, count);
            if (auto why = numberProblem(f)) return Problem{entry + "的" + name + " " + span(p + from - 1, count, f), *why + later};
            return std::nullopt;
        };
        const auto reference = [&]() -> std::optional<Problem> {
            const std::string m = charAt(s, 2);
            if (isDigitChar(m) && m[0] - '0' >= 1 && m[0] - '0' < k) return std::nullopt;
            return Problem{entry + "引用的荷载号 " + span(p + 1, 1, m),
                           "不是本梁前面的荷载 (1-" + str(static_cast<std::size_t>(k - 1)) + "), 数值按 0 计算" + later};
        };
        std::optional<Problem> found;
        switch (kind) {
        case Distributed:
            found = field("数值", 1, 5);
            if (!found && !shortItem) found = field("长度", 6, 4);
            break;
        case Force: found = field("数值", 1, 5); break;
        case ShortForce: found = field("数值", 1, 2); break;
        case RepeatedLoad:
            found = reference();
            if (!found) found = field("长度", 3, 4);
            break;
        case RepeatedForce: found = reference(); break;
        }
        if (found) return found;
        p += ls;
    }
    const std::size_t used = p - 1;
    if (used < end) {
        const std::string rest = charSlice(t, used + 1, end - used);
        return Problem{"第 " + str(used + 1) + " 个字符起的 " + quoted(rest),
                       "在 " + str(static_cast<std::size_t>(n)) + " 个荷载之后多出, 不被读取 (荷载串的长度与荷载个数不符)"};
    }
    if (used > end)
        return Problem{"末尾的 A", "被读进了第 " + str(static_cast<std::size_t>(n)) + " 个荷载 (荷载串的长度与荷载个数不符)"};
    return std::nullopt;
}

// The first field of a joint-load item that does not read cleanly: count,
// node numbers of two characters, force of five, moment of six.
std::optional<Problem> jointLoadProblem(const std::string& t)
{
    const std::size_t len = charCount(t);
    if (len == 0) return Problem{"节点荷载项", "为空, 不加任何荷载"};
    const std::string first = charAt(t, 1);
    if (!isDigitChar(first) || first == "0")
        return Problem{"节点个数 " + span(1, 1, first), "不是 1-9 的数字, 不加任何荷载"};
    const std::size_t n = static_cast<std::size_t>(first[0] - '0');
    for (std::size_t j = 1; j <= n; ++j) {
        const std::string f = charSlice(t, 2 * j, 2);
        const std::string_view tf = trimmed(f);
        bool digits = charCount(f) == 2 && !tf.empty() && charAt(f, 2) != " ";
        for (char c : tf) digits = digits && isDigit(c);
        if (!digits)
            return Problem{"第 " + str(j) + " 个节点号 " + span(2 * j, 2, f),
                           "不是两位数字, 读作 " + str(static_cast<std::size_t>(std::max(0, indexValue(f))))};
    }
    const std::string force = charSlice(t, 2 * n + 2, 5);
    if (auto why = numberProblem(force)) return Problem{"垂直力 " + span(2 * n + 2, 5, force), *why};
    const std::string moment = charSlice(t, 2 * n + 7, 6);
    const std::string widths = " (垂直力占 5 个字符, 弯矩占 6 个字符)";
    if (auto why = numberProblem(moment)) return Problem{"弯矩 " + span(2 * n + 7, 6, moment), *why + widths};
    if (len > 2 * n + 12)
        return Problem{"第 " + str(2 * n + 13) + " 个字符起的 " + quoted(charSlice(t, 2 * n + 13, len)),
                       "多出, 不被读取" + widths};
    return std::nullopt;
}

// A table of fixed-width numeric fields (lengths of four characters, b and h
// of three): its width and the first field that does not read cleanly.
std::optional<Problem> tableProblem(const std::string& table, std::size_t width, std::size_t fieldsPerEntry,
                                    const char* name, const char* entryName)
{
    const std::size_t len = charCount(table);
    const std::size_t entryWidth = width * fieldsPerEntry;
    for (std::size_t from = 1; from <= len; from += width) {
        const std::string f = charSlice(table, from, width);
        if (auto why = numberProblem(f)) {
            const std::size_t entry = (from - 1) / entryWidth + 1;
            std::string which = "第 " + str(entry) + " 个" + entryName;
            if (fieldsPerEntry == 2) which += (from - 1) % entryWidth == 0 ? "的 b" : "的 h";
            return Problem{std::string(name) + which + " " + span(from, width, f), *why};
        }
    }
    if (len % entryWidth != 0)
        return Problem{std::string(name) + " " + quoted(table),
                       "有 " + str(len) + " 个字符, 不是 " + str(entryWidth) + " 的倍数: 有" + entryName +
                           "没有写满 " + str(width) + " 个字符, 其后的" + entryName + "已错位"};
    return std::nullopt;
}

// Length numbers or member sections: one digit per span and storey, or per member.
std::optional<Problem> digitsProblem(const std::string& digits, std::size_t expected, const char* name,
                                     const char* perWhat)
{
    const std::size_t len = charCount(digits);
    for (std::size_t i = 1; i <= len && i <= expected; ++i) {
        const std::string c = charAt(digits, i);
        if (!isDigitChar(c))
            return Problem{std::string(name) + "第 " + str(i) + " 位 " + quoted(c),
                           "不是一位数字, 读作 " + str(static_cast<std::size_t>(std::max(0, indexValue(c))))};
    }
    if (len > expected)
        return Problem{std::string(name) + " " + quoted(digits),
                       "有 " + str(len) + " 位, 应有 " + str(expected) + " 位 (" + perWhat + "一位): 多出的 " +
                           quoted(charSlice(digits, expected + 1, len)) + " 不被读取; 某个编号可能不是一位数"};
    return std::nullopt;
}

void add(std::vector<DataWarning>& out, int item, const char* record, std::string member,
         const std::optional<Problem>& p)
{
    if (!p) return;
    DataWarning w;
    w.item = item;
    w.record = record;
    w.member = std::move(member);
    w.field = p->field;
    w.problem = p->problem;
    out.push_back(std::move(w));
}

void compose(std::vector<DataWarning>& warnings, const std::string& fileName)
{
    for (DataWarning& w : warnings) {
        w.message = "数据文件 " + fileName;
        if (w.line > 0) w.message += " 第 " + std::to_string(w.line) + " 行";
        w.message += ": " + w.record;
        if (!w.member.empty()) w.message += ", " + w.member;
        w.message += ", " + w.field + ": " + w.problem;
    }
}

const char* kHeader = "第 1 类数据";
const char* kLengths = "第 2 类数据";
const char* kSections = "第 3 类数据";
const char* kSpanLoads = "梁间荷载数据";
const char* kJointLoads = "节点荷载数据";
const char* kMaterials = "最后一类数据";

// Every item of the text with the line it stands on, by the item rules.
struct PlacedItem {
    std::string text;
    int line;
};
std::vector<PlacedItem> placedItems(const std::string& text)
{
    std::vector<PlacedItem> out;
    int line = 0;
    for (const std::string& l : splitLines(text)) {
        ++line;
        if (l.empty()) {
            out.push_back({std::string(), line}); // an empty line is one empty item
            continue;
        }
        ItemReader r(l);
        while (auto it = r.next()) out.push_back({*it, line});
    }
    return out;
}

// An item ending in digits without a decimal point, followed on its line by
// an item starting with a digit: the look of "1 30,0", a number whose
// decimal point was typed as a comma.
bool looksLikeDecimalComma(const std::string& before, const std::string& after)
{
    if (before.size() < 3 || !isDigit(before.back()) || after.empty() || !isDigit(after.front())) return false;
    std::size_t i = before.size();
    while (i > 0 && (isDigit(before[i - 1]) || before[i - 1] == '.')) --i;
    return before.find('.', i) == std::string::npos;
}

} // namespace

std::vector<DataWarning> checkFrameData(const FrameData& d)
{
    std::vector<DataWarning> out;
    add(out, 2, kHeader, "", [&]() -> std::optional<Problem> {
        if (auto p = wholeNumberProblem(d.itemL)) return Problem{"梁跨数 L " + quoted(d.itemL), *p};
        return std::nullopt;
    }());
    add(out, 3, kHeader, "", [&]() -> std::optional<Problem> {
        if (auto p = wholeNumberProblem(d.itemNF)) return Problem{"层数 NF " + quoted(d.itemNF), *p};
        return std::nullopt;
    }());
    add(out, 4, kHeader, "", [&]() -> std::optional<Problem> {
        if (auto p = wholeNumberProblem(d.itemNJ)) return Problem{"节点荷载组数 NJ " + quoted(d.itemNJ), *p};
        return std::nullopt;
    }());
    add(out, 5, kHeader, "", [&]() -> std::optional<Problem> {
        if (auto p = numberProblem(d.itemCL)) return Problem{"框架标志 CL " + quoted(d.itemCL), *p};
        return std::nullopt;
    }());
    add(out, 6, kHeader, "", [&]() -> std::optional<Problem> {
        if (auto p = numberProblem(d.itemNZ)) return Problem{"端部固定码 NZ " + quoted(d.itemNZ), *p};
        return std::nullopt;
    }());

    const std::size_t L = static_cast<std::size_t>(std::max(d.L, 0));
    const std::size_t NF = static_cast<std::size_t>(std::max(d.NF, 0));
    add(out, 7, kLengths, "", tableProblem(d.lengthTable, 4, 1, "长度表", "长度"));
    add(out, 8, kLengths, "", digitsProblem(d.lengthNumbers, L + NF, "长度编号", "每跨、每层"));
    add(out, 9, kSections, "", tableProblem(d.sectionTable, 3, 2, "截面表", "截面"));
    add(out, 10, kSections, "",
        digitsProblem(d.memberSections, static_cast<std::size_t>(std::max(d.memberCount(), 0)), "截面编号", "每根梁、每根柱"));

    for (int i = 1; i <= static_cast<int>(d.spanLoads.size()); ++i)
        add(out, 10 + i, kSpanLoads, "第 " + std::to_string(i) + " 号梁 " + quoted(d.spanLoads[static_cast<std::size_t>(i - 1)]),
            spanLoadProblem(d.spanLoads, i));
    const int firstJoint = 11 + static_cast<int>(d.spanLoads.size());
    for (std::size_t g = 0; g < d.jointLoads.size(); ++g)
        add(out, firstJoint + static_cast<int>(g), kJointLoads,
            "第 " + str(g + 1) + " 组节点荷载 " + quoted(d.jointLoads[g]), jointLoadProblem(d.jointLoads[g]));
    compose(out, d.fileName);
    return out;
}

std::vector<DataWarning> checkFrameFile(const std::string& text, const std::string& fileName)
{
    FrameFileReader reader(text, fileName);
    const FrameData d = reader.readRecords1to5();
    std::vector<DataWarning> out = checkFrameData(d);

    const std::vector<PlacedItem> items = placedItems(text);
    const int loadsEnd = 10 + d.NB() + static_cast<int>(d.jointLoads.size()); // last item of records 4 and 5
    const int fy = loadsEnd + 1, c = loadsEnd + 2;
    const auto itemAt = [&](int k) -> const PlacedItem* {
        return k >= 1 && k <= static_cast<int>(items.size()) ? &items[static_cast<std::size_t>(k - 1)] : nullptr;
    };
    if (const PlacedItem* it = itemAt(fy))
        add(out, fy, kMaterials, "", [&]() -> std::optional<Problem> {
            if (trimmed(it->text).empty()) return Problem{"钢筋强度 Fy", "为空"};
            if (auto p = numberProblem(it->text)) return Problem{"钢筋强度 Fy " + quoted(it->text), *p};
            return std::nullopt;
        }());
    if (const PlacedItem* it = itemAt(c))
        add(out, c, kMaterials, "", [&]() -> std::optional<Problem> {
            if (trimmed(it->text).empty()) return Problem{"砼强度等级 C", "为空"};
            if (auto p = numberProblem(it->text)) return Problem{"砼强度等级 C " + quoted(it->text), *p};
            return std::nullopt;
        }());

    // Items after record 6: empty ones (blank lines at the end) are harmless;
    // any other means an item was split, and everything after it shifted.
    std::vector<std::string> extra;
    for (int k = c + 1; k <= static_cast<int>(items.size()); ++k)
        if (!trimmed(items[static_cast<std::size_t>(k - 1)].text).empty()) extra.push_back(items[static_cast<std::size_t>(k - 1)].text);
    if (!extra.empty()) {
        std::optional<int> split;
        for (int k = 11; k < loadsEnd && k < static_cast<int>(items.size()) && !split; ++k) {
            const PlacedItem& a = items[static_cast<std::size_t>(k - 1)];
            const PlacedItem& b = items[static_cast<std::size_t>(k)];
            if (a.line == b.line && looksLikeDecimalComma(a.text, b.text)) split = k;
        }
        const std::string shift = "Fy, C 之后还有 " + str(extra.size()) + " 项 (" + quoted(extra.front()) +
                                  (extra.size() > 1 ? " 等" : "") + "), 其后各项都已错位";
        if (split) {
            const int k = *split;
            // Items after the split are read one place late: their warnings
            // would only repeat the shift.
            std::erase_if(out, [k](const DataWarning& w) { return w.item > k + 1; });
            const bool load = k <= 10 + d.NB();
            std::string member = load ? "第 " + std::to_string(k - 10) + " 号梁"
                                      : "第 " + std::to_string(k - 10 - d.NB()) + " 组节点荷载";
            const std::string& a = items[static_cast<std::size_t>(k - 1)].text;
            const std::string& b = items[static_cast<std::size_t>(k)].text;
            add(out, k, load ? kSpanLoads : kJointLoads, member,
                Problem{"逗号 " + quoted(a + "," + b), "逗号不能用作小数点, 它把一项分成了两项 (" + quoted(a) + " 和 " +
                                                          quoted(b) + "); " + shift});
        } else {
            add(out, c + 1, kMaterials, "", Problem{"之后的项", "数据文件比应有的多 " + str(extra.size()) + " 项 (" +
                                                                   quoted(extra.front()) + (extra.size() > 1 ? " 等" : "") +
                                                                   "): 前面可能有一项被逗号分成了两项, 其后各项都已错位"});
        }
    }

    for (DataWarning& w : out)
        if (const PlacedItem* it = itemAt(w.item)) w.line = it->line;
    std::stable_sort(out.begin(), out.end(), [](const DataWarning& a, const DataWarning& b) { return a.item < b.item; });
    compose(out, fileName);
    return out;
}

} // namespace kj
