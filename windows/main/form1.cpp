#include "common_widgets/screen_fit.h"
#include "common_widgets/button_tips.h"
#include "main/form1.h"

#include "analysis/data_check.h"
#include "analysis/frame_data.h"
#include "analysis/plausible_sizes.h"
#include "calc/data_file_calculation.h"
#include "calc/run.h"
#include "common/text.h"
#include "cases/form_cases.h"
#include "common/failure.h"
#include "common/numbers.h"
#include "common/textfile.h"
#include "common_widgets/blank_wrap_label.h"
#include "common_widgets/column_label.h"
#include "common_widgets/form_base.h"
#include "common_widgets/frame_picture.h"
#include "common_widgets/twips.h"
#include "common_widgets/ui_font.h"
#include "main/data_file_generation.h"
#include "main/external_commands.h"
#include "main/form3.h"
#include "main/frame_boxes.h"
#include "editor/editor_form.h"
#include "graphics/graphics_form.h"
#include "main/reference_texts.h"
#include "main/report_view.h"
#include "main/working_folder.h"
#include "templates/frame_templates.h"
#include "members/form4.h"
#include "viewers/form2.h"
#include "viewers/form5.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QScrollBar>

#include <array>
#include <exception>
#include <tuple>

using kjw::twips;
using kjw::twipsRect;
using kjw::boxText;
using kjw::fromBox;
using kjw::toPane;

namespace {

// The one picture layout of the main window: column axes, beam levels and
// dimension lines where the entry boxes sit, in twips from the picture's corner.
const kjw::FrameGeometry kMainFrameGeometry{
    {1320, 4080, 6840, 9600}, // column axes 1 to 4
    {1140, 2940, 4740},       // upper beams, lower beams, ground
    262,                      // span dimension line, through the span boxes
    667,                      // storey dimension line, through the storey boxes
};


} // namespace

