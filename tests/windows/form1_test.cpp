// The main window driven offscreen: its start-up state, the frame templates,
// the data file buttons, the calculation button and the reference texts.
#include "common_widgets/frame_picture.h"
#include "main/form1.h"
#include "window_test_support.h"

#include <QtTest>

#include <array>
#include <memory>
#include <optional>

using namespace kjtest;

class Form1Test : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startUpShowsInitialListsAndBoxesAndTouchesNoFile();
    void templatesAddTheirBoxesUntilClear();
    void generationBuildsTheDataFileOfEachTemplate();
    void generationHandlesOtherShapesAndJointLoadCounts();
    void generationFailureLeavesPaneAndFilesAsTheyWere();
    void importAndSaveAddOneLineEnd();
    void calculationRunsOnlyOnLowerCaseY();
    void calculationFailureIsShownAndWindowStaysUsable();
    void ruleSetListsCoverNoControlAndReachTheCalculation();
    void referenceTextsReplaceThePane();
    void externalCommandMenu();

private:
    QStringList files() const { return folder_->entries(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }
    QStringList visibleFrameBoxes() const;
    void writeMemberParameters() const;

    std::optional<WorkingFolder> folder_;
    std::unique_ptr<Form1> form_;
    // What the boxes were asked and answered.
    QStringList answers_;
    QStringList prompts_, titles_, defaults_;
    QList<std::optional<QPoint>> positions_;
    QStringList messages_;
    QStringList started_;
    bool programsStart_ = false;
};

