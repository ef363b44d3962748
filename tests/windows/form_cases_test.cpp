// The window of load cases and combinations driven offscreen: its button in
// the main window, the combination sets and the table, its state file, and
// the envelope calculation with the main window's settings.
#include "cases/form_cases.h"
#include "common/textfile.h"
#include "main/form1.h"
#include "window_test_support.h"

#include <QtTest>

#include <memory>
#include <optional>

using namespace kjtest;

class FormCasesTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void buttonInTheMainWindowCoversNoControl();
    void opensOnceAndASetFillsTheTableUntilARowIsEdited();
    void stateIsSavedAsGbkLinesAndReadBack();
    void runsTheEnvelopeWithTheMainWindowsSettings();
    void liveLoadFactorsAndPatternsReachTheTableTheStateAndTheRun();
    void earthquakeAndW2ReachTheRunAndTheStateFile();

private:
    void copyExamples() const;
    std::optional<WorkingFolder> folder_;
    std::unique_ptr<Form1> main_;
    QStringList messages_;
};

void FormCasesTest::init()
{
    folder_.emplace();
    QVERIFY(folder_->isValid());
    messages_.clear();
    main_ = std::make_unique<Form1>();
    catchMessages(*main_, messages_);
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
}

void FormCasesTest::cleanup()
{
    main_.reset();
    folder_.reset();
}

void FormCasesTest::copyExamples() const
{
    for (const char* name : {"KJ-1.txt", "KJ-1Q.txt", "KJ-1W.txt"}) {
        QFile src(QStringLiteral(KJ_EXAMPLES_DIR "/") + QLatin1String(name));
        QVERIFY(src.open(QIODevice::ReadOnly));
        folder_->write(QLatin1String(name), src.readAll());
    }
}

void FormCasesTest::buttonInTheMainWindowCoversNoControl()
{
    const Form1& f = *main_;
    const QRect button = f.Command40->geometry();
    QCOMPARE(f.Command40->text(), QStringLiteral("工况组合"));
    QVERIFY(f.Command40->isVisible());
    QVERIFY(f.rect().contains(button));
    // Every control, shown or hidden (the boxes over the frame pictures, the pictures).
    int others = 0;
    for (const QWidget* w : f.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w == f.Command40 || w->isWindow()) continue;
        ++others;
        QVERIFY2(!w->geometry().intersects(button), qPrintable(w->objectName()));
    }
    QVERIFY(others > 100);
}

void FormCasesTest::opensOnceAndASetFillsTheTableUntilARowIsEdited()
{
    QVERIFY(!main_->hasCasesForm());
    press(main_->Command40);
    FormCases* c = main_->formCases();
    QVERIFY(c->isVisible());
    QCOMPARE(c->windowTitle(), QStringLiteral("荷载工况组合"));
    QVERIFY(c->isWindow() && !c->isModal());
    QCOMPARE(itemsOf(c->Combo4), (QStringList{"GB 55001-2021", "GB 50009-2012", "自定义"}));
    QCOMPARE(c->Table1->rowCount(), 16);
    QCOMPARE(c->Table1->item(2, 0)->text(), QStringLiteral("1.3G+1.5Q-0.9W"));

    c->Combo4->setCurrentIndex(1);
    emit c->Combo4->activated(1);
    QCOMPARE(c->Table1->rowCount(), 21);
    QCOMPARE(c->Table1->item(7, 0)->text(), QStringLiteral("1.35G+0.98Q"));
    c->Table1->item(7, 0)->setText(QStringLiteral("1.35G+0.98Q+0.84W"));
    QCOMPARE(c->Combo4->currentText(), QStringLiteral("自定义"));
    c->Table1->setCurrentCell(0, 0);
    press(c->Command2);
    QCOMPARE(c->Table1->rowCount(), 22);
    QCOMPARE(c->state().rows.size(), std::size_t{21}); // the empty new row is no combination
    press(c->Command3);
    QCOMPARE(c->Table1->rowCount(), 21);

    press(c->Command6);
    QVERIFY(!c->isVisible());
    press(main_->Command40);
    QCOMPARE(main_->formCases(), c); // the same window, as it was left
    QCOMPARE(c->Table1->item(7, 0)->text(), QStringLiteral("1.35G+0.98Q+0.84W"));
}

