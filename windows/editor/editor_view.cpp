#include "editor/editor_view.h"

#include "analysis/internal_forces.h"
#include "common/failure.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kjw {

EditorDrawing editorDrawing(const kj::Project& project, kj::LoadCaseKind kind)
{
    EditorDrawing d;
    if (!project.findCase(kind)) kind = kj::LoadCaseKind::G;
    d.result.model = kj::caseModel(project, kind);
    d.result.materials = project.materials;
    try {
        d.result.forces = kj::analyse(d.result.model);
    } catch (const std::exception& e) {
        d.problem = kj::failureText(e);
    }
    return d;
}

EditorView::EditorView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("View1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(320, 240);
    setCursor(Qt::PointingHandCursor);
}

void EditorView::setProject(const kj::Project& project, kj::LoadCaseKind kind)
{
    painter_.reset();
    drawing_.reset();
    try {
        drawing_ = editorDrawing(project, kind);
        painter_ = std::make_unique<kjd::FramePainter>(drawing_->result);
        if (project.findCase(kind) == nullptr)
            painter_->setCaption(QStringLiteral("(尚无工况 %1, 画 G)").arg(QString::fromLatin1(kj::caseLetter(kind))));
        else
            painter_->setCaption(QStringLiteral("工况 %1").arg(QString::fromLatin1(kj::caseLetter(kind))));
    } catch (const std::exception&) {
        drawing_.reset();
    }
    const int members = drawing_ ? drawing_->result.topo().memberCount() : 0;
    std::erase_if(selected_, [&](int i) { return i > members; });
    update();
}

void EditorView::setLayer(kjd::Layer layer)
{
    layer_ = layer;
    update();
}

void EditorView::setSelected(const std::vector<int>& members)
{
    selected_ = members;
    update();
}

QString EditorView::problem() const
{
    return drawing_ ? QString::fromStdString(drawing_->problem) : QString();
}

std::pair<QPointF, QPointF> EditorView::memberEnds(int i) const
{
    if (!painter_ || !drawing_) return {};
    const kj::FrameModel& m = drawing_->result.model;
    const kj::FrameTopology& t = m.topo;
    if (t.isBeam(i)) {
        const int a = t.leftNode(i), b = t.rightNode(i);
        return {painter_->map(m.nodeX(a), m.nodeY(a)), painter_->map(m.nodeX(b), m.nodeY(b))};
    }
    const int c = i - t.NB;
    const int top = t.topNode(c), bottom = t.bottomNode(c);
    const double x = m.x[static_cast<std::size_t>(t.columnLine(c))];
    return {painter_->map(x, m.nodeY(top)), painter_->map(x, bottom == 0 ? 0.0 : m.nodeY(bottom))};
}

int EditorView::memberAt(const QPointF& point) const
{
    if (!painter_ || !drawing_) return 0;
    const kj::FrameTopology& t = drawing_->result.topo();
    int best = 0;
    double bestDistance = 8.0; // pixels
    const int last = drawing_->result.model.continuousBeam ? t.NB : t.memberCount();
    for (int i = 1; i <= last; ++i) {
        const auto [a, b] = memberEnds(i);
        const QPointF ab = b - a;
        const double len2 = QPointF::dotProduct(ab, ab);
        const double s = len2 > 0 ? std::clamp(QPointF::dotProduct(point - a, ab) / len2, 0.0, 1.0) : 0.0;
        const QPointF near = a + s * ab - point;
        const double d = std::hypot(near.x(), near.y());
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

void EditorView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!painter_) {
        p.setPen(QColor(110, 110, 110));
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("框架尚不能画出"));
        return;
    }
    painter_->paint(p, QRectF(rect()), layer_);
    if (selected_.empty()) return;
    p.setRenderHint(QPainter::Antialiasing, true);
    QColor mark(230, 120, 0);
    mark.setAlpha(170);
    p.setPen(QPen(mark, 6, Qt::SolidLine, Qt::RoundCap));
    for (int i : selected_) {
        const auto [a, b] = memberEnds(i);
        p.drawLine(a, b);
    }
}

void EditorView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const int i = memberAt(event->position());
    emit memberClicked(i, event->modifiers() & Qt::ControlModifier);
}

} // namespace kjw