void Form1Test::init()
{
    folder_.emplace();
    QVERIFY(folder_->isValid());
    answers_.clear();
    prompts_.clear();
    titles_.clear();
    defaults_.clear();
    positions_.clear();
    messages_.clear();
    started_.clear();
    programsStart_ = false;

    form_ = std::make_unique<Form1>();
    form_->inputBox = [this](const QString& prompt, const QString& title, const QString& answer,
                             std::optional<QPoint> at) {
        prompts_ << prompt;
        titles_ << title;
        defaults_ << answer;
        positions_ << at;
        return answers_.isEmpty() ? QString() : answers_.takeFirst();
    };
    catchMessages(*form_, messages_);
    form_->startProgram = [this](const QString& program) {
        started_ << program;
        return programsStart_;
    };
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void Form1Test::cleanup()
{
    form_.reset();
    folder_.reset();
}

QStringList Form1Test::visibleFrameBoxes() const
{
    const std::array<QWidget*, 6> pictures{form_->Image1, form_->Image2, form_->Image3,
                                           form_->Image4, form_->Image5, form_->Image6};
    return shownNames(form_->frameBoxes(), pictures);
}

void Form1Test::writeMemberParameters() const
{
    folder_->write(QStringLiteral("gjcs-1.txt"), "\"4.203.60\",\"12\"\r\n\".25.45.40.40\",\"122\"\r\n");
}

// ---- Start-up ---------------------------------------------------------------

void Form1Test::startUpShowsInitialListsAndBoxesAndTouchesNoFile()
{
    Form1& f = *form_;
    QCOMPARE(f.windowTitle(), QStringLiteral("框架内力及配筋计算程序(Rvk)"));
    QCOMPARE(f.size(), QSize(1048, 676)); // 15720 x 10140 twips: 9645 and the bottom strip
    QCOMPARE(f.minimumSize(), f.maximumSize());

    struct Expected {
        QComboBox* combo;
        QStringList items;
        QString text;
    };
    const QList<Expected> expected{
        {f.Combo3, {"\\KJ-1.txt", "\\KJ-2.txt", "\\KJ-3.txt"}, "\\KJ-1.txt"},
        {f.Combo1, {"\\zemowj1.txt", "\\zemowj2.txt", "\\zemowj3.txt"}, "\\zemowj1.txt"},
        {f.Combo2, {"\\gjcs-1.txt", "\\gjcs-2.txt", "\\gjcs-3.txt"}, "\\gjcs-1.txt"},
        {f.Combo23, {"\\hzwj-1.txt", "\\hzwj-2.txt", "\\hzwj-3.txt"}, "\\hzwj-1.txt"},
        {f.Combo20,
         {"\\KJ-1.txt", "\\zemowj1.txt", "\\Lpj-1.txt", "\\hzwj-1.txt", "\\gjcs-1.txt", "\\mvts-1.txt", "\\KJ-2.txt",
          "\\zemowj2.txt", "\\Lpj-2.txt", "\\hzwj-2.txt", "\\KJ-3.txt", "\\zemowj3.txt", "\\gjcs-2.txt",
          "\\gjcs-3.txt"},
         "\\KJ-1.txt"},
        {f.Combo38, {"KJ-1", "KJ-2", "KJ-3", "WKJ-1", "WKJ-2"}, "KJ-1"},
        {f.Combo35, {"15", "20", "25", "30", "35", "40"}, "30"},
        {f.Combo36, {"210", "270", "300", "360", "435"}, "300"},
        {f.Combo37, {"0", "1", "2", "3", "4", "5", "6"}, "0"},
        {f.Combo21, {"0", "1"}, "0"},
        {f.Combo19, {"一般梁", "25", "特殊梁", "30", "基础梁", "35", "50"}, "25"},
        {f.Combo22, {"0.75", "0.80", "0.85", "0.90", "0.95", "1.00"}, "1.00"},
        {f.Combo39, {"原方法", "GB50010-2010"}, "原方法"},
        {f.Combo40, {"270", "360"}, "210"}, // greyed: the default method's 210
        {f.Combo41, {"一类", "二a", "二b"}, "一类"},
    };
    QCOMPARE(expected.size(), int(f.lists().size()));
    for (const Expected& e : expected) {
        QVERIFY2(e.combo->isEditable(), qPrintable(e.combo->objectName()));
        QCOMPARE(itemsOf(e.combo), e.items);
        QCOMPARE(e.combo->currentText(), e.text);
    }

    const QList<QPair<QLineEdit*, QString>> boxes{
        {f.Text82, "2"}, {f.Text83, "6"},  {f.Text78, "2"},       {f.Text79, "zd"}, {f.Text80, "2"},
        {f.Text81, "zd"}, {f.Text66, "L跨 NF层"}, {f.Text67, ""}, {f.Text68, ""},
    };
    for (const auto& [box, text] : boxes) QCOMPARE(box->text(), text);
    for (QPlainTextEdit* pane : {f.Text2, f.Text3, f.Text60, f.Text65}) QVERIFY(pane->toPlainText().isEmpty());

    // Every frame box and picture is hidden; the frame boxes are the 44 of the templates.
    QVERIFY(visibleFrameBoxes().isEmpty());
    QCOMPARE(int(f.frameBoxes().size()), 44);
    QCOMPARE(f.findChildren<kjw::FramePicture*>().size(), 6);

    // Controls carry their names; a few positions, converted from twips.
    for (const char* name : {"Text32", "Combo20", "Command4", "Image1", "Text2", "Text3", "Command29"})
        QVERIFY2(f.findChild<QWidget*>(QLatin1String(name)), name);
    QCOMPARE(f.Text32->geometry(), QRect(136, 96, 25, 19));
    QCOMPARE(f.Text2->geometry(), QRect(8, 448, 553, 185));
    QCOMPARE(f.Image6->geometry(), QRect(8, 16, 663, 327));
    QCOMPARE(f.Command4->text(), QStringLiteral("框架配筋计算"));
    QCOMPARE(f.Command5->text(), QStringLiteral("清  屏"));
    QCOMPARE(f.Command3->text(), QStringLiteral("退出程序"));
    QCOMPARE(f.Text3->lineWrapMode(), QPlainTextEdit::NoWrap);
    // The captions' font draws Chinese characters.
    QVERIFY(QFontMetrics(f.Command4->font()).inFont(QChar(0x6846))); // 框

    QCOMPARE(files(), QStringList());
}

// ---- Templates ----------------------------------------------------------------

void Form1Test::templatesAddTheirBoxesUntilClear()
{
    Form1& f = *form_;
    QTest::keyClicks(f.Text32, "1");
    f.Text6->setPlainText(QStringLiteral("1 20.0"));
    QStringList common{"Text6", "Text5", "Text69", "Text74", "Text75"};
    common += range(32, 37);

    press(f.Command17); // 3-2
    QStringList expected32 = common;
    expected32 += QStringList{"Text7", "Text70", "Text71", "Text10", "Text72", "Text73"};
    expected32 += range(38, 43);
    expected32 += QStringList{"Text76", "Text77", "Text44", "Text45"};
    expected32 += range(46, 55);
    expected32 += QStringList{"Text27", "Text29", "Text31"};
    expected32 += range(56, 59);
    expected32 << "Image6";
    expected32.sort();
    QCOMPARE(visibleFrameBoxes(), expected32);
    // 3-2 shows every frame box.
    QCOMPARE(expected32.size(), 45);
    QCOMPARE(f.Text67->text(), QStringLiteral("3"));
    QCOMPARE(f.Text68->text(), QStringLiteral("2"));

    // The picture: white members on black where the boxes sit, green dimension lines.
    const QImage frame32 = f.Image6->grab().toImage();
    const auto colour = [](const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); };
    QCOMPARE(colour(frame32, 100, 76), QColor(Qt::white));  // upper beam, above Text32 (row 96)
    QCOMPARE(colour(frame32, 600, 196), QColor(Qt::white)); // lower beam, span 3
    QCOMPARE(colour(frame32, 640, 300), QColor(Qt::white)); // lower column, axis 4
    QCOMPARE(colour(frame32, 100, 17), QColor(0, 255, 0));  // span dimension line through Text5 (row 16..35)
    QCOMPARE(colour(frame32, 44, 150), QColor(0, 255, 0));  // storey dimension line through Text74
    QCOMPARE(colour(frame32, 360, 150), QColor(Qt::black));
    const QImage frame11 = f.Image1->grab().toImage();
    QCOMPARE(colour(frame11, 100, 76), QColor(Qt::white));
    QCOMPARE(colour(frame11, 88, 150), QColor(Qt::white));
    QCOMPARE(colour(frame11, 400, 76), QColor(Qt::black)); // one span only
    QCOMPARE(colour(frame11, 88, 250), QColor(Qt::black)); // one storey only

    press(f.Command11); // 1-1 hides nothing
    expected32 << "Image1";
    expected32.sort();
    QCOMPARE(visibleFrameBoxes(), expected32);
    QCOMPARE(f.Text67->text(), QStringLiteral("1"));
    QCOMPARE(f.Text68->text(), QStringLiteral("1"));

    press(f.Command5); // 清  屏
    QVERIFY(visibleFrameBoxes().isEmpty());
    QCOMPARE(f.Text32->text(), QStringLiteral("1"));
    QCOMPARE(f.Text6->toPlainText(), QStringLiteral("1 20.0"));
    QCOMPARE(f.Text67->text(), QStringLiteral("1"));

    // Each template alone, after a clear.
    const QList<QPair<QPushButton*, QStringList>> sets{
        {f.Command11, common + QStringList{"Image1"}},
        {f.Command13, common + QStringList{"Image2", "Text7", "Text70", "Text71"} + range(38, 41)},
        {f.Command14,
         common + QStringList{"Image3", "Text7", "Text70", "Text71", "Text10", "Text72", "Text73"} + range(38, 45)},
        {f.Command15, common + QStringList{"Image4", "Text27", "Text76", "Text77"} + range(46, 51)},
        {f.Command16, common + QStringList{"Image5", "Text7", "Text70", "Text71", "Text76", "Text77", "Text27",
                                           "Text29"} +
                          range(38, 41) + range(46, 55)},
    };
    for (auto [button, names] : sets) {
        press(f.Command5);
        press(button);
        names.sort();
        QCOMPARE(visibleFrameBoxes(), names);
    }
    QCOMPARE(f.Text67->text(), QStringLiteral("2"));
    QCOMPARE(f.Text68->text(), QStringLiteral("2"));
    QCOMPARE(files(), QStringList());
}

