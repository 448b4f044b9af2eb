// Sizing and placing secondary windows when they open.
#pragma once

class QSize;
class QWidget;

namespace tcmap {

// Gives `window` a client area of clientWidth x clientHeight (a size of 0 or
// less keeps that side) and centres it over `owner`, or on the screen when
// there is no owner.
void fitAndCentre(QWidget* window, int clientWidth, int clientHeight, QWidget* owner);

// Gives `window` the size its layout asks for, but never more than the
// available area of its screen, and centres it like fitAndCentre.
void fitOnScreen(QWidget* window, QWidget* owner);

// The client size a window can have on the screen of `owner` (or the primary
// screen): the available area less a margin for the window frame.
QSize screenRoom(QWidget* owner);

}  // namespace tcmap
