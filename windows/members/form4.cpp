#include "common_widgets/button_tips.h"
#include "members/form4.h"

#include <array>
#include <tuple>

#include "common/failure.h"
#include "common_widgets/column_label.h"
#include "common_widgets/frame_picture.h"
#include "common_widgets/twips.h"
#include "common_widgets/ui_font.h"
#include "shared/pane_text.h"
#include "main/frame_boxes.h"
#include "members/member_params.h"
#include "templates/frame_templates.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <exception>

using kjw::fromBox;
using kjw::toPane;
using kjw::twipsRect;

namespace {

// The picture layout of the member window, in twips from the picture's
// corner: the column axes beside the column boxes, the beams under the beam
// boxes, the dimension lines through the span and storey boxes.
const kjw::FrameGeometry kMemberFrameGeometry{
    {1560, 4320, 7320, 10200}, // column axes 1 to 4
    {1200, 3480, 5760},        // upper beams, lower beams, ground
    255,                       // span dimension line
    787,                       // storey dimension line
};

constexpr int kFrameBoxHeight = 270;

QStringList lengthsFrom(double first, int count)
{
    QStringList items;
    for (int i = 0; i < count; ++i) items << QString::number(first + 0.3 * i, 'f', 2);
    return items;
}

} // namespace

namespace kjw {

void correctMemberBoxes(FormBase* window, const QString& operation, const QComboBox* slot, QPlainTextEdit* pane,
                        const QLineEdit* spans, const QLineEdit* storeys)
{
    kj::MemberCorrection correction;
    try {
        correction = kj::readMemberCorrection(fromBox(slot->currentText()), fromBox(spans->text()),
                                              fromBox(storeys->text()));
    } catch (const std::exception& e) {
        window->messageBox(operation + QStringLiteral("未完成:\n") + QString::fromStdString(kj::failureText(e)));
        return;
    }
    pane->setPlainText(toPane(correction.paneText));
    // Only this window's own boxes: the other windows are its children too.
    for (const kj::BoxText& b : correction.boxes)
        if (auto* box = window->findChild<QLineEdit*>(QString::fromStdString(b.box), Qt::FindDirectChildrenOnly))
            box->setText(QString::fromStdString(b.text));
}

} // namespace kjw