// ---- Data file ------------------------------------------------------------------

void Form1Test::generationBuildsTheDataFileOfEachTemplate()
{
    Form1& f = *form_;
    writeMemberParameters();

    // Template 1-1 with nothing typed: a length number is missing.
    press(f.Command11);
    press(f.Command29);
    QCOMPARE(messages_, QStringList({QStringLiteral("生成数据文件未完成:\n第 1 跨跨长编号为空: 每个编号框填一位数字 (0-9)")}));
    QCOMPARE(folder_->bytes("KJ-1.txt"), QByteArray("<missing>"));
    messages_.clear();

    // 1-1 with its boxes typed; the load box may stay empty.
    QTest::keyClicks(f.Text5, "1");
    QTest::keyClicks(f.Text74, "2");
    QTest::keyClicks(f.Text32, "1");
    QTest::keyClicks(f.Text34, "2");
    QTest::keyClicks(f.Text36, "2");
    press(f.Command29);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QCOMPARE(folder_->bytes("KJ-1.txt"), QByteArray("KJ-1,1,1,0,0,\r\n4.203.60,12\r\n.25.45.40.40,122\r\n\r\n300,30\r\n"));
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("KJ-1,1,1,0,0,\n4.203.60,12\n.25.45.40.40,122\n\n300,30"));
    QTest::keyClicks(f.Text6, "1 20.0");
    press(f.Command29);
    QCOMPARE(folder_->bytes("KJ-1.txt"),
             QByteArray("KJ-1,1,1,0,0,\r\n4.203.60,12\r\n.25.45.40.40,122\r\n1 20.0\r\n300,30\r\n"));
    // The file generated before is kept beside it.
    QCOMPARE(folder_->bytes("KJ-1.txt.bak"), QByteArray("KJ-1,1,1,0,0,\r\n4.203.60,12\r\n.25.45.40.40,122\r\n\r\n300,30\r\n"));

    // 2-1: two load strings on one line.
    press(f.Command13);
    QTest::keyClicks(f.Text70, "1");
    QTest::keyClicks(f.Text38, "1");
    QTest::keyClicks(f.Text40, "2");
    QTest::keyClicks(f.Text7, "1P30.01.50");
    press(f.Command29);
    QCOMPARE(folder_->bytes("KJ-1.txt"),
             QByteArray("KJ-1,2,1,0,0,\r\n4.203.60,112\r\n.25.45.40.40,11222\r\n1 20.0,1P30.01.50\r\n300,30\r\n"));

    // 3-2: the second load line joins the third upper and the first lower beam.
    press(f.Command17);
    const QList<QPair<QWidget*, QString>> typed{
        {f.Text72, "2"}, {f.Text76, "2"}, {f.Text42, "1"}, {f.Text46, "1"}, {f.Text52, "1"}, {f.Text56, "1"},
        {f.Text44, "2"}, {f.Text48, "2"}, {f.Text50, "2"}, {f.Text54, "2"}, {f.Text58, "2"}, {f.Text10, "c"},
        {f.Text27, "d"}, {f.Text29, "e"}, {f.Text31, "f"}};
    for (const auto& [box, text] : typed) QTest::keyClicks(box, text);
    // A number of two digits would shift every later member: refused, by its role.
    QTest::keyClicks(f.Text42, "9");
    press(f.Command29);
    QCOMPARE(messages_, QStringList({QStringLiteral("生成数据文件未完成:\n上层第 3 跨梁截面编号 \"19\" 不是一位数字: "
                                                    "每个编号框只填一位数字 (0-9), 否则其后的编号都会错位")}));
    messages_.clear();
    f.Text42->setText(QStringLiteral("1"));
    f.Combo38->setEditText(QStringLiteral("WKJ-2"));
    f.Combo35->setEditText(QStringLiteral("25"));
    f.Combo36->setEditText(QStringLiteral("210"));
    f.Combo20->setEditText(QStringLiteral("\\KJ-2.txt"));
    press(f.Command29);
    const QByteArray frame32("WKJ-2,3,2,0,0,\r\n4.203.60,11222\r\n.25.45.40.40,11111122222222\r\n"
                             "1 20.0,1P30.01.50\r\nc,d\r\ne,f\r\n210,25\r\n");
    QCOMPARE(folder_->bytes("KJ-2.txt"), frame32);
    QCOMPARE(f.Text2->toPlainText(), QString::fromLatin1(frame32.chopped(2)).replace("\r\n", "\n"));
    QVERIFY(messages_.isEmpty());
}

