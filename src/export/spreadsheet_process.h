#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "export_interfaces.h"

class QProcess;

namespace lorvane {

// Spreadsheet programs that can show an .xlsx or .csv file given on their command line, in the
// order they are looked for on the PATH.
QStringList defaultSpreadsheetPrograms();

// The spreadsheet program as a child process: the first of `programs` found on the PATH,
// started with the file as its one argument. The program is looked for at every use, so one
// installed while the window is open is found.
//
// A program still running when this object goes (the window closes) is left running, so that
// the operator keeps the data on screen.
class SpreadsheetProcess final : public SpreadsheetApp {
  public:
    explicit SpreadsheetProcess(QStringList programs = defaultSpreadsheetPrograms());
    ~SpreadsheetProcess() override;
    SpreadsheetProcess(const SpreadsheetProcess&) = delete;
    SpreadsheetProcess& operator=(const SpreadsheetProcess&) = delete;

    bool available() const override;
    bool show(const QString& path) override;
    void quit() override;

    // Full path of the program that would be started; empty when none is found.
    QString program() const;
    // Whether the program started last is still running.
    bool running() const;

  private:
    QStringList programs_;
    std::unique_ptr<QProcess> process_;
};

}  // namespace lorvane