Form4::Form4(QWidget* mainWindow) : kjw::FormBase(mainWindow)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("gjck"));
    setFont(kjw::songtiFont(9));
    setFixedSize(kjw::twipsSize(13710, 8550));

    // The frame pictures lie under everything laid over them.
    std::tie(Image1, Image2, Image3, Image4, Image5, Image6) =
        std::tuple_cat(framePictures(kMemberFrameGeometry, 120, 120, 10530, 5970));

    // Entry boxes take a length or section number, value boxes show what it selects.
    const auto box = [this](const char* name, int left, int top, int width) {
        QLineEdit* b = lineBox(name, left, top, width);
        b->setGeometry(twipsRect(left, top, width, kFrameBoxHeight));
        frameBoxes_.push_back(b);
        return b;
    };
    const auto entry = [&](const char* name, int left, int top) { return box(name, left, top, 375); };
    Text5 = entry("Text5", 2400, 240);
    Text69 = box("Text69", 2880, 240, 735);
    Text70 = entry("Text70", 5280, 240);
    Text71 = box("Text71", 5760, 240, 735);
    Text72 = entry("Text72", 8400, 240);
    Text73 = box("Text73", 8880, 240, 735);
    Text74 = entry("Text74", 600, 2280);
    Text75 = box("Text75", 600, 2640, 615);
    Text76 = entry("Text76", 600, 4440);
    Text77 = box("Text77", 600, 4800, 615);
    Text32 = entry("Text32", 2400, 960);
    Text33 = box("Text33", 2880, 960, 975);
    Text38 = entry("Text38", 5280, 960);
    Text39 = box("Text39", 5760, 960, 855);
    Text42 = entry("Text42", 8400, 960);
    Text43 = box("Text43", 8880, 960, 855);
    Text34 = entry("Text34", 1800, 2160);
    Text35 = box("Text35", 1800, 2520, 735);
    Text36 = entry("Text36", 3960, 2160);
    Text37 = box("Text37", 3600, 2520, 735);
    Text40 = entry("Text40", 6960, 2160);
    Text41 = box("Text41", 6600, 2520, 735);
    Text44 = entry("Text44", 9840, 2160);
    Text45 = box("Text45", 9480, 2520, 735);
    Text46 = entry("Text46", 2400, 3240);
    Text47 = box("Text47", 2880, 3240, 855);
    Text52 = entry("Text52", 5280, 3240);
    Text53 = box("Text53", 5760, 3240, 735);
    Text56 = entry("Text56", 8400, 3240);
    Text57 = box("Text57", 8880, 3240, 855);
    Text48 = entry("Text48", 1800, 4560);
    Text49 = box("Text49", 1800, 4920, 735);
    Text50 = entry("Text50", 3960, 4560);
    Text51 = box("Text51", 3600, 4920, 735);
    Text54 = entry("Text54", 6960, 4560);
    Text55 = box("Text55", 6600, 4920, 735);
    Text58 = entry("Text58", 9840, 4560);
    Text59 = box("Text59", 9480, 4920, 735);
    for (QLineEdit* b : frameBoxes_) b->hide();

    // Templates.
    Label3 = label("Label3", QStringLiteral("框架梁跨数-框架层数"), 11640, 240, 1815, 255);
    Command11 = button("Command11", QStringLiteral("1-1"), 11400, 480, 615, 375, &Form4::Form4_Command11_Click);
    Command13 = button("Command13", QStringLiteral("2-1"), 12120, 480, 615, 375, &Form4::Form4_Command13_Click);
    Command14 = button("Command14", QStringLiteral("3-1"), 12840, 480, 615, 375, &Form4::Form4_Command14_Click);
    Command15 = button("Command15", QStringLiteral("1-2"), 11400, 960, 615, 375, &Form4::Form4_Command15_Click);
    Command16 = button("Command16", QStringLiteral("2-2"), 12120, 960, 615, 375, &Form4::Form4_Command16_Click);
    Command17 = button("Command17", QStringLiteral("3-2"), 12840, 960, 615, 375, &Form4::Form4_Command17_Click);

    // Section table: row k holds b and h of section k.
    Label6 = label("Label6", QStringLiteral("断面号  b(m)      h(m)"), 11400, 1680, 2055, 255);
    Label7 = new kjw::ColumnLabel(QStringLiteral("1    2    3    4    5     6"), kjw::twips(360), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setGeometry(twipsRect(11520, 2040, 255, 2055));
    QComboBox** sectionLists[6][2] = {{&Combo7, &Combo8},   {&Combo9, &Combo10},  {&Combo11, &Combo12},
                                      {&Combo13, &Combo14}, {&Combo15, &Combo16}, {&Combo17, &Combo18}};
    for (int k = 0; k < 6; ++k) {
        const int top = 1920 + 360 * k;
        const std::string b = "Combo" + std::to_string(7 + 2 * k);
        const std::string h = "Combo" + std::to_string(8 + 2 * k);
        *sectionLists[k][0] = list(b.c_str(), 11880, top, 735);
        *sectionLists[k][1] = list(h.c_str(), 12840, top, 735);
    }

    // The six action buttons.
    Command3 = button("Command3", QStringLiteral("清   屏"), 11520, 4320, 2055, 615, &Form4::Form4_Command3_Click);
    Command1 = button("Command1", QStringLiteral("返回计算窗口"), 11520, 5160, 2055, 615,
                      &Form4::Form4_Command1_Click);
    Command4 = button("Command4", QStringLiteral("生成杆件参数"), 11520, 6000, 2055, 615,
                      &Form4::Form4_Command4_Click);
    Command2 = button("Command2", QStringLiteral("杆件参数修正"), 11760, 6840, 1815, 615,
                      &Form4::Form4_Command2_Click);
    Command5 = button("Command5", QStringLiteral("导入数据文件"), 6360, 7800, 2295, 615,
                      &Form4::Form4_Command5_Click);
    Command6 = button("Command6", QStringLiteral("保存数据文件"), 11280, 7800, 2295, 615,
                      &Form4::Form4_Command6_Click);
    for (QPushButton* b : {Command1, Command2, Command3, Command4, Command5, Command6})
        b->setFont(kjw::songtiFont(12));

    // The file's text, the length table and the frame shape. The heading of
    // the length table wraps to two lines, its numbers over the lists; it
    // reaches up into the free strip under the picture to have room for both.
    Text1 = pane("Text1", 120, 6840, 6015, 1575);
    Label10 = label("Label10",
                    QStringLiteral("           梁,柱跨长(m)及跨长编号               1        2        3         4"
                                   "         5"),
                    6480, 6720, 3975, 615);
    Combo2 = list("Combo2", 6360, 7320, 735);
    Combo3 = list("Combo3", 7200, 7320, 735);
    Combo4 = list("Combo4", 8160, 7320, 735);
    Combo5 = list("Combo5", 8880, 7320, 735);
    Combo6 = list("Combo6", 9720, 7320, 735);
    Text66 = lineBox("Text66", 10680, 6960, 855);
    Text66->setGeometry(twipsRect(10680, 6960, 855, kFrameBoxHeight));
    Text66->setText(QStringLiteral("L跨 NF层"));
    Text67 = lineBox("Text67", 10680, 7320, 375);
    Text67->setGeometry(twipsRect(10680, 7320, 375, kFrameBoxHeight));
    Text68 = lineBox("Text68", 11160, 7320, 375);
    Text68->setGeometry(twipsRect(11160, 7320, 375, kFrameBoxHeight));
    Combo1 = list("Combo1", 9000, 7920, 1935);

    // What each box over the pictures holds.
    std::vector<QLineEdit*> explained = frameBoxes_;
    explained.insert(explained.end(), {Text67, Text68});
    for (QLineEdit* b : explained) b->setToolTip(QString::fromStdString(kj::frameBoxTip(b->objectName().toStdString())));

    // A length that cannot go into the length table is marked as it is
    // typed, with the reason generation will give.
    const std::array<QComboBox*, 5> lengthLists{Combo2, Combo3, Combo4, Combo5, Combo6};
    const auto markLengths = [lengthLists] {
        std::array<std::string, 5> texts;
        for (std::size_t k = 0; k < 5; ++k) texts[k] = fromBox(lengthLists[k]->currentText());
        for (std::size_t k = 0; k < 5; ++k) {
            const auto why = kj::lengthProblem(texts, k);
            lengthLists[k]->setStyleSheet(why ? QStringLiteral("QComboBox { background: #f8c8c8; }") : QString());
            lengthLists[k]->setToolTip(why ? QString::fromStdString(*why) : QStringLiteral("长度 %1 (m), 四个字符, 如 4.20").arg(k + 1));
        }
    };
    for (QComboBox* c : lengthLists) connect(c, &QComboBox::editTextChanged, this, markLengths);

    Form4_form_load();
    markLengths();
    kjw::explainButtons(this);
}

