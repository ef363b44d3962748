// The internal-force diagram window driven offscreen: its controls at start,
// the templates, drawing from the force-diagram file, beam numbers, import
// and save, its failures; and both viewers showing a frame calculated from
// the main window.
#include "common/items.h"
#include "main/form1.h"
#include "viewers/form2.h"
#include "viewers/form5.h"
#include "common_widgets/twips.h"
#include "window_test_support.h"

#include <QtTest>

#include <memory>
#include <optional>

using namespace kjtest;

namespace {

// Lines of a result file as the calculation wrote it, the final empty one dropped.
QList<QByteArray> fileLines(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray& l : lines) l = l.trimmed();
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

} // namespace

class Form5Test : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startShowsControlsAtTheirPlacesWithSketchHidden();
    void templatesShowBeamsAndColumnsAndWriteTheShape();
    void drawPutsTheNumbersOfTheFileOnTheirMembers();
    void drawChangesNothingUnlessTheFileHoldsEveryNumber();
    void importAndSaveCopySlotOneToSlotTwo();
    void bothViewersShowACalculatedFrame();
    void everyValueShowsWhole();
    void fileOfAnotherShapeDrawsNothing();

private:
    QStringList allTexts() const;
    QString text(const QString& name) const { return form_->box(name.toStdString())->text(); }
    QStringList texts(const QStringList& names) const
    {
        QStringList out;
        for (const QString& n : names) out << text(n);
        return out;
    }

    std::optional<WorkingFolder> folder_;
    std::unique_ptr<QWidget> main_;
    Form5* form_ = nullptr;
    QStringList messages_;
};

void Form5Test::init()
{
    folder_.emplace();
    QVERIFY(folder_->isValid());
    messages_.clear();
    main_ = std::make_unique<QWidget>();
    form_ = new Form5(main_.get());
    catchMessages(*form_, messages_);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
}

void Form5Test::cleanup()
{
    main_.reset();
    folder_.reset();
}

QStringList Form5Test::allTexts() const
{
    QStringList out;
    for (QLineEdit* b : form_->sketchBoxes()) out << b->objectName() + "=" + b->text();
    out << form_->Text37->text() << form_->Text38->text() << form_->Text40->toPlainText() << form_->Text41->text();
    return out;
}

void Form5Test::startShowsControlsAtTheirPlacesWithSketchHidden()
{
    Form5& f = *form_;
    QCOMPARE(f.windowTitle(), QStringLiteral("内力查询"));
    QCOMPARE(f.size(), QSize(779, 581));
    QCOMPARE(f.sketchBoxes().size(), std::size_t(52)); // six groups and eight column pairs
    QVERIFY(visibleSketch(*form_).isEmpty());
    for (QLineEdit* b : f.sketchBoxes()) {
        QCOMPARE(b->text(), QString());
        QCOMPARE(b->height(), 18); // 270 twips
    }
    QCOMPARE(f.Combo1->count(), 3);
    QCOMPARE(f.Combo1->itemText(0), QStringLiteral("\\mvts-1.txt"));
    QCOMPARE(f.Combo1->itemText(2), QStringLiteral("\\mvts-3.txt"));
    QCOMPARE(f.Combo1->currentText(), QStringLiteral("\\mvts-1.txt"));
    QCOMPARE(f.Text39->text(), QStringLiteral(" L      NF"));
    QCOMPARE(f.Command6->text(), QStringLiteral("内力图示"));
    QCOMPARE(f.Command10->text(), QStringLiteral("梁号确定"));
    QCOMPARE(f.Command1->text(), QStringLiteral("返回计算程序"));
    QCOMPARE(f.Text40->geometry(), QRect(0, 432, 425, 137)); // 6375 x 2055
    QCOMPARE(f.Image1->geometry(), QRect(8, 8, 752, 413));

    // Beam boxes M1, M2, V1, Mo, V2, number; columns on their lines.
    QCOMPARE(f.Text1->pos(), QPoint(32, 32));
    QCOMPARE(f.Text2->pos(), QPoint(200, 32));
    QCOMPARE(f.Text4->pos(), QPoint(112, 88));
    QCOMPARE(f.Text6->pos(), QPoint(128, 24));
    QCOMPARE(f.Text32->pos(), QPoint(664, 208));
    QCOMPARE(f.Text34->pos(), QPoint(584, 272));
    QCOMPARE(f.Text42->geometry(), QRect(32, 96, 33, 18));
    QCOMPARE(f.Text49->pos(), QPoint(688, 176));
    QCOMPARE(f.Text57->pos(), QPoint(688, 360));
}

