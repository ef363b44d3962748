// The graphics window "框架图形" driven offscreen: the main window's button
// covers no control; the window shows the main window's last calculation in
// every layer, zooms, pans and fits; exports, prints, opens a data file with
// the main window's settings and writes the calculation book; it says why
// when there is nothing to draw or a file cannot be read. A seismic project
// opened here offers the earthquake E and its combinations, draws the storey
// drifts against the limit and writes the batch command's book.
#include "calc/project.h"
#include "cases/form_cases.h"
#include "graphics/graphics_form.h"
#include "main/form1.h"
#include "window_test_support.h"

#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QWheelEvent>
#include <QtTest>

#include <memory>
#include <optional>

using namespace kjtest;

class FormGraphicsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void buttonCoversNoControlOfTheMainWindow();
    void withoutACalculationTheWindowSaysSo();
    void showsTheMainWindowsCalculationInEveryLayer();
    void wheelZoomsAboutThePointerDragPansAndFitRestores();
    void exportsPrintsAndWritesTheBook();
    void opensADataFileWithTheMainWindowsSettingsWritingNothing();
    void drawsTheEnvelopeEveryCaseAndEveryCombination();
    void aSeismicProjectShowsTheEarthquakeItsDriftsAndTheBatchBook();

private:
    GraphicsForm* calculateAndOpen(const char* example);

    std::optional<WorkingFolder> folder_;
    std::unique_ptr<Form1> main_;
    QStringList messages_;
    QStringList chosen_; // the file names the window's file box answers, in turn
};

void FormGraphicsTest::init()
{
    folder_.emplace();
    QVERIFY(folder_->isValid());
    messages_.clear();
    chosen_.clear();
    main_ = std::make_unique<Form1>();
    catchMessages(*main_, messages_);
    main_->inputBox = [](const QString&, const QString&, const QString&, std::optional<QPoint>) {
        return QStringLiteral("y");
    };
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
}

void FormGraphicsTest::cleanup()
{
    main_.reset();
    folder_.reset();
}

GraphicsForm* FormGraphicsTest::calculateAndOpen(const char* example)
{
    QFile src(QStringLiteral(KJ_EXAMPLES_DIR "/") + QLatin1String(example));
    if (!src.open(QIODevice::ReadOnly)) return nullptr;
    folder_->write(QLatin1String(example), src.readAll());
    main_->Combo3->setEditText(QStringLiteral("\\") + QLatin1String(example));
    press(main_->Command4);
    press(main_->Command41);
    GraphicsForm* g = main_->graphicsForm();
    // The size it opens at on a 1366 x 768 screen (the offscreen screen is smaller).
    g->resize(g->sizeHint().boundedTo(QSize(1366 - 16, 768 - 48)));
    catchMessages(*g, messages_, QStringLiteral("图形: "));
    g->chooseFile = [this](const QString&, const QString&, bool) {
        return chosen_.isEmpty() ? QString() : chosen_.takeFirst();
    };
    return g;
}

void FormGraphicsTest::buttonCoversNoControlOfTheMainWindow()
{
    QPushButton* b = main_->Command41;
    QCOMPARE(b->objectName(), QStringLiteral("Command41"));
    QCOMPARE(b->text(), QStringLiteral("图形结果"));
    QVERIFY(b->isVisible());
    QVERIFY(main_->rect().contains(b->geometry()));
    // Every other control, shown or hidden, including the boxes over the frame pictures.
    int others = 0;
    for (QWidget* w : main_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w == b) continue;
        ++others;
        QVERIFY2(!w->geometry().intersects(b->geometry()), qPrintable(w->objectName()));
    }
    QVERIFY(others > 100);
}

void FormGraphicsTest::withoutACalculationTheWindowSaysSo()
{
    QVERIFY(!main_->hasGraphicsForm());
    press(main_->Command41);
    QVERIFY(main_->hasGraphicsForm());
    GraphicsForm* g = main_->graphicsForm();
    catchMessages(*g, messages_);
    QVERIFY(g->isVisible());
    QCOMPARE(g->windowTitle(), QStringLiteral("框架图形"));
    QCOMPARE(g->Label1->text(), QStringLiteral("尚无计算结果"));
    QVERIFY(!g->View1->painter());
    g->chooseFile = [](const QString&, const QString&, bool) { return QStringLiteral("x.png"); };
    press(g->Command2);
    QCOMPARE(messages_, QStringList{QStringLiteral("导出 PNG未完成:\n尚无计算结果: 请先在主窗口计算, 或打开数据文件")});
    QVERIFY(!QFile::exists(folder_->path(QStringLiteral("x.png"))));
    // Resizable, unlike the fixed windows, and it hides to return.
    QVERIFY(g->minimumSize() != g->maximumSize());
    press(g->Command8);
    QVERIFY(!g->isVisible());
}

