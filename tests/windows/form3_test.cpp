// The load editor driven offscreen, the main window's "导入荷载数据", and a
// frame from the load editor through the data file to the calculation.
#include "common/textfile.h"
#include "common_widgets/twips.h"
#include "main/form1.h"
#include "main/form3.h"
#include "main/load_picture.h"
#include "window_test_support.h"

#include <QtTest>

#include <memory>
#include <optional>

using namespace kjtest;

class Form3Test : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startUpShowsTheEditorAsLaidOut();
    void appendComposesByLoadCodeAndShowsTheWholeFile();
    void saveImportAndEmptyTheLoadFile();
    void returnHidesTheEditorWhichKeepsItsContents();
    void editorFailuresLeaveFileAndPaneAsTheyWere();
    void distributionFillsTheBeamLoadBoxesOfTheTemplate();
    void distributionFailuresLeaveBoxesAsTheyWere();
    void loadsComposedHereAreCalculatedInTheFrame();

private:
    void setCode(const char* n) { editor_->Combo2->setEditText(QLatin1String(n)); }
    QString pane() const { return editor_->Text2->toPlainText(); }

    std::optional<WorkingFolder> folder_;
    std::unique_ptr<Form1> main_;
    Form3* editor_ = nullptr;
    QStringList messages_;     // shown by the load editor
    QStringList mainMessages_; // shown by the main window
    QStringList answers_;      // for the main window's input box
};

void Form3Test::init()
{
    folder_.emplace();
    QVERIFY(folder_->isValid());
    messages_.clear();
    mainMessages_.clear();
    answers_.clear();

    main_ = std::make_unique<Form1>();
    catchMessages(*main_, mainMessages_);
    main_->inputBox = [this](const QString&, const QString&, const QString&, std::optional<QPoint>) {
        return answers_.isEmpty() ? QString() : answers_.takeFirst();
    };
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    press(main_->Command10); // 输入荷载信息
    QVERIFY(main_->hasForm(3));
    editor_ = main_->form3();
    catchMessages(*editor_, messages_);
    QVERIFY(QTest::qWaitForWindowExposed(editor_));
}

void Form3Test::cleanup()
{
    main_.reset(); // owns the editor
    editor_ = nullptr;
    folder_.reset();
}

// ---- The window ---------------------------------------------------------------

