#pragma once
// The window "框架图形": the drawings of a calculation, one layer at a time,
// with zoom, pan and fit, export to PNG, SVG and PDF, printing and the PDF
// calculation book. It shows the last calculation run from the main window,
// or a data file opened here and calculated with the main window's
// settings (no report or result file is written for it). Created by the
// main window on first use, modeless and resizable, afterwards only hidden
// and shown.
#include "calc/data_file_calculation.h"
#include "calc/options.h"
#include "common_widgets/form_base.h"
#include "graphics/frame_view.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "layer_export.h"

#include <functional>
#include <optional>
#include <memory>

class QPrinter;

class GraphicsForm : public kjw::FormBase {
    Q_OBJECT
public:
    // mainWindow is shown again when this window returns to it.
    explicit GraphicsForm(QWidget* mainWindow);

    // The calculation shown and where it came from ("主窗口的计算", a file name).
    void showCalculation(std::shared_ptr<const kj::FileCalculation> calculation, const QString& origin);
    const kj::FileCalculation* calculation() const { return calculation_.get(); }

    // Asks for a file name: (title, filter, save) -> name, empty when cancelled.
    std::function<QString(const QString&, const QString&, bool)> chooseFile;
    // Sets up the printer with the user; false when cancelled.
    std::function<bool(QPrinter&)> choosePrinter;
    // The design settings of the main window's boxes, for a data file opened here.
    std::function<kj::DesignSettings()> designSettings;

    QComboBox* Combo1;   // layer
    QComboBox* Combo2;   // 工况/组合: the envelope, a case or a combination (with load cases only)
    QLabel* Label1;      // what is shown
    FrameView* View1;
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5, *Command6, *Command7, *Command8;

public slots:
    void GraphicsForm_Combo1_Change(int index);
    void GraphicsForm_Combo2_Change(int index);
    void GraphicsForm_Command1_Click(); // 适合窗口
    void GraphicsForm_Command2_Click(); // 导出 PNG
    void GraphicsForm_Command3_Click(); // 导出 SVG
    void GraphicsForm_Command4_Click(); // 导出 PDF
    void GraphicsForm_Command5_Click(); // 打印
    void GraphicsForm_Command6_Click(); // 打开数据文件
    void GraphicsForm_Command7_Click(); // 生成计算书
    void GraphicsForm_Command8_Click(); // 返回计算窗口

private:
    // Writes one export of the shown layer to a file the user names.
    void exportLayer(const QString& operation, const QString& filter, const QString& suffix,
                     const std::function<QByteArray(const kj::CalculationResult&, kjd::Layer, const kjd::Drawn&)>& bytes);
    bool haveResult(const QString& operation);
    // The result drawn: the calculation's own, or a case's or a combination's.
    const kj::CalculationResult& shownResult() const;
    kjd::Drawn drawn() const;
    std::shared_ptr<const kj::FileCalculation> calculation_;
    kjd::Shown shown_;
    std::optional<kj::CalculationResult> shownResult_; // a case or a combination
    QLabel* caseCaption_ = nullptr;
};