void Form1Test::generationHandlesOtherShapesAndJointLoadCounts()
{
    Form1& f = *form_;
    writeMemberParameters();
    for (QLineEdit* box : {f.Text5, f.Text32}) box->setText(QStringLiteral("1"));
    for (QLineEdit* box : {f.Text74, f.Text34, f.Text36}) box->setText(QStringLiteral("2"));
    QTest::keyClicks(f.Text6, "1 20.0");
    f.Text60->setPlainText(QStringLiteral("1 3 50.0   0.0"));
    f.Text61->setPlainText(QStringLiteral("1 4  0.0  10.0"));
    f.Text62->setPlainText(QStringLiteral("third"));

    // L = 4, NF = 1 typed by hand: lines 2 to 4 empty.
    f.Text67->setText(QStringLiteral("4"));
    f.Text68->setText(QStringLiteral("1"));
    press(f.Command29);
    QCOMPARE(folder_->bytes("KJ-1.txt"), QByteArray("KJ-1,4,1,0,0,\r\n\r\n\r\n\r\n300,30\r\n"));

    // NJ = 2: the first two joint load groups before Fy,C.
    f.Text67->setText(QStringLiteral("1"));
    f.Combo37->setEditText(QStringLiteral("2"));
    press(f.Command29);
    QCOMPARE(folder_->bytes("KJ-1.txt"),
             QByteArray("KJ-1,1,1,2,0,\r\n4.203.60,12\r\n.25.45.40.40,122\r\n1 20.0\r\n"
                        "1 3 50.0   0.0\r\n1 4  0.0  10.0\r\n300,30\r\n"));

    // NJ = 9: one empty line in place of the joint loads.
    f.Combo37->setEditText(QStringLiteral("9"));
    press(f.Command29);
    QCOMPARE(folder_->bytes("KJ-1.txt"),
             QByteArray("KJ-1,1,1,9,0,\r\n4.203.60,12\r\n.25.45.40.40,122\r\n1 20.0\r\n\r\n300,30\r\n"));

    // A load string broken by hand keeps its line break in the file.
    f.Combo37->setEditText(QStringLiteral("0"));
    f.Text6->setPlainText(QStringLiteral("2 20.0\n 10.02.00"));
    press(f.Command29);
    QCOMPARE(folder_->bytes("KJ-1.txt"),
             QByteArray("KJ-1,1,1,0,0,\r\n4.203.60,12\r\n.25.45.40.40,122\r\n2 20.0\r\n 10.02.00\r\n"
                        "300,30\r\n"));
    QVERIFY(messages_.isEmpty());
}