void Form3Test::startUpShowsTheEditorAsLaidOut()
{
    Form3& f = *editor_;
    QCOMPARE(f.windowTitle(), QStringLiteral("hzck"));
    QCOMPARE(f.size(), QSize(756, 328)); // 11340 x 4920 twips
    QCOMPARE(f.minimumSize(), f.maximumSize());
    QVERIFY(f.isWindow());
    QCOMPARE(f.parentWidget(), main_.get());

    const QList<QPair<QLineEdit*, QString>> boxes{
        {f.Text12, "98.78"}, {f.Text13, ""},     {f.Text14, "58.21"}, {f.Text17, "2.10"}, {f.Text15, "38.73"},
        {f.Text16, "*1"},    {f.Text18, "2.10"}, {f.Text19, "45.65"}, {f.Text24, "2.10"}, {f.Text22, "68.81"},
        {f.Text20, "32.53"}, {f.Text25, "1.80"}, {f.Text23, "*2"},    {f.Text21, "*1"},   {f.Text26, "2.10"},
    };
    for (const auto& [box, text] : boxes) QCOMPARE(box->text(), text);
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("荷载5字节\n距离4字节"));
    QVERIFY(f.Text2->toPlainText().isEmpty());
    QCOMPARE(itemsOf(f.Combo1), (QStringList{"\\hzwj-1.txt", "\\hzwj-2.txt", "\\hzwj-3.txt"}));
    QCOMPARE(f.Combo1->currentText(), QStringLiteral("\\hzwj-1.txt"));
    QCOMPARE(itemsOf(f.Combo2), (QStringList{"1", "3", "5"}));
    QCOMPARE(f.Combo2->currentText(), QStringLiteral("1"));
    QVERIFY(f.Combo1->isEditable() && f.Combo2->isEditable());
    QCOMPARE(f.Label1->text(), QStringLiteral("荷载代号    N="));

    const QList<QPair<QPushButton*, QString>> buttons{
        {f.Command4, "导入荷载文件"}, {f.Command1, "返回计算窗口"}, {f.Command5, "荷载更新"},
        {f.Command3, "荷载保存及排序"}, {f.Command2, "追加荷载"}};
    for (const auto& [b, caption] : buttons) QCOMPARE(b->text(), caption);

    // Positions converted from twips.
    QCOMPARE(f.Image1->geometry(), QRect(8, 8, 455, 305));
    QCOMPARE(f.Text2->geometry(), QRect(472, 176, 273, 137));
    QCOMPARE(f.Text15->geometry().topLeft(), QPoint(312, 24));
    QCOMPARE(f.Text1->geometry(), QRect(200, 160, 65, 33));
    QCOMPARE(f.Command2->geometry().topLeft(), QPoint(632, 120));
    QCOMPARE(f.Combo2->geometry().topLeft(), QPoint(544, 136));
    QCOMPARE(f.Text2->lineWrapMode(), QPlainTextEdit::NoWrap);
    QVERIFY(QFontMetrics(f.Command2->font()).inFont(QChar(0x8377))); // 荷

    // The picture: white beams, yellow loads, green dimension lines, on black.
    const QImage picture = f.Image1->grab().toImage();
    const auto colour = [&](int xTwips, int yTwips) { // form twips
        return QColor(picture.pixel(kjw::twips(xTwips - 120), kjw::twips(yTwips - 120)));
    };
    QCOMPARE(colour(1600, 1500), QColor(Qt::white));    // N=1 beam
    QCOMPARE(colour(4000, 1500), QColor(Qt::white));    // N=3 beam
    QCOMPARE(colour(3500, 3660), QColor(Qt::white));    // N=5 beam
    QCOMPARE(colour(4000, 1200), QColor(255, 255, 0));  // N=3 load band
    QCOMPARE(colour(4990, 900), QColor(255, 255, 0));   // N=3 point load, under Text15
    QCOMPARE(colour(2000, 1942), QColor(0, 255, 0));    // N=1 dimension line, through Text13's row
    QCOMPARE(colour(6000, 4222), QColor(0, 255, 0));    // N=5 dimension line, through Text26's row
    QCOMPARE(colour(3000, 2200), QColor(Qt::black));
    // The N=5 dimension line is divided under both point loads.
    for (int fx : kjw::LoadPicture::beams()[2].forces)
        QCOMPARE(QColor(picture.pixel(kjw::twips(fx), kjw::twips(4102) - 8)), QColor(0, 255, 0));

    QCOMPARE(folder_->entries(QDir::Files), QStringList());
}

// ---- 追加荷载, 荷载保存及排序, 导入荷载文件, 荷载更新 ----------------------------------

void Form3Test::appendComposesByLoadCodeAndShowsTheWholeFile()
{
    Form3& f = *editor_;
    setCode("3");
    press(f.Command2);
    QCOMPARE(folder_->bytes("hzwj-1.txt"), QByteArray("\"358.212.1038.73P*12.10\"\r\n"));
    QCOMPARE(pane(), QStringLiteral("\"358.212.1038.73P*12.10\"\n"));

    setCode("5");
    press(f.Command2);
    QCOMPARE(pane(), QStringLiteral("\"358.212.1038.73P*12.10\"\n\"545.652.1068.81P32.531.80*2P*12.10\"\n"));

    // N = 1 with no length: the load covers the whole span.
    setCode("1");
    press(f.Command2);
    const QByteArray three("\"358.212.1038.73P*12.10\"\r\n\"545.652.1068.81P32.531.80*2P*12.10\"\r\n\"198.78\"\r\n");
    QCOMPARE(folder_->bytes("hzwj-1.txt"), three);

    // Codes without a load string append two double quotes.
    setCode("4");
    press(f.Command2);
    setCode("N");
    press(f.Command2);
    QCOMPARE(folder_->bytes("hzwj-1.txt"), three + "\"\"\r\n\"\"\r\n");
    QCOMPARE(pane().split('\n').mid(3), (QStringList{"\"\"", "\"\"", ""}));

    // The boxes are taken as typed; the other slot gets its own file.
    f.Text12->setText(QStringLiteral(" 20.0"));
    f.Text13->setText(QStringLiteral("6"));
    setCode("1");
    f.Combo1->setEditText(QStringLiteral("\\hzwj-3.txt"));
    press(f.Command2);
    QCOMPARE(folder_->bytes("hzwj-3.txt"), QByteArray("\"1 20.06\"\r\n"));
    QCOMPARE(pane(), QStringLiteral("\"1 20.06\"\n"));
    QVERIFY(messages_.isEmpty());
}

