#include "spreadsheet_process.h"

#include <QProcess>
#include <QStandardPaths>
#include <vector>

namespace lorvane {
namespace {

// How long an ended program may take to go before it is killed.
constexpr int kQuitWaitMs = 3000;

// Children handed over by objects that have gone. QProcess ends its child when it is
// destroyed, so these are never destroyed; the list itself stays reachable for the life of the
// program.
std::vector<QProcess*>& leftRunning() {
    static auto* processes = new std::vector<QProcess*>;
    return *processes;
}

}  // namespace

QStringList defaultSpreadsheetPrograms() {
    return {QStringLiteral("soffice"), QStringLiteral("libreoffice"), QStringLiteral("localc"),
            QStringLiteral("gnumeric"), QStringLiteral("et")};
}

SpreadsheetProcess::SpreadsheetProcess(QStringList programs) : programs_(std::move(programs)) {}

SpreadsheetProcess::~SpreadsheetProcess() {
    if (running()) leftRunning().push_back(process_.release());
}

QString SpreadsheetProcess::program() const {
    for (const QString& name : programs_) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) return path;
    }
    return {};
}

bool SpreadsheetProcess::available() const { return !program().isEmpty(); }

bool SpreadsheetProcess::show(const QString& path) {
    const QString executable = program();
    if (executable.isEmpty()) return false;
    auto process = std::make_unique<QProcess>();
    process->setProgram(executable);
    process->setArguments({path});
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start();
    if (!process->waitForStarted()) return false;
    process_ = std::move(process);
    return true;
}

void SpreadsheetProcess::quit() {
    if (!running()) return;
    process_->terminate();
    if (!process_->waitForFinished(kQuitWaitMs)) {
        process_->kill();
        process_->waitForFinished(kQuitWaitMs);
    }
    process_.reset();
}

bool SpreadsheetProcess::running() const {
    return process_ && process_->state() != QProcess::NotRunning;
}

}  // namespace lorvane
