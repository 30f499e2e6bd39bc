#include "main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "field_math.h"
#include "panel_layout.h"
#include "panel_widgets.h"
#include "result_table.h"
#include "results_view.h"
#include "twips.h"

namespace lorvane {
namespace {

// Caption of the option button at `index`; empty for an index outside the array.
template <size_t N>
QString optionCaption(const std::array<QRadioButton*, N>& options, int index) {
    return index >= 0 && static_cast<size_t>(index) < N
               ? options[static_cast<size_t>(index)]->text()
               : QString();
}

}  // namespace

MainWindow::MainWindow(Platform& platform, QWidget* parent)
    : QWidget(parent),
      platform_(platform),
      results_(new ResultTable(this)),
      frequency_(ui_, state_, platform_),
      bias_(ui_, state_, platform_),
      oscillator_(ui_, platform_),
      selections_(ui_, state_, frequency_, bias_, *results_, [this] { clearResults(); }) {
    // The designed layout in proportion on this screen: twice the size at 192 dpi.
    const TwipScale scale(logicalDpiX());
    setFixedSize(scale.pixels(kClientWidth), scale.pixels(kClientHeight));
    ui_ = buildPanel(this, scale, results_);
    resultsView_ = std::make_unique<ResultsView>(
        *results_, *ui_.Data, *ui_.fDraw, *ui_.StatusBar,
        PanelTexts{[this] { return state_.QuantityLabel; }, [this] { return sweepCaption(); },
                   [this] { return measureCaption(); }});
    connectHandlers();
}

MainWindow::~MainWindow() = default;

QString MainWindow::sweepCaption() const { return optionCaption(ui_.lSwp, state_.SelectedSweep); }

QString MainWindow::measureCaption() const { return optionCaption(ui_.lMod, state_.SelectedMode); }

void MainWindow::connectHandlers() {
    // Option buttons: the handler runs when a button becomes selected, by a click or from
    // code, which is what `toggled(true)` reports. `clicked` would miss the selections made
    // from code and would fire again on a click on the button already selected.
    for (size_t i = 0; i < ui_.lMod.size(); ++i)
        connect(ui_.lMod[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) selections_.lMod_Click(static_cast<int>(i));
        });
    for (size_t i = 0; i < ui_.lCrm.size(); ++i)
        connect(ui_.lCrm[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) selections_.lCrm_Click(static_cast<int>(i));
        });
    for (size_t i = 0; i < ui_.lSwp.size(); ++i)
        connect(ui_.lSwp[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) selections_.lSwp_Click(static_cast<int>(i));
        });
    // The auto-step box: every change of its value, by a click or from code, runs the
    // handler (`toggled`; `clicked` would miss the changes made from code).
    connect(ui_.vAuto, &QCheckBox::toggled, this, [this] { selections_.vAuto_Click(); });

    for (size_t i = 0; i < 3; ++i) {
        const int index = static_cast<int>(i);
        // Scroll bars report every change of their value, from code too (`valueChanged`);
        // they are built without tracking, so a drag reports once, where it ends.
        connect(ui_.dFrq[i], &QScrollBar::valueChanged, this,
                [this, index] { frequency_.dFrq_Change(index); });
        connect(ui_.dVlt[i], &QScrollBar::valueChanged, this,
                [this, index] { bias_.dVlt_Change(index); });
        connect(ui_.lFrq[i], &ClickLabel::clicked, this,
                [this, index] { frequency_.lFrq_Click(index); });
        connect(ui_.lVlt[i], &ClickLabel::clicked, this,
                [this, index] { bias_.lVlt_Click(index); });
        connect(ui_.vFrq[i], &ValueEdit::gotFocus, this,
                [this, index] { frequency_.vFrq_GotFocus(index); });
        connect(ui_.vFrq[i], &ValueEdit::validate, this,
                [this, index] { frequency_.vFrq_Validate(index); });
        connect(ui_.vVlt[i], &ValueEdit::gotFocus, this,
                [this, index] { bias_.vVlt_GotFocus(index); });
        connect(ui_.vVlt[i], &ValueEdit::validate, this,
                [this, index] { bias_.vVlt_Validate(index); });
    }
    connect(ui_.vOsc, &ValueEdit::gotFocus, this, [this] { oscillator_.vOsc_GotFocus(); });
    connect(ui_.vOsc, &ValueEdit::validate, this, [this] { oscillator_.vOsc_Validate(); });

    connect(ui_.Config, &QPushButton::clicked, this, [this] {
        if (onConfig) onConfig();
    });
}

void MainWindow::EnablePanel(bool enable) {
    state_.Updating = true;
    std::vector<QWidget*> inputs{ui_.Opts, ui_.vOsc, ui_.vAuto};
    inputs.insert(inputs.end(), ui_.lSwp.begin(), ui_.lSwp.end());
    inputs.insert(inputs.end(), ui_.lMod.begin(), ui_.lMod.end());
    // A circuit click rebuilds the headings, clears the rows and switches auto-step off: a run
    // must not meet one halfway.
    inputs.insert(inputs.end(), ui_.lCrm.begin(), ui_.lCrm.end());
    inputs.insert(inputs.end(), ui_.vFrq.begin(), ui_.vFrq.end());
    inputs.insert(inputs.end(), ui_.dFrq.begin(), ui_.dFrq.end());
    inputs.insert(inputs.end(), ui_.lFrq.begin(), ui_.lFrq.end());
    inputs.insert(inputs.end(), ui_.vVlt.begin(), ui_.vVlt.end());
    inputs.insert(inputs.end(), ui_.dVlt.begin(), ui_.dVlt.end());
    inputs.insert(inputs.end(), ui_.lVlt.begin(), ui_.lVlt.end());
    for (QWidget* input : inputs) input->setEnabled(enable);
    // While auto-step is on the step fields show "Lin" or "Log" and take no typing.
    if (state_.AutoStep) {
        ui_.vFrq[kStepField]->setEnabled(false);
        ui_.vVlt[kStepField]->setEnabled(false);
    }
    state_.Updating = false;
}

void MainWindow::clearResults() { resultsView_->ClearResults(); }

QPoint MainWindow::positionTwips() const {
    return QPoint(pixelsToTwips(pos().x()), pixelsToTwips(pos().y()));
}

QRect MainWindow::frameTwips() const { return pixelsToTwips(frameGeometry()); }

void MainWindow::moveToTwips(int x, int y) { move(twipsToPixels(x), twipsToPixels(y)); }

void MainWindow::closeEvent(QCloseEvent* event) {
    // The shutdown runs once, however often the window is asked to close.
    if (!closed_) {
        closed_ = true;
        if (onClosing) onClosing();
    }
    event->accept();
}

}  // namespace lorvane
