#include "xlsx_file.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <vector>

#include "workbook_model.h"

namespace lorvane {
namespace {

// The formats of one workbook, each made once and shared by every cell that has it.
class FormatCache {
  public:
    explicit FormatCache(lxw_workbook* workbook) : workbook_(workbook) {}

    lxw_format* formatFor(const WorkbookCell& cell) {
        if (!cell.bold && cell.horizontalAlignment == kAlignGeneral && cell.numberFormat.isEmpty())
            return nullptr;
        for (const Entry& entry : entries_)
            if (entry.bold == cell.bold && entry.alignment == cell.horizontalAlignment &&
                entry.numberFormat == cell.numberFormat)
                return entry.format;
        lxw_format* format = workbook_add_format(workbook_);
        if (cell.bold) format_set_bold(format);
        if (cell.horizontalAlignment == kAlignRight) format_set_align(format, LXW_ALIGN_RIGHT);
        if (!cell.numberFormat.isEmpty())
            format_set_num_format(format, cell.numberFormat.toUtf8().constData());
        entries_.push_back({cell.bold, cell.horizontalAlignment, cell.numberFormat, format});
        return format;
    }

  private:
    struct Entry {
        bool bold;
        int alignment;
        QString numberFormat;
        lxw_format* format;
    };
    lxw_workbook* workbook_;
    std::vector<Entry> entries_;
};

void writeSheet(lxw_worksheet* target, const Worksheet& sheet, FormatCache& formats) {
    for (int row = 1; row <= sheet.rowCount(); ++row) {
        for (int column = 1; column <= Worksheet::kColumns; ++column) {
            const WorkbookCell& cell = sheet.cell(row, column);
            const auto r = static_cast<lxw_row_t>(row - 1);
            const auto c = static_cast<lxw_col_t>(column - 1);
            switch (cell.kind) {
                case WorkbookCell::Kind::Empty:
                    break;
                case WorkbookCell::Kind::Text:
                    worksheet_write_string(target, r, c, cell.text.toUtf8().constData(),
                                           formats.formatFor(cell));
                    break;
                case WorkbookCell::Kind::Number:
                    worksheet_write_number(target, r, c, cell.number, formats.formatFor(cell));
                    break;
            }
        }
    }
}

// Builds the workbook into the file `path`, which it overwrites.
bool buildWorkbook(const WorkbookModel& model, const QByteArray& path) {
    lxw_workbook* workbook = workbook_new(path.constData());
    if (!workbook) return false;
    FormatCache formats(workbook);
    for (int i = 0; i < model.sheetCount(); ++i) {
        const Worksheet& sheet = model.sheet(i);
        lxw_worksheet* target = workbook_add_worksheet(workbook, sheet.name().toUtf8().constData());
        if (!target) {
            workbook_close(workbook);
            return false;
        }
        writeSheet(target, sheet, formats);
        if (i == model.activeSheet()) worksheet_activate(target);
    }

    const QByteArray title = model.title.toUtf8();
    const QByteArray subject = model.subject.toUtf8();
    const QByteArray comments = model.comments.toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char*>(title.constData());
    properties.subject = const_cast<char*>(subject.constData());
    properties.comments = const_cast<char*>(comments.constData());
    workbook_set_properties(workbook, &properties);
    return workbook_close(workbook) == LXW_NO_ERROR;
}

}  // namespace

bool writeXlsxFile(const WorkbookModel& model, const QString& path) {
    const QFileInfo target(path);
    QTemporaryFile partial(
        target.dir().filePath(QStringLiteral(".%1.XXXXXX.part").arg(target.fileName())));
    if (!partial.open()) return false;
    partial.close();
    // A temporary file is private to its owner; the workbook is a document like any other.
    partial.setPermissions(target.exists() ? QFile::permissions(path)
                                           : QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ReadGroup | QFile::ReadOther);
    if (!buildWorkbook(model, QFile::encodeName(partial.fileName()))) return false;

    std::error_code failure;
    std::filesystem::rename(std::filesystem::path(partial.fileName().toStdU16String()),
                            std::filesystem::path(path.toStdU16String()), failure);
    if (failure) return false;
    partial.setAutoRemove(false);
    return true;
}

}  // namespace lorvane
