#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace lorvane::test {

// Reads an .xlsx file back without the library that wrote it: the parts are taken out of the
// zip container by the unzip program and parsed as XML.

struct XlsxCell {
    // A number cell whose value reads as a number with a point, as spreadsheet programs need.
    bool isNumber = false;
    double number = 0;
    // The shared or inline text, or the value as written in a number cell.
    QString text;
    bool bold = false;
    // "right", "left", ..., empty for the general alignment.
    QString alignment;
    // "General" when the cell has no number format of its own.
    QString numberFormat;
};

struct XlsxSheet {
    QString name;
    // By reference: "A1", "C12".
    QMap<QString, XlsxCell> cells;
    // The references in use, in the order the file holds them.
    QStringList references;
};

struct XlsxBook {
    std::vector<XlsxSheet> sheets;
    int activeSheet = 0;
    QString title;
    QString subject;
    QString comments;

    QStringList sheetNames() const;
    const XlsxSheet* sheet(const QString& name) const;
};

// nullopt, with a failure recorded by GoogleTest, when the file cannot be read.
std::optional<XlsxBook> readXlsx(const QString& path);

}  // namespace lorvane::test
