#include "analysis/frame_data.h"

#include "common/failure.h"
#include "common/numbers.h"
#include "common/text.h"

#include <string>

namespace kj {

FrameFileReader::FrameFileReader(std::string text, std::string fileName)
    : items_(std::move(text)), fileName_(std::move(fileName))
{
}

std::string FrameFileReader::item(const char* record, int itemNo)
{
    auto it = items_.next();
    if (!it)
        throw Failure("数据文件 " + fileName_ + " 不完整: " + record + "缺少第 " + std::to_string(itemNo) + " 项");
    return *it;
}

FrameData FrameFileReader::readRecords1to5()
{
    FrameData d;
    d.fileName = fileName_;
    const char* header = "第 1 类数据(构件名, L, NF, NJ, CL, NZ)";
    d.name = item(header, 1);
    d.itemL = item(header, 2);
    d.itemNF = item(header, 3);
    d.itemNJ = item(header, 4);
    d.itemCL = item(header, 5);
    d.itemNZ = item(header, 6);
    d.L = indexValue(d.itemL);
    d.NF = indexValue(d.itemNF);
    d.NJ = indexValue(d.itemNJ);
    d.CL = numberValue(d.itemCL);
    d.NZ = numberValue(d.itemNZ);

    const std::string where = "数据文件 " + fileName_ + ": ";
    if (d.L < 1) throw Failure(where + "梁跨数 L 为 " + clipForMessage(d.itemL) + ", 应至少为 1");
    if (d.NF < 1) throw Failure(where + "层数 NF 为 " + clipForMessage(d.itemNF) + ", 应至少为 1");
    if (d.NF > kMaxStoreys)
        throw Failure(where + "层数 NF = " + std::to_string(d.NF) + " 超过上限 " + std::to_string(kMaxStoreys));
    if (d.L > kMaxBeams || d.NB() > kMaxBeams)
        throw Failure(where + "梁数 L×NF 超过上限 " + std::to_string(kMaxBeams));
    if (d.NC() > kMaxNodes)
        throw Failure(where + "节点数 (L+1)×NF = " + std::to_string(d.NC()) + " 超过上限 " + std::to_string(kMaxNodes));
    if (d.NJ > kMaxJointGroups)
        throw Failure(where + "节点荷载组数 NJ = " + std::to_string(d.NJ) + " 超过上限 " + std::to_string(kMaxJointGroups));

    const char* lengths = "第 2 类数据(长度表, 长度编号)";
    d.lengthTable = item(lengths, 1);
    d.lengthNumbers = item(lengths, 2);
    const char* sections = "第 3 类数据(截面表, 截面编号)";
    d.sectionTable = item(sections, 1);
    d.memberSections = item(sections, 2);

    const std::string loads = "梁间荷载数据(共 " + std::to_string(d.NB()) + " 项)";
    for (int i = 1; i <= d.NB(); ++i) d.spanLoads.push_back(item(loads.c_str(), i));
    if (d.NJ > 0) {
        const std::string joints = "节点荷载数据(共 " + std::to_string(d.NJ) + " 组)";
        for (int g = 1; g <= d.NJ; ++g) d.jointLoads.push_back(item(joints.c_str(), g));
    }
    return d;
}

Materials FrameFileReader::readMaterials()
{
    const char* rec = "最后一类数据(Fy, C)";
    Materials m;
    std::string fy = item(rec, 1);
    std::string c = item(rec, 2);
    m.Fy = numberValue(fy);
    m.C = numberValue(c);
    const std::string where = "数据文件 " + fileName_ + ": ";
    if (!(m.Fy > 0)) throw Failure(where + "钢筋强度 Fy 为 " + quoteForMessage(fy) + ", 应为正数");
    if (!(m.C > 0)) throw Failure(where + "砼强度等级 C 为 " + quoteForMessage(c) + ", 应为正数");
    return m;
}

} // namespace kj
