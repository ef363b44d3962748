// The frame editor "框架编辑" driven offscreen: a frame typed into its
// tables is saved, reopened and saved again to the same bytes; a bad length
// is marked at once and refused by 计算; undo restores the file byte for
// byte; a data file imported and exported calculates to the same results;
// the drawing selects the member clicked; the main window's button covers
// no control.
#include "calc/data_file_calculation.h"
#include "calc/report.h"
#include "editor/editor_form.h"
#include "graphics/graphics_form.h"
#include "cases/form_cases.h"
#include "main/form1.h"
#include "main/form3.h"
#include "members/form4.h"
#include "viewers/form2.h"
#include "viewers/form5.h"
#include "main/report_view.h"
#include "window_test_support.h"

#include <QStandardPaths>
#include <QtTest>

#include <memory>
#include <optional>

using namespace kjtest;

class FormEditorTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void typedFrameIsSavedReopenedAndSavedToTheSameBytes();
    void badLengthIsMarkedAtOnceAndTheCalculationRefused();
    void undoRestoresTheFileByteForByte();
    void importedDataFileExportsToOneThatCalculatesTheSame();
    void spansAndStoreysCopyTheirNeighbourAndDeletingAsksFirst();
    void clickingAMemberSelectsItsRowAndCalculationOpensTheWindows();
    void buttonInTheMainWindowCoversNoControl();
    void everyButtonOfEveryWindowHasATipAndEveryWindowFits();
    void seismicChoicesAreProjectEditsAndABadFactorIsMarked();
    void liveLoadSettingsAreProjectEdits();
    void numbersAndSizesAreCheckedAsTheyAreTyped();
    void newProjectAddLoadAndExportNamesWhatTheDataFileLeavesOut();

private:
    // Types text into a cell as the engineer does, committing it.
    void type(QTableWidget* t, int row, int column, const QString& text) { t->item(row, column)->setText(text); }
    void copyExample(const char* name);

    std::optional<WorkingFolder> folder_;
    std::unique_ptr<EditorForm> editor_;
    QStringList messages_, chosen_, questions_;
    bool answer_ = true;
};

void FormEditorTest::init()
{
    folder_.emplace();
    QVERIFY(folder_->isValid());
    messages_.clear();
    chosen_.clear();
    questions_.clear();
    editor_ = std::make_unique<EditorForm>();
    catchMessages(*editor_, messages_);
    editor_->chooseFile = [this](const QString&, const QString&, bool, const QString&) {
        return chosen_.isEmpty() ? QString() : chosen_.takeFirst();
    };
    editor_->ask = [this](const QString& q) {
        questions_ << q;
        return answer_;
    };
    editor_->askUnsaved = [this](const QString& q) {
        questions_ << q;
        return 1;
    };
}

void FormEditorTest::cleanup()
{
    editor_.reset();
    folder_.reset();
}

void FormEditorTest::copyExample(const char* name)
{
    QFile src(QStringLiteral(KJ_EXAMPLES_DIR "/") + QLatin1String(name));
    QVERIFY(src.open(QIODevice::ReadOnly));
    folder_->write(QLatin1String(name), src.readAll());
}

