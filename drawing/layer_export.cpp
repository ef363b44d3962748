#include "layer_export.h"

#include "common/failure.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace kjd {

QByteArray layerPng(const kj::CalculationResult& result, Layer layer, QSize size, const Drawn& drawn)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        FramePainter painter(result, drawn.envelope);
        painter.setCaption(drawn.caption);
        painter.setDriftCheck(drawn.driftCheck);
        painter.paint(p, QRectF(QPointF(0, 0), QSizeF(size)), layer);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) throw kj::Failure("无法生成 PNG 图片");
    return bytes;
}

QByteArray layerSvg(const kj::CalculationResult& result, Layer layer, QSize size, const Drawn& drawn)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(shownName(result.model.name) + QStringLiteral(" ") + layerTitle(layer));
    {
        QPainter p(&svg);
        FramePainter painter(result, drawn.envelope);
        painter.setCaption(drawn.caption);
        painter.setDriftCheck(drawn.driftCheck);
        painter.paint(p, QRectF(QPointF(0, 0), QSizeF(size)), layer);
    }
    return bytes;
}

bool wideFrame(const kj::CalculationResult& result)
{
    const kj::FrameModel& m = result.model;
    const double W = m.x.empty() ? 0 : m.x.back();
    const double H = m.continuousBeam || m.y.size() < 2 ? 0 : m.y[1];
    return W >= H;
}

void paintOnPage(const kj::CalculationResult& result, Layer layer, QPainter& painter, QPagedPaintDevice& device,
                 const Drawn& drawn)
{
    const int dpi = device.logicalDpiX();
    const QRectF area = device.pageLayout().paintRectPixels(dpi);
    PaintStyle style;
    style.fontPixels = 8.0 * dpi / 72;
    style.line = dpi / 100.0;
    FramePainter fp(result, drawn.envelope);
    fp.setCaption(drawn.caption);
    fp.setDriftCheck(drawn.driftCheck);
    fp.setStyle(style);
    fp.paint(painter, QRectF(QPointF(0, 0), area.size()), layer);
}

QByteArray layerPdf(const kj::CalculationResult& result, Layer layer, const Drawn& drawn)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                     wideFrame(result) ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
    writer.setTitle(shownName(result.model.name) + QStringLiteral(" ") + layerTitle(layer));
    writer.setCreator(QStringLiteral("kjpj"));
    QPainter p(&writer);
    paintOnPage(result, layer, p, writer, drawn);
    p.end();
    return bytes;
}

} // namespace kjd