void Form5Test::templatesShowBeamsAndColumnsAndWriteTheShape()
{
    Form5& f = *form_;
    press(f.Command5); // 1-2
    QCOMPARE(visibleSketch(*form_), sorted(range(1, 6) + range(19, 24) + range(42, 45) + range(50, 53) << "Image4"));
    QCOMPARE(f.Text37->text(), QStringLiteral("1"));
    QCOMPARE(f.Text38->text(), QStringLiteral("2"));
    press(f.Command3); // 2-1 adds, hides nothing
    QCOMPARE(visibleSketch(*form_), sorted(range(1, 12) + range(19, 24) + range(42, 47) + range(50, 53) << "Image2"
                                                                                                    << "Image4"));
    QCOMPARE(f.Text37->text(), QStringLiteral("2"));
    QCOMPARE(f.Text38->text(), QStringLiteral("1"));
    press(f.Command9); // 清  屏
    QVERIFY(visibleSketch(*form_).isEmpty());
    press(f.Command7); // 2-2
    QCOMPARE(visibleSketch(*form_), sorted(range(1, 12) + range(19, 30) + range(42, 47) + range(50, 55) << "Image5"));
    press(f.Command8); // 3-2
    QCOMPARE(visibleSketch(*form_), sorted(range(1, 36) + range(42, 57) << "Image5" << "Image6"));
    QCOMPARE(f.Text37->text(), QStringLiteral("3"));
    QCOMPARE(f.Text38->text(), QStringLiteral("2"));
}

void Form5Test::drawPutsTheNumbersOfTheFileOnTheirMembers()
{
    Form5& f = *form_;
    // 1-1: M1, M2, Mo, V1, V2 of the beam, then top and bottom of each column.
    folder_->write("mvts-1.txt", "-80,-48,66,95,-70\r\n30,-25\r\n-30,25\r\n\r\n");
    press(f.Command2);
    press(f.Command6);
    QVERIFY(messages_.isEmpty());
    QCOMPARE(texts(range(1, 5)), QStringList({"-80", "-48", "95", "66", "-70"}));
    QCOMPARE(texts(range(42, 45)), QStringList({"30", "-25", "-30", "25"}));
    QCOMPARE(text("Text6"), QString()); // numbers come from 梁号确定 only
    QCOMPARE(text("Text46"), QString());

    // 1-2: the second beam at position 4, the third and fourth columns at
    // positions 5 and 6; numbers after those the shape needs are ignored.
    folder_->write("mvts-1.txt", "1,2,3,4,5\r\n6,7,8,9,10\r\n11,12\r\n13,14\r\n15,16\r\n17,18\r\n19,20\r\nend\r\n");
    press(f.Command5);
    press(f.Command6);
    QCOMPARE(texts(range(19, 23)), QStringList({"6", "7", "9", "8", "10"}));
    QCOMPARE(texts(range(42, 45)), QStringList({"11", "12", "13", "14"}));
    QCOMPARE(texts(range(50, 53)), QStringList({"15", "16", "17", "18"}));
    QCOMPARE(text("Text46"), QString());
    QCOMPARE(text("Text7"), QString());

    // 2-2: beams at positions 1, 2, 4, 5; columns 1, 2, 3 and 5, 6, 7.
    QByteArray file;
    for (int b = 1; b <= 4; ++b) file += QByteArray::number(b) + "1," + QByteArray::number(b) + "2,"
                                        + QByteArray::number(b) + "3," + QByteArray::number(b) + "4,"
                                        + QByteArray::number(b) + "5\r\n";
    for (int c = 1; c <= 6; ++c) file += "-" + QByteArray::number(c) + "1,-" + QByteArray::number(c) + "2\r\n";
    folder_->write("mvts-1.txt", file + "\r\n");
    typeShape(*form_, "2", "2");
    press(f.Command6);
    QCOMPARE(texts(range(1, 5)), QStringList({"11", "12", "14", "13", "15"}));
    QCOMPARE(texts(range(7, 11)), QStringList({"21", "22", "24", "23", "25"}));
    QCOMPARE(texts(range(19, 23)), QStringList({"31", "32", "34", "33", "35"}));
    QCOMPARE(texts(range(25, 29)), QStringList({"41", "42", "44", "43", "45"}));
    QCOMPARE(texts(range(42, 47)), QStringList({"-11", "-12", "-21", "-22", "-31", "-32"}));
    QCOMPARE(texts(range(50, 55)), QStringList({"-41", "-42", "-51", "-52", "-61", "-62"}));
    QCOMPARE(text("Text13"), QString());
    QCOMPARE(text("Text48"), QString());
    press(f.Command10);
    QCOMPARE(texts({"Text6", "Text12", "Text18", "Text24", "Text30", "Text36"}),
             QStringList({"1", "2", "3", "3", "4", "6"}));
    QVERIFY(f.Text41->text().startsWith(QStringLiteral("DATE: ")));

    // The slot file is drawn, not the pane.
    f.Text40->setPlainText(QStringLiteral("1,1,1,1,1"));
    press(f.Command6);
    QCOMPARE(text("Text1"), QStringLiteral("11"));
    QVERIFY(messages_.isEmpty());
}

