#include "common_widgets/button_tips.h"
#include "viewers/result_viewer.h"

#include "calc/run.h"
#include "common/failure.h"
#include "common/textfile.h"
#include "common_widgets/frame_picture.h"
#include "common_widgets/twips.h"
#include "common_widgets/ui_font.h"

#include <QFontMetricsF>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>
#include <exception>
#include <tuple>

using kjw::fromBox;
using kjw::toPane;
using kjw::twipsRect;

namespace {

// Both viewers draw the frame on these lines, in twips from the picture's
// corner (the picture lies at 120, 120): the columns at the lefts of the
// column boxes, the upper beams between the end-moment boxes and the shear
// boxes, the lower beams likewise, the ground under the lower storey's
// bottom-moment boxes; a one-storey frame stands on the lower beam line.
const kjw::FrameGeometry kViewerFrame{
    {360, 3120, 6720, 10200},
    {720, 3420, 5580},
    0,
    0,
};

} // namespace

ResultViewer::ResultViewer(QWidget* mainWindow, const Layout& layout)
    : kjw::FormBase(mainWindow), shapeHint_(layout.shapeHint)
{
    setWindowFlag(Qt::Window);
    setObjectName(QLatin1String(layout.name));
    setWindowTitle(QString::fromUtf8(layout.title));
    setFont(kjw::songtiFont(9));
    setFixedSize(kjw::twipsSize(11685, 8715));

    // The pictures lie under every box laid over them.
    pictures_ = framePictures(kViewerFrame, 120, 120, layout.pictureWidth, layout.pictureHeight);
    for (kjw::FramePicture* p : pictures_) p->setDimensionLines(false);
    std::tie(Image1, Image2, Image3, Image4, Image5, Image6) = std::tuple_cat(pictures_);

    // The six beam groups.
    std::array<QLineEdit*, 36> group{};
    for (std::size_t k = 0; k < group.size(); ++k) {
        const std::string name = kj::boxName(static_cast<int>(k) + 1);
        group[k] = sketchBox(name.c_str(), layout.groups[k]);
        group[k]->setFixedHeight(kjw::twips(layout.boxHeight));
    }
    Text1 = group[0], Text2 = group[1], Text3 = group[2], Text4 = group[3], Text5 = group[4], Text6 = group[5];
    Text7 = group[6], Text8 = group[7], Text9 = group[8], Text10 = group[9], Text11 = group[10];
    Text12 = group[11], Text13 = group[12], Text14 = group[13], Text15 = group[14], Text16 = group[15];
    Text17 = group[16], Text18 = group[17], Text19 = group[18], Text20 = group[19], Text21 = group[20];
    Text22 = group[21], Text23 = group[22], Text24 = group[23], Text25 = group[24], Text26 = group[25];
    Text27 = group[26], Text28 = group[27], Text29 = group[28], Text30 = group[29], Text31 = group[30];
    Text32 = group[31], Text33 = group[32], Text34 = group[33], Text35 = group[34], Text36 = group[35];

    // The frame shape, typed or set by a template, and the stamp.
    Text39 = lineBox("Text39", 8880, 5385, 1215);
    Text39->setText(QStringLiteral(" L      NF"));
    Text37 = lineBox("Text37", 8880, 5760, 495);
    Text38 = lineBox("Text38", 9600, 5760, 495);
    for (QLineEdit* b : {Text37, Text38}) {
        b->setFont(kjw::songtiFont(12));
        b->setFixedHeight(kjw::twips(360));
    }
    Text41 = lineBox("Text41", 4440, 5640, 2415);

    Text40 = pane("Text40", 0, 6480, layout.paneWidth, 2055);

    // Templates, drawing, the file slot and the way back.
    Label1 = label("Label1", QStringLiteral("  框架梁跨数-框架层数"), 9600, 6480, 2055, 240);
    const auto make = [this](const char* name, const QString& caption, int left, int top, int width, int height) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(twipsRect(left, top, width, height));
        b->setAutoDefault(false);
        return b;
    };
    Command2 = make("Command2", QStringLiteral("1-1"), 9840, 6720, 555, 420);
    Command3 = make("Command3", QStringLiteral("2-1"), 10440, 6720, 555, 420);
    Command4 = make("Command4", QStringLiteral("3-1"), 11040, 6720, 555, 420);
    Command5 = make("Command5", QStringLiteral("1-2"), 9840, 7200, 555, 420);
    Command7 = make("Command7", QStringLiteral("2-2"), 10440, 7200, 555, 420);
    Command8 = make("Command8", QStringLiteral("3-2"), 11040, 7200, 555, 420);
    Command9 = make("Command9", QStringLiteral("清  屏"), 6960, 6600, 1215, 495);
    Command10 = make("Command10", QStringLiteral("梁号确定"), 6960, 7320, 1215, 495);
    Command6 = make("Command6", QString::fromUtf8(layout.drawCaption), 6960, 8040, 1215, 495);
    Command12 = make("Command12", QStringLiteral("导入文件"), 8400, 6720, 1215, 495);
    Combo1 = list("Combo1", 8400, 7440, 1395);
    Command11 = make("Command11", QStringLiteral("保存文件"), 8400, 7920, 1215, 495);
    Command1 = make("Command1", QStringLiteral("返回计算程序"), 9840, 7920, 1755, 495);

    fillList(Combo1, layout.slotNames, layout.slotNames.front());
    kjw::explainButtons(this);
}

