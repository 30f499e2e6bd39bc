#include "sweep_program.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QSerialPort>
#include <csignal>
#include <cstdio>

#include "cls_gpib.h"
#include "cls_gpib_run_link.h"
#include "csv_journal.h"
#include "headings.h"
#include "headless_run.h"
#include "measurement_run.h"
#include "results_sheet.h"
#include "sweep_console.h"
#include "sweep_csv.h"
#include "sweep_options.h"
#include "xlsx_file.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

// The panel a signal interrupts; set while a run goes.
HeadlessPanel* interruptible = nullptr;

void onSignal(int) {
    if (interruptible) interruptible->interrupt();
}

// While it lives, Ctrl-C and SIGTERM ask the panel's run to end after its point, so that the
// run-end text goes out and the rows stay.
class InterruptGuard {
  public:
    explicit InterruptGuard(HeadlessPanel& panel) {
        interruptible = &panel;
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
    }
    ~InterruptGuard() { interruptible = nullptr; }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
};

// The sweep program keeps no settings.
class NoSettings final : public RunSettings {
  public:
    void write(const QString&, double) override {}
};

int usageError(const QString& text) {
    printError(text);
    printError(u"try 'lorvane-sweep --help'"_s);
    return kExitUsage;
}

QString failureText(MeasurementRun::Failure failure) {
    switch (failure) {
        case MeasurementRun::Failure::NoResponse:
            return u"no response"_s;
        case MeasurementRun::Failure::BadData:
            return u"bad data"_s;
        case MeasurementRun::Failure::Communication:
        case MeasurementRun::Failure::None:
            break;
    }
    return u"communication error"_s;
}

QString retryText(const MeasurementRun::Retry& retry) {
    return u"point %1: %2, retry %3"_s.arg(retry.point + 1)
        .arg(failureText(retry.cause))
        .arg(retry.attempt);
}

bool writeWorkbook(const QString& path, const PanelSnapshot& panel, const CsvJournal& journal) {
    ExportSetup setup;
    setup.quantityLabel = quantityLabel(panel.mode, panel.circuit, panel.sweep);
    setup.columnUnits = columnUnitsFor(panel.mode, panel.sweep);
    setup.sweep = panel.sweep;
    setup.mode = panel.mode;
    setup.sweepCaption = sweepCaption(panel.sweep);
    setup.measureCaption = measureCaption(panel.mode);
    WorkbookModel workbook = newResultsWorkbook();
    Worksheet& sheet = resultsSheet(workbook, setup);
    int row = 2;
    for (const std::array<double, 3>& point : journal.points()) {
        for (int k = 0; k < 3; ++k) sheet.setCell(row, k + 1, valueCell(point[size_t(k)]));
        ++row;
    }
    QString error;
    if (writeXlsxFile(workbook, path, &error)) return true;
    printError(u"--xlsx %1: %2"_s.arg(path, error));
    return false;
}

// The output's descriptor: standard output, or the file created (emptied) for it; -1 with a
// message when it cannot be made.
int openOutput(const QString& out) {
    if (out.isEmpty() || out == u"-"_s) return STDOUT_FILENO;
    const int fd =
        ::open(QFile::encodeName(out).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        printError(u"--out %1: %2"_s.arg(out, QString::fromLocal8Bit(std::strerror(errno))));
    return fd;
}

}  // namespace

int runSweepProgram(const QStringList& arguments) {
    QString error;
    const std::optional<SweepOptions> options = parseSweepOptions(arguments, error);
    if (!options) return usageError(error);
    if (options->help) {
        std::fputs(sweepHelpText().toUtf8().constData(), stdout);
        return kExitDone;
    }

    HeadlessPanel panel(options->panel);
    const InterruptGuard guard(panel);
    std::vector<std::array<double, 3>> reference;
    if (!options->reference.isEmpty()) {
        QFile file(options->reference);
        if (!file.open(QIODevice::ReadOnly)) {
            return usageError(u"--reference %1: %2"_s.arg(options->reference, file.errorString()));
        }
        auto points = readReferenceCsv(file.readAll(), csvTitles(options->panel), error);
        if (!points) return usageError(u"--reference %1: %2"_s.arg(options->reference, error));
        reference = std::move(*points);
    }
    const int fd = openOutput(options->out);
    if (fd < 0) return kExitUsage;

    ConsolePlatform platform;
    ClsGPIB link(platform);
    QSerialPort port;
    link.Initialize(nullptr, &port);
    link.setCrd(options->prologix ? 1 : 0);
    link.setBrd(static_cast<int16_t>(options->board));
    link.setPad(static_cast<int16_t>(options->address));
    link.setPortPath(options->portPath);
    if (!link.DevOpen()) {
        printError(u"the instrument cannot be reached"_s);
        return kExitFault;
    }

    ClsGpibRunLink runLink(link);
    HeadlessResults results;
    ConsoleProgress progress(!options->quiet && ::isatty(STDERR_FILENO));
    NoSettings settings;
    MeasurementRun run(runLink, panel, results, progress, settings, platform);
    bool outputFailed = false;
    CsvJournal journal(fd, [&](const QString& reason) {
        printError(u"the output cannot be written: %1"_s.arg(reason));
        outputFailed = true;
        panel.interrupt();
    });
    run.setJournal(&journal);
    run.setRetries(options->retries, [&](const MeasurementRun::Retry& retry) {
        if (!options->quiet) printError(retryText(retry));
    });
    if (!reference.empty()) run.useReference(std::move(reference));

    if (!panel.interrupted()) run.Run_Click(0);
    link.DevClose();

    journal.finish();
    const MeasurementRun::Outcome& outcome = run.outcome();
    const int64_t points = static_cast<int64_t>(journal.points().size());
    if (!options->quiet) printError(summaryLine(points, progress.elapsedMs()));
    bool wrote = options->xlsx.isEmpty() || writeWorkbook(options->xlsx, options->panel, journal);
    if (fd != STDOUT_FILENO) wrote = ::close(fd) == 0 && wrote;

    if (outcome.failure != MeasurementRun::Failure::None) {
        printError(
            u"%1 at point %2; the %3 points before it are kept"_s.arg(failureText(outcome.failure))
                .arg(outcome.points + 1)
                .arg(points));
        return kExitFault;
    }
    if (outputFailed) return kExitFault;
    if (panel.interrupted()) return kExitInterrupted;
    return wrote && outcome.started ? kExitDone : kExitFault;
}

}  // namespace lorvane
