#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace lorvane {

// The folder under which lorvane-sim publishes its ports (in "lorvane/"): xdgRuntimeDir, or
// "/tmp/lorvane-<uid>" when that is empty.
QString runtimeDirectory(const QString& xdgRuntimeDir, unsigned uid);

// The devices a COM port number may stand for, in the order they are tried: the simulator's
// link "<runtime>/lorvane/COM<N>", then "/dev/ttyUSB<N>", "/dev/ttyACM<N>", "/dev/ttyS<N>".
QStringList serialPortCandidates(int number, const QString& runtimeDir);

// The first candidate that exists, or "" when none does.
QString findSerialPort(int number, const QString& runtimeDir,
                       const std::function<bool(const QString&)>& exists);

// The name to open for COM port number on this system ("COM<N>" on Windows), "" when there
// is no such port.
QString systemSerialPortName(int number);

}  // namespace lorvane