Form1::Form1(QWidget* parent) : kjw::FormBase(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("框架内力及配筋计算程序(Rvk)"));
    setFont(kjw::songtiFont(9));
    // The window of 15720 × 9645 twips, with a strip along the bottom for
    // the working folder and the report viewer.
    setFixedSize(kjw::twipsSize(15720, 10140));

    startProgram = [](const QString& program) { return QProcess::startDetached(program, {}); };
    chooseFolder = [this](const QString& from) {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("选择工作目录"), from);
    };

    // The frame pictures lie under everything laid over them.
    std::tie(Image1, Image2, Image3, Image4, Image5, Image6) = std::tuple_cat(framePictures(kMainFrameGeometry, 120, 240, 9945, 4905));

    // File slots and general entries.
    Label1 = label("Label1", QStringLiteral("计算文件名     构件名"), 10560, 120, 1935, 240);
    Combo1 = list("Combo1", 10320, 360, 1455);
    Combo38 = list("Combo38", 11880, 360, 1095);
    Label2 = label("Label2", QStringLiteral("砼,钢筋强度及节点荷载组数   C       Fy         NJ"), 10320, 720,
                   2400, 480);
    Combo35 = list("Combo35", 10320, 1200, 675);
    Combo36 = list("Combo36", 11040, 1200, 855);
    Combo37 = list("Combo37", 12000, 1200, 735);
    Label3 = label("Label3", QStringLiteral("数据更新 1"), 13080, 1680, 1035, 240);
    Combo21 = list("Combo21", 13080, 1920, 735);
    Label4 = label("Label4", QStringLiteral("主筋保护层"), 14160, 1680, 1215, 240);
    Combo19 = list("Combo19", 14160, 1920, 1215);
    Label5 = label("Label5", QStringLiteral("梁顶负弯矩  调幅系数"), 13080, 2220, 1035, 540);
    Combo22 = list("Combo22", 13080, 2760, 855);
    Label6 = label("Label6", QStringLiteral(" 自选箍筋  肢数  直径"), 14160, 2220, 1035, 540);
    Text82 = lineBox("Text82", 14160, 2760, 435);
    Text83 = lineBox("Text83", 14640, 2760, 435);
    Label7 = label("Label7", QStringLiteral("梁顶通长筋 根数  直径"), 13080, 3060, 1035, 540);
    Text78 = lineBox("Text78", 13080, 3600, 435);
    Text79 = lineBox("Text79", 13560, 3600, 435);
    Label8 = label("Label8", QStringLiteral("梁底通长筋  根数  直径"), 14160, 3060, 1035, 540);
    Text80 = lineBox("Text80", 14160, 3600, 435);
    Text81 = lineBox("Text81", 14640, 3600, 435);

    // Joint load groups 1 to 6, numbered down their left side.
    Label9 = label("Label9", QStringLiteral("个数  节点号  垂直力  弯矩 1位   N个2位  5位kn  6位kn-m"), 10440, 1560,
                   2625, 570);
    Label10 = new kjw::ColumnLabel(QStringLiteral("1    2    3    4    5    6"), twips(360), this);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setGeometry(twipsRect(10320, 2160 + 30, 240, 2160));
    Text60 = lineHighPane("Text60", 10560, 2160, 2055);
    Text61 = lineHighPane("Text61", 10560, 2520, 2055);
    Text62 = lineHighPane("Text62", 10560, 2880, 2055);
    Text63 = lineHighPane("Text63", 10560, 3240, 2055);
    Text64 = lineHighPane("Text64", 10560, 3600, 2055);
    Text65 = lineHighPane("Text65", 10560, 3960, 2055);

    // Boxes over the frame pictures: spans and storeys on the dimension
    // lines, section numbers beside their members, loads above their beams.
    const auto entry = [this](const char* name, int left, int top) {
        QLineEdit* box = lineBox(name, left, top, 375);
        frameBoxes_.push_back(box);
        return box;
    };
    const auto value = [this](const char* name, int left, int top, int width) {
        QLineEdit* box = lineBox(name, left, top, width);
        frameBoxes_.push_back(box);
        return box;
    };
    const auto load = [this](const char* name, int left, int top) {
        QPlainTextEdit* box = lineHighPane(name, left, top, 2415);
        frameBoxes_.push_back(box);
        return box;
    };
    Text5 = entry("Text5", 2280, 360);
    Text69 = value("Text69", 2760, 360, 735);
    Text70 = entry("Text70", 4920, 360);
    Text71 = value("Text71", 5400, 360, 735);
    Text72 = entry("Text72", 7800, 360);
    Text73 = value("Text73", 8280, 360, 735);
    Text74 = entry("Text74", 480, 1920);
    Text75 = value("Text75", 480, 2280, 615);
    Text76 = entry("Text76", 480, 3600);
    Text77 = value("Text77", 480, 3960, 615);
    Text32 = entry("Text32", 2040, 1440);
    Text33 = value("Text33", 2520, 1440, 975);
    Text38 = entry("Text38", 4800, 1440);
    Text39 = value("Text39", 5280, 1440, 855);
    Text42 = entry("Text42", 7680, 1440);
    Text43 = value("Text43", 8160, 1440, 855);
    Text46 = entry("Text46", 2040, 3240);
    Text47 = value("Text47", 2520, 3240, 855);
    Text52 = entry("Text52", 5040, 3240);
    Text53 = value("Text53", 5520, 3240, 735);
    Text56 = entry("Text56", 7680, 3240);
    Text57 = value("Text57", 8160, 3240, 855);
    Text34 = entry("Text34", 1560, 1800);
    Text35 = value("Text35", 1560, 2160, 735);
    Text36 = entry("Text36", 3720, 1800);
    Text37 = value("Text37", 3360, 2160, 735);
    Text40 = entry("Text40", 6480, 1800);
    Text41 = value("Text41", 6120, 2160, 735);
    Text44 = entry("Text44", 9240, 1800);
    Text45 = value("Text45", 8880, 2160, 735);
    Text48 = entry("Text48", 1560, 3840);
    Text49 = value("Text49", 1560, 4200, 735);
    Text50 = entry("Text50", 3720, 3840);
    Text51 = value("Text51", 3360, 4200, 735);
    Text54 = entry("Text54", 6480, 3960);
    Text55 = value("Text55", 6120, 4320, 735);
    Text58 = entry("Text58", 9240, 3840);
    Text59 = value("Text59", 8880, 4200, 735);
    Text6 = load("Text6", 1560, 960);
    Text7 = load("Text7", 4440, 960);
    Text10 = load("Text10", 7200, 960);
    Text27 = load("Text27", 1560, 2760);
    Text29 = load("Text29", 4440, 2760);
    Text31 = load("Text31", 7200, 2760);
    for (QWidget* box : frameBoxes_) box->hide();

    // The frame shape, set by the templates or typed.
    Text66 = lineBox("Text66", 4680, 4320, 915);
    Text67 = lineBox("Text67", 4680, 4680, 435);
    Text68 = lineBox("Text68", 5160, 4680, 435);
    Text66->setText(QStringLiteral("L跨 NF层"));

    // Template buttons.
    Label11 = label("Label11", QStringLiteral("框架梁跨数-框架层数"), 4800, 5400, 1800, 240);
    Command11 = button("Command11", QStringLiteral("1-1"), 4800, 5640, 555, 420, &Form1::Form1_Command11_Click);
    Command13 = button("Command13", QStringLiteral("2-1"), 5400, 5640, 555, 420, &Form1::Form1_Command13_Click);
    Command14 = button("Command14", QStringLiteral("3-1"), 6000, 5640, 555, 420, &Form1::Form1_Command14_Click);
    Command15 = button("Command15", QStringLiteral("1-2"), 4800, 6120, 555, 420, &Form1::Form1_Command15_Click);
    Command16 = button("Command16", QStringLiteral("2-2"), 5400, 6120, 555, 420, &Form1::Form1_Command16_Click);
    Command17 = button("Command17", QStringLiteral("3-2"), 6000, 6120, 555, 420, &Form1::Form1_Command17_Click);

    // The data file and its slot.
    Command8 = button("Command8", QStringLiteral("导入数据文件"), 360, 5280, 1695, 600, &Form1::Form1_Command8_Click);
    Command29 = button("Command29", QStringLiteral("生成数据文件"), 2280, 5280, 1695, 600, &Form1::Form1_Command29_Click);
    Command12 = button("Command12", QStringLiteral("保存数据文件"), 2280, 6000, 1695, 600, &Form1::Form1_Command12_Click);
    Combo20 = list("Combo20", 360, 6120, 1815);

    // Member data, loads and the other windows.
    Command18 = button("Command18", QStringLiteral("输入构件信息"), 6720, 5280, 1935, 600, &Form1::Form1_Command18_Click);
    Combo2 = list("Combo2", 6720, 6120, 1815);
    Command28 = button("Command28", QStringLiteral("导入构件数据"), 8880, 5280, 1815, 600, &Form1::Form1_Command28_Click);
    Command5 = button("Command5", QStringLiteral("清  屏"), 8880, 6240, 1095, 480, &Form1::Form1_Command5_Click);
    Command10 = button("Command10", QStringLiteral("输入荷载信息"), 10920, 5280, 1935, 600, &Form1::Form1_Command10_Click);
    Combo23 = list("Combo23", 10920, 6000, 1815);
    Command23 = button("Command23", QStringLiteral("导入荷载数据"), 13200, 5280, 1935, 600, &Form1::Form1_Command23_Click);
    Command9 = button("Command9", QStringLiteral("配筋查询"), 10200, 4440, 1335, 600, &Form1::Form1_Command9_Click);
    // Load cases and combinations: in the free space right of "清  屏", under
    // the load file slot.
    Command40 = button("Command40", QStringLiteral("工况组合"), 10035, 6360, 945, 480, &Form1::Form1_Command40_Click);
    Command40->setToolTip(QStringLiteral("荷载工况组合: 恒载、活载、风载分别计算, 按规范组合的包络配筋"));
    Command2 = button("Command2", QStringLiteral("内力查询"), 11640, 4440, 1335, 600, &Form1::Form1_Command2_Click);

    // The calculation and the right column.
    Command4 = button("Command4", QStringLiteral("框架配筋计算"), 13080, 4080, 2415, 600, &Form1::Form1_Command4_Click);
    Combo3 = list("Combo3", 13320, 4800, 1815);
    Command3 = button("Command3", QStringLiteral("退出程序"), 13080, 240, 2415, 600, &Form1::Form1_Command3_Click);
    Command6 = button("Command6", QStringLiteral("外部命令"), 13080, 960, 2415, 600, &Form1::Form1_Command6_Click);

    // Reference texts over the reference pane.
    Command7 = button("Command7", QStringLiteral("常用荷载表"), 13320, 6000, 1695, 435, &Form1::Form1_Command7_Click);
    Command30 = button("Command30", QStringLiteral("使用说明"), 11040, 6480, 1695, 435, &Form1::Form1_Command30_Click);
    Command1 = button("Command1", QStringLiteral("钢筋面积表"), 13320, 6480, 1695, 435, &Form1::Form1_Command1_Click);
    // The drawings of the last calculation, on the bottom strip.
    Command41 = button("Command41", QStringLiteral("图形结果"), 11280, 9600, 1335, 420, &Form1::Form1_Command41_Click);
    // The frame editor, between the drawings and the report viewer.
    Command42 = button("Command42", QStringLiteral("框架编辑器"), 12705, 9600, 1140, 420, &Form1::Form1_Command42_Click);
    Command42->setToolTip(QStringLiteral("在框架编辑窗口中输入任意跨数、层数的框架 (项目文件 *.kjpj), 边输入边看图"));

    // The design rule set, in a row of its own over the reference pane, which
    // gives up that row.
    Label12 = label("Label12", QStringLiteral("设计规范"), 8640, 7020, 795, 240, Qt::AlignLeft | Qt::AlignVCenter);
    Combo39 = list("Combo39", 9480, 6990, 1695);
    Label13 = label("Label13", QStringLiteral("箍筋 fyv"), 11400, 7020, 795, 240, Qt::AlignLeft | Qt::AlignVCenter);
    Combo40 = list("Combo40", 12240, 6990, 855);
    Label14 = label("Label14", QStringLiteral("环境类别"), 13200, 7020, 795, 240, Qt::AlignLeft | Qt::AlignVCenter);
    Combo41 = list("Combo41", 14040, 6990, 855);
    Combo41->setToolTip(QStringLiteral("GB50010-2010 的环境类别: 定出 8.2.1 的最小保护层 (保护层从箍筋外缘算起)"));

    // Panes.
    Text2 = pane("Text2", 120, 6720, 8295, 2775);
    Text3 = pane("Text3", 8640, 7380, 6975, 2115);

    // The bottom strip: the working folder and its button at the left, the
    // report viewer at the right.
    CommandFolder = button("CommandFolder", QStringLiteral("工作目录"), 120, 9600, 1335, 420,
                           &Form1::Form1_CommandFolder_Click);
    LabelFolder = new QLabel(this);
    LabelFolder->setObjectName(QStringLiteral("LabelFolder"));
    LabelFolder->setGeometry(kjw::twipsRect(1560, 9660, 9600, 300));
    LabelFolder->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    CommandReport = button("CommandReport", QStringLiteral("查看计算书"), 13920, 9600, 1695, 420,
                           &Form1::Form1_CommandReport_Click);
    CommandFolder->setToolTip(QStringLiteral("选择另一个工作目录: 以 \\ 开头的文件名都在工作目录中"));
    CommandReport->setToolTip(QStringLiteral("在单独的窗口中查看计算书 (计算文件名所指的文件), 显示最后一次计算"));
    showWorkingFolder();

    // What each box over the pictures holds.
    std::vector<QWidget*> explained = frameBoxes_;
    explained.insert(explained.end(), {Text60, Text61, Text62, Text63, Text64, Text65, Text67, Text68});
    for (QWidget* box : explained)
        box->setToolTip(QString::fromStdString(kj::frameBoxTip(box->objectName().toStdString())));

    Form1_form_load();
    kjw::explainButtons(this);
}