void Form1Test::generationFailureLeavesPaneAndFilesAsTheyWere()
{
    Form1& f = *form_;
    press(f.Command11);
    for (QLineEdit* box : {f.Text5, f.Text74, f.Text32, f.Text34, f.Text36}) box->setText(QStringLiteral("1"));
    f.Text2->setPlainText(QStringLiteral("typed by hand"));
    folder_->write("KJ-1.txt", "old\r\n");

    // No member parameter file.
    press(f.Command29);
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_.last().startsWith(QStringLiteral("生成数据文件未完成:\n")));
    QVERIFY2(messages_.last().contains(QStringLiteral("\\gjcs-1.txt")), qPrintable(messages_.last()));
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("typed by hand"));
    QCOMPARE(folder_->bytes("KJ-1.txt"), QByteArray("old\r\n"));

    // A member parameter file of three fields.
    folder_->write("gjcs-1.txt", "\"4.203.60\",\"12\"\r\n\".25.45.40.40\"\r\n");
    press(f.Command29);
    QCOMPARE(messages_.size(), 2);
    QVERIFY2(messages_.last().contains(QStringLiteral("\\gjcs-1.txt")) && messages_.last().contains(QStringLiteral("四项")),
             qPrintable(messages_.last()));
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("typed by hand"));
    QCOMPARE(folder_->bytes("KJ-1.txt"), QByteArray("old\r\n"));

    // A target that cannot be written: a folder of that name.
    writeMemberParameters();
    QVERIFY(folder_->makeFolder("KJ-9.txt"));
    f.Combo20->setEditText(QStringLiteral("\\KJ-9.txt"));
    press(f.Command29);
    QCOMPARE(messages_.size(), 3);
    QVERIFY2(messages_.last().contains(QStringLiteral("KJ-9.txt")), qPrintable(messages_.last()));
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("typed by hand"));
    press(f.Command12); // nor can the pane be saved there
    QCOMPARE(messages_.size(), 4);
    QVERIFY(messages_.last().startsWith(QStringLiteral("保存数据文件未完成:\n")));

    // Importing a missing file names it; the window goes on working.
    f.Combo20->setEditText(QStringLiteral("\\nothing.txt"));
    press(f.Command8);
    QCOMPARE(messages_.size(), 5);
    QVERIFY(messages_.last().contains(QStringLiteral("\\nothing.txt")));
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("typed by hand"));
    f.Combo20->setEditText(QStringLiteral("\\KJ-1.txt"));
    press(f.Command29);
    QCOMPARE(messages_.size(), 5);
    QCOMPARE(folder_->bytes("KJ-1.txt"), QByteArray("KJ-1,1,1,0,0,\r\n4.203.60,11\r\n.25.45.40.40,111\r\n\r\n300,30\r\n"));
    QCOMPARE(folder_->bytes("KJ-1.txt.bak"), QByteArray("old\r\n"));
}

