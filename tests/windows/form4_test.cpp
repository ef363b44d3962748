// The member parameter window driven offscreen: its controls and lists, the
// templates, clear and return, import and save, generation of the member
// parameter file and its correction back into the boxes of this window and
// of the main window.
#include "common_widgets/frame_picture.h"
#include "common_widgets/twips.h"
#include "main/form1.h"
#include "members/form4.h"
#include "window_test_support.h"

#include <QtTest>

#include <map>
#include <memory>
#include <optional>

using namespace kjtest;

namespace {

// Entry box -> value box, in the order of the template with every box.
const QList<QPair<QString, QString>> kPairs{
    {"Text5", "Text69"},  {"Text70", "Text71"}, {"Text72", "Text73"}, {"Text74", "Text75"},
    {"Text76", "Text77"}, {"Text32", "Text33"}, {"Text38", "Text39"}, {"Text42", "Text43"},
    {"Text46", "Text47"}, {"Text52", "Text53"}, {"Text56", "Text57"}, {"Text34", "Text35"},
    {"Text36", "Text37"}, {"Text40", "Text41"}, {"Text44", "Text45"}, {"Text48", "Text49"},
    {"Text50", "Text51"}, {"Text54", "Text55"}, {"Text58", "Text59"},
};

} // namespace

class Form4Test : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startUpShowsControlsListsAndHiddenFrame();
    void templatesAddTheirBoxesUntilClearSetsThreeByTwo();
    void returnHidesAndTheWindowKeepsItsContents();
    void importAndSaveAddOneLineEnd();
    void generationOfTheTwoSpanExample();
    void generationEdgeCases();
    void generationFailureIsShownAndTheFileKept();
    void correctionOfTheOneByOneExample();
    void generateThenCorrectRestoresEveryBoxOfEveryShape();
    void correctionSlicesTheStoredTablesByPosition();
    void correctionOfAMissingOrShortFileChangesNothing();
    void correctionTouchesOnlyItsOwnWindow();

private:
    QStringList files() const { return folder_->entries(QDir::Files | QDir::NoDotAndDotDot); }
    QLineEdit* box4(const QString& name) const { return form4_->findChild<QLineEdit*>(name); }
    QLineEdit* box1(const QString& name) const
    {
        return main_->findChild<QLineEdit*>(name, Qt::FindDirectChildrenOnly);
    }
    QStringList visible() const { return shownNames(form4_->frameBoxes(), form4_->pictures()); }
    // Texts of every box of a window, by name.
    std::map<QString, QString> texts(const std::vector<QLineEdit*>& boxes) const;
    std::map<QString, QString> texts1() const;

    std::optional<WorkingFolder> folder_;
    std::unique_ptr<Form1> main_;
    Form4* form4_ = nullptr;
    QStringList messages_;
};

void Form4Test::init()
{
    folder_.emplace();
    QVERIFY(folder_->isValid());
    messages_.clear();

    main_ = std::make_unique<Form1>();
    catchMessages(*main_, messages_, QStringLiteral("Form1: "));
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    QVERIFY(!main_->hasForm(4));
    form4_ = main_->form4();
    catchMessages(*form4_, messages_, QStringLiteral("Form4: "));
    QVERIFY(QTest::qWaitForWindowExposed(form4_));
}

void Form4Test::cleanup()
{
    main_.reset();
    form4_ = nullptr;
    folder_.reset();
}

std::map<QString, QString> Form4Test::texts(const std::vector<QLineEdit*>& boxes) const
{
    std::map<QString, QString> result;
    for (QLineEdit* box : boxes) result[box->objectName()] = box->text();
    return result;
}

std::map<QString, QString> Form4Test::texts1() const
{
    std::map<QString, QString> result;
    for (QWidget* box : main_->frameBoxes())
        if (auto* line = qobject_cast<QLineEdit*>(box)) result[line->objectName()] = line->text();
    return result;
}

// ---- Start-up -------------------------------------------------------------------

