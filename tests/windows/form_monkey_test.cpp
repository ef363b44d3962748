// An engineer at the keyboard, at random: clicks into boxes of whichever
// windows are open and types, presses Return, Escape, Tab and Ctrl+V (the
// clipboard empty), clicks buttons, and runs "框架配筋计算" on example
// frames with a few characters changed, answering its real input box by
// typing into it. Nothing may crash, hang or wait for a person; every
// failure shows a message, and a failed operation leaves the files it had
// not yet written byte for byte as they were.
//
// A fixed seed makes every run the same sequence; CI (.ci/run) gives a new
// one each time, and the seed is printed first. KJ_MONKEY_STEPS and
// KJ_MONKEY_SEED run longer or other sequences by hand; KJ_MONKEY_VERBOSE
// prints the message of every failed calculation.
#include "cases/form_cases.h"
#include "common/numbers.h"
#include "main/form1.h"
#include "main/form3.h"
#include "members/form4.h"
#include "viewers/form2.h"
#include "viewers/form5.h"
#include "window_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QMap>
#include <QMimeData>
#include <QTimer>
#include <QtTest>

#include <cctype>
#include <cstdio>
#include <random>

namespace {

using Files = QMap<QString, QByteArray>;

// The offscreen platform's note on every dialog box, a thousand times a run.
QtMessageHandler qtHandler = nullptr;
void withoutPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (!text.startsWith(QLatin1String("This plugin does not support"))) qtHandler(type, context, text);
}

// Key events, one character at a time, as a keyboard sends them.
void typeText(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        if (c == QLatin1Char('\n')) QTest::keyClick(w, Qt::Key_Return);
        else if (c.unicode() < 0x80) QTest::keyClick(w, c.toLatin1());
        else QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// A few characters of a data file changed, removed, added, or a line
// removed or repeated, or the file cut short; mostly single digits, so that
// most frames still read and reach the analysis and design.
QByteArray mutate(QByteArray s, std::mt19937& random)
{
    const unsigned r = random() % 10;
    const int count = r < 4 ? 0 : r < 8 ? 1 : 2 + static_cast<int>(random() % 2);
    for (int k = 0; k < count && !s.isEmpty(); ++k) {
        const int at = static_cast<int>(random() % s.size());
        switch (random() % 10) {
        case 6: s.remove(at, 1); break;
        case 7: s.insert(at, " ,.-0123456789*PA\r\n"[random() % 19]); break;
        case 8: {
            const int begin = s.lastIndexOf('\n', at) + 1;
            const int end = s.indexOf('\n', at);
            const QByteArray line = s.mid(begin, end < 0 ? -1 : end - begin + 1);
            if (random() % 2) s.insert(begin, line);
            else s.remove(begin, line.size());
            break;
        }
        case 9: s.truncate(at); break;
        default: {
            int digit = at;
            while (digit < s.size() && !std::isdigit(static_cast<unsigned char>(s[digit]))) ++digit;
            if (digit < s.size()) s[digit] = static_cast<char>('0' + random() % 10);
        }
        }
    }
    return s;
}

} // namespace

class FormMonkeyTest : public QObject {
    Q_OBJECT
private slots:
    void randomKeysAndPressesLoseNothing();

private:
    QWidget* pick(const std::vector<QWidget*>& from) { return from[random_() % from.size()]; }
    template <class T>
    const T& pick(const QList<T>& from) { return from[static_cast<int>(random_() % from.size())]; }
    bool chance(int percent) { return static_cast<int>(random_() % 100) < percent; }

    // Clicks into the box and types the text by keys, first selecting what
    // it holds unless told otherwise.
    void typeInto(QWidget* box, const QString& text, bool replace = true);
    QWidget* focusedIn(QWidget* window) const;
    // Sends one key, or Ctrl+V with the clipboard emptied first.
    void pressKey(QWidget* target, int which);
    // Answers the real dialog box that is open, if any, by typing into it.
    void answerOpenBox();
    // The folder's files and sub-folders, by name.
    Files snapshot() const;
    // The folder's entry a slot name resolves to; empty when it is elsewhere.
    QString entryOf(const QString& slotText) const;
    // Presses "框架配筋计算"; the input box gets the answer typed. Returns
    // false, with the reason in `fault`, when something was lost.
    bool calculate(const QString& answer, QString& fault);
    // Presses any other button: on a message, no file may have changed.
    bool pressButton(QAbstractButton* button, QString& fault);