void Form5Test::drawChangesNothingUnlessTheFileHoldsEveryNumber()
{
    Form5& f = *form_;
    folder_->write("mvts-1.txt", "-80,-48,66,95,-70\r\n30,-25\r\n-30,25\r\n");
    press(f.Command2);
    press(f.Command6);
    const QStringList before = allTexts();

    // A file of a frame whose columns were not designed.
    folder_->write("mvts-1.txt", "-1,-2,3,4,-5\r\n\r\n");
    press(f.Command6);
    QCOMPARE(allTexts(), before);
    QCOMPARE(messages_.value(0), QStringLiteral("内力图示未完成:\n内力文件 \\mvts-1.txt 只有 5 个数, 1-1 框架需要 9 个"
                                                "(每根梁 5 个, 每根柱 2 个); 文件中没有柱端弯矩, 框架标志为 1 时不计算柱"));

    // A line that is not numbers.
    folder_->write("mvts-1.txt", "-1,-2,3,4,-5\r\n\"2,14+0,0 2/0\",1\r\n1,2\r\n");
    press(f.Command6);
    QCOMPARE(allTexts(), before);
    QCOMPARE(messages_.value(1), QStringLiteral("内力图示未完成:\n内力文件 \\mvts-1.txt 第 2 行第 1 项 \"2,14+0,0 2/0\" 不是数"));

    // A missing slot.
    f.Combo1->setEditText(QStringLiteral("\\mvts-3.txt"));
    press(f.Command6);
    QCOMPARE(allTexts(), before);
    QCOMPARE(messages_.value(2), QStringLiteral("内力图示未完成:\n找不到文件 \\mvts-3.txt"));

    // L = 4 is no shape: nothing is read and nothing changes; the message says why.
    typeShape(*form_, "4", "1");
    press(f.Command6);
    QCOMPARE(allTexts().mid(0, 52), before.mid(0, 52));
    QCOMPARE(messages_.size(), 4);
    QVERIFY(messages_[3].startsWith(QStringLiteral("内力图示未完成:\nL, NF 框中的跨数和层数 (\"4\", \"1\")")));

    // Still usable.
    f.Combo1->setEditText(QStringLiteral("\\mvts-1.txt"));
    folder_->write("mvts-1.txt", "-1,-2,3,4,-5,6,7,8,9\r\n");
    press(f.Command2);
    press(f.Command6);
    QCOMPARE(texts(range(1, 5)), QStringList({"-1", "-2", "4", "3", "-5"}));
    QCOMPARE(messages_.size(), 4);
}

