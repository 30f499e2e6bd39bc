#pragma once

#include <QString>
#include <QStringList>

#include "export_interfaces.h"

namespace lorvane {

// What shows a file, in the order it is looked for on the PATH: the desktop's opener, which
// hands the file to the operator's own choice of program, then spreadsheet programs that take
// an .xlsx or .csv file on their command line.
QStringList defaultSpreadsheetPrograms();

// Shows files through the first of `programs` found on the PATH, started with the file as its
// one argument. The program is looked for at every use, so one installed while the window is
// open is found. It is started on its own, not as a child of this program: it outlives the
// window and is never ended from here.
class DesktopSpreadsheet final : public SpreadsheetApp {
  public:
    explicit DesktopSpreadsheet(QStringList programs = defaultSpreadsheetPrograms());

    bool available() const override;
    bool show(const QString& path) override;

    // Full path of the program that would be started; empty when none is found.
    QString program() const;

  private:
    QStringList programs_;
};

}  // namespace lorvane
