#include "command_line.h"

namespace lorvane {

QStringList programArguments(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

QString commandLineText(const QStringList& arguments) { return arguments.join(QLatin1Char(' ')); }

StartRequest AnalyzeCommandLine(const QString& commandLine) {
    static const QString kClean = QStringLiteral("-clean");
    QString text = commandLine.trimmed();
    if (text.contains(QLatin1String("-?"))) return {StartKind::Usage, QString()};
    const qsizetype at = text.indexOf(kClean);
    if (at < 0) return {StartKind::Normal, text};
    text.replace(at, kClean.size(), QString(kClean.size(), QLatin1Char(' ')));
    text = text.trimmed();
    if (text.contains(QLatin1Char('-'))) return {StartKind::Usage, QString()};
    return {StartKind::Clean, text};
}

QString titleSuffix(const QString& instanceName) {
    return instanceName.isEmpty() ? QString() : QStringLiteral(" - ") + instanceName;
}

QString settingsKeyFor(const QString& instanceName) {
    return QStringLiteral("Lorvane") + titleSuffix(instanceName);
}

QString windowTitle(const QString& instanceName, int major, int minor, int revision) {
    return QStringLiteral("Lorvane V%1.%2.%3").arg(major).arg(minor).arg(revision) +
           titleSuffix(instanceName);
}

QString usageText() {
    return QStringLiteral(
        "Usage:\tLorvane.exe (NUM) (-clean)\r\n"
        "     with\r\n"
        "\tNAME  = Instance name\r\n"
        "\t-clean = Registry clean option");
}

QString cleanText(const QString& instanceName) {
    return QStringLiteral("Cleaning ") + instanceName +
           QStringLiteral(" registry context\r\nPlease restart application");
}

}  // namespace lorvane