void Form5Test::importAndSaveCopySlotOneToSlotTwo()
{
    Form5& f = *form_;
    const QByteArray slot1 = "-80,-48,66,95,-70\r\n30,-25\r\n-30,25\r\n\r\n";
    folder_->write("mvts-1.txt", slot1);
    press(f.Command12);
    QCOMPARE(f.Text40->toPlainText(), QStringLiteral("-80,-48,66,95,-70\n30,-25\n-30,25\n\n"));
    f.Combo1->setCurrentIndex(1);
    press(f.Command11);
    QCOMPARE(folder_->bytes("mvts-2.txt"), slot1 + "\r\n");
    press(f.Command2);
    press(f.Command6);
    QCOMPARE(text("Text45"), QStringLiteral("25"));
    QVERIFY(messages_.isEmpty());

    // An edited pane reaches the drawing through the file.
    f.Text40->setPlainText(QStringLiteral("1,2,3,4,5\n6,7\n8,9"));
    press(f.Command11);
    QCOMPARE(folder_->bytes("mvts-2.txt"), QByteArray("1,2,3,4,5\r\n6,7\r\n8,9\r\n"));
    press(f.Command6);
    QCOMPARE(text("Text45"), QStringLiteral("9"));

    press(f.Command1); // 返回计算程序
    QVERIFY(!f.isVisible());
    QVERIFY(main_->isVisible());
}

void Form5Test::bothViewersShowACalculatedFrame()
{
    // A 3-span, 2-storey frame calculated from the main window.
    QVERIFY(QFile::copy(QStringLiteral(KJ_EXAMPLES_DIR "/KJ-2.txt"), folder_->path("KJ-1.txt")));
    Form1 main;
    main.inputBox = [](const QString&, const QString&, const QString&, std::optional<QPoint>) {
        return QStringLiteral("y");
    };
    QStringList mainMessages;
    catchMessages(main, mainMessages);
    main.show();
    press(main.Command4);
    QVERIFY2(mainMessages.isEmpty(), qPrintable(mainMessages.join('\n')));
    const QList<QByteArray> barLines = fileLines(folder_->bytes("lpj-1.txt"));
    const QList<QByteArray> forceLines = fileLines(folder_->bytes("mvts-1.txt"));
    QCOMPARE(barLines.size(), 6);
    QCOMPARE(forceLines.size(), 6 + 8);

    press(main.Command9); // 配筋查询
    QVERIFY(main.hasForm(2));
    Form2* bars = main.form2();
    catchMessages(*bars, mainMessages);
    typeShape(*bars, "3", "2");
    press(bars->Command8);
    press(bars->Command6);
    press(bars->Command10);
    // Beam k's fields 1 to 5 in its group: top left, stirrups left, top
    // right, stirrups right, bottom.
    const int fieldBox[5] = {0, 2, 1, 4, 3};
    for (int k = 0; k < 6; ++k) {
        const std::vector<std::string> fields = kj::readItems(barLines[k].toStdString());
        QCOMPARE(fields.size(), std::size_t(5));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(bars->box("Text" + std::to_string(6 * k + 1 + fieldBox[i]))->text(),
                     QString::fromStdString(fields[static_cast<std::size_t>(i)]));
        QCOMPARE(bars->box("Text" + std::to_string(6 * k + 6))->text(), QString::number(k + 1));
        QVERIFY(bars->box("Text" + std::to_string(6 * k + 1))->isVisible());
    }

    press(main.Command2); // 内力查询
    Form5* forces = main.form5();
    catchMessages(*forces, mainMessages);
    press(forces->Command8);
    press(forces->Command6);
    const int valueBox[5] = {0, 1, 3, 2, 4}; // M1, M2, Mo, V1, V2
    for (int k = 0; k < 6; ++k) {
        const QList<QByteArray> values = forceLines[k].split(',');
        QCOMPARE(values.size(), 5);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(forces->box("Text" + std::to_string(6 * k + 1 + valueBox[i]))->text(), QString(values[i]));
    }
    for (int c = 0; c < 8; ++c) {
        const QList<QByteArray> values = forceLines[6 + c].split(',');
        QCOMPARE(forces->box("Text" + std::to_string(42 + 2 * c))->text(), QString(values[0]));
        QCOMPARE(forces->box("Text" + std::to_string(43 + 2 * c))->text(), QString(values[1]));
    }
    QVERIFY(mainMessages.isEmpty());

    // Back to the main window; opening again shows the same window and boxes.
    main.hide();
    press(forces->Command1);
    QVERIFY(main.isVisible());
    QVERIFY(!forces->isVisible());
    press(main.Command2);
    QCOMPARE(main.form5(), forces);
    QCOMPARE(forces->Text1->text(), QString(forceLines[0].split(',')[0]));
}

