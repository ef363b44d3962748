// The reinforcement drawing window driven offscreen: its controls at start,
// the templates, drawing from the beam reinforcement file, beam numbers,
// clear, import and save, the way back, and its failures.
#include "viewers/form2.h"
#include "window_test_support.h"

#include <QtTest>

#include <memory>
#include <optional>

using namespace kjtest;

namespace {

const QByteArray kLine1 = "\"2,14+0,0 2/0\", \"2*6@118\", \"2,16+1,12 3/0\", \"2*8@150\", \"2,16+0,0 0/2\"\r\n";
QByteArray beamLine(const char* beam)
{
    QByteArray line;
    for (int f = 1; f <= 5; ++f) {
        if (f > 1) line += ", ";
        line += '"' + QByteArray(beam) + QByteArray::number(f) + '"';
    }
    return line + "\r\n";
}

} // namespace

class Form2Test : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startShowsControlsAtTheirPlacesWithGroupsHidden();
    void templatesShowGroupsAndPictureUntilClear();
    void drawFillsTheTypedShapeAndNumbersFollow();
    void fileOfAnotherShapeOrNoShapeDrawsNothing();
    void failuresNameTheFileAndChangeNoBox();
    void importAndSaveCopySlotOneToSlotTwo();
    void returnHidesAndShowsTheMainWindow();
    void longBarStringsShowWhole();

private:
    QString text(const QString& name) const { return form_->box(name.toStdString())->text(); }
    QStringList allTexts() const;

    std::optional<WorkingFolder> folder_;
    std::unique_ptr<QWidget> main_;
    Form2* form_ = nullptr;
    QStringList messages_;
};

void Form2Test::init()
{
    folder_.emplace();
    QVERIFY(folder_->isValid());
    messages_.clear();
    main_ = std::make_unique<QWidget>();
    form_ = new Form2(main_.get());
    catchMessages(*form_, messages_);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
}

void Form2Test::cleanup()
{
    main_.reset();
    folder_.reset();
}

QStringList Form2Test::allTexts() const
{
    QStringList texts;
    for (QLineEdit* b : form_->sketchBoxes()) texts << b->objectName() + "=" + b->text();
    texts << form_->Text40->toPlainText() << form_->Text41->text();
    return texts;
}

void Form2Test::startShowsControlsAtTheirPlacesWithGroupsHidden()
{
    Form2& f = *form_;
    QCOMPARE(f.windowTitle(), QStringLiteral("配筋查询"));
    QCOMPARE(f.size(), QSize(779, 581)); // 11685 x 8715 twips
    QCOMPARE(f.minimumSize(), f.maximumSize());
    QVERIFY(visibleSketch(*form_).isEmpty());
    QCOMPARE(f.sketchBoxes().size(), std::size_t(36));
    QCOMPARE(f.Text32->text(), QStringLiteral("2,22+3,25 3/2"));
    QCOMPARE(f.Text39->text(), QStringLiteral(" L      NF"));
    for (const QString& name : range(1, 31)) QCOMPARE(text(name), QString());
    QVERIFY(f.Text37->isVisible() && f.Text38->isVisible() && f.Text40->isVisible() && f.Text41->isVisible());
    QCOMPARE(f.Combo1->count(), 3);
    QCOMPARE(f.Combo1->itemText(0), QStringLiteral("\\Lpj-1.txt"));
    QCOMPARE(f.Combo1->itemText(1), QStringLiteral("\\Lpj-2.txt"));
    QCOMPARE(f.Combo1->itemText(2), QStringLiteral("\\Lpj-3.txt"));
    QCOMPARE(f.Combo1->currentText(), QStringLiteral("\\Lpj-1.txt"));
    QVERIFY(f.Combo1->isEditable());
    QCOMPARE(f.Label1->text(), QStringLiteral("  框架梁跨数-框架层数"));

    // Places in twips / 15.
    QCOMPARE(f.Text6->geometry(), QRect(128, 16, 25, 19));
    QCOMPARE(f.Text1->pos(), QPoint(32, 32));
    QCOMPARE(f.Text4->pos(), QPoint(96, 88));
    QCOMPARE(f.Text32->pos(), QPoint(632, 208));
    QCOMPARE(f.Text35->pos(), QPoint(656, 248));
    QCOMPARE(f.Text36->pos(), QPoint(608, 184));
    QCOMPARE(f.Text37->pos(), QPoint(592, 384));
    QCOMPARE(f.Text38->pos(), QPoint(640, 384));
    QCOMPARE(f.Text41->geometry().topLeft(), QPoint(296, 376));
    QCOMPARE(f.Text41->width(), 161);
    QCOMPARE(f.Text40->geometry(), QRect(0, 432, 457, 137));
    QCOMPARE(f.Image6->geometry(), QRect(8, 8, 751, 411));
    const QList<QPair<QPushButton*, QString>> buttons{
        {f.Command2, "1-1"},       {f.Command3, "2-1"},       {f.Command4, "3-1"},     {f.Command5, "1-2"},
        {f.Command7, "2-2"},       {f.Command8, "3-2"},       {f.Command9, "清  屏"}, {f.Command10, "梁号确定"},
        {f.Command6, "配筋图示"}, {f.Command12, "导入文件"}, {f.Command11, "保存文件"}, {f.Command1, "返回计算程序"}};
    for (const auto& [b, caption] : buttons) QCOMPARE(b->text(), caption);
    QCOMPARE(f.Command2->pos(), QPoint(656, 448));
    QCOMPARE(f.Command8->pos(), QPoint(736, 480));
    QCOMPARE(f.Command6->pos(), QPoint(464, 536));
    QCOMPARE(f.Combo1->pos(), QPoint(560, 496));
    QCOMPARE(f.Command1->pos(), QPoint(656, 528));
}

