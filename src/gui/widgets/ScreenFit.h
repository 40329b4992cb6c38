#pragma once
// A window opens as large as its pages like, but never larger than the screen
// it opens on with its frame around it: on a scaled desktop (a scale factor of
// 2 halves the room) a window of fixed size would push its Close button off
// the screen.

#include <QGuiApplication>
#include <QScreen>
#include <QSize>
#include <QWidget>

namespace kov {

inline QSize FittedToScreen(const QWidget& window, QSize wanted) {
    const QScreen* screen = window.screen();
    // The offscreen platform of tests and snapshots has no real screen to fit.
    if (screen == nullptr || QGuiApplication::platformName() == "offscreen") return wanted;
    const QSize frame(24, 64);
    return wanted.boundedTo(screen->availableGeometry().size() - frame);
}

}  // namespace kov