    std::mt19937 random_;
    std::optional<kjtest::WorkingFolder> folder_;
    Form1* main_ = nullptr;
    QStringList messages_;
    QString calcAnswer_ = QStringLiteral("y"); // typed into the next input box of 框架配筋计算
    QString calcTyped_;                        // what that box held when Return was pressed
    int calcBoxes_ = 0, otherBoxes_ = 0, strayBoxes_ = 0;
    int keys_ = 0, presses_ = 0, calculations_ = 0, reachedDesign_ = 0, completed_ = 0, failuresChecked_ = 0;
};

QWidget* FormMonkeyTest::focusedIn(QWidget* window) const
{
    QWidget* f = window->focusWidget();
    return f && f->isVisible() ? f : nullptr;
}

void FormMonkeyTest::typeInto(QWidget* box, const QString& text, bool replace)
{
    auto* pane = qobject_cast<QPlainTextEdit*>(box);
    QTest::mouseClick(pane ? pane->viewport() : box, Qt::LeftButton);
    QWidget* target = focusedIn(box->window());
    if (target != box && !box->isAncestorOf(target)) { // the click did not give it the focus
        box->setFocus(Qt::MouseFocusReason);
        target = box;
    }
    if (replace) QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    typeText(target, text);
    keys_ += static_cast<int>(text.size()) + (replace ? 1 : 0);
}

void FormMonkeyTest::pressKey(QWidget* target, int which)
{
    static const Qt::Key kKeys[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab,    Qt::Key_Backspace,
                                    Qt::Key_Delete, Qt::Key_Up,     Qt::Key_Down,   Qt::Key_End};
    ++keys_;
    if (which == 8) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        const QMimeData* data = clipboard->mimeData();
        if (!data || !data->formats().isEmpty()) clipboard->setMimeData(new QMimeData);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    } else {
        QTest::keyClick(target, kKeys[which]);
    }
}

void FormMonkeyTest::answerOpenBox()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QDialog*>(w);
        if (!box || !box->isVisible()) continue;
        auto* input = qobject_cast<QInputDialog*>(box);
        QLineEdit* line = input ? input->findChild<QLineEdit*>() : nullptr;
        if (!line) { // a box that waits for a person
            ++strayBoxes_;
            box->reject();
            return;
        }
        const bool calc = input->windowTitle() == QStringLiteral("框架配筋计算程序") &&
                          input->labelText().contains(QStringLiteral("确定输 y"));
        const QString answer = calc ? calcAnswer_ : pick(QStringList{"1", "2", "3", "5", "4", "x", ""});
        ++(calc ? calcBoxes_ : otherBoxes_);
        QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier); // the default answer "?" goes
        QTest::keyClick(line, Qt::Key_Backspace);
        if (answer == QLatin1String("<Esc>")) {
            QTest::keyClick(line, Qt::Key_Escape);
        } else {
            typeText(line, answer);
            if (calc) calcTyped_ = line->text();
            QTest::keyClick(line, Qt::Key_Return);
        }
        keys_ += static_cast<int>(answer.size()) + 3;
        if (input->isVisible()) { // Return did not close it: nobody else would
            ++strayBoxes_;
            input->reject();
        }
        return;
    }
}