std::vector<QComboBox*> Form1::lists() const
{
    return {Combo1,  Combo2,  Combo3,  Combo19, Combo20, Combo21, Combo22,
            Combo23, Combo35, Combo36, Combo37, Combo38, Combo39, Combo40, Combo41};
}

void Form1::Form1_form_load()
{
    const auto fill = &FormBase::fillList;
    fill(Combo1, {QStringLiteral("\\zemowj1.txt"), QStringLiteral("\\zemowj2.txt"), QStringLiteral("\\zemowj3.txt")},
         QStringLiteral("\\zemowj1.txt"));
    fill(Combo2, {QStringLiteral("\\gjcs-1.txt"), QStringLiteral("\\gjcs-2.txt"), QStringLiteral("\\gjcs-3.txt")},
         QStringLiteral("\\gjcs-1.txt"));
    fill(Combo3, {QStringLiteral("\\KJ-1.txt"), QStringLiteral("\\KJ-2.txt"), QStringLiteral("\\KJ-3.txt")},
         QStringLiteral("\\KJ-1.txt"));
    fill(Combo19,
         {QStringLiteral("一般梁"), QStringLiteral("25"), QStringLiteral("特殊梁"), QStringLiteral("30"),
          QStringLiteral("基础梁"), QStringLiteral("35"), QStringLiteral("50")},
         QStringLiteral("25"));
    fill(Combo20,
         {QStringLiteral("\\KJ-1.txt"), QStringLiteral("\\zemowj1.txt"), QStringLiteral("\\Lpj-1.txt"),
          QStringLiteral("\\hzwj-1.txt"), QStringLiteral("\\gjcs-1.txt"), QStringLiteral("\\mvts-1.txt"),
          QStringLiteral("\\KJ-2.txt"), QStringLiteral("\\zemowj2.txt"), QStringLiteral("\\Lpj-2.txt"),
          QStringLiteral("\\hzwj-2.txt"), QStringLiteral("\\KJ-3.txt"), QStringLiteral("\\zemowj3.txt"),
          QStringLiteral("\\gjcs-2.txt"), QStringLiteral("\\gjcs-3.txt")},
         QStringLiteral("\\KJ-1.txt"));
    fill(Combo21, {QStringLiteral("0"), QStringLiteral("1")}, QStringLiteral("0"));
    fill(Combo22,
         {QStringLiteral("0.75"), QStringLiteral("0.80"), QStringLiteral("0.85"), QStringLiteral("0.90"),
          QStringLiteral("0.95"), QStringLiteral("1.00")},
         QStringLiteral("1.00"));
    fill(Combo23, {QStringLiteral("\\hzwj-1.txt"), QStringLiteral("\\hzwj-2.txt"), QStringLiteral("\\hzwj-3.txt")},
         QStringLiteral("\\hzwj-1.txt"));
    fill(Combo35,
         {QStringLiteral("15"), QStringLiteral("20"), QStringLiteral("25"), QStringLiteral("30"), QStringLiteral("35"),
          QStringLiteral("40")},
         QStringLiteral("30"));
    fill(Combo36,
         {QStringLiteral("210"), QStringLiteral("270"), QStringLiteral("300"), QStringLiteral("360"),
          QStringLiteral("435")},
         QStringLiteral("300"));
    fill(Combo37,
         {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
          QStringLiteral("5"), QStringLiteral("6")},
         QStringLiteral("0"));
    fill(Combo38,
         {QStringLiteral("KJ-1"), QStringLiteral("KJ-2"), QStringLiteral("KJ-3"), QStringLiteral("WKJ-1"),
          QStringLiteral("WKJ-2")},
         QStringLiteral("KJ-1"));
    fill(Combo39, {QStringLiteral("原方法"), QStringLiteral("GB50010-2010")}, QStringLiteral("原方法"));
    fill(Combo40, {QStringLiteral("270"), QStringLiteral("360")}, QStringLiteral("270"));
    fill(Combo41, {QStringLiteral("一类"), QStringLiteral("二a"), QStringLiteral("二b")}, QStringLiteral("一类"));
    // The stirrup strength and the environment class are choices of
    // GB 50010-2010 only: the default method always designs its stirrups for
    // 210, which the greyed box shows, and takes the cover as typed.
    const auto fyvFollowsCode = [this] {
        const bool code2010 = Combo39->currentText().trimmed() != QStringLiteral("原方法");
        if (Combo40->isEnabled() && !code2010) {
            fyv2010_ = Combo40->currentText();
            Combo40->setEditText(QStringLiteral("210"));
        } else if (!Combo40->isEnabled() && code2010) {
            Combo40->setEditText(fyv2010_);
        }
        Combo40->setEnabled(code2010);
        Combo41->setEnabled(code2010);
    };
    connect(Combo39, &QComboBox::currentTextChanged, this, fyvFollowsCode);
    fyvFollowsCode();
    Text82->setText(QStringLiteral("2"));
    Text83->setText(QStringLiteral("6"));
    Text78->setText(QStringLiteral("2"));
    Text79->setText(QStringLiteral("zd"));
    Text80->setText(QStringLiteral("2"));
    Text81->setText(QStringLiteral("zd"));
}

