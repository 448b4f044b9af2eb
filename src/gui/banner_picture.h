// The banner at the top of the idle picture: a cyclone symbol, the program's
// name and a small recurving track in intensity colours.
#pragma once

#include <QImage>

namespace tcmap {

inline constexpr int kBannerWidth = 476;
inline constexpr int kBannerHeight = 105;

// A fresh banner of kBannerWidth x kBannerHeight logical pixels, drawn with
// `devicePixelRatio` screen pixels to each, so it is sharp on a scaled screen.
QImage makeBannerPicture(qreal devicePixelRatio = 1.0);

}  // namespace tcmap