void Form4Test::startUpShowsControlsListsAndHiddenFrame()
{
    Form4& f = *form4_;
    QCOMPARE(f.windowTitle(), QStringLiteral("gjck"));
    QCOMPARE(f.size(), QSize(914, 570)); // 13710 x 8550 twips
    QCOMPARE(f.minimumSize(), f.maximumSize());
    QCOMPARE(f.parentWidget(), main_.get());
    QVERIFY(f.isWindow());
    QCOMPARE(f.font().pixelSize(), 12); // 9 pt
    for (QPushButton* b : {f.Command1, f.Command2, f.Command3, f.Command4, f.Command5, f.Command6})
        QCOMPARE(b->font().pixelSize(), 16); // 12 pt
    QCOMPARE(f.Command11->font().pixelSize(), 12);
    QVERIFY(QFontMetrics(f.Command4->font()).inFont(QChar(0x6746))); // 杆

    const QStringList lengths{"2.40", "2.70", "3.00", "3.30", "3.60", "3.90", "4.20", "4.50",
                              "4.80", "5.10", "5.40", "5.70", "6.00", "6.30", "6.60"};
    const QStringList shortLengths{"2.80", "3.00", "", "3.30", "3.60", "3.90", "4.20", "4.50", "4.80", "5.10"};
    const QStringList widths{".15", ".20", ".25", ".30", ".35", ".40", ".45", ".50", ".55", ".60", ".70"};
    const QStringList heights{".25", ".30", ".35", ".40", ".45", ".50", ".55", ".60", ".65",
                              ".70", ".75", ".80", ".85", ".90", ".95", "1.0", "1.1", "1.2"};
    const QStringList third = lengths.mid(0, 4) + QStringList{""} + lengths.mid(4);
    struct Expected {
        QComboBox* combo;
        QStringList items;
        QString text;
    };
    const QList<Expected> expected{
        {f.Combo1, {"\\gjcs-1.txt", "\\gjcs-2.txt", "\\gjcs-3.txt"}, "\\gjcs-1.txt"},
        {f.Combo2, lengths, "4.20"},
        {f.Combo3, lengths, "3.60"},
        {f.Combo4, third, ""},
        {f.Combo5, shortLengths, ""},
        {f.Combo6, shortLengths, ""},
        {f.Combo7, widths, ".25"},
        {f.Combo8, heights, ".45"},
        {f.Combo9, widths, ".40"},
        {f.Combo10, heights, ".40"},
        {f.Combo11, QStringList{""} + widths, ""},
        {f.Combo12, QStringList{""} + heights, ""},
        {f.Combo13, QStringList{""} + widths, ""},
        {f.Combo14, QStringList{""} + heights, ""},
        {f.Combo15, QStringList{""} + widths, ""},
        {f.Combo16, QStringList{""} + heights, ""},
        {f.Combo17, QStringList{""} + widths, ""},
        {f.Combo18, QStringList{""} + heights, ""},
    };
    QCOMPARE(int(f.lists().size()), expected.size());
    QCOMPARE(third.size(), 16);
    for (const Expected& e : expected) {
        QVERIFY2(e.combo->isEditable(), qPrintable(e.combo->objectName()));
        QCOMPARE(itemsOf(e.combo), e.items);
        QCOMPARE(e.combo->currentText(), e.text);
    }

    QCOMPARE(f.Text66->text(), QStringLiteral("L跨 NF层"));
    QCOMPARE(f.Text67->text(), QString());
    QCOMPARE(f.Text68->text(), QString());
    QVERIFY(f.Text1->toPlainText().isEmpty());
    QCOMPARE(f.Text1->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(f.Text1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(f.Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(int(f.frameBoxes().size()), 38);
    QVERIFY(visible().isEmpty());

    // Positions in twips.
    const QList<QPair<QWidget*, QRect>> at{
        {f.Text5, kjw::twipsRect(2400, 240, 375, 270)},    {f.Text69, kjw::twipsRect(2880, 240, 735, 270)},
        {f.Text33, kjw::twipsRect(2880, 960, 975, 270)},   {f.Text37, kjw::twipsRect(3600, 2520, 735, 270)},
        {f.Text75, kjw::twipsRect(600, 2640, 615, 270)},   {f.Text58, kjw::twipsRect(9840, 4560, 375, 270)},
        {f.Image6, kjw::twipsRect(120, 120, 10530, 5970)}, {f.Combo18, kjw::twipsRect(12840, 3720, 735, 300)},
        {f.Combo6, kjw::twipsRect(9720, 7320, 735, 300)},  {f.Combo1, kjw::twipsRect(9000, 7920, 1935, 300)},
        {f.Text1, kjw::twipsRect(120, 6840, 6015, 1575)},  {f.Command2, kjw::twipsRect(11760, 6840, 1815, 615)},
        {f.Text68, kjw::twipsRect(11160, 7320, 375, 270)}, {f.Command17, kjw::twipsRect(12840, 960, 615, 375)},
    };
    for (const auto& [widget, rect] : at) QCOMPARE(widget->geometry(), rect);
    const QList<QPair<QPushButton*, QString>> captions{
        {f.Command3, "清   屏"},       {f.Command1, "返回计算窗口"}, {f.Command4, "生成杆件参数"},
        {f.Command2, "杆件参数修正"}, {f.Command5, "导入数据文件"}, {f.Command6, "保存数据文件"},
        {f.Command11, "1-1"},          {f.Command16, "2-2"},
    };
    for (const auto& [button, caption] : captions) QCOMPARE(button->text(), caption);
    QCOMPARE(f.Label3->text(), QStringLiteral("框架梁跨数-框架层数"));
    QCOMPARE(files(), QStringList());
}

// ---- Templates, clear, return ---------------------------------------------------------

void Form4Test::templatesAddTheirBoxesUntilClearSetsThreeByTwo()
{
    Form4& f = *form4_;
    f.Text32->setText(QStringLiteral("1"));
    f.Text1->setPlainText(QStringLiteral("kept"));
    const QStringList common = QStringList{"Text5", "Text69", "Text74", "Text75"} + range(32, 37);
    const QStringList two = QStringList{"Text70", "Text71"} + range(38, 41);
    const QStringList three = QStringList{"Text72", "Text73"} + range(42, 45);
    const QStringList lower = QStringList{"Text76", "Text77"} + range(46, 51);

    press(f.Command17); // 3-2: all 38 boxes
    QCOMPARE(visible().size(), 39);
    press(f.Command11); // 1-1 hides nothing
    QStringList all = range(32, 59) + QStringList{"Text5"} + range(69, 77) + QStringList{"Image1", "Image6"};
    all.sort();
    QCOMPARE(visible(), all);
    QCOMPARE(f.Text67->text(), QStringLiteral("1"));
    QCOMPARE(f.Text68->text(), QStringLiteral("1"));

    press(f.Command3); // 清   屏
    QVERIFY(visible().isEmpty());
    QCOMPARE(f.Text67->text(), QStringLiteral("3"));
    QCOMPARE(f.Text68->text(), QStringLiteral("2"));
    QCOMPARE(f.Text32->text(), QStringLiteral("1"));
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("kept"));
    QCOMPARE(f.Combo2->currentText(), QStringLiteral("4.20"));

    const QList<std::tuple<QPushButton*, QStringList, QString>> sets{
        {f.Command11, common + QStringList{"Image1"}, "1-1"},
        {f.Command13, common + two + QStringList{"Image2"}, "2-1"},
        {f.Command14, common + two + three + QStringList{"Image3"}, "3-1"},
        {f.Command15, common + lower + QStringList{"Image4"}, "1-2"},
        {f.Command16, common + two + lower + range(52, 55) + QStringList{"Image5"}, "2-2"},
    };
    for (auto [button, names, shape] : sets) {
        press(f.Command3);
        press(button);
        names.sort();
        QCOMPARE(visible(), names);
        QCOMPARE(f.Text67->text() + "-" + f.Text68->text(), shape);
    }
    QCOMPARE(files(), QStringList());
}

void Form4Test::returnHidesAndTheWindowKeepsItsContents()
{
    Form4& f = *form4_;
    press(f.Command16);
    f.Text5->setText(QStringLiteral("2"));
    f.Combo4->setEditText(QStringLiteral("3.00"));
    f.Text1->setPlainText(QStringLiteral("text"));
    main_->hide();

    press(f.Command1);
    QVERIFY(!f.isVisible());
    QVERIFY(main_->isVisible());

    press(main_->Command18); // 输入构件信息: the same window again
    QCOMPARE(main_->form4(), &f);
    QVERIFY(f.isVisible());
    QCOMPARE(f.Text5->text(), QStringLiteral("2"));
    QVERIFY(f.Text5->isVisible());
    QCOMPARE(f.Combo4->currentText(), QStringLiteral("3.00"));
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("text"));
    QCOMPARE(f.Text67->text(), QStringLiteral("2"));
}

// ---- Import and save ---------------------------------------------------------------

void Form4Test::importAndSaveAddOneLineEnd()
{
    Form4& f = *form4_;
    // A last line without its line end still comes with CR LF.
    folder_->write("gjcs-2.txt", "\"4.20\",\"1\"\r\n\".25.45\",\"111\"");
    f.Combo1->setEditText(QStringLiteral("\\gjcs-2.txt"));
    press(f.Command5);
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("\"4.20\",\"1\"\n\".25.45\",\"111\"\n"));
    QCOMPARE(folder_->bytes("gjcs-2.txt"), QByteArray("\"4.20\",\"1\"\r\n\".25.45\",\"111\""));

    // Save writes the pane and one more line end: an empty last line.
    f.Combo1->setEditText(QStringLiteral("\\gjcs-3.txt"));
    press(f.Command6);
    QCOMPARE(folder_->bytes("gjcs-3.txt"), QByteArray("\"4.20\",\"1\"\r\n\".25.45\",\"111\"\r\n\r\n"));

    // A missing file: a message naming it, the pane as it was.
    f.Combo1->setEditText(QStringLiteral("\\gjcs-9.txt"));
    press(f.Command5);
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].startsWith(QStringLiteral("Form4: 导入数据文件未完成")));
    QVERIFY(messages_[0].contains(QStringLiteral("gjcs-9.txt")));
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("\"4.20\",\"1\"\n\".25.45\",\"111\"\n"));
    QCOMPARE(files(), (QStringList{"gjcs-2.txt", "gjcs-3.txt"}));
}