void Form3Test::saveImportAndEmptyTheLoadFile()
{
    Form3& f = *editor_;
    for (const char* n : {"1", "3", "5"}) {
        setCode(n);
        press(f.Command2);
    }
    const QByteArray three("\"198.78\"\r\n\"358.212.1038.73P*12.10\"\r\n\"545.652.1068.81P32.531.80*2P*12.10\"\r\n");
    QCOMPARE(folder_->bytes("hzwj-1.txt"), three);

    // Saving the pane as it stands writes no empty line after its strings, so
    // the next append is the fourth load string, not an empty item before it.
    // The file saved over is kept beside it.
    press(f.Command3);
    QCOMPARE(folder_->bytes("hzwj-1.txt"), three);
    QCOMPARE(folder_->bytes("hzwj-1.txt.bak"), three);
    f.Text2->setPlainText(pane() + QStringLiteral("\n  \n"));
    press(f.Command3);
    setCode("1");
    press(f.Command2);
    QCOMPARE(folder_->bytes("hzwj-1.txt"), three + "\"198.78\"\r\n");

    // Reordered by hand in the pane, then saved.
    f.Text2->setPlainText(QStringLiteral("\"b\"\n\"a\""));
    press(f.Command3);
    QCOMPARE(folder_->bytes("hzwj-1.txt"), QByteArray("\"b\"\r\n\"a\"\r\n"));
    f.Text2->clear();
    press(f.Command4);
    QCOMPARE(pane(), QStringLiteral("\"b\"\n\"a\"\n"));

    // 荷载更新 empties the file, keeping what it held, and leaves the pane;
    // importing then shows nothing.
    press(f.Command5);
    QCOMPARE(folder_->bytes("hzwj-1.txt"), QByteArray());
    QCOMPARE(folder_->bytes("hzwj-1.txt.bak"), QByteArray("\"b\"\r\n\"a\"\r\n"));
    QCOMPARE(pane(), QStringLiteral("\"b\"\n\"a\"\n"));
    press(f.Command4);
    QCOMPARE(pane(), QString());

    // A slot without a file: 荷载更新 creates it empty.
    f.Combo1->setEditText(QStringLiteral("\\hzwj-2.txt"));
    press(f.Command5);
    QCOMPARE(folder_->bytes("hzwj-2.txt"), QByteArray());
    QVERIFY(messages_.isEmpty());
}

void Form3Test::returnHidesTheEditorWhichKeepsItsContents()
{
    Form3* f = editor_;
    f->Text12->setText(QStringLiteral("12.34"));
    f->Text2->setPlainText(QStringLiteral("\"kept\""));
    main_->hide();
    press(f->Command1);
    QVERIFY(!f->isVisible());
    QVERIFY(main_->isVisible());

    press(main_->Command10);
    QCOMPARE(main_->form3(), f);
    QVERIFY(f->isVisible());
    QCOMPARE(f->Text12->text(), QStringLiteral("12.34"));
    QCOMPARE(f->Text2->toPlainText(), QStringLiteral("\"kept\""));
    QCOMPARE(main_->findChildren<Form3*>().size(), 1);
}