// ---- Frame templates and clear ------------------------------------------

void Form1::showTemplate(int k)
{
    const kj::FrameTemplate& t = kj::frameTemplates()[static_cast<std::size_t>(k)];
    QWidget* picture = std::array<QWidget*, 6>{Image1, Image2, Image3, Image4, Image5, Image6}[static_cast<std::size_t>(k)];
    picture->show();
    picture->raise(); // the latest picture on top of earlier ones, under every box
    // A template shows its boxes and leaves those of an earlier one shown.
    for (const char* name : t.shownBoxes(true))
        for (QWidget* box : frameBoxes_)
            if (box->objectName() == QLatin1String(name)) box->show();
    for (QWidget* box : frameBoxes_) box->raise();
    for (QWidget* box : {Text66, Text67, Text68}) box->raise();
    Text67->setText(QString::number(t.spans));
    Text68->setText(QString::number(t.storeys));
}

void Form1::Form1_Command11_Click()
{
    showTemplate(0);
}

void Form1::Form1_Command13_Click()
{
    showTemplate(1);
}

void Form1::Form1_Command14_Click()
{
    showTemplate(2);
}

void Form1::Form1_Command15_Click()
{
    showTemplate(3);
}

void Form1::Form1_Command16_Click()
{
    showTemplate(4);
}