// ---- Generation ----------------------------------------------------------------------

void Form4Test::generationOfTheTwoSpanExample()
{
    Form4& f = *form4_;
    f.Combo4->setEditText(QStringLiteral("3.00"));
    f.Combo8->setEditText(QStringLiteral(".50"));
    f.Text67->setText(QStringLiteral("2.0")); // compared as a number
    f.Text68->setText(QStringLiteral("1"));
    const QList<QPair<QLineEdit*, QString>> typed{
        {f.Text5, "1"}, {f.Text70, "2"}, {f.Text74, "3"}, {f.Text32, "1"},
        {f.Text38, "1"}, {f.Text34, "2"}, {f.Text36, "2"}, {f.Text40, "2"},
    };
    for (const auto& [box, text] : typed) QTest::keyClicks(box, text);
    f.Text47->setText(QStringLiteral("other shape"));

    press(f.Command4);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    const QList<QPair<QLineEdit*, QString>> values{
        {f.Text69, "4.20"},    {f.Text71, "3.60"},    {f.Text75, "3.00"},    {f.Text33, ".25,.50"},
        {f.Text39, ".25,.50"}, {f.Text35, ".40,.40"}, {f.Text37, ".40,.40"}, {f.Text41, ".40,.40"},
        {f.Text47, "other shape"}, {f.Text73, ""},
    };
    for (const auto& [box, text] : values) QCOMPARE(box->text(), text);
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("\"4.203.603.00\",\"123\"\n\".25.50.40.40\",\"11222\""));
    QCOMPARE(folder_->bytes("gjcs-1.txt"), QByteArray("\"4.203.603.00\",\"123\"\r\n\".25.50.40.40\",\"11222\"\r\n"));
    // Generation neither shows nor hides boxes.
    QVERIFY(visible().isEmpty());
}