void Form1Test::importAndSaveAddOneLineEnd()
{
    Form1& f = *form_;
    writeMemberParameters();
    press(f.Command13);
    for (QLineEdit* box : {f.Text5, f.Text70, f.Text74, f.Text32, f.Text38, f.Text34, f.Text36, f.Text40})
        box->setText(QStringLiteral("1"));
    press(f.Command29);
    const QByteArray generated("KJ-1,2,1,0,0,\r\n4.203.60,111\r\n.25.45.40.40,11111\r\n,\r\n300,30\r\n");
    QCOMPARE(folder_->bytes("KJ-1.txt"), generated);

    // Import shows every line with its line end.
    f.Text2->clear();
    press(f.Command8);
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("KJ-1,2,1,0,0,\n4.203.60,111\n.25.45.40.40,11111\n,\n300,30\n"));

    // Saving the imported text adds one more line end, each time; the file
    // saved over is kept beside it.
    press(f.Command12);
    QCOMPARE(folder_->bytes("KJ-1.txt"), generated + "\r\n");
    QCOMPARE(folder_->bytes("KJ-1.txt.bak"), generated);
    press(f.Command8);
    press(f.Command12);
    QCOMPARE(folder_->bytes("KJ-1.txt"), generated + "\r\n\r\n");

    // A file with LF line ends and no final line end comes back with CR LF.
    folder_->write("KJ-3.txt", "a\nb");
    f.Combo20->setEditText(QStringLiteral("\\KJ-3.txt"));
    press(f.Command8);
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("a\nb\n"));
    press(f.Command12);
    QCOMPARE(folder_->bytes("KJ-3.txt"), QByteArray("a\r\nb\r\n\r\n"));
    QVERIFY(messages_.isEmpty());
}

// ---- Calculation --------------------------------------------------------------------

void Form1Test::calculationRunsOnlyOnLowerCaseY()
{
    Form1& f = *form_;
    const QByteArray data("KJ-1,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n"
                          "20103 50.0   0.0\r\n300,25\r\n");
    folder_->write("KJ-1.txt", data);
    f.Text2->setPlainText(QStringLiteral("before"));

    answers_ = QStringList{"Y", "y ", "", "?"};
    for (int i = 0; i < 4; ++i) press(f.Command4);
    QCOMPARE(files(), QStringList{"KJ-1.txt"});
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("before"));
    QVERIFY(messages_.isEmpty());

    // The confirmation box.
    QCOMPARE(prompts_.size(), 4);
    QVERIFY(prompts_[0].startsWith(QStringLiteral("谢谢使用,请多提宝贵意见!\n")));
    QVERIFY(prompts_[0].endsWith(QStringLiteral("\n\n请先保存数据文件, 任意键返回,确定输 y")));
    QCOMPARE(prompts_[0].count('\n'), 4);
    QCOMPARE(prompts_[0].split('\n')[2], QStringLiteral("将计算数据文件 \\KJ-1.txt (框架 KJ-1, 2 跨 × 1 层)"));
    QVERIFY(!titles_[0].isEmpty());
    QCOMPARE(defaults_[0], QStringLiteral("?"));
    QCOMPARE(positions_[0], std::optional<QPoint>(QPoint(667, 67))); // 10000, 1000 twips

    answers_ = QStringList{"y"};
    press(f.Command4);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QStringList expectedFiles{"KJ-1.txt", "lpj-1.txt", "mvts-1.txt", "zemowj1.txt"};
    QCOMPARE(files(), expectedFiles);
    QCOMPARE(folder_->bytes("KJ-1.txt"), data);
    // The panes show the result files' lines: two beams, and two beams and three columns.
    QCOMPARE(f.Text2->toPlainText().split('\n', Qt::SkipEmptyParts).size(), 2);
    QVERIFY(f.Text2->toPlainText().startsWith('"'));
    QCOMPARE(f.Text3->toPlainText().split('\n', Qt::SkipEmptyParts).size(), 5);
    QCOMPARE(folder_->bytes("lpj-1.txt"), f.Text2->toPlainText().replace("\n", "\r\n").toLatin1() + "\r\n");
    QCOMPARE(folder_->bytes("mvts-1.txt"), f.Text3->toPlainText().replace("\n", "\r\n").toLatin1() + "\r\n");

    // With renewal 0 a second run adds to the report; with 1 it starts anew.
    const qsizetype once = folder_->bytes("zemowj1.txt").size();
    answers_ = QStringList{"y"};
    press(f.Command4);
    QCOMPARE(folder_->bytes("zemowj1.txt").size(), 2 * once);
    f.Combo21->setEditText(QStringLiteral("1"));
    answers_ = QStringList{"y"};
    press(f.Command4);
    QCOMPARE(folder_->bytes("zemowj1.txt").size(), once);
    QCOMPARE(folder_->bytes("zemowj1.txt.bak").size(), 2 * once); // the report renewal emptied
}

