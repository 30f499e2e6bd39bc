#include "step_helpers.h"

#include <cmath>

#include "number_format.h"

namespace lorvane {

using namespace Qt::Literals::StringLiterals;

namespace {

struct Decade {
    double step;
    double boundary;
};

// Indexed by the decade number d + 1, for d from -1 to 4. A step of 0 stands for the middle
// decade, whose step depends on the sweep kind.
constexpr Decade kPositive[] = {{0.01, 0.1}, {0.1, 1}, {1, 10}, {10, 100}, {0, 1000}, {50, 13000}};
constexpr Decade kNegative[] = {{0.01, 0}, {0.1, -0.1}, {1, -1}, {10, -10}, {0, -100}, {50, -1000}};

}  // namespace

QString NumCmd(double value, bool terminator) {
    QString text = value < 0 ? u"-"_s : QString();
    text += formatNumberInvariant(std::fabs(value), u"0.000"_s);
    if (terminator) text += u"EN";
    return text;
}

double Log10(double x) { return std::log(std::fabs(x) + 0.005) / std::log(10.0); }

double sweepLimit(SweepParam sweep) { return sweep == SweepParam::Bias ? 32000 : 13000; }

void StepFor(double v, SweepParam sweep, double& step, double& boundary) {
    if (v == 0) {
        step = 10;
        boundary = 100;
        return;
    }
    // Kept as a double so that NaN stays outside the table and huge values do not overflow an
    // integer conversion.
    const double d = std::floor(Log10(v)) + 1;
    if (!(d >= -1)) return;
    if (d > 4) {
        // Beyond the table: the top row's step, so that a sweep that starts up there steps on
        // to its stop instead of standing still.
        step = 50;
        boundary = v > 0 ? sweepLimit(sweep) : -10000;
        return;
    }
    const Decade& row = (v > 0 ? kPositive : kNegative)[static_cast<int>(d) + 1];
    step = row.step != 0 ? row.step : (sweep == SweepParam::Bias ? 20 : 25);
    boundary = row.boundary;
}

bool passedBoundary(double x, double boundary) { return x >= 0 ? x >= boundary : x > boundary; }

QString InvNum(const QString& text) {
    QString key = text;
    for (QChar& c : key) {
        if (c == u'-') {
            c = u' ';
        } else if (c >= u'0' && c <= u'9') {
            c = QChar(u'9' - (c.unicode() - u'0'));
        }
    }
    return key;
}

}  // namespace lorvane
