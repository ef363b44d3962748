#pragma once
// A resizable window's first size: what it asks for, bounded by the
// screen's free area (less the room of the caption and frame), so that it
// fits a 1366 x 768 screen whole.
#include <QGuiApplication>
#include <QScreen>
#include <QSize>
#include <QWidget>

namespace kjw {

inline void resizeToFit(QWidget* window, QSize wanted)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QSize free = screen->availableGeometry().size() - QSize(16, 48);
        wanted = wanted.boundedTo(free);
    }
    window->resize(wanted);
}

} // namespace kjw
