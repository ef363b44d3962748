#pragma once
// The window "荷载工况组合": the frame data files of the load cases G, Q, W
// and W2, the earthquake, the combination set and the table of its combinations, and the
// calculation designed from their envelope with the main window's settings.
// Created by the main window on first use, modeless, afterwards only hidden
// and shown. Its state is kept in a small file (\zhgk-1.txt).
#include "calc/run.h"
#include "cases/case_state.h"
#include "common_widgets/form_base.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <functional>

class FormCases : public kjw::FormBase {
    Q_OBJECT
public:
    // mainWindow is shown again when this window returns to it.
    explicit FormCases(QWidget* mainWindow);

    // The main window's settings as a calculation request (report, renewal,
    // design settings), and where the result files' texts are shown. Set by
    // the main window.
    std::function<kj::CalcRequest()> mainRequest;
    std::function<void(const kj::CalcResult&)> showResult;

    kj::CaseWindowState state() const;
    void setState(const kj::CaseWindowState& state);

    // File slots of G, Q and W; the combination set; the state file's slot.
    QComboBox *Combo1, *Combo2, *Combo3, *Combo4, *Combo5;
    // The live load: gamma_L (1.0 / 1.1), psi_c (0.7 / 0.9), patterns.
    QComboBox *Combo6, *Combo7;
    QCheckBox* Check1;
    QTableWidget* Table1; // one combination a row
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5, *Command6;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8;
    // The file slot of W2, the wind from the right with its own shape.
    QComboBox* Combo8;
    QLabel* Label9;
    // The earthquake in the group Frame1: intensity ("无" first: no seismic
    // design), site class, design group, grade (by Table 6.1.2 or chosen), psi_T,
    // and whether the outer columns are corner columns.
    QGroupBox* Frame1;
    QComboBox *Combo9, *Combo10, *Combo11, *Combo12;
    QLineEdit* Text1;
    QCheckBox* Check2;
    QLabel *Label10, *Label11, *Label12, *Label13, *Label14, *Label15;

public slots:
    void FormCases_Command1_Click(); // 组合计算
    void FormCases_Command2_Click(); // 增加一行
    void FormCases_Command3_Click(); // 删除一行
    void FormCases_Command4_Click(); // 保存工况
    void FormCases_Command5_Click(); // 导入工况
    void FormCases_Command6_Click(); // 返回计算窗口
    void FormCases_Combo4_Activated(); // a combination set chosen
    void FormCases_Combo6_Activated(); // gamma_L chosen: the set's table again
    void FormCases_Combo7_Activated(); // psi_c chosen: the set's table again
    void FormCases_Combo9_Activated(); // intensity chosen: the other seismic lists in use or idle

private:
    void fillRows(const std::vector<std::string>& rows);
    std::vector<std::string> rows() const;
    void rowEdited();
    bool filling_ = false;
};
