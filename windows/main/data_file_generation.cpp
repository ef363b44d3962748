#include "main/data_file_generation.h"

#include "common/backup.h"
#include "common/failure.h"
#include "common/items.h"
#include "common/numbers.h"
#include "common/text.h"
#include "common/textfile.h"
#include "main/frame_boxes.h"

#include <array>
#include <vector>

namespace kj {

namespace {

// One frame template: the boxes of the lengths line and of the sections line
// (each after the table and its comma), and the beam load boxes in beam order.
struct TemplateBoxes {
    int spans;
    int storeys;
    std::vector<const char*> lengths;
    std::vector<const char*> sections;
    std::vector<const char*> loads;
};

const std::array<TemplateBoxes, 6>& templates()
{
    static const std::array<TemplateBoxes, 6> table{{
        {1, 1, {"Text5", "Text74"}, {"Text32", "Text34", "Text36"}, {"Text6"}},
        {2, 1, {"Text5", "Text70", "Text74"}, {"Text32", "Text38", "Text34", "Text36", "Text40"},
         {"Text6", "Text7"}},
        {3, 1, {"Text5", "Text70", "Text72", "Text74"},
         {"Text32", "Text38", "Text42", "Text34", "Text36", "Text40", "Text44"},
         {"Text6", "Text7", "Text10"}},
        {1, 2, {"Text5", "Text74", "Text76"}, {"Text32", "Text46", "Text34", "Text36", "Text48", "Text50"},
         {"Text6", "Text27"}},
        {2, 2, {"Text5", "Text70", "Text74", "Text76"},
         {"Text32", "Text38", "Text46", "Text52", "Text34", "Text36", "Text40", "Text48", "Text50", "Text54"},
         {"Text6", "Text7", "Text27", "Text29"}},
        {3, 2, {"Text5", "Text70", "Text72", "Text74", "Text76"},
         {"Text32", "Text38", "Text42", "Text46", "Text52", "Text56", "Text34", "Text36", "Text40", "Text44",
          "Text48", "Text50", "Text54", "Text58"},
         {"Text6", "Text7", "Text10", "Text27", "Text29", "Text31"}},
    }};
    return table;
}

const std::array<const char*, 6> kJointLoadBoxes{"Text60", "Text61", "Text62",
                                                 "Text63", "Text64", "Text65"};

} // namespace

const std::string& MainEntries::box(std::string_view name) const
{
    static const std::string empty;
    const auto found = boxes.find(name);
    return found == boxes.end() ? empty : found->second;
}

MemberParameters parseMemberParameters(const std::string& text, std::string_view shownName)
{
    ItemReader reader(text);
    std::array<std::string, 4> fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        auto item = reader.next();
        if (!item)
            throw Failure("构件参数文件 " + std::string(shownName) + " 只有 " + std::to_string(i) +
                          " 项, 应有四项(长度表、长度编号、断面表、构件断面号)");
        fields[i] = std::move(*item);
    }
    return {fields[0], fields[1], fields[2], fields[3]};
}

std::string dataFileText(const MainEntries& e, const MemberParameters& parameters)
{
    std::vector<std::string> lines;
    lines.push_back(e.frameName + "," + e.spans + "," + e.storeys + "," + e.jointGroups + ",0,");

    const double spans = numberValue(e.spans);
    const double storeys = numberValue(e.storeys);
    const TemplateBoxes* shape = nullptr;
    for (const auto& t : templates())
        if (spans == t.spans && storeys == t.storeys) shape = &t;

    if (shape) {
        std::string lengths = parameters.lengthTable + ",";
        for (const char* name : shape->lengths) lengths += e.box(name);
        std::string sections = parameters.sectionTable + ",";
        for (const char* name : shape->sections) sections += e.box(name);
        lines.push_back(lengths);
        lines.push_back(sections);
        // Span loads two to a line, in beam order.
        for (std::size_t i = 0; i < shape->loads.size(); i += 2) {
            std::string line = e.box(shape->loads[i]);
            if (i + 1 < shape->loads.size()) line += "," + e.box(shape->loads[i + 1]);
            lines.push_back(line);
        }
    } else {
        // A frame of no template: the three records are left for the user.
        lines.insert(lines.end(), 3, std::string());
    }

    const double groups = numberValue(e.jointGroups);
    if (groups != 0) {
        const bool listed = groups >= 1 && groups <= 6 && groups == static_cast<int>(groups);
        if (listed)
            for (int i = 0; i < static_cast<int>(groups); ++i)
                lines.push_back(e.box(kJointLoadBoxes[static_cast<std::size_t>(i)]));
        else
            lines.emplace_back();
    }

    lines.push_back(e.fy + "," + e.concrete);

    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += CRLF;
        text += lines[i];
    }
    return text;
}

std::string generateDataFile(const MainEntries& entries, std::string_view memberSlot,
                             std::string_view targetSlot)
{
    // A number of two characters, or none, would shift every later member.
    const double spans = numberValue(entries.spans);
    const double storeys = numberValue(entries.storeys);
    for (const auto& t : templates()) {
        if (spans != t.spans || storeys != t.storeys) continue;
        std::vector<const char*> numbers = t.lengths;
        numbers.insert(numbers.end(), t.sections.begin(), t.sections.end());
        requireOneDigit(numbers, entries.boxes);
    }
    const std::string memberText = readTextFile(slotPath(memberSlot), memberSlot);
    const MemberParameters parameters = parseMemberParameters(memberText, memberSlot);
    std::string text = dataFileText(entries, parameters);
    const auto target = slotPath(targetSlot);
    keepBackup(target, targetSlot);
    replaceTextFile(target, text + CRLF, targetSlot);
    return text;
}

std::string importPaneText(std::string_view slot)
{
    std::string text;
    for (const std::string& line : splitLines(readTextFile(slotPath(slot), slot))) {
        text += line;
        text += CRLF;
    }
    return text;
}

void savePaneText(std::string_view slot, std::string_view paneText)
{
    const auto path = slotPath(slot);
    keepBackup(path, slot);
    replaceTextFile(path, std::string(paneText) + CRLF, slot);
}

} // namespace kj
