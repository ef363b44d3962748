#include "main/reference_texts.h"

#include "common/numbers.h"
#include "common/text.h"

#include <cstdio>
#include <initializer_list>
#include <numbers>

namespace kj {

namespace {

std::string joinLines(std::initializer_list<const char*> lines)
{
    std::string text;
    bool first = true;
    for (const char* line : lines) {
        if (!first) text += CRLF;
        text += line;
        first = false;
    }
    return text;
}

// A whole number right-aligned in a field of the given width.
std::string field(long long value, int width)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%*lld", width, value);
    return buffer;
}

// Thousandths as a decimal with three places, right-aligned.
std::string fieldThousandths(long long thousandths, int width)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%lld.%03lld", thousandths / 1000, thousandths % 1000);
    std::string text = buffer;
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

} // namespace

std::string usageText()
{
    return joinLines({
        "                 框架输入说明",
        "   第一类数据依次为：构件名，梁跨数，层数，节点荷载组数，按框架计算（0），",
        "如：KJ-1,2,1,2,0, 表示框架代号为KJ-1，2跨，1层，两组节点荷载，按框架计算，",
        "   第二类数按跨度及层高确定，分别按先梁后从上到下的原则输入各跨及各层的数",
        "据(m)；梁、柱每个四位。如：4.503.30(m)，再输入相应跨长编号；",
        "   第三类数分别输入各截面号的数据，先宽后高 如：.25.45.40.50，再按先梁后",
        "柱、从左至右及从上至下的原则输入相应截面编号；",
        "   荷载数据为每跨作用个数（1位），荷载大小kn（5位），距左端跨离m（4位，",
        "集中力输P）；",
        "   节点荷载数据为同种类个数（1位），作用节点号（同种个数*2位），节点垂",
        "直力kn（5位），节点弯矩kn-m（6位，逆时针为正）；",
        "   梁、柱及节点编号原则为先梁后柱、从左至右及从上至下；",
        "   输入信息中，如梁间荷载或节点荷载显示超长时，可用人工回车换行后，执行",
        "保存即可；",
        "   梁跨数或层数超过图示时，可直接将数据文件按计算要求修改并保存后，执行",
        "配筋计算即可。",
        "   输出文件中：",
        "  M1 V1 As Asv M2 V2 As Asv Mo 剪折点 As As'  分别表示左，右的弯矩、剪",
        "力，正、斜截面配面积或箍筋肢数、直径及间距规格，其次是跨中弯矩、距左端",
        "支坐弯矩最大处，跨中及受压筋面积；",
        "   M1 N1 As As' M2 N2 As As'  分别表示柱上、下端的弯矩、轴力及单边配筋",
        "面积。",
        "                               输入步骤",
        "1、总信息包括砼及钢筋强度、计算文件名、构件名、节点荷载组数及相应数据；",
        "2、依次输入杆件信息、荷载信息后即可生数据文件。按照保存的数据文件则可进",
        "行框架配筋计算。如需查看钢筋或内力，直接进入配筋或内力查询即可。",
    });
}

std::string commonLoadsText()
{
    return joinLines({
        "双面抹灰标砖墙: 120/2.96  180/4.10  240/5.24  370/7.89",
        "双面抹加气砼墙: 75/1.45  90/1.55  115/1.73  140/1.91",
        "                190/2.30  200/2.38  240/2.68",
        "双抹淘粒空心墙: 200/1.70  240/2.00",
        "双抹煤碴空心墙: 90/1.85  115/2.01  140/2.19  ",
        "                190/2.57  240/2.90",
        "预应力楼面空心板: 120/3.80  180/4.10",
        "预应力屋面空心板: 120/5.5   180/5.8",
        "楼面现浇板: 25h+1.9  屋面现浇板: 25h+3.8  厕所现浇板: 25h+4",
        "",
        "普通楼面活载: 2.0      厕所活载: 2.5     商场活载: 3.5",
        "    车库活载: 4.0  屋顶花园活载: 3.0   楼梯间活载: 2.5",
        "  档案库活载: 5.0    健身房活载: 4.0 ",
    });
}

std::string rebarAreaText()
{
    std::string text = "直径 1根  2根  3根  4根  5根 直径 6根  7根  8根  9根 每米重 直径";
    for (int d : {6, 8, 10, 12, 14, 16, 18, 20, 22, 25}) {
        const double oneBar = std::numbers::pi * d * d / 4.0; // mm²
        const auto area = [&](int n) { return static_cast<long long>(roundHalfEven(n * oneBar)); };
        // Steel of 7850 kg/m³: kg per metre of bar is 0.00785 per mm² of area.
        const auto massThousandths = static_cast<long long>(roundHalfEven(oneBar * 0.00785 * 1000.0));
        text += CRLF;
        text += field(d, 3);
        for (int n = 1; n <= 5; ++n) text += field(area(n), 5);
        text += field(d, 4);
        for (int n = 6; n <= 9; ++n) text += field(area(n), 5);
        text += fieldThousandths(massThousandths, 6);
        text += field(d, 5);
    }
    return text;
}

} // namespace kj