void Form4Test::generationEdgeCases()
{
    Form4& f = *form4_;
    // No template matches 4 spans: empty numbers fields, no box changed.
    f.Text67->setText(QStringLiteral("4"));
    f.Text68->setText(QStringLiteral("1"));
    f.Text5->setText(QStringLiteral("1"));
    press(f.Command4);
    QCOMPARE(folder_->bytes("gjcs-1.txt"), QByteArray("\"4.203.60\",\"\"\r\n\".25.45.40.40\",\"\"\r\n"));
    QCOMPARE(f.Text69->text(), QString());
    f.Text67->clear();
    f.Text68->clear();
    press(f.Command4);
    QCOMPARE(folder_->bytes("gjcs-1.txt"), QByteArray("\"4.203.60\",\"\"\r\n\".25.45.40.40\",\"\"\r\n"));

    // After clear the shape is 3-2: every hidden pair is filled and recorded.
    // Digits outside the tables (0, 6 to 9 for a length, 0, 7 to 9 for a
    // section) select an empty length or a lone comma.
    f.Combo13->setEditText(QStringLiteral(".30"));
    f.Combo14->setEditText(QStringLiteral(".60"));
    press(f.Command3);
    const QList<QPair<QLineEdit*, QString>> typed{
        {f.Text5, "1"},  {f.Text70, "0"},  {f.Text72, "9"},  {f.Text74, "6"},  {f.Text76, "2"},
        {f.Text32, "2"}, {f.Text38, "4"},  {f.Text42, "7"},  {f.Text46, "9"},  {f.Text52, "0"},
        {f.Text56, "8"}, {f.Text34, "0"},  {f.Text36, "1"},  {f.Text40, "6"},  {f.Text44, "4"},
        {f.Text48, "9"}, {f.Text50, "0"},  {f.Text54, "2"},  {f.Text58, "2"},
    };
    for (const auto& [box, text] : typed) box->setText(text);
    press(f.Command4);
    QVERIFY(visible().isEmpty());
    const QList<QPair<QLineEdit*, QString>> values{
        {f.Text69, "4.20"}, {f.Text71, ""},        {f.Text73, ""},        {f.Text75, ""},
        {f.Text77, "3.60"}, {f.Text33, ".40,.40"}, {f.Text39, ".30,.60"}, {f.Text43, ","},
        {f.Text47, ","},    {f.Text53, ","},       {f.Text57, ","},       {f.Text35, ","},
        {f.Text37, ".25,.45"}, {f.Text41, ","},    {f.Text45, ".30,.60"}, {f.Text49, ","},
        {f.Text51, ","},    {f.Text55, ".40,.40"}, {f.Text59, ".40,.40"},
    };
    for (const auto& [box, text] : values) QCOMPARE(box->text(), text);
    const QByteArray generated("\"4.203.60\",\"10962\"\r\n\".25.45.40.40.30.60\",\"24790801649022\"\r\n");
    QCOMPARE(folder_->bytes("gjcs-1.txt"), generated);

    // A number of two characters, a fraction or an empty box would shift
    // every later member: refused by its role, nothing changes.
    const QString pane = f.Text1->toPlainText();
    const QList<QPair<QLineEdit*, QString>> refused{
        {f.Text42, "上层第 3 跨梁截面编号 \"99\" 不是一位数字: 每个编号框只填一位数字 (0-9), 否则其后的编号都会错位"},
        {f.Text76, "下层层高编号 \"99\" 不是一位数字: 每个编号框只填一位数字 (0-9), 否则其后的编号都会错位"},
    };
    for (const auto& [box, message] : refused) {
        const QString kept = box->text();
        box->setText(QStringLiteral("99"));
        press(f.Command4);
        QCOMPARE(messages_.last(), QStringLiteral("Form4: 生成杆件参数未完成:\n") + message);
        box->setText(kept);
    }
    f.Text54->setText(QStringLiteral("1.5"));
    press(f.Command4);
    QVERIFY2(messages_.last().endsWith(QStringLiteral("下层第 3 根柱截面编号 \"1.5\" 不是一位数字: 每个编号框只填一位数字 (0-9), 否则其后的编号都会错位")),
             qPrintable(messages_.last()));
    f.Text54->clear();
    press(f.Command4);
    QCOMPARE(messages_.last(), QStringLiteral("Form4: 生成杆件参数未完成:\n下层第 3 根柱截面编号为空: 每个编号框填一位数字 (0-9)"));
    QCOMPARE(messages_.size(), 4);
    messages_.clear();
    f.Text54->setText(QStringLiteral("2"));
    QCOMPARE(f.Text1->toPlainText(), pane);
    QCOMPARE(folder_->bytes("gjcs-1.txt"), generated);

    // A length of another width than four characters, or an empty one
    // before a filled one, would shift the lengths after it: marked as typed,
    // refused by its role, nothing changes.
    f.Combo4->setEditText(QStringLiteral("3.00"));
    f.Combo5->setEditText(QStringLiteral("4.2"));
    QVERIFY(!f.Combo5->styleSheet().isEmpty());
    QVERIFY(f.Combo2->styleSheet().isEmpty());
    press(f.Command4);
    QCOMPARE(messages_.last(), QStringLiteral("Form4: 生成杆件参数未完成:\n长度 4 \"4.2\" 不是四个字符: "
                                              "每个长度填四个字符 (如 4.20, 6.00), 否则其后的长度都会错位"));
    f.Combo5->setEditText(QStringLiteral("4.20"));
    QVERIFY(f.Combo5->styleSheet().isEmpty());
    f.Combo3->setEditText(QString());
    QVERIFY(!f.Combo3->styleSheet().isEmpty());
    press(f.Command4);
    QVERIFY(messages_.last().endsWith(QStringLiteral("长度 2为空, 而长度 3 已填: 长度表中其后的长度都会错位; 请填四个字符 (如 4.20)")));
    QCOMPARE(folder_->bytes("gjcs-1.txt"), generated);
    QCOMPARE(f.Text1->toPlainText(), pane);
    f.Combo3->setEditText(QStringLiteral("3.00"));
    f.Combo6->setEditText(QStringLiteral("5.10"));
    messages_.clear();
    press(f.Command4);
    QVERIFY(folder_->bytes("gjcs-1.txt").startsWith("\"4.203.003.004.205.10\",\"10962\"\r\n"));
    QCOMPARE(folder_->bytes("gjcs-1.txt.bak"), generated); // the file generated before
    QVERIFY(messages_.isEmpty());
}

