#include "members/member_params.h"

#include "common/failure.h"
#include "common/numbers.h"
#include "common/text.h"
#include "common/textfile.h"
#include "main/frame_boxes.h"

namespace kj {

const FrameTemplate* matchMemberShape(std::string_view spans, std::string_view storeys)
{
    return findTemplate(numberValue(spans), numberValue(storeys));
}

std::string valueBoxOf(std::string_view entryBox)
{
    const FramePlace* place = placeOfBox(entryBox);
    return place && entryBox == place->entry ? place->value : "";
}

std::string memberParametersText(const MemberParameters& f)
{
    return "\"" + f.lengthTable + "\",\"" + f.lengthNumbers + "\"" + CRLF + "\"" + f.sectionTable + "\",\"" +
           f.memberSections + "\"";
}

std::optional<std::string> lengthProblem(const std::array<std::string, 5>& lengths, std::size_t k)
{
    const std::string role = "长度 " + std::to_string(k + 1);
    const std::string& text = lengths.at(k);
    if (text.empty()) {
        for (std::size_t later = k + 1; later < lengths.size(); ++later)
            if (!lengths[later].empty())
                return role + "为空, 而长度 " + std::to_string(later + 1) +
                       " 已填: 长度表中其后的长度都会错位; 请填四个字符 (如 4.20)";
        return std::nullopt;
    }
    if (charCount(text) != 4)
        return role + " \"" + text + "\" 不是四个字符: 每个长度填四个字符 (如 4.20, 6.00), 否则其后的长度都会错位";
    return std::nullopt;
}

MemberGeneration generateMemberParameters(const MemberEntries& e)
{
    for (std::size_t k = 0; k < e.lengths.size(); ++k)
        if (auto why = lengthProblem(e.lengths, k)) throw Failure(*why);
    MemberParameters fields;
    for (const std::string& length : e.lengths) fields.lengthTable += length;
    for (std::size_t k = 0; k < e.widths.size(); ++k) fields.sectionTable += e.widths[k] + e.heights[k];

    // Tables indexed by the rounded number; anything but 1..5 or 1..6 is an
    // empty entry.
    const auto length = [&](int n) { return n >= 1 && n <= 5 ? e.lengths[std::size_t(n - 1)] : std::string(); };
    const auto section = [&](int s) {
        if (s < 1 || s > 6) return std::string(",");
        return e.widths[std::size_t(s - 1)] + "," + e.heights[std::size_t(s - 1)];
    };
    const auto entry = [&](const char* box) -> std::string_view {
        const auto found = e.boxes.find(box);
        return found == e.boxes.end() ? std::string_view() : std::string_view(found->second);
    };

    MemberGeneration result;
    if (const FrameTemplate* shape = matchMemberShape(e.spans, e.storeys)) {
        // The file keeps one character per number: "99" would shift every later member.
        std::vector<const char*> numbers = shape->lengthBoxes();
        const std::vector<const char*> members = shape->memberBoxes();
        numbers.insert(numbers.end(), members.begin(), members.end());
        requireOneDigit(numbers, e.boxes);
        for (const char* box : shape->lengthBoxes()) {
            const double n = numberValue(entry(box));
            result.valueBoxes.push_back({valueBoxOf(box), length(toIndex(n))});
            fields.lengthNumbers += shortestDecimal(n);
        }
        for (const char* box : members) {
            const double n = numberValue(entry(box));
            result.valueBoxes.push_back({valueBoxOf(box), section(toIndex(n))});
            fields.memberSections += shortestDecimal(n);
        }
    }
    result.text = memberParametersText(fields);
    return result;
}

MemberCorrection correctMemberParameters(const MemberParameters& f, std::string_view spans,
                                         std::string_view storeys)
{
    MemberCorrection result;
    result.paneText = memberParametersText(f);
    const FrameTemplate* shape = matchMemberShape(spans, storeys);
    if (!shape) return result;

    // The k-th number of a field as written into its entry box ("" past the
    // field's end or the working table), and its value as a table number.
    const auto number = [](const std::string& field, std::size_t k, std::string& text) {
        text.clear();
        if (k > kCorrectionTableSize || k > charCount(field)) return -1;
        const int c = toIndex(numberValue(charAt(field, k)));
        text = shortestDecimal(c);
        return c;
    };

    std::string text;
    const std::vector<const char*> lengthBoxes = shape->lengthBoxes();
    const std::vector<const char*> memberBoxes = shape->memberBoxes();
    for (std::size_t k = 1; k <= lengthBoxes.size(); ++k) {
        const char* box = lengthBoxes[k - 1];
        const int c = number(f.lengthNumbers, k, text);
        const std::string length = c >= 1 ? charSlice(f.lengthTable, std::size_t(4 * (c - 1) + 1), 4) : "";
        result.boxes.push_back({box, text});
        result.boxes.push_back({valueBoxOf(box), length});
    }
    for (std::size_t k = 1; k <= memberBoxes.size(); ++k) {
        const char* box = memberBoxes[k - 1];
        const int s = number(f.memberSections, k, text);
        std::string bh = ",";
        if (s >= 1)
            bh = charSlice(f.sectionTable, std::size_t(6 * (s - 1) + 1), 3) + "," +
                 charSlice(f.sectionTable, std::size_t(6 * (s - 1) + 4), 3);
        result.boxes.push_back({box, text});
        result.boxes.push_back({valueBoxOf(box), bh});
    }
    return result;
}

void requireMemberShape(const MemberParameters& fields, const FrameTemplate& shape, std::string_view shownName)
{
    const std::size_t lengths = charCount(fields.lengthNumbers);
    const std::size_t members = charCount(fields.memberSections);
    if (lengths == shape.lengths.size() && members == shape.beams.size() + shape.columns.size()) return;
    const auto counts = [](std::size_t l, std::size_t m) {
        return "(长度编号 " + std::to_string(l) + " 位、截面编号 " + std::to_string(m) + " 位)";
    };
    // L spans and NF storeys give L + NF length numbers and NF (2L + 1) members.
    std::string written = "另一种框架";
    for (int storeys = 1; storeys <= 10; ++storeys) {
        const int spans = static_cast<int>(lengths) - storeys;
        if (spans >= 1 && static_cast<std::size_t>(storeys * (2 * spans + 1)) == members) {
            written = " " + std::to_string(spans) + "-" + std::to_string(storeys) + " 框架";
            break;
        }
    }
    throw Failure("构件参数文件 " + std::string(shownName) + " 是为" + written + "写的 " + counts(lengths, members) +
                  ", 当前框架为 " + std::to_string(shape.spans) + "-" + std::to_string(shape.storeys) + " " +
                  counts(shape.lengths.size(), shape.beams.size() + shape.columns.size()) +
                  ": 请选择与文件相同的框架模板, 或导入本框架的构件参数文件");
}

MemberCorrection readMemberCorrection(std::string_view slot, std::string_view spans, std::string_view storeys)
{
    const MemberParameters fields = parseMemberParameters(readTextFile(slotPath(slot), slot), slot);
    if (const FrameTemplate* shape = matchMemberShape(spans, storeys)) requireMemberShape(fields, *shape, slot);
    return correctMemberParameters(fields, spans, storeys);
}

} // namespace kj