void FormEditorTest::typedFrameIsSavedReopenedAndSavedToTheSameBytes()
{
    EditorForm& e = *editor_;
    QVERIFY(!e.isWindowModified());
    e.TableSpans->setCurrentCell(0, 0);
    press(e.CommandAddSpan);
    type(e.TableSpans, 1, 0, QStringLiteral("4.5"));
    e.TableMembers->setCurrentCell(0, 3); // the beam of span 2
    press(e.CommandAddLoad);
    QCOMPARE(e.TableLoads->rowCount(), 1);
    type(e.TableLoads, 0, 3, QStringLiteral("20"));
    QVERIFY(e.isWindowModified());
    QVERIFY(e.windowTitle().contains(QStringLiteral("未命名")));

    const QString path = folder_->path(QStringLiteral("两跨.kjpj"));
    chosen_ << path;
    press(e.CommandSave);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QVERIFY(!e.isWindowModified());
    QVERIFY(e.windowTitle().contains(QStringLiteral("两跨.kjpj")));
    const QByteArray saved = folder_->bytes(QStringLiteral("两跨.kjpj"));
    QVERIFY(saved.contains("\"spans\": [6, 4.5]"));
    QVERIFY(saved.contains("\"storeys\": [3.6]"));
    QVERIFY(saved.contains("\"beamLoads\": [[[], [{\"q\": 20}]]]"));
    QVERIFY(saved.contains("\"columns\": [[\"KZ1\", \"KZ1\", \"KZ1\"]]"));
    QVERIFY(e.recentFiles().contains(QFileInfo(path).absoluteFilePath()));

    EditorForm again;
    catchMessages(again, messages_);
    QVERIFY(again.openFile(path));
    QCOMPARE(again.TableLoads->item(0, 3)->text(), QStringLiteral("20"));
    QCOMPARE(again.TableLoads->item(0, 4)->text(), QStringLiteral("kN/m"));
    QVERIFY(again.saveTo(folder_->path(QStringLiteral("again.kjpj"))));
    QCOMPARE(folder_->bytes(QStringLiteral("again.kjpj")), saved);
    // Saving over a file keeps the one replaced.
    type(again.TableStoreys, 0, 0, QStringLiteral("4.2"));
    QVERIFY(again.saveTo(folder_->path(QStringLiteral("again.kjpj"))));
    QCOMPARE(folder_->bytes(QStringLiteral("again.kjpj.bak")), saved);
}

void FormEditorTest::badLengthIsMarkedAtOnceAndTheCalculationRefused()
{
    EditorForm& e = *editor_;
    type(e.TableSpans, 0, 0, QStringLiteral("6.0")); // six, not a four-character field
    QCOMPARE(e.project().spans, std::vector<double>{6.0});
    QVERIFY(!e.hasMarks());

    type(e.TableSpans, 0, 0, QStringLiteral("0"));
    QVERIFY(e.isMarked(e.TableSpans, 0, 0));
    QCOMPARE(e.StatusLine->text(), QStringLiteral("第 1 跨的跨度: spans[0] 应大于 0 m, 实为 0"));
    QCOMPARE(e.TableSpans->item(0, 0)->text(), QStringLiteral("0")); // kept as typed
    QCOMPARE(e.project().spans, std::vector<double>{6.0});
    type(e.TableStoreys, 0, 0, QStringLiteral("3,6"));
    QVERIFY(e.isMarked(e.TableStoreys, 0, 0));
    QCOMPARE(e.StatusLine->text(), QStringLiteral("第 1 层的层高: 不是数值: \"3,6\"; 请用小数点, 单位已在表头 (只填半角数字)"));
    // A load beyond its span is refused by the project's own check.
    press(e.CommandAddLoad);
    type(e.TableLoads, 0, 2, QStringLiteral("集中"));
    type(e.TableLoads, 0, 5, QStringLiteral("6.5"));
    QVERIFY(e.isMarked(e.TableLoads, 0, 5));
    QVERIFY(e.StatusLine->text().endsWith(QStringLiteral("cases.G.beamLoads[0][0][0].x 超出跨度 6.00 m (实为 6.5 m)")));

    press(e.CommandAddSpan); // the shape waits until the marks are mended
    QCOMPARE(e.project().L(), 1);
    QVERIFY(e.StatusLine->text().startsWith(QStringLiteral("请先改正标出的 3 处输入")));
    press(e.CommandCalc);
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].startsWith(QStringLiteral("有 3 处输入有误, 不能计算:")), qPrintable(messages_[0]));
    QCOMPARE(folder_->entries(QDir::Files), QStringList());
    press(e.CommandSave);
    QCOMPARE(folder_->entries(QDir::Files), QStringList());

    // Mended (or, for the storey, taken back by 撤销), the marks go and the calculation runs.
    type(e.TableSpans, 0, 0, QStringLiteral("6"));
    type(e.TableLoads, 0, 5, QStringLiteral("3"));
    const std::string before = kj::projectJson(e.project());
    press(e.CommandUndo);
    QCOMPARE(e.TableStoreys->item(0, 0)->text(), QStringLiteral("3.6"));
    QCOMPARE(kj::projectJson(e.project()), before);
    QVERIFY(!e.hasMarks());
    messages_.clear();
    press(e.CommandCalc);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QVERIFY(folder_->entries(QDir::Files).contains(QStringLiteral("未命名-计算书.txt")));
}

