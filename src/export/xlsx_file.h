#pragma once

#include <QString>

namespace lorvane {

class WorkbookModel;

// Writes the whole workbook as an .xlsx file: its sheets in order, the active sheet, every
// cell with its bold, alignment and number format, and the title, subject and comments.
// The file is written under a temporary name in the same folder and then renamed over `path`,
// so `path` holds either the old file or the complete new one, never a part. False, with the
// reason the system gave in `error`, when the file could not be written; `path` is then
// untouched.
bool writeXlsxFile(const WorkbookModel& model, const QString& path, QString* error);

}  // namespace lorvane
