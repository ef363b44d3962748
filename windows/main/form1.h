#pragma once
// The main window: file slots, general entries, frame templates with their
// entry boxes, the data-file pane Text2, the reference pane Text3, and the
// buttons of the calculation, the data file and the other windows.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPoint>
#include <QPushButton>
#include <QWidget>

#include "common_widgets/form_base.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kjw {
class FramePicture;
}
class Form2;
class Form3;
class Form4;
class Form5;
class ReportView;
class FormCases;
class GraphicsForm;
class EditorForm;
namespace kj {
struct CalcRequest;
struct DesignSettings;
struct FileCalculation;
}

class Form1 : public kjw::FormBase {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    // Starts a program by its bare name without waiting; false when it could not start.
    std::function<bool(const QString&)> startProgram;
    // Asks for a folder, starting at the given one; empty when cancelled.
    std::function<QString(const QString&)> chooseFolder;

    // The other windows: created on first use, then shown again. Each call
    // shows the window.
    Form2* form2();
    Form3* form3();
    Form4* form4();
    Form5* form5();
    ReportView* reportView();
    FormCases* formCases();
    bool hasCasesForm() const { return formCases_ != nullptr; }

    // The calculation request of the main window's settings: report,
    // renewal, data file and design settings.
    kj::CalcRequest calcRequest() const;
    // The graphics window "框架图形", showing the last calculation.
    GraphicsForm* graphicsForm();
    bool hasGraphicsForm() const { return graphics_ != nullptr; }
    // The frame editor "框架编辑", created on first use.
    EditorForm* editorForm();
    // The last calculation run by "框架配筋计算", none before the first.
    std::shared_ptr<const kj::FileCalculation> lastCalculation() const { return lastCalculation_; }
    // The design settings as the boxes hold them now.
    kj::DesignSettings designSettings() const;
    // Whether a window has been created yet (tests).
    bool hasForm(int n) const { return (n == 2 && form2_) || (n == 3 && form3_) || (n == 4 && form4_) || (n == 5 && form5_); }

    // The external command menu's input box: builds the prompt, asks, returns the answer.
    QString retnum();

    // Every entry, value and load box laid over the frame pictures.
    const std::vector<QWidget*>& frameBoxes() const { return frameBoxes_; }
    std::vector<QComboBox*> lists() const;

    // File slots.
    QComboBox *Combo1, *Combo2, *Combo3, *Combo20, *Combo23;
    // General entries.
    QComboBox *Combo19, *Combo21, *Combo22, *Combo35, *Combo36, *Combo37, *Combo38;
    // The design rule set, and the stirrup fyv and environment class of
    // GB 50010-2010 (greyed with the default method).
    QComboBox *Combo39, *Combo40, *Combo41;
    QLineEdit *Text78, *Text79, *Text80, *Text81, *Text82, *Text83;
    QLineEdit *Text66, *Text67, *Text68;
    QPlainTextEdit *Text60, *Text61, *Text62, *Text63, *Text64, *Text65;
    // Panes.
    QPlainTextEdit *Text2, *Text3;
    // Frame pictures, 1-1, 2-1, 3-1, 1-2, 2-2, 3-2.
    kjw::FramePicture *Image1, *Image2, *Image3, *Image4, *Image5, *Image6;
    // Span and storey length numbers and their values.
    QLineEdit *Text5, *Text69, *Text70, *Text71, *Text72, *Text73;
    QLineEdit *Text74, *Text75, *Text76, *Text77;
    // Section numbers of beams and columns and their values.
    QLineEdit *Text32, *Text33, *Text34, *Text35, *Text36, *Text37, *Text38, *Text39, *Text40, *Text41;
    QLineEdit *Text42, *Text43, *Text44, *Text45, *Text46, *Text47, *Text48, *Text49, *Text50, *Text51;
    QLineEdit *Text52, *Text53, *Text54, *Text55, *Text56, *Text57, *Text58, *Text59;
    // Beam load strings.
    QPlainTextEdit *Text6, *Text7, *Text10, *Text27, *Text29, *Text31;
    // Buttons.
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5, *Command6, *Command7;
    QPushButton *Command8, *Command9, *Command10, *Command11, *Command12, *Command13, *Command14;
    QPushButton *Command15, *Command16, *Command17, *Command18, *Command23, *Command28, *Command29;
    QPushButton *Command30;
    QPushButton *Command40; // 工况组合: the window of load cases and combinations
    QPushButton *Command41; // 图形结果: the graphics window
    QPushButton *Command42; // 框架编辑器: the frame editor
    // Captions over the entries.
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10;
    QLabel *Label11, *Label12, *Label13, *Label14;
    // The working folder along the bottom edge, and the report viewer.
    QLabel* LabelFolder;
    QPushButton *CommandFolder, *CommandReport;

public slots:
    void Form1_form_load();
    void Form1_Command1_Click();  // 钢筋面积表
    void Form1_Command2_Click();  // 内力查询
    void Form1_Command3_Click();  // 退出程序
    void Form1_Command4_Click();  // 框架配筋计算
    void Form1_Command5_Click();  // 清  屏
    void Form1_Command6_Click();  // 外部命令
    void Form1_Command7_Click();  // 常用荷载表
    void Form1_Command8_Click();  // 导入数据文件
    void Form1_Command9_Click();  // 配筋查询
    void Form1_Command10_Click(); // 输入荷载信息
    void Form1_Command11_Click(); // 1-1
    void Form1_Command12_Click(); // 保存数据文件
    void Form1_Command13_Click(); // 2-1
    void Form1_Command14_Click(); // 3-1
    void Form1_Command15_Click(); // 1-2
    void Form1_Command16_Click(); // 2-2
    void Form1_Command17_Click(); // 3-2
    void Form1_Command18_Click(); // 输入构件信息
    void Form1_Command23_Click(); // 导入荷载数据
    void Form1_Command28_Click(); // 导入构件数据
    void Form1_Command29_Click(); // 生成数据文件
    void Form1_Command30_Click(); // 使用说明
    void Form1_CommandFolder_Click(); // 工作目录
    void Form1_CommandReport_Click(); // 查看计算书
    // Writes the working folder into its label.
    void showWorkingFolder();
    void Form1_Command40_Click(); // 工况组合
    void Form1_Command41_Click(); // 图形结果
    void Form1_Command42_Click(); // 框架编辑器

protected:
    // The frame editor's unsaved changes are asked about first.
    void closeEvent(QCloseEvent* event) override;

private:
    // The fyv chosen for GB 50010-2010 while the default method's 210 is shown.
    QString fyv2010_ = QStringLiteral("270");
    // Where the last calculation came from, as the graphics window names it.
    QString lastOrigin() const;
    // Template k of the six (1-1, 2-1, 3-1, 1-2, 2-2, 3-2): its picture on
    // top, its boxes shown, its spans and storeys in Text67 and Text68.
    void showTemplate(int k);
    std::vector<QWidget*> frameBoxes_;
    Form2* form2_ = nullptr;
    Form3* form3_ = nullptr;
    Form4* form4_ = nullptr;
    Form5* form5_ = nullptr;
    ReportView* reportView_ = nullptr;
    FormCases* formCases_ = nullptr;
    GraphicsForm* graphics_ = nullptr;
    EditorForm* editor_ = nullptr;
    std::shared_ptr<const kj::FileCalculation> lastCalculation_;
};