Files FormMonkeyTest::snapshot() const
{
    Files files;
    for (const QString& name : folder_->entries(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        files[name] = QFileInfo(folder_->path(name)).isDir() ? QByteArray("<folder>") : folder_->bytes(name);
    return files;
}

QString FormMonkeyTest::entryOf(const QString& slotText) const
{
    try {
        const auto path = std::filesystem::absolute(kj::slotPath(kjw::fromBox(slotText))).lexically_normal();
        const auto rel = path.lexically_relative(kj::workingRoot());
        if (std::distance(rel.begin(), rel.end()) != 1 || rel == "..") return QString();
        return QString::fromStdString(rel.string());
    } catch (const std::exception&) {
        return QString();
    }
}

bool FormMonkeyTest::calculate(const QString& answer, QString& fault)
{
    Form1& m = *main_;
    const QString data = entryOf(m.Combo3->currentText());
    const QString report = entryOf(m.Combo1->currentText());
    const QString bars = entryOf(QStringLiteral("\\lpj-1.txt"));
    const QString forces = entryOf(QStringLiteral("\\mvts-1.txt"));
    const bool renew = kj::numberValue(kjw::fromBox(m.Combo21->currentText())) == 1;
    const Files before = snapshot();
    const int shown = static_cast<int>(messages_.size());
    const int boxes = calcBoxes_;

    calcAnswer_ = answer;
    calcTyped_.clear();
    QTest::mouseClick(m.Command4, Qt::LeftButton);
    ++presses_;
    if (calcBoxes_ != boxes + 1) return fault = QStringLiteral("框架配筋计算 showed no input box"), false;
    const Files after = snapshot();
    const QStringList newMessages = messages_.mid(shown);
    if (calcTyped_ != answer && answer != QLatin1String("<Esc>"))
        return fault = QStringLiteral("the input box took \"%1\" for \"%2\"").arg(calcTyped_, answer), false;
    if (answer != QLatin1String("y")) {
        if (after != before || !newMessages.isEmpty()) return fault = QStringLiteral("ran without y"), false;
        return true;
    }
    ++calculations_;

    // Every file but the report (and the copy a renewal keeps of it) and the
    // two result files stays as it was.
    QStringList names = before.keys() + after.keys();
    names.removeDuplicates();
    for (const QString& name : names)
        if (name != report && name != bars && name != forces && !(renew && name == report + QStringLiteral(".bak")) &&
            before.value(name) != after.value(name))
            return fault = QStringLiteral("%1 changed").arg(name), false;
    if (before.value(data) != after.value(data)) return fault = QStringLiteral("the data file changed"), false;
    // The report only grows, unless renewed; it never ends mid-line.
    const QByteArray oldReport = before.value(report), newReport = after.value(report);
    const bool appended = newReport.startsWith(oldReport);
    if (!appended && !renew) return fault = QStringLiteral("the report lost its earlier runs"), false;
    if (newReport != oldReport && !newReport.endsWith("\r\n")) return fault = QStringLiteral("the report ends mid-line"), false;
    // What this run wrote to it: a renewed report rewritten within the same
    // second from the same data reads as unchanged.
    const QByteArray added = newReport == oldReport ? QByteArray() : appended ? newReport.mid(oldReport.size()) : newReport;
    // A completed run may list the fields of the data file that do not read
    // cleanly, and the members it analysed without designing them.
    const bool warned =
        newMessages.size() == 1 &&
        ((newMessages[0].startsWith(QStringLiteral("数据文件 ")) &&
          newMessages[0].contains(QStringLiteral("处字段读不清, 计算按读出的数值进行"))) ||
         newMessages[0].contains(QStringLiteral("小于 51 mm: 只计算内力, 不配筋")));
    const bool design = newMessages.isEmpty() || warned || added.contains("Fy=");
    reachedDesign_ += design ? 1 : 0;
    if (newMessages.isEmpty() || warned) {
        ++completed_;
        return true;
    }
    ++failuresChecked_;
    if (qEnvironmentVariableIsSet("KJ_MONKEY_VERBOSE")) std::printf("%s\n", qPrintable(newMessages.join('|')));
    if (newMessages.size() != 1 || !newMessages[0].startsWith(QStringLiteral("框架配筋计算未完成:\n")))
        return fault = QStringLiteral("messages: ") + newMessages.join(QLatin1Char('|')), false;
    // Before the design the result files are not written.
    if (!design && (before.value(bars) != after.value(bars) || before.value(forces) != after.value(forces)))
        return fault = QStringLiteral("a result file changed before the design: ") + newMessages[0], false;
    return true;
}

bool FormMonkeyTest::pressButton(QAbstractButton* button, QString& fault)
{
    const Files before = snapshot();
    const int shown = static_cast<int>(messages_.size());
    QTest::mouseClick(button, Qt::LeftButton);
    ++presses_;
    if (messages_.size() == shown) return true;
    ++failuresChecked_;
    if (snapshot() != before)
        return fault = QStringLiteral("%1 changed files and showed: %2").arg(button->text(), messages_.last()), false;
    return true;
}

void FormMonkeyTest::randomKeysAndPressesLoseNothing()
{
    const unsigned seed = qEnvironmentVariableIsSet("KJ_MONKEY_SEED") ? qEnvironmentVariableIntValue("KJ_MONKEY_SEED") : 20261207u;
    const int steps = qEnvironmentVariableIsSet("KJ_MONKEY_STEPS") ? qEnvironmentVariableIntValue("KJ_MONKEY_STEPS") : 2500;
    random_.seed(seed);
    // First, so that a crash or a hang can be replayed too.
    std::printf("monkey seed %u (KJ_MONKEY_SEED=%u replays this run)\n", seed, seed);
    std::fflush(stdout);
    qtHandler = qInstallMessageHandler(withoutPlatformNotes);
    const auto restore = qScopeGuard([] { qInstallMessageHandler(qtHandler); });
    folder_.emplace();
    QVERIFY(folder_->isValid());
    std::vector<std::pair<QString, QByteArray>> examples;
    for (const QFileInfo& f : QDir(QStringLiteral(KJ_EXAMPLES_DIR)).entryInfoList({QStringLiteral("*.txt")}, QDir::Files)) {
        QFile src(f.filePath());
        QVERIFY(src.open(QIODevice::ReadOnly));
        folder_->write(f.fileName(), src.readAll());
        if (f.fileName().startsWith(QLatin1String("KJ-")) || f.fileName().startsWith(QLatin1String("CB-")))
            examples.emplace_back(f.fileName(), folder_->bytes(f.fileName()));
    }
    QVERIFY(examples.size() >= 3);
    QVERIFY(folder_->makeFolder(QStringLiteral("zemowj3.txt"))); // a report that cannot be written
    QGuiApplication::clipboard()->setMimeData(new QMimeData); // what a clipboard nobody owns holds

    Form1 main;
    main_ = &main;
    main.startProgram = [](const QString&) { return false; };
    main.chooseFolder = [](const QString&) { return QString(); }; // no folder dialog waiting for a person
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    const std::vector<QWidget*> windows{&main, main.form2(), main.form3(), main.form4(), main.form5(),
                                        main.formCases()};
    std::vector<QAbstractButton*> buttons;
    for (QWidget* w : windows) {
        kjtest::catchMessages(*static_cast<kjw::FormBase*>(w), messages_); // the input boxes stay real
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
            // Buttons are pressed with the mouse, each press checked on its own:
            // typing never lands on one. 退出程序 would end the test.
            b->setFocusPolicy(Qt::NoFocus);
            if (b != main.Command3) buttons.push_back(b);
        }
    }
    QVERIFY(buttons.size() > 60);
    QTimer answering;
    connect(&answering, &QTimer::timeout, this, &FormMonkeyTest::answerOpenBox);
    answering.start(5);

    // Texts an engineer might type, by mistake or on purpose.
    const QStringList texts{
        QString(), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
        QStringLiteral("4"), QStringLiteral("9"), QStringLiteral("-1"), QStringLiteral("2.5"), QStringLiteral("25"),
        QStringLiteral("0.85"), QStringLiteral("1e999"), QStringLiteral("-1e308"), QStringLiteral("zd"),
        QStringLiteral("abc"), QStringLiteral("梁"), QStringLiteral("\"a,b\""), QStringLiteral(",,,"),
        QStringLiteral("1 20.0"), QStringLiteral("2    02.00   50P"),
        QStringLiteral("5 10.01.00 10.01.00 10.01.00 10.01.00 10.01.00A"), QStringLiteral("20103 50.0   0.0"),
        QStringLiteral("\\KJ-2.txt"), QStringLiteral("\\kj-1.TXT"), QStringLiteral("\\no-such.txt"),
        QStringLiteral("\\"), QStringLiteral("sub\\..\\KJ-1.txt"), QStringLiteral("6.003.60"), QStringLiteral(".25.50"),
        QStringLiteral("line one\nline two"), QString(120, QLatin1Char('9'))};
    // What the calculation's controls usually hold, and now and then not.
    const std::vector<std::pair<QWidget*, QStringList>> settings{
        {main.Combo1->lineEdit(), {"\\zemowj1.txt", "\\zemowj1.txt", "\\zemowj1.txt", "\\zemowj1.txt", "\\zemowj1.txt",
                                  "\\zemowj1.txt", "\\zemowj2.txt", "\\zemowj2.txt", "\\zemowj2.txt", "\\zemowj2.txt",
                                  "\\zemowj3.txt", "\\kj-1.TXT", "\\LPJ-1.TXT"}},
        {main.Combo21->lineEdit(), {"0", "1"}},
        {main.Combo22->lineEdit(), {"0.75", "0.85", "1.00", "1.00"}},
        {main.Combo19->lineEdit(), {"25", "30", "35"}},
        {main.Text78, {"2", "3"}}, {main.Text79, {"zd", "zd", "16", "20", "25", "7"}},
        {main.Text80, {"2", "4", "0"}}, {main.Text81, {"zd", "zd", "18", "22"}},
        {main.Text82, {"2", "2", "4", "1"}}, {main.Text83, {"6", "6", "8", "10", "abc"}},
        {main.Combo39->lineEdit(), {"原方法", "原方法", "原方法", "GB50010-2010"}},
        {main.Combo40->lineEdit(), {"270", "270", "270", "360"}},
        {main.Combo41->lineEdit(), {"一类", "一类", "一类", "二a", "二b"}}};

    QString fault;
    for (int step = 0; step < steps; ++step) {
        const unsigned kind = random_() % 100;
        std::vector<QWidget*> shown;
        for (QWidget* w : windows)
            if (w->isVisible()) shown.push_back(w);
        QWidget* window = pick(shown);
        bool ok = true;
        if (kind < 45) { // click into a box, type, and maybe a key after it
            std::vector<QWidget*> boxes;
            for (QWidget* b : window->findChildren<QWidget*>())
                if ((qobject_cast<QLineEdit*>(b) || qobject_cast<QPlainTextEdit*>(b)) && b->isVisible()) boxes.push_back(b);
            if (boxes.empty()) continue;
            const int shownBefore = static_cast<int>(messages_.size());
            typeInto(pick(boxes), pick(texts), chance(70));
            if (chance(50)) pressKey(focusedIn(window) ? focusedIn(window) : window, static_cast<int>(random_() % 9));
            if (messages_.size() != shownBefore) ok = false, fault = QStringLiteral("typing ran an operation");
        } else if (kind < 55) { // a key where the focus is
            QWidget* target = focusedIn(window);
            pressKey(target ? target : window, static_cast<int>(random_() % 9));
        } else if (kind < 80) { // a button of an open window
            std::vector<QWidget*> candidates;
            for (QAbstractButton* b : buttons)
                if (b->isVisible()) candidates.push_back(b);
            auto* button = static_cast<QAbstractButton*>(pick(candidates));
            ok = button == main.Command4 ? calculate(chance(70) ? "y" : pick(QStringList{"n", "", "Y", "<Esc>"}), fault)
                                         : pressButton(button, fault);
        } else { // an example frame, a little changed, through the calculation
            const auto& [name, bytes] = examples[random_() % examples.size()];
            folder_->write(name, mutate(bytes, random_));
            typeInto(main.Combo3->lineEdit(), chance(95) ? QLatin1Char('\\') + name : pick(texts));
            for (const auto& [box, values] : settings)
                if (chance(90)) typeInto(box, pick(values));
            ok = calculate(chance(92) ? "y" : pick(QStringList{"n", "", "Y", "<Esc>"}), fault);
        }
        QVERIFY2(ok, qPrintable(QStringLiteral("step %1 (seed %2): %3").arg(step).arg(seed).arg(fault)));
        QVERIFY2(strayBoxes_ == 0, qPrintable(QStringLiteral("step %1: a box waited for a person").arg(step)));
    }
    std::printf("monkey (seed %u): %d steps, %d keys, %d presses, %d input boxes answered; "
                "%d calculations, %d reached analysis and design, %d completed; %d failures checked\n",
                seed, steps, keys_, presses_, calcBoxes_ + otherBoxes_, calculations_, reachedDesign_, completed_,
                failuresChecked_);
    QVERIFY(calculations_ > steps / 10);
    // Many runs reach the design; a frame mutated into impossible materials or
    // sizes is refused before it.
    QVERIFY(reachedDesign_ * 5 > calculations_ * 2);
    QVERIFY(completed_ > 0);
    QVERIFY(failuresChecked_ > steps / 20);

    // Still usable: a clean example frame, typed in and answered by keys, gives its forces.
    const auto kj2 = std::find_if(examples.begin(), examples.end(), [](const auto& e) { return e.first == "KJ-2.txt"; });
    QVERIFY(kj2 != examples.end());
    folder_->write(QStringLiteral("clean.txt"), kj2->second);
    typeInto(main.Combo3->lineEdit(), QStringLiteral("\\clean.txt"));
    for (const auto& [box, values] : settings) typeInto(box, values.front());
    typeInto(main.Combo22->lineEdit(), QStringLiteral("1.00"));
    const int done = completed_;
    QVERIFY2(calculate(QStringLiteral("y"), fault), qPrintable(fault));
    QCOMPARE(completed_, done + 1);
    QVERIFY(main.Text3->toPlainText().startsWith(QStringLiteral("-36,67,39,55,-65\n")));
}

QTEST_MAIN(FormMonkeyTest)
#include "form_monkey_test.moc"