void Form1Test::calculationFailureIsShownAndWindowStaysUsable()
{
    Form1& f = *form_;
    f.Text2->setPlainText(QStringLiteral("before"));
    f.Combo3->setEditText(QStringLiteral("\\KJ-7.txt"));
    answers_ = QStringList{"y"};
    press(f.Command4);
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].contains(QStringLiteral("KJ-7.txt")), qPrintable(messages_[0]));
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("before"));
    QVERIFY(!QFile::exists(folder_->path("lpj-1.txt")));

    // A data file that is not one.
    folder_->write("KJ-7.txt", "nonsense\r\n");
    answers_ = QStringList{"y"};
    press(f.Command4);
    QCOMPARE(messages_.size(), 2);
    QVERIFY(!messages_[1].isEmpty());
    press(f.Command30);
    QCOMPARE(f.Text3->toPlainText().split('\n').size(), 26);
}

void Form1Test::ruleSetListsCoverNoControlAndReachTheCalculation()
{
    Form1& f = *form_;
    QCOMPARE(f.Label12->text(), QStringLiteral("设计规范"));
    QCOMPARE(f.Label13->text(), QStringLiteral("箍筋 fyv"));
    // Every control of the window, hidden ones too (the frame pictures and
    // their boxes are shown by the templates).
    const QList<QWidget*> all = f.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* added : {static_cast<QWidget*>(f.Label12), static_cast<QWidget*>(f.Combo39),
                           static_cast<QWidget*>(f.Label13), static_cast<QWidget*>(f.Combo40),
                           static_cast<QWidget*>(f.Label14), static_cast<QWidget*>(f.Combo41)}) {
        QVERIFY(f.rect().contains(added->geometry()));
        QVERIFY(added->isVisible());
        for (QWidget* other : all)
            if (other != added)
                QVERIFY2(!added->geometry().intersects(other->geometry()),
                         qPrintable(added->objectName() + " covers " + other->objectName()));
    }

    // The choices reach the calculation: its report names the rule set and fyv.
    QFile example(QStringLiteral(KJ_EXAMPLES_DIR "/KJ-2.txt"));
    QVERIFY(example.open(QIODevice::ReadOnly));
    folder_->write("KJ-1.txt", example.readAll());
    f.Combo39->setCurrentIndex(1);
    QCOMPARE(f.Combo40->currentText(), QStringLiteral("270"));
    f.Combo40->setCurrentIndex(1);
    f.Combo41->setCurrentIndex(2); // 二b: 35 mm, above the cover box's 25
    answers_ = QStringList{"y"};
    press(f.Command4);
    QVERIFY(messages_.join('\n').contains(QStringLiteral("最小保护层 35 mm")));
    messages_.clear();
    f.Combo19->setEditText(QStringLiteral("35"));
    answers_ = QStringList{"y"};
    press(f.Command4);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    const QString report = QString::fromUtf8(kj::decodeFileBytes(folder_->bytes("zemowj1.txt").toStdString()));
    QVERIFY(report.contains(QStringLiteral("******* GB50010-2010 Fy= 300  C 30 *******\r\n假定:")));
    QVERIFY(report.contains(QStringLiteral("箍筋 fyv = 360\r\n梁号")));
    QVERIFY(report.contains(QStringLiteral("假定: 环境类别二b, 保护层 c = 35 mm")));

    // fyv is a choice of the 2010 rule set only: with the default method the
    // list is greyed and the stirrups are designed for 210 as always.
    f.Combo39->setCurrentIndex(0);
    QVERIFY(!f.Combo40->isEnabled());
    QVERIFY(!f.Combo41->isEnabled());
    QCOMPARE(f.Combo40->currentText(), QStringLiteral("210"));
    f.Combo19->setEditText(QStringLiteral("25"));
    folder_->write("zemowj1.txt", QByteArray());
    answers_ = QStringList{"y"};
    press(f.Command4);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QVERIFY(QString::fromUtf8(kj::decodeFileBytes(folder_->bytes("zemowj1.txt").toStdString()))
                .contains(QStringLiteral("******* Fy= 300  C 30 *******\r\n梁号")));
}

