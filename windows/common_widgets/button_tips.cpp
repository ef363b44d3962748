#include "common_widgets/button_tips.h"

#include <QAbstractButton>
#include <QHash>
#include <QRegularExpression>
#include <QWidget>

namespace kjw {

QString buttonTip(const QString& caption)
{
    static const QHash<QString, QString> tips{
        // The main window.
        {QStringLiteral("导入数据文件"), QStringLiteral("读入文件框所指的文件, 显示在下面的文本框中")},
        {QStringLiteral("生成数据文件"),
         QStringLiteral("由框架图上的编号框、构件参数文件和节点荷载生成数据文件, 写入文件框所指的文件")},
        {QStringLiteral("保存数据文件"), QStringLiteral("把文本框中的内容存入文件框所指的文件")},
        {QStringLiteral("输入构件信息"), QStringLiteral("打开构件参数窗口: 跨长、截面及各构件的编号")},
        {QStringLiteral("导入构件数据"), QStringLiteral("读入构件参数文件, 填入框架图上的编号框和数值框")},
        {QStringLiteral("清屏"), QStringLiteral("隐藏框架图及其上的输入框")},
        {QStringLiteral("输入荷载信息"), QStringLiteral("打开荷载输入窗口, 组成各梁的荷载串")},
        {QStringLiteral("导入荷载数据"), QStringLiteral("读入荷载文件, 填入框架图上的梁荷载框")},
        {QStringLiteral("配筋查询"), QStringLiteral("打开配筋查询窗口, 按框架图查看梁柱配筋")},
        {QStringLiteral("内力查询"), QStringLiteral("打开内力查询窗口, 按框架图查看梁柱内力")},
        {QStringLiteral("框架配筋计算"),
         QStringLiteral("计算下面文件框所指的数据文件, 写出计算书 (计算文件名) 和结果文件 lpj-1.txt、mvts-1.txt")},
        {QStringLiteral("退出程序"), QStringLiteral("关闭程序的全部窗口")},
        {QStringLiteral("外部命令"), QStringLiteral("启动计算器、记事本等外部程序")},
        {QStringLiteral("常用荷载表"), QStringLiteral("在右下文本框中显示常用荷载表")},
        {QStringLiteral("使用说明"), QStringLiteral("在右下文本框中显示使用说明")},
        {QStringLiteral("钢筋面积表"), QStringLiteral("在右下文本框中显示钢筋面积表")},
        {QStringLiteral("图形结果"), QStringLiteral("打开框架图形窗口: 最后一次计算的计算简图、荷载、内力图、变形图和配筋图")},
        // The other windows.
        {QStringLiteral("返回计算窗口"), QStringLiteral("隐藏本窗口 (内容保留), 回到计算窗口")},
        {QStringLiteral("返回计算程序"), QStringLiteral("隐藏本窗口 (内容保留), 回到计算窗口")},
        {QStringLiteral("导入荷载文件"), QStringLiteral("读入文件框所指的荷载文件, 显示在文本框中")},
        {QStringLiteral("荷载更新"), QStringLiteral("清空文件框所指的荷载文件, 重新开始追加荷载串")},
        {QStringLiteral("荷载保存及排序"), QStringLiteral("把文本框中的荷载串排序后存入荷载文件")},
        {QStringLiteral("追加荷载"), QStringLiteral("由各荷载框组成一个荷载串, 追加到荷载文件末尾")},
        {QStringLiteral("生成杆件参数"), QStringLiteral("由长度、截面和编号框生成构件参数, 写入文件框所指的文件")},
        {QStringLiteral("杆件参数修正"), QStringLiteral("读入构件参数文件, 填回各编号框和数值框以便修改")},
        {QStringLiteral("梁号确定"), QStringLiteral("按 L、NF 框中的跨数和层数给各梁柱编号")},
        {QStringLiteral("配筋图示"), QStringLiteral("读入配筋结果文件, 把各梁柱的配筋填入框架图")},
        {QStringLiteral("内力图示"), QStringLiteral("读入内力结果文件, 把各梁柱的内力填入框架图")},
        {QStringLiteral("导入文件"), QStringLiteral("读入文件框所指的结果文件, 显示在文本框中")},
        {QStringLiteral("保存文件"), QStringLiteral("把文本框中的内容存入文件框所指的文件")},
        {QStringLiteral("组合计算"), QStringLiteral("计算各工况并按所列组合的包络配筋, 用计算窗口的设置")},
        {QStringLiteral("增加一行"), QStringLiteral("在所选行之后增加一个组合")},
        {QStringLiteral("删除一行"), QStringLiteral("删除所选的组合")},
        {QStringLiteral("保存工况"), QStringLiteral("把各工况的文件名和组合存入下面文件框所指的文件")},
        {QStringLiteral("导入工况"), QStringLiteral("从下面文件框所指的文件读回各工况的文件名和组合")},
        // The drawings.
        {QStringLiteral("适合窗口"), QStringLiteral("把整个图缩放到窗口大小")},
        {QStringLiteral("导出PNG"), QStringLiteral("把当前图层存为 PNG 图片")},
        {QStringLiteral("导出SVG"), QStringLiteral("把当前图层存为 SVG 矢量图")},
        {QStringLiteral("导出PDF"), QStringLiteral("把当前图层存为一页 PDF")},
        {QStringLiteral("打印"), QStringLiteral("打印当前图层")},
        {QStringLiteral("打开数据文件"), QStringLiteral("打开一个数据文件 (用计算窗口的设置) 或项目文件 (用其自身的设置和地震作用), 计算并画出 (不写任何文件)")},
        {QStringLiteral("生成计算书"), QStringLiteral("把当前的计算写成 A4 PDF 计算书, 与批处理命令为同一计算写出的相同")},
    };
    QString key = caption;
    key.remove(QLatin1Char(' '));
    static const QRegularExpression shape(QStringLiteral("^([1-9])-([1-9])$"));
    if (const auto m = shape.match(key); m.hasMatch())
        return QStringLiteral("框架样式: %1 跨 %2 层, 显示其框架图和输入框").arg(m.captured(1), m.captured(2));
    return tips.value(key);
}

void explainButtons(QWidget* window)
{
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->toolTip().isEmpty()) b->setToolTip(buttonTip(b->text()));
}

} // namespace kjw
