#pragma once
// The inks, the diagram amplitude and the small helpers that the frame
// painter's files share (frame_painter.cpp, force_layers.cpp,
// drift_layer.cpp).
#include <QColor>
#include <QPointF>
#include <QString>

#include <cmath>
#include <cstddef>

namespace kjd::ink {

inline const QColor kInk(32, 32, 32);
inline const QColor kGrey(150, 150, 150);
inline const QColor kMomentEdge(196, 52, 36);
inline const QColor kShearEdge(36, 92, 180);
inline const QColor kAxialEdge(40, 130, 50);
inline const QColor kLoadInk(160, 70, 20);
inline const QColor kFailed(210, 0, 0);
inline const QColor kDeflected(196, 52, 36);

// Share of the smallest span or storey height that the largest ordinate of
// a diagram (or the largest deflection) takes.
inline constexpr double kAmplitude = 0.36;

// A value to one decimal, without "-0.0".
inline QString fixed1(double v)
{
    if (std::fabs(v) < 0.05) v = 0;
    return QString::number(v, 'f', 1);
}

inline QPointF unit(const QPointF& v)
{
    const double n = std::hypot(v.x(), v.y());
    return n > 0 ? v / n : QPointF(1, 0);
}

inline std::size_t ix(int i) { return static_cast<std::size_t>(i); }

// End 0 or 1 of a beam or a column, as the tables name it.
inline QString endName(bool beam, int e)
{
    return beam ? (e == 0 ? QStringLiteral("左端") : QStringLiteral("右端"))
                : (e == 0 ? QStringLiteral("柱顶") : QStringLiteral("柱底"));
}

} // namespace kjd::ink
