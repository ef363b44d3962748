#pragma once
// The member parameter window. Created by the main window on first use,
// modeless, and afterwards only hidden and shown, so it keeps its contents.
#include "common_widgets/form_base.h"

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kjw {
class FramePicture;

// Member parameter correction on one window's own controls: reads the file
// named in slot, puts its reassembled text into pane and fills the entry and
// value boxes of the frame shape given by spans and storeys. The boxes are
// the window's own children of the same names (Text5, Text69 ...). A file
// that cannot be read is reported under the operation's name, and nothing
// changes.
void correctMemberBoxes(FormBase* window, const QString& operation, const QComboBox* slot, QPlainTextEdit* pane,
                        const QLineEdit* spans, const QLineEdit* storeys);
} // namespace kjw

class Form4 : public kjw::FormBase {
    Q_OBJECT
public:
    // mainWindow is shown again when this window returns to it.
    explicit Form4(QWidget* mainWindow);

    // The 38 entry and value boxes laid over the pictures.
    const std::vector<QLineEdit*>& frameBoxes() const { return frameBoxes_; }
    std::vector<kjw::FramePicture*> pictures() const { return {Image1, Image2, Image3, Image4, Image5, Image6}; }
    // Every list: the slot, lengths 1 to 5, b and h of sections 1 to 6.
    std::vector<QComboBox*> lists() const;

    // Slot of the member parameter file.
    QComboBox* Combo1;
    // Lengths 1 to 5.
    QComboBox *Combo2, *Combo3, *Combo4, *Combo5, *Combo6;
    // b and h of sections 1 to 6.
    QComboBox *Combo7, *Combo8, *Combo9, *Combo10, *Combo11, *Combo12;
    QComboBox *Combo13, *Combo14, *Combo15, *Combo16, *Combo17, *Combo18;
    // The file's text.
    QPlainTextEdit* Text1;
    // Frame shape: caption, spans, storeys.
    QLineEdit *Text66, *Text67, *Text68;
    // Frame pictures 1-1, 2-1, 3-1, 1-2, 2-2, 3-2.
    kjw::FramePicture *Image1, *Image2, *Image3, *Image4, *Image5, *Image6;
    // Span and storey length numbers and their lengths.
    QLineEdit *Text5, *Text69, *Text70, *Text71, *Text72, *Text73;
    QLineEdit *Text74, *Text75, *Text76, *Text77;
    // Section numbers of beams and columns and their b and h.
    QLineEdit *Text32, *Text33, *Text34, *Text35, *Text36, *Text37, *Text38, *Text39, *Text40, *Text41;
    QLineEdit *Text42, *Text43, *Text44, *Text45, *Text46, *Text47, *Text48, *Text49, *Text50, *Text51;
    QLineEdit *Text52, *Text53, *Text54, *Text55, *Text56, *Text57, *Text58, *Text59;
    // Buttons.
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5, *Command6;
    QPushButton *Command11, *Command13, *Command14, *Command15, *Command16, *Command17;
    // Captions.
    QLabel *Label3, *Label6, *Label7, *Label10;

public slots:
    void Form4_form_load();
    void Form4_Command1_Click();  // 返回计算窗口
    void Form4_Command2_Click();  // 杆件参数修正
    void Form4_Command3_Click();  // 清   屏
    void Form4_Command4_Click();  // 生成杆件参数
    void Form4_Command5_Click();  // 导入数据文件
    void Form4_Command6_Click();  // 保存数据文件
    void Form4_Command11_Click(); // 1-1
    void Form4_Command13_Click(); // 2-1
    void Form4_Command14_Click(); // 3-1
    void Form4_Command15_Click(); // 1-2
    void Form4_Command16_Click(); // 2-2
    void Form4_Command17_Click(); // 3-2

private:
    // Template k of the six (1-1, 2-1, 3-1, 1-2, 2-2, 3-2): its picture on
    // top, its boxes shown, its spans and storeys in Text67 and Text68.
    void showTemplate(int k);
    std::vector<QLineEdit*> frameBoxes_;
};