void FormGraphicsTest::showsTheMainWindowsCalculationInEveryLayer()
{
    GraphicsForm* g = calculateAndOpen("KJ-2.txt");
    QVERIFY(g);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(QLatin1Char('\n'))));
    QVERIFY(g->Label1->text().startsWith(QStringLiteral("KJ-2  (3 跨 2 层, 主窗口的计算, \\KJ-2.txt)")));
    QCOMPARE(g->Combo1->count(), 8);
    QCOMPARE(itemsOf(g->Combo1), (QStringList{QStringLiteral("计算简图"), QStringLiteral("荷载"), QStringLiteral("弯矩图"),
                                              QStringLiteral("剪力图"), QStringLiteral("轴力图"), QStringLiteral("变形图"),
                                              QStringLiteral("层间位移"), QStringLiteral("配筋图")}));
    for (int k = 0; k < g->Combo1->count(); ++k) {
        g->Combo1->setCurrentIndex(k);
        QCOMPARE(static_cast<int>(g->View1->layer()), k);
        const QImage shot = g->View1->grab().toImage();
        QVERIFY(g->View1->painter());
        QVERIFY(g->View1->painter()->labelRects().size() > 2); // the title, the legend and the values
        QCOMPARE(g->View1->painter()->skippedLabels(), 0);
        QVERIFY(!shot.isNull());
    }
    // A new calculation in the main window replaces what the open window shows.
    main_->Combo22->setEditText(QStringLiteral("0.80"));
    press(main_->Command4);
    QCOMPARE(g->calculation()->calculation.options.beta, 0.8);
    QCOMPARE(g->calculation(), main_->lastCalculation().get());
}

void FormGraphicsTest::wheelZoomsAboutThePointerDragPansAndFitRestores()
{
    GraphicsForm* g = calculateAndOpen("KJ-1.txt");
    QVERIFY(g);
    FrameView* v = g->View1;
    v->resize(800, 600);
    const QPointF at(200, 150);
    const QRectF before = v->drawingRect();
    const QPointF rel((at.x() - before.left()) / before.width(), (at.y() - before.top()) / before.height());
    QWheelEvent wheel(at, v->mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(v, &wheel);
    QVERIFY(qAbs(v->zoom() - 1.44) < 1e-9); // two notches of 1.2
    const QRectF after = v->drawingRect();
    // The point under the pointer stays under it.
    QVERIFY(qAbs(after.left() + rel.x() * after.width() - at.x()) < 1e-6);
    QVERIFY(qAbs(after.top() + rel.y() * after.height() - at.y()) < 1e-6);

    const QPointF pan = v->pan();
    QTest::mousePress(v, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
    QTest::mouseMove(v, QPoint(340, 280));
    QTest::mouseRelease(v, Qt::LeftButton, Qt::NoModifier, QPoint(340, 280));
    QCOMPARE(v->pan(), pan + QPointF(40, -20));

    press(g->Command1);
    QCOMPARE(v->zoom(), 1.0);
    QCOMPARE(v->pan(), QPointF());
}

void FormGraphicsTest::exportsPrintsAndWritesTheBook()
{
    GraphicsForm* g = calculateAndOpen("KJ-2.txt");
    QVERIFY(g);
    g->Combo1->setCurrentIndex(2); // 弯矩图
    chosen_ << folder_->path(QStringLiteral("m.png")) << folder_->path(QStringLiteral("m")) << folder_->path(QStringLiteral("m.pdf"))
            << folder_->path(QStringLiteral("book.pdf"));
    press(g->Command2);
    press(g->Command3); // no suffix typed: .svg is added
    press(g->Command4);
    press(g->Command7);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(QLatin1Char('\n'))));
    const QImage png(folder_->path(QStringLiteral("m.png")));
    QCOMPARE(png.size(), QSize(1600, 1100));
    const QByteArray svg = folder_->bytes(QStringLiteral("m.svg"));
    QVERIFY(svg.contains("<svg") && svg.contains("KJ-2 弯矩图"));
    QVERIFY(folder_->bytes(QStringLiteral("m.pdf")).startsWith("%PDF-"));
    QVERIFY(folder_->bytes(QStringLiteral("book.pdf")).startsWith("%PDF-"));
    QVERIFY(folder_->bytes(QStringLiteral("book.pdf")).size() > folder_->bytes(QStringLiteral("m.pdf")).size());

    // Printing goes to whatever printer the user chose: here a PDF file.
    g->choosePrinter = [this](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder_->path(QStringLiteral("printed.pdf")));
        return true;
    };
    press(g->Command5);
    QVERIFY(folder_->bytes(QStringLiteral("printed.pdf")).startsWith("%PDF-"));
    // Cancelled: nothing printed, nothing said.
    QFile::remove(folder_->path(QStringLiteral("printed.pdf")));
    g->choosePrinter = [](QPrinter&) { return false; };
    press(g->Command5);
    QVERIFY(!QFile::exists(folder_->path(QStringLiteral("printed.pdf"))));
    QVERIFY(messages_.isEmpty());
}

