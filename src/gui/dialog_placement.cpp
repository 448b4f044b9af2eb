#include "gui/dialog_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tcmap {

void fitAndCentre(QWidget* window, int clientWidth, int clientHeight, QWidget* owner) {
    if (window == nullptr) return;
    // Qt sizes the client area directly; the frame is added by the window system.
    const int width = clientWidth > 0 ? clientWidth : window->width();
    const int height = clientHeight > 0 ? clientHeight : window->height();
    window->resize(width, height);

    const QSize frame = window->frameGeometry().size();
    QRect area;
    if (owner != nullptr) {
        area = owner->frameGeometry();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    } else {
        return;
    }
    const int left = area.left() + (area.width() - frame.width()) / 2;
    const int top = area.top() + (area.height() - frame.height()) / 2;
    window->move(left, top);
}

QSize screenRoom(QWidget* owner) {
    QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    // Room for a title bar and borders the window system adds around it.
    constexpr int kFrameWidth = 16;
    constexpr int kFrameHeight = 48;
    const QSize available = screen->availableGeometry().size();
    return {std::max(1, available.width() - kFrameWidth),
            std::max(1, available.height() - kFrameHeight)};
}

void fitOnScreen(QWidget* window, QWidget* owner) {
    if (window == nullptr) return;
    const QSize wanted = window->sizeHint().expandedTo(window->minimumSizeHint());
    const QSize room = screenRoom(owner);
    fitAndCentre(window, std::min(wanted.width(), room.width()),
                 std::min(wanted.height(), room.height()), owner);
}

}  // namespace tcmap
