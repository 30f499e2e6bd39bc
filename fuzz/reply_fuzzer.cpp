// The instrument's reply to a trigger: classified, split into its texts and scaled to display
// units for every measurement parameter and both sweeps, as a run does with whatever the link
// hands it.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "reading.h"

namespace lorvane {
namespace {

bool sameTexts(const Reading& a, const Reading& b) {
    return a.kind == b.kind && a.code0 == b.code0 && a.num0 == b.num0 && a.code1 == b.code1 &&
           a.num1 == b.num1 && a.code2 == b.code2 && a.num2 == b.num2;
}

void checkGood(const Reading& reading) {
    FUZZ_CHECK(reading.code0.size() == 2 && reading.code1.size() == 2 && reading.code2.size() == 1,
               "a good reply's codes have two, two and one characters");
    FUZZ_CHECK(!reading.num0.isEmpty() && !reading.num1.isEmpty() && !reading.num2.isEmpty(),
               "a good reply has three number texts");
    for (const QString* text : {&reading.num0, &reading.num1, &reading.num2})
        FUZZ_CHECK(!text->contains(u',') && !text->contains(u'\r') && !text->contains(u'\n'),
                   "no number text holds a separator or a line end");

    // The texts are the reply's own: put back together in the reply's layout, they split the
    // same way again.
    const QString rebuilt = QStringLiteral("N") + reading.code0 + u'N' + reading.num0 +
                            QStringLiteral(",N") + reading.code1 + u'N' + reading.num1 + u',' +
                            reading.code2 + reading.num2;
    FUZZ_CHECK(sameTexts(parseReading(rebuilt), reading), "a good reply splits the same again");

    for (int mode = 0; mode <= 5; ++mode) {
        for (const SweepParam sweep : {SweepParam::Frequency, SweepParam::Bias}) {
            const auto scaled = scaleReading(reading, conversionFor(static_cast<MeasureMode>(mode)),
                                             sweepPower(sweep));
            if (!scaled) continue;
            FUZZ_CHECK(std::isfinite(scaled->dat1) && std::isfinite(scaled->dat2) &&
                           std::isfinite(scaled->x),
                       "a scaled reading holds finite numbers only");
        }
    }
}

}  // namespace
}  // namespace lorvane

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lorvane;
    const QString reply =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Reading reading = parseReading(reply);
    FUZZ_CHECK(
        sameTexts(parseReading(QStringLiteral("\r\n") + reply + QStringLiteral("\r\n")), reading),
        "line ends around a reply change nothing");
    if (reading.kind == ReplyKind::Good) {
        checkGood(reading);
    } else {
        FUZZ_CHECK(reading.code0.isEmpty() && reading.num0.isEmpty() && reading.num2.isEmpty(),
                   "a reply that is not good leaves its texts empty");
        FUZZ_CHECK((reading.kind == ReplyKind::NoResponse) ==
                       QString(reply).remove(u'\r').remove(u'\n').isEmpty(),
                   "no response means nothing but line ends");
    }
    return 0;
}