std::vector<QComboBox*> Form4::lists() const
{
    return {Combo1,  Combo2,  Combo3,  Combo4,  Combo5,  Combo6,  Combo7,  Combo8,  Combo9, Combo10,
            Combo11, Combo12, Combo13, Combo14, Combo15, Combo16, Combo17, Combo18};
}

void Form4::Form4_form_load()
{
    fillList(Combo1, {QStringLiteral("\\gjcs-1.txt"), QStringLiteral("\\gjcs-2.txt"), QStringLiteral("\\gjcs-3.txt")},
             QStringLiteral("\\gjcs-1.txt"));

    const QStringList lengths = lengthsFrom(2.4, 15); // 2.40 .. 6.60
    fillList(Combo2, lengths, QStringLiteral("4.20"));
    fillList(Combo3, lengths, QStringLiteral("3.60"));
    // The third length may be cleared through its empty entry.
    fillList(Combo4, lengthsFrom(2.4, 4) + QStringList{QString()} + lengthsFrom(3.6, 11), QString());
    const QStringList shortLengths = QStringList{QStringLiteral("2.80"), QStringLiteral("3.00"), QString()} +
                                     lengthsFrom(3.3, 7); // 3.30 .. 5.10
    fillList(Combo5, shortLengths, QString());
    fillList(Combo6, shortLengths, QString());

    const QStringList widths{QStringLiteral(".15"), QStringLiteral(".20"), QStringLiteral(".25"), QStringLiteral(".30"),
                             QStringLiteral(".35"), QStringLiteral(".40"), QStringLiteral(".45"), QStringLiteral(".50"),
                             QStringLiteral(".55"), QStringLiteral(".60"), QStringLiteral(".70")};
    const QStringList heights{QStringLiteral(".25"), QStringLiteral(".30"), QStringLiteral(".35"),
                              QStringLiteral(".40"), QStringLiteral(".45"), QStringLiteral(".50"),
                              QStringLiteral(".55"), QStringLiteral(".60"), QStringLiteral(".65"),
                              QStringLiteral(".70"), QStringLiteral(".75"), QStringLiteral(".80"),
                              QStringLiteral(".85"), QStringLiteral(".90"), QStringLiteral(".95"),
                              QStringLiteral("1.0"), QStringLiteral("1.1"), QStringLiteral("1.2")};
    fillList(Combo7, widths, QStringLiteral(".25"));
    fillList(Combo8, heights, QStringLiteral(".45"));
    fillList(Combo9, widths, QStringLiteral(".40"));
    fillList(Combo10, heights, QStringLiteral(".40"));
    // Sections 3 to 6 may be cleared through their empty entries.
    for (QComboBox* b : {Combo11, Combo13, Combo15, Combo17}) fillList(b, QStringList{QString()} + widths, QString());
    for (QComboBox* h : {Combo12, Combo14, Combo16, Combo18}) fillList(h, QStringList{QString()} + heights, QString());
}

