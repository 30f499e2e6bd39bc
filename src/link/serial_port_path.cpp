#include "serial_port_path.h"

#include <QFileInfo>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace lorvane {

QString runtimeDirectory(const QString& xdgRuntimeDir, unsigned uid) {
    if (!xdgRuntimeDir.isEmpty()) return xdgRuntimeDir;
    return QStringLiteral("/tmp/lorvane-%1").arg(uid);
}

QStringList serialPortCandidates(int number, const QString& runtimeDir) {
    const QString n = QString::number(number);
    return {runtimeDir + QStringLiteral("/lorvane/COM") + n, QStringLiteral("/dev/ttyUSB") + n,
            QStringLiteral("/dev/ttyACM") + n, QStringLiteral("/dev/ttyS") + n};
}

QString findSerialPort(int number, const QString& runtimeDir,
                       const std::function<bool(const QString&)>& exists) {
    for (const QString& candidate : serialPortCandidates(number, runtimeDir)) {
        if (exists(candidate)) return candidate;
    }
    return QString();
}

QString systemSerialPortName(int number) {
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QString runtime =
        runtimeDirectory(qEnvironmentVariable("XDG_RUNTIME_DIR"), static_cast<unsigned>(getuid()));
    // A link left behind by a simulator that has ended points nowhere and does not count.
    return findSerialPort(number, runtime,
                          [](const QString& path) { return QFileInfo::exists(path); });
#endif
}

}  // namespace lorvane