void Form1::Form1_Command17_Click()
{
    showTemplate(5);
}

void Form1::Form1_Command5_Click()
{
    for (QWidget* box : frameBoxes_) box->hide();
    for (QWidget* picture : {Image1, Image2, Image3, Image4, Image5, Image6}) picture->hide();
    update();
}

void Form1::Form1_Command3_Click()
{
    if (editor_ && !editor_->maySwitch()) return; // the editor's unsaved changes: kept when cancelled
    QCoreApplication::quit();
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (editor_ && !editor_->maySwitch()) event->ignore();
    else event->accept();
}

// ---- Calculation ----------------------------------------------------------

void Form1::Form1_Command4_Click()
{
    // The confirmation names the file about to be calculated and its frame,
    // so that a slot left on another file is seen before it is calculated.
    const std::string dataName = fromBox(Combo3->currentText());
    QString frame;
    try {
        const kj::FrameData d =
            kj::FrameFileReader(kj::readTextFile(kj::slotPath(dataName), dataName), dataName).readRecords1to5();
        frame = QStringLiteral("框架 %1, %2 跨 × %3 层").arg(QString::fromStdString(d.name)).arg(d.L).arg(d.NF);
    } catch (const std::exception& e) {
        frame = QStringLiteral("读不出框架: ") + QString::fromStdString(kj::failureText(e));
    }
    const QString prompt = QStringLiteral("谢谢使用,请多提宝贵意见!\n"
                                          "平面框架内力分析及配筋计算程序\n"
                                          "将计算数据文件 %1 (%2)\n\n"
                                          "请先保存数据文件, 任意键返回,确定输 y")
                               .arg(QString::fromStdString(dataName), frame);
    const QString answer = inputBox(prompt, QStringLiteral("框架配筋计算程序"), QStringLiteral("?"),
                                    kjw::twipsPoint(10000, 1000));
    if (answer != QLatin1String("y")) return;

    const kj::CalcRequest request = calcRequest();
    // The data file is read once: the data check and the calculation use
    // the same text.
    QString listed;
    try {
        const kj::PreparedCalculation prepared = kj::prepareCalculation(request);
        std::vector<std::string> warnings;
        for (const kj::InputCheck& check : prepared.checks)
            for (const kj::DataWarning& w : check.warnings) warnings.push_back(w.message);
        if (!warnings.empty()) {
            listed = QStringLiteral("数据文件 %1 中有 %2 处字段读不清, 计算按读出的数值进行, 请核对:")
                         .arg(QString::fromStdString(kj::clipForMessage(request.dataName)))
                         .arg(warnings.size());
            for (const std::string& line : kj::cappedWarnings(warnings))
                listed += QStringLiteral("\n") + QString::fromStdString(line);
        }
        kj::CalcResult result = kj::writeCalculation(request, prepared);
        for (const std::string& line : kj::analysedOnlyLines(result.calculation.model))
            listed += (listed.isEmpty() ? QString() : QStringLiteral("\n")) + QString::fromStdString(line);
        Text2->setPlainText(toPane(result.beamBarsText));
        Text3->setPlainText(toPane(result.forceDiagramText));
        lastCalculation_ = std::make_shared<const kj::FileCalculation>(kj::fileCalculation(result));
        if (graphics_) graphics_->showCalculation(lastCalculation_, lastOrigin());
    } catch (const std::exception& e) {
        // One message: why the calculation stopped, and what the file holds that may explain it.
        reportFailure(QStringLiteral("框架配筋计算"),
                      kj::failureText(e) + (listed.isEmpty() ? std::string() : "\n\n" + listed.toStdString()));
        return;
    }
    if (!listed.isEmpty()) messageBox(listed);
}