void FormGraphicsTest::opensADataFileWithTheMainWindowsSettingsWritingNothing()
{
    press(main_->Command41);
    GraphicsForm* g = main_->graphicsForm();
    catchMessages(*g, messages_);
    g->chooseFile = [this](const QString&, const QString&, bool) {
        return chosen_.isEmpty() ? QString() : chosen_.takeFirst();
    };
    QFile src(QStringLiteral(KJ_EXAMPLES_DIR "/KJ-3.txt"));
    QVERIFY(src.open(QIODevice::ReadOnly));
    folder_->write(QStringLiteral("frame.txt"), src.readAll());
    folder_->write(QStringLiteral("broken.txt"), "KJ-X,2,1\r\n");
    main_->Combo22->setEditText(QStringLiteral("0.85"));
    main_->Combo19->setEditText(QStringLiteral("30"));

    chosen_ << folder_->path(QStringLiteral("frame.txt"));
    press(g->Command6);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(QLatin1Char('\n'))));
    const kj::FileCalculation* shown = g->calculation();
    QVERIFY(shown);
    QCOMPARE(shown->calculation.model.name, std::string("KJ-3"));
    QCOMPARE(shown->calculation.options.beta, 0.85);
    QCOMPARE(shown->calculation.options.cover, 30.0);
    QVERIFY(g->Label1->text().contains(QStringLiteral("frame.txt")));
    // Only the window's own view of it: no report, no result file.
    QCOMPARE(folder_->entries(QDir::Files), (QStringList{QStringLiteral("broken.txt"), QStringLiteral("frame.txt")}));

    // A file that cannot be read is named, and the frame shown stays.
    chosen_ << folder_->path(QStringLiteral("broken.txt"));
    press(g->Command6);
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_.front().startsWith(QStringLiteral("打开数据文件未完成:\n")));
    QVERIFY(messages_.front().contains(QStringLiteral("broken.txt")));
    QCOMPARE(g->calculation(), shown);
    // Cancelling the file box does nothing.
    press(g->Command6);
    QCOMPARE(messages_.size(), 1);
}

void FormGraphicsTest::drawsTheEnvelopeEveryCaseAndEveryCombination()
{
    for (const char* name : {"KJ-1.txt", "KJ-1Q.txt", "KJ-1W.txt"}) {
        QFile src(QStringLiteral(KJ_EXAMPLES_DIR "/") + QLatin1String(name));
        QVERIFY(src.open(QIODevice::ReadOnly));
        folder_->write(QLatin1String(name), src.readAll());
    }
    FormCases* c = main_->formCases();
    catchMessages(*c, messages_);
    press(c->Command1);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    GraphicsForm* g = main_->graphicsForm();
    // The size it opens at on a 1366 x 768 screen (the offscreen screen is smaller).
    g->resize(g->sizeHint().boundedTo(QSize(1366 - 16, 768 - 48)));
    catchMessages(*g, messages_, QStringLiteral("图形: "));
    QVERIFY(g->calculation() && g->calculation()->envelope);
    const kj::EnvelopeResult& e = *g->calculation()->envelope;
    QCOMPARE(g->Combo2->count(), static_cast<int>(1 + e.cases.size() + e.combinations.size()));
    QCOMPARE(g->Combo2->itemText(0), QStringLiteral("包络"));
    QCOMPARE(g->Combo2->itemText(2), QStringLiteral("Q 活载"));
    QVERIFY(g->Combo2->isVisibleTo(g));
    g->Combo1->setCurrentIndex(2); // 弯矩图
    QVERIFY(g->View1->grab().width() > 0);
    QVERIFY(g->View1->painter()->labelTexts().size() > 10);

    // The fifth combination: its own forces, its name in the title.
    const int row = 1 + static_cast<int>(e.cases.size()) + 4;
    g->Combo2->setCurrentIndex(row);
    g->View1->grab();
    const kj::CombinationResult& five = e.combinations[4];
    const std::vector<QString>& drawnTexts = g->View1->painter()->labelTexts();
    const QString title = drawnTexts[drawnTexts.size() - 2];
    QVERIFY2(title.contains(QStringLiteral("组合 ") + QString::fromStdString(five.combination.name)), qPrintable(title));
    const kj::MemberForces& a = five.forces.along[1];
    const QString left = QString::number(std::fabs(a.M(0)), 'f', 1);
    const std::vector<QString>& texts = g->View1->painter()->labelTexts();
    QVERIFY2(std::find(texts.begin(), texts.end(), left) != texts.end(), qPrintable(left));

    // Back to one calculation: the list goes.
    calculateAndOpen("KJ-1.txt");
    QVERIFY(!g->Combo2->isVisibleTo(g));
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
}