void FormEditorTest::undoRestoresTheFileByteForByte()
{
    copyExample("KJ-2.txt");
    EditorForm& e = *editor_;
    QVERIFY(e.openFile(folder_->path(QStringLiteral("KJ-2.txt"))));
    QVERIFY(e.saveTo(folder_->path(QStringLiteral("KJ-2.kjpj"))));
    const QByteArray original = folder_->bytes(QStringLiteral("KJ-2.kjpj"));

    type(e.TableSpans, 1, 0, QStringLiteral("5.1"));
    e.TableStoreys->setCurrentCell(0, 0);
    press(e.CommandAddStorey);
    e.TableMembers->setCurrentCell(0, 1);
    e.ComboSection->setCurrentIndex(0);
    press(e.CommandAssign);
    e.ComboCase->setCurrentIndex(1); // Q, not yet in the project
    press(e.CommandAddFloor);
    type(e.TableFloors, 0, 1, QStringLiteral("12"));
    type(e.TableFloors, 0, 2, QStringLiteral("←"));
    QCOMPARE(e.project().findCase(kj::LoadCaseKind::Q)->floorForces.at(0).H, -12.0);
    e.TextBeta->setText(QStringLiteral("0.85"));
    emit e.TextBeta->editingFinished();
    QCOMPARE(e.project().design.beta, std::string("0.85"));
    QVERIFY(e.saveTo(folder_->path(QStringLiteral("edited.kjpj"))));
    const QByteArray edited = folder_->bytes(QStringLiteral("edited.kjpj"));
    QVERIFY(edited != original);

    while (e.undoStack()->canUndo()) e.undoStack()->undo();
    QVERIFY(e.saveTo(folder_->path(QStringLiteral("undone.kjpj"))));
    QCOMPARE(folder_->bytes(QStringLiteral("undone.kjpj")), original);
    while (e.undoStack()->canRedo()) e.undoStack()->redo();
    QVERIFY(e.saveTo(folder_->path(QStringLiteral("redone.kjpj"))));
    QCOMPARE(folder_->bytes(QStringLiteral("redone.kjpj")), edited);
}

void FormEditorTest::importedDataFileExportsToOneThatCalculatesTheSame()
{
    copyExample("KJ-2.txt");
    EditorForm& e = *editor_;
    QVERIFY(e.openFile(folder_->path(QStringLiteral("KJ-2.txt"))));
    QVERIFY(e.isWindowModified()); // imported, not yet a project file
    chosen_ << folder_->path(QStringLiteral("out.txt"));
    press(e.CommandExport);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    const kj::FileCalculation a = kj::calculateDataFile(folder_->path(QStringLiteral("KJ-2.txt")).toStdString(), "KJ-2.txt", {});
    const kj::FileCalculation b = kj::calculateDataFile(folder_->path(QStringLiteral("out.txt")).toStdString(), "out.txt", {});
    const kj::InternalForces &fa = a.calculation.forces, &fb = b.calculation.forces;
    QCOMPARE(fb.M1.size(), fa.M1.size());
    for (std::size_t i = 1; i < fa.M1.size(); ++i) {
        QVERIFY(std::abs(fa.M1[i] - fb.M1[i]) < 1e-9);
        QVERIFY(std::abs(fa.M2[i] - fb.M2[i]) < 1e-9);
    }
    for (std::size_t i = 1; i < fa.N.size(); ++i) QVERIFY(std::abs(fa.N[i] - fb.N[i]) < 1e-9);
    QCOMPARE(kj::beamBarsText(b.calculation), kj::beamBarsText(a.calculation));
    QCOMPARE(kj::forceDiagramText(b.calculation), kj::forceDiagramText(a.calculation));

    // A frame the data file cannot hold says why and writes nothing.
    press(e.CommandNew);
    QCOMPARE(questions_.size(), 1); // the imported frame was not saved
    e.TableSpans->setCurrentCell(0, 0);
    for (int k = 0; k < 9; ++k) press(e.CommandAddSpan);
    for (int k = 0; k < 5; ++k) type(e.TableSpans, k, 0, QString::number(3.0 + 0.3 * k));
    for (int k = 0; k < 4; ++k) type(e.TableSpans, 5 + k, 0, QString::number(5.0 + 0.1 * k));
    chosen_ << folder_->path(QStringLiteral("big.txt"));
    press(e.CommandExport);
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].contains(QStringLiteral("跨度和层高共有 9 种以上")), qPrintable(messages_[0]));
    QVERIFY(!folder_->entries(QDir::Files).contains(QStringLiteral("big.txt")));
}

