#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "panel_snapshot.h"

namespace lorvane {

// Everything lorvane-sweep is asked to do, read from its command line.
struct SweepOptions {
    bool help = false;
    // The card on `board`, or the Prologix adapter on `port` (a device path, or the
    // window's COM<N>, whose number is then `board`).
    bool prologix = false;
    int board = 0;
    QString portPath;
    int address = 1;
    // The set-up as the window's front panel would hold it.
    PanelSnapshot panel;
    int retries = 0;
    QString reference;
    QString out;  // empty or "-" for standard output
    QString xlsx;
    bool quiet = false;
};

// Reads the arguments after the program's name. Options take their value as the next
// argument or after "=" ("--bias=-5V:5V:100"). Missing options keep the window's first-start
// defaults. nullopt, with the reason in `error`, for anything it cannot take as it stands.
std::optional<SweepOptions> parseSweepOptions(const QStringList& arguments, QString& error);

// The text of --help: the synopsis, one line per option and two examples.
QString sweepHelpText();

}  // namespace lorvane