void Form3Test::editorFailuresLeaveFileAndPaneAsTheyWere()
{
    Form3& f = *editor_;
    f.Text2->setPlainText(QStringLiteral("\"typed\""));

    // Importing a missing file names it.
    f.Combo1->setEditText(QStringLiteral("\\hzwj-2.txt"));
    press(f.Command4);
    QCOMPARE(messages_, QStringList{"导入荷载文件未完成:\n找不到文件 \\hzwj-2.txt"});
    QCOMPARE(pane(), QStringLiteral("\"typed\""));

    // A double quote in a box would cut the string short when read back.
    folder_->write("hzwj-1.txt", "\"1 10.0\"\r\n");
    f.Combo1->setEditText(QStringLiteral("\\hzwj-1.txt"));
    f.Text13->setText(QStringLiteral("6\""));
    press(f.Command2);
    QCOMPARE(messages_.size(), 2);
    QVERIFY2(messages_[1].startsWith(QStringLiteral("追加荷载未完成:\n")) && messages_[1].contains("\\hzwj-1.txt") &&
                 messages_[1].contains(QStringLiteral("双引号")),
             qPrintable(messages_[1]));
    QCOMPARE(folder_->bytes("hzwj-1.txt"), QByteArray("\"1 10.0\"\r\n"));
    QCOMPARE(pane(), QStringLiteral("\"typed\""));

    // A folder where the file should be: nothing can be written there.
    QVERIFY(folder_->makeFolder("hzwj-3.txt"));
    f.Combo1->setEditText(QStringLiteral("\\hzwj-3.txt"));
    f.Text13->clear();
    for (QPushButton* b : {f.Command2, f.Command3, f.Command4, f.Command5}) press(b);
    QCOMPARE(messages_.size(), 6);
    for (int i = 2; i < 6; ++i) QVERIFY2(messages_[i].contains("\\hzwj-3.txt"), qPrintable(messages_[i]));
    QCOMPARE(pane(), QStringLiteral("\"typed\""));

    // No file name at all.
    f.Combo1->setEditText(QString());
    press(f.Command2);
    QCOMPARE(messages_.size(), 7);
    QCOMPARE(pane(), QStringLiteral("\"typed\""));

    // The window goes on working.
    f.Combo1->setEditText(QStringLiteral("\\hzwj-1.txt"));
    press(f.Command2);
    QCOMPARE(messages_.size(), 7);
    QCOMPARE(folder_->bytes("hzwj-1.txt"), QByteArray("\"1 10.0\"\r\n\"198.78\"\r\n"));
}

// ---- 导入荷载数据 ------------------------------------------------------------------

void Form3Test::distributionFillsTheBeamLoadBoxesOfTheTemplate()
{
    Form1& m = *main_;
    // Written by the editor: the fifth string holds a comma, quoted.
    for (const char* load : {"1 10.0", "1 20.0", "1 30.0", "1 40.0", "1 10.0,02.00"}) {
        editor_->Text12->setText(QString::fromLatin1(load).mid(1));
        press(editor_->Command2);
    }
    QCOMPARE(folder_->bytes("hzwj-1.txt").count('\n'), 5);
    QVERIFY(folder_->bytes("hzwj-1.txt").endsWith("\"1 10.0,02.00\"\r\n"));

    press(m.Command16); // 2-2
    m.Text10->setPlainText(QStringLiteral("left alone"));
    m.Text31->setPlainText(QStringLiteral("left alone too"));
    press(m.Command23);
    QVERIFY2(mainMessages_.isEmpty(), qPrintable(mainMessages_.join('\n')));
    QCOMPARE(m.Text6->toPlainText(), QStringLiteral("1 10.0"));
    QCOMPARE(m.Text7->toPlainText(), QStringLiteral("1 20.0"));
    QCOMPARE(m.Text27->toPlainText(), QStringLiteral("1 30.0"));
    QCOMPARE(m.Text29->toPlainText(), QStringLiteral("1 40.0"));
    QCOMPARE(m.Text10->toPlainText(), QStringLiteral("left alone"));
    QCOMPARE(m.Text31->toPlainText(), QStringLiteral("left alone too"));
    QCOMPARE(m.Text2->toPlainText(), QStringLiteral("\"1 10.0\"\n\"1 20.0\"\n\"1 30.0\"\n\"1 40.0\"\n"));

    // 1-1 from the other end of the file: the comma comes back inside the string.
    editor_->Text2->setPlainText(QStringLiteral("\"1 10.0,02.00\""));
    press(editor_->Command3);
    press(m.Command11);
    press(m.Command23);
    QCOMPARE(m.Text6->toPlainText(), QStringLiteral("1 10.0,02.00"));
    QCOMPARE(m.Text2->toPlainText(), QStringLiteral("\"1 10.0,02.00\"\n"));
    QCOMPARE(m.Text7->toPlainText(), QStringLiteral("1 20.0"));

    // A shape without a template: only listed. The other slot, as typed in Combo23.
    folder_->write("hzwj-2.txt", "a,b,c,d\r\n");
    m.Combo23->setEditText(QStringLiteral("\\hzwj-2.txt"));
    m.Text67->setText(QStringLiteral("4"));
    m.Text68->setText(QStringLiteral("1"));
    press(m.Command23);
    QCOMPARE(m.Text2->toPlainText(), QStringLiteral("\"a\"\n\"b\"\n\"c\"\n\"d\"\n"));
    QCOMPARE(m.Text6->toPlainText(), QStringLiteral("1 10.0,02.00"));
    QVERIFY(mainMessages_.isEmpty());
}

