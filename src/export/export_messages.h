#pragma once

#include <QString>

#include "platform.h"

namespace lorvane {

// The texts of the exports' message boxes.

// Failures B, C and M are shown with the information icon, system-modal.
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
// Failure B: a new workbook could not be written.
inline QString cannotAccessMessage() {
    return QStringLiteral("Microsoft EXCEL: Cannot access data sheets\r\nEXCEL application error");
}
// Failure C: the workbook could not be filled or rewritten.
inline QString cannotCreateMessage() {
    return QStringLiteral(
        "Microsoft EXCEL: Cannot create data sheets\r\nEXCEL application may have been closed");
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