kj::CalcRequest Form1::calcRequest() const
{
    kj::CalcRequest request;
    request.reportName = fromBox(Combo1->currentText());
    request.dataName = fromBox(Combo3->currentText());
    request.renewal = fromBox(Combo21->currentText());
    request.design = designSettings();
    return request;
}

QString Form1::lastOrigin() const
{
    return QStringLiteral("主窗口的计算, ") + QString::fromStdString(lastCalculation_->calculation.model.fileName);
}

kj::DesignSettings Form1::designSettings() const
{
    kj::DesignSettings design;
    design.beta = fromBox(Combo22->currentText());
    design.cover = fromBox(Combo19->currentText());
    design.topCount = fromBox(Text78->text());
    design.topDiameter = fromBox(Text79->text());
    design.bottomCount = fromBox(Text80->text());
    design.bottomDiameter = fromBox(Text81->text());
    design.stirrupLegs = fromBox(Text82->text());
    design.stirrupDiameter = fromBox(Text83->text());
    design.code = fromBox(Combo39->currentText());
    if (Combo40->isEnabled()) design.fyv = fromBox(Combo40->currentText());
    if (Combo41->isEnabled()) design.environment = fromBox(Combo41->currentText());
    return design;
}

// ---- Data file --------------------------------------------------------------