void Form4Test::generationFailureIsShownAndTheFileKept()
{
    Form4& f = *form4_;
    folder_->write("gjcs-1.txt", "old\r\n");
    folder_->makeFolder("gjcs-1.txt.d");
    // A slot naming a folder cannot be written.
    f.Combo1->setEditText(QStringLiteral("\\gjcs-1.txt.d"));
    press(f.Command11);
    f.Text5->setText(QStringLiteral("2"));
    for (QLineEdit* box : {f.Text74, f.Text32, f.Text34, f.Text36}) box->setText(QStringLiteral("0"));
    press(f.Command4);
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].startsWith(QStringLiteral("Form4: 生成杆件参数未完成")));
    QVERIFY(messages_[0].contains(QStringLiteral("gjcs-1.txt.d")));
    // The boxes and the pane show the generated text; no file changed.
    QCOMPARE(f.Text69->text(), QStringLiteral("3.60"));
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("\"4.203.60\",\"20\"\n\".25.45.40.40\",\"000\""));
    QCOMPARE(folder_->bytes("gjcs-1.txt"), QByteArray("old\r\n"));
    QCOMPARE(files(), QStringList{"gjcs-1.txt"});
}

// ---- Correction ------------------------------------------------------------------------

void Form4Test::correctionOfTheOneByOneExample()
{
    Form4& f = *form4_;
    folder_->write("gjcs-1.txt", "\"4.203.60\",\"12\"\r\n\".25.45.40.40\",\"122\"\r\n");
    // The lists play no part: correction takes the file's own tables.
    f.Combo2->setEditText(QStringLiteral("6.60"));
    f.Combo7->setEditText(QStringLiteral(".70"));
    press(f.Command11);
    press(f.Command2);
    QVERIFY(messages_.isEmpty());
    const QList<QPair<QLineEdit*, QString>> values{
        {f.Text5, "1"},  {f.Text69, "4.20"},    {f.Text74, "2"},  {f.Text75, "3.60"},
        {f.Text32, "1"}, {f.Text33, ".25,.45"}, {f.Text34, "2"},  {f.Text35, ".40,.40"},
        {f.Text36, "2"}, {f.Text37, ".40,.40"}, {f.Text70, ""},   {f.Text71, ""},
    };
    for (const auto& [box, text] : values) QCOMPARE(box->text(), text);
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("\"4.203.60\",\"12\"\n\".25.45.40.40\",\"122\""));
    QCOMPARE(folder_->bytes("gjcs-1.txt"), QByteArray("\"4.203.60\",\"12\"\r\n\".25.45.40.40\",\"122\"\r\n"));
}