void FormEditorTest::spansAndStoreysCopyTheirNeighbourAndDeletingAsksFirst()
{
    copyExample("KJ-2.txt");
    EditorForm& e = *editor_;
    QVERIFY(e.openFile(folder_->path(QStringLiteral("KJ-2.txt"))));
    e.TableSpans->setCurrentCell(1, 0);
    press(e.CommandAddSpan);
    const kj::Project& p = e.project();
    QCOMPARE(p.spans, (std::vector<double>{6, 4.5, 4.5, 6}));
    QCOMPARE(p.beams[1][2], p.beams[1][1]);
    QCOMPARE(p.cases[0].beamLoads[1][2].size(), p.cases[0].beamLoads[1][1].size());
    QCOMPARE(p.cases[0].jointLoads[1].line, 5); // the right-hand joint moved with its line
    e.TableStoreys->setCurrentCell(0, 0);
    press(e.CommandAddStorey);
    QCOMPARE(e.project().storeys, (std::vector<double>{3.9, 3.9, 3.6}));
    QCOMPARE(e.project().cases[0].jointLoads[0].level, 3);

    answer_ = false;
    e.TableSpans->setCurrentCell(0, 0);
    press(e.CommandDeleteSpan);
    QCOMPARE(questions_.size(), 1);
    QCOMPARE(e.project().L(), 4);
    answer_ = true;
    press(e.CommandDeleteSpan);
    QCOMPARE(e.project().spans, (std::vector<double>{4.5, 4.5, 6}));
    press(e.CommandDeleteStorey);
    QCOMPARE(questions_.size(), 3);
    QCOMPARE(e.project().NF(), 2);
}

void FormEditorTest::clickingAMemberSelectsItsRowAndCalculationOpensTheWindows()
{
    copyExample("KJ-2.txt");
    EditorForm& e = *editor_;
    QVERIFY(e.openFile(folder_->path(QStringLiteral("KJ-2.txt"))));
    QVERIFY(e.saveTo(folder_->path(QStringLiteral("KJ-2.kjpj"))));
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    e.View1->repaint();
    // Beam 2: the top storey's middle span; then with Ctrl the column under its left end.
    const auto [a, b] = e.View1->memberEnds(2);
    QTest::mouseClick(e.View1, Qt::LeftButton, {}, ((a + b) / 2).toPoint());
    QCOMPARE(e.TableMembers->selectedItems().size(), 1);
    QCOMPARE(e.TableMembers->selectedItems()[0]->row(), 0);
    QCOMPARE(e.TableMembers->selectedItems()[0]->column(), 3);
    QCOMPARE(e.TableLoads->currentRow(), 8); // its load: after the seven of the ground storey and one of span 1
    const auto [c, d] = e.View1->memberEnds(e.View1->result()->topo().NB + 2);
    QTest::mouseClick(e.View1, Qt::LeftButton, Qt::ControlModifier, ((c + d) / 2).toPoint());
    QCOMPARE(e.TableMembers->selectedItems().size(), 2);
    QCOMPARE(e.View1->selected(), (std::vector<int>{2, e.View1->result()->topo().NB + 2}));

    e.CheckJson->setChecked(true);
    press(e.CommandCalc);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QVERIFY(e.reportView() && e.reportView()->isVisible());
    QVERIFY(e.reportView()->Text1->toPlainText().contains(QStringLiteral("项目文件")));
    QVERIFY(e.graphicsForm() && e.graphicsForm()->calculation());
    QCOMPARE(e.graphicsForm()->calculation()->calculation.beams.size(), std::size_t(7));
    QVERIFY(folder_->entries(QDir::Files).contains(QStringLiteral("KJ-2-计算书.txt")));
    QVERIFY(folder_->entries(QDir::Files).contains(QStringLiteral("KJ-2.json")));
}