void Form1::Form1_Command29_Click()
{
    kj::MainEntries entries;
    entries.frameName = fromBox(Combo38->currentText());
    entries.spans = fromBox(Text67->text());
    entries.storeys = fromBox(Text68->text());
    entries.jointGroups = fromBox(Combo37->currentText());
    entries.fy = fromBox(Combo36->currentText());
    entries.concrete = fromBox(Combo35->currentText());
    for (QWidget* box : frameBoxes_) entries.boxes[box->objectName().toStdString()] = boxText(box);
    for (QWidget* box : {Text60, Text61, Text62, Text63, Text64, Text65})
        entries.boxes[box->objectName().toStdString()] = boxText(box);
    attempt(QStringLiteral("生成数据文件"), [&] {
        const std::string text = kj::generateDataFile(entries, fromBox(Combo2->currentText()),
                                                      fromBox(Combo20->currentText()));
        Text2->setPlainText(toPane(text));
    });
}

void Form1::Form1_Command8_Click()
{
    importPane(QStringLiteral("导入数据文件"), Combo20, Text2);
}

void Form1::Form1_Command12_Click()
{
    savePane(QStringLiteral("保存数据文件"), Combo20, Text2);
}

// ---- Reference texts and external commands ------------------------------------

void Form1::Form1_Command30_Click()
{
    Text3->setPlainText(toPane(kj::usageText()));
}

void Form1::Form1_Command7_Click()
{
    Text3->setPlainText(toPane(kj::commonLoadsText()));
}

void Form1::Form1_Command1_Click()
{
    Text3->setPlainText(toPane(kj::rebarAreaText()));
}

QString Form1::retnum()
{
    return inputBox(toPane(kj::externalCommandPrompt()), QString(), QString(), std::nullopt);
}

