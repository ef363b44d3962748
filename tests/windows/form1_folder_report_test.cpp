// The main window's bottom strip and the help around it: the working folder
// (label, button, start arguments, a first desktop start), the report viewer,
// the tooltips of the frame boxes, and the data check after a calculation.
#include "common/textfile.h"
#include "main/form1.h"
#include "main/report_view.h"
#include "main/working_folder.h"
#include "members/form4.h"
#include "window_test_support.h"

#include <QFontInfo>
#include <QSettings>
#include <QtTest>

#include <memory>
#include <optional>

using namespace kjtest;

namespace {
const QByteArray kFrame("KJ-1,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n"
                        "20103 50.0   0.0\r\n300,25\r\n");
QString native(const QString& path) { return QDir::toNativeSeparators(path); }
} // namespace

class Form1FolderReportTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void bottomStripCoversNoControl();
    void folderButtonEntersAndRemembersTheChosenFolder();
    void startArgumentsAndFirstDesktopStart();
    void reportViewOpensAtTheLastBlock();
    void everyFrameBoxSaysWhatItHolds();
    void dataWarningsFollowTheCalculation();

private:
    QTemporaryDir settings_;
    std::optional<WorkingFolder> folder_;
    std::unique_ptr<Form1> form_;
    QStringList messages_;
    QString chosen_;
};

