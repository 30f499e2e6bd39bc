#include "zplots_export.h"

#include <QDir>
#include <QFileInfo>

#include "export_messages.h"
#include "scan_file.h"

namespace lorvane {

ZPlotsExport::ZPlotsExport(const ExportTable& table, Platform& platform, SpreadsheetApp& app,
                           std::function<QString()> folder)
    : table_(table), platform_(platform), app_(app), folder_(std::move(folder)) {
    if (!folder_) folder_ = [] { return QDir::currentPath(); };
}

QString ZPlotsExport::scanFilePath() const {
    return QDir(folder_()).filePath(QString::fromLatin1(kScanFileName));
}

QString ZPlotsExport::zplotsPath() const {
    return QDir(folder_()).filePath(QString::fromLatin1(kZPlotsFileName));
}

void ZPlotsExport::run() {
    if (table_.setup().mode != MeasureMode::Gain) {
        platform_.message(gainOnlyMessage(), MsgIcon::Exclamation);
        return;
    }
    const int rows = table_.rowCount();
    if (rows == 0) return;

    ExportRows values;
    values.reserve(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) values.push_back(table_.rowValues(i));
    const QString scanPath = scanFilePath();
    QString reason;
    if (!writeScanFile(scanPath, scanFileText(values), &reason)) {
        platform_.message(cannotWriteMessage(QDir::toNativeSeparators(scanPath), reason),
                          MsgIcon::Exclamation);
        return;
    }

    if (!app_.available()) {
        platform_.message(notFoundMessage(), MsgIcon::Exclamation);
        return;
    }
    const QString zplots = zplotsPath();
    if (QFileInfo::exists(zplots) && app_.show(zplots)) return;
    platform_.messageBox(systemModalInformation(cannotOpenZPlotsMessage()));
    app_.show(scanPath);
}

}  // namespace lorvane