void Form2Test::templatesShowGroupsAndPictureUntilClear()
{
    Form2& f = *form_;
    typeShape(*form_, "7", "x");
    press(f.Command5); // 1-2
    QCOMPARE(visibleSketch(*form_), sorted(range(1, 6) + range(19, 24) << "Image4"));
    press(f.Command3); // 2-1 adds its groups, hides nothing
    QCOMPARE(visibleSketch(*form_), sorted(range(1, 12) + range(19, 24) << "Image2" << "Image4"));
    // The shape stays as typed.
    QCOMPARE(f.Text37->text(), QStringLiteral("7"));
    QCOMPARE(f.Text38->text(), QStringLiteral("x"));
    press(f.Command8); // 3-2
    QCOMPARE(visibleSketch(*form_), sorted(range(1, 36) << "Image2" << "Image4" << "Image6"));

    f.Text40->setPlainText(QStringLiteral("pane"));
    f.Text41->setText(QStringLiteral("stamp"));
    press(f.Command9); // 清  屏
    QVERIFY(visibleSketch(*form_).isEmpty());
    QVERIFY(f.Text37->isVisible() && f.Text38->isVisible() && f.Text40->isVisible() && f.Text41->isVisible());
    QCOMPARE(f.Text32->text(), QStringLiteral("2,22+3,25 3/2"));
    QCOMPARE(f.Text40->toPlainText(), QStringLiteral("pane"));
    QCOMPARE(f.Text41->text(), QStringLiteral("stamp"));
}