void Form1FolderReportTest::initTestCase()
{
    // The program's settings go to a folder of this test, not the user's.
    QVERIFY(settings_.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
}

void Form1FolderReportTest::init()
{
    folder_.emplace();
    QVERIFY(folder_->isValid());
    messages_.clear();
    form_ = std::make_unique<Form1>();
    catchMessages(*form_, messages_);
    form_->inputBox = [](const QString&, const QString&, const QString&, std::optional<QPoint>) {
        return QStringLiteral("y");
    };
    form_->chooseFolder = [this](const QString&) { return chosen_; };
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void Form1FolderReportTest::cleanup()
{
    form_.reset();
    folder_.reset();
}

void Form1FolderReportTest::bottomStripCoversNoControl()
{
    Form1& f = *form_;
    for (QWidget* added : {static_cast<QWidget*>(f.LabelFolder), static_cast<QWidget*>(f.CommandFolder),
                           static_cast<QWidget*>(f.CommandReport)}) {
        QVERIFY(f.rect().contains(added->geometry()));
        for (QWidget* other : f.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (other != added && !other->isWindow())
                QVERIFY2(!added->geometry().intersects(other->geometry()),
                         qPrintable(added->objectName() + " covers " + other->objectName()));
    }
    QCOMPARE(f.CommandFolder->text(), QStringLiteral("工作目录"));
    QCOMPARE(f.CommandReport->text(), QStringLiteral("查看计算书"));
}

void Form1FolderReportTest::folderButtonEntersAndRemembersTheChosenFolder()
{
    Form1& f = *form_;
    const QString start = QDir::currentPath();
    QCOMPARE(f.LabelFolder->text(), QStringLiteral("工作目录: ") + native(start));

    QVERIFY(folder_->makeFolder(QStringLiteral("框架 2")));
    chosen_ = folder_->path(QStringLiteral("框架 2"));
    press(f.CommandFolder);
    QVERIFY(messages_.isEmpty());
    QCOMPARE(QDir::currentPath(), chosen_);
    QCOMPARE(QString::fromStdU16String(kj::workingRoot().u16string()), chosen_);
    QCOMPARE(f.LabelFolder->text(), QStringLiteral("工作目录: ") + native(chosen_));
    QCOMPARE(kjw::programSettings().value(kjw::kWorkingFolderKey).toString(), chosen_);
    // Slot names now land in the chosen folder.
    f.Text2->setPlainText(QStringLiteral("x"));
    press(f.Command12);
    QVERIFY(QFile::exists(folder_->path(QStringLiteral("框架 2/KJ-1.txt"))));

    // Cancelled, or a folder that does not exist: nothing changes.
    chosen_.clear();
    press(f.CommandFolder);
    chosen_ = folder_->path(QStringLiteral("none"));
    press(f.CommandFolder);
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].startsWith(QStringLiteral("工作目录未改变:\n")), qPrintable(messages_[0]));
    QCOMPARE(QDir::currentPath(), folder_->path(QStringLiteral("框架 2")));
    QCOMPARE(kjw::programSettings().value(kjw::kWorkingFolderKey).toString(), folder_->path(QStringLiteral("框架 2")));
}

void Form1FolderReportTest::startArgumentsAndFirstDesktopStart()
{
    QSettings none(folder_->path(QStringLiteral("none.ini")), QSettings::IniFormat);
    QCOMPARE(kjw::startFolder({}, none).path, QDir::currentPath());
    QVERIFY(folder_->makeFolder(QStringLiteral("a")));
    const kjw::StartFolder named = kjw::startFolder({folder_->path(QStringLiteral("a"))}, none);
    QCOMPARE(named.path, folder_->path(QStringLiteral("a")));
    QVERIFY(named.error.isEmpty() && !named.desktop);
    const kjw::StartFolder missing = kjw::startFolder({folder_->path(QStringLiteral("b"))}, none);
    QCOMPARE(missing.path, QDir::currentPath());
    QVERIFY2(missing.error.startsWith(QStringLiteral("工作目录 ")), qPrintable(missing.error));

    // From the desktop: the folder chosen last, by default kjpj in the home folder.
    const kjw::StartFolder fresh = kjw::startFolder({QStringLiteral("--desktop")}, none);
    QVERIFY(fresh.desktop);
    QCOMPARE(fresh.path, QDir::home().filePath(QStringLiteral("kjpj")));
    QSettings chosen(folder_->path(QStringLiteral("chosen.ini")), QSettings::IniFormat);
    chosen.setValue(kjw::kWorkingFolderKey, folder_->path(QStringLiteral("a")));
    QCOMPARE(kjw::startFolder({QStringLiteral("--desktop")}, chosen).path, folder_->path(QStringLiteral("a")));

    // A folder made on the first start holds the example frames as they are.
    const QString made = folder_->path(QStringLiteral("new/kjpj"));
    QCOMPARE(kjw::prepareFolder(made), QString());
    const QStringList examples = QDir(QStringLiteral(KJ_EXAMPLES_DIR)).entryList({QStringLiteral("*.txt")}, QDir::Files);
    QVERIFY(examples.contains(QStringLiteral("KJ-1.txt")));
    QCOMPARE(QDir(made).entryList(QDir::Files), examples);
    for (const QString& name : examples) {
        QFile source(QStringLiteral(KJ_EXAMPLES_DIR "/") + name), copy(QDir(made).filePath(name));
        QVERIFY(source.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadWrite)); // writable, too
        QCOMPARE(copy.readAll(), source.readAll());
    }
    // An existing folder is left as it is.
    QVERIFY(QFile::remove(QDir(made).filePath(QStringLiteral("KJ-2.txt"))));
    QCOMPARE(kjw::prepareFolder(made), QString());
    QVERIFY(!QFile::exists(QDir(made).filePath(QStringLiteral("KJ-2.txt"))));
}

