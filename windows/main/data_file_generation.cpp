#include "main/data_file_generation.h"

#include "common/backup.h"
#include "common/failure.h"
#include "common/items.h"
#include "common/numbers.h"
#include "common/text.h"
#include "common/textfile.h"
#include "main/frame_boxes.h"
#include "templates/frame_templates.h"

#include <array>
#include <vector>

namespace kj {

namespace {

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

    if (const FrameTemplate* shape = findTemplate(numberValue(e.spans), numberValue(e.storeys))) {
        std::string lengths = parameters.lengthTable + ",";
        for (const char* name : shape->lengthBoxes()) lengths += e.box(name);
        std::string sections = parameters.sectionTable + ",";
        for (const char* name : shape->memberBoxes()) sections += e.box(name);
        lines.push_back(lengths);
        lines.push_back(sections);
        // Span loads two to a line, in beam order.
        const std::vector<const char*> loads = shape->loadBoxes();
        for (std::size_t i = 0; i < loads.size(); i += 2) {
            std::string line = e.box(loads[i]);
            if (i + 1 < loads.size()) line += "," + e.box(loads[i + 1]);
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
    if (const FrameTemplate* t = findTemplate(numberValue(entries.spans), numberValue(entries.storeys))) {
        std::vector<const char*> numbers = t->lengthBoxes();
        const std::vector<const char*> members = t->memberBoxes();
        numbers.insert(numbers.end(), members.begin(), members.end());
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

} // namespace kj
