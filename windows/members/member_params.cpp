#include "members/member_params.h"

#include "common/failure.h"
#include "common/numbers.h"
#include "common/text.h"
#include "common/textfile.h"
#include "main/frame_boxes.h"

namespace kj {

const std::array<MemberShape, 6>& memberShapes()
{
    static const std::array<MemberShape, 6> shapes{{
        {1, 1, {"Text5", "Text74"}, {"Text32", "Text34", "Text36"}},
        {2, 1, {"Text5", "Text70", "Text74"}, {"Text32", "Text38", "Text34", "Text36", "Text40"}},
        {3, 1, {"Text5", "Text70", "Text72", "Text74"},
         {"Text32", "Text38", "Text42", "Text34", "Text36", "Text40", "Text44"}},
        {1, 2, {"Text5", "Text74", "Text76"}, {"Text32", "Text46", "Text34", "Text36", "Text48", "Text50"}},
        {2, 2, {"Text5", "Text70", "Text74", "Text76"},
         {"Text32", "Text38", "Text46", "Text52", "Text34", "Text36", "Text40", "Text48", "Text50", "Text54"}},
        {3, 2, {"Text5", "Text70", "Text72", "Text74", "Text76"},
         {"Text32", "Text38", "Text42", "Text46", "Text52", "Text56", "Text34", "Text36", "Text40", "Text44",
          "Text48", "Text50", "Text54", "Text58"}},
    }};
    return shapes;
}

const MemberShape* matchMemberShape(std::string_view spans, std::string_view storeys)
{
    const double l = numberValue(spans);
    const double nf = numberValue(storeys);
    for (const MemberShape& shape : memberShapes())
        if (l == shape.spans && nf == shape.storeys) return &shape;
    return nullptr;
}

std::string valueBoxOf(std::string_view entryBox)
{
    if (entryBox == "Text5") return "Text69";
    // Every other entry box TextN has its value in TextN+1.
    const int n = indexValue(entryBox.substr(entryBox.find_first_of("0123456789")));
    return "Text" + std::to_string(n + 1);
}

std::string memberParametersText(const MemberParameters& f)
{
    return "\"" + f.lengthTable + "\",\"" + f.lengthNumbers + "\"" + CRLF + "\"" + f.sectionTable + "\",\"" +
           f.memberSections + "\"";
}

MemberGeneration generateMemberParameters(const MemberEntries& e)
{
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
    if (const MemberShape* shape = matchMemberShape(e.spans, e.storeys)) {
        // The file keeps one character per number: "99" would shift every later member.
        std::vector<const char*> numbers = shape->lengthBoxes;
        numbers.insert(numbers.end(), shape->memberBoxes.begin(), shape->memberBoxes.end());
        requireOneDigit(numbers, e.boxes);
        for (const char* box : shape->lengthBoxes) {
            const double n = numberValue(entry(box));
            result.valueBoxes.push_back({valueBoxOf(box), length(toIndex(n))});
            fields.lengthNumbers += shortestDecimal(n);
        }
        for (const char* box : shape->memberBoxes) {
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
    const MemberShape* shape = matchMemberShape(spans, storeys);
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
    for (std::size_t k = 1; k <= shape->lengthBoxes.size(); ++k) {
        const char* box = shape->lengthBoxes[k - 1];
        const int c = number(f.lengthNumbers, k, text);
        const std::string length = c >= 1 ? charSlice(f.lengthTable, std::size_t(4 * (c - 1) + 1), 4) : "";
        result.boxes.push_back({box, text});
        result.boxes.push_back({valueBoxOf(box), length});
    }
    for (std::size_t k = 1; k <= shape->memberBoxes.size(); ++k) {
        const char* box = shape->memberBoxes[k - 1];
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

void requireMemberShape(const MemberParameters& fields, const MemberShape& shape, std::string_view shownName)
{
    const std::size_t lengths = charCount(fields.lengthNumbers);
    const std::size_t members = charCount(fields.memberSections);
    if (lengths == shape.lengthBoxes.size() && members == shape.memberBoxes.size()) return;
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
                  counts(shape.lengthBoxes.size(), shape.memberBoxes.size()) +
                  ": 请选择与文件相同的框架模板, 或导入本框架的构件参数文件");
}

MemberCorrection readMemberCorrection(std::string_view slot, std::string_view spans, std::string_view storeys)
{
    const MemberParameters fields = parseMemberParameters(readTextFile(slotPath(slot), slot), slot);
    if (const MemberShape* shape = matchMemberShape(spans, storeys)) requireMemberShape(fields, *shape, slot);
    return correctMemberParameters(fields, spans, storeys);
}

} // namespace kj
