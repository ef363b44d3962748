#pragma once
// One layer of a calculation as a file: a PNG image, an SVG drawing or a
// one-page A4 PDF, and the same drawing on any paged device (a printer).
#include "calc/calculation.h"
#include "frame_painter.h"

#include <QByteArray>
#include <QSize>

class QPagedPaintDevice;

namespace kjd {

inline constexpr QSize kExportSize{1600, 1100};

// What is drawn beside the result: the envelope it is the calculation of
// (none: one calculation), and the words added to the title.
struct Drawn {
    const kj::EnvelopeResult* envelope = nullptr;
    QString caption;
    DriftCheck driftCheck = DriftCheck::None; // what the drift layer checks against
};

QByteArray layerPng(const kj::CalculationResult& result, Layer layer, QSize size = kExportSize, const Drawn& drawn = {});
QByteArray layerSvg(const kj::CalculationResult& result, Layer layer, QSize size = kExportSize, const Drawn& drawn = {});
// A4, landscape for a frame wider than high.
QByteArray layerPdf(const kj::CalculationResult& result, Layer layer, const Drawn& drawn = {});

// Whether the frame is wider than high, as drawn.
bool wideFrame(const kj::CalculationResult& result);

// Paints the layer on the printable area of the current page of a paged
// device (a printer, a PDF writer) opened by painter, with text and lines
// sized for paper.
void paintOnPage(const kj::CalculationResult& result, Layer layer, QPainter& painter, QPagedPaintDevice& device,
                 const Drawn& drawn = {});

} // namespace kjd
