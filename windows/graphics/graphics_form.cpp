#include "common_widgets/button_tips.h"
#include "graphics/graphics_form.h"

#include "calc_book.h"
#include "common/failure.h"
#include "calc/project.h"
#include "calc/run.h"
#include "common/textfile.h"
#include "layer_export.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <filesystem>

namespace {

std::filesystem::path toPath(const QString& name)
{
    return std::filesystem::path(QFileInfo(name).absoluteFilePath().toStdU16String());
}

std::string shownName(const QString& name) { return QFileInfo(name).fileName().toStdString(); }

} // namespace

GraphicsForm::GraphicsForm(QWidget* mainWindow) : kjw::FormBase(mainWindow)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("GraphicsForm"));
    setWindowTitle(QStringLiteral("框架图形"));

    chooseFile = [this](const QString& title, const QString& filter, bool save) {
        return save ? QFileDialog::getSaveFileName(this, title, QString(), filter)
                    : QFileDialog::getOpenFileName(this, title, QString(), filter);
    };
    choosePrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle(QStringLiteral("打印"));
        return dialog.exec() == QDialog::Accepted;
    };
    designSettings = [] { return kj::DesignSettings{}; };

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    for (kjd::Layer layer : kjd::kLayers) Combo1->addItem(kjd::layerTitle(layer));
    connect(Combo1, &QComboBox::currentIndexChanged, this, &GraphicsForm::GraphicsForm_Combo1_Change);
    Combo2 = new QComboBox(this);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(Combo2, &QComboBox::currentIndexChanged, this, &GraphicsForm::GraphicsForm_Combo2_Change);

    const auto button = [this](const char* name, const QString& caption, void (GraphicsForm::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    Command1 = button("Command1", QStringLiteral("适合窗口"), &GraphicsForm::GraphicsForm_Command1_Click);
    Command2 = button("Command2", QStringLiteral("导出 PNG"), &GraphicsForm::GraphicsForm_Command2_Click);
    Command3 = button("Command3", QStringLiteral("导出 SVG"), &GraphicsForm::GraphicsForm_Command3_Click);
    Command4 = button("Command4", QStringLiteral("导出 PDF"), &GraphicsForm::GraphicsForm_Command4_Click);
    Command5 = button("Command5", QStringLiteral("打印"), &GraphicsForm::GraphicsForm_Command5_Click);
    Command6 = button("Command6", QStringLiteral("打开数据文件"), &GraphicsForm::GraphicsForm_Command6_Click);
    Command7 = button("Command7", QStringLiteral("生成计算书"), &GraphicsForm::GraphicsForm_Command7_Click);
    Command8 = button("Command8", QStringLiteral("返回计算窗口"), &GraphicsForm::GraphicsForm_Command8_Click);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    View1 = new FrameView(this);

    auto* bar = new QHBoxLayout;
    auto* layerCaption = new QLabel(QStringLiteral("图层"), this);
    bar->addWidget(layerCaption);
    bar->addWidget(Combo1);
    caseCaption_ = new QLabel(QStringLiteral("工况/组合"), this);
    bar->addWidget(caseCaption_);
    bar->addWidget(Combo2);
    bar->addSpacing(12);
    for (QPushButton* b : {Command1, Command2, Command3, Command4, Command5}) bar->addWidget(b);
    bar->addSpacing(12);
    for (QPushButton* b : {Command6, Command7}) bar->addWidget(b);
    bar->addStretch(1);
    bar->addWidget(Command8);
    auto* column = new QVBoxLayout(this);
    column->addLayout(bar);
    column->addWidget(Label1);
    column->addWidget(View1, 1);
    showCalculation(nullptr, QString());
    kjw::explainButtons(this);
}

void GraphicsForm::showCalculation(std::shared_ptr<const kj::FileCalculation> calculation, const QString& origin)
{
    // The view lets go of the old result before it is released.
    View1->setResult(nullptr);
    shownResult_.reset();
    shown_ = {};
    calculation_ = std::move(calculation);
    {
        const QSignalBlocker quiet(Combo2);
        Combo2->clear();
        if (calculation_ && calculation_->envelope) Combo2->addItems(kjd::shownNames(*calculation_->envelope));
    }
    const bool cases = Combo2->count() > 0;
    Combo2->setVisible(cases);
    caseCaption_->setVisible(cases);
    if (calculation_) {
        const kjd::Drawn d = drawn();
        View1->setResult(&calculation_->calculation, d.envelope, d.caption, d.driftCheck);
    }
    if (!calculation_) {
        Label1->setText(QStringLiteral("尚无计算结果"));
        return;
    }
    const kj::FrameModel& m = calculation_->calculation.model;
    const QString shape = m.continuousBeam ? QStringLiteral("%1 跨连续梁").arg(m.topo.L)
                                           : QStringLiteral("%1 跨 %2 层").arg(m.topo.L).arg(m.topo.NF);
    Label1->setText(QStringLiteral("%1  (%2, %3)  滚轮缩放, 拖动平移")
                        .arg(QString::fromStdString(m.name), shape, origin));
}

bool GraphicsForm::haveResult(const QString& operation)
{
    if (calculation_) return true;
    reportFailure(operation, "尚无计算结果: 请先在主窗口计算, 或打开数据文件");
    return false;
}

void GraphicsForm::GraphicsForm_Combo1_Change(int index)
{
    if (index >= 0 && index < static_cast<int>(kjd::kLayers.size()))
        View1->setLayer(kjd::kLayers[static_cast<std::size_t>(index)]);
}

void GraphicsForm::GraphicsForm_Combo2_Change(int index)
{
    if (!calculation_ || !calculation_->envelope || index < 0) return;
    const kj::EnvelopeResult& e = *calculation_->envelope;
    View1->setResult(nullptr);
    shown_ = kjd::shownAt(e, index);
    shownResult_.reset();
    if (shown_.kind != kjd::Shown::Kind::Envelope) shownResult_ = kjd::shownCalculation(e, shown_);
    const kjd::Drawn d = drawn();
    View1->setResult(&shownResult(), d.envelope, d.caption, d.driftCheck);
}

const kj::CalculationResult& GraphicsForm::shownResult() const
{
    return shownResult_ ? *shownResult_ : calculation_->calculation;
}

kjd::Drawn GraphicsForm::drawn() const
{
    if (!calculation_ || !calculation_->envelope) return {};
    const kj::EnvelopeResult& e = *calculation_->envelope;
    return {shown_.kind == kjd::Shown::Kind::Envelope ? &e : nullptr, kjd::shownCaption(e, shown_),
            kjd::driftCheckOf(e, shown_)};
}

void GraphicsForm::GraphicsForm_Command1_Click() { View1->fit(); }

void GraphicsForm::exportLayer(const QString& operation, const QString& filter, const QString& suffix,
                               const std::function<QByteArray(const kj::CalculationResult&, kjd::Layer, const kjd::Drawn&)>& bytes)
{
    if (!haveResult(operation)) return;
    QString name = chooseFile(operation, filter, true);
    if (name.isEmpty()) return;
    if (QFileInfo(name).suffix().isEmpty()) name += suffix;
    attempt(operation, [&] {
        const QByteArray data = bytes(shownResult(), View1->layer(), drawn());
        kj::replaceFileBytes(toPath(name), std::string_view(data.constData(), static_cast<std::size_t>(data.size())),
                             shownName(name));
    });
}

void GraphicsForm::GraphicsForm_Command2_Click()
{
    exportLayer(QStringLiteral("导出 PNG"), QStringLiteral("PNG 图片 (*.png)"), QStringLiteral(".png"),
                [](const kj::CalculationResult& r, kjd::Layer l, const kjd::Drawn& d) {
                    return kjd::layerPng(r, l, kjd::kExportSize, d);
                });
}

void GraphicsForm::GraphicsForm_Command3_Click()
{
    exportLayer(QStringLiteral("导出 SVG"), QStringLiteral("SVG 图形 (*.svg)"), QStringLiteral(".svg"),
                [](const kj::CalculationResult& r, kjd::Layer l, const kjd::Drawn& d) {
                    return kjd::layerSvg(r, l, kjd::kExportSize, d);
                });
}

void GraphicsForm::GraphicsForm_Command4_Click()
{
    exportLayer(QStringLiteral("导出 PDF"), QStringLiteral("PDF 文件 (*.pdf)"), QStringLiteral(".pdf"),
                [](const kj::CalculationResult& r, kjd::Layer l, const kjd::Drawn& d) { return kjd::layerPdf(r, l, d); });
}

void GraphicsForm::GraphicsForm_Command5_Click()
{
    if (!haveResult(QStringLiteral("打印"))) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(kjd::wideFrame(calculation_->calculation) ? QPageLayout::Landscape
                                                                          : QPageLayout::Portrait);
    printer.setDocName(QString::fromStdString(calculation_->calculation.model.name) + QStringLiteral(" ") +
                       kjd::layerTitle(View1->layer()));
    if (!choosePrinter(printer)) return;
    attempt(QStringLiteral("打印"), [&] {
        QPainter painter;
        if (!painter.begin(&printer)) throw kj::Failure("无法打开打印机");
        kjd::paintOnPage(shownResult(), View1->layer(), painter, printer, drawn());
        painter.end();
    });
}

void GraphicsForm::GraphicsForm_Command6_Click()
{
    const QString name = chooseFile(QStringLiteral("打开数据文件"),
                                    QStringLiteral("框架数据文件 (*.txt);;项目文件 (*.kjpj);;所有文件 (*)"), false);
    if (name.isEmpty()) return;
    attempt(QStringLiteral("打开数据文件"), [&] {
        kj::completeInterruptedCommit(); // never half of a run's files
        std::shared_ptr<const kj::FileCalculation> calculation;
        if (QFileInfo(name).suffix().compare(QLatin1String("kjpj"), Qt::CaseInsensitive) == 0) {
            // A project: the whole job with its own settings, cases,
            // combinations and earthquake, as the batch command runs it.
            kj::CalcRequest request;
            request.project = kj::readProjectFile(toPath(name), shownName(name));
            calculation = std::make_shared<const kj::FileCalculation>(
                kj::fileCalculation(kj::calculateWithoutFiles(request)));
        } else {
            calculation = std::make_shared<const kj::FileCalculation>(
                kj::calculateDataFile(toPath(name), shownName(name), designSettings()));
        }
        showCalculation(std::move(calculation), QFileInfo(name).fileName());
    });
}

void GraphicsForm::GraphicsForm_Command7_Click()
{
    if (!haveResult(QStringLiteral("生成计算书"))) return;
    QString name = chooseFile(QStringLiteral("生成计算书"), QStringLiteral("PDF 文件 (*.pdf)"), true);
    if (name.isEmpty()) return;
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".pdf");
    // The book of the run that gave the calculation, as the batch command writes it.
    attempt(QStringLiteral("生成计算书"), [&] {
        kjd::writeRunBook(calculation_->calculation, calculation_->data, calculation_->envelope.get(),
                          calculation_->seismic.get(), calculation_->title, toPath(name));
    });
}

void GraphicsForm::GraphicsForm_Command8_Click()
{
    hide();
    if (QWidget* main = parentWidget()) {
        main->show();
        main->raise();
        main->activateWindow();
    }
}