void Form3Test::distributionFailuresLeaveBoxesAsTheyWere()
{
    Form1& m = *main_;
    press(m.Command17); // 3-2
    const QList<QPlainTextEdit*> loads{m.Text6, m.Text7, m.Text10, m.Text27, m.Text29, m.Text31};
    for (QPlainTextEdit* box : loads) box->setPlainText(box->objectName());
    m.Text2->setPlainText(QStringLiteral("data file"));
    const auto unchanged = [&] {
        for (QPlainTextEdit* box : loads)
            if (box->toPlainText() != box->objectName()) return false;
        return m.Text2->toPlainText() == QStringLiteral("data file");
    };

    // No load file.
    press(m.Command23);
    QCOMPARE(mainMessages_, QStringList{"导入荷载数据未完成:\n找不到文件 \\hzwj-1.txt"});
    QVERIFY(unchanged());

    // Five strings for six beams.
    folder_->write("hzwj-1.txt", "\"1\"\r\n\"2\"\r\n\"3\"\r\n\"4\"\r\n\"5\"\r\n");
    press(m.Command23);
    QCOMPARE(mainMessages_.size(), 2);
    QCOMPARE(mainMessages_[1], QStringLiteral("导入荷载数据未完成:\n荷载文件 \\hzwj-1.txt 只有 5 个荷载字符串, "
                                              "少于梁数 6 (跨数 3 × 层数 2)"));
    QVERIFY(unchanged());

    // More than ten beams.
    folder_->write("hzwj-1.txt", QByteArray("\"1 20.0\"\r\n").repeated(12));
    m.Text67->setText(QStringLiteral("4"));
    m.Text68->setText(QStringLiteral("3"));
    press(m.Command23);
    QCOMPARE(mainMessages_.size(), 3);
    QVERIFY2(mainMessages_[2].contains("\\hzwj-1.txt") && mainMessages_[2].contains(QStringLiteral("超过 10")),
             qPrintable(mainMessages_[2]));
    QVERIFY(unchanged());

    // No frame shape yet.
    m.Text67->clear();
    press(m.Command23);
    QCOMPARE(mainMessages_.size(), 4);
    QVERIFY2(mainMessages_[3].contains(QStringLiteral("框架模板")), qPrintable(mainMessages_[3]));
    QVERIFY(unchanged());

    // Once the file has enough strings it goes through.
    m.Text67->setText(QStringLiteral("3"));
    m.Text68->setText(QStringLiteral("2"));
    press(m.Command23);
    QCOMPARE(mainMessages_.size(), 4);
    QCOMPARE(m.Text31->toPlainText(), QStringLiteral("1 20.0"));
}

// ---- From the load editor to the calculation ----------------------------------------

