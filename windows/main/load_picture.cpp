#include "main/load_picture.h"

#include "common_widgets/twips.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>

namespace kjw {

namespace {

const QColor kLoadColour(255, 255, 0);
const QColor kDimensionColour(0, 255, 0);

// A downward arrow whose tip touches (x, tipY).
void arrow(QPainter& p, int x, int fromY, int tipY, int head)
{
    p.drawLine(x, fromY, x, tipY - head);
    QPainterPath tip;
    tip.moveTo(x, tipY);
    tip.lineTo(x - head / 2.0, tipY - head);
    tip.lineTo(x + head / 2.0, tipY - head);
    tip.closeSubpath();
    p.fillPath(tip, p.pen().color());
}

} // namespace

LoadPicture::LoadPicture(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const std::vector<LoadPicture::Beam>& LoadPicture::beams()
{
    // Twips from the picture's corner; the editor's boxes sit on the load
    // bands (above) and on the dimension lines (below), one box per part.
    static const std::vector<Beam> all{
        {"N=1", 240, 420, 360, 2520, 1380, 1080, {}, 0, 1822},
        {"N=3", 3240, 420, 3240, 6480, 1380, 1080, {4870}, 540, 1822},
        {"N=5", 240, 2580, 360, 6480, 3540, 3300, {2230, 4630}, 2700, 4102},
    };
    return all;
}

void LoadPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.setRenderHint(QPainter::Antialiasing, false); // lines on whole pixels, at full colour
    p.setFont(font());

    for (const Beam& b : beams()) {
        const int left = twips(b.left);
        const int right = twips(b.right);
        const int beamY = twips(b.beamY);
        const int loadTop = twips(b.loadTop);
        const int dimY = twips(b.dimensionY);

        // The label.
        p.setPen(Qt::white);
        p.drawText(twips(b.labelX), twips(b.labelY), QString::fromLatin1(b.label));

        // The uniform load: a band over the whole beam with arrows down to it.
        p.setPen(QPen(kLoadColour, 1));
        p.drawLine(left, loadTop, right, loadTop);
        const int gaps = std::max(1, (right - left) / 12);
        for (int i = 0; i <= gaps; ++i) {
            const int x = left + (right - left) * i / gaps;
            arrow(p, x, loadTop, beamY - 2, 4);
        }

        // The point loads: heavier arrows from above the band.
        p.setPen(QPen(kLoadColour, 2));
        for (int fx : b.forces) arrow(p, twips(fx), twips(b.forceTop), beamY - 2, 8);

        // The beam and its supports: a pin at the left end, a roller at the right.
        p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(left, beamY, right, beamY);
        p.setPen(QPen(Qt::white, 1));
        const int h = 10;
        for (int x : {left, right}) {
            const QPointF tri[3] = {QPointF(x, beamY + 2), QPointF(x - h / 1.6, beamY + h + 2),
                                    QPointF(x + h / 1.6, beamY + h + 2)};
            p.drawPolygon(tri, 3);
        }
        p.drawLine(left - 9, beamY + h + 4, left + 9, beamY + h + 4);
        p.drawEllipse(QPointF(right - 4, beamY + h + 5), 2, 2);
        p.drawEllipse(QPointF(right + 4, beamY + h + 5), 2, 2);

        // The dimension line, divided at the beam ends and at every point load.
        p.setPen(QPen(kDimensionColour, 1));
        p.drawLine(left, dimY, right, dimY);
        std::vector<int> marks{left};
        for (int fx : b.forces) marks.push_back(twips(fx));
        marks.push_back(right);
        for (int x : marks) {
            p.drawLine(x, beamY + h + 8, x, dimY + 6);
            p.drawLine(x - 4, dimY + 4, x + 4, dimY - 4);
        }
    }
}

} // namespace kjw