void Form2Test::drawFillsTheTypedShapeAndNumbersFollow()
{
    Form2& f = *form_;
    folder_->write("lpj-1.txt", kLine1 + beamLine("a") + beamLine("b") + beamLine("c") + "\r\n");
    f.Text6->setText(QStringLiteral("n"));

    // Before any template: the hidden boxes are filled.
    typeShape(*form_, "2", "2");
    press(f.Command6);
    QVERIFY(messages_.isEmpty());
    QVERIFY(!f.Text1->isVisible());
    QCOMPARE(f.Text1->text(), QStringLiteral("2,14+0,0 2/0"));
    QCOMPARE(f.Text3->text(), QStringLiteral("2*6@118"));
    QCOMPARE(f.Text2->text(), QStringLiteral("2,16+1,12 3/0"));
    QCOMPARE(f.Text5->text(), QStringLiteral("2*8@150"));
    QCOMPARE(f.Text4->text(), QStringLiteral("2,16+0,0 0/2"));
    QCOMPARE(QStringList({text("Text7"), text("Text9"), text("Text8"), text("Text11"), text("Text10")}),
             QStringList({"a1", "a2", "a3", "a4", "a5"}));
    QCOMPARE(QStringList({text("Text19"), text("Text21"), text("Text20"), text("Text23"), text("Text22")}),
             QStringList({"b1", "b2", "b3", "b4", "b5"}));
    QCOMPARE(QStringList({text("Text25"), text("Text27"), text("Text26"), text("Text29"), text("Text28")}),
             QStringList({"c1", "c2", "c3", "c4", "c5"}));
    QCOMPARE(text("Text13"), QString()); // not a beam of 2-2
    QCOMPARE(f.Text32->text(), QStringLiteral("2,22+3,25 3/2"));
    QCOMPARE(f.Text6->text(), QStringLiteral("n"));
    press(f.Command7); // 2-2 shows what was drawn
    QVERIFY(f.Text1->isVisible() && f.Text28->isVisible());

    // 梁号确定: every position its number, then the shape's beams 1 to 4.
    press(f.Command10);
    QCOMPARE(QStringList({text("Text6"), text("Text12"), text("Text18"), text("Text24"), text("Text30"),
                          text("Text36")}),
             QStringList({"1", "2", "3", "3", "4", "6"}));
    QVERIFY2(QRegularExpression(QStringLiteral("^DATE: \\d{4}/\\d{1,2}/\\d{1,2}/\\d{1,2}:\\d\\d:\\d\\d$"))
                 .match(f.Text41->text())
                 .hasMatch(),
             qPrintable(f.Text41->text()));
    typeShape(*form_, "1", "2");
    press(f.Command10);
    QCOMPARE(text("Text24"), QStringLiteral("2"));
    QCOMPARE(text("Text12"), QStringLiteral("2"));
    typeShape(*form_, "", "");
    press(f.Command10);
    QCOMPARE(text("Text24"), QStringLiteral("4"));
}

void Form2Test::fileOfAnotherShapeOrNoShapeDrawsNothing()
{
    Form2& f = *form_;
    // A 3-2 frame whose second beam was not designed has five lines: read as
    // 3-2 it is one line short, read as 2-2 it has a line too many. Neither
    // draws, and each message names the file's lines and the shape.
    folder_->write("lpj-1.txt",
                   beamLine("b1") + beamLine("b3") + beamLine("b4") + beamLine("b5") + beamLine("b6") + "\r\n");
    const QStringList before = allTexts();
    typeShape(*form_, "3", "2");
    press(f.Command6);
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].contains(QStringLiteral("只有 5 行梁配筋, 3-2 框架有 6 根梁")));
    typeShape(*form_, "2", "2");
    press(f.Command6);
    QCOMPARE(messages_.value(1), QStringLiteral("配筋图示未完成:\n配筋文件 \\Lpj-1.txt 有 5 行梁配筋, 是至少有 5 根梁的框架的; "
                                                "当前为 2-2 框架 (4 根梁): 没有绘图"));
    QCOMPARE(allTexts(), before);

    // L = 4 is no shape: no file is read, even a missing one, nothing changes,
    // and the message says to type the shape, which this window's template
    // buttons do not fill.
    QVERIFY(QFile::remove(folder_->path("lpj-1.txt")));
    typeShape(*form_, "4", "1");
    press(f.Command6);
    QCOMPARE(allTexts(), before);
    QCOMPARE(messages_.size(), 3);
    QCOMPARE(messages_[2], QStringLiteral("配筋图示未完成:\nL, NF 框中的跨数和层数 (\"4\", \"1\") 不是 1-3 跨、1-2 层的框架; "
                                          "请在 L、NF 框中输入跨数和层数 (本窗口的框架按钮只显示图形, 不填这两个框)"));
}

