#include "sweep_console.h"

#include <QCoreApplication>
#include <QThread>
#include <cmath>

#include "run_progress.h"

namespace lorvane {

using namespace Qt::Literals::StringLiterals;

QString progressLine(int64_t done, std::optional<int64_t> total, const QString& lastReading,
                     std::optional<int64_t> remainingMs) {
    QString line =
        total ? u"%1/%2 %3%"_s.arg(done).arg(*total).arg(*total > 0 ? done * 100 / *total : 100)
              : u"%1 points"_s.arg(done);
    if (!lastReading.isEmpty()) line += u' ' + lastReading;
    if (remainingMs) line += u" ETA "_s + durationText(*remainingMs);
    return line;
}

QString summaryLine(int64_t points, int64_t elapsedMs) {
    QString line = u"%1 points in %2"_s.arg(points).arg(durationText(elapsedMs));
    if (points > 0) {
        line += u", %1 ms per point"_s.arg(static_cast<double>(elapsedMs) / points, 0, 'f', 1);
    }
    return line;
}

void printError(const QString& text) {
    std::fputs(("lorvane-sweep: "_L1 + text + u'\n').toUtf8().constData(), stderr);
    std::fflush(stderr);
}

MsgResult ConsolePlatform::messageBox(const MessageRequest& request) {
    QString text = request.text;
    text.replace(u'\r', u"\n"_s).replace(u"\n"_s, u". "_s);
    printError(text);
    switch (request.buttons) {
        case MsgButtons::AbortRetryIgnore:
            return MsgResult::Abort;
        case MsgButtons::YesNoCancel:
        case MsgButtons::YesNo:
            return MsgResult::Yes;
        case MsgButtons::RetryCancel:
            return MsgResult::Retry;
        case MsgButtons::Ok:
        case MsgButtons::OkCancel:
            break;
    }
    return MsgResult::Ok;
}

void ConsolePlatform::processEvents() { QCoreApplication::processEvents(); }

void ConsolePlatform::sleep(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void ConsoleProgress::setPanelText(const QString& key, const QString& text) {
    if (key == u"IN"_s) in_ = text;
    if (key == u"DAT1"_s) dat1_ = text;
    if (key == u"DAT2"_s) dat2_ = text;
}

void ConsoleProgress::showProgress(int64_t done, std::optional<int64_t> total) {
    if (done == 0) clock_.restart();
    if (!shown_) return;
    const QString reading = done > 0 ? in_ + u' ' + dat1_ + u' ' + dat2_ : QString();
    const QString line =
        progressLine(done, total, reading, remainingMs(done, total, clock_.elapsed()));
    // In place: back to the line's start, the line, then the rest of the old one cleared.
    std::fputs(("\r"_L1 + line + "\x1b[K"_L1).toUtf8().constData(), stderr);
    std::fflush(stderr);
    drawn_ = true;
}

void ConsoleProgress::endProgress() {
    if (drawn_) std::fputs("\n", stderr);
    drawn_ = false;
}

}  // namespace lorvane
