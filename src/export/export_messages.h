#pragma once

#include <QString>

#include "platform.h"

namespace lorvane {

// The texts of the exports' message boxes.

// Failure M is shown with the information icon, system-modal.
inline MessageRequest systemModalInformation(const QString& text) {
    MessageRequest request;
    request.text = text;
    request.icon = MsgIcon::Information;
    request.systemModal = true;
    return request;
}

// Failures A (workbook) and N (ZPlots): no spreadsheet program to show the file with.
inline QString notFoundMessage() {
    return QStringLiteral("Microsoft EXCEL: Not found on this machine\r\nCannot display results");
}
// A file of an export could not be written: its full path, then the reason the system gave.
inline QString cannotWriteMessage(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot write %1\r\n%2").arg(path, reason);
}
// Failure M: ZPlots.xls is missing or could not be shown.
inline QString cannotOpenZPlotsMessage() {
    return QStringLiteral(
        "Microsoft EXCEL: Cannot open Zplots.xls\r\nYou'll need to open it manually");
}
// The ZPlots export outside Gain mode.
inline QString gainOnlyMessage() {
    return QStringLiteral("Gain mode only\r\nPlease change configuration");
}

}  // namespace lorvane