void Form4Test::generateThenCorrectRestoresEveryBoxOfEveryShape()
{
    Form4& f = *form4_;
    f.Combo4->setEditText(QStringLiteral("3.00"));
    f.Combo5->setEditText(QStringLiteral("3.30"));
    f.Combo6->setEditText(QStringLiteral("5.10"));
    const char* b[] = {".30", ".35", ".20", ".60"};
    const char* h[] = {".60", ".70", "1.0", "1.2"};
    QComboBox* bLists[] = {f.Combo11, f.Combo13, f.Combo15, f.Combo17};
    QComboBox* hLists[] = {f.Combo12, f.Combo14, f.Combo16, f.Combo18};
    for (int k = 0; k < 4; ++k) {
        bLists[k]->setEditText(QLatin1String(b[k]));
        hLists[k]->setEditText(QLatin1String(h[k]));
    }
    int shapeIndex = 0;
    for (QPushButton* button : {f.Command11, f.Command13, f.Command14, f.Command15, f.Command16, f.Command17}) {
        ++shapeIndex;
        press(f.Command3);
        press(button);
        int n = shapeIndex;
        for (const auto& [entry, value] : kPairs) {
            const bool length = entry == "Text5" || entry == "Text70" || entry == "Text72" || entry == "Text74" ||
                                entry == "Text76";
            box4(entry)->setText(QString::number(length ? n % 5 + 1 : n % 6 + 1));
            ++n;
        }
        press(f.Command4);
        const auto generated = texts(f.frameBoxes());
        const QString pane = f.Text1->toPlainText();
        for (QLineEdit* box : f.frameBoxes())
            if (box->isVisible()) box->clear();
        f.Text1->clear();
        press(f.Command2);
        QCOMPARE(f.Text1->toPlainText(), pane);
        for (QLineEdit* box : f.frameBoxes())
            if (box->isVisible())
                QVERIFY2(box->text() == generated.at(box->objectName()),
                         qPrintable(button->text() + " " + box->objectName() + ": " + box->text()));
        // Every value box of the shape holds a value.
        for (QLineEdit* box : f.frameBoxes())
            if (box->isVisible()) QVERIFY2(!box->text().isEmpty() && box->text() != ",", qPrintable(box->objectName()));
    }
    QVERIFY(messages_.isEmpty());
    QCOMPARE(folder_->bytes("gjcs-1.txt"),
             QByteArray("\"4.203.603.003.305.10\",\"23451\"\r\n"
                        "\".25.45.40.40.30.60.35.70.201.0.601.2\",\"61234561234561\"\r\n"));
}