QLineEdit* ResultViewer::sketchBox(const char* name, const Place& place)
{
    QLineEdit* b = lineBox(name, place.left, place.top, place.width);
    b->hide();
    sketchBoxes_.push_back(b);
    places_[b] = b->geometry();
    return b;
}

QLineEdit* ResultViewer::box(const std::string& name) const
{
    return findChild<QLineEdit*>(QString::fromStdString(name), Qt::FindDirectChildrenOnly);
}

std::optional<int> ResultViewer::typedShape() const
{
    return kj::viewerShapeOf(fromBox(Text37->text()), fromBox(Text38->text()));
}

void ResultViewer::showShape(int shape, bool writeShape)
{
    QWidget* picture = pictures_.at(static_cast<std::size_t>(shape));
    picture->show();
    picture->raise(); // the latest picture over earlier ones, under every box
    for (int p : kj::beamPositions(shape))
        for (const std::string& name : kj::beamGroupBoxes(p))
            if (QLineEdit* b = box(name)) b->show();
    for (int q : kj::columnPositions(shape))
        for (const std::string& name : kj::columnPairBoxes(q))
            if (QLineEdit* b = box(name)) b->show();
    Text37->show();
    Text38->show();
    for (QLineEdit* b : sketchBoxes_) b->raise();
    for (QLineEdit* b : {Text39, Text37, Text38, Text41}) b->raise();
    if (writeShape) {
        const kj::ViewerShape s = kj::viewerShape(shape);
        Text37->setText(QString::number(s.spans));
        Text38->setText(QString::number(s.storeys));
    }
}

void ResultViewer::drawFromFile(const QString& operation, FileReader reader)
{
    const std::optional<int> shape = typedShape();
    if (!shape) {
        // Not one of the six shapes: nothing is read and no box changes, but
        // the user is told why the picture stays as it was.
        reportFailure(operation, "L, NF 框中的跨数和层数 (\"" + fromBox(Text37->text()) + "\", \"" +
                                     fromBox(Text38->text()) + "\") 不是 1-3 跨、1-2 层的框架; " + shapeHint_);
        return;
    }
    const std::string slot = fromBox(Combo1->currentText());
    attempt(operation, [&] {
        kj::completeInterruptedCommit(); // never half of a run's files
        const std::vector<kj::BoxText> texts = reader(*shape, kj::readTextFile(kj::slotPath(slot), slot), slot);
        for (const kj::BoxText& t : texts)
            if (QLineEdit* b = box(t.box)) {
                b->setText(QString::fromStdString(t.text));
                fitBox(b);
            }
    });
}

void ResultViewer::fitBox(QLineEdit* b)
{
    const auto place = places_.find(b);
    if (place == places_.end()) return;
    // The room a line box leaves its text: the frame and padding of its
    // style, its text margins and the two pixels it keeps on either side.
    QStyleOptionFrame option;
    option.initFrom(b);
    option.rect = QRect(QPoint(0, 0), place->second.size());
    option.lineWidth = b->hasFrame() ? b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, b) : 0;
    const QRect contents = b->style()->subElementRect(QStyle::SE_LineEditContents, &option, b);
    const QMargins margins = b->textMargins();
    const int room = contents.width() - margins.left() - margins.right() - 2 * 2;
    // A pixel more for the rounding of glyph advances on scaled screens.
    const int text = int(std::ceil(QFontMetricsF(b->font()).horizontalAdvance(b->text()))) + 1;
    QRect r = place->second;
    if (text > room) {
        r.setWidth(r.width() + text - room);
        if (r.right() >= width()) r.moveRight(width() - 1); // stays inside the window
        if (r.left() < 0) r.moveLeft(0);
        b->raise(); // over any neighbour it now reaches
    }
    b->setGeometry(r);
    b->setCursorPosition(0); // a value wider than the window shows its start
}

void ResultViewer::numberBeams()
{
    for (const kj::BoxText& t : kj::beamNumberTexts(typedShape()))
        if (QLineEdit* b = box(t.box)) b->setText(QString::fromStdString(t.text));
    Text41->setText(QString::fromStdString(kj::dateStampNow()));
}

void ResultViewer::clearSketch()
{
    for (QLineEdit* b : sketchBoxes_) b->hide();
    for (kjw::FramePicture* p : pictures_) p->hide();
}

void ResultViewer::importFile()
{
    importPane(QStringLiteral("导入文件"), Combo1, Text40);
}

void ResultViewer::saveFile()
{
    savePane(QStringLiteral("保存文件"), Combo1, Text40);
}

void ResultViewer::returnToMain()
{
    hide();
    if (QWidget* main = parentWidget()) {
        main->show();
        main->raise();
        main->activateWindow();
    }
}
