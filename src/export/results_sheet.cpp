#include "results_sheet.h"

#include "clipboard_text.h"
#include "number_format.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

WorkbookCell titleCell(const QString& text) {
    WorkbookCell cell;
    cell.kind = WorkbookCell::Kind::Text;
    cell.text = text;
    cell.bold = true;
    cell.horizontalAlignment = kAlignRight;
    return cell;
}

}  // namespace

WorkbookModel newResultsWorkbook() {
    WorkbookModel workbook;
    workbook.title = u"Lorvane"_s;
    workbook.subject = u"Measurement"_s;
    workbook.comments = u"Generated from Lorvane"_s;
    return workbook;
}

QString sheetName(const ExportSetup& setup) {
    return setup.sweepCaption + u'_' + setup.measureCaption;
}

Worksheet& resultsSheet(WorkbookModel& workbook, const ExportSetup& setup) {
    const QString name = sheetName(setup);
    if (Worksheet* sheet = workbook.findSheet(name)) return *sheet;
    Worksheet& sheet = workbook.addSheet(name);
    for (int k = 0; k < 3; ++k) {
        const auto i = static_cast<size_t>(k);
        sheet.setCell(1, k + 1,
                      titleCell(columnTitle(setup.quantityLabel[i], setup.columnUnits[i])));
    }
    return sheet;
}

WorkbookCell valueCell(double number) {
    WorkbookCell cell;
    cell.numberFormat = u"0.00"_s;
    cell.kind = WorkbookCell::Kind::Number;
    cell.number = number;
    return cell;
}

WorkbookCell valueCell(const QString& text) {
    if (const std::optional<double> number = parseLocaleNumber(text)) return valueCell(*number);
    WorkbookCell cell;
    cell.numberFormat = u"0.00"_s;
    cell.kind = WorkbookCell::Kind::Text;
    cell.text = text;
    return cell;
}

}  // namespace lorvane
