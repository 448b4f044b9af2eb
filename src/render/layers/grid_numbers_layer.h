// Latitude and longitude values along the picture's edges: longitudes along
// the bottom, latitudes down the left side, at whole-degree lines spaced so
// that neighbouring numbers never touch.
#pragma once

#include <string>
#include <vector>

#include "render/layers/annotation_text.h"
#include "render/layers/layer.h"

namespace tcmap {

struct EdgeNumber {
    std::string text;  // "120°E", "10°S", "0°", "180°"
    TextBox box;       // where it is drawn on the output picture
};

// "120°E", "60°W", "0°" or "180°" for any longitude in degrees east.
std::string longitudeText(double longitude);
// "10°N", "25°S" or "0°".
std::string latitudeText(double latitude);

// The degrees between two numbered lines: the smallest of 1, 2, 5, 10, 15,
// 20, 30, 45, 60 and 90 that keeps `minimumPixels` between them.
int gridNumberStep(double pixelsPerDegree, double minimumPixels);

// The numbers of a picture placed by `frame`, in em size `em`: every one
// wholly inside the picture, none over another.
std::vector<EdgeNumber> gridNumbers(const OutputGeometry& frame, double em);

// The layer, when the settings ask for grid numbers.
void drawGridNumbersLayer(const LayerInput& input, Canvas& canvas, LayerLog& log);

}  // namespace tcmap
