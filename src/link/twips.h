#pragma once

#include <QRect>

namespace lorvane {

// Positions and sizes in the window layout are given in twips, 1440 to the inch.

// Window positions (the saved X and Y, a dialog's place beside the window) count 15 twips to the
// logical pixel, as on a 96-dpi screen, whatever the screen.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }
constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// A rectangle in logical pixels, in twips.
inline QRect pixelsToTwips(const QRect& pixels) {
    return QRect(pixelsToTwips(pixels.x()), pixelsToTwips(pixels.y()),
                 pixelsToTwips(pixels.width()), pixelsToTwips(pixels.height()));
}

// The layout inside a window follows the screen's logical dots per inch, so that on a desktop
// scaled through them (192 dpi at 200 %, where Qt leaves the scaling to the program) every
// control and its text keep their proportions: a twip is dpi / 1440 of a logical pixel, 1/15 at
// 96 dpi. Where Qt scales by itself (a device pixel ratio of 2), the logical DPI stays 96.
class TwipScale {
  public:
    explicit constexpr TwipScale(int dpi) : dpi_(dpi) {}

    constexpr int pixels(int twips) const { return twips * dpi_ / 1440; }
    // A designed rectangle (left, top, width, height in twips) in logical pixels.
    QRect rect(int left, int top, int width, int height) const {
        return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
    }
    // A length designed in pixels of a 96-dpi screen (a font size, a spacing), rounded.
    constexpr int scaled(int pixelsAt96) const { return (pixelsAt96 * dpi_ + 48) / 96; }

  private:
    int dpi_;
};

}  // namespace lorvane
