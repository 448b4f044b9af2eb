#include "gui/dialog_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

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

}  // namespace tcmap
