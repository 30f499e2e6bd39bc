#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <optional>

#include "command_set.h"

class QMenu;

namespace lorvane {

class Platform;
class PlotBox;
class PlotSettings;
class ResultTable;
class StatusPanels;

// How long a run's plot waits at least before it is drawn again, in ms: about ten drawings a
// second. A drawing that takes long (a table of many thousand rows on a slow machine) waits
// kLivePlotPatience times as long as it took, so that the plot takes no more than a
// twentieth of the run's time.
inline constexpr qint64 kLivePlotIntervalMs = 100;
inline constexpr qint64 kLivePlotPatience = 20;

// The plot side of the results view: what the box draws from the table and how, the
// operator's choices (log axes, the second reading) kept in the settings, the drawing that
// follows a run, the context menu and the saving of the plot.
//
// The sweep goes on a log axis when the sweep used the automatic log step or when the operator
// chooses it; the first reading when the operator chooses it. A log axis needs every value
// positive: otherwise the choice is refused, with a word in the status bar's unnamed panel.
class PlotView {
  public:
    // Milliseconds since any fixed start.
    using Clock = std::function<qint64()>;

    PlotView(const ResultTable& table, PlotBox& box, StatusPanels& status);

    // What the program around the view provides: the settings of the instance (read at once),
    // the desktop for the save dialog, and whether the sweep in the table used the automatic
    // log step. Until then the choices are the defaults and the plot cannot be saved.
    void attach(PlotSettings* settings, Platform* platform, std::function<bool()> logSweep);
    void setClock(Clock clock) { clock_ = std::move(clock); }
    void setColumnUnits(const ColumnUnits& units) { units_ = units; }
    // The proposed file name, without its ending, for the save dialog.
    void setFileStem(std::function<QString()> stem) { fileStem_ = std::move(stem); }
    // Runs after a change of a choice has drawn the plot again, with the result of the drawing
    // (true when every row was drawn).
    void setRedrawn(std::function<void(bool complete)> redrawn) { redrawn_ = std::move(redrawn); }

    // Draws every row of the table, every point in view; true when every row was drawn. A row
    // that does not read as numbers ends the rows drawn there.
    bool draw();
    // A row was added during a run: draws the table when it was not drawn in the last
    // kLivePlotIntervalMs (or kLivePlotPatience times the last drawing's time). True when it
    // drew.
    bool rowAdded();

    bool logX() const { return logX_ || sweepLog_; }
    bool logY() const { return logY_; }
    // The second reading is shown: by the operator's choice, or by default for a phase (the
    // impedance's and the gain's second reading).
    bool secondShown() const;
    // The operator's choices: kept in the settings and shown at once.
    void setLogX(bool on);
    void setLogY(bool on);
    void setSecondShown(bool on);

    // Asks where to save the plot as it shows now, and saves it there; the dialog starts in
    // the folder of the last save. Nothing without a drawing.
    void save();
    // The plot's context menu: the three choices and the save.
    void fillMenu(QMenu& menu);

  private:
    bool redraw();
    void redrawShown();
    // Whether a log axis can show every point's x or y; otherwise the refusal is shown.
    bool logAllowed(bool x);
    QString saveFolder() const;

    const ResultTable& table_;
    PlotBox& box_;
    StatusPanels& status_;
    PlotSettings* settings_ = nullptr;
    Platform* platform_ = nullptr;
    std::function<bool()> logSweep_;
    std::function<QString()> fileStem_;
    std::function<void(bool)> redrawn_;
    QElapsedTimer elapsed_;
    Clock clock_;
    ColumnUnits units_;

    bool logX_ = false;
    bool logY_ = false;
    std::optional<bool> second_;
    QString folder_;
    // The sweep of the rows drawn last used the automatic log step.
    bool sweepLog_ = false;
    std::optional<qint64> lastDraw_;
    qint64 lastDrawTime_ = 0;
};

}  // namespace lorvane