namespace {
QString pdfText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

void FormGraphicsTest::aSeismicProjectShowsTheEarthquakeItsDriftsAndTheBatchBook()
{
    // The portal of the seismic action's hand check: one 6 m span, one 3.6 m
    // storey, beam 250x500, columns 300x300, C30; 8 degrees, site I0, group 1:
    // drift 4.239 mm = h/849 (the roof's live load not in GE).
    const std::vector<kj::LoadCaseInput> cases{
        kj::readLoadCase(kj::LoadCaseKind::G, "P,1,1,1,0,\r\n6.003.60,12\r\n.25.50.30.30,122\r\n1 20.0\r\n20102 50.0   0.0\r\n360,30\r\n", "P.txt"),
        kj::readLoadCase(kj::LoadCaseKind::Q, "PQ,1,1,0,0,\r\n6.003.60,12\r\n.25.50.30.30,122\r\n1 10.0\r\n360,30\r\n", "PQ.txt")};
    kj::DesignSettings design;
    design.code = "2010";
    kj::Project project = kj::projectFromDataFiles(cases, design, std::string("GB55001"), {});
    project.seismic = {"8", "I0", "1", "", ""};
    project.title.project = "门架";
    folder_->write(QStringLiteral("P.kjpj"), QByteArray::fromStdString(kj::projectJson(project)));

    press(main_->Command41);
    GraphicsForm* g = main_->graphicsForm();
    g->resize(QSize(1366 - 16, 768 - 48));
    catchMessages(*g, messages_);
    g->chooseFile = [this](const QString&, const QString&, bool) { return chosen_.isEmpty() ? QString() : chosen_.takeFirst(); };
    chosen_ << folder_->path(QStringLiteral("P.kjpj"));
    press(g->Command6);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QVERIFY(g->calculation() && g->calculation()->seismic && g->calculation()->envelope);
    const kj::EnvelopeResult& e = *g->calculation()->envelope;

    // The chooser: E and every seismic combination.
    const QStringList items = itemsOf(g->Combo2);
    const int eRow = static_cast<int>(items.indexOf(QStringLiteral("E 地震作用 (左震)")));
    QVERIFY2(eRow > 0, qPrintable(items.join(QLatin1Char('|'))));
    QStringList seismic;
    for (const kj::CombinationResult& c : e.combinations)
        if (c.combination.uses(kj::LoadCaseKind::E)) seismic << QString::fromStdString(c.combination.name);
    QCOMPARE(seismic.size(), 4);
    for (const QString& name : seismic) QVERIFY2(items.contains(name), qPrintable(name));

    // The drift layer of E: the storey's drift and ratio against 1/550, placed.
    g->Combo2->setCurrentIndex(eRow);
    g->Combo1->setCurrentIndex(6);
    QCOMPARE(g->View1->layer(), kjd::Layer::Drift);
    g->View1->grab();
    const std::vector<QString>& texts = g->View1->painter()->labelTexts();
    QVERIFY(std::find(texts.begin(), texts.end(), QStringLiteral("Δu=4.239 mm →\nΔu/h=1/849 ≤ 1/550")) != texts.end());
    QCOMPARE(g->View1->painter()->skippedLabels(), 0);
    // A seismic combination: its moments, no limit for its drift.
    g->Combo2->setCurrentIndex(static_cast<int>(items.indexOf(seismic.front())));
    g->View1->grab();
    const std::vector<QString>& combined = g->View1->painter()->labelTexts();
    QVERIFY(std::any_of(combined.begin(), combined.end(), [](const QString& t) { return t.contains(QStringLiteral("\nΔu/h=1/")); }));
    QVERIFY(std::none_of(combined.begin(), combined.end(), [](const QString& t) { return t.contains(QStringLiteral("≤ 1/550")); }));

    // The window's book is the batch command's, page for page.
    chosen_ << folder_->path(QStringLiteral("window.pdf"));
    press(g->Command7);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QProcess batch;
    batch.setWorkingDirectory(folder_->path(QString()));
    batch.start(QStringLiteral(KJPJ_CALC), {QStringLiteral("P.kjpj"), QStringLiteral("--pdf"), QStringLiteral("batch.pdf")});
    QVERIFY(batch.waitForFinished(120000));
    QCOMPARE(batch.exitCode(), 0);
    const QString window = pdfText(folder_->path(QStringLiteral("window.pdf")));
    QVERIFY(window.contains(QStringLiteral("地震作用计算")) && window.contains(QStringLiteral("1/849")));
    QCOMPARE(window, pdfText(folder_->path(QStringLiteral("batch.pdf"))));
}

QTEST_MAIN(FormGraphicsTest)
#include "form_graphics_test.moc"
