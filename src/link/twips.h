#pragma once

#include <QRect>

namespace lorvane {

// Positions and sizes in the window layout are given in twips; 15 twips make one logical pixel.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }
constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// A designed rectangle (left, top, width, height in twips) in logical pixels.
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

// A rectangle in logical pixels, in twips.
inline QRect pixelsToTwips(const QRect& pixels) {
    return QRect(pixelsToTwips(pixels.x()), pixelsToTwips(pixels.y()),
                 pixelsToTwips(pixels.width()), pixelsToTwips(pixels.height()));
}

}  // namespace lorvane
