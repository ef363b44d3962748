#pragma once
// The drawing area of the graphics window: one layer of a calculation,
// fitted to the widget, zoomed with the wheel about the pointer and panned
// by dragging. Labels keep their size and are placed anew at every zoom, so
// zooming in brings back labels that found no room at the fitted scale.
#include "frame_painter.h"

#include <QPointF>
#include <QWidget>

#include <memory>

class FrameView : public QWidget {
    Q_OBJECT
public:
    explicit FrameView(QWidget* parent = nullptr);

    // The result drawn (none: an empty view with a hint); kept alive by the caller.
    // With an envelope, result is its envelope calculation (drawn as the
    // envelope); caption is added to the title; the drift layer checks the
    // storey drifts as driftCheck says.
    void setResult(const kj::CalculationResult* result, const kj::EnvelopeResult* envelope = nullptr,
                   const QString& caption = QString(), kjd::DriftCheck driftCheck = kjd::DriftCheck::None);
    void setLayer(kjd::Layer layer);
    kjd::Layer layer() const { return layer_; }

    double zoom() const { return zoom_; }
    QPointF pan() const { return pan_; }
    void fit();
    // The rectangle the whole drawing is fitted into at the present zoom and pan.
    QRectF drawingRect() const;
    // The painter of the last paint (null before the first paint with a result).
    const kjd::FramePainter* painter() const { return painter_.get(); }

    QSize sizeHint() const override { return {kjd::kDefaultViewWidth, kjd::kDefaultViewHeight}; }

protected:
    void paintEvent(QPaintEvent*) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Hovering over a value (drawn or left out for want of room) shows its
    // member, its end and the value.
    bool event(QEvent* event) override;

private:
    const kj::CalculationResult* result_ = nullptr;
    std::unique_ptr<kjd::FramePainter> painter_;
    kjd::Layer layer_ = kjd::Layer::Geometry;
    double zoom_ = 1;
    QPointF pan_;
    bool dragging_ = false;
    QPointF dragFrom_;
};