void Form4Test::correctionSlicesTheStoredTablesByPosition()
{
    Form4& f = *form4_;
    Form1& m = *main_;
    press(f.Command17);
    // A 3-character length before a used one shifts the later lengths; a
    // number past the stored tables gives an empty length or a lone comma;
    // a cut-short section gives what is there; a non-digit counts as 0.
    folder_->write("gjcs-1.txt", "\"4.23.605.10\",\"23x90\"\r\n\".25.45.40.4\",\"92\xd6\xd0" "00000000000\"\r\n");
    press(f.Command2);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    const QList<QPair<QLineEdit*, QString>> values{
        {f.Text5, "2"},   {f.Text69, ".605"}, {f.Text70, "3"},  {f.Text71, ".10"}, {f.Text72, "0"},
        {f.Text73, ""},   {f.Text74, "9"},    {f.Text75, ""},   {f.Text76, "0"},   {f.Text77, ""},
        {f.Text32, "9"},  {f.Text33, ","},    {f.Text38, "2"},  {f.Text39, ".40,.4"},
        {f.Text42, "0"},  {f.Text43, ","},    {f.Text46, "0"},  {f.Text47, ","},   {f.Text59, ","},
    };
    for (const auto& [box, text] : values) QCOMPARE(box->text(), text);
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("\"4.23.605.10\",\"23x90\"\n\".25.45.40.4\",\"92中00000000000\""));

    // With 1-1 set, a file written for 3-2 is refused, naming both shapes;
    // nothing changes, in either window.
    folder_->write("gjcs-1.txt", "\"4.203.60\",\"21212\"\r\n\".25.45.40.40\",\"12121212121212\"\r\n");
    f.Text67->setText(QStringLiteral("1"));
    f.Text68->setText(QStringLiteral("1"));
    const auto before = texts(f.frameBoxes());
    press(f.Command2);
    const QString refused = QStringLiteral("构件参数文件 \\gjcs-1.txt 是为 3-2 框架写的 (长度编号 5 位、截面编号 14 位), "
                                           "当前框架为 1-1 (长度编号 2 位、截面编号 3 位): "
                                           "请选择与文件相同的框架模板, 或导入本框架的构件参数文件");
    QCOMPARE(messages_, QStringList{QStringLiteral("Form4: 杆件参数修正未完成:\n") + refused});
    QCOMPARE(texts(f.frameBoxes()), before);
    press(m.Command11);
    m.Text2->setPlainText(QStringLiteral("main pane"));
    press(m.Command28);
    QCOMPARE(messages_.last(), QStringLiteral("Form1: 导入构件数据未完成:\n") + refused);
    QCOMPARE(m.Text2->toPlainText(), QStringLiteral("main pane"));

    // Counts that form no frame.
    folder_->write("gjcs-1.txt", "\"4.203.60\",\"121\"\r\n\".25.45.40.40\",\"12\"\r\n");
    press(f.Command2);
    QVERIFY2(messages_.last().contains(QStringLiteral("是为另一种框架写的 (长度编号 3 位、截面编号 2 位)")),
             qPrintable(messages_.last()));
}

