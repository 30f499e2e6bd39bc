#pragma once

#include <QString>

#include "crash_journal.h"
#include "platform.h"

namespace lorvane {

class MainWindow;

// The question at start-up when the journal holds points a window left behind: "Lorvane did
// not close normally. Restore the N points measured before?" Yes puts them back in the window
// (see restoreJournal); No empties the journal.
void offerJournalRestore(Platform& platform, MainWindow& window, const QString& settingsKey,
                         CrashJournal& journal);

// Puts a journal's run back as the window showed it: the set-up's selections and ranges (saved
// under settingsKey and applied as at start-up, which also sets the headings), the rows, the
// status readouts of the last point and the plot.
void restoreJournal(MainWindow& window, const QString& settingsKey,
                    const JournalContents& contents);

}  // namespace lorvane