void Form2Test::failuresNameTheFileAndChangeNoBox()
{
    Form2& f = *form_;
    typeShape(*form_, "1", "2");
    const QStringList before = allTexts();

    press(f.Command6); // no file yet
    QCOMPARE(messages_.value(0), QStringLiteral("配筋图示未完成:\n找不到文件 \\Lpj-1.txt"));

    f.Combo1->setEditText(QStringLiteral("\\Lpj-3.txt"));
    folder_->write("Lpj-3.txt", kLine1 + "\"a1\", \"a2\", \"a3\", \"a4\"\r\n" + beamLine("b"));
    press(f.Command6);
    QCOMPARE(messages_.value(1), QStringLiteral("配筋图示未完成:\n配筋文件 \\Lpj-3.txt 第 2 行有 4 项, 配筋行应有 5 项"
                                                "(左端上部筋, 左端箍筋, 右端上部筋, 右端箍筋, 跨中下部筋)"));
    QCOMPARE(allTexts(), before);

    // Still usable: a sound file is drawn.
    folder_->write("Lpj-3.txt", kLine1 + beamLine("a"));
    press(f.Command6);
    QCOMPARE(messages_.size(), 2);
    QCOMPARE(text("Text19"), QStringLiteral("a1"));
}

void Form2Test::importAndSaveCopySlotOneToSlotTwo()
{
    Form2& f = *form_;
    const QByteArray slot1 = kLine1 + beamLine("a") + "\r\n";
    folder_->write("lpj-1.txt", slot1);
    press(f.Command12);
    QCOMPARE(f.Text40->toPlainText(), QString::fromLatin1(kLine1 + beamLine("a")).replace("\r\n", "\n") + "\n");
    f.Combo1->setCurrentIndex(1);
    QCOMPARE(f.Combo1->currentText(), QStringLiteral("\\Lpj-2.txt"));
    press(f.Command11);
    QCOMPARE(folder_->bytes("Lpj-2.txt"), slot1 + "\r\n");
    QVERIFY(messages_.isEmpty());

    // The copy draws like the original.
    typeShape(*form_, "2", "1");
    press(f.Command6);
    QCOMPARE(text("Text7"), QStringLiteral("a1"));

    // A missing file keeps the pane; a file that cannot be written is left alone.
    f.Combo1->setEditText(QStringLiteral("\\Lpj-3.txt"));
    press(f.Command12);
    QCOMPARE(messages_.value(0), QStringLiteral("导入文件未完成:\n找不到文件 \\Lpj-3.txt"));
    QVERIFY(f.Text40->toPlainText().startsWith(QStringLiteral("\"2,14")));
    f.Combo1->setEditText(QStringLiteral("\\no-such-folder\\Lpj-2.txt"));
    press(f.Command11);
    QVERIFY(messages_.value(1).startsWith(QStringLiteral("保存文件未完成:\n无法写入文件 \\no-such-folder\\Lpj-2.txt")));
    QCOMPARE(folder_->bytes("Lpj-2.txt"), slot1 + "\r\n");
}

void Form2Test::returnHidesAndShowsTheMainWindow()
{
    QVERIFY(!main_->isVisible());
    press(form_->Command1);
    QVERIFY(!form_->isVisible());
    QVERIFY(main_->isVisible());
}

void Form2Test::longBarStringsShowWhole()
{
    Form2& f = *form_;
    // Two-digit counts in every part of a bar string, and the widest stirrups.
    const QByteArray line = "\"12,25+10,28 8/7\", \"4*10@100\", \"2,22+3,25 3/2\", \"2*32@50\", \"12,32+12,32 12/12\"\r\n";
    folder_->write("lpj-1.txt", line.repeated(6));
    typeShape(*form_, "3", "2");
    press(f.Command8);
    press(f.Command6);
    QVERIFY(messages_.isEmpty());
    f.Command9->setFocus();
    QCOMPARE(text("Text1"), QStringLiteral("12,25+10,28 8/7"));
    for (QLineEdit* box : f.sketchBoxes())
        if (!box->text().isEmpty()) QVERIFY2(showsWholeText(box), qPrintable(box->objectName() + ": " + box->text()));
}

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
