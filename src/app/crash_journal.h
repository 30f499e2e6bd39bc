#pragma once

#include <QByteArray>
#include <QFile>
#include <QLockFile>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "run_journal.h"

namespace lorvane {

// The window's crash journal: the set-up and the points of the runs whose rows the list
// shows, written and flushed per point before the point is shown, so that a crash loses none
// of them. A normal close removes it; a journal found at start-up was left by a window that did
// not close normally.

// One point as the journal keeps it: its values and the status readouts of its reading.
struct JournalPoint {
    double x = 0;
    double dat1 = 0;
    double dat2 = 0;
    QString in, dat1Text, dat2Text;
};

// What a journal holds: the set-up of its last run and the points of the list, in measuring
// order (a merged run's after those it kept).
struct JournalContents {
    PanelSnapshot panel;
    std::vector<JournalPoint> points;
};

// The lines of the file: "setup" with the run's set-up, "point" with a point, fields
// separated by tabs, numbers written exactly with a decimal point.
QByteArray journalSetupLine(const RunStart& start);
QByteArray journalPointLine(const MeasuredPoint& point);
// The contents of a journal's text; a line cut short by the crash, or any line it cannot read,
// ends the reading there. nullopt when it holds no set-up.
std::optional<JournalContents> readJournal(const QByteArray& text);

// $XDG_STATE_HOME/lorvane, or ~/.local/state/lorvane when that is unset or empty.
QString journalFolder();

class CrashJournal final : public RunJournal {
  public:
    // Takes the first journal "<name>.journal", "<name>-2.journal", ... in `folder` that no
    // running window holds, and locks it. A journal it takes can hold what a window that did
    // not close normally left behind.
    CrashJournal(const QString& folder, const QString& name);
    // Discards the journal.
    ~CrashJournal() override;

    // False when no journal could be taken (the folder cannot be made): nothing is written.
    bool held() const { return lock_ != nullptr; }
    QString path() const { return file_.fileName(); }
    // What the journal held when it was taken; nullopt when it held no point.
    const std::optional<JournalContents>& leftBehind() const { return leftBehind_; }
    // Empties the journal (after the operator declined to restore what it held).
    void clear();

    void begin(const RunStart& start) override;
    void record(const MeasuredPoint& point) override;
    // The window closes normally: the journal goes, and nothing is written any more.
    void discard();

  private:
    void write(const QByteArray& line);

    std::unique_ptr<QLockFile> lock_;
    QFile file_;
    std::optional<JournalContents> leftBehind_;
};

}  // namespace lorvane
