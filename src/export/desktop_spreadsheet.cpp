#include "desktop_spreadsheet.h"

#include <QProcess>
#include <QStandardPaths>

namespace lorvane {

QStringList defaultSpreadsheetPrograms() {
    return {QStringLiteral("xdg-open"), QStringLiteral("soffice"),  QStringLiteral("libreoffice"),
            QStringLiteral("localc"),   QStringLiteral("gnumeric"), QStringLiteral("et")};
}

DesktopSpreadsheet::DesktopSpreadsheet(QStringList programs) : programs_(std::move(programs)) {}

QString DesktopSpreadsheet::program() const {
    for (const QString& name : programs_) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) return path;
    }
    return {};
}

bool DesktopSpreadsheet::available() const { return !program().isEmpty(); }

bool DesktopSpreadsheet::show(const QString& path) {
    const QString executable = program();
    return !executable.isEmpty() && QProcess::startDetached(executable, {path});
}

}  // namespace lorvane
