#include "main/frame_boxes.h"

#include "common/failure.h"
#include "common/text.h"
#include "templates/frame_templates.h"

#include <array>

namespace kj {

namespace {

struct NamedBox {
    const char* box;
    const char* role;
    const char* holds;
};

constexpr const char* kLoadText =
    "荷载个数 1 位;\n均布荷载为数值 5 位 + 长度 4 位 (m), 集中力为数值 5 位 + P,\n"
    "*k 引用本梁第 k 个荷载的数值;\n无荷载写 0, 两位数字如 03 表示与第 3 号梁相同";
constexpr const char* kJointText =
    "节点个数 1 位, 节点号每个 2 位 (如 01),\n垂直力 5 位 (kN, 向下为正), 弯矩 6 位 (kN·m, 逆时针为正)";

constexpr std::array<NamedBox, 8> kOthers{{
    {"Text60", "第 1 组节点荷载", kJointText},
    {"Text61", "第 2 组节点荷载", kJointText},
    {"Text62", "第 3 组节点荷载", kJointText},
    {"Text63", "第 4 组节点荷载", kJointText},
    {"Text64", "第 5 组节点荷载", kJointText},
    {"Text65", "第 6 组节点荷载", kJointText},
    {"Text67", "框架跨数 L", "1-3 跨时框架按钮填入, 也可直接输入"},
    {"Text68", "框架层数 NF", "1-2 层时框架按钮填入, 也可直接输入"},
}};

bool isLength(const FramePlace& p)
{
    return p.kind == PlaceKind::Span || p.kind == PlaceKind::Storey;
}

} // namespace

std::string frameBoxRole(std::string_view box)
{
    if (const FramePlace* p = placeOfBox(box)) {
        const std::string name = p->name;
        if (box == p->entry) return isLength(*p) ? name + "编号" : name + "截面编号";
        if (box == p->value) return isLength(*p) ? name + " (m)" : name + "截面 b,h (m)";
        return name + "荷载串";
    }
    for (const NamedBox& o : kOthers)
        if (box == o.box) return o.role;
    return {};
}

std::string frameBoxTip(std::string_view box)
{
    if (const FramePlace* p = placeOfBox(box)) {
        const bool length = isLength(*p);
        if (box == p->entry)
            return frameBoxRole(box) + (length ? ": 构件参数文件跨长表中的序号 1–5" : ": 构件参数文件断面表中的序号 1–6");
        if (box == p->value)
            return frameBoxRole(box) + (length ? ": 跨长编号从跨长表选出的长度" : ": 截面编号从断面表选出的宽 b 和高 h");
        return frameBoxRole(box) + ": " + kLoadText;
    }
    for (const NamedBox& o : kOthers)
        if (box == o.box) return std::string(o.role) + ": " + o.holds;
    return {};
}

void requireOneDigit(const std::vector<const char*>& entryBoxes,
                     const std::map<std::string, std::string, std::less<>>& texts)
{
    for (const char* box : entryBoxes) {
        const auto found = texts.find(std::string_view(box));
        const std::string text = found == texts.end() ? std::string() : found->second;
        if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') continue;
        const std::string role = frameBoxRole(box);
        if (text.empty()) throw Failure(role + "为空: 每个编号框填一位数字 (0-9)");
        throw Failure(role + " " + quoteForMessage(text) + " 不是一位数字: 每个编号框只填一位数字 (0-9), 否则其后的编号都会错位");
    }
}

} // namespace kj