// ---- Reference texts and external commands ----------------------------------------------

void Form1Test::referenceTextsReplaceThePane()
{
    Form1& f = *form_;
    press(f.Command30);
    press(f.Command30);
    QStringList usage = f.Text3->toPlainText().split('\n');
    QCOMPARE(usage.size(), 26);
    QCOMPARE(usage[0], QStringLiteral("                 框架输入说明"));
    QCOMPARE(usage[22], QStringLiteral("                               输入步骤"));
    QCOMPARE(usage[25], QStringLiteral("行框架配筋计算。如需查看钢筋或内力，直接进入配筋或内力查询即可。"));

    press(f.Command7);
    QStringList loads = f.Text3->toPlainText().split('\n');
    QCOMPARE(loads.size(), 13);
    QCOMPARE(loads[4], QStringLiteral("双抹煤碴空心墙: 90/1.85  115/2.01  140/2.19  "));
    QCOMPARE(loads[5], QStringLiteral("                190/2.57  240/2.90"));
    QVERIFY(loads[9].isEmpty());
    QCOMPARE(loads[12], QStringLiteral("  档案库活载: 5.0    健身房活载: 4.0 "));

    press(f.Command1);
    QStringList bars = f.Text3->toPlainText().split('\n');
    QCOMPARE(bars.size(), 11);
    QCOMPARE(bars[0], QStringLiteral("直径 1根  2根  3根  4根  5根 直径 6根  7根  8根  9根 每米重 直径"));
    QCOMPARE(bars[1], QStringLiteral("  6   28   57   85  113  141   6  170  198  226  254 0.222    6"));
    QCOMPARE(bars[10], QStringLiteral(" 25  491  982 1473 1963 2454  25 2945 3436 3927 4418 3.853   25"));
    for (int i = 1; i <= 10; ++i) QCOMPARE(bars[i].size(), 63);
    QCOMPARE(files(), QStringList());
}

void Form1Test::externalCommandMenu()
{
    Form1& f = *form_;
    answers_ = QStringList{"4"};
    press(f.Command6);
    QCOMPARE(prompts_.size(), 1);
    QCOMPARE(prompts_[0], QStringLiteral("1.运行记事本\n2.运行dos命令\n3.运行me-dos命令\n5.运行计算器\n\n请输入数字选择"));
    QVERIFY(titles_[0].isEmpty());
    QVERIFY(defaults_[0].isEmpty());
    QCOMPARE(messages_, QStringList{"请输入 1-5 的数"});
    QVERIFY(started_.isEmpty());

    // Cancelled, empty or not a number: the same message.
    answers_ = QStringList{"", "x", "1.5"};
    for (int i = 0; i < 3; ++i) press(f.Command6);
    QCOMPARE(messages_.size(), 4);
    QCOMPARE(messages_.last(), QStringLiteral("请输入 1-5 的数"));
    QVERIFY(started_.isEmpty());

    // An answer that starts a program tries its classic name first.
    programsStart_ = true;
    for (const QString answer : {"5", " 1", "2", "3"}) {
        answers_ = QStringList{answer};
        press(f.Command6);
    }
    QCOMPARE(started_, (QStringList{"calc.exe", "notepad.exe", "cmd.exe", "command.com"}));
    QCOMPARE(messages_.size(), 4);

    // When none starts the message says so, and the window goes on.
    programsStart_ = false;
    started_.clear();
    answers_ = QStringList{"5"};
    press(f.Command6);
    QVERIFY(started_.size() > 1);
    QCOMPARE(started_.first(), QStringLiteral("calc.exe"));
    QCOMPARE(messages_.size(), 5);
    QVERIFY2(messages_.last().contains(QStringLiteral("计算器")), qPrintable(messages_.last()));
    press(f.Command1);
    QCOMPARE(f.Text3->toPlainText().split('\n').size(), 11);
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
