#include "journal_restore.h"

#include <algorithm>

#include "command_set.h"
#include "front_panel_restore.h"
#include "main_window.h"
#include "result_row.h"
#include "results_view.h"
#include "settings_store.h"

namespace lorvane {

using namespace Qt::Literals::StringLiterals;

void offerJournalRestore(Platform& platform, MainWindow& window, const QString& settingsKey,
                         CrashJournal& journal) {
    if (!journal.leftBehind()) return;
    MessageRequest question;
    question.text = u"Lorvane did not close normally. Restore the %1 points measured before?"_s.arg(
        journal.leftBehind()->points.size());
    question.icon = MsgIcon::Question;
    question.buttons = MsgButtons::YesNo;
    if (platform.messageBox(question) == MsgResult::Yes) {
        restoreJournal(window, settingsKey, *journal.leftBehind());
    } else {
        journal.clear();
    }
}

void restoreJournal(MainWindow& window, const QString& settingsKey,
                    const JournalContents& contents) {
    const PanelSnapshot& panel = contents.panel;
    static const char* const names[] = {"F_Start", "F_Stop", "F_Step",
                                        "V_Start", "V_Stop", "V_Step"};
    for (size_t i = 0; i < 3; ++i) {
        RegWrite(settingsKey, QString::fromLatin1(names[i]), panel.frequency[i]);
        RegWrite(settingsKey, QString::fromLatin1(names[3 + i]), panel.bias[i]);
    }
    RegWrite(settingsKey, u"Mode"_s, static_cast<double>(panel.mode));
    RegWrite(settingsKey, u"Sweep"_s, static_cast<double>(panel.sweep));
    RegWrite(settingsKey, u"Circuit"_s, static_cast<double>(panel.circuit));
    restoreFrontPanel(window, settingsKey);

    ResultsView& results = window.resultsView();
    results.ClearResults();
    results.setColumnUnits(columnUnitsFor(panel.mode, panel.sweep));
    const ModeConversion& conversion = conversionFor(panel.mode);
    double xMin = contents.points.front().x, xMax = xMin;
    double yMin = contents.points.front().dat1, yMax = yMin;
    for (const JournalPoint& point : contents.points) {
        const ResultRow row = makeResultRow(point.x, point.dat1, point.dat2, conversion);
        results.removeRowWithSweepText(row.x);
        results.addRow(row);
        xMin = std::min(xMin, point.x);
        xMax = std::max(xMax, point.x);
        yMin = std::min(yMin, point.dat1);
        yMax = std::max(yMax, point.dat1);
    }
    const JournalPoint& last = contents.points.back();
    results.setPanelText(u"IN"_s, last.in);
    results.setPanelText(u"DAT1"_s, last.dat1Text);
    results.setPanelText(u"DAT2"_s, last.dat2Text);
    results.DrawPlot(xMin, xMax, yMin, yMax);
    results.showFirstRow();
}

}  // namespace lorvane
