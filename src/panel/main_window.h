#pragma once

#include <QPoint>
#include <QSerialPort>
#include <QWidget>
#include <functional>
#include <memory>

#include "bias_fields.h"
#include "frequency_fields.h"
#include "front_panel_state.h"
#include "oscillator_field.h"
#include "panel_controls.h"
#include "platform.h"
#include "selections.h"

class QPushButton;

namespace lorvane {

class ResultTable;
class ResultsView;

// The main window: the front panel across the top, the results list and the plot below, the
// status bar at the bottom. It holds the window-wide state that the other parts read and set,
// and hands its life-cycle events to the application through callbacks.
//
// Code that changes a control's value runs that control's handler at once, before the change
// returns: selecting an option button that was not selected runs its click handler (selecting
// one that already is runs nothing, from code or by the mouse), changing the auto-step box runs
// vAuto_Click, and moving a scroll bar runs its change handler. The handlers that must ignore
// the program's own changes test state().Updating.
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    // The designed client area, in twips.
    static constexpr int kClientWidth = 9450;
    static constexpr int kClientHeight = 5640;
    // Where the window sits when no position has been saved, in twips.
    static constexpr int kDesignedTop = 1500;

    // Beeps and other desktop services go through `platform`.
    explicit MainWindow(Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Outer position and frame of the window, in twips.
    QPoint positionTwips() const;
    QRect frameTwips() const;
    void moveToTwips(int x, int y);

    QSerialPort& gpibComm() { return gpibComm_; }
    QPushButton* configButton() const { return ui_.Config; }

    // Every control, by its design name.
    const PanelControls& controls() const { return ui_; }
    FrontPanelState& state() { return state_; }
    const FrontPanelState& state() const { return state_; }
    // The results list's rows and headings.
    ResultTable& results() { return *results_; }
    // The results list, the plot and the status readouts, with their handlers; the
    // measurement run's results and view.
    ResultsView& resultsView() { return *resultsView_; }

    // The front panel's operations and handlers, by concern.
    FrequencyFields& frequency() { return frequency_; }
    BiasFields& bias() { return bias_; }
    OscillatorField& oscillator() { return oscillator_; }
    Selections& selections() { return selections_; }

    double GetFrequency(int index) const { return frequency_.GetFrequency(index); }
    void SetFrequency(int index, double value, bool remember) {
        frequency_.SetFrequency(index, value, remember);
    }
    double GetBias(int index) const { return bias_.GetBias(index); }
    void SetBias(int index, double value, bool remember) { bias_.SetBias(index, value, remember); }

    // Captions of the selected sweep option ("Freq", "Bias") and measurement option ("Z", ...).
    QString sweepCaption() const;
    QString measureCaption() const;

    // Enables or disables the front-panel set-up inputs (not Config or Run), which a run locks
    // while it is in progress. The step fields stay disabled while auto-step is on.
    void EnablePanel(bool enable);
    // Empties the results list, wipes the plot and clears PlotReady.
    void clearResults();

    // Set by the Stop button and by closing; the measurement run tests it between points.
    bool StopRequest = false;
    // The Merge setting as read at start-up.
    bool mergeOption = false;

    // The window has begun to close (its shutdown has run or is running).
    bool closing() const { return closed_; }

    // Runs when the window is closing, before it goes away.
    std::function<void()> onClosing;
    // Runs when the Config button is clicked.
    std::function<void()> onConfig;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void connectHandlers();

    Platform& platform_;
    ResultTable* results_;
    PanelControls ui_;
    std::unique_ptr<ResultsView> resultsView_;
    FrontPanelState state_;
    FrequencyFields frequency_;
    BiasFields bias_;
    OscillatorField oscillator_;
    Selections selections_;
    QSerialPort gpibComm_;
    bool closed_ = false;
};

}  // namespace lorvane
