#pragma once

#include <QString>
#include <optional>

#include "command_set.h"

namespace lorvane {

// What a reply to the trigger turned out to be, tested in this order.
enum class ReplyKind {
    NoResponse,  // nothing came back (or only line ends)
    BadData,     // fewer than three fields, or a code or number text is empty
    Good         // everything else, numbers that read as 0 included
};

// One reply split into its texts. Field 0 is the first reading and field 1 the second: the
// characters at positions 2 and 3 are its code, from position 5 on its number. Field 2 is the
// sweep value: position 1 is its code, the rest its number. Only the first three fields count.
struct Reading {
    ReplyKind kind = ReplyKind::NoResponse;
    QString code0, num0;
    QString code1, num1;
    QString code2, num2;

    // Texts of the status panels "IN", "DAT1" and "DAT2": code, ":", number.
    QString inText() const { return code2 + u':' + num2; }
    QString dat1Text() const { return code0 + u':' + num0; }
    QString dat2Text() const { return code1 + u':' + num1; }
};

// Removes every carriage return and line feed, then classifies and splits the reply. The texts
// of a reply that is not Good are left empty.
Reading parseReading(QStringView reply);

// A reading in display units: both results scaled by the parameter's powers of ten, the sweep
// value by the sweep's (kHz stay kHz, volts become mV). The scaling works on the decimal
// numbers, so that a sweep value is exactly the one written (V+02.03 is 2030 mV) and meets the
// stop it was programmed with.
struct ScaledReading {
    double dat1 = 0;
    double dat2 = 0;
    double x = 0;
};

// nullopt when a number lies beyond the range of a double, as written or once scaled: such a
// reply is bad data, not a value.
std::optional<ScaledReading> scaleReading(const Reading& reading, const ModeConversion& conversion,
                                          int sweepPower);

}  // namespace lorvane