void Form4Test::correctionOfAMissingOrShortFileChangesNothing()
{
    Form4& f = *form4_;
    press(f.Command11);
    f.Text5->setText(QStringLiteral("1"));
    f.Text69->setText(QStringLiteral("4.20"));
    f.Text1->setPlainText(QStringLiteral("pane"));
    const auto before = texts(f.frameBoxes());

    press(f.Command2); // no file yet
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].startsWith(QStringLiteral("Form4: 杆件参数修正未完成")));
    QVERIFY(messages_[0].contains(QStringLiteral("\\gjcs-1.txt")));

    folder_->write("gjcs-1.txt", "\"4.203.60\",\"12\"\r\n"); // the second line is missing
                                 press(f.Command2);
    QCOMPARE(messages_.size(), 2);
    QVERIFY(messages_[1].contains(QStringLiteral("只有 2 项")));

    QCOMPARE(texts(f.frameBoxes()), before);
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("pane"));
    QCOMPARE(folder_->bytes("gjcs-1.txt"), QByteArray("\"4.203.60\",\"12\"\r\n"));
}

void Form4Test::correctionTouchesOnlyItsOwnWindow()
{
    Form4& f = *form4_;
    Form1& m = *main_;
    folder_->write("gjcs-1.txt", "\"4.203.60\",\"12\"\r\n\".25.45.40.40\",\"122\"\r\n");
    folder_->write("gjcs-2.txt", "\"3.003.30\",\"21\"\r\n\".30.60.20.50\",\"211\"\r\n");
    m.Combo2->setEditText(QStringLiteral("\\gjcs-2.txt"));
    press(m.Command11);
    press(f.Command11);
    f.Text1->setPlainText(QStringLiteral("form4 pane"));
    for (QLineEdit* box : f.frameBoxes()) box->setText(QStringLiteral("4"));
    const auto form4Before = texts(f.frameBoxes());

    // The main window's "导入构件数据" reads its own slot into its own boxes.
    press(m.Command28);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QCOMPARE(m.Text2->toPlainText(), QStringLiteral("\"3.003.30\",\"21\"\n\".30.60.20.50\",\"211\""));
    const QList<QPair<QString, QString>> values{
        {"Text5", "2"},  {"Text69", "3.30"},    {"Text74", "1"}, {"Text75", "3.00"},
        {"Text32", "2"}, {"Text33", ".20,.50"}, {"Text34", "1"}, {"Text35", ".30,.60"},
        {"Text36", "1"}, {"Text37", ".30,.60"},
    };
    for (const auto& [name, text] : values) QCOMPARE(box1(name)->text(), text);
    QCOMPARE(texts(f.frameBoxes()), form4Before);
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("form4 pane"));

    // The member window's correction leaves the main window alone.
    const auto mainBefore = texts1();
    m.Text2->setPlainText(QStringLiteral("main pane"));
    press(f.Command2);
    QCOMPARE(f.Text5->text(), QStringLiteral("1"));
    QCOMPARE(f.Text69->text(), QStringLiteral("4.20"));
    QCOMPARE(f.Text33->text(), QStringLiteral(".25,.45"));
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("\"4.203.60\",\"12\"\n\".25.45.40.40\",\"122\""));
    QCOMPARE(texts1(), mainBefore);
    QCOMPARE(m.Text2->toPlainText(), QStringLiteral("main pane"));

    // A missing file in the main window: its message, nothing changed.
    m.Combo2->setEditText(QStringLiteral("\\gjcs-3.txt"));
    press(m.Command28);
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].startsWith(QStringLiteral("Form1: 导入构件数据未完成")));
    QCOMPARE(texts1(), mainBefore);
    QCOMPARE(m.Text2->toPlainText(), QStringLiteral("main pane"));
}

QTEST_MAIN(Form4Test)
#include "form4_test.moc"