void FormEditorTest::buttonInTheMainWindowCoversNoControl()
{
    Form1 f;
    QWidget* added = f.Command42;
    QVERIFY(f.rect().contains(added->geometry()));
    for (QWidget* other : f.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (other != added && !other->isWindow())
            QVERIFY2(!added->geometry().intersects(other->geometry()),
                     qPrintable(added->objectName() + " covers " + other->objectName()));
    QCOMPARE(f.Command42->text(), QStringLiteral("框架编辑器"));
    press(f.Command42);
    EditorForm* e = f.editorForm();
    QVERIFY(e->isVisible());
    QVERIFY(e->windowTitle().startsWith(QStringLiteral("框架编辑")));
    // Leaving the program asks about the editor's unsaved changes; cancelled, nothing is lost.
    type(e->TableSpans, 0, 0, QStringLiteral("7.5"));
    QStringList asked;
    e->askUnsaved = [&asked](const QString& q) {
        asked << q;
        return 2;
    };
    press(f.Command3);
    QCOMPARE(asked, QStringList{QStringLiteral("未命名 有未保存的修改。先保存吗?")});
    QVERIFY(!f.close());
    QCOMPARE(e->project().spans, std::vector<double>{7.5});
}

void FormEditorTest::everyButtonOfEveryWindowHasATipAndEveryWindowFits()
{
    Form1 f;
    const QList<QWidget*> windows{&f, f.form2(), f.form3(), f.form4(), f.form5(), f.formCases(), f.graphicsForm(),
                                  f.editorForm(), f.reportView()};
    // A 1366 x 768 screen less a panel and the caption.
    const QSize screen(1366, 768 - 48);
    for (QWidget* w : windows) {
        for (QPushButton* b : w->findChildren<QPushButton*>())
            if (b->window() == w)
                QVERIFY2(!b->toolTip().isEmpty(), qPrintable(w->objectName() + "." + b->objectName() + " " + b->text()));
        const QSize least = w->minimumSize().expandedTo(w->minimumSizeHint());
        QVERIFY2(least.width() <= screen.width() && least.height() <= screen.height(),
                 qPrintable(w->objectName() + QStringLiteral(" needs %1 x %2").arg(least.width()).arg(least.height())));
        if (w->minimumSize() == w->maximumSize()) // a window of fixed size
            QVERIFY2(w->width() <= screen.width() && w->height() <= screen.height(), qPrintable(w->objectName()));
    }
}

void FormEditorTest::seismicChoicesAreProjectEditsAndABadFactorIsMarked()
{
    EditorForm& e = *editor_;
    QVERIFY(e.ComboSeismic->currentText() == QStringLiteral("无") && !e.ComboSite->isEnabled());
    const int edits = e.undoStack()->count();
    e.ComboSeismic->setCurrentIndex(5);
    emit e.ComboSeismic->activated(5);
    QCOMPARE(e.undoStack()->count(), edits + 1);
    e.ComboSeismicGrade->setCurrentIndex(3);
    emit e.ComboSeismicGrade->activated(3);
    // ψT above 1: marked, the status line says why, the project keeps its own.
    e.TextPeriodFactor->setText(QStringLiteral("1.2"));
    emit e.TextPeriodFactor->editingFinished();
    QVERIFY(e.isMarked(e.TextPeriodFactor));
    QVERIFY2(e.StatusLine->text().contains(QStringLiteral("周期折减系数 ψT 应大于 0 且不大于 1")), qPrintable(e.firstMark()));
    e.TextPeriodFactor->setText(QStringLiteral("0.8"));
    emit e.TextPeriodFactor->editingFinished();
    QVERIFY(!e.hasMarks() && e.saveTo(folder_->path(QStringLiteral("s.kjpj"))));
    const kj::SeismicTexts saved = kj::parseProject(folder_->bytes(QStringLiteral("s.kjpj")).toStdString(), "s").seismic;
    QVERIFY(saved.intensity == "8.5" && saved.site == "II" && saved.group == "1" && saved.grade == "3" && saved.psiT == "0.8");
    // The corner columns: one edit, saved as cornerColumns, undone in one step.
    QVERIFY(e.CheckCornerColumns->isEnabled() && !e.CheckCornerColumns->isChecked());
    const int before = e.undoStack()->count();
    e.CheckCornerColumns->click();
    QCOMPARE(e.undoStack()->count(), before + 1);
    QVERIFY(e.saveTo(folder_->path(QStringLiteral("c.kjpj"))));
    QVERIFY(folder_->bytes(QStringLiteral("c.kjpj")).contains("\"cornerColumns\": true"));
    QVERIFY(kj::parseProject(folder_->bytes(QStringLiteral("c.kjpj")).toStdString(), "c").seismic.cornerColumns);
    e.undoStack()->undo();
    QVERIFY(!e.project().seismic.cornerColumns && !e.CheckCornerColumns->isChecked());
    // The default method: the core's refusal reaches the engineer.
    e.ComboCode->setCurrentIndex(0);
    emit e.ComboCode->activated(0);
    press(e.CommandCalc);
    QVERIFY(!messages_.isEmpty() && messages_.last().contains(QStringLiteral("设计规范为原方法时不能进行抗震计算")));
    // "无" takes the group away; undo brings it back.
    e.ComboSeismic->setCurrentIndex(0);
    emit e.ComboSeismic->activated(0);
    QVERIFY(e.project().seismic.intensity.empty() && !e.TextPeriodFactor->isEnabled());
    e.undoStack()->undo();
    QCOMPARE(e.ComboSeismic->currentIndex(), 5);
}

void FormEditorTest::liveLoadSettingsAreProjectEdits()
{
    EditorForm& e = *editor_;
    // Without combinations (G alone) there is nothing to pattern or factor.
    QVERIFY(!e.CheckPatterns->isEnabled() && !e.ComboGammaL->isEnabled());
    e.ComboCombinationSet->setCurrentIndex(1);
    emit e.ComboCombinationSet->activated(1);
    QVERIFY(e.CheckPatterns->isEnabled() && e.ComboGammaL->isEnabled() && e.ComboPsiC->isEnabled());
    const int edits = e.undoStack()->count();
    e.CheckPatterns->click();
    e.ComboGammaL->setCurrentIndex(1);
    emit e.ComboGammaL->activated(1);
    e.ComboPsiC->setCurrentIndex(1);
    emit e.ComboPsiC->activated(1);
    QCOMPARE(e.undoStack()->count(), edits + 3);
    QVERIFY(e.project().liveLoadPatterns && e.project().gammaL == 1.1 && e.project().psiC == 0.9);
    // An own list takes the factors into its rows: γL and ψc back to 1.0 and 0.7.
    e.ComboCombinationSet->setCurrentIndex(3);
    emit e.ComboCombinationSet->activated(3);
    QVERIFY2(!e.hasMarks(), qPrintable(e.firstMark()));
    QVERIFY(e.project().gammaL == 1.0 && e.project().psiC == 0.7 && !e.ComboGammaL->isEnabled());
    QVERIFY(e.project().liveLoadPatterns && e.CheckPatterns->isEnabled());
}

void FormEditorTest::numbersAndSizesAreCheckedAsTheyAreTyped()
{
    EditorForm& e = *editor_;
    e.show();
    // Typed key by key into the cell's editor: the comma stays, the cell is
    // red and the status line says why; nothing reads "2,7" as 27.
    const auto typeKeys = [&](QTableWidget* t, int row, int column, const QString& keys) {
        t->setCurrentCell(row, column);
        t->editItem(t->item(row, column));
        auto* line = t->viewport()->findChild<QLineEdit*>();
        if (!line) return QString();
        line->selectAll();
        QTest::keyClicks(line, keys);
        const QString seen = line->text() + QLatin1Char('|') + line->styleSheet();
        QTest::keyClick(line, Qt::Key_Escape); // left without committing
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return seen;
    };
    QCOMPARE(typeKeys(e.TableSpans, 0, 0, QStringLiteral("2,7")), QStringLiteral("2,7|background:#f8c8c8"));
    QVERIFY2(e.StatusLine->text().endsWith(QStringLiteral("请用小数点, 单位已在表头 (只填半角数字)")),
             qPrintable(e.StatusLine->text()));
    for (const QString& typed : {QStringLiteral("2,7"), QStringLiteral("６.６"), QStringLiteral("6.6m")}) {
        type(e.TableSpans, 0, 0, typed);
        QVERIFY(e.isMarked(e.TableSpans, 0, 0));
        QCOMPARE(e.StatusLine->text(), QStringLiteral("第 1 跨的跨度: 不是数值: \"%1\"; 请用小数点, 单位已在表头 (只填半角数字)").arg(typed));
        QCOMPARE(e.project().spans, std::vector<double>{6.0});
    }
    type(e.TableSpans, 0, 0, QStringLiteral("6.6"));
    QVERIFY(!e.hasMarks() && e.project().spans == std::vector<double>{6.6});
    // A beam 65 mm deep is refused while typed, as the calculation refuses it;
    // a prop 40 mm wide is taken.
    QCOMPARE(typeKeys(e.TableSections, 0, 2, QStringLiteral("65")), QStringLiteral("65|background:#f8c8c8"));
    QCOMPARE(e.StatusLine->text(),
             QStringLiteral("截面表第 1 行: 第 1 号梁的截面高度 h 为 65 mm, 超出范围: 应在 100 mm 至 3000 mm 之间"));
    type(e.TableSections, 1, 1, QStringLiteral("40"));
    QVERIFY2(!e.hasMarks() && e.project().sections[1].b == 40, qPrintable(e.firstMark()));
    QCOMPARE(e.StatusLine->text(), QStringLiteral("截面表第 2 行: 宽度小于 51 mm, 用此截面的构件只计算内力, 不配筋"));
    // A box too: the cover typed with its unit is marked as it is typed.
    e.TextCover->clear();
    QTest::keyClicks(e.TextCover, QStringLiteral("25mm"));
    QCOMPARE(e.TextCover->styleSheet(), QStringLiteral("background:#f8c8c8"));
    QCOMPARE(e.project().design.cover, std::string("25"));
}

void FormEditorTest::newProjectAddLoadAndExportNamesWhatTheDataFileLeavesOut()
{
    EditorForm& e = *editor_;
    QCOMPARE(e.project().design.code, std::string("GB50010-2010"));
    QVERIFY(e.ComboEnvironment->isEnabled());
    e.ComboEnvironment->setCurrentIndex(1);
    emit e.ComboEnvironment->activated(1);
    QCOMPARE(e.project().design.environment, std::string("2a"));
    // 加荷载 copies the chosen row to every beam selected.
    e.TableSpans->setCurrentCell(0, 0);
    press(e.CommandAddSpan);
    e.TableMembers->setCurrentCell(0, 1);
    press(e.CommandAddLoad);
    type(e.TableLoads, 0, 3, QStringLiteral("25"));
    e.TableLoads->setCurrentCell(0, 3);
    e.TableMembers->clearSelection();
    e.TableMembers->item(0, 1)->setSelected(true);
    e.TableMembers->item(0, 3)->setSelected(true);
    press(e.CommandAddLoad);
    const auto& loads = e.project().findCase(kj::LoadCaseKind::G)->beamLoads[0];
    QCOMPARE(loads[0].size(), std::size_t{2});
    QCOMPARE(loads[1].size(), std::size_t{1});
    QVERIFY(loads[0][1].value == 25 && loads[1][0].value == 25);
    // The export names what the data file cannot hold; declined, nothing is written.
    answer_ = false;
    chosen_ << folder_->path(QStringLiteral("out.txt"));
    press(e.CommandExport);
    QCOMPARE(questions_.size(), 1);
    QVERIFY2(questions_[0].contains(QStringLiteral("设计规范 GB50010-2010")) &&
                 questions_[0].contains(QStringLiteral("环境类别 2a")),
             qPrintable(questions_[0]));
    QCOMPARE(folder_->entries(QDir::Files), QStringList());
    answer_ = true;
    press(e.CommandExport);
    QVERIFY(folder_->entries(QDir::Files).contains(QStringLiteral("out.txt")));
}

QTEST_MAIN(FormEditorTest)
#include "form_editor_test.moc"
