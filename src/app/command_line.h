#pragma once

#include <QString>
#include <QStringList>

namespace lorvane {

enum class StartKind {
    Normal,  // run, with instanceName naming the instance (empty: none)
    Usage,   // show the usage box and exit
    Clean,   // delete the settings of instanceName and exit
};

struct StartRequest {
    StartKind kind = StartKind::Normal;
    QString instanceName;
};

// The program's arguments, without its name, as the system passed them. Read them before the
// QApplication is created: it takes the options it knows (-style, -reverse, -platform...) out
// of argv, and to this program they are part of the command line, an instance name included.
QStringList programArguments(int argc, const char* const* argv);

// The program's arguments as one command-line text, as the user typed them (joined by blanks).
QString commandLineText(const QStringList& arguments);

// Decides what the command line asks for. Matching is case-sensitive.
StartRequest AnalyzeCommandLine(const QString& commandLine);

// " - <name>", or empty without a name.
QString titleSuffix(const QString& instanceName);
// The instance's settings group: "Lorvane" followed by the title suffix.
QString settingsKeyFor(const QString& instanceName);
// "Lorvane V<major>.<minor>.<revision>" followed by the title suffix.
QString windowTitle(const QString& instanceName, int major, int minor, int revision);

QString usageText();
QString cleanText(const QString& instanceName);

}  // namespace lorvane
