// The banner at the top of the idle picture: a cyclone symbol, the program's
// name and a small recurving track in intensity colours.
#pragma once

#include <QImage>

namespace tcmap {

inline constexpr int kBannerWidth = 476;
inline constexpr int kBannerHeight = 105;

// A fresh kBannerWidth x kBannerHeight picture.
QImage makeBannerPicture();

}  // namespace tcmap
