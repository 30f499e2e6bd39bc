// lorvane-sweep's command line, as the arguments the system hands it.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "sweep_options.h"

namespace lorvane {
namespace {

bool same(const SweepOptions& a, const SweepOptions& b) {
    return a.help == b.help && a.prologix == b.prologix && a.board == b.board &&
           a.portPath == b.portPath && a.address == b.address && a.retries == b.retries &&
           a.reference == b.reference && a.out == b.out && a.xlsx == b.xlsx && a.quiet == b.quiet &&
           a.panel.mode == b.panel.mode && a.panel.circuit == b.panel.circuit &&
           a.panel.sweep == b.panel.sweep && a.panel.autoStep == b.panel.autoStep &&
           a.panel.logStep == b.panel.logStep && a.panel.highSpeed == b.panel.highSpeed &&
           a.panel.frequency == b.panel.frequency && a.panel.bias == b.panel.bias &&
           a.panel.oscillatorText == b.panel.oscillatorText;
}

}  // namespace
}  // namespace lorvane

using namespace Qt::Literals::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lorvane;
    const QStringList arguments = fuzz::argumentsOf(data, size);
    QString error;
    const std::optional<SweepOptions> options = parseSweepOptions(arguments, error);
    if (!options) {
        FUZZ_CHECK(!error.isEmpty(), "a command line that is refused says why");
    } else {
        FUZZ_CHECK(options->address >= 0 && options->address <= 30,
                   "the address is a GPIB address");
        FUZZ_CHECK(options->retries >= 0, "the retries are not negative");
        for (const double value : options->panel.frequency)
            FUZZ_CHECK(std::isfinite(value) && value >= 0 && value <= 13e6,
                       "the frequencies lie within the instrument's");
        for (const double value : options->panel.bias)
            FUZZ_CHECK(std::isfinite(value) && std::abs(value) <= 35000,
                       "the bias values lie within the instrument's");
    }

    // "--name=value" and "--name value" are the same for an option that takes a value. (An
    // argument after a bare "--name" may be that option's value, whatever it looks like: it stays
    // as it is. A switch takes none, so "--quiet=x" is refused where "--quiet x" is not.)
    QStringList split;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const qsizetype equals = argument.indexOf(u'=');
        const bool afterBare = i > 0 && arguments[i - 1].startsWith(QStringLiteral("--")) &&
                               !arguments[i - 1].contains(u'=');
        const bool isSwitch = QStringList{u"--high-speed"_s, u"--quiet"_s, u"--help"_s}.contains(
            argument.left(equals));
        if (argument.startsWith(QStringLiteral("--")) && equals > 2 && !afterBare && !isSwitch)
            split << argument.left(equals) << argument.mid(equals + 1);
        else
            split << argument;
    }
    QString splitError;
    const std::optional<SweepOptions> again = parseSweepOptions(split, splitError);
    FUZZ_CHECK(options.has_value() == again.has_value() && (!options || same(*options, *again)),
               "an option's value after = or as the next argument is the same");
    return 0;
}
