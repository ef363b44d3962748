#include "main/load_file.h"

#include "common/backup.h"
#include "common/failure.h"
#include "common/items.h"
#include "common/numbers.h"
#include "common/text.h"
#include "common/textfile.h"
#include "main/frame_boxes.h"
#include "shared/pane_text.h"
#include "templates/frame_templates.h"

#include <cmath>

namespace kj {

namespace {

const std::string& boxOf(const LoadBoxTexts& boxes, std::string_view name)
{
    static const std::string empty;
    const auto it = boxes.find(name);
    return it == boxes.end() ? empty : it->second;
}

std::string joined(const LoadBoxTexts& boxes, std::initializer_list<std::string_view> parts)
{
    // A part naming a box ("Text12") stands for its text; any other part is literal.
    std::string s;
    for (std::string_view part : parts) s += part.starts_with("Text") ? boxOf(boxes, part) : std::string(part);
    return s;
}

} // namespace

std::string composeLoadString(std::string_view loadCode, const LoadBoxTexts& boxes)
{
    const double n = numberValue(loadCode);
    if (n == 1) return joined(boxes, {"1", "Text12", "Text13"});
    if (n == 2) return joined(boxes, {"2", "Text14", "Text17", "Text16", "Text18"});
    if (n == 3) return joined(boxes, {"3", "Text14", "Text17", "Text15", "P", "Text16", "Text18"});
    if (n == 5)
        return joined(boxes, {"5", "Text19", "Text24", "Text22", "P", "Text20", "Text25", "Text23", "P", "Text21",
                              "Text26"});
    return {};
}

std::string quotedLoadString(std::string_view loadString)
{
    return "\"" + std::string(loadString) + "\"";
}

std::string appendLoadString(std::string_view slot, std::string_view loadString)
{
    const std::string shown(slot);
    if (loadString.find('"') != std::string_view::npos)
        throw Failure("荷载字符串 " + clipForMessage(loadString) + " 含有双引号, 写入荷载文件 " + shown +
                      " 后无法完整读回: 请从荷载框中删去双引号");
    if (loadString.find_first_of("\r\n") != std::string_view::npos)
        throw Failure("荷载字符串含有换行, 写入荷载文件 " + shown + " 后无法完整读回");
    const auto path = slotPath(slot);
    std::string line = quotedLoadString(loadString) + CRLF;
    if (fileExists(path)) {
        const std::string old = readTextFile(path, slot);
        if (!old.empty() && old.back() != '\n' && old.back() != '\r') line = CRLF + line;
    }
    appendTextFile(path, line, slot);
    return importPaneText(slot);
}

void emptyLoadFile(std::string_view slot)
{
    const auto path = slotPath(slot);
    keepBackup(path, slot);
    replaceTextFile(path, "", slot);
}

void saveLoadPane(std::string_view slot, std::string_view paneText)
{
    // Blank lines at the end would be read back as empty load strings ahead
    // of the next appended one.
    std::vector<std::string> lines = splitLines(paneText);
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string::npos) lines.pop_back();
    std::string text;
    for (const std::string& line : lines) text += line + CRLF;
    const auto path = slotPath(slot);
    keepBackup(path, slot);
    replaceTextFile(path, text, slot);
}

std::vector<std::string> beamLoadBoxes(double spans, double storeys)
{
    const FrameTemplate* t = findTemplate(spans, storeys);
    if (!t) return {};
    const std::vector<const char*> boxes = t->loadBoxes();
    return {boxes.begin(), boxes.end()};
}

LoadDistribution distributeLoadText(const std::string& fileText, std::string_view shownName,
                                    std::string_view spans, std::string_view storeys)
{
    const std::string shown(shownName);
    const double l = numberValue(spans);
    const double nf = numberValue(storeys);
    const double beams = l * nf;
    const std::string product = "跨数 " + shortestDecimal(l) + " × 层数 " + shortestDecimal(nf);
    if (!(beams >= 1))
        throw Failure(product + " 不是正数, 荷载文件 " + shown + " 的荷载没有梁可以接收: 请先选定框架模板");
    if (beams > kMaxLoadItems)
        throw Failure(product + " 为 " + shortestDecimal(beams) + ", 超过 " + std::to_string(kMaxLoadItems) +
                      " 根梁: 荷载文件 " + shown + " 的荷载只能导入 " + std::to_string(kMaxLoadItems) +
                      " 根梁以内的框架");
    const int n = static_cast<int>(std::floor(beams));

    ItemReader reader(fileText);
    std::vector<std::string> items;
    while (static_cast<int>(items.size()) < n) {
        std::optional<std::string> item = reader.next();
        if (!item) break;
        items.push_back(std::move(*item));
    }
    if (static_cast<int>(items.size()) < n)
        throw Failure("荷载文件 " + shown + " 只有 " + std::to_string(items.size()) + " 个荷载字符串, 少于梁数 " +
                      std::to_string(n) + " (" + product + ")");

    const std::vector<std::string> names = beamLoadBoxes(l, nf);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].find_first_not_of(" \t") != std::string::npos) continue;
        const std::string k = std::to_string(i + 1);
        const std::string box = i < names.size() ? ", " + frameBoxRole(names[i]) : std::string();
        throw Failure("荷载文件 " + shown + " 的第 " + k + " 个荷载字符串为空 (第 " + k + " 号梁" + box +
                      "), 导入后该梁会没有荷载: 无荷载的梁请写 \"0\", 多余的空行请删去");
    }

    LoadDistribution d;
    for (const std::string& item : items) d.paneText += quotedLoadString(item) + CRLF;
    for (std::size_t i = 0; i < names.size() && i < items.size(); ++i) d.boxes.emplace_back(names[i], items[i]);
    return d;
}

LoadDistribution distributeLoadFile(std::string_view slot, std::string_view spans, std::string_view storeys)
{
    return distributeLoadText(readTextFile(slotPath(slot), slot), slot, spans, storeys);
}

} // namespace kj