void Form3Test::loadsComposedHereAreCalculatedInTheFrame()
{
    // Two 6.00 m spans, one 3.60 m storey, beams 0.25 x 0.50, columns 0.40 x 0.40.
    folder_->write("gjcs-1.txt", "6.003.60,112\r\n.25.50.40.40,11222\r\n");

    // Both beams: 20 kN/m over the whole span (N = 1, no length).
    Form3& f = *editor_;
    f.Text12->setText(QStringLiteral("20.00"));
    press(f.Command5);
    press(f.Command2);
    press(f.Command2);
    QCOMPARE(folder_->bytes("hzwj-1.txt"), QByteArray("\"120.00\"\r\n\"120.00\"\r\n"));
    press(f.Command1);

    Form1& m = *main_;
    press(m.Command13); // 2-1
    const QList<QPair<QLineEdit*, const char*>> numbers{{m.Text5, "1"},  {m.Text70, "1"}, {m.Text74, "2"},
                                                        {m.Text32, "1"}, {m.Text38, "1"}, {m.Text34, "2"},
                                                        {m.Text36, "2"}, {m.Text40, "2"}};
    for (const auto& [box, text] : numbers) QTest::keyClicks(box, text);
    press(m.Command23);
    press(m.Command29);
    QCOMPARE(folder_->bytes("KJ-1.txt"),
             QByteArray("KJ-1,2,1,0,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n120.00,120.00\r\n300,30\r\n"));
    answers_ = QStringList{"y"};
    press(m.Command4);
    QVERIFY2(mainMessages_.isEmpty(), qPrintable(mainMessages_.join('\n')));

    // By hand, moment distribution; the frame and its load are symmetric, so
    // the middle joint neither turns nor sways.
    //   Ib = 0.25 * 0.50^3 / 12 = 0.0026042 m^4,  Ic = 0.40^4 / 12 = 0.0021333 m^4
    //   outer joint: beam 4 Ib / 6.00 = 0.0017361, column 4 Ic / 3.60 = 0.0023704,
    //   beam share 0.0017361 / 0.0041065 = 0.42277
    //   fixed-end moment 20 * 6^2 / 12 = 60 kN·m
    //   beam at the outer joint  60 - 0.42277 * 60 = 34.634 (hogging)
    //   beam at the middle joint 60 + 0.42277 * 60 / 2 = 72.683 (hogging)
    //   outer column top 34.634, its foot 34.634 / 2 = 17.317; middle column 0
    //   left shear 20 * 6 / 2 - (72.683 - 34.634) / 6 = 53.659, right shear 66.341
    //   span moment 53.659^2 / (2 * 20) - 34.634 = 37.35, at 53.659 / 20 = 2.68 m
    //   from the left end of beam 1 (6.00 - 2.68 = 3.32 m in beam 2, its mirror)
    // The force-diagram text rounds to whole numbers. Member-end moments are
    // clockwise positive: the beam's left end -35, its right end +73; the left
    // column +35 at its top and +17 at its foot, the right column the mirror
    // image; the right-end shear carries the minus sign.
    const QStringList lines = m.Text3->toPlainText().split('\n');
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QStringLiteral("-35,73,37,54,-66"));
    QCOMPARE(lines[1], QStringLiteral("-73,35,37,66,-54"));
    QCOMPARE(lines[2], QStringLiteral("35,17"));
    QCOMPARE(lines[3], QStringLiteral("0,0"));
    QCOMPARE(lines[4], QStringLiteral("-35,-17"));
    QCOMPARE(lines[5], QString());

    // The report's beam rows give the place of the span moment in metres.
    const QStringList report =
        QString::fromStdString(kj::readTextFile(kj::slotPath("\\zemowj1.txt"), "report")).split("\r\n");
    QStringList places;
    for (const QString& line : report) {
        const QStringList fields = line.simplified().split(' ');
        if (fields.size() == 13 && (fields[0] == "1" || fields[0] == "2")) places << fields[10];
    }
    QCOMPARE(places, (QStringList{"2.68", "3.32"}));
}

QTEST_MAIN(Form3Test)
#include "form3_test.moc"
