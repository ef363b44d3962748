#pragma once
// Window layouts are given in twips (1/1440 inch). At 96 dpi 15 twips make one
// device-independent pixel; Qt scales pixels for high-dpi screens.
#include <QPoint>
#include <QRect>
#include <QSize>

namespace kjw {

constexpr int kTwipsPerPixel = 15;

// Twips to pixels, rounded to the nearest pixel.
constexpr int twips(int t)
{
    return t >= 0 ? (t + kTwipsPerPixel / 2) / kTwipsPerPixel
                  : -((-t + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
inline QPoint twipsPoint(int left, int top) { return QPoint(twips(left), twips(top)); }
inline QSize twipsSize(int width, int height) { return QSize(twips(width), twips(height)); }
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsPoint(left, top), twipsSize(width, height));
}

} // namespace kjw
