#include "xlsx_file.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <optional>
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

// The C library's number format for the life of the object, on this thread only. The library
// prints the cells' numbers with the C library, which follows the user's locale: under a
// decimal comma a spreadsheet would read 0,5 as text, or not at all.
#if defined(_WIN32)
// Windows' C library keeps the "C" format unless the program changes it; this one does not.
class CNumbers {};
#else
class CNumbers {
  public:
    CNumbers()
        : c_(newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr))),
          previous_(c_ ? uselocale(c_) : static_cast<locale_t>(nullptr)) {}
    ~CNumbers() {
        if (!c_) return;
        uselocale(previous_);
        freelocale(c_);
    }
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

  private:
    locale_t c_;
    locale_t previous_;
};
#endif

// Builds the workbook into the file `path`, which it overwrites; the library's reason when it
// cannot.
std::optional<QString> buildWorkbook(const WorkbookModel& model, const QByteArray& path) {
    lxw_workbook* workbook = workbook_new(path.constData());
    if (!workbook) return QString::fromLocal8Bit(lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED));
    FormatCache formats(workbook);
    for (int i = 0; i < model.sheetCount(); ++i) {
        const Worksheet& sheet = model.sheet(i);
        lxw_worksheet* target = workbook_add_worksheet(workbook, sheet.name().toUtf8().constData());
        if (!target) {
            workbook_close(workbook);
            return QStringLiteral("Cannot add the sheet %1").arg(sheet.name());
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
    // The file is written here; when that fails, the system's own reason is the useful part.
    const CNumbers numbers;
    errno = 0;
    const lxw_error closed = workbook_close(workbook);
    if (closed == LXW_NO_ERROR) return std::nullopt;
    const int cause = errno;
    QString reason = QString::fromLocal8Bit(lxw_strerror(closed));
    if (cause != 0)
        reason += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(cause)));
    return reason;
}

bool fail(QString* error, const QString& reason) {
    if (error) *error = reason;
    return false;
}

}  // namespace

bool writeXlsxFile(const WorkbookModel& model, const QString& path, QString* error) {
    const QFileInfo target(path);
    QTemporaryFile partial(
        target.dir().filePath(QStringLiteral(".%1.XXXXXX.part").arg(target.fileName())));
    if (!partial.open()) return fail(error, partial.errorString());
    partial.close();
    // A temporary file is private to its owner; the workbook is a document like any other.
    partial.setPermissions(target.exists() ? QFile::permissions(path)
                                           : QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ReadGroup | QFile::ReadOther);
    if (const std::optional<QString> reason =
            buildWorkbook(model, QFile::encodeName(partial.fileName())))
        return fail(error, *reason);

    std::error_code failure;
    std::filesystem::rename(std::filesystem::path(partial.fileName().toStdU16String()),
                            std::filesystem::path(path.toStdU16String()), failure);
    if (failure) return fail(error, QString::fromLocal8Bit(failure.message()));
    partial.setAutoRemove(false);
    return true;
}

}  // namespace lorvane
