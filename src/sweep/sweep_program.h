#pragma once

#include <QStringList>

namespace lorvane {

// Exit statuses of lorvane-sweep.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFault = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;

// The whole program after the application object is made: reads the arguments (those after
// the program's name), runs the sweep and gives the exit status.
int runSweepProgram(const QStringList& arguments);

}  // namespace lorvane