void Form5Test::everyValueShowsWhole()
{
    Form5& f = *form_;
    // Whole numbers of five digits and a sign, and unrounded values of a beam
    // skipped by the design, on every column and at the window's right edge.
    QByteArray file = "-12690,-1269,25536,-99999,1269\r\n-47.8333333333333,1,2,3,4\r\n1,2,3,4,5\r\n"
                      "1,2,3,4,5\r\n1,2,3,4,5\r\n1,-12345,2,3,-0.123456789012345\r\n";
    for (int c = 1; c <= 8; ++c) file += c == 8 ? "-1269,-0.123456789012345\r\n" : "-1269,12690\r\n";
    folder_->write("mvts-1.txt", file);
    press(f.Command8);
    press(f.Command6);
    QVERIFY(messages_.isEmpty());
    f.Command9->setFocus();
    QCOMPARE(text("Text42"), QStringLiteral("-1269"));
    QCOMPARE(text("Text57"), QStringLiteral("-0.123456789012345"));
    for (QLineEdit* box : f.sketchBoxes())
        if (!box->text().isEmpty()) QVERIFY2(showsWholeText(box), qPrintable(box->objectName() + ": " + box->text()));
    for (QLineEdit* box : f.sketchBoxes()) QVERIFY(f.rect().contains(box->geometry()));

    // A file of short values puts every box back in its place.
    const QRect place = f.Text57->geometry();
    QVERIFY(place.width() > kjw::twips(495));
    folder_->write("mvts-1.txt", "1,2,3,4,5\r\n1,2,3,4,5\r\n1,2,3,4,5\r\n1,2,3,4,5\r\n1,2,3,4,5\r\n1,2,3,4,5\r\n"
                                 + QByteArray("1,2\r\n").repeated(8));
    press(f.Command6);
    QCOMPARE(f.Text57->geometry(), kjw::twipsRect(10320, 5400, 495, 270));
}

void Form5Test::fileOfAnotherShapeDrawsNothing()
{
    Form5& f = *form_;
    // A 4-10 frame, 90 members, drawn with the 3-2 template.
    QByteArray file = QByteArray("1,2,3,4,5\r\n").repeated(40) + QByteArray("6,7\r\n").repeated(50) + "\r\n";
    folder_->write("mvts-1.txt", file);
    press(f.Command8);
    const QStringList before = allTexts();
    press(f.Command6);
    QCOMPARE(messages_, QStringList{QStringLiteral("内力图示未完成:\n内力文件 \\mvts-1.txt 是 4-10 框架 (40 根梁、50 根柱)的, "
                                                   "当前为 3-2 框架 (6 根梁、8 根柱): 没有绘图; 请选择与文件相同的框架模板")});
    QCOMPARE(allTexts(), before);
    // A continuous beam of three spans, drawn with 1-1.
    folder_->write("mvts-1.txt", QByteArray("1,2,3,4,5\r\n").repeated(3));
    press(f.Command2);
    const QStringList shaped = allTexts();
    press(f.Command6);
    QVERIFY2(messages_.value(1).contains(QStringLiteral("是 3 根梁的连续梁 (没有柱)的, 当前为 1-1 框架")), qPrintable(messages_.value(1)));
    QCOMPARE(allTexts(), shaped);
}

QTEST_MAIN(Form5Test)
#include "form5_test.moc"
