#pragma once

namespace lorvane {

// Positions and sizes in the window layout are given in twips; 15 twips make one logical pixel.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }
constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace lorvane
