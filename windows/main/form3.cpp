#include "common_widgets/button_tips.h"
#include "main/form3.h"

#include "common/failure.h"
#include "common_widgets/twips.h"
#include "common_widgets/ui_font.h"
#include "main/data_file_generation.h"
#include "main/load_file.h"
#include "main/load_picture.h"

#include <exception>

using kjw::boxText;
using kjw::fromBox;
using kjw::toPane;

Form3::Form3(QWidget* mainWindow) : kjw::FormBase(mainWindow)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("hzck"));
    setFont(kjw::songtiFont(9));
    setFixedSize(kjw::twipsSize(11340, 4920));

    // The picture lies under the boxes laid over it.
    Image1 = new kjw::LoadPicture(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(kjw::twipsRect(120, 120, 6825, 4575));

    Text12 = lineBox("Text12", 1200, 840, 735);
    Text13 = lineBox("Text13", 1200, 1800, 735);
    Text14 = lineBox("Text14", 3720, 840, 615);
    Text17 = lineBox("Text17", 3960, 1800, 615);
    Text15 = lineBox("Text15", 4680, 360, 615);
    Text16 = lineBox("Text16", 5520, 840, 615);
    Text18 = lineBox("Text18", 5400, 1800, 735);
    Text19 = lineBox("Text19", 1080, 3000, 615);
    Text24 = lineBox("Text24", 1080, 4080, 495);
    Text22 = lineBox("Text22", 2040, 2520, 615);
    Text20 = lineBox("Text20", 3120, 3120, 615);
    Text25 = lineBox("Text25", 3120, 4080, 615);
    Text23 = lineBox("Text23", 4440, 2520, 615);
    Text21 = lineBox("Text21", 5400, 3000, 615);
    Text26 = lineBox("Text26", 5400, 4080, 615);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(kjw::twipsRect(3000, 2400, 975, 495));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setTabChangesFocus(true);
    Text1->document()->setDocumentMargin(1);

    // Load code and load file.
    Label1 = label("Label1", QStringLiteral("荷载代号    N="), 7320, 2040, 840, 480, Qt::AlignLeft | Qt::AlignTop);
    Combo2 = list("Combo2", 8160, 2040, 735);
    Combo1 = list("Combo1", 7200, 840, 1815);
    Text2 = pane("Text2", 7080, 2640, 4095, 2055);

    Command4 = button("Command4", QStringLiteral("导入荷载文件"), 7200, 120, 1815, 600, &Form3::Form3_Command4_Click);
    Command1 = button("Command1", QStringLiteral("返回计算窗口"), 9480, 120, 1815, 600, &Form3::Form3_Command1_Click);
    Command5 = button("Command5", QStringLiteral("荷载更新"), 9480, 960, 1815, 600, &Form3::Form3_Command5_Click);
    Command3 = button("Command3", QStringLiteral("荷载保存及排序"), 7200, 1320, 1815, 600,
                      &Form3::Form3_Command3_Click);
    Command2 = button("Command2", QStringLiteral("追加荷载"), 9480, 1800, 1815, 600, &Form3::Form3_Command2_Click);

    // Initial texts: the example loads of the picture.
    const QList<QPair<QLineEdit*, const char*>> initial{
        {Text12, "98.78"}, {Text13, ""},     {Text14, "58.21"}, {Text17, "2.10"},  {Text15, "38.73"},
        {Text16, "*1"},    {Text18, "2.10"}, {Text19, "45.65"}, {Text24, "2.10"},  {Text22, "68.81"},
        {Text20, "32.53"}, {Text25, "1.80"}, {Text23, "*2"},    {Text21, "*1"},    {Text26, "2.10"},
    };
    for (const auto& [box, text] : initial) box->setText(QLatin1String(text));
    Text1->setPlainText(QStringLiteral("荷载5字节\n距离4字节"));

    Form3_form_load();
    kjw::explainButtons(this);
}

void Form3::Form3_form_load()
{
    fillList(Combo1, {QStringLiteral("\\hzwj-1.txt"), QStringLiteral("\\hzwj-2.txt"), QStringLiteral("\\hzwj-3.txt")},
             QStringLiteral("\\hzwj-1.txt"));
    fillList(Combo2, {QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("5")}, QStringLiteral("1"));
}

void Form3::Form3_Command1_Click()
{
    hide();
    if (QWidget* main = parentWidget()) {
        main->show();
        main->raise();
        main->activateWindow();
    }
}

void Form3::Form3_Command2_Click()
{
    kj::LoadBoxTexts boxes;
    for (QLineEdit* box : {Text12, Text13, Text14, Text15, Text16, Text17, Text18, Text19, Text20, Text21, Text22,
                           Text23, Text24, Text25, Text26})
        boxes[box->objectName().toStdString()] = boxText(box);
    const std::string load = kj::composeLoadString(boxText(Combo2), boxes);
    // The pane changes only once the string is in the file, so that saving the
    // pane afterwards can never replace the file by the new string alone.
    attempt(QStringLiteral("追加荷载"), [&] {
        Text2->setPlainText(toPane(kj::appendLoadString(boxText(Combo1), load)));
    });
}

void Form3::Form3_Command3_Click()
{
    attempt(QStringLiteral("荷载保存及排序"), [&] { kj::saveLoadPane(boxText(Combo1), boxText(Text2)); });
}

void Form3::Form3_Command4_Click()
{
    importPane(QStringLiteral("导入荷载文件"), Combo1, Text2);
}

void Form3::Form3_Command5_Click()
{
    attempt(QStringLiteral("荷载更新"), [&] { kj::emptyLoadFile(boxText(Combo1)); });
}
