#pragma once
// The reinforcement drawing window. Created by the main window on first use,
// modeless, and afterwards only hidden and shown, so it keeps its contents.
// Over the frame picture each beam group shows the five strings of one line
// of the beam reinforcement file and the beam number.
#include "viewers/result_viewer.h"

class Form2 : public ResultViewer {
    Q_OBJECT
public:
    // mainWindow is shown again when this window returns to it.
    explicit Form2(QWidget* mainWindow);

public slots:
    void Form2_Command1_Click();  // 返回计算程序
    void Form2_Command2_Click();  // 1-1
    void Form2_Command3_Click();  // 2-1
    void Form2_Command4_Click();  // 3-1
    void Form2_Command5_Click();  // 1-2
    void Form2_Command6_Click();  // 配筋图示
    void Form2_Command7_Click();  // 2-2
    void Form2_Command8_Click();  // 3-2
    void Form2_Command9_Click();  // 清  屏
    void Form2_Command10_Click(); // 梁号确定
    void Form2_Command11_Click(); // 保存文件
    void Form2_Command12_Click(); // 导入文件
};
