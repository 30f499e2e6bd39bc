#pragma once

#include <QString>

#include "export_interfaces.h"
#include "workbook_model.h"

namespace lorvane {

// The workbook of the results as the program writes it: its document properties, and one sheet
// per pair of sweep kind and measurement parameter with the three column titles in A1:C1 (bold,
// right-aligned) and the values from row 2 on, as numbers shown with two decimals.

// A new workbook titled "Lorvane", with its subject and comments.
WorkbookModel newResultsWorkbook();

// A sheet's name: caption of the sweep option + "_" + caption of the measurement option
// ("Freq_Z", "Bias_C").
QString sheetName(const ExportSetup& setup);

// The set-up's sheet, added with its titles when the workbook has none of its name yet.
Worksheet& resultsSheet(WorkbookModel& workbook, const ExportSetup& setup);

// A value cell with the format "0.00": the number, or a text as the list shows it (in the
// user's locale), kept as the text when it is not a number there, so that nothing is lost.
WorkbookCell valueCell(double number);
WorkbookCell valueCell(const QString& text);

}  // namespace lorvane
