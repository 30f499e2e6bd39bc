#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "plot_geometry.h"

namespace lorvane {

// The unit an axis labels its ticks in: the SI unit behind a column's unit, with the prefixes
// (k, M, m, µ, ...) that may stand before it.
struct AxisUnit {
    enum class Prefixes { All, Multiples, None };

    QString symbol;       // "Hz", "F", "Ω", "°", "dB"; empty for a pure number
    double toSymbol = 1;  // a value in the column's unit times this is in `symbol`
    Prefixes prefixes = Prefixes::All;
    bool spaced = true;  // a blank between the number and the unit ("10 nF", "-45°")
};

// The axis unit of a column's unit text: "kHz" counts in Hz, "mV" in V, "nF" in F, "µH" in H,
// "µs" in s, "Ohm" (and the reactance's "X") in Ω, all with every prefix; "°" and "dB" take no
// prefix; the pure numbers Q and D (and an empty unit) only k, M, G, T. Any other text is used
// as it stands, without prefixes. Blanks around the text do not count.
AxisUnit axisUnit(const QString& columnUnit);

// The title of an axis from its column's heading: the heading without the unit in parentheses
// at its end ("Freq. (kHz)" gives "Freq."), since every tick label names the unit.
QString axisTitle(const QString& heading);

// A tick label in engineering notation: the value in the axis unit with the prefix that keeps
// its number below 1000, as many decimals as `step` (the distance to the next tick) needs and
// no trailing zeros, in the user's locale: 1 kHz as "1 kHz", 10000 nF as "10 µF", -45 ° as
// "-45°", 1.5 kHz as "1.5 kHz" ("1,5 kHz" with a decimal comma).
QString tickLabel(double value, double step, const AxisUnit& unit);

// A labelled tick: its value, its label, and its position along the axis in pixels from the
// axis' low end.
struct Tick {
    double value = 0;
    QString label;
    double position = 0;
};

// The ticks of an axis `pixels` long: the densest set whose labels keep `gap` pixels apart,
// where `extent` gives the room a label takes along the axis. A linear axis (or a log axis
// shorter than a decade) puts them at whole multiples of 1, 2 or 5 times a power of ten; a
// longer log axis at 1 to 9, at 1, 2 and 5, or at 1 times each power of ten, or at every n-th
// power of ten. Never more ticks than one per `gap` pixels; a single tick (or none) when not
// even two labels fit.
std::vector<Tick> chooseTicks(const AxisRange& range, const AxisUnit& unit, double pixels,
                              const std::function<double(const QString&)>& extent, double gap);

}  // namespace lorvane