void FormCasesTest::stateIsSavedAsGbkLinesAndReadBack()
{
    FormCases* c = main_->formCases();
    catchMessages(*c, messages_);
    kj::CaseWindowState s;
    s.G = "\\KJ-1.txt";
    s.W = "\\KJ-1W.txt";
    s.set = "自定义";
    s.rows = {"1.0G-1.5W", "1.3G+1.5W"};
    c->setState(s);
    press(c->Command4);
    const QByteArray expected = QByteArray::fromStdString(kj::encodeGbk(
        "\"G\",\"\\KJ-1.txt\"\r\n\"Q\",\"\"\r\n\"W\",\"\\KJ-1W.txt\"\r\n\"组合\",\"自定义\"\r\n\"1.0G-1.5W\"\r\n\"1.3G+1.5W\"\r\n"));
    QCOMPARE(folder_->bytes(QStringLiteral("zhgk-1.txt")), expected);

    c->setState(kj::CaseWindowState{"\\KJ-2.txt", "\\KJ-2Q.txt", "", "GB 50009-2012", {}});
    QCOMPARE(c->Table1->rowCount(), 21);
    press(c->Command5);
    QCOMPARE(c->Combo1->currentText(), QStringLiteral("\\KJ-1.txt"));
    QCOMPARE(c->Combo2->currentText(), QString());
    QCOMPARE(c->Combo3->currentText(), QStringLiteral("\\KJ-1W.txt"));
    QCOMPARE(c->Combo4->currentText(), QStringLiteral("自定义"));
    QCOMPARE(c->state().rows, s.rows);
    QVERIFY(messages_.isEmpty());

    // A file that is not a state file: a message, and the window as it was.
    folder_->write(QStringLiteral("zhgk-2.txt"), "\"G\",\"\\KJ-1.txt\"\r\n\"W\",\"x\"\r\n");
    c->Combo5->setEditText(QStringLiteral("\\zhgk-2.txt"));
    press(c->Command5);
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].contains(QStringLiteral("工况组合文件 \\zhgk-2.txt 的第 3 项应为 \"Q\"")));
    QCOMPARE(c->state().rows, s.rows);

    // A state file may name only files of the working folder.
    folder_->write(QStringLiteral("zhgk-2.txt"), "\"G\",\"\\..\\x.txt\"\r\n\"Q\",\"\"\r\n\"W\",\"\"\r\n\"组合\",\"自定义\"\r\n");
    press(c->Command5);
    QCOMPARE(messages_.size(), 2);
    QVERIFY2(messages_[1].contains(QStringLiteral("工况组合文件 \\zhgk-2.txt 中工况 G 的文件名 \"\\..\\x.txt\" 不在工作文件夹中")),
             qPrintable(messages_[1]));
    QCOMPARE(c->Combo1->currentText(), QStringLiteral("\\KJ-1.txt"));
}

void FormCasesTest::runsTheEnvelopeWithTheMainWindowsSettings()
{
    copyExamples();
    main_->Combo21->setEditText(QStringLiteral("1"));
    main_->Combo22->setEditText(QStringLiteral("0.85"));
    FormCases* c = main_->formCases();
    catchMessages(*c, messages_);
    press(c->Command1);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    const std::string report = kj::decodeFileBytes(folder_->bytes(QStringLiteral("zemowj1.txt")).toStdString());
    QVERIFY(report.find("荷载组合  GB 55001-2021  活载 γL=1.0 ψc=0.7  共 16 个") != std::string::npos);
    QVERIFY(report.find("    控制组合 上端:") != std::string::npos);
    QCOMPARE(main_->Text3->toPlainText().split('\n').size(), 6); // 2 beams, 3 columns, the final line end
    QCOMPARE(main_->Text2->toPlainText().toStdString() + "\n",
             kjw::toPane(kj::decodeFileBytes(folder_->bytes(QStringLiteral("lpj-1.txt")).toStdString())).toStdString());
    QVERIFY(c->Label6->text().startsWith(QStringLiteral("计算完成: 16 个组合")));

    // A case file that is missing: the message names it and no file changes.
    const QByteArray before = folder_->bytes(QStringLiteral("zemowj1.txt"));
    c->Combo3->setEditText(QStringLiteral("\\KJ-9W.txt"));
    press(c->Command1);
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].startsWith(QStringLiteral("荷载工况组合计算未完成:\n")));
    QVERIFY(messages_[0].contains(QStringLiteral("\\KJ-9W.txt")));
    QCOMPARE(folder_->bytes(QStringLiteral("zemowj1.txt")), before);
}

