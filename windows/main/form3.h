#pragma once
// The load editor. Created by the main window on first use,
// modeless, and afterwards only hidden and shown, so it keeps its contents.
// Boxes over the picture of three example beams compose a load string; it is
// appended to the load file, whose lines the pane shows for review.
#include "common_widgets/form_base.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>

namespace kjw {
class LoadPicture;
}

class Form3 : public kjw::FormBase {
    Q_OBJECT
public:
    // mainWindow is shown again when this window returns to it.
    explicit Form3(QWidget* mainWindow);

    kjw::LoadPicture* Image1;
    // N = 1: load, loaded length.
    QLineEdit *Text12, *Text13;
    // N = 2 and 3: left load and length, point load, right load and length.
    QLineEdit *Text14, *Text17, *Text15, *Text16, *Text18;
    // N = 5: three parts with their lengths and the two point loads between them.
    QLineEdit *Text19, *Text24, *Text22, *Text20, *Text25, *Text23, *Text21, *Text26;
    // The reminder of the field widths.
    QPlainTextEdit* Text1;
    QLabel* Label1;
    QComboBox* Combo2; // load code N
    QComboBox* Combo1; // the load file
    QPlainTextEdit* Text2; // the load file pane
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5;

public slots:
    void Form3_form_load();
    void Form3_Command1_Click(); // 返回计算窗口
    void Form3_Command2_Click(); // 追加荷载
    void Form3_Command3_Click(); // 荷载保存及排序
    void Form3_Command4_Click(); // 导入荷载文件
    void Form3_Command5_Click(); // 荷载更新

};
