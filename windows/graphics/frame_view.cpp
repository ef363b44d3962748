#include "graphics/frame_view.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kMinZoom = 0.2, kMaxZoom = 40;
}

FrameView::FrameView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("View1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setCursor(Qt::OpenHandCursor);
    setMinimumSize(320, 240);
}

void FrameView::setResult(const kj::CalculationResult* result, const kj::EnvelopeResult* envelope,
                          const QString& caption, kjd::DriftCheck driftCheck)
{
    result_ = result;
    painter_ = result ? std::make_unique<kjd::FramePainter>(*result, envelope) : nullptr;
    if (painter_) {
        painter_->setCaption(caption);
        painter_->setDriftCheck(driftCheck);
    }
    fit();
}

void FrameView::setLayer(kjd::Layer layer)
{
    layer_ = layer;
    update();
}

void FrameView::fit()
{
    zoom_ = 1;
    pan_ = QPointF();
    update();
}

QRectF FrameView::drawingRect() const
{
    const QSizeF size = QSizeF(width(), height()) * zoom_;
    const QPointF centre = QPointF(width() / 2.0, height() / 2.0) + pan_;
    return QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size);
}

void FrameView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!painter_) {
        p.setPen(QColor(110, 110, 110));
        p.setFont(kjd::drawingFont(14));
        p.drawText(rect(), Qt::AlignCenter,
                   QStringLiteral("尚无计算结果。\n请在主窗口按\"框架配筋计算\", 或按\"打开数据文件\"。"));
        return;
    }
    painter_->paint(p, drawingRect(), layer_);
}

bool FrameView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && painter_) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = painter_->valueNear(help->pos(), 10);
        if (text.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

void FrameView::wheelEvent(QWheelEvent* event)
{
    if (!painter_) return;
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0) return;
    const double next = std::clamp(zoom_ * std::pow(1.2, steps), kMinZoom, kMaxZoom);
    // The point under the pointer stays where it is.
    const QRectF before = drawingRect();
    const QPointF at = event->position();
    const QPointF rel((at.x() - before.left()) / before.width(), (at.y() - before.top()) / before.height());
    zoom_ = next;
    const QSizeF size = QSizeF(width(), height()) * zoom_;
    const QPointF topLeft(at.x() - rel.x() * size.width(), at.y() - rel.y() * size.height());
    pan_ = topLeft + QPointF(size.width() / 2, size.height() / 2) - QPointF(width() / 2.0, height() / 2.0);
    event->accept();
    update();
}

void FrameView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    dragFrom_ = event->position();
    setCursor(Qt::ClosedHandCursor);
}

void FrameView::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_) return;
    pan_ += event->position() - dragFrom_;
    dragFrom_ = event->position();
    update();
}

void FrameView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    dragging_ = false;
    setCursor(Qt::OpenHandCursor);
}