void FormCasesTest::liveLoadFactorsAndPatternsReachTheTableTheStateAndTheRun()
{
    copyExamples();
    FormCases* c = main_->formCases();
    catchMessages(*c, messages_);
    c->Combo6->setCurrentIndex(1);
    emit c->Combo6->activated(1);
    QCOMPARE(c->Table1->item(0, 0)->text(), QStringLiteral("1.3G+1.65Q"));
    c->Combo7->setCurrentIndex(1);
    emit c->Combo7->activated(1);
    QCOMPARE(c->Table1->item(3, 0)->text(), QStringLiteral("1.3G+1.485Q+1.5W"));
    c->Check1->setChecked(true);
    press(c->Command4);
    QVERIFY(kj::decodeFileBytes(folder_->bytes(QStringLiteral("zhgk-1.txt")).toStdString())
                .find("\"组合\",\"GB 55001-2021\"\r\n\"活载\",\"1.1\",\"0.9\",\"1\"\r\n\"1.3G+1.65Q\"") != std::string::npos);
    press(c->Command1);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    const std::string report = kj::decodeFileBytes(folder_->bytes(QStringLiteral("zemowj1.txt")).toStdString());
    QVERIFY(report.find("活载 γL=1.1 ψc=0.9  共 16 个") != std::string::npos);
    QVERIFY(report.find("活载不利布置: ") != std::string::npos);
    // Read back into a window set otherwise.
    c->setState(kj::CaseWindowState{});
    QVERIFY(!c->Check1->isChecked());
    press(c->Command5);
    QCOMPARE(c->Combo6->currentText(), QStringLiteral("1.1"));
    QVERIFY(c->Check1->isChecked());
}

void FormCasesTest::earthquakeAndW2ReachTheRunAndTheStateFile()
{
    copyExamples();
    folder_->write(QStringLiteral("KJ-1W2.txt"),
                   "KJ-1W2,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n0,0\r\n104-15.0   0.0\r\n300,25\r\n");
    FormCases* c = main_->formCases();
    catchMessages(*c, messages_);
    std::optional<kj::CalcResult> result;
    c->showResult = [&](const kj::CalcResult& r) { result = r; };
    QVERIFY(!c->Combo10->isEnabled() && !c->Text1->toolTip().isEmpty());
    c->Combo8->setEditText(QStringLiteral("\\KJ-1W2.txt"));
    QCOMPARE(c->Table1->item(2, 0)->text(), QStringLiteral("1.3G+1.5Q+0.9W2"));
    c->Combo9->setCurrentIndex(3); // 7.5 (0.15g)
    emit c->Combo9->activated(3);
    c->Combo10->setCurrentIndex(3); // III
    c->Combo11->setCurrentIndex(1); // group 2
    c->Combo12->setCurrentIndex(2); // grade 2
    c->Text1->setText(QStringLiteral("0.8"));
    QVERIFY(c->Check2->isEnabled() && !c->Check2->toolTip().isEmpty());
    c->Check2->setChecked(true);

    // The main window's default method: the core's refusal, nothing calculated.
    press(c->Command1);
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].contains(QStringLiteral("设计规范为原方法时不能进行抗震计算")), qPrintable(messages_[0]));
    QVERIFY(!result);
    main_->Combo39->setCurrentIndex(1); // GB50010-2010
    press(c->Command1);
    QVERIFY(messages_.size() == 1 && result && result->seismic);
    const kj::SeismicParameters& p = result->seismic->params;
    QVERIFY(p.intensity == kj::gb50011::Intensity::I7_5 && p.site == kj::gb50011::SiteClass::III);
    QVERIFY(p.group == 2 && p.grade == 2 && p.psiT == 0.8 && p.cornerColumns);
    QCOMPARE(result->envelope->cases[3].kind, kj::LoadCaseKind::W2);

    press(c->Command4);
    c->setState(kj::CaseWindowState{});
    QVERIFY(!c->Text1->isEnabled() && !c->Check2->isChecked());
    press(c->Command5);
    QVERIFY(c->Check2->isChecked());
    QCOMPARE(c->state().W2, std::string("\\KJ-1W2.txt"));
    QCOMPARE(c->state().seismic.grade, std::string("2"));
    QCOMPARE(c->state().seismic.psiT, std::string("0.8"));
}

QTEST_MAIN(FormCasesTest)
#include "form_cases_test.moc"
