#pragma once
// The internal-force diagram window. Created by the main window on first use,
// modeless, and afterwards only hidden and shown, so it keeps its contents.
// Over the frame picture each beam group shows the end moments, end shears
// and span moment of one beam of the force-diagram file and the beam number,
// and each column pair the moments at the column's top and bottom.
#include "viewers/result_viewer.h"

class Form5 : public ResultViewer {
    Q_OBJECT
public:
    // mainWindow is shown again when this window returns to it.
    explicit Form5(QWidget* mainWindow);

    // Column pairs 1 to 8: top moment, bottom moment.
    QLineEdit *Text42, *Text43, *Text44, *Text45, *Text46, *Text47, *Text48, *Text49;
    QLineEdit *Text50, *Text51, *Text52, *Text53, *Text54, *Text55, *Text56, *Text57;

public slots:
    void Form5_Command1_Click();  // 返回计算程序
    void Form5_Command2_Click();  // 1-1
    void Form5_Command3_Click();  // 2-1
    void Form5_Command4_Click();  // 3-1
    void Form5_Command5_Click();  // 1-2
    void Form5_Command6_Click();  // 内力图示
    void Form5_Command7_Click();  // 2-2
    void Form5_Command8_Click();  // 3-2
    void Form5_Command9_Click();  // 清  屏
    void Form5_Command10_Click(); // 梁号确定
    void Form5_Command11_Click(); // 保存文件
    void Form5_Command12_Click(); // 导入文件
};
