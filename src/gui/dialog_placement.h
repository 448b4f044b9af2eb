// Sizing and placing secondary windows when they open.
#pragma once

class QWidget;

namespace tcmap {

// Gives `window` a client area of clientWidth x clientHeight (a size of 0 or
// less keeps that side) and centres it over `owner`, or on the screen when
// there is no owner.
void fitAndCentre(QWidget* window, int clientWidth, int clientHeight, QWidget* owner);

}  // namespace tcmap
