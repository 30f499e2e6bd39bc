#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace lorvane::test {

// An .xlsx file read back without the library that wrote it: the parts are taken out of the
// zip container by the unzip program and parsed as XML.
struct XlsxBook {
    QStringList sheetNames;
    int activeSheet = 0;
    // Title, subject and comments.
    QStringList properties;
    // By sheet name, each cell in file order as "<ref> <value><style>": a text value in double
    // quotes, a number as the file holds it (a spreadsheet program reads it only with a point);
    // the style as " bold", then the number format unless General, then the alignment.
    QMap<QString, QStringList> cells;
};

// nullopt, with a failure recorded by GoogleTest, when the file cannot be read.
std::optional<XlsxBook> readXlsx(const QString& path);

}  // namespace lorvane::test