void Form1FolderReportTest::reportViewOpensAtTheLastBlock()
{
    Form1& f = *form_;
    press(f.CommandReport); // no report yet: said, and no window
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].startsWith(QStringLiteral("查看计算书未完成:\n")), qPrintable(messages_[0]));
    QVERIFY(!f.findChild<ReportView*>());

    // Two calculations of a frame of ten storeys: each block is longer than the view.
    QFile large(QStringLiteral(KJ_EXAMPLES_DIR "/KJ-3.txt"));
    QVERIFY(large.open(QIODevice::ReadOnly));
    folder_->write("KJ-1.txt", large.readAll());
    press(f.Command4);
    press(f.Command4);
    press(f.CommandReport);
    QCOMPARE(messages_.size(), 1);
    auto* view = f.findChild<ReportView*>();
    QVERIFY(view && view->isVisible());
    QVERIFY(view->isWindow());
    QVERIFY(view->minimumSize() != view->maximumSize()); // resizable
    QVERIFY(view->Text1->isReadOnly());
    QCOMPARE(view->Text1->toPlainText().replace('\n', "\r\n").toUtf8(),
             QByteArray::fromStdString(kj::readTextFile(kj::slotPath("\\zemowj1.txt"), "z")));

    // The second block's title line is the first line in view.
    const QStringList lines = view->Text1->toPlainText().split('\n');
    int second = -1, titles = 0;
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].contains(QStringLiteral("KJ-3 输入信息")) && ++titles == 2) second = i;
    QVERIFY(second > 0);
    QCOMPARE(view->Text1->cursorForPosition(QPoint(4, 4)).blockNumber(), second);

    // Monospaced, a Chinese character as wide as two digits: the columns line up.
    const QFont font = view->Text1->font();
    const QFontMetrics m(font);
    QVERIFY2(m.inFont(QChar(0x8BA1)), qPrintable(QFontInfo(font).family()));
    QCOMPARE(m.horizontalAdvance(QStringLiteral("iiii")), m.horizontalAdvance(QStringLiteral("WW.-")));
    QCOMPARE(m.horizontalAdvance(QStringLiteral("计算书")), m.horizontalAdvance(QStringLiteral("123456")));

    // Pressed again, the same window shows the file anew.
    view->Text1->clear();
    press(f.CommandReport);
    QCOMPARE(f.findChildren<ReportView*>().size(), 1);
    QVERIFY(!view->Text1->toPlainText().isEmpty());
}

void Form1FolderReportTest::everyFrameBoxSaysWhatItHolds()
{
    Form1& f = *form_;
    Form4* members = f.form4();
    QCOMPARE(f.Text5->toolTip(), QStringLiteral("第 1 跨跨长编号: 构件参数文件跨长表中的序号 1–5"));
    QCOMPARE(members->Text42->toolTip(), QStringLiteral("上层第 3 跨梁截面编号: 构件参数文件断面表中的序号 1–6"));
    QCOMPARE(f.Text57->toolTip(), QStringLiteral("下层第 3 跨梁截面 b,h (m): 截面编号从断面表选出的宽 b 和高 h"));
    QVERIFY(f.Text31->toolTip().startsWith(QStringLiteral("下层第 3 跨梁荷载串: 荷载个数 1 位")));
    QVERIFY(f.Text62->toolTip().startsWith(QStringLiteral("第 3 组节点荷载: ")));
    QStringList tips;
    for (QWidget* box : f.frameBoxes()) tips << box->toolTip();
    for (QLineEdit* box : members->frameBoxes()) tips << box->toolTip();
    QCOMPARE(tips.size(), 44 + 38);
    QVERIFY(!tips.contains(QString()));
    QCOMPARE(QSet<QString>(tips.begin(), tips.end()).size(), 44); // the same box, the same words in both windows
}

void Form1FolderReportTest::dataWarningsFollowTheCalculation()
{
    Form1& f = *form_;
    folder_->write("KJ-1.txt", kFrame);
    press(f.Command4);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));

    // A letter O for a zero: computed as read, then listed.
    QByteArray typo = kFrame;
    typo.replace("1 20.0,1 20.0", "1 20.0,1 2O.0");
    folder_->write("KJ-1.txt", typo);
    press(f.Command4);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0], QStringLiteral("数据文件 \\KJ-1.txt 中有 1 处字段读不清, 计算按读出的数值进行, 请核对:\n"
                                          "数据文件 \\KJ-1.txt 第 4 行: 梁间荷载数据, 第 2 号梁 \"1 2O.0\", "
                                          "第 1 个荷载的数值 (第 2-6 个字符 \" 2O.0\"): \"O.0\" 不是数的一部分, 读作 2"));
    QVERIFY(f.Text2->toPlainText().startsWith('"')); // the results are shown
}

QTEST_MAIN(Form1FolderReportTest)
#include "form1_folder_report_test.moc"