void Form1::Form1_Command6_Click()
{
    const double value = kj::numberValue(fromBox(retnum()));
    int choice = 0;
    for (int listed : {1, 2, 3, 5})
        if (value == listed) {
            choice = listed;
            break;
        }
    if (choice == 0) {
        messageBox(QStringLiteral("请输入 1-5 的数"));
        return;
    }
    QStringList tried;
    for (const std::string& program : kj::externalCommandPrograms(choice)) {
        const QString name = QString::fromStdString(program);
        if (startProgram(name)) return;
        tried << name;
    }
    messageBox(QStringLiteral("未能启动%1: 本机上找不到可以启动的程序(已试过 %2)。")
                   .arg(QString::fromStdString(kj::externalCommandName(choice)), tried.join(QStringLiteral("、"))));
}

// ---- Other windows: opened here once their windows exist --------------------------

// ---- The other windows ----------------------------------------------------

namespace {
// Created on first use, then only shown again: each keeps its contents.
template <class W>
W* openWindow(W*& window, Form1* main)
{
    if (!window) window = new W(main);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
} // namespace

Form3* Form1::form3() { return openWindow(form3_, this); }
ReportView* Form1::reportView() { return openWindow(reportView_, this); }
Form4* Form1::form4() { return openWindow(form4_, this); }
Form2* Form1::form2() { return openWindow(form2_, this); }
Form5* Form1::form5() { return openWindow(form5_, this); }

FormCases* Form1::formCases()
{
    const bool first = formCases_ == nullptr;
    openWindow(formCases_, this);
    if (first) {
        // The envelope calculation takes the main window's settings as they
        // are when it runs, and shows the result files' texts here.
        formCases_->mainRequest = [this] { return calcRequest(); };
        formCases_->showResult = [this](const kj::CalcResult& result) {
            Text2->setPlainText(toPane(result.beamBarsText));
            Text3->setPlainText(toPane(result.forceDiagramText));
            // The graphics window draws the envelope, every case and every
            // combination, and writes the run's book again, earthquake included.
            lastCalculation_ = std::make_shared<const kj::FileCalculation>(kj::fileCalculation(result));
            if (graphics_) graphics_->showCalculation(lastCalculation_, lastOrigin());
        };
    }
    return formCases_;
}

GraphicsForm* Form1::graphicsForm()
{
    if (!graphics_) {
        graphics_ = new GraphicsForm(this);
        graphics_->designSettings = [this] { return designSettings(); };
        kjw::resizeToFit(graphics_, graphics_->sizeHint());
        if (lastCalculation_) graphics_->showCalculation(lastCalculation_, lastOrigin());
    }
    return openWindow(graphics_, this);
}

void Form1::Form1_Command10_Click() { form3(); }
void Form1::Form1_Command18_Click() { form4(); }
void Form1::Form1_Command9_Click() { form2(); }
void Form1::Form1_Command2_Click() { form5(); }

// ---- Working folder and report ------------------------------------------------

void Form1::showWorkingFolder()
{
    const QString folder = QDir::toNativeSeparators(QString::fromStdU16String(kj::workingRoot().u16string()));
    LabelFolder->setToolTip(folder);
    LabelFolder->setText(QStringLiteral("工作目录: ") +
                         LabelFolder->fontMetrics().elidedText(folder, Qt::ElideMiddle,
                                                               LabelFolder->width() - kjw::twips(1200)));
}

void Form1::Form1_CommandFolder_Click()
{
    const QString from = QString::fromStdU16String(kj::workingRoot().u16string());
    const QString chosen = chooseFolder(from);
    if (chosen.isEmpty()) return;
    if (!kjw::enterFolder(chosen)) {
        messageBox(QStringLiteral("工作目录未改变:\n无法进入文件夹 %1").arg(QDir::toNativeSeparators(chosen)));
        return;
    }
    kjw::programSettings().setValue(QLatin1String(kjw::kWorkingFolderKey), QDir::currentPath());
    kjw::programSettings().sync();
    showWorkingFolder();
}

void Form1::Form1_CommandReport_Click()
{
    const std::string slot = fromBox(Combo1->currentText());
    attempt(QStringLiteral("查看计算书"), [&] {
        kj::completeInterruptedCommit(); // never half of a run's files
        kj::readTextFile(kj::slotPath(slot), slot); // a missing report opens no window
        reportView()->showReport(slot);
    });
}
void Form1::Form1_Command40_Click() { formCases(); }
void Form1::Form1_Command41_Click() { graphicsForm(); }

EditorForm* Form1::editorForm() { return openWindow(editor_, this); }
void Form1::Form1_Command42_Click() { editorForm(); }
