#include "workbook_export.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>

#include "export_messages.h"
#include "results_sheet.h"
#include "xlsx_file.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

size_t pairIndex(SweepParam sweep, MeasureMode mode) {
    return static_cast<size_t>(sweep) * 6 + static_cast<size_t>(mode);
}

}  // namespace

QString defaultWorkbookFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

WorkbookExport::WorkbookExport(const ExportTable& table, ExportView& view, Platform& platform,
                               SpreadsheetApp& app, QString folder)
    : table_(table), view_(view), platform_(platform), app_(app), folder_(std::move(folder)) {}

bool WorkbookExport::sheetMade(SweepParam sweep, MeasureMode mode) const {
    return sheetMade_.at(pairIndex(sweep, mode));
}

QString WorkbookExport::filePath() const {
    return QFileInfo(QDir(folder_), QString::fromLatin1(kWorkbookFileName)).absoluteFilePath();
}

void WorkbookExport::run() {
    if (table_.rowCount() == 0) return;
    const ExportSetup setup = table_.setup();
    if (!workbook_) workbook_ = newResultsWorkbook();
    Worksheet& sheet = sheetFor(setup);
    fill(sheet);

    const QString path = filePath();
    if (const std::optional<QString> reason = write()) {
        platform_.message(cannotWriteMessage(QDir::toNativeSeparators(path), *reason),
                          MsgIcon::Exclamation);
        return;
    }
    view_.showMessage(
        u"Sheet %1 written to %2"_s.arg(sheet.name(), QDir::toNativeSeparators(path)));
    if (!app_.available() || !app_.show(path))
        platform_.message(notFoundMessage(), MsgIcon::Exclamation);
}

Worksheet& WorkbookExport::sheetFor(const ExportSetup& setup) {
    sheetMade_.at(pairIndex(setup.sweep, setup.mode)) = true;
    return resultsSheet(*workbook_, setup);
}

void WorkbookExport::fill(Worksheet& sheet) const {
    const int rows = table_.rowCount();
    for (int i = 0; i < rows; ++i) {
        const ExportRow values = table_.rowValues(i);
        for (int k = 0; k < 3; ++k)
            sheet.setCell(i + 2, k + 1, valueCell(values[static_cast<size_t>(k)]));
    }
}

std::optional<QString> WorkbookExport::write() const {
    std::error_code failure;
    std::filesystem::create_directories(std::filesystem::path(folder_.toStdU16String()), failure);
    if (failure) return QString::fromLocal8Bit(failure.message());
    QString reason;
    if (!writeXlsxFile(*workbook_, filePath(), &reason)) return reason;
    return std::nullopt;
}

}  // namespace lorvane