// ---- Templates and clear ------------------------------------------------------

void Form4::showTemplate(int k)
{
    const kj::FrameTemplate& t = kj::frameTemplates()[static_cast<std::size_t>(k)];
    QWidget* picture = pictures()[static_cast<std::size_t>(k)];
    picture->show();
    picture->raise(); // the latest picture over earlier ones, under every box
    // A template shows its boxes and leaves those of an earlier one shown.
    for (const char* name : t.shownBoxes(false))
        for (QLineEdit* b : frameBoxes_)
            if (b->objectName() == QLatin1String(name)) b->show();
    for (QLineEdit* b : frameBoxes_) b->raise();
    Text67->setText(QString::number(t.spans));
    Text68->setText(QString::number(t.storeys));
}

void Form4::Form4_Command11_Click()
{
    showTemplate(0);
}

void Form4::Form4_Command13_Click()
{
    showTemplate(1);
}

void Form4::Form4_Command14_Click()
{
    showTemplate(2);
}

void Form4::Form4_Command15_Click()
{
    showTemplate(3);
}

void Form4::Form4_Command16_Click()
{
    showTemplate(4);
}

void Form4::Form4_Command17_Click()
{
    showTemplate(5);
}

void Form4::Form4_Command3_Click()
{
    for (QLineEdit* b : frameBoxes_) b->hide();
    for (kjw::FramePicture* p : pictures()) p->hide();
    Text67->setText(QStringLiteral("3"));
    Text68->setText(QStringLiteral("2"));
    update();
}

void Form4::Form4_Command1_Click()
{
    hide();
    if (QWidget* main = parentWidget()) {
        main->show();
        main->raise();
        main->activateWindow();
    }
}

// ---- The member parameter file ----------------------------------------------------

void Form4::Form4_Command5_Click()
{
    importPane(QStringLiteral("导入数据文件"), Combo1, Text1);
}

void Form4::Form4_Command6_Click()
{
    savePane(QStringLiteral("保存数据文件"), Combo1, Text1);
}

void Form4::Form4_Command4_Click()
{
    kj::MemberEntries entries;
    const QComboBox* lengthLists[5] = {Combo2, Combo3, Combo4, Combo5, Combo6};
    const QComboBox* widthLists[6] = {Combo7, Combo9, Combo11, Combo13, Combo15, Combo17};
    const QComboBox* heightLists[6] = {Combo8, Combo10, Combo12, Combo14, Combo16, Combo18};
    for (std::size_t k = 0; k < 5; ++k) entries.lengths[k] = fromBox(lengthLists[k]->currentText());
    for (std::size_t k = 0; k < 6; ++k) {
        entries.widths[k] = fromBox(widthLists[k]->currentText());
        entries.heights[k] = fromBox(heightLists[k]->currentText());
    }
    entries.spans = fromBox(Text67->text());
    entries.storeys = fromBox(Text68->text());
    for (QLineEdit* b : frameBoxes_) entries.boxes[b->objectName().toStdString()] = fromBox(b->text());

    kj::MemberGeneration generated;
    try {
        generated = kj::generateMemberParameters(entries);
    } catch (const std::exception& e) { // an entry box that does not hold one digit: nothing changes
        reportFailure(QStringLiteral("生成杆件参数"), e.what());
        return;
    }
    for (const kj::BoxText& b : generated.valueBoxes)
        if (auto* target = findChild<QLineEdit*>(QString::fromStdString(b.box), Qt::FindDirectChildrenOnly))
            target->setText(QString::fromStdString(b.text));
    Text1->setPlainText(toPane(generated.text));
    attempt(QStringLiteral("生成杆件参数"), [&] { kj::savePaneText(fromBox(Combo1->currentText()), generated.text); });
}

void Form4::Form4_Command2_Click()
{
    kjw::correctMemberBoxes(this, QStringLiteral("杆件参数修正"), Combo1, Text1, Text67, Text68);
}
